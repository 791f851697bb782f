#include "render/plot_explicit.h"

#include "engine/engine.h"
#include "render/axes.h"
#include "render/primitives.h"
#include "render/sampling.h"
#include <cmath>
#include <optional>

namespace gq
{

namespace
{

// One sample of the curve: f evaluated with the swept variable at t, the
// other coordinate 0.
long double sample(Program &f, long double t, bool swap, Stroke &stroke, bool &defined)
{
    return swap ? sampleOnStroke(f, 0, t, stroke, defined) : sampleOnStroke(f, t, 0, stroke, defined);
}

// A segment between two curve points given as (swept variable, value).
void curveSegment(Canvas &canvas, const GraphView &view, const Stroke &stroke, bool swap, long double t1,
                  long double v1, long double t2, long double v2)
{
    if (swap)
        drawSegment(canvas, view, stroke, v1, t1, v2, t2);
    else
        drawSegment(canvas, view, stroke, t1, v1, t2, v2);
}

} // namespace

void plotCurve(Canvas &canvas, const GraphView &view, const Item &item, bool swap,
               const std::string *derivativeBase)
{
    Tree tree = parseCurveFormula(item.text[1]);
    if (!tree)
        return;
    Program f(tree.get());
    const float lo = static_cast<float>(swap ? view.ymin() : view.xmin());
    const float hi = static_cast<float>(swap ? view.ymax() : view.xmax());
    plotCurveSamples(canvas, view, item.colour, f, lo, hi, item.asymptote != 0, swap, derivativeBase,
                     item.penWidth);
}

void plotCurveSamples(Canvas &canvas, const GraphView &view, uint32_t colour, Program &f, float lo, float hi,
                      bool asymptote, bool swap, const std::string *derivativeBase, int penWidth)
{
    const long double h = swap ? view.yPerPixel() : view.xPerPixel();
    if (f.empty() || !(h > 0) || !std::isfinite(h) || !(lo < hi) || !std::isfinite(lo) || !std::isfinite(hi))
        return;
    // The derivative is shown only where the function it came from is defined.
    std::optional<Program> base;
    if (derivativeBase) {
        if (Tree b = parseForEvaluation(*derivativeBase)) {
            ExprNode *raw = b.release();
            simplify(raw, ParseBuild);
            b.reset(raw);
            base.emplace(b.get());
        }
    }
    const int jumpMode = f.rootOp() == OpExp ? 2 : 1;

    Stroke stroke{colour, penWidth, true};
    bool baseDefined = true;
    long double t = lo;
    bool defined;
    long double value = sample(f, t, swap, stroke, defined);
    // One sample per pixel; the bound only matters if rounding of t stalls.
    const long double wanted = std::ceil((static_cast<long double>(hi) - lo) / h) + 2;
    const long maxSamples = wanted < 1e7L ? static_cast<long>(wanted) : 10000000L;
    for (long n = 0; static_cast<float>(t) < hi && n < maxSamples; ++n, t += h) {
        const bool prevDefined = defined;
        if (base)
            sample(*base, t, swap, stroke, baseDefined);
        const long double prevValue = value;
        value = sample(f, t, swap, stroke, defined);
        const bool jump = f.poleCrossed();

        if (prevDefined && defined) {
            if (!baseDefined) {
                stroke.up = true;
                continue;
            }
            // A jump between the samples must never be bridged, whether or not
            // the evaluator raised the pen for it.
            if (jump)
                stroke.up = true;
            curveSegment(canvas, view, stroke, swap, t - h, prevValue, t, value);
            stroke.up = false;
            if (jump)
                drawJump(canvas, view, asymptote, jumpMode, t - h, t, prevValue, value, true, true, colour,
                         swap);
        } else if (defined) { // entering the domain
            if (jump)
                drawJump(canvas, view, asymptote, jumpMode, t - 2 * h, t, prevValue, value, false, true,
                         colour, swap);
            else
                refineDomainEdge(f, canvas, view, colour, t - h, t, value, penWidth, swap);
            stroke.up = false;
        } else if (prevDefined) { // leaving the domain
            if (jump)
                drawJump(canvas, view, asymptote, jumpMode, t - h, t + h, prevValue, value, true, false,
                         colour, swap);
            else
                refineDomainEdge(f, canvas, view, colour, t, t - h, prevValue, penWidth, swap);
            stroke.up = true;
        } else {
            stroke.up = true;
        }
    }
}

void refineDomainEdge(Program &f, Canvas &canvas, const GraphView &view, uint32_t colour, long double a,
                      long double b, long double v, int width, bool swap)
{
    const long double b0 = b;
    long double last = v, m = b;
    // The bisection's own pole reports do not matter: the closing segment is
    // drawn with the pen down.
    Stroke stroke{colour, width, true};
    for (int i = 0; i < 16; ++i) {
        m = (a + b) * 0.5L;
        bool defined;
        const long double value = sample(f, m, swap, stroke, defined);
        if (!defined) {
            a = m;
        } else {
            b = m;
            last = value;
        }
    }
    stroke.up = false;
    // The end is pushed one pixel on in the direction the curve is heading.
    const long double pixel = swap ? view.xPerPixel() : view.yPerPixel();
    const long double end = last + signOf(last - v) * pixel;
    curveSegment(canvas, view, stroke, swap, b0, v, m, end);
}

void drawJump(Canvas &canvas, const GraphView &view, bool asymptote, int jumpMode, long double xa,
              long double xb, long double va, long double vb, bool prevDefined, bool curDefined,
              uint32_t colour, bool swap)
{
    if (jumpMode == 1) {
        const Stroke run{colour, 1, false};
        const long double top = swap ? view.xmax() : view.ymax();
        const long double bottom = swap ? view.xmin() : view.ymin();
        if (prevDefined && va != 0)
            curveSegment(canvas, view, run, swap, xa, va, xa, va > 0 ? top : bottom);
        if (curDefined && vb != 0)
            curveSegment(canvas, view, run, swap, xb, vb > 0 ? top : bottom, xb, vb);
    }
    if (asymptote) {
        const long double mid = (xa + xb) * 0.5L;
        if (std::isnan(mid))
            return;
        const int n = view.graphSize();
        canvas.setPenStyle(PenStyle::Dotted);
        canvas.setPenColour(kAsymptoteColour);
        canvas.setPenWidth(1);
        if (swap) {
            const int py = view.yToPixel(mid);
            canvas.moveTo(0, py);
            canvas.lineTo(n, py);
        } else {
            const int px = view.xToPixel(mid);
            canvas.moveTo(px, 0);
            canvas.lineTo(px, n);
        }
        canvas.setPenStyle(PenStyle::Solid);
    }
}

} // namespace gq
