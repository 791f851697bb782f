// Implicit curves drawn from their algebraic form: lines, conics and solved
// branches. Checked by pixels of the picture: the curve passes through points
// it must, and regions it must avoid stay empty.
#include "engine/evaluate.h"
#include "engine/parse.h"
#include "implicit_test_util.h"
#include "render/implicit_internal.h"
#include "render/plot_implicit.h"
#include "render/redraw.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

using namespace implicit_test;

namespace
{

constexpr uint32_t kCurve = RGBColour(200, 0, 40);

struct Drawn {
    Canvas canvas;
    GraphView view;
    bool near(long double x, long double y, int r = 1) const
    {
        return ColouredNear(canvas, view, x, y, kCurve, r);
    }
    int countIn(long double xa, long double ya, long double xb, long double yb) const
    {
        return CountInWorldRect(canvas, view, kCurve, xa, ya, xb, yb);
    }
    int total() const { return CountColour(canvas, kCurve); }
};

Drawn DrawImplicit(const std::string &text, int size = 640, CoordFrameRecord frame = {}, int width = 1)
{
    SetDefinitionSource(nullptr);
    Drawn d{Canvas(size, size), GraphView(frame, size)};
    d.view.publish();
    Tfuncprop item;
    item.kind = KindImplicit;
    item.text[1] = text;
    item.colour = kCurve;
    item.penWidth = static_cast<uint8_t>(width);
    drawImplicitCurve(d.canvas, d.view, item);
    return d;
}

} // namespace

TEST(ImplicitLines, FirstDegreeIsOneStraightLineAcrossTheWindow)
{
    Drawn d = DrawImplicit("x+y-1");
    for (long double x : {-3.9L, -1.0L, 0.0L, 1.0L, 2.5L, 4.5L})
        EXPECT_TRUE(d.near(x, 1 - x)) << x;
    EXPECT_EQ(d.countIn(-0.3L, -0.3L, 0.3L, 0.3L), 0);
    EXPECT_EQ(d.countIn(1.5L, 1.5L, 4.9L, 4.9L), 0);
}

TEST(ImplicitLines, VerticalAndHorizontalLines)
{
    Drawn v = DrawImplicit("2*x-3");
    for (long double y : {-4.5L, 0.0L, 4.5L})
        EXPECT_TRUE(v.near(1.5L, y)) << y;
    EXPECT_EQ(v.countIn(-4.9L, -4.9L, 1.3L, 4.9L), 0);

    Drawn h = DrawImplicit("4+2*y");
    for (long double x : {-4.5L, 0.0L, 4.5L})
        EXPECT_TRUE(h.near(x, -2)) << x;
    EXPECT_EQ(h.countIn(-4.9L, -1.8L, 4.9L, 4.9L), 0);
}

TEST(ImplicitLines, RootLayersAreStrippedFirst)
{
    // (x − y)^2 = 0 and sqrt(abs(x − y)) = 0 are the line y = x.
    for (const char *text : {"(x-y)^2", "sqrt(abs(x-y))"}) {
        Drawn d = DrawImplicit(text);
        for (long double x : {-4.0L, -1.0L, 2.0L, 4.0L})
            EXPECT_TRUE(d.near(x, x)) << text << " " << x;
        EXPECT_EQ(d.countIn(1.0L, -4.0L, 4.0L, 0.0L), 0) << text;
    }
}

TEST(ImplicitConics, CircleThroughItsAxisPointsAndEmptyInside)
{
    Drawn d = DrawImplicit("x^2+y^2-4");
    EXPECT_TRUE(d.near(2, 0));
    EXPECT_TRUE(d.near(-2, 0));
    EXPECT_TRUE(d.near(0, 2));
    EXPECT_TRUE(d.near(0, -2));
    EXPECT_TRUE(d.near(std::sqrt(2.0L), std::sqrt(2.0L)));
    EXPECT_TRUE(d.near(-std::sqrt(2.0L), -std::sqrt(2.0L)));
    EXPECT_EQ(d.countIn(-1.2L, -1.2L, 1.2L, 1.2L), 0);
    EXPECT_EQ(d.countIn(2.3L, 2.3L, 4.9L, 4.9L), 0);
    // About 2π·2 world units of arc at 64 pixels per unit: one pixel wide.
    EXPECT_GT(d.total(), 700);
    EXPECT_LT(d.total(), 1100);
}

TEST(ImplicitConics, ShiftedAndTurnedEllipses)
{
    Drawn shifted = DrawImplicit("(x-1)^2/4+(y+1)^2-1");
    for (auto [x, y] : {std::pair{3.0L, -1.0L}, {-1.0L, -1.0L}, {1.0L, 0.0L}, {1.0L, -2.0L}})
        EXPECT_TRUE(shifted.near(x, y)) << x << "," << y;
    EXPECT_EQ(shifted.countIn(0.5L, -1.5L, 1.5L, -0.5L), 0);

    // x² + xy + y² = 3: an ellipse turned by 45°.
    Drawn turned = DrawImplicit("x^2+x*y+y^2-3");
    const long double r3 = std::sqrt(3.0L);
    for (auto [x, y] :
         {std::pair{r3, 0.0L}, {0.0L, r3}, {1.0L, 1.0L}, {-1.0L, -1.0L}, {2.0L, -1.0L}, {-2.0L, 1.0L}})
        EXPECT_TRUE(turned.near(x, y)) << x << "," << y;
    EXPECT_EQ(turned.countIn(-0.8L, -0.8L, 0.8L, 0.8L), 0);
}

TEST(ImplicitConics, HyperbolaXYEqualsOne)
{
    Drawn d = DrawImplicit("x*y-1");
    for (auto [x, y] :
         {std::pair{1.0L, 1.0L}, {2.0L, 0.5L}, {-1.0L, -1.0L}, {4.0L, 0.25L}, {-0.5L, -2.0L}, {0.25L, 4.0L}})
        EXPECT_TRUE(d.near(x, y)) << x << "," << y;
    // Nothing near the asymptotes: bands of ±0.1 along both axes.
    EXPECT_EQ(d.countIn(-4.95L, -0.1L, 4.95L, 0.1L), 0);
    EXPECT_EQ(d.countIn(-0.1L, -4.95L, 0.1L, 4.95L), 0);
    // Nothing in the quadrants the curve does not enter.
    EXPECT_EQ(d.countIn(-4.9L, 0.3L, -0.3L, 4.9L), 0);
    EXPECT_EQ(d.countIn(0.3L, -4.9L, 4.9L, -0.3L), 0);
}

TEST(ImplicitConics, HyperbolaOpeningSideways)
{
    Drawn d = DrawImplicit("x^2-y^2-1");
    const long double r5 = std::sqrt(5.0L);
    for (auto [x, y] : {std::pair{1.0L, 0.0L}, {-1.0L, 0.0L}, {r5, 2.0L}, {-r5, -2.0L}, {r5, -2.0L}})
        EXPECT_TRUE(d.near(x, y)) << x << "," << y;
    EXPECT_EQ(d.countIn(-0.8L, -0.8L, 0.8L, 0.8L), 0);
}

TEST(ImplicitConics, DegenerateCentralConics)
{
    Drawn cross = DrawImplicit("x^2-y^2");
    for (long double t : {-4.0L, -2.0L, 1.0L, 3.0L}) {
        EXPECT_TRUE(cross.near(t, t)) << t;
        EXPECT_TRUE(cross.near(t, -t)) << t;
    }
    EXPECT_EQ(cross.countIn(1.5L, -0.5L, 4.9L, 0.5L), 0);
    EXPECT_EQ(cross.countIn(-0.5L, 1.5L, 0.5L, 4.9L), 0);

    // Two lines through (1, 2): (x − 1)² = (y − 2)², multiplied out.
    Drawn shifted = DrawImplicit("x^2-2*x+1-y^2+4*y-4");
    for (long double t : {-2.0L, 0.5L, 2.5L}) {
        EXPECT_TRUE(shifted.near(1 + t, 2 + t)) << t;
        EXPECT_TRUE(shifted.near(1 + t, 2 - t)) << t;
    }

    // x·y = 0: the two axes, one of them vertical.
    Drawn axes = DrawImplicit("x*y");
    for (long double t : {-4.0L, -1.0L, 2.0L, 4.0L}) {
        EXPECT_TRUE(axes.near(t, 0)) << t;
        EXPECT_TRUE(axes.near(0, t)) << t;
    }
    EXPECT_EQ(axes.countIn(0.2L, 0.2L, 4.9L, 4.9L), 0);
}

TEST(ImplicitConics, PointAndEmptyConicsDrawNothing)
{
    EXPECT_EQ(DrawImplicit("x^2+y^2").total(), 0);
    EXPECT_EQ(DrawImplicit("x^2+y^2+1").total(), 0);
    EXPECT_EQ(DrawImplicit("y^2+1").total(), 0);
    EXPECT_EQ(DrawImplicit("(x+y)^2+1").total(), 0);
}

TEST(ImplicitConics, ParabolasAlongEitherAxis)
{
    Drawn sideways = DrawImplicit("y^2-x");
    for (auto [x, y] : {std::pair{0.0L, 0.0L}, {1.0L, 1.0L}, {1.0L, -1.0L}, {4.0L, 2.0L}, {4.0L, -2.0L}})
        EXPECT_TRUE(sideways.near(x, y)) << x << "," << y;
    EXPECT_EQ(sideways.countIn(-4.9L, -4.9L, -0.2L, 4.9L), 0);

    Drawn shifted = DrawImplicit("y^2-2*x-1");
    for (auto [x, y] : {std::pair{-0.5L, 0.0L}, {0.0L, 1.0L}, {0.0L, -1.0L}, {4.0L, 3.0L}, {4.0L, -3.0L}})
        EXPECT_TRUE(shifted.near(x, y)) << x << "," << y;
    EXPECT_EQ(shifted.countIn(-4.9L, -4.9L, -0.7L, 4.9L), 0);

    Drawn upright = DrawImplicit("x^2-y");
    for (auto [x, y] : {std::pair{0.0L, 0.0L}, {1.0L, 1.0L}, {-1.0L, 1.0L}, {2.0L, 4.0L}, {-2.0L, 4.0L}})
        EXPECT_TRUE(upright.near(x, y)) << x << "," << y;
    EXPECT_EQ(upright.countIn(-4.9L, -4.9L, 4.9L, -0.2L), 0);
}

TEST(ImplicitConics, TurnedParabola)
{
    // (x + y)² = 2x: with s = x + y the points (s²/2, s − s²/2).
    Drawn d = DrawImplicit("x^2+2*x*y+y^2-2*x");
    for (long double s : {-2.0L, -1.0L, 0.0L, 1.0L, 2.0L, 3.0L})
        EXPECT_TRUE(d.near(s * s / 2, s - s * s / 2, 2)) << s;
    EXPECT_EQ(d.countIn(-4.9L, -4.9L, -0.2L, 4.9L), 0);
}

TEST(ImplicitConics, ParallelLinePairs)
{
    Drawn horizontal = DrawImplicit("y^2-1");
    for (long double x : {-4.0L, 0.0L, 4.0L}) {
        EXPECT_TRUE(horizontal.near(x, 1)) << x;
        EXPECT_TRUE(horizontal.near(x, -1)) << x;
    }
    EXPECT_EQ(horizontal.countIn(-4.9L, -0.8L, 4.9L, 0.8L), 0);

    Drawn vertical = DrawImplicit("x^2-4");
    for (long double y : {-4.0L, 0.0L, 4.0L}) {
        EXPECT_TRUE(vertical.near(2, y)) << y;
        EXPECT_TRUE(vertical.near(-2, y)) << y;
    }
    EXPECT_EQ(vertical.countIn(-1.8L, -4.9L, 1.8L, 4.9L), 0);

    Drawn slanted = DrawImplicit("x^2+2*x*y+y^2-1");
    for (long double x : {-3.0L, 0.0L, 3.0L}) {
        EXPECT_TRUE(slanted.near(x, 1 - x)) << x;
        EXPECT_TRUE(slanted.near(x, -1 - x)) << x;
    }
    EXPECT_EQ(slanted.countIn(-0.3L, -0.3L, 0.3L, 0.3L), 0);

    Drawn doubled = DrawImplicit("y^2-2*y+1");
    EXPECT_TRUE(doubled.near(-3, 1));
    EXPECT_TRUE(doubled.near(3, 1));
}

TEST(ImplicitBranches, LinearInYIsDrawnAsAFunctionOfX)
{
    Drawn d = DrawImplicit("y-x^3");
    for (long double x : {-1.6L, -1.0L, -0.5L, 0.0L, 0.7L, 1.2L, 1.65L})
        EXPECT_TRUE(d.near(x, x * x * x, 2)) << x;
    EXPECT_EQ(d.countIn(-4.9L, 0.5L, -0.3L, 4.9L), 0);
}

TEST(ImplicitBranches, LinearBranchIsSolvedFromTheStrippedEquation)
{
    // sqrt(y − sin x) = 0 is y = sin x everywhere, also where sin x > 0.
    Drawn d = DrawImplicit("sqrt(y-sin(x))");
    for (long double x : {-4.0L, -2.0L, 0.5L, 1.5L, 2.5L, 4.5L})
        EXPECT_TRUE(d.near(x, std::sin(x), 2)) << x;
    EXPECT_EQ(d.countIn(-4.9L, 1.3L, 4.9L, 4.9L), 0);
}

TEST(ImplicitBranches, LinearInXIsDrawnAsAFunctionOfY)
{
    Drawn d = DrawImplicit("x-y^3+y");
    for (long double y : {-1.8L, -1.0L, -0.5L, 0.0L, 0.5L, 1.0L, 1.8L})
        EXPECT_TRUE(d.near(y * y * y - y, y, 2)) << y;
}

TEST(ImplicitBranches, QuadraticInYGivesTwoRootBranches)
{
    // y² = x³ − x: two ovals' worth of branches, none between 0 and 1.
    Drawn d = DrawImplicit("y^2-x^3+x");
    for (long double x : {-0.5L, 1.5L, 2.0L, 2.5L}) {
        long double y = std::sqrt(x * x * x - x);
        EXPECT_TRUE(d.near(x, y, 2)) << x;
        EXPECT_TRUE(d.near(x, -y, 2)) << x;
    }
    EXPECT_EQ(d.countIn(0.2L, -0.5L, 0.8L, 0.5L), 0);
    EXPECT_EQ(d.countIn(-4.9L, -4.9L, -1.2L, 4.9L), 0);
}

TEST(ImplicitBranches, QuadraticInXGivesTwoRootBranches)
{
    Drawn d = DrawImplicit("x^2-y^3");
    for (long double y : {0.5L, 1.0L, 2.0L, 2.8L}) {
        long double x = std::pow(y, 1.5L);
        EXPECT_TRUE(d.near(x, y, 2)) << y;
        EXPECT_TRUE(d.near(-x, y, 2)) << y;
    }
    EXPECT_EQ(d.countIn(-4.9L, -4.9L, 4.9L, -0.2L), 0);
}

TEST(ImplicitFailures, FormulasThatDoNotParseDrawNothing)
{
    EXPECT_EQ(DrawImplicit("x+*y").total(), 0);
    EXPECT_EQ(DrawImplicit("").total(), 0);
    EXPECT_EQ(DrawImplicit("sin(").total(), 0);
}

TEST(ImplicitFailures, InfiniteCoefficientsDrawNothing)
{
    EXPECT_EQ(DrawImplicit("x^2+y^2-10^5000").total(), 0);
    EXPECT_EQ(DrawImplicit("x+y-10^5000").total(), 0);
}

TEST(ImplicitLargeCanvas, ConicsOnTwelveHundredPixels)
{
    Drawn d = DrawImplicit("x^2+y^2-4", 1200);
    EXPECT_TRUE(d.near(2, 0));
    EXPECT_TRUE(d.near(0, -2));
    EXPECT_EQ(d.countIn(-1.2L, -1.2L, 1.2L, 1.2L), 0);
}

TEST(ImplicitPen, CurvesUseTheItemWidth)
{
    Drawn thin = DrawImplicit("x^2+y^2-4", 640, {}, 1);
    Drawn thick = DrawImplicit("x^2+y^2-4", 640, {}, 3);
    EXPECT_GT(thick.total(), 2 * thin.total());
}

TEST(ImplicitRedraw, ImplicitItemsAreDrawnByTheFullRedraw)
{
    // Definitions reach the implicit plotter too: F1 is read at every reference.
    Document doc;
    doc.DefFuncText[1] = "x^2";
    doc.DefFuncCount = 1;
    doc.ItemCount = 2;
    doc.ItemList[1].kind = KindImplicit;
    doc.ItemList[1].text[1] = "F1(x)+y^2-4";
    doc.ItemList[1].colour = kCurve;
    doc.ItemList[2].kind = KindImplicit;
    doc.ItemList[2].text[1] = "sin(x)+sin(y)-1.5";
    doc.ItemList[2].colour = RGBColour(0, 160, 0);
    GraphRenderer renderer(640);
    renderer.RedrawGraph(doc);
    SetDefinitionSource(nullptr);
    const Canvas &image = renderer.GraphImage();
    const GraphView &view = renderer.view();
    EXPECT_TRUE(ColouredNear(image, view, 2, 0, kCurve, 1));
    EXPECT_TRUE(ColouredNear(image, view, 0, -2, kCurve, 1));
    const long double a = std::asin(0.75L);
    EXPECT_TRUE(ColouredNear(image, view, a, a, RGBColour(0, 160, 0), 2));
}
