// Implicit curves f(x, y) = 0: the cheapest exact method that fits the
// equation, and the general tracer for everything else.
#include "render/plot_implicit.h"

#include "engine/differentiate.h"
#include "engine/evaluate.h"
#include "engine/implicit_algebra.h"
#include "engine/parse.h"
#include "engine/print.h"
#include "render/implicit_internal.h"
#include "render/plot_explicit.h"

#include <cmath>

namespace
{

// F and the partial derivatives the classification and the tracer need.
struct ImplicitTrees {
    Tree F, Fx, Fy, Fxx, Fyy;
};

// The value of tree at (x, y); ok is false where it is undefined or NaN.
long double ValueAt(ExprNode *tree, long double x, long double y, bool &ok)
{
    EvalValid = true;
    long double v = Evaluate(tree, x, y);
    ok = EvalValid && !std::isnan(v);
    return v;
}

// Parses the equation, expands sums and strips the root layers that do not
// move its zeros; then differentiates. False when the text does not parse.
bool BuildTrees(const std::string &text, ImplicitTrees &t)
{
    t.F = ParseForEvaluation(text);
    if (!t.F)
        return false;
    ExprNode *f = t.F.release();
    StripRoot(f);
    t.F.reset(f);
    if (!t.F)
        return false;
    t.Fy.reset(Differentiate(t.F.get(), OpY));
    t.Fx.reset(Differentiate(t.F.get(), OpX));
    t.Fxx.reset(Differentiate(t.Fx.get(), OpX));
    t.Fyy.reset(Differentiate(t.Fy.get(), OpY));
    return true;
}

// Total degree 1: c = F(0, 0), a = F(1, 0) − c, b = F(0, 1) − c.
void DrawStraightLine(Canvas &canvas, const GraphView &view, const Tfuncprop &item, ExprNode *F)
{
    bool ok0, ok1, ok2;
    long double c = ValueAt(F, 0, 0, ok0);
    long double a = ValueAt(F, 1, 0, ok1) - c;
    long double b = ValueAt(F, 0, 1, ok2) - c;
    if (ok0 && ok1 && ok2)
        drawImplicitLine(canvas, view, item.colour, item.penWidth, a, b, c);
}

// Total degree 2: the coefficients of a·x² + 2h·xy + b·y² + 2g·x + 2f·y + c
// from F and its first derivatives (which are linear).
void DrawConic(Canvas &canvas, const GraphView &view, const Tfuncprop &item, const ImplicitTrees &t)
{
    bool ok[6];
    ConicCoefficients k;
    k.c = ValueAt(t.F.get(), 0, 0, ok[0]);
    k.g = ValueAt(t.Fx.get(), 0, 0, ok[1]) / 2;
    k.f = ValueAt(t.Fy.get(), 0, 0, ok[2]) / 2;
    k.b = ValueAt(t.Fy.get(), 0, 1, ok[3]) / 2 - k.f;
    k.a = ValueAt(t.Fx.get(), 1, 0, ok[4]) / 2 - k.g;
    k.h = ValueAt(t.Fx.get(), 0, 1, ok[5]) / 2 - k.g;
    for (bool defined : ok)
        if (!defined)
            return;
    drawConicCurve(canvas, view, item.colour, item.penWidth, k);
}

// Linear in v (y, or x with swap): v = −F/F_v evaluated with v = 0, drawn
// by the explicit plotter along the other variable.
void DrawLinearBranch(Canvas &canvas, const GraphView &view, const Tfuncprop &item, const ImplicitTrees &t,
                      bool swap)
{
    // The text of the stripped tree, not the item's own: for (y − x)^2 the
    // branch must be solved from y − x, whose derivative the divisor is.
    Tfuncprop branch = item;
    branch.text[1] = "-(" + TreeToText(t.F.get()) + ")/(" + TreeToText(swap ? t.Fx.get() : t.Fy.get()) + ")";
    plotCurve(canvas, view, branch, swap);
}

// Quadratic in v: both roots, each drawn by the sampling loop with jumps
// marked, over the window's range of the other variable.
void DrawQuadraticBranches(Canvas &canvas, const GraphView &view, const Tfuncprop &item, ExprNode *F,
                           bool swap)
{
    const float lo = static_cast<float>(swap ? view.ymin() : view.xmin());
    const float hi = static_cast<float>(swap ? view.ymax() : view.xmax());
    for (int sign : {1, 2}) {
        Tree root(QuadraticRoot(F, swap ? OpX : OpY, sign));
        if (root)
            plotCurveSamples(canvas, view, item.colour, root.get(), lo, hi, true, swap, nullptr,
                             item.penWidth);
    }
}

bool NonZeroAt(ExprNode *tree, long double x, long double y)
{
    bool ok;
    long double v = ValueAt(tree, x, y, ok);
    return ok && v != 0;
}

} // namespace

void drawImplicitCurve(Canvas &canvas, const GraphView &view, const Tfuncprop &item)
{
    ImplicitTrees t;
    if (!BuildTrees(item.text[1], t))
        return;
    ExprNode *F = t.F.get();
    auto trace = [&] {
        traceImplicitGrid(canvas, view, item.colour, item.penWidth, F, t.Fx.get(), t.Fy.get());
    };

    const int total = PolynomialDegree(F, DegreeXY);
    if (total == 1) {
        DrawStraightLine(canvas, view, item, F);
        return;
    }
    if (total == 2) {
        DrawConic(canvas, view, item, t);
        return;
    }
    const int inY = PolynomialDegree(F, DegreeY);
    const int inX = PolynomialDegree(F, DegreeX);
    if (inY == 1) {
        if (NonZeroAt(t.Fy.get(), 0, 0))
            DrawLinearBranch(canvas, view, item, t, false);
        else
            trace();
    } else if (inY == 2 && NonZeroAt(t.Fyy.get(), 0, 1)) {
        DrawQuadraticBranches(canvas, view, item, F, false);
    } else if (inX == 1) {
        if (NonZeroAt(t.Fx.get(), 0, 0))
            DrawLinearBranch(canvas, view, item, t, true);
        else
            trace();
    } else if (inX == 2 && NonZeroAt(t.Fxx.get(), 1, 0)) {
        DrawQuadraticBranches(canvas, view, item, F, true);
    } else {
        trace();
    }
}
