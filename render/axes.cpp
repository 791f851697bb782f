#include "render/axes.h"

#include <algorithm>

#include <cmath>

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

} // namespace

GraphView drawAxes(Canvas &canvas, const Document &doc, const std::function<void()> &updateRangeStatus)
{
    const int n = canvas.width();
    const CoordFrame &f = doc.frame;
    const GraphView view(f, n);
    if (updateRangeStatus)
        updateRangeStatus();

    const int sx = tickStep(static_cast<float>(f.xmax - f.xmin));
    const int sy = tickStep(static_cast<float>(f.ymax - f.ymin));
    const std::string fx = tickLabelFormat(sx), fy = tickLabelFormat(sy);
    long long ix0 = 0, ix1 = -1, iy0 = 0, iy1 = -1;
    if (!tickRange(f.xmin, f.xmax, sx, n, ix0, ix1))
        ix0 = 0, ix1 = -1;
    if (!tickRange(f.ymin, f.ymax, sy, n, iy0, iy1))
        iy0 = 0, iy1 = -1;

    // The axes (and the ticks along them) are clamped into the frame, so with
    // an axis outside the window its ticks run along the nearest edge.
    const float ax = static_cast<float>(f.xmin > 0 ? f.xmin : (f.xmax < 0 ? f.xmax : 0));
    const float ay = static_cast<float>(f.ymin > 0 ? f.ymin : (f.ymax < 0 ? f.ymax : 0));
    const int axPx = view.xToPixel(ax), ayPx = view.yToPixel(ay);

    canvas.setBrushColour(kWhite);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setPenColour(kAxisColour);
    canvas.setPenWidth(1);
    canvas.setPenStyle(PenStyle::Solid);
    if (!doc.showGrid) {
        for (long long i = ix0; i <= ix1; ++i) {
            const int px = view.xToPixel(tickValue(i, sx));
            canvas.moveTo(px, ayPx - 1);
            canvas.lineTo(px, ayPx + 2);
        }
        for (long long j = iy0; j <= iy1; ++j) {
            const int py = view.yToPixel(tickValue(j, sy));
            canvas.moveTo(axPx - 1, py);
            canvas.lineTo(axPx + 2, py);
        }
    } else {
        canvas.setPenStyle(PenStyle::Dotted);
        for (long long i = ix0; i <= ix1; ++i) {
            const int px = view.xToPixel(tickValue(i, sx));
            canvas.moveTo(px, view.yToPixel(f.ymin));
            canvas.lineTo(px, view.yToPixel(f.ymax));
        }
        for (long long j = iy0; j <= iy1; ++j) {
            const int py = view.yToPixel(tickValue(j, sy));
            canvas.moveTo(view.xToPixel(f.xmin), py);
            canvas.lineTo(view.xToPixel(f.xmax), py);
        }
        canvas.setPenStyle(PenStyle::Solid);
    }
    if (f.ymin < 0 && 0 < f.ymax) {
        canvas.moveTo(view.xToPixel(f.xmin), ayPx);
        canvas.lineTo(view.xToPixel(f.xmax) + 1, ayPx);
    }
    if (f.xmin < 0 && 0 < f.xmax) {
        canvas.moveTo(view.xToPixel(0), view.yToPixel(f.ymin) + 2);
        canvas.lineTo(view.xToPixel(0), view.yToPixel(f.ymax));
    }

    if (doc.showScale) {
        canvas.setPenColour(kBlack);
        canvas.setFontSize(8);
        canvas.setFontColour(kBlack);
        // Labels go below the x axis unless it lies in the lower half, and to
        // the right of the y axis unless it lies in the right half.
        const int labelRow = 2 * ayPx > n ? ayPx - 13 : ayPx + 3;
        for (long long i = ix0; i <= ix1; ++i) {
            if (i == 0) {
                canvas.textOut(view.xToPixel(0) + 2, view.yToPixel(0) + 3, QStringLiteral("0"));
                continue;
            }
            const long double x = tickValue(i, sx);
            const QString label = QString::fromStdString(formatFixed(x, fx));
            // A label at the frame's edge is moved inside, so that the
            // minus sign of "-5" is never cut off.
            const int left = std::clamp(view.xToPixel(x) - 5, 0, std::max(0, n - canvas.textWidth(label)));
            canvas.textOut(left, labelRow, label);
        }
        for (long long j = iy0; j <= iy1; ++j) {
            if (j == 0)
                continue;
            const long double y = tickValue(j, sy);
            const std::string t = formatFixed(y, fy);
            const int px = 2 * axPx > n ? axPx - 6 * static_cast<int>(t.size()) - 5 : axPx + 3;
            const int top = std::clamp(view.yToPixel(y) - 4, 0, std::max(0, n - canvas.textHeight()));
            canvas.textOut(px, top, QString::fromStdString(t));
        }
    }
    return view;
}

} // namespace gq
