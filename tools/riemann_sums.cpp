#include "tools/riemann_sums.h"

#include "engine/formula.h"
#include "engine/numbers.h"
#include <algorithm>
#include <cmath>

namespace gq
{

int stepDivisions(int n, bool increase)
{
    // The products and the quotient in 80-bit precision, before rounding.
    long double step = 1;
    if (n >= 100)
        step = roundHalfEven(n * 0.01L) * 10;
    else if (n >= 20)
        step = roundHalfEven(n * 0.1L);
    long double next = roundHalfEven(n / step) * step;
    next += increase ? step : -step;
    if (next <= 1)
        return 2;
    return next > kMaxDivisions ? kMaxDivisions : static_cast<int>(next);
}

namespace
{

// f at x; false when undefined.
bool valueAt(Program &f, long double x, long double &y)
{
    EngineState &state = engineState();
    state.evalValid = true;
    y = f.evaluate(x, 0);
    return state.evalValid;
}

// The largest and smallest value on the strip: its ends, then samples from
// xl in steps of s while below xr.
bool stripExtremes(Program &f, Strip &s, long double pixel, long maxSamples, long double &high,
                   long double &low)
{
    long double p, q;
    if (!valueAt(f, s.xl, p) || !valueAt(f, s.xr, q))
        return false;
    high = std::max(p, q);
    low = std::min(p, q);
    long double step = std::min(s.dx * 0.1L, pixel);
    if (maxSamples > 0 && s.dx / step > maxSamples)
        step = s.dx / maxSamples;
    for (long double x = s.xl; x < s.xr;) {
        long double y;
        if (!valueAt(f, x, y))
            return false;
        high = std::max(high, y);
        low = std::min(low, y);
        const long double next = x + step;
        if (!(next > x)) // a step below the resolution of x
            break;
        x = next;
    }
    return true;
}

} // namespace

Strip computeStrip(Program &f, SumKind kind, long double xl, long double xr, long double dx,
                   long double pixel, long maxSamples)
{
    Strip s;
    s.xl = xl;
    s.xr = xr;
    s.dx = dx;
    switch (kind) {
    case SumKind::Upper:
    case SumKind::Lower: {
        long double high = 0, low = 0;
        s.defined = s.drawable = stripExtremes(f, s, pixel, maxSamples, high, low);
        if (s.defined) {
            s.height = kind == SumKind::Upper ? high : low;
            s.area = s.height * dx;
        }
        break;
    }
    case SumKind::Trapezoid:
        s.defined = s.drawable = valueAt(f, xl, s.fl) && valueAt(f, xr, s.fr);
        if (s.defined)
            s.area = dx * (s.fl + s.fr) * 0.5L;
        break;
    case SumKind::Simpson: {
        s.drawable = valueAt(f, xl, s.fl) && valueAt(f, xr, s.fr);
        if (!s.drawable)
            break;
        s.defined = valueAt(f, (xl + xr) * 0.5L, s.fm);
        s.area = (s.fl + 4 * s.fm + s.fr) * dx / 6;
        break;
    }
    case SumKind::None:
        break;
    }
    return s;
}

SumResult riemannSum(Program &f, SumKind kind, long double a, long double b, int n, long double pixel,
                     const std::function<void(const Strip &)> &onStrip)
{
    SumResult result;
    if (kind == SumKind::None || n < 1)
        return result;
    const long maxSamples = std::max(10L, kMaxSumSamples / n);
    long double dx = (b - a) / n;
    long double xl = a, xr = a + dx;
    for (int i = 1; i <= n; ++i) {
        if (i == n) { // the last strip ends exactly at b
            xr = b;
            dx = b - xl;
        }
        const Strip strip = computeStrip(f, kind, xl, xr, dx, pixel, maxSamples);
        if (onStrip)
            onStrip(strip);
        if (!strip.defined) {
            result.defined = false;
            return result;
        }
        result.sum += strip.area;
        xl = xr;
        xr = xl + dx;
    }
    return result;
}

long double simpsonParabola(const Strip &s, long double x)
{
    const long double xl = s.xl, xr = s.xr, xm = (s.xl + s.xr) * 0.5L;
    const long double w = xr - xl;
    return 2 * ((x - xm) * (x - xr) * s.fl + (x - xl) * (x - xm) * s.fr - 2 * (x - xl) * (x - xr) * s.fm) /
           (w * w);
}

bool boundValue(const std::string &text, float &bound)
{
    Tree tree = parseForEvaluation(text);
    if (!tree)
        return false;
    Program program(tree.get());
    long double value;
    if (!valueAt(program, 0, value))
        return false;
    const float rounded = static_cast<float>(value);
    if (!std::isfinite(rounded))
        return false;
    bound = rounded;
    return true;
}

} // namespace gq
