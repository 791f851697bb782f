// Whole formulas of a single step whose operands are computed in place: a
// quotient or product of two-term polynomials, a polynomial of three terms, a
// function of a two-term sum. Each kind has a small function of its own.
//
// Why not the loop: the loop's code is one large function, and every kind
// added to it made the compiler keep more 80-bit values in memory across the
// dispatch, which slowed down every formula, these included. A function of
// one step keeps its values in registers from the operands to the result.
#include "engine/eval_whole.h"

#include "engine/eval_steps.h"

#include <iterator>

namespace gq::eval_detail
{

namespace
{
template <int32_t Op, Src LS, Src RS, bool Flags>
long double evaluateWhole(Step *steps, Slot *slots, const long double *x, const long double *y)
{
    Loop reg{0, true, x, y};
    if constexpr (Flags)
        step<Op, LS, RS>(steps[0], slots[0], reg);
    else
        valueStep<Op, LS, RS>(steps[0], slots[0], reg);
    engineState().evalValid = reg.valid;
    return reg.valid ? reg.value : 0;
}

#define EVAL_WHOLE_ENTRY(op, l, r) &evaluateWhole<op, Src::l, Src::r, true>,
#define EVAL_WHOLE_VALUE_ENTRY(op, l, r) &evaluateWhole<op, Src::l, Src::r, false>,
// In the order of their kinds (eval_code.h).
constexpr program_detail::WholeFormula kWhole[] = {EVAL_WHOLE_KINDS(EVAL_WHOLE_ENTRY)
                                                       EVAL_WHOLE_VALUE_KINDS(EVAL_WHOLE_VALUE_ENTRY)};
#undef EVAL_WHOLE_ENTRY
#undef EVAL_WHOLE_VALUE_ENTRY
static_assert(std::size(kWhole) == std::size(kKinds) - kFirstWholeKind);
} // namespace

program_detail::WholeFormula wholeFormula(uint8_t kind)
{
    return kWhole[kind - kFirstWholeKind];
}

} // namespace gq::eval_detail
