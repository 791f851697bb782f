// The interval: stepping its bounds, the maximum and minimum scan, and the
// band and marks on the picture.
#include "tools/interval_overlay.h"
#include "tools/tools_test_util.h"

namespace gq
{

namespace
{

IntervalState interval(long double a, long double b, bool showMaxMin = true)
{
    IntervalState s;
    s.active = true;
    s.showMaxMin = showMaxMin;
    s.lower = a;
    s.upper = b;
    return s;
}

// The scan of a formula in the default frame on a canvas of the given size.
Extrema scan(const std::string &f, long double a, long double b, int size = 640, CoordFrame frame = {})
{
    return scanExtrema(f, a, b, GraphView(frame, size));
}

} // namespace

TEST(IntervalSteps, EachButtonMovesItsBoundsAndShrinkingStopsOnceTheBoundsCross)
{
    IntervalState s = interval(0.95L, 1.00L);
    const long double h = kIntervalSteps[2];
    EXPECT_TRUE(adjustInterval(s, IntervalAdjust::LowerPlus, h));
    EXPECT_EQ(s.lower, 0.95L + 0.1L) << "a < b before the step: it goes past b";
    EXPECT_EQ(formatFixed(s.lower, "0.00"), "1.05");
    EXPECT_FALSE(adjustInterval(s, IntervalAdjust::LowerPlus, h));
    EXPECT_FALSE(adjustInterval(s, IntervalAdjust::UpperMinus, h));
    EXPECT_EQ(s.lower, 0.95L + 0.1L);
    EXPECT_EQ(s.upper, 1.00L);

    s = interval(0, 1);
    adjustInterval(s, IntervalAdjust::LowerMinus, 1);
    adjustInterval(s, IntervalAdjust::UpperPlus, 10);
    EXPECT_EQ(s.lower, -1);
    EXPECT_EQ(s.upper, 11);
    adjustInterval(s, IntervalAdjust::UpperMinus, 0.5L);
    EXPECT_EQ(s.upper, 10.5L);
    adjustInterval(s, IntervalAdjust::Left, 0.05L);
    EXPECT_EQ(s.lower, -1.05L);
    EXPECT_EQ(s.upper, 10.5L - 0.05L);
    adjustInterval(s, IntervalAdjust::Right, 0.01L);
    EXPECT_EQ(s.lower, -1.05L + 0.01L);

    // Twenty ticks (one second of holding) move a bound twenty steps.
    s = interval(0, 5);
    for (int i = 0; i < 20; ++i)
        adjustInterval(s, IntervalAdjust::LowerMinus, kIntervalSteps[1]);
    EXPECT_EQ(s.lower, -20);
}

TEST(ExtremaScan, ParabolaMarksTheHigherEndAndTheVertexAsTwoSamplesAtTheLowestHeight)
{
    // 641 columns: the samples miss x = 0 by half a column on each side.
    const GraphView view(CoordFrame{}, 641);
    const Extrema e = scanExtrema("x^2", -1, 2, view);
    ASSERT_EQ(e.outcome, ScanOutcome::Marked);
    ASSERT_EQ(e.maxima.size(), 1u);
    EXPECT_EQ(e.maxima[0], (ExtremumPoint{2, 4}));
    ASSERT_EQ(e.minima.size(), 2u);
    const long double h = view.xPerPixel();
    EXPECT_LT(e.minima[0].x, 0);
    EXPECT_GT(e.minima[1].x, 0);
    EXPECT_NEAR(e.minima[1].x - e.minima[0].x, h, 1e-12);
    EXPECT_NEAR(e.minima[0].x, -h / 2, 1e-12);
    // The second is a tie where the slope changes sign, drawn at the running
    // minimum: the height of the lowest sample.
    EXPECT_EQ(e.minima[0].y, e.minima[1].y);
    EXPECT_EQ(e.minima[0].y, e.minima[0].x * e.minima[0].x);
}

TEST(ExtremaScan, SamplesLieOnTheFramesPixelColumnsAndEndAtB)
{
    // On 640 columns x = 0 is a column: its slope is 0, so the columns on
    // both sides of it are ties as well.
    const Extrema e = scan("x^2", -1, 2);
    ASSERT_EQ(e.minima.size(), 3u);
    EXPECT_EQ(e.minima[0].x, -0.015625L);
    EXPECT_EQ(e.minima[1].x, 0);
    EXPECT_EQ(e.minima[2].x, 0.015625L);

    // b between two columns is still the last sample: a rising line has its
    // maximum exactly there.
    const Extrema line = scan("x", -1, 0.99L);
    ASSERT_EQ(line.maxima.size(), 1u);
    EXPECT_EQ(line.maxima[0], (ExtremumPoint{0.99L, 0.99L}));
    ASSERT_EQ(line.minima.size(), 1u);
    EXPECT_EQ(line.minima[0], (ExtremumPoint{-1, -1}));
}

TEST(ExtremaScan, AConstantFunctionPutsEverySampleOnBothLists)
{
    const Extrema e = scan("2", -1, 1);
    ASSERT_EQ(e.outcome, ScanOutcome::Marked);
    // Both ends agree: a and b on both lists, then the 128 columns up to b.
    ASSERT_EQ(e.maxima.size(), 2u + 128u);
    ASSERT_EQ(e.minima.size(), 2u + 128u);
    EXPECT_EQ(e.maxima[0], (ExtremumPoint{-1, 2}));
    EXPECT_EQ(e.maxima[1], (ExtremumPoint{1, 2}));
    EXPECT_EQ(e.minima[0], (ExtremumPoint{1, 2}));
    EXPECT_EQ(e.minima[1], (ExtremumPoint{-1, 2}));
    EXPECT_EQ(e.maxima.back(), (ExtremumPoint{1, 2}));
}

TEST(ExtremaScan, AnUndefinedPointMarksNothing)
{
    // 1/x: the column at 0 is a sample.
    EXPECT_EQ(scan("1/x", -1, 1).outcome, ScanOutcome::Undefined);
    EXPECT_EQ(scan("sqrt(x)", -1, 1).outcome, ScanOutcome::Undefined) << "undefined at an end";
    // Samples that miss 0 find 1/x defined everywhere.
    const Extrema missed = scan("1/x", -1, 1, 641);
    EXPECT_EQ(missed.outcome, ScanOutcome::Marked);
    // A derivative undefined at a sample does not stop the scan: sqrt on
    // [0, 1] has no slope at 0 and is marked.
    const Extrema root = scan("sqrt(x)", 0, 1);
    ASSERT_EQ(root.outcome, ScanOutcome::Marked);
    EXPECT_EQ(root.maxima, (std::vector<ExtremumPoint>{{1, 1}}));
    EXPECT_EQ(root.minima, (std::vector<ExtremumPoint>{{0, 0}}));
}

TEST(ExtremaScan, APointOffTheGraphIsNotMarked)
{
    // x^2 on [-1, 3]: the maximum 9 lies above ymax = 5.
    const Extrema e = scan("x^2", -1, 3);
    EXPECT_TRUE(e.maxima.empty());
    EXPECT_FALSE(e.minima.empty());
    const Extrema low = scan("-x^2", -1, 3);
    EXPECT_FALSE(low.maxima.empty());
    EXPECT_TRUE(low.minima.empty());
}

TEST(ExtremaScan, AHigherSampleDiscardsEarlierPeaksAndAReversedIntervalMarksOnlyItsEnds)
{
    // cos on [-2π-1, 2π+1]: peaks at -2π, 0, 2π. The scan keeps a peak only
    // while no later sample rises above the best sample of the earlier one.
    const Extrema e = scan("cos(x)", -7.3L, 7.3L, 640, CoordFrame{-10, 10, -5, 5});
    ASSERT_EQ(e.outcome, ScanOutcome::Marked);
    ASSERT_FALSE(e.maxima.empty());
    for (const ExtremumPoint &p : e.maxima)
        EXPECT_NEAR(std::cos(static_cast<double>(p.x)), 1.0, 1e-3) << p.x;

    const Extrema reversed = scan("x^2", 2, -1);
    EXPECT_EQ(reversed.maxima, (std::vector<ExtremumPoint>{{2, 4}}));
    EXPECT_EQ(reversed.minima, (std::vector<ExtremumPoint>{{-1, 1}}));
}

TEST(ExtremaScan, AnIntervalFarWiderThanTheFrameEndsWithoutScanning)
{
    EXPECT_EQ(scan("x", -1, 1e9L).outcome, ScanOutcome::TooWide);
    // Far to the right of the frame the walk to a is short-cut, not stepped.
    const Extrema far = scan("x", 1e7L, 1e7L + 1);
    ASSERT_EQ(far.outcome, ScanOutcome::Marked);
    EXPECT_TRUE(far.maxima.empty()) << "both ends lie above ymax";
}

class IntervalOverlayTest : public ToolsTest
{
};

TEST_F(IntervalOverlayTest, TheBandIsHatchedInYellowOverTheGraphAndTheGraphIsKept)
{
    function("x/4");
    const Canvas before = graph();
    const Canvas band = drawIntervalBand(graph(), view(), -1, 2);
    const int left = view().xToPixel(-1), right = view().xToPixel(2);
    // Inside the band: yellow hatch lines, and the curve and axes still shown.
    EXPECT_GT(countColour(band, kBandColour, left + 1, 10, right - 2, 100), 200);
    EXPECT_TRUE(colourNear(band, view().xToPixel(1), view().yToPixel(0.25L), kCurveColour));
    // Outside it: no yellow at all, the graph unchanged.
    EXPECT_EQ(countColour(band, kBandColour, 0, 0, left - 1, 639), 0);
    EXPECT_EQ(countColour(band, kBandColour, right + 1, 0, 639, 639), 0);
    for (int x : {left - 20, right + 20})
        for (int y = 0; y < 640; y += 7)
            EXPECT_EQ(band.pixel(x, y), before.pixel(x, y));
    // The stored graph itself has no yellow.
    EXPECT_EQ(countColour(graph(), kBandColour, 0, 0, 639, 639), 0);
    // Hatch lines ANDed with the blue axis darken it, never hide it.
    const int axisRow = view().yToPixel(0);
    EXPECT_NE(band.pixel(left + 5, axisRow), kWhite);
}

TEST_F(IntervalOverlayTest, MaximaAreRedDotsWithBlueLinesAndMinimaBlueDotsWithRedLines)
{
    function("x^2");
    IntervalState s = interval(-1, 2);
    Extrema marks;
    const Canvas picture = drawIntervalOverlay(graph(), view(), doc, s, &marks);
    ASSERT_EQ(marks.outcome, ScanOutcome::Marked);
    // (2, 4): red dot, blue line along its row to the y axis.
    const int px = view().xToPixel(2), py = view().yToPixel(4), axis = view().xToPixel(0);
    EXPECT_EQ(picture.pixel(px, py), kRed);
    EXPECT_EQ(picture.pixel(px - 1, py - 1), kRed);
    EXPECT_EQ(picture.pixel((px + axis) / 2, py), kBlue);
    EXPECT_EQ(picture.pixel(axis + 3, py), kBlue);
    EXPECT_NE(picture.pixel(axis - 5, py), kBlue) << "the line ends at the axis";
    // The vertex: blue dots (drawn last) with a red line to the axis; the
    // line of the dots right of the axis runs back over them.
    const int vy = view().yToPixel(0);
    EXPECT_TRUE(colourNear(picture, axis, vy, kBlue));
    EXPECT_EQ(picture.pixel(view().xToPixel(-0.015625L) - 2, vy), kBlue);
    // No mark where there is none.
    EXPECT_EQ(countColour(picture, kRed, 0, 0, 639, view().yToPixel(4.5L)), 0);
    EXPECT_EQ(countColour(picture, kBlue, 0, view().yToPixel(3.5L), 639, vy - 4), 0);
}

TEST_F(IntervalOverlayTest, MarksOnlyForOneExplicitFunctionAndOnlyWhenAskedFor)
{
    function("x^2");
    IntervalState off = interval(-1, 2, false);
    const Canvas plain = drawIntervalOverlay(graph(), view(), doc, off);
    EXPECT_EQ(countColour(plain, kRed, 0, 0, 639, 639), 0);

    IntervalState on = interval(-1, 2);
    doc.items[2] = doc.items[1];
    doc.itemCount = 2;
    EXPECT_FALSE(marksMaxMin(doc, on));
    doc.itemCount = 1;
    doc.items[1].kind = KindImplicit;
    EXPECT_FALSE(marksMaxMin(doc, on));
    doc.items[1].kind = KindExplicit;
    EXPECT_TRUE(marksMaxMin(doc, on));

    // 1/x with a sample at 0: the band without marks.
    function("1/x");
    Extrema marks;
    const Canvas band = drawIntervalOverlay(graph(), view(), doc, interval(-1, 1), &marks);
    EXPECT_EQ(marks.outcome, ScanOutcome::Undefined);
    EXPECT_GT(countColour(band, kBandColour, 0, 0, 639, 639), 0);
    EXPECT_EQ(countColour(band, kRed, 0, 0, 639, 639), 0);
    EXPECT_EQ(countColour(band, kBlue, 0, 0, 639, 639), 0);
}

TEST_F(IntervalOverlayTest, AConstantFunctionShowsARowOfBlueDotsAcrossTheBand)
{
    function("2");
    const Canvas picture = drawIntervalOverlay(graph(), view(), doc, interval(-1, 1));
    // The dots (rows py-2..py+1) touch one another; the lines to the axis run
    // along row py itself.
    const int py = view().yToPixel(2);
    const int left = view().xToPixel(-1) - 2, right = view().xToPixel(1) + 1;
    EXPECT_EQ(countColour(picture, kBlue, left, py - 1, right, py - 1), right - left + 1);
    for (int row : {py - 2, py - 1, py + 1})
        EXPECT_EQ(countColour(picture, kRed, 0, row, 639, row), 0) << "blue is drawn over red, row " << row;
}

} // namespace gq
