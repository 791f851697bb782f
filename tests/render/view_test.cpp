#include "render_test_util.h"

#include <cmath>
#include <limits>

TEST(Mapping, DefaultFrameMapsUnitsToSixtyFourPixels)
{
    const GraphView v;
    EXPECT_EQ(v.GraphSize(), 640);
    EXPECT_EQ(v.XPerPixel(), 1.0L / 64);
    EXPECT_EQ(v.XToPixel(-5), 0);
    EXPECT_EQ(v.XToPixel(0), 320);
    EXPECT_EQ(v.XToPixel(5), 640);
    EXPECT_EQ(v.YToPixel(5), 0);
    EXPECT_EQ(v.YToPixel(1), 256);
    EXPECT_EQ(v.YToPixel(-5), 640);
}

TEST(Mapping, HalfPixelsRoundToEven)
{
    const GraphView v;
    EXPECT_EQ(v.XToPixel(-5 + 0.5L / 64), 0);
    EXPECT_EQ(v.XToPixel(-5 + 1.5L / 64), 2);
    EXPECT_EQ(v.XToPixel(-5 + 2.5L / 64), 2);
    EXPECT_EQ(v.YToPixel(5 - 3.5L / 64), 4);
}

TEST(Mapping, FarCoordinatesAreClampedAHundredPixelsOut)
{
    const GraphView v;
    const long double p = v.XPerPixel();
    EXPECT_EQ(v.XToPixel(5 + 100.5L * p), 740);
    EXPECT_EQ(v.XToPixel(5 + 99 * p), 739);
    EXPECT_EQ(v.XToPixel(-1e4000L), -100);
    EXPECT_EQ(v.XToPixel(std::numeric_limits<long double>::infinity()), 740);
    EXPECT_EQ(v.YToPixel(1e30L), -100);
    EXPECT_EQ(v.YToPixel(-BigValue), 740);
    EXPECT_EQ(v.XToPixel(std::nanl("")), -100);
    EXPECT_EQ(v.YToPixel(std::nanl("")), -100);
}

TEST(Mapping, PixelSizeUsesTheSinglePrecisionSpan)
{
    CoordFrameRecord f;
    f.xmin = 0;
    f.xmax = 0.1L; // 0.1 is not exact in single precision
    const GraphView v(f, 500);
    EXPECT_EQ(v.XPerPixel(), static_cast<long double>(0.1f) / 500);
    EXPECT_NE(v.XPerPixel(), 0.1L / 500);
    EXPECT_EQ(v.PixelToX(250), 250 * v.XPerPixel());
    EXPECT_EQ(v.PixelToY(0), 5);
}

TEST(Mapping, FrameEdgesAreInside)
{
    const GraphView v;
    EXPECT_TRUE(v.isInFrame(-5, 5));
    EXPECT_TRUE(v.isInFrame(5, -5));
    EXPECT_FALSE(v.isInFrame(5.0001L, 0));
    EXPECT_FALSE(v.isInFrame(0, -5.0001L));
    EXPECT_FALSE(v.isInFrame(std::nanl(""), 0));
}

TEST(Mapping, PublishWritesTheEvaluatorsPixelSize)
{
    CoordFrameRecord f;
    f.xmax = 15;
    const GraphView v(f, 800);
    v.publish();
    EXPECT_EQ(XPerPixel, 20.0L / 800);
}

TEST(Ticks, SpacingFollowsTheSpanTable)
{
    const std::pair<float, int> rows[] = {
        {0.03f, 200000}, {0.04f, 1},    {0.15f, 1},    {0.16f, 2},      {0.5f, 4},           {0.7f, 5},
        {1, 10},         {2, 20},       {4, 40},       {6, 50},         {10, 100},           {20, 200},
        {50, 500},       {100, 1000},   {200, 2000},   {300, 2500},     {500, 5000},         {1000, 10000},
        {2000, 20000},   {3000, 25000}, {5000, 50000}, {10000, 100000}, {10000.01f, 200000}, {20000, 200000},
    };
    for (const auto &[span, step] : rows)
        EXPECT_EQ(tickStep(span), step) << span;
    EXPECT_EQ(tickStep(std::nanf("")), 200000);
}

TEST(Ticks, LabelFormatFollowsTheSpacing)
{
    EXPECT_EQ(tickLabelFormat(1), "0.00");
    EXPECT_EQ(tickLabelFormat(5), "0.00");
    EXPECT_EQ(tickLabelFormat(10), "0.0");
    EXPECT_EQ(tickLabelFormat(50), "0.0");
    EXPECT_EQ(tickLabelFormat(100), "0");
    EXPECT_EQ(tickLabelFormat(2500), "0");
}

TEST(Ticks, FixedPatterns)
{
    EXPECT_EQ(FormatFixed(0.3L, "0.0"), "0.3");
    EXPECT_EQ(FormatFixed(3 * 0.1L, "0.00"), "0.30");
    EXPECT_EQ(FormatFixed(-4, "0"), "-4");
    EXPECT_EQ(FormatFixed(-0.001L, "0.00"), "0.00");
    EXPECT_EQ(FormatFixed(1250, "0"), "1250");
}

TEST(LinePoints, PointsOnTheLineThroughTwoPoints)
{
    EXPECT_EQ(lineYAtX(2, 0, 1, 1, 3), 5);
    EXPECT_EQ(lineXAtY(5, 0, 1, 1, 3), 2);
    EXPECT_FALSE(std::isfinite(lineYAtX(2, 1, 0, 1, 3)));
}
