#include "render/plot_parametric.h"

#include "engine/engine.h"
#include "render/primitives.h"
#include <cmath>

namespace gq
{

namespace
{

long double at(ExprNode *tree, bool &defined)
{
    evalValid = true;
    const long double v = evaluate(tree, 0, 0);
    defined = evalValid && !std::isnan(v);
    return v;
}

} // namespace

void plotParametric(Canvas &canvas, const GraphView &view, const Item &item)
{
    Tree x = parseForEvaluation(item.text[1]);
    Tree y = parseForEvaluation(item.text[2]);
    if (!x || !y)
        return;
    Tree dx(differentiate(x.get(), OpT));
    Tree dy(differentiate(y.get(), OpT));
    long double t1, t2;
    if (!formulaValue(item.text[3], t1) || !formulaValue(item.text[4], t2))
        return;
    if (t1 > t2)
        swapValues(t1, t2);

    const long double diag2 = view.xPerPixel() * view.xPerPixel() + view.yPerPixel() * view.yPerPixel();
    long double t = t1;
    variableTable.t = t;
    bool xd, yd;
    long double px = at(x.get(), xd), py = at(y.get(), yd);
    bool prevDefined = xd && yd;
    // Each curve is a stroke of its own: it never joins whatever was drawn last.
    poleSeen = true;
    for (long n = 0; n < kMaxParametricSteps; ++n) {
        variableTable.t = t;
        const long double cx = at(x.get(), xd), cy = at(y.get(), yd);
        long double step = 0.1L;
        if (xd && yd) {
            // After an undefined stretch the stroke starts afresh at this point.
            if (!prevDefined) {
                poleSeen = true;
                px = cx, py = cy;
            }
            drawSegment(canvas, view, item.colour, item.penWidth, cx, cy, px, py);
            poleSeen = false;
            bool d1, d2;
            const long double sx = at(dx.get(), d1), sy = at(dy.get(), d2);
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
            poleSeen = true;
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
