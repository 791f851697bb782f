#include "ui/canvas.h"

#include <gtest/gtest.h>

namespace
{

constexpr uint32_t kRed = RGBColour(255, 0, 0);
constexpr uint32_t kBlue = RGBColour(0, 0, 255);

int CountColour(const Canvas &c, uint32_t colour)
{
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += c.pixel(x, y) == colour;
    return n;
}

} // namespace

TEST(CanvasBasics, NewCanvasIsWhiteOfTheAskedSize)
{
    Canvas c(37, 21);
    EXPECT_EQ(c.width(), 37);
    EXPECT_EQ(c.height(), 21);
    EXPECT_EQ(CountColour(c, kWhite), 37 * 21);
}

TEST(CanvasBasics, ColoursAreBlueGreenRed)
{
    EXPECT_EQ(RGBColour(128, 128, 255), 0x00FF8080u);
    Canvas c(4, 4);
    c.setPixel(1, 2, RGBColour(1, 2, 3));
    EXPECT_EQ(c.pixel(1, 2), 0x00030201u);
    EXPECT_EQ(qRed(c.image().pixel(1, 2)), 1);
    EXPECT_EQ(qBlue(c.image().pixel(1, 2)), 3);
}

TEST(CanvasBasics, PixelsOutsideAreIgnoredAndReadInvalid)
{
    Canvas c(4, 4);
    c.setPixel(-1, 0, kRed);
    c.setPixel(4, 0, kRed);
    c.setPixel(0, 100000, kRed);
    EXPECT_EQ(CountColour(c, kWhite), 16);
    EXPECT_EQ(c.pixel(-1, 0), kInvalidColour);
    EXPECT_EQ(c.pixel(0, 4), kInvalidColour);
}

TEST(CanvasLines, LineToLeavesOutItsEndPixel)
{
    Canvas c(20, 20);
    c.setPenColour(kRed);
    c.moveTo(2, 5);
    c.lineTo(10, 5);
    for (int x = 2; x < 10; ++x)
        EXPECT_EQ(c.pixel(x, 5), kRed) << x;
    EXPECT_EQ(c.pixel(10, 5), kWhite);
    EXPECT_EQ(c.pixel(1, 5), kWhite);
    EXPECT_EQ(c.penPosition(), QPoint(10, 5));
    // Continuing from the pen position draws the joint pixel exactly once.
    c.lineTo(10, 12);
    for (int y = 5; y < 12; ++y)
        EXPECT_EQ(c.pixel(10, y), kRed) << y;
    EXPECT_EQ(c.pixel(10, 12), kWhite);
    EXPECT_EQ(CountColour(c, kRed), 8 + 7);
}

TEST(CanvasLines, ShallowLineHasOnePixelPerColumnOnTheBresenhamRow)
{
    Canvas c(20, 20);
    c.moveTo(0, 0);
    c.lineTo(10, 3);
    for (int x = 0; x < 10; ++x) {
        const int y = (2 * x * 3 + 10) / 20; // nearest row
        EXPECT_EQ(c.pixel(x, y), kBlack) << x;
    }
    EXPECT_EQ(CountColour(c, kBlack), 10);
    EXPECT_EQ(c.pixel(10, 3), kWhite);
}

TEST(CanvasLines, SteepAndBackwardLinesStepAlongTheMajorAxis)
{
    Canvas c(20, 20);
    c.moveTo(5, 15);
    c.lineTo(3, 1); // upwards, 14 rows
    EXPECT_EQ(CountColour(c, kBlack), 14);
    for (int y = 2; y <= 15; ++y) {
        int row = 0;
        for (int x = 0; x < 20; ++x)
            row += c.pixel(x, y) == kBlack;
        EXPECT_EQ(row, 1) << y;
    }
    EXPECT_EQ(c.pixel(3, 1), kWhite);
}

TEST(CanvasLines, ZeroLengthLineDrawsNothing)
{
    Canvas c(5, 5);
    c.moveTo(2, 2);
    c.lineTo(2, 2);
    EXPECT_EQ(CountColour(c, kWhite), 25);
}

TEST(CanvasLines, FarAwayEndsAreClippedWithoutLosingTheLine)
{
    Canvas c(50, 50);
    c.moveTo(-2000000000, 10);
    c.lineTo(2000000000, 10);
    for (int x = 0; x < 50; ++x)
        EXPECT_EQ(c.pixel(x, 10), kBlack) << x;
    // A diagonal through the canvas from far outside keeps its direction.
    Canvas d(50, 50);
    d.moveTo(-1000000, -1000000);
    d.lineTo(1000000, 1000000);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(d.pixel(i, i), kBlack) << i;
    EXPECT_EQ(CountColour(d, kBlack), 50);
}

TEST(CanvasLines, WidePensPaintASquareAtEveryStep)
{
    Canvas c(20, 20);
    c.setPenWidth(3);
    c.moveTo(2, 10);
    c.lineTo(12, 10);
    for (int x = 1; x <= 12; ++x)
        for (int y = 9; y <= 11; ++y)
            EXPECT_EQ(c.pixel(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(c.pixel(5, 8), kWhite);
    EXPECT_EQ(c.pixel(5, 12), kWhite);
    c.setPenWidth(7);
    EXPECT_EQ(c.penWidth(), 3);
}

TEST(CanvasLines, DottedPenLeavesGapsAndKeepsWhatWasThere)
{
    Canvas c(40, 5);
    c.setPixel(2, 2, kBlue);
    c.setPixel(3, 2, kBlue);
    c.setPenStyle(PenStyle::Dotted);
    c.setPenColour(kRed);
    c.moveTo(0, 2);
    c.lineTo(40, 2);
    EXPECT_EQ(CountColour(c, kRed), 20);
    EXPECT_EQ(c.pixel(0, 2), kRed);
    EXPECT_EQ(c.pixel(1, 2), kRed);
    EXPECT_EQ(c.pixel(2, 2), kBlue);
    EXPECT_EQ(c.pixel(3, 2), kBlue);
    EXPECT_EQ(c.pixel(4, 2), kRed);
}

TEST(CanvasShapes, RectangleExcludesRightAndBottomEdges)
{
    Canvas c(20, 20);
    c.setPenColour(kRed);
    c.setBrushColour(kBlue);
    c.rectangle(12, 8, 2, 3); // corners in any order
    EXPECT_EQ(c.pixel(2, 3), kRed);
    EXPECT_EQ(c.pixel(11, 7), kRed);
    EXPECT_EQ(c.pixel(12, 5), kWhite);
    EXPECT_EQ(c.pixel(5, 8), kWhite);
    EXPECT_EQ(c.pixel(5, 5), kBlue);
    EXPECT_EQ(CountColour(c, kRed) + CountColour(c, kBlue), 10 * 5);
    EXPECT_EQ(CountColour(c, kBlue), 8 * 3);
}

TEST(CanvasShapes, SmallFilledEllipseIsTheDotOfAPointMark)
{
    Canvas c(20, 20);
    c.setPenColour(kRed);
    c.setBrushColour(kRed);
    c.ellipse(8, 8, 12, 12);
    // Pixels 8..11 in both directions, without the four corners.
    EXPECT_EQ(CountColour(c, kRed), 12);
    EXPECT_EQ(c.pixel(8, 8), kWhite);
    EXPECT_EQ(c.pixel(11, 11), kWhite);
    EXPECT_EQ(c.pixel(8, 9), kRed);
    EXPECT_EQ(c.pixel(10, 10), kRed);
    EXPECT_EQ(c.pixel(12, 10), kWhite);
    EXPECT_EQ(c.pixel(10, 12), kWhite);
}

TEST(CanvasShapes, EllipseOutlineIsPenAndInsideIsBrush)
{
    Canvas c(40, 40);
    c.setPenColour(kRed);
    c.setBrushColour(kBlue);
    c.ellipse(0, 0, 30, 20);
    EXPECT_EQ(c.pixel(15, 10), kBlue);
    EXPECT_EQ(c.pixel(0, 10), kRed);
    EXPECT_EQ(c.pixel(29, 10), kRed);
    EXPECT_EQ(c.pixel(15, 0), kRed);
    EXPECT_EQ(c.pixel(15, 19), kRed);
    EXPECT_EQ(c.pixel(30, 10), kWhite);
    EXPECT_EQ(c.pixel(1, 1), kWhite);
}

TEST(CanvasShapes, PolygonFillsItsInteriorAndOutlinesEveryEdge)
{
    Canvas c(30, 30);
    c.setPenColour(kRed);
    c.setBrushColour(kBlue);
    c.polygon({QPoint(2, 2), QPoint(22, 2), QPoint(22, 12), QPoint(2, 12)});
    for (const QPoint p :
         {QPoint(2, 2), QPoint(22, 2), QPoint(22, 12), QPoint(2, 12), QPoint(10, 2), QPoint(22, 7)})
        EXPECT_EQ(c.pixel(p.x(), p.y()), kRed) << p.x() << "," << p.y();
    EXPECT_EQ(c.pixel(10, 7), kBlue);
    EXPECT_EQ(c.pixel(23, 7), kWhite);
    EXPECT_EQ(c.pixel(10, 13), kWhite);
}

TEST(CanvasShapes, TriangleWithFarVertexStaysBounded)
{
    Canvas c(30, 30);
    c.setBrushColour(kBlue);
    c.setPenColour(kBlue);
    c.polygon({QPoint(0, 0), QPoint(2000000000, 0), QPoint(0, 2000000000)});
    EXPECT_EQ(CountColour(c, kBlue), 30 * 30);
}

TEST(CanvasFill, BorderFillStopsAtTheBorderColour)
{
    Canvas c(30, 30);
    c.setPenColour(kRed);
    c.setBrushColour(kWhite);
    c.rectangle(5, 5, 15, 15);
    c.setPixel(10, 10, kBlack);
    c.setBrushColour(kBlue);
    c.floodFill(8, 8, kRed, FillMode::Border);
    EXPECT_EQ(c.pixel(8, 8), kBlue);
    EXPECT_EQ(c.pixel(10, 10), kBlue); // other colours inside are filled over
    EXPECT_EQ(c.pixel(5, 5), kRed);
    EXPECT_EQ(c.pixel(4, 4), kWhite);
    EXPECT_EQ(CountColour(c, kBlue), 8 * 8);
}

TEST(CanvasFill, SurfaceFillCoversOnlyTheConnectedAreaOfOneColour)
{
    Canvas c(30, 30);
    c.setPenColour(kRed);
    c.moveTo(15, 0);
    c.lineTo(15, 30);
    c.setBrushColour(kBlue);
    c.floodFill(3, 3, kWhite, FillMode::Surface);
    EXPECT_EQ(CountColour(c, kBlue), 15 * 30);
    EXPECT_EQ(c.pixel(20, 3), kWhite);
    // Starting on a pixel of another colour does nothing.
    c.setBrushColour(kBlack);
    c.floodFill(15, 3, kWhite, FillMode::Surface);
    EXPECT_EQ(CountColour(c, kBlack), 0);
}

TEST(CanvasFill, HugeAreaFillsWithoutRecursion)
{
    Canvas c(1500, 1500);
    // A maze-like comb makes a long serpentine area.
    c.setPenColour(kRed);
    for (int x = 2; x < 1500; x += 4) {
        c.moveTo(x, (x / 4) % 2 ? 0 : 2);
        c.lineTo(x, (x / 4) % 2 ? 1498 : 1500);
    }
    c.setBrushColour(kBlue);
    c.floodFill(0, 0, kRed, FillMode::Border);
    EXPECT_EQ(c.pixel(1499, 700), kBlue);
    EXPECT_EQ(c.pixel(0, 1499), kBlue);
}

TEST(CanvasFill, CrossHatchPaintsDiagonalsAndLeavesTheRest)
{
    Canvas c(32, 32);
    c.setBrushColour(kBlue);
    c.setBrushStyle(BrushStyle::DiagCross);
    c.floodFill(0, 0, kWhite, FillMode::Surface);
    const int blue = CountColour(c, kBlue);
    EXPECT_GT(blue, 32 * 32 / 8);
    EXPECT_LT(blue, 32 * 32 / 2);
    EXPECT_EQ(c.pixel(0, 0), kBlue);
    EXPECT_EQ(c.pixel(8, 0), kBlue);
    EXPECT_EQ(c.pixel(4, 4), kBlue);
    EXPECT_EQ(c.pixel(1, 0), kWhite);
}

TEST(CanvasCopy, AndCopyLetsOnlyNonWhitePixelsMarkTheTarget)
{
    Canvas target(10, 10);
    target.setPixel(1, 1, kRed);
    Canvas source(4, 4);
    source.setPixel(2, 2, kBlack);
    target.copyRect(0, 0, source, 0, 0, 4, 4, CopyMode::And);
    EXPECT_EQ(target.pixel(1, 1), kRed);
    EXPECT_EQ(target.pixel(2, 2), kBlack);
    EXPECT_EQ(CountColour(target, kWhite), 98);
}

TEST(CanvasCopy, PlainCopyReplacesAndClipsToBothCanvases)
{
    Canvas target(10, 10);
    Canvas source(6, 6);
    source.clear(kBlue);
    target.setPixel(8, 8, kRed);
    target.copyRect(7, -2, source, 0, 0, 6, 6);
    EXPECT_EQ(target.pixel(7, 0), kBlue);
    EXPECT_EQ(target.pixel(9, 3), kBlue);
    EXPECT_EQ(target.pixel(7, 4), kWhite);
    EXPECT_EQ(CountColour(target, kBlue), 3 * 4);
    Canvas whole(10, 10);
    whole.copyFrom(target);
    EXPECT_EQ(whole.pixel(8, 8), kRed);
    EXPECT_EQ(whole.pixel(9, 3), kBlue);
}

TEST(CanvasCopy, CopiesAreIndependent)
{
    Canvas a(5, 5);
    Canvas b = a;
    b.setPixel(1, 1, kRed);
    EXPECT_EQ(a.pixel(1, 1), kWhite);
    EXPECT_EQ(b.pixel(1, 1), kRed);
}

TEST(CanvasText, TextIsDrawnBelowAndRightOfItsTopLeftInTheFontColour)
{
    Canvas c(100, 40);
    c.setFontSize(8);
    c.setFontColour(kRed);
    c.textOut(10, 10, QStringLiteral("-5"));
    int minX = 1000, minY = 1000, maxX = -1, maxY = -1, other = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            const uint32_t p = c.pixel(x, y);
            if (p == kRed) {
                minX = std::min(minX, x), minY = std::min(minY, y);
                maxX = std::max(maxX, x), maxY = std::max(maxY, y);
            } else if (p != kWhite) {
                ++other;
            }
        }
    EXPECT_EQ(other, 0); // no blended edges
    EXPECT_GE(minX, 10);
    EXPECT_GE(minY, 10);
    EXPECT_LE(maxY, 10 + 12);
    EXPECT_LE(maxX, 10 + c.textWidth(QStringLiteral("-5")));
}

TEST(CanvasText, WidthGrowsWithTheTextAndJapaneseIsMeasured)
{
    Canvas c(10, 10);
    c.setFontSize(9);
    const int one = c.textWidth(QStringLiteral("0"));
    EXPECT_GT(one, 3);
    EXPECT_GT(c.textWidth(QStringLiteral("0.00")), 2 * one);
    EXPECT_GT(c.textWidth(QString::fromUtf8("区間設定")), 4 * 8);
    EXPECT_EQ(c.textWidth(QString()), 0);
    EXPECT_GE(c.textHeight(), 10);
}
