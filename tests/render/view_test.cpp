#include "render_test_util.h"

#include <cmath>

namespace gq
{

TEST(Mapping, DefaultFrameRoundsHalvesToEvenAndClampsFarPointsAHundredPixelsOut)
{
    const GraphView v;
    const long double p = 1.0L / 64, nan = std::nanl("");
    EXPECT_EQ(v.graphSize(), 640);
    EXPECT_EQ(v.xPerPixel(), p);
    const std::pair<long double, int> xs[] = {{-5, 0},
                                              {0, 320},
                                              {5, 640},
                                              {-5 + 0.5L * p, 0},
                                              {-5 + 1.5L * p, 2},
                                              {-5 + 2.5L * p, 2},
                                              {5 + 99 * p, 739},
                                              {5 + 100.5L * p, 740},
                                              {-1e4000L, -100},
                                              {INFINITY, 740},
                                              {nan, -100}};
    for (const auto &[x, px] : xs)
        EXPECT_EQ(v.xToPixel(x), px) << static_cast<double>(x);
    const std::pair<long double, int> ys[] = {{5, 0},        {1, 256},          {-5, 640},  {5 - 3.5L * p, 4},
                                              {1e30L, -100}, {-kBigValue, 740}, {nan, -100}};
    for (const auto &[y, px] : ys)
        EXPECT_EQ(v.yToPixel(y), px) << static_cast<double>(y);
}

TEST(Mapping, DegenerateFramesStayNearTheCanvasAndPixelSizeUsesTheSinglePrecisionSpan)
{
    const GraphView v(CoordFrame{1, 1, 2, 2}, 300);
    for (long double x : {0.0L, 1.0L, 2.0L})
        for (int px : {v.xToPixel(x), v.yToPixel(x)}) {
            EXPECT_GE(px, -101);
            EXPECT_LE(px, 401);
        }
    const GraphView w(CoordFrame{0, 0.1L, -5, 5}, 500); // 0.1 is not exact in single precision
    EXPECT_EQ(w.xPerPixel(), static_cast<long double>(0.1f) / 500);
    EXPECT_NE(w.xPerPixel(), 0.1L / 500);
    EXPECT_EQ(w.pixelToX(250), 250 * w.xPerPixel());
    EXPECT_EQ(w.pixelToY(0), 5);
}

TEST(Ticks, SpacingAndLabelFormatFollowTheSpanAndLabelsRound)
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
    const std::pair<int, const char *> formats[] = {{1, "0.00"}, {5, "0.00"}, {10, "0.0"},
                                                    {50, "0.0"}, {100, "0"},  {2500, "0"}};
    for (const auto &[step, format] : formats)
        EXPECT_EQ(tickLabelFormat(step), format) << step;
    // Labels and read-outs written with a fixed pattern: rounded, never
    // "-0", and whole however many digits the value has.
    const std::pair<long double, const char *> fixed[] = {
        {0.3L, "0.0"}, {3 * 0.1L, "0.00"}, {-4, "0"}, {-0.001L, "0.00"}, {1250, "0"}};
    const char *const written[] = {"0.3", "0.30", "-4", "0.00", "1250"};
    for (std::size_t i = 0; i < std::size(fixed); ++i)
        EXPECT_EQ(formatFixed(fixed[i].first, fixed[i].second), written[i]);
    const std::string e150 = formatFixed(std::exp(150.0L), "0.00000");
    EXPECT_EQ(e150.size(), 66u + 6u) << "66 digits, the point and five decimals";
    EXPECT_EQ(e150.substr(0, 8), "13937095");
    EXPECT_EQ(formatFixed(-1e300L, "0.0000").size(), 1u + 301u + 5u);
}

} // namespace gq
