// The operations of the evaluator: the value and flags of one operation step
// from its operands' values and slots. Internal to the evaluator
// (eval_loop.cpp), which inlines them into its evaluation loop.
//
// Every helper here is forced inline and passes no long double to a function
// that is not: an 80-bit value stored to memory and loaded back soon after
// stalls the processor (such stores are not forwarded to loads), and the
// calling convention passes long double arguments through memory.
#pragma once

#include "engine/eval_code.h"
#include "engine/numbers.h"
#include "engine/program.h"
#include "engine/trig_memo.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace gq
{

#define EVAL_INLINE GQ_ALWAYS_INLINE

namespace eval_detail
{
using program_detail::kBlankOp;
using program_detail::Slot;
using program_detail::Step;

// Largest argument of exp that stays finite in 80-bit arithmetic.
inline constexpr long double kExpLimit = 11356.5L;
// Largest n whose factorial is finite in 80-bit arithmetic.
inline constexpr long double kFactorialLimit = 1754;
inline constexpr long double kExpUnderflowValue = 3.0E-4932L;

// The slots an operation reads and writes: its own and its operands' (the
// blank slot, whose flags are always clear, for a missing operand). A power
// also reads the operands of a fraction in its exponent, through the step of
// its right operand.
struct Operands {
    Slot &self;
    const Slot &left, &right;
    const Step *rightCode;
    uint8_t facts = 0; // the step's facts (eval_code.h)
    uint8_t power = 0; // the step's small number exponent, if any
};

// The result of one operation: its value, or undefined (ok false). For the
// operations that compare the sign of their result with the previous one,
// sign is the new sign, which the caller stores with the value; tan, sec,
// cosec and cotan leave their operand's class there (see trigClass).
struct Outcome {
    bool ok = true;
    int8_t sign = 0;
    // The node's flags, stored with one write at the end of the step (a
    // later read of both flags at once is forwarded only from one store).
    uint8_t zero = 0, pole = 0;
    long double undefined()
    {
        ok = false;
        return 0;
    }
};

// The rare cases, out of line. An undefined result comes back as NaN (which
// the evaluator turns into undefined), so that no state escapes the loop.
// base^n for an integral n > 32, by squaring, so that x^1000000000 costs a
// few dozen multiplications.
long double largeIntegerPower(long double base, long double n);
// A negative base with a non-integral exponent: defined only for an odd root
// written as a fraction of integers p/q (exponent is the exponent's step).
// Everything is passed by value: an argument passed by reference would have
// to be stored on every step, not only on this rare path.
long double negativeBasePower(const Step *exponent, long double base, long double e);
long double factorial(long double n);

// f(*arg), the argument passed by copying its bytes. A library function takes
// its long double argument through memory; copying a value that already sits
// in memory avoids an 80-bit store that the function's load would have to
// wait for (such a store is not forwarded, so the load waits until every
// earlier instruction has finished, and successive library calls no longer
// overlap).
long double callWith(long double (*f)(long double), const long double *arg);

// f(R), where Rmem (when not null) holds R in memory.
EVAL_INLINE long double apply(long double (*f)(long double), long double R, const long double *Rmem)
{
    return Rmem ? callWith(f, Rmem) : f(R);
}

// f(R) for a function of the sine table (trig_memo.h), where Rmem (when not
// null) holds R in memory.
EVAL_INLINE long double applyMemo(long double (*f)(const long double *), long double (*plain)(long double),
                                  long double R, const long double *Rmem)
{
    if (Rmem)
        return f(Rmem);
    if (!memoPairs)
        return plain(R);
    const long double r = R;
    return f(&r);
}

// The sine and cosine of R.
EVAL_INLINE SineCosine sineCosine(long double R)
{
    const long double r = R;
    return memoSinCos(&r);
}

// base^n for an integral n >= 0. Small exponents multiply repeatedly, with a
// long double counter: converting an 80-bit value to an int is slow.
EVAL_INLINE long double integerPower(long double base, long double n)
{
    if (n == 2)
        return base * base;
    if (n > 32)
        return largeIntegerPower(base, n);
    long double r = 1;
    for (long double k = 0; k < n; k += 1)
        r *= base;
    return r;
}

// base^n for a number exponent n of 3..32, as integerPower computes it
// (1 · base · base ..., and 1 · base is base), counted in an int.
EVAL_INLINE long double smallPower(long double base, int n)
{
    long double r = base;
    for (int k = 1; k < n; ++k)
        r *= base;
    return r;
}

EVAL_INLINE long double powerOf(long double base, long double e)
{
    return std::exp(e * std::log(std::fabs(base)));
}

EVAL_INLINE void copyFlags(Outcome &out, const Slot &from)
{
    out.zero = from.zero;
    out.pole = from.pole;
}

// The flags of a division, from the flags of its operands.
EVAL_INLINE void divisionFlags(Outcome &out, const Slot &l, const Slot &r)
{
    bool lp = l.pole, rp = r.pole;
    bool lz = l.zero, rz = r.zero;
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
        engineState().poleSeen = true;
}

EVAL_INLINE long double power(const Operands &o, long double L, long double R, Outcome &out)
{
    const Slot &l = o.left;
    if (R == 2) { // the commonest power, as the integer case below treats it
        copyFlags(out, l);
        if (L == 0)
            out.zero = true;
        return L * L;
    }
    if (isIntegerValue(R)) {
        if (R < 0) {
            // A zero of the base becomes a pole of the power.
            out.zero = l.pole;
            out.pole = l.zero;
            if (out.pole)
                engineState().poleSeen = true;
            if (L == 0) {
                out.pole = true;
                engineState().poleSeen = true;
                return out.undefined();
            }
            return 1 / integerPower(L, -R);
        }
        if (R == 0)
            return 1;
        copyFlags(out, l);
        if (L == 0) {
            out.zero = true;
            return 0;
        }
        return o.power ? smallPower(L, o.power) : integerPower(L, R);
    }
    if (L < 0)
        return negativeBasePower(o.rightCode, L, R);
    if (L == 0) {
        if (R > 0) {
            out.zero = true;
            out.pole = false;
            return 0;
        }
        out.pole = true;
        engineState().poleSeen = true;
        return out.undefined();
    }
    copyFlags(out, l);
    return powerOf(L, R);
}

// Where a function's operand was at the previous call, as much of it as the
// function compares, kept in the sign of the function's slot (0 stands for an
// operand of 0, as in a freshly built Program). For a logarithm: the operand's side of 0
// and 1. For tan, sec, cosec and cotan: the signs of the operand's sine and
// cosine (the sine in the low two bits, the cosine above).
EVAL_INLINE int8_t logarithmClass(long double R)
{
    return R <= 0 ? 0 : R < 1 ? 1 : R == 1 ? 2 : 3;
}
EVAL_INLINE int8_t trigClass(int sinSign, int cosSign)
{
    const int s = sinSign == 0 ? 0 : sinSign > 0 ? 1 : 2;
    const int c = cosSign > 0 ? 0 : cosSign == 0 ? 1 : 2;
    return static_cast<int8_t>(s | c << 2);
}
EVAL_INLINE int sinSignOf(int8_t trigClass)
{
    const int s = trigClass & 3;
    return s == 0 ? 0 : s == 1 ? 1 : -1;
}
EVAL_INLINE int cosSignOf(int8_t trigClass)
{
    const int c = trigClass >> 2;
    return c == 0 ? 1 : c == 1 ? 0 : -1;
}
constexpr bool isLogarithm(int32_t op)
{
    return op == OpLog || op == OpBasedLog;
}
// The class of a number operand, which never changes.
inline int8_t operandClassOf(int32_t op, long double value)
{
    if (isLogarithm(op))
        return logarithmClass(value);
    return trigClass(signOf(std::sin(value)), signOf(std::cos(value)));
}

// The side of 1 of a logarithm's operand, from its logarithmClass.
EVAL_INLINE int sideOfOne(int8_t logarithmClass)
{
    return logarithmClass == 3 ? 1 : logarithmClass == 2 ? 0 : -1;
}

// The natural logarithm of R with the flags of a logarithm: previous and
// current are the classes of the operand at the previous call and now.
EVAL_INLINE long double logarithm(const Slot &r, long double R, const long double *Rmem, int8_t previous,
                                  int8_t current, Outcome &out)
{
    out.pole = r.pole || r.zero;
    if (current == 0) { // R <= 0
        if (previous > 0)
            out.pole = true;
        return out.undefined();
    }
    if (current == 2 || sideOfOne(previous) * sideOfOne(current) < 0) // R == 1, or 1 passed
        out.zero = true;
    return apply(logl, R, Rmem);
}

// A logarithm that overflows (only possible for extreme bases) is ±kBigValue.
EVAL_INLINE long double logarithmResult(long double v)
{
    if (__builtin_expect(!isFiniteValue(v), 0) && !std::isnan(v)) // NaN is left to the caller
        return v > 0 ? kBigValue : -kBigValue;
    return v;
}

// tan, sec, cosec and cotan compare the signs of the sine and cosine of their
// operand with those at the previous call (previous, a trigClass), and leave
// the new signs in out.sign.
EVAL_INLINE long double tangent(const Slot &r, long double R, int8_t previous, Outcome &out)
{
    const SineCosine sc = sineCosine(R);
    const long double s = sc.sine, c = sc.cosine;
    const int ss = signOf(s), cs = signOf(c);
    out.sign = trigClass(ss, cs);
    out.zero = r.zero;
    if (c == 0)
        return out.undefined();
    if (cosSignOf(previous) * cs <= 0) {
        out.pole = true;
        engineState().poleSeen = true;
    }
    if (sinSignOf(previous) * ss <= 0)
        out.zero = true;
    long double v = s / c;
    if (v != 0 && std::fabs(v) < LDBL_MIN)
        return 0; // underflow
    return v;
}

EVAL_INLINE long double secant(long double R, int8_t previous, Outcome &out)
{
    const long double c = applyMemo(memoCos, cosl, R, nullptr);
    const int cs = signOf(c);
    out.sign = trigClass(0, cs);
    if (c == 0)
        return out.undefined();
    if (cosSignOf(previous) * cs <= 0) {
        out.pole = true;
        engineState().poleSeen = true;
    }
    return 1 / c;
}

EVAL_INLINE long double cosecantOrCotangent(int32_t op, const Slot &r, long double R, int8_t previous,
                                            Outcome &out)
{
    // The cotangent compares the cosine's sign too, even where it is undefined.
    const SineCosine sc = op == OpCotan ? sineCosine(R) : SineCosine{applyMemo(memoSin, sinl, R, nullptr), 1};
    const long double s = sc.sine, c = sc.cosine;
    const int ss = signOf(s), cs = signOf(c);
    out.sign = trigClass(ss, cs);
    out.pole = r.zero;
    if (s == 0)
        return out.undefined();
    if (sinSignOf(previous) * ss <= 0) {
        out.pole = true;
        engineState().poleSeen = true;
    }
    if (op == OpCosec)
        return 1 / s;
    if (cosSignOf(previous) * cs < 0)
        out.zero = true;
    return c / s;
}

// The zero flag of an operation that compares the sign of its result with
// the sign of its result at the previous call (kept in its slot).
EVAL_INLINE bool signChanged(const Slot &n, long double v, Outcome &out)
{
    out.sign = static_cast<int8_t>(signOf(v));
    return out.sign * n.sign <= 0;
}

// The operation op on its operands' values L and R. previous is the class of
// the right operand at the previous call, where the operation reads it; the
// operation's own slot still holds the previous value. With a constant op the
// switch folds away.
// polesClear (a constant) tells that neither operand can raise its pole flag.
EVAL_INLINE long double compute(int32_t op, const Operands &o, long double L, long double R,
                                const long double *Rmem, int8_t previous, Outcome &out, bool polesClear = false)
{
    const Slot &n = o.self, &l = o.left, &r = o.right;
    switch (op) {
    case OpPower:
        return power(o, L, R, out);
    case OpDivide:
        if (polesClear) { // divisionFlags without the poles
            const bool lz = l.zero, rz = r.zero;
            out.zero = lz && !rz;
            out.pole = rz && !lz;
            if (rz)
                engineState().poleSeen = true;
        } else {
            divisionFlags(out, l, r);
        }
        if (R == 0) {
            engineState().poleSeen = true;
            return out.undefined();
        }
        return L / R;
    case OpMultiply:
        out.zero = l.zero || r.zero;
        out.pole = !polesClear && !out.zero && (l.pole || r.pole);
        return L * R;
    case OpSubtract: {
        long double v = L - R;
        const bool zeroRead = !(o.facts & kZeroUnread);
        if (o.facts & kOperandPolesClear) {
            if (zeroRead)
                out.zero = signChanged(n, v, out);
            return v;
        }
        bool lp = l.pole, rp = r.pole;
        out.pole = lp || rp;
        bool zero = zeroRead && signChanged(n, v, out);
        if (lp && rp) {
            if (signOf(L) == signOf(R) && std::fabs(n.value - v) < 1 / engineState().xPerPixel)
                out.pole = false;
        } else {
            out.zero = zero;
        }
        return v;
    }
    case OpAdd: {
        long double v = L + R;
        const bool zeroRead = !(o.facts & kZeroUnread);
        if (o.facts & kOperandPolesClear) {
            if (zeroRead)
                out.zero = signChanged(n, v, out);
            return v;
        }
        bool lp = l.pole, rp = r.pole;
        out.pole = lp || rp;
        bool zero = zeroRead && signChanged(n, v, out);
        if (out.pole)
            engineState().poleSeen = true;
        if (lp && rp) {
            if (signOf(L) * signOf(R) < 0 && std::fabs(v) < 1 / engineState().xPerPixel) {
                out.pole = false;
                engineState().poleSeen = false;
            }
        } else {
            out.zero = zero;
        }
        return v;
    }
    case OpNegate:
        return -R;
    case OpSin: {
        long double v = applyMemo(memoSin, sinl, R, Rmem);
        if (!(o.facts & kZeroUnread)) {
            bool zero = signChanged(n, v, out);
            out.zero = r.zero || zero;
        }
        return v;
    }
    case OpCos: {
        long double v = applyMemo(memoCos, cosl, R, Rmem);
        if (!(o.facts & kZeroUnread))
            out.zero = signChanged(n, v, out);
        return v;
    }
    case OpTan:
        return tangent(r, R, previous, out);
    case OpSec:
        return secant(R, previous, out);
    case OpCosec:
    case OpCotan:
        return cosecantOrCotangent(op, r, R, previous, out);
    case OpArctn:
        out.zero = r.zero;
        return apply(atanl, R, Rmem);
    case OpLog:
        return logarithmResult(logarithm(r, R, Rmem, previous, n.sign, out));
    case OpBasedLog:
        if (L <= 0 || L == 1)
            return out.undefined();
        return logarithmResult(logarithm(r, R, Rmem, previous, n.sign, out) / std::log(L));
    case OpExp: {
        out.pole = r.pole;
        if (R > kExpLimit)
            return kBigValue;
        long double v = apply(expl, R, Rmem);
        if (R < -11000.0f && v < LDBL_MIN) // the first test spares an 80-bit constant
            return kExpUnderflowValue;
        return v;
    }
    case OpSqrt:
        copyFlags(out, r);
        if (R < 0)
            return out.undefined();
        return std::sqrt(R);
    case OpAbs:
        copyFlags(out, r);
        return std::fabs(R);
    case OpSgn: {
        long double v = signOf(R);
        if (R == 0)
            out.zero = true;
        if (v != n.value)
            engineState().poleSeen = true;
        return v;
    }
    case OpGaus: {
        copyFlags(out, r);
        long double v = std::floor(R);
        if (v != n.value)
            engineState().poleSeen = true;
        return v;
    }
    case OpSinh: {
        // The library's sinh is accurate near 0, unlike (e^R - e^-R)/2.
        out.pole = r.pole;
        long double v = apply(sinhl, R, Rmem);
        if (!(o.facts & kZeroUnread))
            out.zero = signChanged(n, v, out);
        return v;
    }
    case OpCosh:
        out.pole = r.pole;
        return apply(coshl, R, Rmem);
    case OpFactorial:
        return factorial(L);
    case OpSumTooLarge:
        return out.undefined();
    case OpRangeI:
        engineState().variables.params['i'] = 1;
        return 1;
    default:
        return 0; // unexpanded sums and unknown codes
    }
}

// The value alone of an operation of the value-only kinds (eval_code.h): the
// same value as compute gives, with none of the flags.
template <int32_t Op>
EVAL_INLINE long double computeValue(const Step &code, long double L, long double R, const long double *Rmem,
                                     Outcome &out)
{
    if constexpr (Op == OpAdd) {
        return L + R;
    } else if constexpr (Op == OpSubtract) {
        return L - R;
    } else if constexpr (Op == OpMultiply) {
        return L * R;
    } else if constexpr (Op == OpPower) { // a number exponent 0, 1, 2, ...
        if (R == 2)
            return L * L;
        if (R == 0)
            return 1;
        if (L == 0)
            return 0;
        return code.power ? smallPower(L, code.power) : integerPower(L, R);
    } else if constexpr (Op == OpNegate) {
        return -R;
    } else if constexpr (Op == OpSin) {
        return applyMemo(memoSin, sinl, R, Rmem);
    } else if constexpr (Op == OpCos) {
        return applyMemo(memoCos, cosl, R, Rmem);
    } else if constexpr (Op == OpArctn) {
        return apply(atanl, R, Rmem);
    } else if constexpr (Op == OpExp) {
        if (R > kExpLimit)
            return kBigValue;
        long double v = apply(expl, R, Rmem);
        if (R < -11000.0f && v < LDBL_MIN)
            return kExpUnderflowValue;
        return v;
    } else if constexpr (Op == OpSqrt) {
        if (R < 0)
            return out.undefined();
        return std::sqrt(R);
    } else if constexpr (Op == OpAbs) {
        return std::fabs(R);
    } else if constexpr (Op == OpSinh) {
        return apply(sinhl, R, Rmem);
    } else if constexpr (Op == OpCosh) {
        return apply(coshl, R, Rmem);
    } else {
        static_assert(Op == OpAdd, "no value-only code for this operation");
        return 0;
    }
}

// Operations that read their right operand's value at the previous call.
constexpr bool usesOperandPrevious(int32_t op)
{
    constexpr uint32_t kMask =
        1u << OpTan | 1u << OpSec | 1u << OpCosec | 1u << OpCotan | 1u << OpLog | 1u << OpBasedLog;
    return static_cast<uint32_t>(op) < 32 && ((kMask >> op) & 1);
}
} // namespace eval_detail

} // namespace gq
