// Symbolic differentiation with respect to one leaf code (every other letter
// is a constant).
#pragma once

#include "engine/expr_tree.h"

namespace gq
{

// A new tree: the derivative of tree by the leaf code v (normally OpX),
// simplified. The input is not changed. Within the formula budget (budget.h):
// when it runs out the result is null and *cutShort (when given) becomes
// true; outside an enclosing FormulaBudget the refusal is also reported by
// engineState().tooComplex. A null tree gives null with cutShort false.
ExprNode *differentiate(const ExprNode *tree, int32_t v, bool *cutShort = nullptr);

} // namespace gq
