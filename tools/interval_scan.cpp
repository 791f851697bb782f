#include "tools/interval_scan.h"

#include "engine/differentiate.h"
#include "engine/formula.h"
#include "engine/numbers.h"
#include <cmath>
#include <utility>

namespace gq
{

bool adjustInterval(IntervalState &interval, IntervalAdjust mode, long double h)
{
    long double &a = interval.lower;
    long double &b = interval.upper;
    const bool ordered = a < b;
    switch (mode) {
    case IntervalAdjust::LowerMinus:
        a -= h;
        return true;
    case IntervalAdjust::LowerPlus:
        if (!ordered)
            return false;
        a += h;
        return true;
    case IntervalAdjust::UpperMinus:
        if (!ordered)
            return false;
        b -= h;
        return true;
    case IntervalAdjust::UpperPlus:
        b += h;
        return true;
    case IntervalAdjust::Left:
        a -= h;
        b -= h;
        return true;
    case IntervalAdjust::Right:
        a += h;
        b += h;
        return true;
    }
    return false;
}

namespace
{

// Walks of more columns than this are shortened by a multiplication: the
// columns are the same up to the rounding of the sums.
constexpr long double kLongWalk = 4096;

// The value of f at x, or false when it is undefined.
bool valueAt(Program &f, long double x, long double &y)
{
    EngineState &state = engineState();
    state.evalValid = true;
    y = f.evaluate(x, 0);
    return state.evalValid;
}

// The sign of the derivative at x; an undefined value counts as 0 (the
// evaluator answers 0 for it).
int slopeSign(Program &df, long double x)
{
    engineState().evalValid = true;
    return signOf(df.evaluate(x, 0));
}

// The first pixel column of the frame at or right of a (xmin when a lies
// left of the frame).
long double firstColumn(long double xmin, long double h, long double a)
{
    long double x = xmin;
    const long double columns = (a - xmin) / h;
    if (columns > kLongWalk)
        x = xmin + (std::floor(columns) - 2) * h;
    while (x < a) {
        const long double next = x + h;
        if (!(next > x)) // h is below the resolution of x
            return a;
        x = next;
    }
    return x;
}

} // namespace

Extrema scanExtrema(Program &f, Program &df, long double a, long double b, const GraphView &view)
{
    Extrema out;
    const long double h = view.xPerPixel();
    const long double ypp = view.yPerPixel();
    long double ya, yb;
    if (!valueAt(f, a, ya) || !valueAt(f, b, yb)) {
        out.outcome = ScanOutcome::Undefined;
        return out;
    }
    // maxima / minima start as the lists of a and b; they swap below when b
    // is the higher end.
    std::vector<ExtremumPoint> maxima{{a, ya}}, minima{{b, yb}};
    if (std::fabs(ya - yb) < 0.1L * ypp) {
        maxima.push_back({b, ya});
        minima.push_back({a, yb});
    }
    if (yb > ya) {
        std::swap(ya, yb);
        std::swap(maxima, minima);
    }
    long double top = ya, bottom = yb;

    long double x = firstColumn(view.xmin(), h, a);
    if (x < b && (b - x) / h > kMaxScanSamples) {
        out.outcome = ScanOutcome::TooWide;
        return out;
    }
    int s = slopeSign(df, view.xmin());
    while (x < b) {
        const int sPrev = s;
        const long double next = x + h;
        if (!(next > x)) // h is below the resolution of x: take b at once
            x = b;
        else
            x = next > b ? b : next;
        long double y;
        if (!valueAt(f, x, y)) {
            out.outcome = ScanOutcome::Undefined;
            return out;
        }
        s = slopeSign(df, x);
        const bool turning = sPrev * s <= 0;
        if (std::fabs(top - y) < ypp && turning)
            maxima.push_back({x, top});
        else if (y > top)
            top = y, maxima.assign(1, {x, top});
        if (std::fabs(y - bottom) < ypp && turning)
            minima.push_back({x, bottom});
        else if (y < bottom)
            bottom = y, minima.assign(1, {x, bottom});
    }
    if (top > view.ymax())
        maxima.clear();
    if (bottom < view.ymin())
        minima.clear();
    out.outcome = ScanOutcome::Marked;
    out.maxima = std::move(maxima);
    out.minima = std::move(minima);
    return out;
}

Extrema scanExtrema(const std::string &formula, long double a, long double b, const GraphView &view)
{
    Tree tree = parseCurveFormula(formula);
    if (!tree)
        return {};
    bool cutShort = false;
    Tree derivative(differentiate(tree.get(), OpX, &cutShort));
    if (cutShort)
        return {};
    Program f(tree.get());
    Program df(derivative.get());
    return scanExtrema(f, df, a, b, view);
}

} // namespace gq
