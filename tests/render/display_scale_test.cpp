// How the graph is drawn for a projector and for a screen of higher density:
// larger tick labels that still keep off the axes, and pictures with twice
// the pixels whose curves follow the world at that resolution.
#include "render_test_util.h"

namespace gq
{

namespace
{
// The rows y0..y1 that hold some pixel of the colour in columns x0..x1, as
// first and last row (first > last when none does).
std::pair<int, int> inkedRows(const Canvas &c, uint32_t colour, int x0, int x1, int y0, int y1)
{
    int first = y1 + 1, last = y0 - 1;
    for (int y = y0; y <= y1; ++y)
        if (countColour(c, colour, x0, y, x1, y) > 0) {
            first = std::min(first, y);
            last = y;
        }
    return {first, last};
}
} // namespace

class DisplayScale : public RenderTest
{
  protected:
    const Canvas &drawAt(int size, double pixelScale, TextSize labels = TextSize::Standard)
    {
        renderer = std::make_unique<GraphRenderer>(size, pixelScale);
        renderer->options.tickLabels = labels;
        renderer->redrawGraph(doc);
        return renderer->graphImage();
    }
    // Height in rows of the label "1" under the x axis of the default frame.
    int labelOneHeight(const Canvas &c)
    {
        const int axis = view().yToPixel(0), tick = view().xToPixel(1);
        const auto [first, last] =
            inkedRows(c, kBlack, tick - c.width() / 32, tick + c.width() / 32, axis + 1, axis + 60);
        return last - first + 1;
    }
};

TEST_F(DisplayScale, LargerTickLabelsGrowByTheirFactorAndKeepOffTheAxesAndTicks)
{
    struct Frame {
        CoordFrame frame;
        const char *where;
    };
    // Default; x axis in the lower half (labels above it); y axis in the right
    // half (labels to its left).
    const Frame frames[] = {
        {{}, "default"}, {{-5, 5, -1, 9}, "x axis low"}, {{-9, 1, -5, 5}, "y axis right"}};
    for (const Frame &f : frames) {
        doc.frame = f.frame;
        for (TextSize size : {TextSize::Standard, TextSize::Large, TextSize::ExtraLarge}) {
            SCOPED_TRACE(testing::Message() << f.where << ", " << textSizeName(size));
            const Canvas &c = drawAt(640, 1, size);
            const int ax = view().xToPixel(f.frame.xmin > 0 ? f.frame.xmin : std::min(f.frame.xmax, 0.0L));
            const int ay = view().yToPixel(f.frame.ymin > 0 ? f.frame.ymin : std::min(f.frame.ymax, 0.0L));
            EXPECT_GT(countColour(c, kBlack), 50);
            // The axes and their tick marks (one pixel before, two after) stay clear.
            EXPECT_EQ(countColour(c, kBlack, 0, ay - 1, 639, ay + 2), 0);
            EXPECT_EQ(countColour(c, kBlack, ax - 1, 0, ax + 2, 639), 0);
        }
    }
    doc.frame = {};
    const int standard = labelOneHeight(drawAt(640, 1, TextSize::Standard));
    EXPECT_GE(standard, 7);
    EXPECT_NEAR(labelOneHeight(drawAt(640, 1, TextSize::Large)), 1.5 * standard, 2);
    EXPECT_NEAR(labelOneHeight(drawAt(640, 1, TextSize::ExtraLarge)), 2.0 * standard, 2);
}

TEST_F(DisplayScale, AtTwiceTheDensityTheMappingCoversEveryPixelAndPensAreTwiceAsWide)
{
    add(KindExplicit, "x/3", "", "", "", kCurve, 1, 1);
    const Canvas &c = drawAt(1280, 2);
    ASSERT_EQ(c.width(), 1280);
    EXPECT_EQ(view().graphSize(), 1280);
    EXPECT_EQ(view().xPerPixel(), 10.0L / 1280);
    // The axes are two pixels wide, their ticks run from two pixels before to
    // four after.
    EXPECT_EQ(c.pixel(100, 640), kAxisColour);
    EXPECT_EQ(c.pixel(100, 641), kAxisColour);
    EXPECT_EQ(c.pixel(100, 642), kWhite);
    EXPECT_EQ(c.pixel(768, 638), kAxisColour);
    EXPECT_EQ(c.pixel(768, 644), kAxisColour);
    EXPECT_EQ(c.pixel(768, 646), kWhite);
    // The curve passes through the pixels of its world points, two pixels
    // thick, and it steps by single pixels: drawn at this density, not a
    // picture of half the size enlarged (whose rows would all come in pairs).
    bool oddTop = false;
    for (int x = 100; x < 1180; x += 7) {
        const long double wx = view().pixelToX(x);
        ASSERT_TRUE(nearWorld(c, view(), wx, wx / 3, kCurve, 1)) << x;
        const auto [first, last] = inkedRows(c, kCurve, x, x, 0, 1279);
        EXPECT_GE(last - first + 1, 2) << x;
        EXPECT_LE(last - first + 1, 3) << x;
        oddTop |= first % 2 == 1;
    }
    EXPECT_TRUE(oddTop);
    // Tick labels are twice as tall as at the same text size on a plain screen.
    const int dense = labelOneHeight(c);
    EXPECT_NEAR(dense, 2 * labelOneHeight(drawAt(640, 1)), 2);
}

TEST_F(DisplayScale, PointMarksAndLabelledPointsGrowWithTheDensity)
{
    add(KindPoint, "1", "2");
    const Canvas &c = drawAt(1280, 2);
    // (1, 2) is pixel (768, 384); the mark covers 764..771 without its corners.
    EXPECT_EQ(c.pixel(768, 384), kCurve);
    EXPECT_EQ(c.pixel(764, 384), kCurve);
    EXPECT_EQ(c.pixel(771, 384), kCurve);
    EXPECT_EQ(c.pixel(763, 384), kWhite);
    EXPECT_EQ(c.pixel(764, 380), kWhite);
    EXPECT_GT(countColour(c, kCurve, 760, 376, 776, 392), 40);

    Canvas dense(400, 400, 2);
    const GraphView v(CoordFrame{}, 400);
    drawLabeledPoint(dense, v, 1, kOther, 0, 0, QStringLiteral("P"));
    // The dot is 8 pixels across; the label's glyphs lie in the 32-pixel box
    // to the upper right, and nowhere else.
    EXPECT_EQ(dense.pixel(196, 200), kOther);
    EXPECT_EQ(dense.pixel(203, 200), kOther);
    const int glyphs = countColour(dense, kOther, 200, 170, 231, 196);
    EXPECT_GT(glyphs, 30);
    EXPECT_EQ(countColour(dense, kOther), countColour(dense, kOther, 196, 170, 231, 203));
}

} // namespace gq
