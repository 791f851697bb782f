// A canvas with more pixels than the layout it shows: pens, dots, the dotted
// pattern and text grow with its pixel scale; at scale 1 nothing changes.
#include "common/canvas_count.h"
#include "platform/canvas.h"

#include <cmath>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
// A line from (2, 10) to (12, 10) in a pen of the given width.
Canvas line(double scale, int width, PenStyle style = PenStyle::Solid)
{
    Canvas c(40, 40, scale);
    c.setPenWidth(width);
    c.setPenStyle(style);
    c.moveTo(2, 10);
    c.lineTo(12, 10);
    return c;
}
} // namespace

TEST(CanvasScale, LengthsAreRoundedMultiplesAndTheScaleIsKeptInBounds)
{
    Canvas c(10, 10);
    EXPECT_EQ(c.pixelScale(), 1.0);
    EXPECT_EQ(c.scaled(13), 13);
    c.setPixelScale(2);
    EXPECT_EQ(c.scaled(1), 2);
    EXPECT_EQ(c.scaled(16), 32);
    c.setPixelScale(1.5);
    EXPECT_EQ(c.scaled(1), 2); // 1.5 rounds to even
    EXPECT_EQ(c.scaled(3), 4); // 4.5 rounds to even
    EXPECT_EQ(c.scaled(13), 20);
    c.setPixelScale(100);
    EXPECT_EQ(c.pixelScale(), 8.0);
    c.setPixelScale(std::nan(""));
    EXPECT_EQ(c.pixelScale(), 1.0);
    Canvas copy(10, 10, 2);
    Canvas other = copy;
    EXPECT_EQ(other.pixelScale(), 2.0) << "copies keep the scale";
}

TEST(CanvasScale, PensAndDotsCoverTheSquareOfTheirLayoutPixel)
{
    // Scale 1: the pen is its width, a dot is one pixel.
    EXPECT_EQ(countColour(line(1, 1), kBlack), 10);
    EXPECT_EQ(countColour(line(1, 3), kBlack), 36);
    Canvas one(10, 10);
    one.dot(4, 4, kBlack);
    EXPECT_EQ(countColour(one, kBlack), 1);
    EXPECT_EQ(one.pixel(4, 4), kBlack);

    // Scale 2: twice as wide; the width itself stays in layout pixels.
    const Canvas thin = line(2, 1);
    EXPECT_EQ(thin.penWidth(), 1);
    EXPECT_EQ(countColour(thin, kBlack, 2, 10, 12, 11), 22); // ten steps of a 2 x 2 footprint
    EXPECT_EQ(countColour(thin, kBlack), 22);
    const Canvas wide = line(2, 3);
    EXPECT_EQ(countColour(wide, kBlack, 0, 8, 14, 13), 15 * 6) << "six pixels across";
    EXPECT_EQ(countColour(wide, kBlack), 15 * 6);
    Canvas two(10, 10, 2);
    two.dot(4, 4, kBlack);
    EXPECT_EQ(countColour(two, kBlack, 4, 4, 5, 5), 4);
    EXPECT_EQ(countColour(two, kBlack), 4);
}

TEST(CanvasScale, TheDottedPatternAndShapeOutlinesGrowToo)
{
    // Two steps on, two off in layout pixels: four and four at scale 2, each
    // step a 2 x 2 square, so five pixels are painted and three skipped.
    Canvas d(40, 5, 2);
    d.setPenStyle(PenStyle::Dotted);
    d.moveTo(0, 2);
    d.lineTo(40, 2);
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(d.pixel(x, 2), x % 8 <= 4 ? kBlack : kWhite) << x;

    // An ellipse's outline is the pen's canvas width.
    Canvas e(40, 40, 2);
    e.setPenColour(kBlack);
    e.setBrushColour(rgbColour(255, 0, 0));
    e.ellipse(0, 0, 20, 20);
    EXPECT_EQ(countColour(e, kBlack, 0, 10, 9, 10), 2) << "the left edge of the middle row";
}

TEST(CanvasScale, TextIsAsManyTimesAsLargeAsTheScale)
{
    Canvas one(200, 80), two(200, 80, 2);
    for (Canvas *c : {&one, &two}) {
        c->setFontSize(8);
        c->textOut(0, 0, QStringLiteral("-5.00"));
    }
    EXPECT_NEAR(two.textHeight(), 2 * one.textHeight(), 2);
    EXPECT_NEAR(two.textWidth(QStringLiteral("-5.00")), 2 * one.textWidth(QStringLiteral("-5.00")), 3);
    // Inked area grows about four times.
    const int inkOne = countColour(one, kBlack), inkTwo = countColour(two, kBlack);
    EXPECT_GT(inkTwo, 3 * inkOne);
    EXPECT_LT(inkTwo, 5 * inkOne);
}

} // namespace gq
