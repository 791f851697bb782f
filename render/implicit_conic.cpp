// Straight lines and conics of implicit equations, drawn from their closed
// forms rather than traced.
#include "render/implicit_internal.h"

#include "engine/numbers.h"
#include "render/primitives.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gq
{

namespace
{

constexpr long double kPi = std::numbers::pi_v<long double>;
// Below this |ab − h²| the conic counts as parabolic (or a pair of parallel lines).
constexpr long double kParabolicDelta = 1e-6L;
// The along-axis sweeps take at most this many samples per pixel of graphSize.
// On a square frame a sweep needs fewer than 1.5 per pixel, so this only
// coarsens the step on very stretched frames, where one sample per x pixel
// along a long y extent would take billions of steps.
constexpr long double kMaxSweepSamplesPerPixel = 4;
// Points of one ellipse at most; beyond it the angle step grows. Only an
// ellipse with a radius above some 45000 pixels needs more, and its chords
// then stray from the arc by r·step²/8, under a hundredth of a pixel up to
// radii of 10^7 pixels.
constexpr long double kMaxEllipsePoints = 200000;
// Pixels around the window that a curve's pen may still reach.
constexpr long double kWindowMarginPixels = 4;
// Points further out than this many world units are pulled back.
constexpr long double kClampDistance = 100;

bool finite(long double v)
{
    return std::isfinite(v);
}

// The smallest and largest of x·cosine + y·sine over the window corners, taken
// relative to (x0, y0).
void projectCorners(const GraphView &view, long double x0, long double y0, long double cosine,
                    long double sine, long double &lo, long double &hi)
{
    const long double xs[2] = {view.xmin(), view.xmax()};
    const long double ys[2] = {view.ymin(), view.ymax()};
    lo = hi = cosine * (xs[0] - x0) + sine * (ys[0] - y0);
    for (long double x : xs)
        for (long double y : ys) {
            long double u = cosine * (x - x0) + sine * (y - y0);
            lo = std::min(lo, u);
            hi = std::max(hi, u);
        }
}

// Number of samples and step of a sweep from start while below end, one per
// pixel (xPerPixel) unless that would be more than the bound allows.
long sweepSamples(const GraphView &view, long double start, long double end, long double &step)
{
    long double span = end - start;
    if (!finite(span) || span <= 0)
        return 0;
    step = std::max(view.xPerPixel(), span / (kMaxSweepSamplesPerPixel * view.graphSize()));
    // Samples start, start + step, ... while below end. Counted by index so
    // that the loop ends even where adding a step no longer changes u.
    long double n = std::ceil(span / step);
    return static_cast<long>(n);
}

// False when no pixel of the ellipse can land on the canvas: its bounding box
// misses the window, or the window lies wholly inside it (it is convex). The
// window is widened by a few pixels for wide pens. Spares the walk round
// ellipses far larger than the window, such as those of huge constants.
bool ellipseMayShow(const GraphView &view, long double x0, long double y0, long double ct, long double st,
                    long double A, long double B, long double p, long double q)
{
    const long double mx = kWindowMarginPixels * view.xPerPixel(),
                      my = kWindowMarginPixels * view.yPerPixel();
    const long double xlo = view.xmin() - mx, xhi = view.xmax() + mx;
    const long double ylo = view.ymin() - my, yhi = view.ymax() + my;
    const long double halfW = std::hypot(A * ct, B * st), halfH = std::hypot(A * st, B * ct);
    if (x0 + halfW < xlo || x0 - halfW > xhi || y0 + halfH < ylo || y0 - halfH > yhi)
        return false;
    for (long double x : {xlo, xhi})
        for (long double y : {ylo, yhi}) {
            const long double u = ct * (x - x0) + st * (y - y0), v = -st * (x - x0) + ct * (y - y0);
            if (!(p * u * u + q * v * v < 1))
                return true;
        }
    return false;
}

void drawLinePair(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double a,
                  long double b, long double base, long double d)
{
    // a·x + b·y + base ± √d = 0: one line when d = 0, none when d < 0.
    if (d == 0) {
        drawImplicitLine(canvas, view, colour, width, a, b, base);
    } else if (d > 0) {
        long double r = std::sqrt(d);
        drawImplicitLine(canvas, view, colour, width, a, b, base + r);
        drawImplicitLine(canvas, view, colour, width, a, b, base - r);
    }
}

void drawCentralConic(Canvas &canvas, const GraphView &view, uint32_t colour, int width,
                      const ConicCoefficients &k, long double delta, long double det)
{
    const long double a = k.a, h = k.h, b = k.b, g = k.g, f = k.f;
    const long double x0 = (h * f - b * g) / delta;
    const long double y0 = (h * g - a * f) / delta;
    if (!finite(x0) || !finite(y0))
        return;
    if (det == 0) {
        // Degenerate: a single point (δ > 0) or two lines crossing at the
        // centre, with the slopes m of b·m² + 2h·m + a = 0.
        if (delta >= 0)
            return;
        if (b != 0) {
            long double r = std::sqrt(-delta); // √(h² − ab)
            for (long double m : {(-h + r) / b, (-h - r) / b})
                drawImplicitLine(canvas, view, colour, width, m, -1, y0 - m * x0);
        } else {
            // δ = −h² < 0, so h ≠ 0: one line is vertical.
            drawImplicitLine(canvas, view, colour, width, 1, 0, -x0);
            long double m = -a / (2 * h);
            drawImplicitLine(canvas, view, colour, width, m, -1, y0 - m * x0);
        }
        return;
    }
    const long double theta = (a == b) ? kPi / 4 : 0.5L * std::atan(2 * h / (a - b));
    const long double scale = det / delta;
    const long double c2 = std::cos(2 * theta), s2 = std::sin(2 * theta);
    const long double p = -(((a + b) + (a - b) * c2) / 2 + h * s2) / scale;
    const long double q = -(((a + b) - (a - b) * c2) / 2 - h * s2) / scale;
    if ((p < 0 && q > 0) || (p > 0 && q < 0))
        drawHyperbolaCurve(canvas, view, colour, width, x0, y0, theta, p, q);
    else
        drawEllipseCurve(canvas, view, colour, width, x0, y0, theta, p, q);
}

void drawParabolicConic(Canvas &canvas, const GraphView &view, uint32_t colour, int width,
                        const ConicCoefficients &k)
{
    // The zero tests here are exact: the caller has already decided that the
    // quadratic part is (numerically) a perfect square.
    const long double a = k.a, h = k.h, b = k.b, g = k.g, f = k.f, c = k.c;
    if (h == 0 && a == 0 && b == 0) {
        drawImplicitLine(canvas, view, colour, width, 2 * g, 2 * f, c);
    } else if (h == 0 && a == 0) {
        if (g == 0)
            drawLinePair(canvas, view, colour, width, 0, b, f, f * f - b * c);
        else // x = −(b·y² + 2f·y + c)/(2g), u running down the y axis
            drawParabolaCurve(canvas, view, colour, -b / (2 * g), f / g, -c / (2 * g), 0, -1);
    } else if (h == 0) {
        if (f == 0)
            drawLinePair(canvas, view, colour, width, a, 0, g, g * g - a * c);
        else // y = −(a·x² + 2g·x + c)/(2f)
            drawParabolaCurve(canvas, view, colour, -a / (2 * f), -g / f, -c / (2 * f), 1, 0);
    } else if (f * h - g * b == 0) {
        // b·F = (h·x + b·y + f)² − (f² − b·c)
        drawLinePair(canvas, view, colour, width, h, b, f, f * f - b * c);
    } else {
        // Turned parabola: u along (a, h)/L, where the quadratic part is L²u²/a.
        const long double L = std::sqrt(a * a + h * h);
        const long double e = g * h - a * f;
        drawParabolaCurve(canvas, view, colour, (a * a * a + 2 * a * h * h + b * h * h) / (2 * e * L),
                          (a * g + f * h) / e, c * L / (2 * e), a / L, h / L);
    }
}

} // namespace

void drawImplicitLine(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double a,
                      long double b, long double c)
{
    if (!finite(a) || !finite(b) || !finite(c) || (a == 0 && b == 0))
        return;
    const Stroke stroke{colour, width, false};
    if (b == 0) {
        long double x = -c / a;
        if (finite(x))
            drawSegment(canvas, view, stroke, x, view.ymin(), x, view.ymax());
    } else if (a == 0) {
        long double y = -c / b;
        if (finite(y))
            drawSegment(canvas, view, stroke, view.xmin(), y, view.xmax(), y);
    } else {
        long double y1 = -(c + a * view.xmin()) / b;
        long double y2 = -(c + a * view.xmax()) / b;
        if (finite(y1) && finite(y2))
            drawClippedLine(canvas, view, colour, width, view.xmin(), y1, view.xmax(), y2);
    }
}

void drawConicCurve(Canvas &canvas, const GraphView &view, uint32_t colour, int width,
                    const ConicCoefficients &k)
{
    for (long double v : {k.a, k.h, k.b, k.g, k.f, k.c})
        if (!finite(v))
            return;
    const long double a = k.a, h = k.h, b = k.b, g = k.g, f = k.f, c = k.c;
    const long double delta = a * b - h * h;
    const long double det = a * b * c + 2 * f * g * h - a * f * f - b * g * g - c * h * h;
    if (!finite(delta) || !finite(det))
        return;
    if (std::fabs(delta) >= kParabolicDelta)
        drawCentralConic(canvas, view, colour, width, k, delta, det);
    else
        drawParabolicConic(canvas, view, colour, width, k);
}

void drawEllipseCurve(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double x0,
                      long double y0, long double theta, long double p, long double q)
{
    if (!(p > 0) || !(q > 0) || !finite(p) || !finite(q) || !finite(x0) || !finite(y0) || !finite(theta))
        return;
    const long double A = std::sqrt(1 / p), B = std::sqrt(1 / q);
    // The angle step that moves the point by about a pixel diagonal.
    long double step = std::sqrt(2 * view.xPerPixel() * view.yPerPixel() / (A * B));
    if (!finite(step) || step <= 0 || !finite(A) || !finite(B))
        return;
    step = std::max(step, 2 * kPi / kMaxEllipsePoints);
    const long double ct = std::cos(theta), st = std::sin(theta);
    if (!ellipseMayShow(view, x0, y0, ct, st, A, B, p, q))
        return;
    const long double end = 2 * kPi + step;
    Stroke stroke{colour, width, true};
    for (long n = 0;; ++n) {
        long double phi = n * step;
        if (!(phi < end))
            break;
        long double u = A * std::cos(phi), v = B * std::sin(phi);
        lineToClamped(canvas, view, stroke, x0 + u * ct - v * st, y0 + u * st + v * ct);
    }
}

void drawHyperbolaCurve(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double x0,
                        long double y0, long double theta, long double p, long double q)
{
    if (q < 0) {
        // Make q > 0 > p, so that v = ±√((1 − p·u²)/q) is real for every u.
        std::swap(p, q);
        theta += kPi / 2;
    }
    if (!(q > 0) || !(p < 0) || !finite(p) || !finite(q) || !finite(x0) || !finite(y0) || !finite(theta))
        return;
    const long double ct = std::cos(theta), st = std::sin(theta);
    long double lo, hi;
    projectCorners(view, x0, y0, ct, st, lo, hi);
    const long double start = lo - 2 * view.xPerPixel();
    long double step = view.xPerPixel();
    const long samples = sweepSamples(view, start, hi + view.xPerPixel(), step);
    for (int s : {-1, 1}) {
        Stroke stroke{colour, width, true};
        long double px = 0, py = 0;
        for (long n = 0; n < samples; ++n) {
            long double u = start + n * step;
            long double v = s * std::sqrt((1 - p * u * u) / q);
            long double x = x0 + u * ct - v * st, y = y0 + u * st + v * ct;
            if (!finite(x) || !finite(y)) {
                stroke.up = true;
                continue;
            }
            if (stroke.up)
                px = x, py = y;
            drawSegment(canvas, view, stroke, px, py, x, y);
            stroke.up = false;
            px = x;
            py = y;
        }
    }
}

void drawParabolaCurve(Canvas &canvas, const GraphView &view, uint32_t colour, long double a2, long double a1,
                       long double a0, long double cosine, long double sine)
{
    for (long double v : {a2, a1, a0, cosine, sine})
        if (!finite(v))
            return;
    long double lo, hi;
    projectCorners(view, 0, 0, cosine, sine, lo, hi);
    const long double start = lo - view.xPerPixel();
    long double step = view.xPerPixel();
    const long samples = sweepSamples(view, start, hi + view.xPerPixel(), step);
    Stroke stroke{colour, 1, true};
    for (long n = 0; n < samples; ++n) {
        long double u = start + n * step;
        long double v = (a2 * u + a1) * u + a0;
        lineToClamped(canvas, view, stroke, cosine * u - sine * v, sine * u + cosine * v);
    }
}

void lineToClamped(Canvas &canvas, const GraphView &view, Stroke &stroke, long double x, long double y)
{
    if (std::isnan(x) || std::isnan(y)) {
        stroke.up = true;
        return;
    }
    bool clamped = false;
    auto clamp = [&clamped](long double &v, long double lo, long double hi) {
        if (v < lo) {
            v = lo;
            clamped = true;
        } else if (v > hi) {
            v = hi;
            clamped = true;
        }
    };
    clamp(x, view.xmin() - kClampDistance, view.xmax() + kClampDistance);
    clamp(y, view.ymin() - kClampDistance, view.ymax() + kClampDistance);
    canvas.setPenWidth(stroke.width);
    canvas.setPenColour(stroke.colour);
    const int px = view.xToPixel(x), py = view.yToPixel(y);
    if (!stroke.up) {
        canvas.lineTo(px, py);
        if (clamped)
            stroke.up = true;
    } else {
        canvas.moveTo(px, py);
        plotDotIfInside(canvas, view, stroke.colour, x, y);
        stroke.up = false;
    }
}

} // namespace gq
