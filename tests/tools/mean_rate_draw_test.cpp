// The pictures of the mean-rate demonstration, read back pixel by pixel: the
// violet secant, orange A and rose B, and where their labels go.
#include "tangent_test_util.h"
#include "tools/derivative_colours.h"
#include "tools/mean_rate_draw.h"

namespace gq
{

class MeanRateDrawTest : public CalculusToolTest
{
  protected:
    void openWith(const std::string &a, const std::string &b)
    {
        setFunction("x^2");
        ASSERT_TRUE(rate.open(doc, v));
        ASSERT_TRUE(rate.enterPoint(MeanRatePoint::A, a));
        ASSERT_TRUE(rate.enterPoint(MeanRatePoint::B, b));
        composeSecantFrame(rate, graph, work, v);
    }
    // Pixels of the colour in the label box left of a point's dot (a label
    // centred above reaches there, one to the upper right does not).
    int leftOfDot(long double x, long double y, uint32_t colour) const
    {
        const int px = v.xToPixel(x), py = v.yToPixel(y);
        return countColour(work, colour, px - 8, py - 15, px - 3, py - 3);
    }
    int rightOfDot(long double x, long double y, uint32_t colour) const
    {
        const int px = v.xToPixel(x), py = v.yToPixel(y);
        return countColour(work, colour, px + 3, py - 15, px + 15, py - 3);
    }

    GraphView v = view(-5, 5, -5, 5);
    MeanRate rate;
    Canvas graph{640, 640};
    Canvas work{640, 640};
};

TEST_F(MeanRateDrawTest, SecantIsVioletThroughOrangeAAndRoseB)
{
    openWith("-1", "2"); // the secant y = x + 2
    EXPECT_EQ(work.pixel(v.xToPixel(-1), v.yToPixel(1)), kPointAColour);
    EXPECT_EQ(work.pixel(v.xToPixel(2), v.yToPixel(4)), kPointBColour);
    for (long double x : {-4.5L, -3.0L, 0.0L, 1.0L, 2.5L})
        EXPECT_TRUE(nearWorldPoint(work, v, x, x + 2, kSecantColour)) << static_cast<double>(x);
    // Cut to the frame: from (-5, -3) to (3, 5), nothing to the right of it.
    EXPECT_EQ(countColour(work, kSecantColour, v.xToPixel(3.05L), 0, 639, 639), 0);
    // B is on the right: its label to the upper right, A's centred above.
    EXPECT_GT(rightOfDot(2, 4, kPointBColour), 0);
    EXPECT_EQ(leftOfDot(2, 4, kPointBColour), 0);
    EXPECT_GT(leftOfDot(-1, 1, kPointAColour), 0);
    EXPECT_EQ(rightOfDot(-1, 1, kPointAColour), 0);
}

TEST_F(MeanRateDrawTest, WhenBIsNotRightOfAItIsAWhoseLabelGoesRight)
{
    openWith("2", "-1");
    EXPECT_GT(rightOfDot(2, 4, kPointAColour), 0);
    EXPECT_GT(leftOfDot(-1, 1, kPointBColour), 0);
    EXPECT_EQ(rightOfDot(-1, 1, kPointBColour), 0);
}

TEST_F(MeanRateDrawTest, CoincidingPointsHaveNoSecant)
{
    openWith("1", "1");
    EXPECT_EQ(countColour(work, kSecantColour, 0, 0, 639, 639), 0);
    EXPECT_EQ(work.pixel(v.xToPixel(1), v.yToPixel(1)), kPointBColour);
}

TEST_F(MeanRateDrawTest, AskedPointsAreMarkedWithTheirLabelsToTheUpperRight)
{
    openWith("-1", "2");
    Canvas marks(640, 640);
    drawPointMark(marks, v, rate, MeanRatePoint::A);
    work = marks;
    EXPECT_EQ(work.pixel(v.xToPixel(-1), v.yToPixel(1)), kPointAColour);
    EXPECT_GT(rightOfDot(-1, 1, kPointAColour), 0);
    EXPECT_EQ(countColour(work, kPointBColour, 0, 0, 639, 639), 0);
    drawPointMark(marks, v, rate, MeanRatePoint::B);
    EXPECT_EQ(marks.pixel(v.xToPixel(2), v.yToPixel(4)), kPointBColour);
}

} // namespace gq
