#include "render_test_util.h"

#include <cmath>

namespace gq
{

using PointsAndSegments = RenderTest;

TEST_F(PointsAndSegments, PointMarkIsAFilledDotAroundThePoint)
{
    doc.parameters['a'] = 2;
    const int i = add(KindPoint, "1", "a");
    const Canvas &c = draw();
    // (1, 2) is pixel (384, 192); the mark covers 382..385 without its corners.
    EXPECT_EQ(countColour(c, kCurve, 380, 190, 388, 196), 12);
    EXPECT_EQ(c.pixel(384, 192), kCurve);
    EXPECT_EQ(c.pixel(382, 191), kCurve);
    EXPECT_EQ(c.pixel(382, 190), kWhite);
    EXPECT_TRUE(renderer->points()[i].defined);
    EXPECT_EQ(renderer->points()[i].p, 1);
    EXPECT_EQ(renderer->points()[i].q, 2);
}

TEST_F(PointsAndSegments, SegmentInsideHasMarksAtBothEnds)
{
    add(KindSegment, "-1", "-1", "2", "1");
    const Canvas &c = draw();
    // Marks at (256, 384) and (448, 256): their edge pixels away from the line.
    for (const QPoint p : {QPoint(256, 384), QPoint(448, 256)}) {
        EXPECT_EQ(c.pixel(p.x() - 2, p.y() - 1), kCurve);
        EXPECT_EQ(c.pixel(p.x(), p.y() + 1), kCurve);
        EXPECT_EQ(c.pixel(p.x() - 2, p.y() - 2), kWhite); // corners of the mark
        EXPECT_EQ(c.pixel(p.x() + 1, p.y() + 1), kWhite);
    }
    EXPECT_TRUE(nearW(0.5L, 0, 0));
    EXPECT_EQ(countColour(c, kCurve, 460, 0, 639, 639), 0);
}

TEST_F(PointsAndSegments, SegmentLeavingTheWindowIsCutAtTheEdgeWithOneMark)
{
    add(KindSegment, "10", "10", "0", "0"); // the inside end is the second one
    const Canvas &c = draw();
    EXPECT_EQ(c.pixel(318, 320), kCurve); // the mark at the inside end
    EXPECT_EQ(c.pixel(320, 321), kCurve);
    EXPECT_EQ(c.pixel(318, 321), kWhite);
    for (int i = 1; i < 318; i += 10)
        EXPECT_EQ(c.pixel(320 + i, 320 - i), kCurve) << i;
    // No mark where the line meets the corner: only the line's own pixels.
    EXPECT_LE(countColour(c, kCurve, 630, 0, 639, 9), 10);
}

TEST_F(PointsAndSegments, SegmentCrossingTheWindowDrawsItsInsidePartWithoutMarks)
{
    add(KindSegment, "-10", "-1", "10", "1");
    add(KindSegment, "-10", "-4.5", "10", "-4.5", kOther); // horizontal: through the clamp
    const Canvas &c = draw();
    EXPECT_EQ(c.pixel(320, 320), kCurve);
    EXPECT_TRUE(nearW(-5, -0.5L));
    EXPECT_TRUE(nearW(5, 0.5L));
    for (int x = 0; x < 639; ++x)
        ASSERT_EQ(countColour(c, kCurve, x, 0, x, 639), 1) << x; // a bare line, no marks
    EXPECT_EQ(countColour(c, kOther, 0, 608, 639, 608), 640);
    EXPECT_EQ(countColour(c, kOther), 640); // its marks lie far outside
}

TEST_F(PointsAndSegments, UndefinedUnparsableOrOutsideItemsOfEveryKindDrawNothing)
{
    addExplicit("x+*2");
    addExplicit("");
    add(KindParametric, "t", "t", "0", "sqrt(-1)");
    add(KindParametric, "t", "t", "x+*", "1");
    const int point = add(KindPoint, "sqrt(-1)", "2");
    add(KindSegment, "0", "0", "1", "log(0)");
    add(KindSegment, "-10", "-4", "-6", "4"); // both ends beyond one edge
    add(KindSegment, "-4", "6", "4", "20");
    EXPECT_EQ(countColour(draw(), kCurve), 0);
    EXPECT_FALSE(renderer->points()[point].defined);
}

TEST(ClipSegmentEnd, MovesTheOutsideEndOntoTheEdgeItCrosses)
{
    const GraphView v;
    const struct {
        WorldPoint inside, outside, expected;
    } cases[] = {
        {{0, 0}, {10, 1}, {5, 0.5L}}, {{0, 0}, {-1, 10}, {-0.5L, 5}}, {{1, 0}, {-9, -20}, {-1.5L, -5}}};
    for (const auto &k : cases) {
        const WorldPoint q = clipSegmentEnd(v, k.inside, k.outside);
        EXPECT_EQ(q.x, k.expected.x) << static_cast<double>(k.outside.x);
        EXPECT_EQ(q.y, k.expected.y) << static_cast<double>(k.outside.x);
    }
    EXPECT_EQ(lineYAtX(2, 0, 1, 1, 3), 5);
    EXPECT_EQ(lineXAtY(5, 0, 1, 1, 3), 2);
    EXPECT_FALSE(std::isfinite(lineYAtX(2, 1, 0, 1, 3))); // parallel to the asked axis
}

} // namespace gq
