#include "render/plot_parametric.h"

#include "engine/engine.h"
#include "render/primitives.h"
#include "render/sampling.h"
#include <cmath>
#include <utility>

namespace gq
{

namespace
{

// A coordinate (or its speed) at the t in the engine state.
long double at(Program &f, Stroke &stroke, bool &defined)
{
    const long double v = sampleOnStroke(f, 0, 0, stroke, defined);
    defined = defined && !std::isnan(v);
    return v;
}

} // namespace

void plotParametric(Canvas &canvas, const GraphView &view, const Item &item)
{
    Tree xTree = parseForEvaluation(item.text[1]);
    Tree yTree = parseForEvaluation(item.text[2]);
    if (!xTree || !yTree)
        return;
    Tree dxTree(differentiate(xTree.get(), OpT));
    Tree dyTree(differentiate(yTree.get(), OpT));
    if (!dxTree || !dyTree) // too complex to differentiate: not drawn
        return;
    Program x(xTree.get()), y(yTree.get()), dx(dxTree.get()), dy(dyTree.get());
    long double t1, t2;
    if (!formulaValue(item.text[3], t1) || !formulaValue(item.text[4], t2))
        return;
    if (t1 > t2)
        std::swap(t1, t2);

    const long double diag2 = view.xPerPixel() * view.xPerPixel() + view.yPerPixel() * view.yPerPixel();
    long double &tValue = engineState().variables.t;
    long double t = t1;
    tValue = t;
    // Each curve is a stroke of its own: it never joins whatever was drawn last.
    Stroke stroke{item.colour, item.penWidth, true};
    bool xd, yd;
    long double px = at(x, stroke, xd), py = at(y, stroke, yd);
    bool prevDefined = xd && yd;
    stroke.up = true;
    for (long n = 0; n < kMaxParametricSteps; ++n) {
        tValue = t;
        const long double cx = at(x, stroke, xd), cy = at(y, stroke, yd);
        long double step = 0.1L;
        if (xd && yd) {
            // After an undefined stretch the stroke starts afresh at this point.
            if (!prevDefined) {
                stroke.up = true;
                px = cx, py = cy;
            }
            drawSegment(canvas, view, stroke, cx, cy, px, py);
            stroke.up = false;
            bool d1, d2;
            const long double sx = at(dx, stroke, d1), sy = at(dy, stroke, d2);
            long double s = sx * sx + sy * sy;
            if (!(s >= 0.1L)) // also a NaN speed
                s = 0.1L;
            if (s > 100)
                s = 100;
            step = 2 * std::sqrt(diag2 / s);
            px = cx, py = cy;
            prevDefined = true;
        } else {
            prevDefined = false;
            stroke.up = true;
        }
        const long double next = t + step;
        if (!(next > t))
            break; // the step is lost against t: no progress is possible
        // The last point lies exactly on the upper bound.
        t = (next - step < t2 && next >= t2) ? t2 : next;
        if (!(t <= t2))
            break;
    }
}

void plotPolar(Canvas &canvas, const GraphView &view, const Item &item)
{
    Item curve = item;
    curve.text[1] = "(" + item.text[1] + ")*cos(t)";
    curve.text[2] = "(" + item.text[1] + ")*sin(t)";
    plotParametric(canvas, view, curve);
}

} // namespace gq
