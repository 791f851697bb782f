#include "render_test_util.h"

#include <cmath>

using Explicit = RenderTest;

namespace
{

const uint32_t kRed = kAsymptoteColour;

// The curve colour anywhere in the column between rows y0 and y1.
int ColumnCount(const Canvas &c, int x, int y0, int y1, uint32_t colour = kCurve)
{
    return CountIn(c, colour, x, y0, x, y1);
}

} // namespace

TEST_F(Explicit, LineCoversEveryColumnThroughTheMappedPoints)
{
    AddExplicit("x/2+1");
    const Canvas &c = Draw();
    for (int x = 0; x < 639; ++x)
        ASSERT_GT(ColumnCount(c, x, 0, 639), 0) << x;
    for (long double x = -4.5L; x < 4.5L; x += 0.37L)
        EXPECT_TRUE(Near(c, View().XToPixel(x), View().YToPixel(x / 2 + 1), kCurve)) << (double)x;
    EXPECT_EQ(CountAll(c, kRed), 0);
}

TEST_F(Explicit, SquareRootStartsAtTheOrigin)
{
    AddExplicit("sqrt(x)");
    const Canvas &c = Draw();
    EXPECT_TRUE(Near(c, 320, 320, kCurve, 0) || Near(c, 321, 320, kCurve, 0));
    EXPECT_EQ(CountIn(c, kCurve, 0, 0, 318, 639), 0);
    EXPECT_TRUE(Near(c, View().XToPixel(4), View().YToPixel(2), kCurve));
}

TEST_F(Explicit, SquareRootBetweenSamplesIsClosedByBisection)
{
    // With this frame x = 0 falls between two samples.
    doc.CoordFrame.xmin = -5.3L;
    AddExplicit("sqrt(x)");
    const Canvas &c = Draw();
    const int x0 = View().XToPixel(0), y0 = View().YToPixel(0);
    EXPECT_TRUE(Near(c, x0, y0, kCurve, 1));
    EXPECT_EQ(CountIn(c, kCurve, 0, 0, x0 - 2, 639), 0);
    // The first regular sample lies right of x0; the edge segment reaches back.
    EXPECT_GT(CountIn(c, kCurve, x0 - 1, y0 - 12, x0 + 1, y0 + 1), 0);
}

TEST_F(Explicit, DomainEndOnTheRightIsReachedToo)
{
    doc.CoordFrame.xmax = 5.3L;
    AddExplicit("sqrt(-x)");
    const Canvas &c = Draw();
    const int x0 = View().XToPixel(0), y0 = View().YToPixel(0);
    EXPECT_TRUE(Near(c, x0, y0, kCurve, 1));
    EXPECT_EQ(CountIn(c, kCurve, x0 + 2, 0, 639, 639), 0);
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
    // Never joined across the pole through the middle rows.
    EXPECT_EQ(CountIn(c, kCurve, 310, 100, 330, 540), 0);
    // The asymptote: a red dotted line down column 320.
    const int red = ColumnCount(c, 320, 0, 639, kRed);
    EXPECT_GT(red, 200);
    EXPECT_LT(red, 400);
    EXPECT_EQ(CountAll(c, kRed), red);
    EXPECT_TRUE(Near(c, View().XToPixel(0.5L), View().YToPixel(2), kCurve));
    EXPECT_TRUE(Near(c, View().XToPixel(-2), View().YToPixel(-0.5L), kCurve));
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

TEST_F(Explicit, NoAsymptoteWithoutTheFlag)
{
    Add(KindExplicit, "1/x");
    const Canvas &c = Draw();
    EXPECT_EQ(CountAll(c, kRed), 0);
    EXPECT_GT(CountIn(c, kCurve, 300, 630, 319, 639), 0);
}

TEST_F(Explicit, TangentBreaksAtEveryPole)
{
    AddExplicit("tan(x)");
    const Canvas &c = Draw();
    const long double halfPi = std::acos(0.0L);
    for (int k : {-3, -1, 1, 3}) {
        const int col = View().XToPixel(k * halfPi);
        EXPECT_GT(CountIn(c, kRed, col - 1, 0, col + 1, 639), 200) << k;
        EXPECT_EQ(CountIn(c, kCurve, col - 2, 150, col + 2, 490), 0) << k;
        // Each side goes on to its edge: up on the left of the pole, down on the right.
        EXPECT_GT(CountIn(c, kCurve, col - 20, 0, col, 3), 0) << k;
        EXPECT_GT(CountIn(c, kCurve, col, 636, col + 20, 639), 0) << k;
    }
    for (long double x : {-1.2L, 0.0L, 1.0L, 2.5L})
        EXPECT_TRUE(Near(c, View().XToPixel(x), View().YToPixel(std::tan(x)), kCurve)) << (double)x;
}

TEST_F(Explicit, ExponentialOfAJumpHasNoRunsToTheEdges)
{
    AddExplicit("exp(1/x)");
    const Canvas &c = Draw();
    // Left of 0 the curve creeps along y = 0; no run climbs from it to the top.
    EXPECT_EQ(CountIn(c, kCurve, 316, 5, 320, 300), 0);
    EXPECT_TRUE(Near(c, View().XToPixel(1), View().YToPixel(std::exp(1.0L)), kCurve));
    EXPECT_GT(ColumnCount(c, 320, 0, 639, kRed), 200);
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
    const std::string slope = DerivativeText("x^3/3", OpX);
    ASSERT_TRUE(ParseOK);
    Add(KindDerivative, slope, "", "", "", kOther);
    const Canvas &c = Draw();
    for (long double x : {-2.0L, -1.0L, 0.0L, 0.5L, 2.0L})
        EXPECT_TRUE(Near(c, View().XToPixel(x), View().YToPixel(x * x), kOther)) << (double)x;
}

TEST_F(Explicit, UnparsableFormulaDrawsNothing)
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
    EXPECT_TRUE(Near(canvas, view.XToPixel(4), view.YToPixel(2), kCurve));
    EXPECT_TRUE(Near(canvas, view.XToPixel(1), view.YToPixel(-1), kCurve));
    EXPECT_EQ(CountIn(canvas, kCurve, 0, 0, 318, 639), 0);
}

TEST_F(Explicit, WidePenIsUsedForTheCurve)
{
    Add(KindExplicit, "1", "", "", "", kCurve, 0, 3);
    const Canvas &c = Draw();
    EXPECT_EQ(ColumnCount(c, 100, 0, 639), 3);
}
