#include "render_test_util.h"

#include <cmath>

namespace gq
{

struct Primitives : RenderTest {
    Canvas canvas{640, 640};
    GraphView view;
};

TEST_F(Primitives, SegmentDrawsBetweenMappedEndsWithoutTheEndPixel)
{
    drawSegment(canvas, view, Stroke{kCurve, 1, false}, -1, 0, 1, 0);
    EXPECT_EQ(countColour(canvas, kCurve), 128);
    EXPECT_EQ(canvas.pixel(256, 320), kCurve);
    EXPECT_EQ(canvas.pixel(384, 320), kWhite);
    // A raised pen sets only the second point.
    Canvas raised(640, 640);
    drawSegment(raised, view, Stroke{kCurve, 3, true}, -1, 0, 1, 1);
    EXPECT_EQ(countColour(raised, kCurve), 1);
    EXPECT_EQ(raised.pixel(384, 256), kCurve);
    EXPECT_EQ(raised.penPosition(), QPoint(384, 256));
}

TEST_F(Primitives, SegmentWithANaNEndDrawsNothingAndAFarEndKeepsItsDirection)
{
    const Stroke down{kCurve, 1, false};
    drawSegment(canvas, view, down, std::nanl(""), 0, 1, 1);
    drawSegment(canvas, view, down, 0, 0, 1, std::nanl(""));
    drawSegment(canvas, view, Stroke{kCurve, 1, true}, 0, 0, std::nanl(""), 1);
    EXPECT_EQ(countColour(canvas, kCurve), 0);
    // Clamped to row -100, a line to a far point keeps the direction (64, -420).
    drawSegment(canvas, view, down, 0, 0, 1, 1e30L);
    EXPECT_TRUE(colourNear(canvas, 320 + 64 * 320 / 420, 0, kCurve));
    EXPECT_EQ(canvas.pixel(320, 320), kCurve);
}

TEST_F(Primitives, ClippedLinesSpanTheWholeFrame)
{
    drawClippedLine(canvas, view, kCurve, 1, 0, 0, 1, 1); // y = x
    for (int i = 1; i < 639; i += 7)
        EXPECT_EQ(canvas.pixel(i, 640 - i), kCurve) << i;
    Canvas steep(640, 640);
    drawClippedLine(steep, view, kCurve, 1, 0, 0, 1, 4); // y = 4x leaves through top and bottom
    EXPECT_TRUE(colourNear(steep, 400, 1, kCurve, 0));
    EXPECT_TRUE(colourNear(steep, 240, 639, kCurve, 0));
    EXPECT_EQ(countColour(steep, kCurve, 0, 0, 238, 639), 0);
    drawClippedLine(steep, view, kOther, 1, 2, -1, 2, 1);
    EXPECT_EQ(countColour(steep, kOther, 448, 0, 448, 639), 640);
    drawClippedLine(steep, view, kOther, 1, -1, 3, 1, 3);
    EXPECT_EQ(countColour(steep, kOther, 1, 128, 639, 128), 639);
}

TEST_F(Primitives, LineThroughPointWithSlope)
{
    drawLineThroughPoint(canvas, view, Stroke{kCurve, 1, false}, 1, 1, -2);
    EXPECT_EQ(canvas.pixel(384, 256), kCurve);
    // y = 3 - 2x leaves through the top at x = -1 and the bottom at x = 4.
    EXPECT_EQ(canvas.pixel(256, 0), kCurve);
    EXPECT_TRUE(colourNear(canvas, 576, 639, kCurve));
    EXPECT_EQ(countColour(canvas, kCurve, 0, 0, 250, 639), 0);
    drawLineThroughPoint(canvas, view, Stroke{kOther, 1, false}, 0, 2, 0);
    EXPECT_EQ(countColour(canvas, kOther, 0, 192, 639, 192), 640);
    drawLineThroughPoint(canvas, view, Stroke{kOther, 1, false}, 0, 0, INFINITY);
    EXPECT_EQ(countColour(canvas, kOther), 640);
}

TEST_F(Primitives, DotOnlyInsideTheClosedFrame)
{
    for (auto [x, y] :
         {std::pair{-5.0L, 5.0L}, {1.0L, 1.0L}, {5.01L, 0.0L}, {0.0L, -5.01L}, {std::nanl(""), 0.0L}})
        plotDotIfInside(canvas, view, kCurve, x, y);
    EXPECT_EQ(canvas.pixel(0, 0), kCurve); // the corner (-5, 5) is inside
    EXPECT_EQ(canvas.pixel(384, 256), kCurve);
    EXPECT_EQ(countColour(canvas, kCurve), 2);
}

TEST_F(Primitives, LabelledPointMarksOnlyItsDotAndGlyphs)
{
    canvas.setPixel(390, 245, kOther); // under the label's white background
    drawLabeledPoint(canvas, view, 1, kCurve, 1, 1, QStringLiteral("P"));
    EXPECT_EQ(canvas.pixel(384, 256), kCurve);
    EXPECT_EQ(canvas.pixel(383, 255), kCurve);
    EXPECT_EQ(canvas.pixel(382, 254), kWhite); // the dot's corner
    EXPECT_EQ(canvas.pixel(390, 245), kOther);
    // Glyph pixels in the box to the upper right (384..399, 241..256).
    EXPECT_GT(countColour(canvas, kCurve, 384, 241, 399, 252), 4);
    Canvas centred(640, 640);
    drawLabeledPoint(centred, view, 2, kCurve, 1, 1, QStringLiteral("A"));
    EXPECT_GT(countColour(centred, kCurve, 376, 241, 383, 252), 1);
    Canvas bare(640, 640);
    drawLabeledPoint(bare, view, 1, kCurve, 1, 1, QString());
    EXPECT_EQ(countColour(bare, kCurve), 12);
}

} // namespace gq
