// Small numeric helpers on 80-bit values, shared by the engine's passes, the
// plotters and the tools. They are forced inline: the evaluator calls them in
// its inner loop, where a call passing a long double through memory stalls.
#pragma once

#include <cmath>
#include <limits>

#define GQ_ALWAYS_INLINE [[gnu::always_inline]] inline

namespace gq
{

// Stands for an infinite result.
inline constexpr long double kBigValue = 1E4932L;

namespace numbers_detail
{
// Infinity as a float: loading it is much cheaper than loading an 80-bit
// constant (volatile, or the compiler compares with the largest 80-bit value
// instead).
inline volatile const float kInfinity = std::numeric_limits<float>::infinity();
} // namespace numbers_detail

// Neither infinite nor NaN.
GQ_ALWAYS_INLINE bool isFiniteValue(long double v)
{
    return std::fabs(v) < numbers_detail::kInfinity;
}

// -1, 0 or 1 (0 for NaN).
GQ_ALWAYS_INLINE int signOf(long double v)
{
    return (v > 0) - (v < 0);
}

// The nearest integer, halves to even. Rounding by adding and removing 2^63:
// exact in the default rounding mode, and much cheaper than the library's
// nearbyint on 80-bit values (which saves and restores the floating-point
// environment). Values beyond 2^63 are integral already; NaN stays NaN.
GQ_ALWAYS_INLINE long double roundHalfEven(long double v)
{
    constexpr long double kTwo63 = 9223372036854775808.0L;
    if (!(std::fabs(v) < kTwo63))
        return v;
    long double big = v < 0 ? -kTwo63 : kTwo63;
    return (v + big) - big; // the sum keeps 64 bits, so it rounds to an integer
}

// An integral value of at most 53 bits (so within int's range when it fits
// an int) as an int. Through double, which holds it exactly: converting an
// 80-bit value straight to an int switches the x87 rounding mode twice, which
// stalls the processor.
GQ_ALWAYS_INLINE int integralToInt(long double v)
{
    return static_cast<int>(static_cast<double>(v));
}

// v rounded toward zero, as an int, for |v| well within int's range (as
// static_cast<int>(v) gives it, without the switch of rounding mode). The
// conversion to double may round v across an integer, away from zero only
// by less than one: the one step back undoes that.
GQ_ALWAYS_INLINE int truncToInt(long double v)
{
    int t = static_cast<int>(static_cast<double>(v));
    if (v >= 0 ? t > v : t < v)
        t += v >= 0 ? -1 : 1;
    return t;
}

// A finite integral value.
GQ_ALWAYS_INLINE bool isIntegerValue(long double v)
{
    return isFiniteValue(v) && v == roundHalfEven(v);
}

// The Gauss bracket: the greatest integer not above v (so -2.5 gives -3 and
// -2 gives -2).
inline long double gaussFloor(long double v)
{
    return std::floor(v);
}

} // namespace gq
