#include "render_test_util.h"

#include <cmath>

namespace gq
{

using Explicit = RenderTest;

const uint32_t kRed = kAsymptoteColour;

TEST_F(Explicit, LineCoversEveryColumnThroughTheMappedPoints)
{
    addExplicit("x/2+1");
    const Canvas &c = draw();
    for (int x = 0; x < 639; ++x)
        ASSERT_GT(countColour(c, kCurve, x, 0, x, 639), 0) << x;
    for (long double x = -4.5L; x < 4.5L; x += 0.37L)
        EXPECT_TRUE(nearW(x, x / 2 + 1)) << static_cast<double>(x);
    EXPECT_EQ(countColour(c, kRed), 0);
}

TEST_F(Explicit, DomainEndsAreReachedWithinAPixel)
{
    auto check = [&](const char *f, long double xmin, long double xmax, int side) {
        SCOPED_TRACE(testing::Message() << f << " from " << static_cast<double>(xmin));
        doc.itemCount = 0;
        doc.frame = {xmin, xmax, -5, 5};
        addExplicit(f);
        const Canvas &c = draw();
        const int x0 = view().xToPixel(0);
        EXPECT_TRUE(nearW(0, 0));
        EXPECT_TRUE(nearW(4 * side, 2));
        EXPECT_EQ(side > 0 ? countColour(c, kCurve, 0, 0, x0 - 2, 639) : countColour(c, kCurve, x0 + 2, 0, 639, 639),
                  0);
    };
    check("sqrt(x)", -5, 5, 1);
    check("sqrt(x)", -5.3L, 5, 1); // x = 0 falls between two samples
    check("sqrt(-x)", -5, 5.3L, -1);
}

TEST_F(Explicit, ReciprocalRunsToBothEdgesWithADottedAsymptote)
{
    addExplicit("1/x");
    const Canvas &c = draw();
    // Left branch down to the bottom edge, right branch from the top edge, never joined across the pole.
    EXPECT_GT(countColour(c, kCurve, 300, 630, 319, 639), 0);
    EXPECT_GT(countColour(c, kCurve, 321, 0, 340, 9), 0);
    EXPECT_EQ(countColour(c, kCurve, 300, 0, 319, 300), 0);
    EXPECT_EQ(countColour(c, kCurve, 321, 340, 340, 639), 0);
    EXPECT_EQ(countColour(c, kCurve, 310, 100, 330, 540), 0);
    EXPECT_TRUE(nearW(0.5L, 2));
    EXPECT_TRUE(nearW(-2, -0.5L));
    const int red = countColour(c, kRed, 320, 0, 320, 639); // dotted down column 320, nowhere else
    EXPECT_GT(red, 200);
    EXPECT_LT(red, 400);
    EXPECT_EQ(countColour(c, kRed), red);
    doc.items[1].asymptote = 0;
    EXPECT_EQ(countColour(draw(), kRed), 0);
    // Tall frame: the samples next to the pole (y = -64 and 64) lie inside, yet the branches reach the edges.
    doc.frame = {-5, 5, -500, 500};
    doc.items[1].asymptote = 1;
    const Canvas &tall = draw();
    EXPECT_EQ(countColour(tall, kCurve, 319, 400, 319, 639), 240);
    EXPECT_EQ(countColour(tall, kCurve, 321, 0, 321, 250), 251);
    EXPECT_EQ(countColour(tall, kCurve, 322, 330, 639, 639), 0);
}

TEST_F(Explicit, TangentBreaksAtEveryPoleButTheExponentialOfAJumpHasNoRunsToTheEdges)
{
    addExplicit("tan(x)");
    const Canvas &c = draw();
    for (int k : {-3, -1, 1, 3}) {
        const int col = view().xToPixel(k * std::acos(0.0L));
        EXPECT_GT(countColour(c, kRed, col - 1, 0, col + 1, 639), 200) << k;
        EXPECT_EQ(countColour(c, kCurve, col - 2, 150, col + 2, 490), 0) << k;
        // Each side goes on to its edge: up on the left of the pole, down on the right.
        EXPECT_GT(countColour(c, kCurve, col - 20, 0, col, 3), 0) << k;
        EXPECT_GT(countColour(c, kCurve, col, 636, col + 20, 639), 0) << k;
    }
    for (long double x : {-1.2L, 0.0L, 1.0L, 2.5L})
        EXPECT_TRUE(nearW(x, std::tan(x))) << static_cast<double>(x);
    doc.itemCount = 0;
    addExplicit("exp(1/x)");
    const Canvas &e = draw();
    // Left of 0 the curve creeps along y = 0; no run climbs from it to the top.
    EXPECT_EQ(countColour(e, kCurve, 316, 5, 320, 300), 0);
    EXPECT_TRUE(nearW(1, std::exp(1.0L)));
    EXPECT_GT(countColour(e, kRed, 320, 0, 320, 639), 200);
}

TEST_F(Explicit, DerivativeFollowsItsTextAndIsHiddenWhereItsFunctionIsUndefined)
{
    addExplicit("sqrt(x)");
    add(KindDerivative, "1/2", "", "", "", kOther); // defined everywhere by itself
    const Canvas &c = draw();
    const int row = view().yToPixel(0.5L);
    EXPECT_EQ(countColour(c, kOther, 0, 0, 318, 639), 0);
    EXPECT_GT(countColour(c, kOther, 330, row, 639, row), 300);
    doc.items[1].text[1] = "x^3/3";
    engineState().parseOK = true;
    doc.items[2].text[1] = derivativeText("x^3/3", OpX);
    ASSERT_TRUE(engineState().parseOK);
    draw();
    for (long double x : {-2.0L, -1.0L, 0.0L, 0.5L, 2.0L})
        EXPECT_TRUE(nearW(x, x * x, 1, kOther)) << static_cast<double>(x);
}

TEST_F(Explicit, SwappedBranchIsSweptAlongYWithTheItemsPen)
{
    Canvas canvas(640, 640);
    GraphView view;
    Item item;
    item.text[1] = "y^2"; // x = y^2
    item.colour = kCurve;
    plotCurve(canvas, view, item, true);
    EXPECT_TRUE(nearWorld(canvas, view, 4, 2));
    EXPECT_TRUE(nearWorld(canvas, view, 1, -1));
    EXPECT_EQ(countColour(canvas, kCurve, 0, 0, 318, 639), 0);
    add(KindExplicit, "1", "", "", "", kCurve, 0, 3);
    EXPECT_EQ(countColour(draw(), kCurve, 100, 0, 100, 639), 3);
}

} // namespace gq
