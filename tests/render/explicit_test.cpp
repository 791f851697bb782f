#include "render_test_util.h"

#include <cmath>

using Explicit = RenderTest;

namespace
{
const uint32_t kRed = kAsymptoteColour;
} // namespace

TEST_F(Explicit, LineCoversEveryColumnThroughTheMappedPoints)
{
    AddExplicit("x/2+1");
    const Canvas &c = Draw();
    for (int x = 0; x < 639; ++x)
        ASSERT_GT(CountIn(c, kCurve, x, 0, x, 639), 0) << x;
    for (long double x = -4.5L; x < 4.5L; x += 0.37L)
        EXPECT_TRUE(NearW(x, x / 2 + 1)) << static_cast<double>(x);
    EXPECT_EQ(CountAll(c, kRed), 0);
}

TEST_F(Explicit, DomainEndsAreReachedWithinAPixel)
{
    // x = 0 on a sample (default frame) or between two samples; an end on the right.
    struct Case {
        const char *f;
        long double xmin, xmax;
        int side; // +1: defined right of 0
    } cases[] = {{"sqrt(x)", -5, 5, 1}, {"sqrt(x)", -5.3L, 5, 1}, {"sqrt(-x)", -5, 5.3L, -1}};
    for (const Case &k : cases) {
        SCOPED_TRACE(std::string(k.f) + " from " + std::to_string(static_cast<double>(k.xmin)));
        doc.ItemCount = 0;
        doc.CoordFrame.xmin = k.xmin;
        doc.CoordFrame.xmax = k.xmax;
        AddExplicit(k.f);
        const Canvas &c = Draw();
        const int x0 = View().XToPixel(0);
        EXPECT_TRUE(NearW(0, 0));
        EXPECT_EQ(
            k.side > 0 ? CountIn(c, kCurve, 0, 0, x0 - 2, 639) : CountIn(c, kCurve, x0 + 2, 0, 639, 639), 0);
        EXPECT_TRUE(NearW(4 * k.side, 2));
    }
}

TEST_F(Explicit, ReciprocalRunsToBothEdgesWithADottedAsymptote)
{
    AddExplicit("1/x");
    const Canvas &c = Draw();
    // Left branch down to the bottom edge, right branch from the top edge.
    EXPECT_GT(CountIn(c, kCurve, 300, 630, 319, 639), 0);
    EXPECT_GT(CountIn(c, kCurve, 321, 0, 340, 9), 0);
    EXPECT_EQ(CountIn(c, kCurve, 300, 0, 319, 300), 0);
    EXPECT_EQ(CountIn(c, kCurve, 321, 340, 340, 639), 0);
    EXPECT_EQ(CountIn(c, kCurve, 310, 100, 330, 540), 0); // never joined across the pole
    const int red = CountIn(c, kRed, 320, 0, 320, 639);
    EXPECT_GT(red, 200);
    EXPECT_LT(red, 400);
    EXPECT_EQ(CountAll(c, kRed), red);
    EXPECT_TRUE(NearW(0.5L, 2));
    EXPECT_TRUE(NearW(-2, -0.5L));
    // Without the asymptote flag: the branches but no red line.
    doc.ItemCount = 0;
    Add(KindExplicit, "1/x");
    const Canvas &plain = Draw();
    EXPECT_EQ(CountAll(plain, kRed), 0);
    EXPECT_GT(CountIn(plain, kCurve, 300, 630, 319, 639), 0);
}

TEST_F(Explicit, BranchesEndingInsideTheFrameRunOnToTheEdges)
{
    // Tall frame: the samples next to the pole (y = -64 and 64) lie inside.
    doc.CoordFrame.ymin = -500;
    doc.CoordFrame.ymax = 500;
    AddExplicit("1/x");
    const Canvas &c = Draw();
    EXPECT_EQ(CountIn(c, kCurve, 319, 400, 319, 639), 240);
    EXPECT_EQ(CountIn(c, kCurve, 321, 0, 321, 250), 251);
    EXPECT_EQ(CountIn(c, kCurve, 322, 330, 639, 639), 0);
}

TEST_F(Explicit, TangentBreaksAtEveryPole)
{
    AddExplicit("tan(x)");
    const Canvas &c = Draw();
    for (int k : {-3, -1, 1, 3}) {
        const int col = View().XToPixel(k * std::acos(0.0L));
        EXPECT_GT(CountIn(c, kRed, col - 1, 0, col + 1, 639), 200) << k;
        EXPECT_EQ(CountIn(c, kCurve, col - 2, 150, col + 2, 490), 0) << k;
        // Each side goes on to its edge: up on the left of the pole, down on the right.
        EXPECT_GT(CountIn(c, kCurve, col - 20, 0, col, 3), 0) << k;
        EXPECT_GT(CountIn(c, kCurve, col, 636, col + 20, 639), 0) << k;
    }
    for (long double x : {-1.2L, 0.0L, 1.0L, 2.5L})
        EXPECT_TRUE(NearW(x, std::tan(x))) << static_cast<double>(x);
}

TEST_F(Explicit, ExponentialOfAJumpHasNoRunsToTheEdges)
{
    AddExplicit("exp(1/x)");
    const Canvas &c = Draw();
    // Left of 0 the curve creeps along y = 0; no run climbs from it to the top.
    EXPECT_EQ(CountIn(c, kCurve, 316, 5, 320, 300), 0);
    EXPECT_TRUE(NearW(1, std::exp(1.0L)));
    EXPECT_GT(CountIn(c, kRed, 320, 0, 320, 639), 200);
}

TEST_F(Explicit, DerivativeIsHiddenWhereItsFunctionIsUndefined)
{
    AddExplicit("sqrt(x)");
    Add(KindDerivative, "1/2", "", "", "", kOther); // defined everywhere by itself
    const Canvas &c = Draw();
    const int row = View().YToPixel(0.5L);
    EXPECT_EQ(CountIn(c, kOther, 0, 0, 318, 639), 0);
    EXPECT_GT(CountIn(c, kOther, 330, row, 639, row), 300);
}

TEST_F(Explicit, DerivativeOfTheFirstItemFollowsItsSlope)
{
    AddExplicit("x^3/3");
    ParseOK = true;
    Add(KindDerivative, DerivativeText("x^3/3", OpX), "", "", "", kOther);
    ASSERT_TRUE(ParseOK);
    Draw();
    for (long double x : {-2.0L, -1.0L, 0.0L, 0.5L, 2.0L})
        EXPECT_TRUE(NearW(x, x * x, 1, kOther)) << static_cast<double>(x);
}

TEST_F(Explicit, UnparsableOrEmptyFormulaDrawsNothing)
{
    AddExplicit("x+*2");
    AddExplicit("", kOther);
    const Canvas &c = Draw();
    EXPECT_EQ(CountAll(c, kCurve), 0);
    EXPECT_EQ(CountAll(c, kOther), 0);
}

TEST_F(Explicit, SwappedBranchIsSweptAlongY)
{
    Canvas canvas(640, 640);
    GraphView view;
    Tfuncprop item;
    item.text[1] = "y^2"; // x = y^2
    item.colour = kCurve;
    plotCurve(canvas, view, item, true);
    EXPECT_TRUE(NearWorld(canvas, view, 4, 2));
    EXPECT_TRUE(NearWorld(canvas, view, 1, -1));
    EXPECT_EQ(CountIn(canvas, kCurve, 0, 0, 318, 639), 0);
}

TEST_F(Explicit, WidePenIsUsedForTheCurve)
{
    Add(KindExplicit, "1", "", "", "", kCurve, 0, 3);
    EXPECT_EQ(CountIn(Draw(), kCurve, 100, 0, 100, 639), 3);
}
