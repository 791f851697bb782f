#include "render/axes.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <vector>

namespace gq
{

namespace
{

// World value of tick i: the product i * step as a 32-bit integer, in hundredths.
long double tickValue(long long i, int step)
{
    return static_cast<int32_t>(i * step) * 0.01L;
}

// Index range of the ticks inside [lo, hi]: trunc(lo * 100 / step) ..
// trunc(hi * 100 / step). False when the range cannot be drawn (a frame far
// outside the documented bounds would ask for billions of ticks).
bool tickRange(long double lo, long double hi, int step, int graphSize, long long &i0, long long &i1)
{
    const long double a = std::trunc(lo * 100 / step), b = std::trunc(hi * 100 / step);
    if (!(std::fabs(a) < 1e9L && std::fabs(b) < 1e9L) || b - a > 4.0L * graphSize + 100)
        return false;
    i0 = static_cast<long long>(a);
    i1 = static_cast<long long>(b);
    return true;
}

// The tick marks of both axes: their spacings (hundredths of a unit), index
// ranges and label patterns, and where the axes lie in pixels.
struct Ticks {
    int sx = 0, sy = 0;
    long long ix0 = 0, ix1 = -1, iy0 = 0, iy1 = -1;
    std::string fx, fy;
    int axPx = 0, ayPx = 0;
};

Ticks ticksOf(const GraphView &view)
{
    const CoordFrame &f = view.frame();
    const int n = view.graphSize();
    Ticks t;
    t.sx = tickStep(static_cast<float>(f.xmax - f.xmin));
    t.sy = tickStep(static_cast<float>(f.ymax - f.ymin));
    t.fx = tickLabelFormat(t.sx);
    t.fy = tickLabelFormat(t.sy);
    if (!tickRange(f.xmin, f.xmax, t.sx, n, t.ix0, t.ix1))
        t.ix0 = 0, t.ix1 = -1;
    if (!tickRange(f.ymin, f.ymax, t.sy, n, t.iy0, t.iy1))
        t.iy0 = 0, t.iy1 = -1;
    // The axes (and the ticks along them) are clamped into the frame, so with
    // an axis outside the window its ticks run along the nearest edge.
    const float ax = static_cast<float>(f.xmin > 0 ? f.xmin : (f.xmax < 0 ? f.xmax : 0));
    const float ay = static_cast<float>(f.ymin > 0 ? f.ymin : (f.ymax < 0 ? f.ymax : 0));
    t.axPx = view.xToPixel(ax);
    t.ayPx = view.yToPixel(ay);
    return t;
}

// The tick marks along the axes, or the dotted grid across the frame.
void drawTicksOrGrid(Canvas &canvas, const GraphView &view, const Ticks &t, bool grid)
{
    const CoordFrame &f = view.frame();
    if (!grid) {
        // One pixel to one side of the axis, two to the other.
        const int before = canvas.scaled(1), after = canvas.scaled(2);
        for (long long i = t.ix0; i <= t.ix1; ++i) {
            const int px = view.xToPixel(tickValue(i, t.sx));
            canvas.moveTo(px, t.ayPx - before);
            canvas.lineTo(px, t.ayPx + after);
        }
        for (long long j = t.iy0; j <= t.iy1; ++j) {
            const int py = view.yToPixel(tickValue(j, t.sy));
            canvas.moveTo(t.axPx - before, py);
            canvas.lineTo(t.axPx + after, py);
        }
        return;
    }
    canvas.setPenStyle(PenStyle::Dotted);
    for (long long i = t.ix0; i <= t.ix1; ++i) {
        const int px = view.xToPixel(tickValue(i, t.sx));
        canvas.moveTo(px, view.yToPixel(f.ymin));
        canvas.lineTo(px, view.yToPixel(f.ymax));
    }
    for (long long j = t.iy0; j <= t.iy1; ++j) {
        const int py = view.yToPixel(tickValue(j, t.sy));
        canvas.moveTo(view.xToPixel(f.xmin), py);
        canvas.lineTo(view.xToPixel(f.xmax), py);
    }
    canvas.setPenStyle(PenStyle::Solid);
}

// The axes themselves, where they lie inside the frame.
void drawAxisLines(Canvas &canvas, const GraphView &view, const Ticks &t)
{
    const CoordFrame &f = view.frame();
    if (f.ymin < 0 && 0 < f.ymax) {
        canvas.moveTo(view.xToPixel(f.xmin), t.ayPx);
        canvas.lineTo(view.xToPixel(f.xmax) + canvas.scaled(1), t.ayPx);
    }
    if (f.xmin < 0 && 0 < f.xmax) {
        canvas.moveTo(view.xToPixel(0), view.yToPixel(f.ymin) + canvas.scaled(2));
        canvas.lineTo(view.xToPixel(0), view.yToPixel(f.ymax));
    }
}

// Writes the tick labels so that none runs into another: a label that would
// overlap one already written is left out (where both axes lie outside the
// frame their labels meet at its corner). Over the grid each label gets a
// white ground, so that the dotted lines do not run through its digits.
class TickLabelWriter
{
  public:
    TickLabelWriter(Canvas &canvas, bool grid) : canvas_(canvas), grid_(grid) {}

    void write(int x, int y, const QString &text)
    {
        const QRect box(x, y, canvas_.textWidth(text), canvas_.textHeight());
        for (const QRect &placed : placed_)
            if (placed.intersects(box))
                return;
        placed_.push_back(box);
        if (grid_) {
            const QRect ink = canvas_.textInk(x, y, text).adjusted(-1, -1, 1, 1);
            for (int py = ink.top(); py <= ink.bottom(); ++py)
                for (int px = ink.left(); px <= ink.right(); ++px)
                    canvas_.setPixel(px, py, kWhite);
        }
        canvas_.textOut(x, y, text);
    }

  private:
    Canvas &canvas_;
    bool grid_;
    std::vector<QRect> placed_;
};

// The numbers at the ticks. Labels go below the x axis unless it lies in the
// lower half, and to the right of the y axis unless it lies in the right half.
// Their offsets are those of the 8-point standard labels, grown with the text
// size and the canvas's pixel scale alike.
void drawTickLabels(Canvas &canvas, const GraphView &view, const Ticks &t, TextSize size, bool grid)
{
    const int n = view.graphSize();
    const double grow = textScale(size) * canvas.pixelScale();
    const auto off = [grow](int pixels) { return static_cast<int>(std::nearbyint(pixels * grow)); };
    canvas.setPenColour(kBlack);
    canvas.setFontSize(static_cast<int>(std::nearbyint(8 * textScale(size))));
    canvas.setFontColour(kBlack);
    TickLabelWriter labels(canvas, grid);
    const int labelRow = 2 * t.ayPx > n ? t.ayPx - off(13) : t.ayPx + off(3);
    for (long long i = t.ix0; i <= t.ix1; ++i) {
        if (i == 0) {
            labels.write(view.xToPixel(0) + off(2), view.yToPixel(0) + off(3), QStringLiteral("0"));
            continue;
        }
        const long double x = tickValue(i, t.sx);
        const QString label = QString::fromStdString(formatFixed(x, t.fx));
        // A label at the frame's edge is moved inside, so that the minus sign
        // of "-5" is never cut off.
        const int left = std::clamp(view.xToPixel(x) - off(5), 0, std::max(0, n - canvas.textWidth(label)));
        labels.write(left, labelRow, label);
    }
    for (long long j = t.iy0; j <= t.iy1; ++j) {
        if (j == 0)
            continue;
        const long double y = tickValue(j, t.sy);
        const std::string text = formatFixed(y, t.fy);
        // Six pixels a character at the standard size.
        const int px = 2 * t.axPx > n ? t.axPx - off(6 * static_cast<int>(text.size()) + 5) : t.axPx + off(3);
        const int top = std::clamp(view.yToPixel(y) - off(4), 0, std::max(0, n - canvas.textHeight()));
        labels.write(px, top, QString::fromStdString(text));
    }
}

} // namespace

GraphView drawAxes(Canvas &canvas, const Document &doc, const std::function<void()> &updateRangeStatus,
                   TextSize labelSize)
{
    const GraphView view(doc.frame, canvas.width());
    if (updateRangeStatus)
        updateRangeStatus();
    const Ticks ticks = ticksOf(view);
    canvas.setBrushColour(kWhite);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setPenColour(kAxisColour);
    canvas.setPenWidth(1);
    canvas.setPenStyle(PenStyle::Solid);
    drawTicksOrGrid(canvas, view, ticks, doc.showGrid != 0);
    drawAxisLines(canvas, view, ticks);
    if (doc.showScale)
        drawTickLabels(canvas, view, ticks, labelSize, doc.showGrid != 0);
    return view;
}

} // namespace gq
