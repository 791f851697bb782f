// The code of one operation step: reading its operands from their sources
// and computing its value and flags, for each kind. Internal to the
// evaluator: the loop (eval_loop.cpp) and the whole-formula functions
// (eval_whole.cpp) inline it.
#pragma once

#include "engine/eval_code.h"
#include "engine/eval_operations.h"

#include <cstddef>
#include <cstring>
#include <limits>

namespace gq::eval_detail
{

// Parameters::value index of each parameter code 10001..10022.
struct ParamTable {
    int index[22];
    ParamTable()
    {
        for (int k = 0; k < 22; ++k)
            index[k] = paramIndex(OpLetterA + k);
    }
    int operator[](int k) const { return index[k]; }
};
inline const ParamTable kParamOfCode;

// The loop's state: the latest result (in a register) and whether it was
// defined; and where the caller's x and y are.
struct Loop {
    long double value = 0;
    bool valid = true;
    const long double *x, *y;
};

// Both flags of a slot with one store: a step that reads both at once gets
// them forwarded only from a single store of both.
EVAL_INLINE void storeFlags(Slot &n, uint8_t zero, uint8_t pole)
{
    static_assert(offsetof(Slot, pole) == offsetof(Slot, zero) + 1);
    const uint16_t both = static_cast<uint16_t>(zero | pole << 8);
    std::memcpy(&n.zero, &both, sizeof both);
}

// A letter (its step and slot). x, y and z keep their sign where the parent
// reads their zero flag, which tells of a sign change since the previous call;
// a letter keeps its value where a power reads it in a fraction exponent.
EVAL_INLINE long double evalLetter(const Step &code, Slot &n, const Loop &loop)
{
    const int32_t op = code.op;
    long double v;
    // x and y from the caller's arguments: reading back the variable table,
    // just written, would wait for that 80-bit store.
    if (op == OpX)
        v = *loop.x;
    else if (op == OpY)
        v = *loop.y;
    else if (op == OpZ)
        v = engineState().variables.z;
    else if (op == OpT)
        v = engineState().variables.t;
    else if (op >= OpLetterA && op <= OpLetterI)
        v = engineState().variables.params.value[kParamOfCode[op - OpLetterA]];
    else
        return 0;
    if (__builtin_expect(code.needs != 0, 0)) {
        if (code.needs & kSignForParent) { // x, y and z only
            const int8_t s = static_cast<int8_t>(signOf(v));
            storeFlags(n, s * n.sign <= 0, 0);
            n.sign = s;
        }
        if (code.needs & kValueNeeded)
            n.value = v;
    }
    return v;
}

// A leaf (a number, π or a letter).
EVAL_INLINE long double evalLeaf(const Step &code, Slot &n, const Loop &loop)
{
    storeFlags(n, 0, 0);
    if (isNumberCode(code.op))
        return n.value;
    return evalLetter(code, n, loop);
}

// Every overflow stands for an infinite value; nothing undefined escapes.
// (Measured: comparing the magnitude is far cheaper here than testing
// result - result, whose subtraction delays the library calls around it.)
EVAL_INLINE long double finite(long double result, Outcome &out)
{
    if (__builtin_expect(!isFiniteValue(result), 0)) {
        if (std::isnan(result))
            return out.undefined();
        return result > 0 ? kBigValue : -kBigValue;
    }
    return result;
}

template <Src S> EVAL_INLINE long double fetch(const Step &code, Slot &n, const Loop &reg, bool &ok);

// An operand of a fused sum or difference, from source s: a number, a letter,
// or a number times a letter or a letter's power computed in place.
// S is that source where it is known in advance (None: it is read from s).
template <Src S>
EVAL_INLINE long double pairOperand(Src s, const Step &code, Slot &n, const Loop &reg, bool &ok)
{
    if constexpr (S != Src::None)
        return fetch<S>(code, n, reg, ok);
    switch (s) {
    case Src::Const:
        return n.value;
    case Src::Leaf:
        return evalLetter(code, n, reg);
    case Src::Scaled:
        return fetch<Src::Scaled>(code, n, reg, ok);
    default:
        return fetch<Src::LeafPower>(code, n, reg, ok);
    }
}

// An operand of a fused sum from a known source, without fetch's test for
// overflow: infinite where that test would give ±kBigValue, not a number
// where it would report an undefined value.
template <Src S> EVAL_INLINE long double rawOperand(const Step &code, Slot &n, const Loop &reg)
{
    if constexpr (S == Src::Const) {
        return n.value;
    } else if constexpr (S == Src::Leaf) {
        return evalLetter(code, n, reg);
    } else if constexpr (S == Src::Scaled) {
        return code.left->value * evalLetter(*code.rightCode, *code.right, reg);
    } else {
        static_assert(S == Src::LeafPower);
        if (__builtin_expect(code.power == 0, 0)) {
            bool ok = true;
            const long double v = fetch<Src::LeafPower>(code, n, reg, ok);
            return ok ? v : std::numeric_limits<long double>::quiet_NaN();
        }
        const long double L = evalLetter(*code.leftCode, *code.left, reg);
        if (code.power == 2)
            return L * L;
        return L == 0 ? 0 : code.power == 3 ? L * L * L : smallPower(L, code.power);
    }
}

// A fused sum or difference (code and n are its step and slot): what its own
// step would compute, with the same flags where they are read. Its operands
// are numbers, letters and the operations above: they never raise a pole, and
// are undefined only where a letter is not a number. LS and RS are their
// sources where known in advance (None: read from the step's shape).
template <Src LS, Src RS>
EVAL_INLINE long double pairSum(const Step &code, Slot &n, const Loop &reg, bool &ok)
{
    if constexpr (LS != Src::None) {
        // Without the operands' tests for overflow first: an operand that
        // would fail one (infinite, or not a number) makes the sum fail the
        // sum's own test, and then everything is computed again with them.
        const long double R = rawOperand<RS>(*code.rightCode, *code.right, reg);
        const long double L = rawOperand<LS>(*code.leftCode, *code.left, reg);
        const long double v = code.op == OpAdd ? L + R : L - R;
        if (__builtin_expect(isFiniteValue(v), 1)) {
            if (!(code.facts & kZeroUnread)) {
                const int8_t s = static_cast<int8_t>(signOf(v));
                storeFlags(n, s * n.sign <= 0, 0);
                n.sign = s;
            }
            return v;
        }
    }
    bool defined = true;
    const long double R = pairOperand<RS>(rightSrc(code.shape), *code.rightCode, *code.right, reg, defined);
    const long double L = pairOperand<LS>(leftSrc(code.shape), *code.leftCode, *code.left, reg, defined);
    const bool zeroRead = !(code.facts & kZeroUnread);
    if (__builtin_expect(!defined, 0)) {
        // An operand that is not a number (a letter that is not): the sum is
        // not computed, and its sign stays as it was.
        if (zeroRead)
            storeFlags(n, 0, 0);
        ok = false;
        return 0;
    }
    const long double v = code.op == OpAdd ? L + R : L - R;
    const int8_t s = static_cast<int8_t>(signOf(v));
    if (__builtin_expect(isFiniteValue(v), 1)) {
        if (zeroRead) {
            storeFlags(n, s * n.sign <= 0, 0);
            n.sign = s;
        }
        return v;
    }
    // An overflow (or a letter that is not a number): as the step's own code.
    if (zeroRead) {
        storeFlags(n, s * n.sign <= 0, 0);
        if (!std::isnan(v))
            n.sign = s;
    }
    Outcome inner;
    const long double result = finite(v, inner);
    ok = ok && inner.ok;
    return result;
}

// The same, with the code for the sum's form.
EVAL_INLINE long double pairValue(const Step &code, Slot &n, const Loop &reg, bool &ok)
{
    switch (code.form) {
#define EVAL_PAIR_FORM(k)                                                                                    \
    case k:                                                                                                  \
        return pairSum<kPairForms[k].left, kPairForms[k].right>(code, n, reg, ok);
        EVAL_PAIR_FORM(1)
        EVAL_PAIR_FORM(2)
        EVAL_PAIR_FORM(3)
        EVAL_PAIR_FORM(4)
#undef EVAL_PAIR_FORM
        static_assert(std::size(kPairForms) == 5, "a case for every form");
    default:
        return pairSum<Src::None, Src::None>(code, n, reg, ok);
    }
}

// The value of an operand (its step and slot) from source S.
template <Src S> EVAL_INLINE long double fetch(const Step &code, Slot &n, const Loop &reg, bool &ok)
{
    if constexpr (S == Src::Scaled || S == Src::LeafPower) {
        // A fused operation: the value its own value-only step would compute
        // (its slot, like that step's, is left as it is).
        Outcome inner;
        long double v;
        if constexpr (S == Src::Scaled) {
            v = code.left->value * evalLetter(*code.rightCode, *code.right, reg);
        } else {
            // The exponent is known: computeValue's tests of it are decided.
            const long double L = evalLetter(*code.leftCode, *code.left, reg);
            if (code.power == 2)
                v = L * L;
            else if (code.power != 0)
                v = L == 0 ? 0 : code.power == 3 ? L * L * L : smallPower(L, code.power);
            else
                v = computeValue<OpPower>(code, L, code.right->value, nullptr, inner);
        }
        v = finite(v, inner);
        ok = ok && inner.ok;
        return v;
    }
    if constexpr (S == Src::Pair)
        return pairValue(code, n, reg, ok);
    if constexpr (S == Src::Const)
        return n.value;
    if constexpr (S == Src::Leaf)
        return evalLetter(code, n, reg);
    if constexpr (S == Src::Reg) {
        ok = ok && reg.valid;
        return reg.value;
    }
    if constexpr (S == Src::Slot) {
        ok = ok && n.valid;
        return n.value;
    }
    return 0;
}

// For the operations that compare their operand with the previous call: the
// class of the operand at the previous call (see logarithmClass and
// trigClass). A logarithm takes its operand's new class here, whenever the
// operand is defined (a based logarithm may be undefined for its base alone);
// the trigonometric functions leave theirs in the step's outcome.
template <int32_t Op> EVAL_INLINE int8_t previousClass(Slot &n, long double R, bool operandDefined)
{
    const int8_t previous = n.sign;
    if (isLogarithm(Op) && operandDefined)
        n.sign = logarithmClass(R);
    return previous;
}

// Where a leaf operand's value sits in memory, for passing it on to a library
// function without storing it again; null for parameters (single precision).
template <Src S> EVAL_INLINE const long double *memoryOf(const Step &code, const Slot &n, const Loop &loop)
{
    if constexpr (S == Src::Const) {
        return &n.value;
    } else if constexpr (S == Src::Leaf) {
        switch (code.op) {
        case OpX:
            return loop.x;
        case OpY:
            return loop.y;
        case OpZ:
            return &engineState().variables.z;
        case OpT:
            return &engineState().variables.t;
        default:
            return nullptr;
        }
    }
    return nullptr;
}

// The end of a step: the result (if defined) becomes the operation's value
// and the loop's register.
EVAL_INLINE void commit(int32_t op, Slot &n, uint8_t needs, long double result, const Outcome &out,
                        bool computed, Loop &reg)
{
    if (usesOperandPrevious(op) && !isLogarithm(op) && computed)
        n.sign = out.sign; // the signs of the operand's sine and cosine
    if (out.ok) {
        if (readsOwnValue(op) || (needs & kValueNeeded))
            n.value = result;
        if (keepsSign(op))
            n.sign = out.sign;
    }
    storeFlags(n, out.zero, out.pole);
    // Unconditionally: a register that is not valid is never read, and
    // keeping the old value alive across a library call would cost a spill.
    reg.value = result;
    n.valid = out.ok;
    reg.valid = out.ok;
}

// Whether neither operand can raise its pole flag, where one is a fused sum
// (whole formulas only: the loop's code stays as it is).
template <Src LS, Src RS> constexpr bool polesClear()
{
    const auto clear = [](Src s) { return s != Src::Reg && s != Src::Slot; };
    return (LS == Src::Pair || RS == Src::Pair) && clear(LS) && clear(RS);
}

template <int32_t Op, Src LS, Src RS> EVAL_INLINE void step(const Step &code, Slot &self, Loop &reg)
{
    const Operands o{self, *code.left, *code.right, code.rightCode, code.facts, code.power};
    Outcome out;
    int8_t previous = 0;
    long double R = fetch<RS>(*code.rightCode, *code.right, reg, out.ok);
    if constexpr (usesOperandPrevious(Op))
        previous = previousClass<Op>(self, R, out.ok);
    long double L = fetch<LS>(*code.leftCode, *code.left, reg, out.ok);
    long double result = 0;
    const bool computed = out.ok;
    if (computed)
        result = finite(compute(Op, o, L, R, memoryOf<RS>(*code.rightCode, *code.right, reg), previous, out,
                                polesClear<LS, RS>()),
                        out);
    commit(Op, self, code.needs, result, out, computed, reg);
}

// A step of a value-only kind: nothing reads the flags it would set, or it
// never raises them, and it never sets poleSeen; its slot's flags stay as
// they are (clear).
template <int32_t Op, Src LS, Src RS> EVAL_INLINE void valueStep(const Step &code, Slot &self, Loop &reg)
{
    Outcome out;
    long double R = fetch<RS>(*code.rightCode, *code.right, reg, out.ok);
    long double L = fetch<LS>(*code.leftCode, *code.left, reg, out.ok);
    long double result = 0;
    if (out.ok)
        result =
            finite(computeValue<Op>(code, L, R, memoryOf<RS>(*code.rightCode, *code.right, reg), out), out);
    if (out.ok && (code.needs & kValueNeeded))
        self.value = result;
    reg.value = result;
    self.valid = out.ok;
    reg.valid = out.ok;
}

// *to = *from as bytes, not through the x87 unit, so that nothing waits for
// the caller's 80-bit store of the argument. The pointer is hidden from the
// optimiser, which would otherwise turn the copy back into a load and store.
EVAL_INLINE void copyBytes(long double *to, const long double *from)
{
    asm("" : "+r"(from));
    // The 64-bit significand and the 16-bit sign and exponent, each as the
    // caller stored it: a wider load would span both stores and wait for them.
    uint64_t significand;
    uint16_t exponent;
    std::memcpy(&significand, from, sizeof significand);
    std::memcpy(&exponent, reinterpret_cast<const char *>(from) + sizeof significand, sizeof exponent);
    std::memcpy(to, &significand, sizeof significand);
    std::memcpy(reinterpret_cast<char *>(to) + sizeof significand, &exponent, sizeof exponent);
}

} // namespace gq::eval_detail
