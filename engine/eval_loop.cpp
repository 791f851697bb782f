// Program::evaluate: the operation steps run in their order (post-order, so
// operands come before the operation that reads them) in a loop that carries
// the latest result in a register. Leaves are read where they are used.
//
// Why not a recursive walk: with 80-bit values every call costs stores and
// loads that stall (an 80-bit store is not forwarded to a later load), and
// the interpreter's own instructions separate the library calls of
// independent subexpressions so far that the processor cannot overlap them.
// So the loop dispatches once per operation, on a kind laid in advance that
// names the operation and where its operands are, and each common kind has
// its own straight-line code (step, instantiated per kind).
#include "engine/eval_code.h"
#include "engine/eval_operations.h"
#include "engine/program.h"

#include "engine/budget.h"

#include <cstddef>
#include <cstring>

namespace gq
{

namespace
{
using namespace eval_detail;

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
const ParamTable kParamOfCode;

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
        result =
            finite(compute(Op, o, L, R, memoryOf<RS>(*code.rightCode, *code.right, reg), previous, out), out);
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
        result = finite(computeValue<Op>(code, L, R, memoryOf<RS>(*code.rightCode, *code.right, reg), out), out);
    if (out.ok && (code.needs & kValueNeeded))
        self.value = result;
    reg.value = result;
    self.valid = out.ok;
    reg.valid = out.ok;
}

// Any operation with any operands.
EVAL_INLINE void genericStep(const Step &code, Slot &self, Loop &reg)
{
    const Operands o{self, *code.left, *code.right, code.rightCode, code.facts, code.power};
    const int32_t op = code.op;
    Outcome out;
    int8_t previous = 0;
    long double L = 0, R = 0;
    switch (rightSrc(code.shape)) {
    case Src::Reg:
        R = fetch<Src::Reg>(*code.rightCode, *code.right, reg, out.ok);
        break;
    case Src::None:
        break;
    default:
        R = evalLeaf(*code.rightCode, *code.right, reg);
        break;
    }
    if (usesOperandPrevious(op))
        previous =
            isLogarithm(op) ? previousClass<OpLog>(self, R, out.ok) : previousClass<OpTan>(self, R, out.ok);
    switch (leftSrc(code.shape)) {
    case Src::Reg:
        L = fetch<Src::Reg>(*code.leftCode, *code.left, reg, out.ok);
        break;
    case Src::Slot:
        L = fetch<Src::Slot>(*code.leftCode, *code.left, reg, out.ok);
        break;
    case Src::None:
        break;
    default:
        L = evalLeaf(*code.leftCode, *code.left, reg);
        break;
    }
    long double result = 0;
    const bool computed = out.ok;
    if (computed)
        result = finite(compute(op, o, L, R, nullptr, previous, out), out);
    commit(op, self, code.needs, result, out, computed, reg);
}

// Runs the operation steps (there are operations of them, all before the
// leaves) and reports the last one's value, defined or not.
EVAL_INLINE long double runSteps(const Step *steps, Slot *slots, uint32_t operations, const long double *x,
                                 const long double *y)
{
    Loop reg{0, true, x, y};
    const Step *const last = steps + (operations - 1);
    Slot *self = slots;
    for (const Step *code = steps;; ++code, ++self) {
        switch (code->kind) {
#define EVAL_KIND_CASE(op, l, r)                                                                             \
    case kindOf(op, Src::l, Src::r):                                                                         \
        step<op, Src::l, Src::r>(*code, *self, reg);                                                         \
        break;
            EVAL_KINDS(EVAL_KIND_CASE)
#undef EVAL_KIND_CASE
#define EVAL_VALUE_KIND_CASE(op, l, r)                                                                       \
    case kindOf(op, Src::l, Src::r, false):                                                                  \
        valueStep<op, Src::l, Src::r>(*code, *self, reg);                                                    \
        break;
            EVAL_VALUE_KINDS(EVAL_VALUE_KIND_CASE)
#undef EVAL_VALUE_KIND_CASE
        case 0:
            genericStep(*code, *self, reg);
            break;
        default:
            __builtin_unreachable(); // kinds are laid by kindOf
        }
        if (code == last)
            break;
    }
    engineState().evalValid = reg.valid;
    return reg.valid ? reg.value : 0;
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
} // namespace

long double Program::evaluate(long double x, long double y)
{
    copyBytes(&engineState().variables.x, &x);
    copyBytes(&engineState().variables.y, &y);
    if (empty())
        return 0;
    if (!spendEvaluation(cost_)) {
        engineState().evalValid = false;
        return 0;
    }
    if (operations_ == 0) {
        engineState().evalValid = true;
        const Loop loop{0, true, &x, &y};
        return evalLeaf(steps_[root_], slots_[root_], loop);
    }
    return runSteps(steps_.data(), slots_.data(), operations_, &x, &y);
}

} // namespace gq
