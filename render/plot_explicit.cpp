#include "render/plot_explicit.h"

#include "engine/engine.h"
#include "render/axes.h"
#include "render/primitives.h"
#include <cmath>

namespace gq
{

namespace
{

// One sample of the curve: f evaluated with the swept variable at t, the
// other coordinate 0. evalValid tells whether it is defined.
long double sample(ExprNode *tree, long double t, bool swap)
{
    evalValid = true;
    return swap ? evaluate(tree, 0, t) : evaluate(tree, t, 0);
}

// A segment between two curve points given as (swept variable, value).
void curveSegment(Canvas &canvas, const GraphView &view, uint32_t colour, int width, bool swap,
                  long double t1, long double v1, long double t2, long double v2)
{
    if (swap)
        drawSegment(canvas, view, colour, width, v1, t1, v2, t2);
    else
        drawSegment(canvas, view, colour, width, t1, v1, t2, v2);
}

// The tree of a formula text as the plotter evaluates it, or null.
ExprNode *prepareTree(const std::string &text, bool canonical)
{
    parseOK = true;
    parseFormula(text, ParseCheck);
    if (!parseOK)
        return nullptr;
    ExprNode *tree = parseFormula(text, ParseBuild);
    if (!parseOK || !tree) {
        freeTree(tree);
        return nullptr;
    }
    expandSums(tree);
    simplify(tree, ParseBuild);
    if (canonical)
        tree = canonicaliseTree(tree);
    return tree;
}

} // namespace

void plotCurve(Canvas &canvas, const GraphView &view, const Item &item, bool swap,
               const std::string *derivativeBase)
{
    Tree tree(prepareTree(item.text[1], true));
    if (!tree)
        return;
    const float lo = static_cast<float>(swap ? view.ymin() : view.xmin());
    const float hi = static_cast<float>(swap ? view.ymax() : view.xmax());
    plotCurveSamples(canvas, view, item.colour, tree.get(), lo, hi, item.asymptote != 0, swap, derivativeBase,
                     item.penWidth);
}

void plotCurveSamples(Canvas &canvas, const GraphView &view, uint32_t colour, ExprNode *tree, float lo,
                      float hi, bool asymptote, bool swap, const std::string *derivativeBase, int penWidth)
{
    const long double h = swap ? view.yPerPixel() : view.xPerPixel();
    if (!tree || !(h > 0) || !std::isfinite(h) || !(lo < hi) || !std::isfinite(lo) || !std::isfinite(hi))
        return;
    // The derivative is shown only where the function it came from is defined.
    Tree base;
    if (derivativeBase) {
        base = parseForEvaluation(*derivativeBase);
        if (base) {
            ExprNode *b = base.release();
            simplify(b, ParseBuild);
            base.reset(b);
        }
    }
    const int jumpMode = tree->op == OpExp ? 2 : 1;

    poleSeen = true;
    bool baseDefined = true;
    long double t = lo;
    long double value = sample(tree, t, swap);
    bool defined = evalValid;
    // One sample per pixel; the bound only matters if rounding of t stalls.
    const long double wanted = std::ceil((static_cast<long double>(hi) - lo) / h) + 2;
    const long maxSamples = wanted < 1e7L ? static_cast<long>(wanted) : 10000000L;
    for (long n = 0; static_cast<float>(t) < hi && n < maxSamples; ++n, t += h) {
        const bool prevDefined = defined;
        if (base) {
            sample(base.get(), t, swap);
            baseDefined = evalValid;
        }
        const long double prevValue = value;
        value = sample(tree, t, swap);
        defined = evalValid;
        const bool jump = tree->poleCross != 0;

        if (prevDefined && defined) {
            if (!baseDefined) {
                poleSeen = true;
                continue;
            }
            // A jump between the samples must never be bridged, whether or not
            // the evaluator raised the pen for it.
            if (jump)
                poleSeen = true;
            curveSegment(canvas, view, colour, penWidth, swap, t - h, prevValue, t, value);
            poleSeen = false;
            if (jump) {
                drawJump(canvas, view, asymptote, jumpMode, t - h, t, prevValue, value, true, true, colour,
                         swap);
                poleSeen = false;
            }
        } else if (defined) { // entering the domain
            if (jump)
                drawJump(canvas, view, asymptote, jumpMode, t - 2 * h, t, prevValue, value, false, true,
                         colour, swap);
            else
                refineDomainEdge(tree, canvas, view, colour, t - h, t, value, penWidth, swap);
            poleSeen = false;
        } else if (prevDefined) { // leaving the domain
            if (jump)
                drawJump(canvas, view, asymptote, jumpMode, t - h, t + h, prevValue, value, true, false,
                         colour, swap);
            else
                refineDomainEdge(tree, canvas, view, colour, t, t - h, prevValue, penWidth, swap);
            poleSeen = true;
        } else {
            poleSeen = true;
        }
    }
}

void refineDomainEdge(ExprNode *tree, Canvas &canvas, const GraphView &view, uint32_t colour, long double a,
                      long double b, long double v, int width, bool swap)
{
    const long double b0 = b;
    long double last = v, m = b;
    for (int i = 0; i < 16; ++i) {
        m = (a + b) * 0.5L;
        const long double value = sample(tree, m, swap);
        if (!evalValid) {
            a = m;
        } else {
            b = m;
            last = value;
        }
    }
    poleSeen = false;
    // The end is pushed one pixel on in the direction the curve is heading.
    const long double pixel = swap ? view.xPerPixel() : view.yPerPixel();
    const long double end = last + signOf(last - v) * pixel;
    curveSegment(canvas, view, colour, width, swap, b0, v, m, end);
}

void drawJump(Canvas &canvas, const GraphView &view, bool asymptote, int jumpMode, long double xa,
              long double xb, long double va, long double vb, bool prevDefined, bool curDefined,
              uint32_t colour, bool swap)
{
    poleSeen = false;
    if (jumpMode == 1) {
        const long double top = swap ? view.xmax() : view.ymax();
        const long double bottom = swap ? view.xmin() : view.ymin();
        if (prevDefined && va != 0)
            curveSegment(canvas, view, colour, 1, swap, xa, va, xa, va > 0 ? top : bottom);
        if (curDefined && vb != 0)
            curveSegment(canvas, view, colour, 1, swap, xb, vb > 0 ? top : bottom, xb, vb);
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
