// Implicit curves f(x, y) = 0: the cheapest exact method that fits the
// equation, and the general tracer for everything else.
#include "render/plot_implicit.h"

#include "engine/differentiate.h"
#include "engine/formula.h"
#include "engine/implicit_algebra.h"
#include "engine/print.h"
#include "render/implicit_internal.h"
#include "render/plot_explicit.h"

#include <cmath>

namespace gq
{

namespace
{

// F and the partial derivatives the classification and the tracer need, as
// trees (for the algebra) and compiled (for evaluation).
struct ImplicitTrees {
    Tree F, fx, fy, fxx, fyy;
    Program pF, pFx, pFy, pFxx, pFyy;
};

// The value of f at (x, y); ok is false where it is undefined or NaN.
long double valueAt(Program &f, long double x, long double y, bool &ok)
{
    EngineState &state = engineState();
    state.evalValid = true;
    long double v = f.evaluate(x, y);
    ok = state.evalValid && !std::isnan(v);
    return v;
}

// Parses the equation, expands sums and strips the root layers that do not
// move its zeros; then differentiates. False when the text does not parse.
bool buildTrees(const std::string &text, ImplicitTrees &t)
{
    t.F = parseForEvaluation(text);
    if (!t.F)
        return false;
    ExprNode *f = t.F.release();
    stripRoot(f);
    t.F.reset(f);
    if (!t.F)
        return false;
    t.fy.reset(differentiate(t.F.get(), OpY));
    t.fx.reset(differentiate(t.F.get(), OpX));
    if (!t.fx || !t.fy) // too complex to differentiate: not drawn
        return false;
    // The second derivatives only choose a method; where one is too complex
    // its empty Program reads as 0 and the general tracer draws the curve.
    t.fxx.reset(differentiate(t.fx.get(), OpX));
    t.fyy.reset(differentiate(t.fy.get(), OpY));
    t.pF = Program(t.F.get());
    t.pFx = Program(t.fx.get());
    t.pFy = Program(t.fy.get());
    t.pFxx = Program(t.fxx.get());
    t.pFyy = Program(t.fyy.get());
    return true;
}

// Total degree 1: c = F(0, 0), a = F(1, 0) − c, b = F(0, 1) − c.
void drawStraightLine(Canvas &canvas, const GraphView &view, const Item &item, Program &F)
{
    bool ok0, ok1, ok2;
    long double c = valueAt(F, 0, 0, ok0);
    long double a = valueAt(F, 1, 0, ok1) - c;
    long double b = valueAt(F, 0, 1, ok2) - c;
    if (ok0 && ok1 && ok2)
        drawImplicitLine(canvas, view, item.colour, item.penWidth, a, b, c);
}

// Total degree 2: the coefficients of a·x² + 2h·xy + b·y² + 2g·x + 2f·y + c
// from F and its first derivatives (which are linear).
void drawConic(Canvas &canvas, const GraphView &view, const Item &item, ImplicitTrees &t)
{
    bool ok[6];
    ConicCoefficients k;
    k.c = valueAt(t.pF, 0, 0, ok[0]);
    k.g = valueAt(t.pFx, 0, 0, ok[1]) / 2;
    k.f = valueAt(t.pFy, 0, 0, ok[2]) / 2;
    k.b = valueAt(t.pFy, 0, 1, ok[3]) / 2 - k.f;
    k.a = valueAt(t.pFx, 1, 0, ok[4]) / 2 - k.g;
    k.h = valueAt(t.pFx, 0, 1, ok[5]) / 2 - k.g;
    for (bool defined : ok)
        if (!defined)
            return;
    drawConicCurve(canvas, view, item.colour, item.penWidth, k);
}

// Linear in v (y, or x with swap): v = −F/F_v evaluated with v = 0, drawn
// by the explicit plotter along the other variable.
void drawLinearBranch(Canvas &canvas, const GraphView &view, const Item &item, const ImplicitTrees &t,
                      bool swap)
{
    // The text of the stripped tree, not the item's own: for (y − x)^2 the
    // branch must be solved from y − x, whose derivative the divisor is.
    Item branch = item;
    branch.text[1] = "-(" + treeToText(t.F.get()) + ")/(" + treeToText(swap ? t.fx.get() : t.fy.get()) + ")";
    plotCurve(canvas, view, branch, swap);
}

// Quadratic in v: both roots, each drawn by the sampling loop with jumps
// marked, over the window's range of the other variable.
void drawQuadraticBranches(Canvas &canvas, const GraphView &view, const Item &item, ExprNode *F, bool swap)
{
    const float lo = static_cast<float>(swap ? view.ymin() : view.xmin());
    const float hi = static_cast<float>(swap ? view.ymax() : view.xmax());
    for (int sign : {1, 2}) {
        Tree root(quadraticRoot(F, swap ? OpX : OpY, sign));
        if (!root)
            continue;
        Program branch(root.get());
        plotCurveSamples(canvas, view, item.colour, branch, lo, hi, true, swap, nullptr, item.penWidth);
    }
}

bool nonZeroAt(Program &f, long double x, long double y)
{
    bool ok;
    long double v = valueAt(f, x, y, ok);
    return ok && v != 0;
}

} // namespace

void drawImplicitCurve(Canvas &canvas, const GraphView &view, const Item &item)
{
    ImplicitTrees t;
    if (!buildTrees(item.text[1], t))
        return;
    ExprNode *F = t.F.get();
    auto trace = [&] { traceImplicitGrid(canvas, view, item.colour, item.penWidth, t.pF, t.pFx, t.pFy, F); };

    const int total = polynomialDegree(F, DegreeXY);
    if (total == 1) {
        drawStraightLine(canvas, view, item, t.pF);
        return;
    }
    if (total == 2) {
        drawConic(canvas, view, item, t);
        return;
    }
    const int inY = polynomialDegree(F, DegreeY);
    const int inX = polynomialDegree(F, DegreeX);
    if (inY == 1) {
        if (nonZeroAt(t.pFy, 0, 0))
            drawLinearBranch(canvas, view, item, t, false);
        else
            trace();
    } else if (inY == 2 && nonZeroAt(t.pFyy, 0, 1)) {
        drawQuadraticBranches(canvas, view, item, F, false);
    } else if (inX == 1) {
        if (nonZeroAt(t.pFx, 0, 0))
            drawLinearBranch(canvas, view, item, t, true);
        else
            trace();
    } else if (inX == 2 && nonZeroAt(t.pFxx, 1, 0)) {
        drawQuadraticBranches(canvas, view, item, F, true);
    } else {
        trace();
    }
}

} // namespace gq
