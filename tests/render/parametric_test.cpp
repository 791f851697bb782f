#include "render_test_util.h"

#include <cmath>

namespace gq
{

using Parametric = RenderTest;

static const std::string kPi = "\x83\xCE";

TEST_F(Parametric, CircleIsClosedAndFollowsItsRadius)
{
    add(KindParametric, "3cos(t)", "3sin(t)", "0", "2" + kPi);
    const Canvas &c = draw();
    for (int k = 0; k < 72; ++k) {
        const long double a = k * 2 * std::acos(-1.0L) / 72;
        EXPECT_TRUE(nearW(3 * std::cos(a), 3 * std::sin(a))) << k;
    }
    // Continuous: every column inside the circle has a pixel above and below.
    for (int x = 320 - 190; x <= 320 + 190; ++x) {
        ASSERT_GT(countColour(c, kCurve, x, 0, x, 319), 0) << x;
        ASSERT_GT(countColour(c, kCurve, x, 321, x, 639), 0) << x;
    }
    EXPECT_EQ(countColour(c, kCurve, 250, 250, 390, 390), 0);
}

TEST_F(Parametric, CurvesAreStrokedAndNeverJoinedToOneAnother)
{
    addExplicit("sqrt(-x)", kOther); // ends its sweep with the pen raised
    add(KindParametric, "t", "t/2", "-4", "4");
    const Canvas &c = draw();
    for (int x = view().xToPixel(-4); x < view().xToPixel(4); ++x)
        ASSERT_GT(countColour(c, kCurve, x, 0, x, 639), 0) << x;
    doc.itemCount = 0;
    add(KindParametric, "t", "4", "-4", "-3");
    add(KindParametric, "t", "-4", "3", "4", kOther);
    const Canvas &two = draw();
    EXPECT_EQ(countColour(two, kOther, 0, 0, 639, 560), 0);
    EXPECT_EQ(countColour(two, kCurve, 0, 100, 639, 639), 0);
    EXPECT_GT(countColour(two, kOther, 0, 576, 639, 576), 60);
}

TEST_F(Parametric, BoundsInTheWrongOrderAreExchangedAndUndefinedStretchesLeaveGaps)
{
    add(KindParametric, "t", "t", "5", "0");
    const Canvas &c = draw();
    EXPECT_TRUE(nearW(2.5L, 2.5L, 0));
    EXPECT_TRUE(nearW(0, 0, 0));
    EXPECT_EQ(countColour(c, kCurve, 0, 330, 639, 639), 0);
    doc.itemCount = 0;
    add(KindParametric, "t", "sqrt(t^2-1)", "-3", "3");
    draw();
    EXPECT_EQ(countW(-0.9L, -0.05L, 0.9L, 0.05L), 0);
    EXPECT_TRUE(nearW(2, std::sqrt(3.0L)));
    EXPECT_TRUE(nearW(-2, std::sqrt(3.0L)));
}

TEST_F(Parametric, PolarCurveDrawsLikeItsParametricForm)
{
    add(KindPolar, "2", "2", "0", "2" + kPi);
    const Canvas polar = draw();
    doc.itemCount = 0;
    add(KindParametric, "(2)*cos(t)", "(2)*sin(t)", "0", "2" + kPi);
    EXPECT_TRUE(polar.image() == draw().image());
    EXPECT_TRUE(nearWorld(polar, view(), 0, 2));
}

TEST_F(Parametric, EnormousParameterRangesEndInBoundedTime)
{
    add(KindParametric, "0", "0", "0", "1000000000000");
    add(KindParametric, "sin(t)", "cos(t)", "-100000000000000000000", "100000000000000000000", kOther);
    EXPECT_EQ(draw().pixel(320, 320), kCurve);
}

} // namespace gq
