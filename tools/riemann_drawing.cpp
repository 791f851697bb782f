#include "tools/riemann_drawing.h"

#include "engine/engine_state.h"
#include "render/primitives.h"
#include <QPoint>
#include <algorithm>
#include <cmath>
#include <vector>

namespace gq
{

namespace
{

uint32_t sideColour(bool above)
{
    return above ? kStripGreen : kStripRose;
}

QPoint pixelOf(const GraphView &view, long double x, long double y)
{
    return {view.xToPixel(x), view.yToPixel(y)};
}

// A filled, outlined polygon in world points, pen and hatch in one colour.
void hatchedPolygon(Canvas &work, const GraphView &view, uint32_t colour,
                    std::initializer_list<std::pair<long double, long double>> points)
{
    std::vector<QPoint> pixels;
    for (const auto &[x, y] : points)
        pixels.push_back(pixelOf(view, x, y));
    work.setPenColour(colour);
    work.setPenWidth(1);
    work.setPenStyle(PenStyle::Solid);
    work.setBrushColour(colour);
    work.setBrushStyle(BrushStyle::DiagCross);
    work.polygon(pixels);
}

void drawTrapezoidStrip(Canvas &work, const GraphView &view, const Strip &s)
{
    const long double fl = s.fl, fr = s.fr;
    if ((fl >= 0) == (fr >= 0)) {
        hatchedPolygon(work, view, sideColour(fl >= 0), {{s.xl, 0}, {s.xl, fl}, {s.xr, fr}, {s.xr, 0}});
        return;
    }
    // The chord crosses the axis: one triangle on each side.
    const long double xz = s.xl + s.dx * (-fl) / (fr - fl);
    hatchedPolygon(work, view, sideColour(fl >= 0), {{s.xl, 0}, {s.xl, fl}, {xz, 0}});
    hatchedPolygon(work, view, sideColour(fr >= 0), {{xz, 0}, {s.xr, fr}, {s.xr, 0}});
}

// Simpson's outline as one pen path: along the axis from xr to xl, up to
// f(xl), along the parabola pixel by pixel, down from f(xr), back to xl.
void simpsonOutline(Canvas &work, const GraphView &view, const Strip &s)
{
    const long double px = view.xPerPixel();
    const auto lineTo = [&](long double x, long double y) {
        const QPoint p = pixelOf(view, x, y);
        work.lineTo(p.x(), p.y());
    };
    work.setPenWidth(1);
    work.setPenStyle(PenStyle::Solid);
    work.setPenColour(kStripGreen);
    const QPoint start = pixelOf(view, s.xr, 0);
    work.moveTo(start.x(), start.y());
    lineTo(s.xl, 0);
    work.setPenColour(sideColour(s.fl > 0));
    lineTo(s.xl, s.fl);
    work.setPenColour(kStripGreen);
    // Beyond 100 pixels outside the frame every point maps to the same
    // column, so the samples out there are skipped (keeping the last one
    // before the frame, which the visible part starts from).
    const long double from = view.xmin() - 101 * px, to = view.xmax() + 101 * px;
    long double t = s.xl;
    if (t < from)
        t = s.xl + std::floor((from - s.xl) / px) * px;
    const long double last = s.xr - px;
    while (t < last) {
        const long double next = t + px;
        if (!(next > t))
            break;
        t = next;
        lineTo(t, simpsonParabola(s, t));
        if (t > to)
            break;
    }
    lineTo(s.xr, s.fr);
    work.setPenColour(sideColour(s.fr > 0));
    lineTo(s.xr, 0);
    work.setPenColour(kStripGreen);
    lineTo(s.xl, 0);
}

// Hatches the white area under the parabola around xc, seeded halfway
// between the axis and half the parabola's height.
void fillRegion(Canvas &work, const GraphView &view, const Strip &s, long double xc)
{
    const long double y = std::clamp(simpsonParabola(s, xc) * 0.5L, view.ymin(), view.ymax());
    const int px = view.xToPixel(xc);
    if (work.pixel(px, view.yToPixel(y)) != kWhite)
        return;
    work.setBrushColour(sideColour(y > 0));
    work.setBrushStyle(BrushStyle::DiagCross);
    work.floodFill(px, view.yToPixel(y * 0.5L), kWhite, FillMode::Surface);
}

// The pieces of [lo, hi] between the roots of A x^2 + B x + C, each filled
// at its midpoint.
void simpsonFill(Canvas &work, const GraphView &view, const Strip &s)
{
    const long double xl = s.xl, xr = s.xr, xm = (xl + xr) * 0.5L;
    const long double fl = s.fl, fm = s.fm, fr = s.fr;
    const long double lo = std::max(xl, view.xmin()), hi = std::min(xr, view.xmax());
    const long double A = fl - 2 * fm + fr;
    const long double B = -fl * (xm + xr) + 2 * fm * (xl + xr) - fr * (xl + xm);
    const long double C = fl * xm * xr - 2 * fm * xl * xr + fr * xl * xm;
    const auto fill = [&](long double x) { fillRegion(work, view, s, x); };
    if (A == 0) {
        const long double r = B == 0 ? xl : -C / B;
        if (B == 0 || r <= xl || r > xr) {
            fill((lo + hi) / 2);
        } else {
            fill((lo + r) / 2);
            fill((r + hi) / 2);
        }
        return;
    }
    const long double D = B * B - 4 * A * C;
    if (D < 0) {
        fill((lo + hi) / 2);
        return;
    }
    long double r1 = (-B - std::sqrt(D)) / (2 * A), r2 = (-B + std::sqrt(D)) / (2 * A);
    if (r1 > r2)
        std::swap(r1, r2);
    if (hi <= r1 || r2 <= lo || (r1 <= lo && hi <= r2)) {
        fill((lo + hi) / 2);
    } else if (r1 <= lo) { // r2 < hi
        fill((lo + r2) / 2);
        fill((r2 + hi) / 2);
    } else if (hi <= r2) { // lo < r1
        fill((lo + r1) / 2);
        fill((r1 + hi) / 2);
    } else {
        fill((lo + r1) / 2);
        fill((r1 + r2) / 2);
        fill((r2 + hi) / 2);
    }
}

// A strip inside one pixel column paints only vertical runs of that column:
// the same pixels, in the same order and colours, as its shapes below.
// False when the strip covers more than one column.
bool drawInColumn(ColumnRuns &runs, const GraphView &view, SumKind kind, const Strip &s)
{
    const int c = view.xToPixel(s.xl);
    if (view.xToPixel(s.xr) != c)
        return false;
    const int y0 = view.yToPixel(0);
    switch (kind) {
    case SumKind::Upper:
    case SumKind::Lower:
        // The rectangle's outline runs up one side and down the other.
        if (const int yh = view.yToPixel(s.height); yh != y0)
            runs.run(c, y0, yh, sideColour(s.height > 0));
        return true;
    case SumKind::Trapezoid: {
        const int yl = view.yToPixel(s.fl), yr = view.yToPixel(s.fr);
        if ((s.fl >= 0) == (s.fr >= 0)) {
            if (yl != y0 || yr != y0)
                runs.run(c, std::min({y0, yl, yr}), std::max({y0, yl, yr}), sideColour(s.fl >= 0));
        } else {
            if (yl != y0)
                runs.run(c, y0, yl, sideColour(s.fl >= 0));
            if (yr != y0)
                runs.run(c, y0, yr, sideColour(s.fr >= 0));
        }
        return true;
    }
    case SumKind::Simpson: {
        // Narrow enough that the outline takes no parabola samples.
        if (!(s.dx < 4 * view.xPerPixel()) || s.xl < s.xr - view.xPerPixel())
            return false;
        const int yl = view.yToPixel(s.fl), yr = view.yToPixel(s.fr);
        runs.line(c, y0, yl, sideColour(s.fl > 0));
        runs.line(c, yl, yr, kStripGreen);
        runs.line(c, yr, y0, sideColour(s.fr > 0));
        if (!std::isnan(s.fm)) // the midpoint line, as drawBoundLine draws it
            runs.line(c, y0, view.yToPixel(s.fm), sideColour(s.fm >= 0));
        return true;
    }
    case SumKind::None:
        break;
    }
    return true;
}

} // namespace

void drawBoundLine(Canvas &work, const GraphView &view, long double x, long double y)
{
    drawSegment(work, view, Stroke{sideColour(y >= 0), 1, false}, x, 0, x, y);
}

bool stripVisible(const GraphView &view, const Strip &strip)
{
    return strip.xr >= view.xmin() && strip.xl <= view.xmax();
}

void drawStrip(Canvas &work, const GraphView &view, SumKind kind, const Strip &s, ColumnRuns *runs)
{
    if (!s.drawable || !stripVisible(view, s))
        return;
    if (runs) {
        if (drawInColumn(*runs, view, kind, s))
            return;
        runs->flush();
    }
    switch (kind) {
    case SumKind::Upper:
    case SumKind::Lower:
        hatchedPolygon(work, view, sideColour(s.height > 0),
                       {{s.xl, 0}, {s.xl, s.height}, {s.xr, s.height}, {s.xr, 0}});
        break;
    case SumKind::Trapezoid:
        drawTrapezoidStrip(work, view, s);
        break;
    case SumKind::Simpson:
        simpsonOutline(work, view, s);
        if (s.dx < 4 * view.xPerPixel())
            drawBoundLine(work, view, (s.xl + s.xr) * 0.5L, s.fm);
        else
            simpsonFill(work, view, s);
        break;
    case SumKind::None:
        break;
    }
}

SumResult drawRiemannSum(Canvas &work, const GraphView &view, Program &f, SumKind kind, long double a,
                         long double b, int n)
{
    work.clear(kWhite);
    work.setBrushStyle(BrushStyle::DiagCross);
    EngineState &state = engineState();
    for (long double x : {a, b}) {
        state.evalValid = true;
        drawBoundLine(work, view, x, f.evaluate(x, 0));
    }
    ColumnRuns runs(work);
    const SumResult result = riemannSum(f, kind, a, b, n, view.xPerPixel(), [&](const Strip &strip) {
        drawStrip(work, view, kind, strip, &runs);
    });
    runs.flush();
    return result;
}

Canvas sumPicture(const Canvas &graphImage, const Canvas &work)
{
    Canvas picture = graphImage;
    picture.copyFrom(work, CopyMode::And);
    return picture;
}

} // namespace gq
