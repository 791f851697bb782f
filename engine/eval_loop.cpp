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
// its own straight-line code (step, instantiated per kind, in eval_steps.h).
// A formula that is a single step of one of the whole-formula kinds runs in
// a function of its own instead (eval_whole.cpp).
#include "engine/eval_steps.h"
#include "engine/program.h"

#include "engine/budget.h"

#include <cstddef>
#include <cstring>

namespace gq
{

namespace
{
using namespace eval_detail;

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
    if (whole_)
        return whole_(steps_.data(), slots_.data(), &x, &y);
    if (operations_ == 0) {
        engineState().evalValid = true;
        const Loop loop{0, true, &x, &y};
        return evalLeaf(steps_[root_], slots_[root_], loop);
    }
    return runSteps(steps_.data(), slots_.data(), operations_, &x, &y);
}

} // namespace gq
