// Search mode: the coordinate read-out, the item under the pointer and
// click-to-zoom.
#include "control/search_mode.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
Item item(uint8_t kind, std::initializer_list<const char *> texts, uint32_t colour = 0)
{
    Item it;
    it.kind = kind;
    int k = 1;
    for (const char *t : texts)
        it.text[k++] = t;
    it.colour = colour;
    return it;
}

bool sameFrame(const CoordFrame &a, const CoordFrame &b)
{
    return a == b;
}
} // namespace

TEST(Readout, DecimalsFollowTheUnitsPerPixel)
{
    EXPECT_STREQ(readoutPattern(0.00001L), "0.00000");
    EXPECT_STREQ(readoutPattern(0.000011L), "0.0000");
    EXPECT_STREQ(readoutPattern(0.0001L), "0.0000");
    EXPECT_STREQ(readoutPattern(0.001L), "0.000");
    EXPECT_STREQ(readoutPattern(0.0011L), "0.00");
    EXPECT_STREQ(readoutPattern(0.01L), "0.00");
    EXPECT_STREQ(readoutPattern(0.1L), "0.0");
    EXPECT_STREQ(readoutPattern(0.1001L), "0");
    EXPECT_STREQ(readoutPattern(25), "0");

    // -5..5 on 400 pixels: 0.025 a pixel, one decimal.
    const GraphView view(CoordFrame{}, 400);
    EXPECT_EQ(readoutText(view, 240, 160), QStringLiteral("( 1.0 , 1.0 )"));
    EXPECT_EQ(readoutText(view, 0, 400), QStringLiteral("( -5.0 , -5.0 )"));
    EXPECT_EQ(readoutText(view, 201, 199), QStringLiteral("( 0.0 , 0.0 )")) << "0.025 rounds to 0.0";
    // x and y each by their own scale: 0.001 and 0.2 a pixel.
    const GraphView stretched(CoordFrame{0, 0.5L, -50, 50}, 500);
    EXPECT_EQ(readoutText(stretched, 123, 100), QStringLiteral("( 0.123 , 30 )"));
}

TEST(Readout, TheItemUnderThePointerIsFoundByItsColour)
{
    Document doc;
    doc.itemCount = 3;
    doc.items[1] = item(KindExplicit, {"x"}, 0x00FF0000);
    doc.items[2] = item(KindPoint, {"1", "2"}, 0x000000FF);
    doc.items[3] = item(KindExplicit, {"x^2"}, 0x000000FF); // the same colour: the first one wins
    Canvas picture(400, 400);
    picture.setPixel(100, 100, 0x000000FF);
    picture.setPixel(50, 60, 0x00FF0000);
    picture.setPixel(20, 10, 0x00FF0000);
    picture.setPixel(0, 50, 0x00FF0000);
    picture.setPixel(399, 50, 0x00FF0000);

    EXPECT_EQ(itemAtPixel(doc, picture, 400, 100, 100), 2);
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 50, 60), 1);
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 30, 30), 0) << "white background";
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 20, 10), 0) << "the top strip names no item";
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 0, 50), 0) << "nor the left edge";
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 399, 50), 1);
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 400, 50), 0);
    doc.itemCount = 0;
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 100, 100), 0) << "items no longer in the list";
}

TEST(Readout, OnADenserPictureEveryPixelUnderTheLayoutPixelCounts)
{
    Document doc;
    doc.itemCount = 2;
    doc.items[1] = item(KindExplicit, {"x"}, 0x00FF0000);
    doc.items[2] = item(KindPoint, {"1", "2"}, 0x000000FF);
    // Twice the pixels: the layout pixel (100, 100) is the square 200..201.
    Canvas picture(800, 800, 2);
    picture.setPixel(201, 201, 0x000000FF);
    picture.setPixel(120, 121, 0x00FF0000);
    picture.setPixel(42, 20, 0x00FF0000);
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 100, 100), 2);
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 60, 60), 1);
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 101, 100), 0) << "the next layout pixel";
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 99, 99), 0);
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 21, 10), 0) << "the top strip, in layout pixels";
    // A curve over the first pixel of the square and a point over its last:
    // the first found, row by row, names the item.
    picture.setPixel(200, 200, 0x00FF0000);
    EXPECT_EQ(itemAtPixel(doc, picture, 400, 100, 100), 1);
}

TEST(Readout, ItemLabelTextByKind)
{
    EXPECT_EQ(itemLabelText(item(KindExplicit, {"x^2-2"})), QStringLiteral("y=x^2-2"));
    EXPECT_EQ(itemLabelText(item(KindDerivative, {"2x"})), QStringLiteral("y=2x"));
    EXPECT_EQ(itemLabelText(item(KindImplicit, {"x^2+y^2-1"})), QStringLiteral("x^2+y^2-1=0"));
    EXPECT_EQ(itemLabelText(item(KindParametric, {"cos(t)", "sin(t)", "0", "2\x83\xCE"})),
              QStringLiteral("x=cos(t) , y=sin(t)"));
    EXPECT_EQ(itemLabelText(item(KindPolar, {"1+cos(t)", "1+cos(t)"})), QStringLiteral("r=1+cos(t)"));
    EXPECT_EQ(itemLabelText(item(KindPoint, {"1", "-2"})), QStringLiteral("( 1 , -2 )"));
    EXPECT_EQ(itemLabelText(item(KindSegment, {"0", "0", "1", "1"})), QString());
    EXPECT_EQ(itemLabelText(item(KindExplicit, {"\x83\xC6x"})), QStringLiteral("y=θx"));
}

TEST(ClickZoom, RecentresThenZoomsByTheButton)
{
    // (240, 160) on 400 pixels of -5..5 is the world point (1, 1).
    const GraphView view(CoordFrame{}, 400);
    CoordFrame f;
    EXPECT_TRUE(clickZoom(f, view, 240, 160, ZoomButton::Left));
    EXPECT_TRUE(sameFrame(f, CoordFrame{-1.5, 3.5, -1.5, 3.5})) << "1 ± 2.5";
    f = CoordFrame{};
    EXPECT_TRUE(clickZoom(f, view, 240, 160, ZoomButton::Right));
    EXPECT_TRUE(sameFrame(f, CoordFrame{-9, 11, -9, 11}));
    f = CoordFrame{};
    EXPECT_TRUE(clickZoom(f, view, 240, 160, ZoomButton::Other));
    EXPECT_TRUE(sameFrame(f, CoordFrame{-4, 6, -4, 6})) << "re-centred only";
    f = CoordFrame{};
    EXPECT_FALSE(clickZoom(f, view, 200, 200, ZoomButton::Other)) << "the centre itself";
}

TEST(ClickZoom, StaysWithinTheLimits)
{
    // Already at the smallest span: the zoom is refused, the re-centring stays.
    CoordFrame small{0, 0.05L, 0, 0.05L};
    const GraphView smallView(small, 400);
    EXPECT_TRUE(clickZoom(small, smallView, 300, 100, ZoomButton::Left));
    EXPECT_NEAR(static_cast<double>(small.xmax - small.xmin), 0.05, 1e-9);
    EXPECT_NEAR(static_cast<double>(small.xmin + small.xmax) / 2, 0.0375, 1e-6);

    // -10000..10000: a click at x = 5000 centres past the limit. Zooming in
    // brings it back to 0..10000; zooming out or no zoom leave the frame.
    const CoordFrame wide{-10000, 10000, -10000, 10000};
    const GraphView wideView(wide, 400);
    CoordFrame f = wide;
    EXPECT_TRUE(clickZoom(f, wideView, 300, 200, ZoomButton::Left));
    EXPECT_TRUE(sameFrame(f, CoordFrame{0, 10000, -5000, 5000}));
    for (ZoomButton b : {ZoomButton::Right, ZoomButton::Other}) {
        f = wide;
        EXPECT_FALSE(clickZoom(f, wideView, 300, 200, b));
        EXPECT_TRUE(sameFrame(f, wide));
    }
}

} // namespace gq
