#include "render_test_util.h"

#include <cmath>

using Parametric = RenderTest;

static const std::string kPi = "\x83\xCE";

TEST_F(Parametric, CircleIsClosedAndFollowsItsRadius)
{
    Add(KindParametric, "3cos(t)", "3sin(t)", "0", "2" + kPi);
    const Canvas &c = Draw();
    for (int k = 0; k < 72; ++k) {
        const long double a = k * 2 * std::acos(-1.0L) / 72;
        EXPECT_TRUE(NearW(3 * std::cos(a), 3 * std::sin(a))) << k;
    }
    // Continuous: every column inside the circle has a pixel above and below.
    for (int x = 320 - 190; x <= 320 + 190; ++x) {
        ASSERT_GT(CountIn(c, kCurve, x, 0, x, 319), 0) << x;
        ASSERT_GT(CountIn(c, kCurve, x, 321, x, 639), 0) << x;
    }
    EXPECT_EQ(CountIn(c, kCurve, 250, 250, 390, 390), 0);
}

TEST_F(Parametric, CurvesAreStrokedAndNeverJoinedToOneAnother)
{
    AddExplicit("sqrt(-x)", kOther); // ends its sweep with the pen raised
    Add(KindParametric, "t", "t/2", "-4", "4");
    const Canvas &c = Draw();
    for (int x = View().XToPixel(-4); x < View().XToPixel(4); ++x)
        ASSERT_GT(CountIn(c, kCurve, x, 0, x, 639), 0) << x;
    doc.ItemCount = 0;
    Add(KindParametric, "t", "4", "-4", "-3");
    Add(KindParametric, "t", "-4", "3", "4", kOther);
    const Canvas &two = Draw();
    EXPECT_EQ(CountIn(two, kOther, 0, 0, 639, 560), 0);
    EXPECT_EQ(CountIn(two, kCurve, 0, 100, 639, 639), 0);
    EXPECT_GT(CountIn(two, kOther, 0, 576, 639, 576), 60);
}

TEST_F(Parametric, BoundsInTheWrongOrderAreExchangedAndUndefinedStretchesLeaveGaps)
{
    Add(KindParametric, "t", "t", "5", "0");
    const Canvas &c = Draw();
    EXPECT_TRUE(NearW(2.5L, 2.5L, 0));
    EXPECT_TRUE(NearW(0, 0, 0));
    EXPECT_EQ(CountIn(c, kCurve, 0, 330, 639, 639), 0);
    doc.ItemCount = 0;
    Add(KindParametric, "t", "sqrt(t^2-1)", "-3", "3");
    Draw();
    EXPECT_EQ(CountW(-0.9L, -0.05L, 0.9L, 0.05L), 0);
    EXPECT_TRUE(NearW(2, std::sqrt(3.0L)));
    EXPECT_TRUE(NearW(-2, std::sqrt(3.0L)));
}

TEST_F(Parametric, PolarCurveDrawsLikeItsParametricForm)
{
    Add(KindPolar, "2", "2", "0", "2" + kPi);
    const Canvas polar = Draw();
    doc.ItemCount = 0;
    Add(KindParametric, "(2)*cos(t)", "(2)*sin(t)", "0", "2" + kPi);
    EXPECT_TRUE(polar.image() == Draw().image());
    EXPECT_TRUE(NearWorld(polar, View(), 0, 2));
}

TEST_F(Parametric, EnormousParameterRangesEndInBoundedTime)
{
    Add(KindParametric, "0", "0", "0", "1000000000000");
    Add(KindParametric, "sin(t)", "cos(t)", "-100000000000000000000", "100000000000000000000", kOther);
    EXPECT_EQ(Draw().pixel(320, 320), kCurve);
}
