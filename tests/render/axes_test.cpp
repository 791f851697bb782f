#include "render_test_util.h"

namespace
{

const int kAxisRow = 320, kAxisCol = 320;

} // namespace

using Axes = RenderTest;

TEST_F(Axes, DefaultFrameDrawsBothAxesAcrossTheCanvas)
{
    const Canvas &c = Draw();
    for (int x = 0; x < 640; ++x)
        ASSERT_EQ(c.pixel(x, kAxisRow), kAxisColour) << x;
    for (int y = 1; y < 640; ++y)
        ASSERT_EQ(c.pixel(kAxisCol, y), kAxisColour) << y;
}

TEST_F(Axes, TickMarksAreThreePixelsAcrossTheAxisAtEveryUnit)
{
    const Canvas &c = Draw();
    for (int i : {-4, -3, -2, -1, 1, 2, 3, 4}) {
        const int p = 320 + 64 * i;
        EXPECT_EQ(c.pixel(p, kAxisRow - 1), kAxisColour) << i;
        EXPECT_EQ(c.pixel(p, kAxisRow + 1), kAxisColour) << i;
        EXPECT_NE(c.pixel(p, kAxisRow - 2), kAxisColour) << i;
        EXPECT_NE(c.pixel(p, kAxisRow + 2), kAxisColour) << i;
        EXPECT_EQ(c.pixel(kAxisCol - 1, p), kAxisColour) << i;
        EXPECT_EQ(c.pixel(kAxisCol + 1, p), kAxisColour) << i;
        EXPECT_NE(c.pixel(kAxisCol + 2, p), kAxisColour) << i;
    }
    EXPECT_EQ(c.pixel(350, kAxisRow - 1), kWhite); // between ticks
}

TEST_F(Axes, LabelsSitBelowTheXAxisAndRightOfTheYAxis)
{
    const Canvas &c = Draw();
    // "1" at (384 - 5, 323), "-3" at (128 - 5, 323), "0" at (322, 323).
    EXPECT_GT(CountIn(c, kBlack, 379, 323, 392, 336), 3);
    EXPECT_GT(CountIn(c, kBlack, 123, 323, 142, 336), 3);
    EXPECT_GT(CountIn(c, kBlack, 322, 323, 332, 336), 3);
    // y = 2 at row 192: its label at (323, 188).
    EXPECT_GT(CountIn(c, kBlack, 323, 188, 334, 201), 3);
    // Nothing of the labels above the x axis or left of the y axis.
    EXPECT_EQ(CountIn(c, kBlack, 0, 300, 639, 319), 0);
    EXPECT_EQ(CountIn(c, kBlack, 0, 0, 319, 319), 0);
}

TEST_F(Axes, ScaleOffDrawsNoLabels)
{
    doc.ShowScale = 0;
    const Canvas &c = Draw();
    EXPECT_EQ(CountAll(c, kBlack), 0);
    EXPECT_EQ(c.pixel(384, kAxisRow + 1), kAxisColour);
}

TEST_F(Axes, GridReplacesTickMarksWithDottedLines)
{
    doc.ShowGrid = 1;
    const Canvas &c = Draw();
    const int grid = CountIn(c, kAxisColour, 384, 0, 384, 639);
    EXPECT_GT(grid, 250);
    EXPECT_LT(grid, 400);
    EXPECT_GT(CountIn(c, kAxisColour, 0, 128, 639, 128), 250);
    // No tick marks beside the grid line, and the axes stay solid.
    EXPECT_EQ(c.pixel(383, kAxisRow - 1), kWhite);
    EXPECT_EQ(c.pixel(385, kAxisRow + 1), kWhite);
    EXPECT_EQ(CountIn(c, kAxisColour, 0, kAxisRow, 639, kAxisRow), 640);
}

TEST_F(Axes, AxisOutsideTheWindowPutsTicksAlongTheNearestEdge)
{
    doc.CoordFrame.xmin = 0.5L;
    doc.CoordFrame.xmax = 1.5L;
    const Canvas &c = Draw();
    // No y axis; the y ticks run along the left edge (columns -1..1).
    EXPECT_EQ(c.pixel(0, 64), kAxisColour);
    EXPECT_EQ(c.pixel(1, 64), kAxisColour);
    EXPECT_EQ(c.pixel(2, 64), kWhite);
    EXPECT_EQ(CountIn(c, kAxisColour, 200, 0, 200, 639), 1); // only the x axis crosses
    // x ticks every 0.1: 0.6 is at column 64.
    EXPECT_EQ(c.pixel(64, kAxisRow + 1), kAxisColour);
    // Labels "0.6" in the one-decimal format are wider than "1".
    EXPECT_GT(CountIn(c, kBlack, 59, 323, 80, 336), 5);
}

TEST_F(Axes, XAxisInTheLowerHalfHasItsLabelsAbove)
{
    doc.CoordFrame.ymin = -1;
    doc.CoordFrame.ymax = 9;
    const Canvas &c = Draw();
    const int row = 576;
    EXPECT_EQ(c.pixel(10, row), kAxisColour);
    EXPECT_GT(CountIn(c, kBlack, 379, row - 13, 392, row - 1), 3);
    EXPECT_EQ(CountIn(c, kBlack, 340, row + 1, 639, 639), 0);
}

TEST_F(Axes, YAxisInTheRightHalfHasItsLabelsLeft)
{
    doc.CoordFrame.xmin = -9;
    doc.CoordFrame.xmax = 1;
    const Canvas &c = Draw();
    const int col = 576;
    EXPECT_EQ(c.pixel(col, 10), kAxisColour);
    // "2" (one character) at column 576 - 6 - 5 = 565, row 188.
    EXPECT_GT(CountIn(c, kBlack, 560, 188, 575, 201), 3);
    EXPECT_EQ(CountIn(c, kBlack, col + 1, 0, 639, 310), 0);
}

TEST_F(Axes, RedrawRecomputesTheMappingAndReportsTheRange)
{
    int calls = 0;
    doc.CoordFrame.xmax = 15;
    renderer = std::make_unique<GraphRenderer>(500);
    renderer->hooks.updateRangeStatus = [&] { ++calls; };
    const Canvas *presented = nullptr;
    renderer->hooks.present = [&](const Canvas &c) { presented = &c; };
    renderer->RedrawGraph(doc);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(presented, &renderer->GraphImage());
    EXPECT_EQ(XPerPixel, 20.0L / 500);
    EXPECT_EQ(renderer->view().XToPixel(15), 500);
}

TEST_F(Axes, OverlayKeepsThePictureAndTheIntervalHookTakesOver)
{
    renderer = std::make_unique<GraphRenderer>(200);
    renderer->RedrawGraph(doc);
    renderer->GraphImage().setPixel(5, 5, kOther);
    doc.OverlayMode = 1;
    bool overlaid = false, presented = false;
    renderer->hooks.intervalActive = [] { return true; };
    renderer->hooks.drawIntervalOverlay = [&](const Canvas &) { overlaid = true; };
    renderer->hooks.present = [&](const Canvas &) { presented = true; };
    renderer->RedrawGraph(doc);
    EXPECT_EQ(renderer->GraphImage().pixel(5, 5), kOther);
    EXPECT_TRUE(overlaid);
    EXPECT_FALSE(presented);
    doc.OverlayMode = 0;
    renderer->RedrawGraph(doc);
    EXPECT_EQ(renderer->GraphImage().pixel(5, 5), kWhite);
}
