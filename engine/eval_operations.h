// The operations of the evaluator: the value and flags of one operation node
// from its operands' values. Internal to the evaluator (eval_thread.cpp),
// which inlines them into its evaluation loop.
//
// Every helper here is forced inline and passes no long double to a function
// that is not: an 80-bit value stored to memory and loaded back soon after
// stalls the processor (such stores are not forwarded to loads), and the
// calling convention passes long double arguments through memory.
#pragma once

#include "engine/evaluate.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#define EVAL_INLINE [[gnu::always_inline]] inline

namespace eval_detail
{
// Largest argument of exp that stays finite in 80-bit arithmetic.
inline constexpr long double kExpLimit = 11356.5L;
// Largest n whose factorial is finite in 80-bit arithmetic.
inline constexpr long double kFactorialLimit = 1754;
inline constexpr long double kExpUnderflowValue = 3.0E-4932L;

// Infinity as a float: loading it is much cheaper than loading an 80-bit
// constant (volatile, or the compiler compares with the largest 80-bit
// value instead).
inline volatile const float kInfinity = std::numeric_limits<float>::infinity();

// Neither infinite nor NaN.
EVAL_INLINE bool IsFinite(long double v)
{
    return std::fabs(v) < kInfinity;
}

EVAL_INLINE int Sign(long double v)
{
    return (v > 0) - (v < 0);
}

// Rounding by adding and removing 2^63: exact, halves to even in the default
// rounding mode, and much cheaper than the library's nearbyint on 80-bit values
// (which saves and restores the floating-point environment).
EVAL_INLINE long double RoundToInteger(long double v)
{
    constexpr long double kTwo63 = 9223372036854775808.0L;
    if (!(std::fabs(v) < kTwo63))
        return v; // already integral, or not a number
    long double big = v < 0 ? -kTwo63 : kTwo63;
    return (v + big) - big; // the sum keeps 64 bits, so it rounds to an integer
}

EVAL_INLINE bool IsInteger(long double v)
{
    return IsFinite(v) && v == RoundToInteger(v);
}

// The result of one operation: its value, or undefined (ok false). For the
// operations that compare the sign of their result with the previous one,
// sign is the new sign, which the caller stores with the value; tan, sec,
// cosec and cotan leave their operand's class there (see TrigClass).
struct Outcome {
    bool ok = true;
    int8_t sign = 0;
    // The node's flags, stored with one write at the end of the step (a
    // later read of both flags at once is forwarded only from one store).
    uint8_t zero = 0, pole = 0;
    long double Undefined()
    {
        ok = false;
        return 0;
    }
};

// The rare cases, out of line. An undefined result comes back as NaN (which
// the evaluator turns into undefined), so that no state escapes the loop.
// base^n for an integral n > 32, by squaring, so that x^1000000000 costs a
// few dozen multiplications.
long double LargeIntegerPower(long double base, long double n);
// A negative base with a non-integral exponent: defined only for an odd root
// written as a fraction of integers p/q.
long double NegativeBasePower(const ExprNode *exponent, long double base, long double e);
long double Factorial(long double n);

// f(*arg), the argument passed by copying its bytes. A library function takes
// its long double argument through memory; copying a value that already sits
// in memory avoids an 80-bit store that the function's load would have to
// wait for (such a store is not forwarded, so the load waits until every
// earlier instruction has finished, and successive library calls no longer
// overlap).
long double CallWith(long double (*f)(long double), const long double *arg);

// f(R), where Rmem (when not null) holds R in memory.
EVAL_INLINE long double Apply(long double (*f)(long double), long double R, const long double *Rmem)
{
    return Rmem ? CallWith(f, Rmem) : f(R);
}

// base^n for an integral n >= 0. Small exponents multiply repeatedly, with a
// long double counter: converting an 80-bit value to an int is slow.
EVAL_INLINE long double IntegerPower(long double base, long double n)
{
    if (n == 2)
        return base * base;
    if (n > 32)
        return LargeIntegerPower(base, n);
    long double r = 1;
    for (long double k = 0; k < n; k += 1)
        r *= base;
    return r;
}

EVAL_INLINE long double PowerOf(long double base, long double e)
{
    return std::exp(e * std::log(std::fabs(base)));
}

EVAL_INLINE void CopyFlags(Outcome &out, const ExprNode *from)
{
    if (from) {
        out.zero = from->zeroCross;
        out.pole = from->poleCross;
    }
}

// The flags of a division, from the flags of its operands.
EVAL_INLINE void DivisionFlags(Outcome &out, const ExprNode *l, const ExprNode *r)
{
    bool lp = l && l->poleCross, rp = r && r->poleCross;
    bool lz = l && l->zeroCross, rz = r && r->zeroCross;
    bool z = false, p = false, seen = false;
    if (lp && rp) {
        seen = true;
    } else if (lp) {
        p = seen = true;
    } else if (rp) {
        z = seen = true;
    } else if (lz && rz) {
        seen = true;
    } else if (lz) {
        z = true;
    } else if (rz) {
        p = seen = true;
    }
    out.zero = z;
    out.pole = p;
    if (seen)
        PoleSeen = true;
}

EVAL_INLINE long double Power(ExprNode *n, const ExprNode *l, long double L, long double R, Outcome &out)
{
    if (R == 2) { // the commonest power, as the integer case below treats it
        CopyFlags(out, l);
        if (L == 0)
            out.zero = true;
        return L * L;
    }
    if (IsInteger(R)) {
        if (R < 0) {
            // A zero of the base becomes a pole of the power.
            out.zero = l && l->poleCross;
            out.pole = l && l->zeroCross;
            if (out.pole)
                PoleSeen = true;
            if (L == 0) {
                out.pole = true;
                PoleSeen = true;
                return out.Undefined();
            }
            return 1 / IntegerPower(L, -R);
        }
        if (R == 0)
            return 1;
        CopyFlags(out, l);
        if (L == 0) {
            out.zero = true;
            return 0;
        }
        return IntegerPower(L, R);
    }
    if (L < 0)
        return NegativeBasePower(n->right, L, R);
    if (L == 0) {
        if (R > 0) {
            out.zero = true;
            out.pole = false;
            return 0;
        }
        out.pole = true;
        PoleSeen = true;
        return out.Undefined();
    }
    CopyFlags(out, l);
    return PowerOf(L, R);
}

// Where a function's operand was at the previous call, as much of it as the
// function compares, kept in the node's sign field (0 stands for an operand
// of 0, as in a freshly built tree). For a logarithm: the operand's side of 0
// and 1. For tan, sec, cosec and cotan: the signs of the operand's sine and
// cosine (the sine in the low two bits, the cosine above).
EVAL_INLINE int8_t LogarithmClass(long double R)
{
    return R <= 0 ? 0 : R < 1 ? 1 : R == 1 ? 2 : 3;
}
EVAL_INLINE int8_t TrigClass(int sinSign, int cosSign)
{
    const int s = sinSign == 0 ? 0 : sinSign > 0 ? 1 : 2;
    const int c = cosSign > 0 ? 0 : cosSign == 0 ? 1 : 2;
    return static_cast<int8_t>(s | c << 2);
}
EVAL_INLINE int SinSignOf(int8_t trigClass)
{
    const int s = trigClass & 3;
    return s == 0 ? 0 : s == 1 ? 1 : -1;
}
EVAL_INLINE int CosSignOf(int8_t trigClass)
{
    const int c = trigClass >> 2;
    return c == 0 ? 1 : c == 1 ? 0 : -1;
}
constexpr bool IsLogarithm(int32_t op)
{
    return op == OpLog || op == OpBasedLog;
}
// The class of a number operand, which never changes.
inline int8_t OperandClassOf(int32_t op, long double value)
{
    if (IsLogarithm(op))
        return LogarithmClass(value);
    return TrigClass(Sign(std::sin(value)), Sign(std::cos(value)));
}

// The side of 1 of a logarithm's operand, from its LogarithmClass.
EVAL_INLINE int SideOfOne(int8_t logarithmClass)
{
    return logarithmClass == 3 ? 1 : logarithmClass == 2 ? 0 : -1;
}

// The natural logarithm of R with the flags of a logarithm: previous and
// current are the classes of the operand at the previous call and now.
EVAL_INLINE long double Logarithm(const ExprNode *r, long double R, const long double *Rmem, int8_t previous,
                                  int8_t current, Outcome &out)
{
    out.pole = r && (r->poleCross || r->zeroCross);
    if (current == 0) { // R <= 0
        if (previous > 0)
            out.pole = true;
        return out.Undefined();
    }
    if (current == 2 || SideOfOne(previous) * SideOfOne(current) < 0) // R == 1, or 1 passed
        out.zero = true;
    return Apply(logl, R, Rmem);
}

// A logarithm that overflows (only possible for extreme bases) is ±BigValue.
EVAL_INLINE long double LogarithmResult(long double v)
{
    if (__builtin_expect(!IsFinite(v), 0) && !std::isnan(v)) { // NaN is left to the caller
        LogInRange = false;
        return v > 0 ? BigValue : -BigValue;
    }
    return v;
}

// tan, sec, cosec and cotan compare the signs of the sine and cosine of their
// operand with those at the previous call (previous, a TrigClass), and leave
// the new signs in out.sign.
EVAL_INLINE long double Tangent(const ExprNode *r, long double R, int8_t previous, Outcome &out)
{
    long double s = std::sin(R), c = std::cos(R);
    const int ss = Sign(s), cs = Sign(c);
    out.sign = TrigClass(ss, cs);
    out.zero = r && r->zeroCross;
    if (c == 0)
        return out.Undefined();
    if (CosSignOf(previous) * cs <= 0) {
        out.pole = true;
        PoleSeen = true;
    }
    if (SinSignOf(previous) * ss <= 0)
        out.zero = true;
    long double v = s / c;
    if (v != 0 && std::fabs(v) < LDBL_MIN)
        return 0; // underflow
    return v;
}

EVAL_INLINE long double Secant(long double R, int8_t previous, Outcome &out)
{
    long double c = std::cos(R);
    const int cs = Sign(c);
    out.sign = TrigClass(0, cs);
    if (c == 0)
        return out.Undefined();
    if (CosSignOf(previous) * cs <= 0) {
        out.pole = true;
        PoleSeen = true;
    }
    return 1 / c;
}

EVAL_INLINE long double CosecantOrCotangent(int32_t op, const ExprNode *r, long double R, int8_t previous,
                                            Outcome &out)
{
    long double s = std::sin(R);
    // The cotangent compares the cosine's sign too, even where it is undefined.
    long double c = op == OpCotan ? std::cos(R) : 1;
    const int ss = Sign(s), cs = Sign(c);
    out.sign = TrigClass(ss, cs);
    out.pole = r && r->zeroCross;
    if (s == 0)
        return out.Undefined();
    if (SinSignOf(previous) * ss <= 0) {
        out.pole = true;
        PoleSeen = true;
    }
    if (op == OpCosec)
        return 1 / s;
    if (CosSignOf(previous) * cs < 0)
        out.zero = true;
    return c / s;
}

// The zero flag of an operation that compares the sign of its result with
// the sign of its result at the previous call (kept in the node).
EVAL_INLINE bool SignChanged(const ExprNode *n, long double v, Outcome &out)
{
    out.sign = static_cast<int8_t>(Sign(v));
    return out.sign * n->sign <= 0;
}

// The operation op of node n on its operands' values L and R. previous is the
// class of the right operand at the previous call, where the operation reads it;
// the node's own value is still the previous one. With a constant op the
// switch folds away.
EVAL_INLINE long double Compute(int32_t op, ExprNode *n, const ExprNode *l, const ExprNode *r, long double L,
                                long double R, const long double *Rmem, int8_t previous, Outcome &out)
{
    switch (op) {
    case OpPower:
        return Power(n, l, L, R, out);
    case OpDivide:
        DivisionFlags(out, l, r);
        if (R == 0) {
            PoleSeen = true;
            return out.Undefined();
        }
        return L / R;
    case OpMultiply:
        out.zero = (l && l->zeroCross) || (r && r->zeroCross);
        out.pole = !out.zero && ((l && l->poleCross) || (r && r->poleCross));
        return L * R;
    case OpSubtract: {
        long double v = L - R;
        bool lp = l && l->poleCross, rp = r && r->poleCross;
        out.pole = lp || rp;
        bool zero = SignChanged(n, v, out);
        if (lp && rp) {
            if (Sign(L) == Sign(R) && std::fabs(n->value - v) < 1 / XPerPixel)
                out.pole = false;
        } else {
            out.zero = zero;
        }
        return v;
    }
    case OpAdd: {
        long double v = L + R;
        bool lp = l && l->poleCross, rp = r && r->poleCross;
        out.pole = lp || rp;
        bool zero = SignChanged(n, v, out);
        if (out.pole)
            PoleSeen = true;
        if (lp && rp) {
            if (Sign(L) * Sign(R) < 0 && std::fabs(v) < 1 / XPerPixel) {
                out.pole = false;
                PoleSeen = false;
            }
        } else {
            out.zero = zero;
        }
        return v;
    }
    case OpNegate:
        return -R;
    case OpSin: {
        long double v = Apply(sinl, R, Rmem);
        bool zero = SignChanged(n, v, out);
        out.zero = (r && r->zeroCross) || zero;
        return v;
    }
    case OpCos: {
        long double v = Apply(cosl, R, Rmem);
        out.zero = SignChanged(n, v, out);
        return v;
    }
    case OpTan:
        return Tangent(r, R, previous, out);
    case OpSec:
        return Secant(R, previous, out);
    case OpCosec:
    case OpCotan:
        return CosecantOrCotangent(op, r, R, previous, out);
    case OpArctn:
        out.zero = r && r->zeroCross;
        return Apply(atanl, R, Rmem);
    case OpLog:
        return LogarithmResult(Logarithm(r, R, Rmem, previous, n->sign, out));
    case OpBasedLog:
        if (L <= 0 || L == 1)
            return out.Undefined();
        return LogarithmResult(Logarithm(r, R, Rmem, previous, n->sign, out) / std::log(L));
    case OpExp: {
        out.pole = r && r->poleCross;
        if (R > kExpLimit)
            return BigValue;
        long double v = Apply(expl, R, Rmem);
        if (R < -11000.0f && v < LDBL_MIN) // the first test spares an 80-bit constant
            return kExpUnderflowValue;
        return v;
    }
    case OpSqrt:
        CopyFlags(out, r);
        if (R < 0)
            return out.Undefined();
        return std::sqrt(R);
    case OpAbs:
        CopyFlags(out, r);
        return std::fabs(R);
    case OpSgn: {
        long double v = Sign(R);
        if (R == 0)
            out.zero = true;
        if (v != n->value)
            PoleSeen = true;
        return v;
    }
    case OpGaus: {
        CopyFlags(out, r);
        long double v = std::floor(R);
        if (v != n->value)
            PoleSeen = true;
        return v;
    }
    case OpSinh: {
        // The library's sinh is accurate near 0, unlike (e^R - e^-R)/2.
        out.pole = r && r->poleCross;
        long double v = Apply(sinhl, R, Rmem);
        out.zero = SignChanged(n, v, out);
        return v;
    }
    case OpCosh:
        out.pole = r && r->poleCross;
        return Apply(coshl, R, Rmem);
    case OpFactorial:
        return Factorial(L);
    case OpSumTooLarge:
        return out.Undefined();
    case OpRangeI:
        VariableTable.param[ParamIndex(OpLetterI)] = 1;
        return 1;
    default:
        return 0; // unexpanded sums and unknown codes
    }
}

// Operations that read their right operand's value at the previous call.
constexpr bool UsesOperandPrevious(int32_t op)
{
    constexpr uint32_t kMask =
        1u << OpTan | 1u << OpSec | 1u << OpCosec | 1u << OpCotan | 1u << OpLog | 1u << OpBasedLog;
    return static_cast<uint32_t>(op) < 32 && ((kMask >> op) & 1);
}
} // namespace eval_detail
