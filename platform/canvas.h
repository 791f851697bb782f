// The off-screen raster canvas every picture of the program is drawn on.
//
// Integer pixel coordinates, origin top left, y growing downwards. Colours at
// this interface are 0x00BBGGRR values (blue in the high byte). Nothing is
// antialiased: every pixel a drawing touches gets exactly the pen, brush or
// font colour, so a picture can be read back pixel by pixel (the coordinate
// read-out finds an item by the colour under the mouse).
//
// Any coordinates are accepted; drawing outside the canvas is clipped, and the
// work of one line is bounded by the canvas size whatever its end points.
//
// A canvas may have more pixels than the layout it shows (a screen at twice
// the density, a zoomed text panel): its pixel scale is how many of its pixels
// make one pixel of that layout. Pen widths, the dotted pattern, dots and font
// sizes are multiplied by it, and scaled() converts the layout's pixel offsets;
// coordinates passed to the drawing calls are always the canvas's own pixels.
// At the default scale 1 nothing is converted.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace gq
{

// Colour helpers for 0x00BBGGRR values.
inline constexpr uint32_t rgbColour(int r, int g, int b)
{
    return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           (static_cast<uint32_t>(b & 0xFF) << 16);
}
inline constexpr uint32_t kWhite = 0x00FFFFFF;
inline constexpr uint32_t kBlack = 0x00000000;
// What pixel() answers for a point outside the canvas.
inline constexpr uint32_t kInvalidColour = 0xFFFFFFFF;

enum class PenStyle { Solid, Dotted };
enum class BrushStyle { Solid, DiagCross };
// Flood fill: Border fills everything 4-connected up to pixels of the given
// colour; Surface fills the 4-connected area that has the given colour.
enum class FillMode { Border, Surface };
// Copy of pixels from another canvas: Plain replaces, And combines bitwise
// (source AND destination), so white source pixels leave the target unchanged.
enum class CopyMode { Plain, And };

class Canvas
{
  public:
    // A white canvas of width x height pixels (sizes below 1 become 1), of the
    // given pixel scale (see setPixelScale).
    Canvas(int width, int height, double pixelScale = 1.0);
    // Copies share pixels until one of them is written (the image is
    // implicitly shared); drawing state (pen, brush, font, position) is copied.
    Canvas(const Canvas &) = default;
    Canvas &operator=(const Canvas &) = default;
    Canvas(Canvas &&) noexcept = default;
    Canvas &operator=(Canvas &&) noexcept = default;
    ~Canvas() = default;

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    // The pixels, format RGB32, for presenting, saving and clipboard use.
    const QImage &image() const { return image_; }

    // Whole canvas to white; drawing state is kept.
    void clear(uint32_t colour = kWhite);
    // The canvas a new Canvas(width(), height(), pixelScale()) would be:
    // white, with the drawing state of a new canvas. Reuses the pixels'
    // memory unless a copy shares it.
    void reset();

    // Canvas pixels per layout pixel, 0.25..8 (others are clamped); 1 by
    // default. Also sets the resolution the font sizes refer to (96 dots per
    // inch times the scale).
    void setPixelScale(double scale);
    double pixelScale() const { return pixelScale_; }
    // A length of n layout pixels in canvas pixels: rnd(n * pixelScale), so
    // exactly n at scale 1.
    int scaled(int n) const;

    // Pen: outlines and lines. Width in layout pixels, 1..3 (others are
    // clamped); it paints scaled(width) canvas pixels, at least 1.
    void setPenColour(uint32_t colour) { penColour_ = colour; }
    void setPenWidth(int width);
    void setPenStyle(PenStyle style) { penStyle_ = style; }
    uint32_t penColour() const { return penColour_; }
    int penWidth() const { return penWidth_; }
    PenStyle penStyle() const { return penStyle_; }

    // Brush: interiors of rectangles, polygons, ellipses and flood fills. The
    // cross-hatch brush paints only its diagonal lines (8-pixel pattern fixed
    // to the canvas origin) and leaves the pixels between them unchanged.
    void setBrushColour(uint32_t colour) { brushColour_ = colour; }
    void setBrushStyle(BrushStyle style) { brushStyle_ = style; }
    uint32_t brushColour() const { return brushColour_; }
    BrushStyle brushStyle() const { return brushStyle_; }

    // Font for textOut: size in points (at 96 dots per inch times the pixel
    // scale) and colour. The face is a Japanese-capable gothic (IPAGothic
    // when installed).
    void setFontSize(int points);
    void setFontColour(uint32_t colour) { fontColour_ = colour; }
    int fontSize() const { return fontSize_; }
    uint32_t fontColour() const { return fontColour_; }

    // Pen position and lines. lineTo draws from the pen position to (x, y)
    // without the end pixel itself (Bresenham steps along the major axis) and
    // leaves the pen at (x, y). A pen of w canvas pixels paints a w x w square
    // at every step. The dotted pen paints scaled(2) pixels, skips as many,
    // starting at each line's first pixel.
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    QPoint penPosition() const { return {penX_, penY_}; }

    // One pixel; outside the canvas set does nothing and get answers
    // kInvalidColour.
    void setPixel(int x, int y, uint32_t colour);
    uint32_t pixel(int x, int y) const;
    // One layout pixel at (x, y): the square of scaled(1) canvas pixels that
    // a one-pixel pen would paint there; the single pixel at scale 1.
    void dot(int x, int y, uint32_t colour);

    // Text with its top-left corner at (x, y), in the font colour, with a
    // transparent background. width in pixels of the text in the current font.
    void textOut(int x, int y, const QString &text);
    int textWidth(const QString &text) const;
    int textHeight() const;
    // The pixels textOut(x, y, text) may paint: the glyphs' bounding box
    // (empty for an empty text).
    QRect textInk(int x, int y, const QString &text) const;

    // Shapes in the bounding box (x1, y1)-(x2, y2), right and bottom edges
    // exclusive (the box covers x1..x2-1, y1..y2-1); corners in any order.
    // Outlined with the pen (solid, its width inwards) and filled with the brush.
    void rectangle(int x1, int y1, int x2, int y2);
    void ellipse(int x1, int y1, int x2, int y2);
    // Closed polygon: interior by the even-odd rule at pixel centres, filled
    // with the brush, then the outline drawn with the pen along every edge.
    void polygon(const std::vector<QPoint> &points);

    // Flood fill from (x, y) with the brush, 4-connected, iterative (no
    // recursion, memory bounded by the canvas size).
    void floodFill(int x, int y, uint32_t colour, FillMode mode);

    // Copies the w x h rectangle at (sx, sy) of source to (dx, dy) of this
    // canvas, clipped to both canvases. source may be this canvas.
    void copyRect(int dx, int dy, const Canvas &source, int sx, int sy, int w, int h,
                  CopyMode mode = CopyMode::Plain);
    // The whole source at (0, 0).
    void copyFrom(const Canvas &source, CopyMode mode = CopyMode::Plain);

  private:
    void plot(int x, int y, QRgb c);             // clipped pixel write
    void stamp(int x, int y, QRgb c);            // pen footprint at a step
    bool brushAt(int x, int y, QRgb &c) const;   // brush colour at a pixel, if painted
    void fillSpan(int y, int x0, int x1);        // brush over x0..x1 inclusive
    void square(int x, int y, int side, QRgb c); // side x side footprint at a step
    // The pixels for writing (detached from any copy), for the inner loops.
    struct Pixels {
        QRgb *bits;
        qsizetype stride; // QRgb per line
        int width, height;
    };
    Pixels pixels();
    static void square(const Pixels &p, int x, int y, int side, QRgb c);
    int penPixels() const;                       // the pen's width in canvas pixels
    // The font of fontSize_ at the image's resolution and its metrics, made
    // once for each size and resolution: finding a font is most of what
    // measuring or writing a tick label costs.
    struct TextFont {
        int points, dotsPerMeter;
        QFont font;
        QFontMetrics metrics;
    };
    const TextFont &textFont() const;

    QImage image_;
    uint32_t penColour_ = kBlack;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    uint32_t brushColour_ = kWhite;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    int fontSize_ = 9;
    uint32_t fontColour_ = kBlack;
    int penX_ = 0, penY_ = 0;
    double pixelScale_ = 1.0;
    mutable std::optional<TextFont> textFont_;
};

// 0x00BBGGRR to Qt's 0xAARRGGBB and back.
inline QRgb toQRgb(uint32_t colour)
{
    return 0xFF000000u | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
inline uint32_t fromQRgb(QRgb c)
{
    return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
}

} // namespace gq
