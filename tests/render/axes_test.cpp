#include "render_test_util.h"

namespace gq
{

using Axes = RenderTest;

TEST_F(Axes, DefaultFrameDrawsBothAxesWithThreePixelTicksAtEveryUnit)
{
    const Canvas &c = draw();
    for (int i = 0; i < 640; ++i) {
        ASSERT_EQ(c.pixel(i, 320), kAxisColour) << i;
        ASSERT_EQ(c.pixel(320, std::max(i, 1)), kAxisColour) << i;
    }
    for (int i : {-4, -3, -2, -1, 1, 2, 3, 4}) {
        const int p = 320 + 64 * i;
        for (int d : {-1, 1}) {
            EXPECT_EQ(c.pixel(p, 320 + d), kAxisColour) << i;
            EXPECT_EQ(c.pixel(320 + d, p), kAxisColour) << i;
            EXPECT_NE(c.pixel(p, 320 + 2 * d), kAxisColour) << i;
        }
        EXPECT_NE(c.pixel(322, p), kAxisColour) << i;
    }
    EXPECT_EQ(c.pixel(350, 319), kWhite); // between ticks
}

TEST_F(Axes, LabelsSitOnTheSideOfEachAxisAwayFromTheNearEdge)
{
    // Boxes x0, y0, x1, y1 that must hold label pixels, and boxes that must hold none.
    auto check = [&](CoordFrame frame, std::vector<int> inked, std::vector<int> blank) {
        SCOPED_TRACE(testing::Message() << "frame from " << static_cast<double>(frame.xmin) << ", "
                                        << static_cast<double>(frame.ymin));
        doc.frame = frame;
        const Canvas &c = draw();
        for (size_t i = 0; i + 3 < inked.size(); i += 4)
            EXPECT_GT(countColour(c, kBlack, inked[i], inked[i + 1], inked[i + 2], inked[i + 3]), 3) << i / 4;
        for (size_t i = 0; i + 3 < blank.size(); i += 4)
            EXPECT_EQ(countColour(c, kBlack, blank[i], blank[i + 1], blank[i + 2], blank[i + 3]), 0) << i / 4;
    };
    // "1" at (379, 323), "-3" at (123, 323), "0" at (322, 323), y = 2 at (323, 188); none above or left.
    check({}, {379, 323, 392, 336, 123, 323, 142, 336, 322, 323, 332, 336, 323, 188, 334, 201},
          {0, 300, 639, 319, 0, 0, 319, 319});
    check({-5, 5, -1, 9}, {379, 563, 392, 575}, {340, 577, 639, 639}); // x axis low: labels above it
    check({-9, 1, -5, 5}, {560, 188, 575, 201}, {577, 0, 639, 310});   // y axis right: labels left of it
    doc.frame = {};
    doc.showScale = 0;
    const Canvas &c = draw();
    EXPECT_EQ(countColour(c, kBlack), 0);
    EXPECT_EQ(c.pixel(384, 321), kAxisColour); // the ticks stay
}

TEST_F(Axes, GridReplacesTickMarksWithDottedLines)
{
    doc.showGrid = 1;
    const Canvas &c = draw();
    const int grid = countColour(c, kAxisColour, 384, 0, 384, 639);
    EXPECT_GT(grid, 250);
    EXPECT_LT(grid, 400);
    EXPECT_GT(countColour(c, kAxisColour, 0, 128, 639, 128), 250);
    EXPECT_EQ(c.pixel(383, 319), kWhite);
    EXPECT_EQ(c.pixel(385, 321), kWhite);
    EXPECT_EQ(countColour(c, kAxisColour, 0, 320, 639, 320), 640);
}

TEST_F(Axes, AxisOutsideTheWindowPutsTicksAlongTheNearestEdge)
{
    doc.frame.xmin = 0.5L;
    doc.frame.xmax = 1.5L;
    const Canvas &c = draw();
    // No y axis; its ticks run along the left edge (columns -1..1).
    EXPECT_EQ(c.pixel(0, 64), kAxisColour);
    EXPECT_EQ(c.pixel(1, 64), kAxisColour);
    EXPECT_EQ(c.pixel(2, 64), kWhite);
    EXPECT_EQ(countColour(c, kAxisColour, 200, 0, 200, 639), 1); // only the x axis crosses
    // x ticks every 0.1 (0.6 at column 64), labelled "0.6": wider than "1".
    EXPECT_EQ(c.pixel(64, 321), kAxisColour);
    EXPECT_GT(countColour(c, kBlack, 59, 323, 80, 336), 5);
}

TEST_F(Axes, RedrawRecomputesTheMappingReportsTheRangeAndPresents)
{
    int calls = 0;
    const Canvas *presented = nullptr;
    doc.frame.xmax = 15;
    renderer = std::make_unique<GraphRenderer>(500);
    renderer->hooks.updateRangeStatus = [&] { ++calls; };
    renderer->hooks.present = [&](const Canvas &c) { presented = &c; };
    renderer->redrawGraph(doc);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(presented, &renderer->graphImage());
    EXPECT_EQ(renderer->view().xPerPixel(), 20.0L / 500);
    EXPECT_EQ(renderer->view().xToPixel(15), 500);
    // Overlay mode keeps the picture; an active interval hook takes over from present.
    renderer->graphImage().setPixel(5, 5, kOther);
    doc.overlayMode = 1;
    presented = nullptr;
    bool overlaid = false;
    renderer->hooks.intervalActive = [] { return true; };
    renderer->hooks.drawIntervalOverlay = [&](const Canvas &) { overlaid = true; };
    renderer->redrawGraph(doc);
    EXPECT_EQ(renderer->graphImage().pixel(5, 5), kOther);
    EXPECT_TRUE(overlaid);
    EXPECT_EQ(presented, nullptr);
    doc.overlayMode = 0;
    renderer->redrawGraph(doc);
    EXPECT_EQ(renderer->graphImage().pixel(5, 5), kWhite);
}

} // namespace gq
