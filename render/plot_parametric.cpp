#include "render/plot_parametric.h"

#include "engine/engine.h"
#include "render/primitives.h"
#include <cmath>

namespace
{

long double At(ExprNode *tree, bool &defined)
{
    EvalValid = true;
    const long double v = Evaluate(tree, 0, 0);
    defined = EvalValid && !std::isnan(v);
    return v;
}

} // namespace

void plotParametric(Canvas &canvas, const GraphView &view, const Tfuncprop &item)
{
    Tree x = ParseForEvaluation(item.text[1]);
    Tree y = ParseForEvaluation(item.text[2]);
    if (!x || !y)
        return;
    Tree dx(Differentiate(x.get(), OpT));
    Tree dy(Differentiate(y.get(), OpT));
    long double t1, t2;
    if (!FormulaValue(item.text[3], t1) || !FormulaValue(item.text[4], t2))
        return;
    if (t1 > t2)
        SwapValues(t1, t2);

    const long double diag2 = view.XPerPixel() * view.XPerPixel() + view.YPerPixel() * view.YPerPixel();
    long double t = t1;
    VariableTable.t = t;
    bool xd, yd;
    long double px = At(x.get(), xd), py = At(y.get(), yd);
    bool prevDefined = xd && yd;
    // Each curve is a stroke of its own: it never joins whatever was drawn last.
    PoleSeen = true;
    for (long n = 0; n < kMaxParametricSteps; ++n) {
        VariableTable.t = t;
        const long double cx = At(x.get(), xd), cy = At(y.get(), yd);
        long double step = 0.1L;
        if (xd && yd) {
            // After an undefined stretch the stroke starts afresh at this point.
            if (!prevDefined) {
                PoleSeen = true;
                px = cx, py = cy;
            }
            drawSegment(canvas, view, item.colour, item.penWidth, cx, cy, px, py);
            PoleSeen = false;
            bool d1, d2;
            const long double sx = At(dx.get(), d1), sy = At(dy.get(), d2);
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
            PoleSeen = true;
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

void plotPolar(Canvas &canvas, const GraphView &view, const Tfuncprop &item)
{
    Tfuncprop curve = item;
    curve.text[1] = "(" + item.text[1] + ")*cos(t)";
    curve.text[2] = "(" + item.text[1] + ")*sin(t)";
    plotParametric(canvas, view, curve);
}
