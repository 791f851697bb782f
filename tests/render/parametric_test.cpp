#include "render_test_util.h"

#include <chrono>
#include <cmath>

using Parametric = RenderTest;

namespace
{

const std::string kPi = "\x83\xCE";

} // namespace

TEST_F(Parametric, CircleIsClosedAndFollowsItsRadius)
{
    Add(KindParametric, "3cos(t)", "3sin(t)", "0", "2" + kPi);
    const Canvas &c = Draw();
    for (int k = 0; k < 72; ++k) {
        const long double a = k * 2 * std::acos(-1.0L) / 72;
        EXPECT_TRUE(Near(c, View().XToPixel(3 * std::cos(a)), View().YToPixel(3 * std::sin(a)), kCurve)) << k;
    }
    // Continuous: every column inside the circle has a pixel above and below.
    for (int x = 320 - 190; x <= 320 + 190; ++x) {
        ASSERT_GT(CountIn(c, kCurve, x, 0, x, 319), 0) << x;
        ASSERT_GT(CountIn(c, kCurve, x, 321, x, 639), 0) << x;
    }
    EXPECT_EQ(CountIn(c, kCurve, 250, 250, 390, 390), 0);
}

TEST_F(Parametric, BoundsInTheWrongOrderAreExchanged)
{
    Add(KindParametric, "t", "t", "5", "0");
    const Canvas &c = Draw();
    EXPECT_TRUE(Near(c, View().XToPixel(2.5L), View().YToPixel(2.5L), kCurve, 0));
    EXPECT_TRUE(Near(c, View().XToPixel(0), View().YToPixel(0), kCurve, 0));
    EXPECT_EQ(CountIn(c, kCurve, 0, 330, 639, 639), 0);
}

TEST_F(Parametric, CurveAfterARaisedPenIsStillDrawnAsAStroke)
{
    AddExplicit("sqrt(-x)", kOther); // ends its sweep with the pen raised
    Add(KindParametric, "t", "t/2", "-4", "4");
    const Canvas &c = Draw();
    for (int x = View().XToPixel(-4); x < View().XToPixel(4); ++x)
        ASSERT_GT(CountIn(c, kCurve, x, 0, x, 639), 0) << x;
}

TEST_F(Parametric, TwoCurvesAreNeverJoined)
{
    Add(KindParametric, "t", "4", "-4", "-3");
    Add(KindParametric, "t", "-4", "3", "4", kOther);
    const Canvas &c = Draw();
    EXPECT_EQ(CountIn(c, kOther, 0, 0, 639, 560), 0);
    EXPECT_EQ(CountIn(c, kCurve, 0, 100, 639, 639), 0);
    EXPECT_GT(CountIn(c, kOther, 0, 576, 639, 576), 60);
}

TEST_F(Parametric, UndefinedStretchLeavesAGap)
{
    Add(KindParametric, "t", "sqrt(t^2-1)", "-3", "3");
    const Canvas &c = Draw();
    const int y0 = View().YToPixel(0);
    EXPECT_EQ(CountIn(c, kCurve, View().XToPixel(-0.9L), y0 - 3, View().XToPixel(0.9L), y0 + 3), 0);
    EXPECT_TRUE(Near(c, View().XToPixel(2), View().YToPixel(std::sqrt(3.0L)), kCurve));
    EXPECT_TRUE(Near(c, View().XToPixel(-2), View().YToPixel(std::sqrt(3.0L)), kCurve));
}

TEST_F(Parametric, PolarCurveDrawsLikeItsParametricForm)
{
    Add(KindPolar, "2", "2", "0", "2" + kPi);
    const Canvas polar = Draw();
    doc.ItemCount = 0;
    Add(KindParametric, "(2)*cos(t)", "(2)*sin(t)", "0", "2" + kPi);
    const Canvas &parametric = Draw();
    EXPECT_TRUE(polar.image() == parametric.image());
    EXPECT_TRUE(Near(polar, View().XToPixel(0), View().YToPixel(2), kCurve));
}

TEST_F(Parametric, UndefinedBoundDrawsNothing)
{
    Add(KindParametric, "t", "t", "0", "sqrt(-1)");
    Add(KindParametric, "t", "t", "x+*", "1", kOther);
    const Canvas &c = Draw();
    EXPECT_EQ(CountAll(c, kCurve), 0);
    EXPECT_EQ(CountAll(c, kOther), 0);
}

TEST_F(Parametric, EnormousParameterRangeEndsInBoundedTime)
{
    Add(KindParametric, "0", "0", "0", "1000000000000");
    Add(KindParametric, "sin(t)", "cos(t)", "-100000000000000000000", "100000000000000000000", kOther);
    const auto start = std::chrono::steady_clock::now();
    const Canvas &c = Draw();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(c.pixel(320, 320), kCurve);
}
