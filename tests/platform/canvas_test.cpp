#include "common/canvas_count.h"
#include "platform/canvas.h"

#include <gtest/gtest.h>

namespace gq
{

namespace
{

constexpr uint32_t kRed = rgbColour(255, 0, 0);
constexpr uint32_t kBlue = rgbColour(0, 0, 255);

// Every pixel of the list x0, y0, x1, y1, ... has the colour.
void expectPixels(const Canvas &c, uint32_t colour, std::initializer_list<int> xy)
{
    for (auto p = xy.begin(); p + 1 < xy.end(); p += 2)
        EXPECT_EQ(c.pixel(p[0], p[1]), colour) << "at " << p[0] << "," << p[1];
}

Canvas painting(int w, int h, uint32_t pen = kBlack, uint32_t brush = kWhite, int penWidth = 1)
{
    Canvas c(w, h);
    c.setPenColour(pen);
    c.setBrushColour(brush);
    c.setPenWidth(penWidth);
    return c;
}

// A black pen moved to the first point and drawn to each following one.
Canvas polyline(int w, int h, std::initializer_list<QPoint> points, int penWidth = 1)
{
    Canvas c = painting(w, h, kBlack, kWhite, penWidth);
    c.moveTo(points.begin()->x(), points.begin()->y());
    for (auto p = points.begin() + 1; p != points.end(); ++p)
        c.lineTo(p->x(), p->y());
    return c;
}

} // namespace

TEST(CanvasBasics, WhiteCanvasBlueGreenRedPixelsAndClippedAccess)
{
    Canvas c(37, 21);
    EXPECT_EQ(c.width(), 37);
    EXPECT_EQ(c.height(), 21);
    EXPECT_EQ(countColour(c, kWhite), 37 * 21);
    EXPECT_EQ(rgbColour(128, 128, 255), 0x00FF8080u);
    c.setPixel(1, 2, rgbColour(1, 2, 3));
    EXPECT_EQ(c.pixel(1, 2), 0x00030201u);
    EXPECT_EQ(qRed(c.image().pixel(1, 2)), 1);
    EXPECT_EQ(qBlue(c.image().pixel(1, 2)), 3);
    for (QPoint p : {QPoint(-1, 0), QPoint(37, 0), QPoint(0, 100000)}) {
        c.setPixel(p.x(), p.y(), kRed);
        EXPECT_EQ(c.pixel(p.x(), p.y()), kInvalidColour);
    }
    EXPECT_EQ(countColour(c, kRed), 0);
    Canvas copy = c; // copies are independent
    copy.setPixel(1, 1, kRed);
    EXPECT_EQ(c.pixel(1, 1), kWhite);

    // reset makes the canvas a new one (pixels and drawing state), and
    // leaves a copy that shares its pixels alone.
    copy.setPenColour(kRed);
    copy.setPenWidth(3);
    copy.setPenStyle(PenStyle::Dotted);
    copy.setBrushStyle(BrushStyle::DiagCross);
    copy.setFontSize(20);
    copy.moveTo(5, 6);
    const Canvas shared = copy;
    copy.reset();
    const Canvas fresh(37, 21);
    EXPECT_EQ(countColour(copy, kWhite), 37 * 21);
    EXPECT_EQ(shared.pixel(1, 1), kRed);
    EXPECT_TRUE(copy.penColour() == fresh.penColour() && copy.penWidth() == fresh.penWidth() &&
                copy.penStyle() == fresh.penStyle() && copy.brushStyle() == fresh.brushStyle() &&
                copy.fontSize() == fresh.fontSize() && copy.penPosition() == fresh.penPosition());
}

TEST(CanvasLines, LineToLeavesOutItsEndPixelAndJointsAreDrawnOnce)
{
    Canvas c = polyline(20, 20, {{2, 5}, {10, 5}, {10, 12}});
    EXPECT_EQ(countColour(c, kBlack, 2, 5, 9, 5), 8);
    EXPECT_EQ(countColour(c, kBlack, 10, 5, 10, 11), 7);
    EXPECT_EQ(countColour(c, kBlack), 8 + 7);
    expectPixels(c, kWhite, {1, 5, 10, 12});
    EXPECT_EQ(c.penPosition(), QPoint(10, 12));
    EXPECT_EQ(countColour(polyline(5, 5, {{2, 2}, {2, 2}}), kWhite), 25); // zero length: nothing
}

TEST(CanvasLines, OnePixelPerStepOfTheMajorAxisEvenFromFarAway)
{
    Canvas shallow = polyline(20, 20, {{0, 0}, {10, 3}});
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(shallow.pixel(x, (2 * x * 3 + 10) / 20), kBlack) << x; // nearest row
    EXPECT_EQ(countColour(shallow, kBlack), 10);
    Canvas steep = polyline(20, 20, {{5, 15}, {3, 1}}); // upwards, 14 rows
    for (int y = 2; y <= 15; ++y)
        EXPECT_EQ(countColour(steep, kBlack, 0, y, 19, y), 1) << y;
    EXPECT_EQ(countColour(steep, kBlack), 14);
    // Far-away ends are clipped without losing the line or its direction.
    Canvas c = polyline(50, 50, {{-2000000000, 10}, {2000000000, 10}});
    EXPECT_EQ(countColour(c, kBlack, 0, 10, 49, 10), 50);
    Canvas d = polyline(50, 50, {{-1000000, -1000000}, {1000000, 1000000}});
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(d.pixel(i, i), kBlack) << i;
    EXPECT_EQ(countColour(d, kBlack), 50);
}

TEST(CanvasLines, WidePensPaintSquaresDottedPensTwoOnTwoOff)
{
    Canvas c = polyline(20, 20, {{2, 10}, {12, 10}}, 3);
    EXPECT_EQ(countColour(c, kBlack, 1, 9, 12, 11), 12 * 3);
    EXPECT_EQ(countColour(c, kBlack), 12 * 3);
    c.setPenWidth(7);
    EXPECT_EQ(c.penWidth(), 3);
    // The dotted pen paints two, skips two, and keeps what was there.
    Canvas d = painting(40, 5, kRed);
    d.setPixel(2, 2, kBlue);
    d.setPixel(3, 2, kBlue);
    d.setPenStyle(PenStyle::Dotted);
    d.moveTo(0, 2);
    d.lineTo(40, 2);
    EXPECT_EQ(countColour(d, kRed), 20);
    expectPixels(d, kRed, {0, 2, 1, 2, 4, 2});
    expectPixels(d, kBlue, {2, 2, 3, 2});
}

TEST(CanvasShapes, RectangleAndEllipseExcludeRightAndBottomEdges)
{
    Canvas c = painting(40, 40, kRed, kBlue);
    c.rectangle(12, 8, 2, 3); // corners in any order
    expectPixels(c, kRed, {2, 3, 11, 7});
    expectPixels(c, kWhite, {12, 5, 5, 8});
    EXPECT_EQ(countColour(c, kBlue, 3, 4, 10, 6), 8 * 3);
    EXPECT_EQ(countColour(c, kRed) + countColour(c, kBlue), 10 * 5);
    Canvas e = painting(40, 40, kRed, kBlue);
    e.ellipse(0, 0, 30, 20);
    EXPECT_EQ(e.pixel(15, 10), kBlue);
    expectPixels(e, kRed, {0, 10, 29, 10, 15, 0, 15, 19});
    expectPixels(e, kWhite, {30, 10, 15, 20, 1, 1});
}

TEST(CanvasShapes, PolygonFillsItsInteriorOutlinesEveryEdgeAndStaysBounded)
{
    Canvas c = painting(30, 30, kRed, kBlue);
    c.polygon({QPoint(2, 2), QPoint(22, 2), QPoint(22, 12), QPoint(2, 12)});
    expectPixels(c, kRed, {2, 2, 22, 2, 22, 12, 2, 12, 10, 2, 22, 7});
    EXPECT_EQ(c.pixel(10, 7), kBlue);
    expectPixels(c, kWhite, {23, 7, 10, 13});
    c.setPenColour(kBlue);
    c.polygon({QPoint(0, 0), QPoint(2000000000, 0), QPoint(0, 2000000000)});
    EXPECT_EQ(countColour(c, kBlue), 30 * 30);
}

TEST(CanvasFill, BorderFillStopsAtTheBorderColourSurfaceFillAtAnyOther)
{
    Canvas c = painting(30, 30, kRed);
    c.rectangle(5, 5, 15, 15);
    c.setPixel(10, 10, kBlack);
    c.setBrushColour(kBlue);
    c.floodFill(8, 8, kRed, FillMode::Border); // covers the black pixel too
    EXPECT_EQ(countColour(c, kBlue, 6, 6, 13, 13), 8 * 8);
    EXPECT_EQ(countColour(c, kBlue), 8 * 8);
    EXPECT_EQ(c.pixel(5, 5), kRed);
    Canvas s = polyline(30, 30, {{15, 0}, {15, 30}});
    s.setBrushColour(kBlue);
    s.floodFill(3, 3, kWhite, FillMode::Surface);
    EXPECT_EQ(countColour(s, kBlue, 0, 0, 14, 29), 15 * 30);
    EXPECT_EQ(countColour(s, kBlue), 15 * 30);
    s.setBrushColour(kRed);
    s.floodFill(15, 3, kWhite, FillMode::Surface); // starts on another colour: nothing
    EXPECT_EQ(countColour(s, kRed), 0);
}

TEST(CanvasFill, HugeSerpentineAreaFillsWithoutRecursionAndCrossHatchLeavesGaps)
{
    Canvas c(1500, 1500);
    for (int x = 2; x < 1500; x += 4) { // a comb of walls open at alternate ends
        c.moveTo(x, (x / 4) % 2 ? 0 : 2);
        c.lineTo(x, (x / 4) % 2 ? 1498 : 1500);
    }
    c.setBrushColour(kBlue);
    c.floodFill(0, 0, kBlack, FillMode::Border);
    expectPixels(c, kBlue, {1499, 700, 0, 1499});
    Canvas h = painting(32, 32, kBlack, kBlue);
    h.setBrushStyle(BrushStyle::DiagCross);
    h.floodFill(0, 0, kWhite, FillMode::Surface);
    const int blue = countColour(h, kBlue);
    EXPECT_GT(blue, 32 * 32 / 8);
    EXPECT_LT(blue, 32 * 32 / 2);
    expectPixels(h, kBlue, {0, 0, 8, 0, 4, 4});
    EXPECT_EQ(h.pixel(1, 0), kWhite);
}

TEST(CanvasCopy, PlainCopyReplacesAndClipsAndCopyLetsOnlyNonWhitePixelsMark)
{
    Canvas target(10, 10), source(6, 6), whole(10, 10);
    source.clear(kBlue);
    target.setPixel(8, 8, kRed);
    target.copyRect(7, -2, source, 0, 0, 6, 6);
    EXPECT_EQ(countColour(target, kBlue, 7, 0, 9, 3), 3 * 4);
    EXPECT_EQ(countColour(target, kBlue), 3 * 4);
    whole.copyFrom(target);
    EXPECT_EQ(whole.pixel(8, 8), kRed);
    EXPECT_EQ(whole.pixel(9, 3), kBlue);
    Canvas marks(4, 4);
    marks.setPixel(2, 2, kBlack);
    target.clear();
    target.setPixel(1, 1, kRed);
    target.copyRect(0, 0, marks, 0, 0, 4, 4, CopyMode::And);
    EXPECT_EQ(target.pixel(1, 1), kRed);
    EXPECT_EQ(target.pixel(2, 2), kBlack);
    EXPECT_EQ(countColour(target, kWhite), 98);
}

TEST(CanvasText, TextIsDrawnBelowAndRightOfItsTopLeftInTheFontColourAndMeasured)
{
    Canvas c(100, 40);
    c.setFontSize(8);
    c.setFontColour(kRed);
    c.textOut(10, 10, QStringLiteral("-5"));
    const int red = countColour(c, kRed);
    EXPECT_GT(red, 0);
    EXPECT_EQ(red + countColour(c, kWhite), 100 * 40); // no blended edges
    EXPECT_EQ(countColour(c, kRed, 10, 10, 10 + c.textWidth(QStringLiteral("-5")), 10 + 12), red);
    c.setFontSize(9);
    const int one = c.textWidth(QStringLiteral("0"));
    EXPECT_GT(one, 3);
    EXPECT_GT(c.textWidth(QStringLiteral("0.00")), 2 * one);
    EXPECT_GT(c.textWidth(QString::fromUtf8("区間設定")), 4 * 8);
    EXPECT_EQ(c.textWidth(QString()), 0);
    EXPECT_GE(c.textHeight(), 10);
}

} // namespace gq
