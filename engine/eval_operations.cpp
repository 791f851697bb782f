// The rare and out-of-line cases of the evaluator's operations.
#include "engine/eval_operations.h"

#include <limits>

namespace gq
{

// Out of line, so that the argument is copied from memory as bytes.
long double eval_detail::callWith(long double (*f)(long double), const long double *arg)
{
    return f(*arg);
}

[[gnu::cold]] long double eval_detail::largeIntegerPower(long double base, long double n)
{
    long double a = std::fabs(base);
    if (n >= 18446744073709551615.0L) {
        // Beyond 2^64 every long double integer is even.
        return a > 1 ? HUGE_VALL : (a == 1 ? 1.0L : 0.0L);
    }
    unsigned long long e = static_cast<unsigned long long>(n);
    long double r = 1, b = base;
    while (e) {
        if (e & 1)
            r *= b;
        e >>= 1;
        if (e)
            b *= b;
        if (std::isinf(r) || (r == 0 && base != 0))
            break;
    }
    return r;
}

// The parts of a fraction exponent keep their values in their slots (their
// needs say so), numbers always.
[[gnu::cold]] long double eval_detail::negativeBasePower(const Step *exponent, long double base,
                                                         long double e)
{
    const Step &r = *exponent;
    if (r.op != OpDivide || r.leftCode->op == kBlankOp || r.rightCode->op == kBlankOp)
        return std::numeric_limits<long double>::quiet_NaN();
    const long double p = r.left->value, q = r.right->value;
    if (isIntegerValue(p) && isIntegerValue(q) && std::fmod(roundHalfEven(q), 2.0L) != 0) {
        long double v = powerOf(base, e);
        return std::fmod(roundHalfEven(p), 2.0L) == 0 ? v : -v;
    }
    return std::numeric_limits<long double>::quiet_NaN();
}

[[gnu::cold]] long double eval_detail::factorial(long double x)
{
    if (x < 0)
        return std::numeric_limits<long double>::quiet_NaN();
    if (x == 0)
        return 1;
    long double n = roundHalfEven(x);
    if (n > kFactorialLimit)
        return kBigValue;
    long double r = 1;
    for (long double k = 2; k <= n; k += 1)
        r *= k;
    return r;
}

} // namespace gq
