// The expansion of finite sums Sum(i=[lo,hi],summand) into explicit sums, so
// that the evaluator never loops over an index.
#pragma once

#include "engine/expr_tree.h"

namespace gq
{

// Replaces every finite sum by its explicit sum. The bounds are evaluated at
// x = y = 0 with the letters' values in this thread's engine state (which
// leaves x and y there 0) and rounded to integers. A sum whose bounds are
// undefined becomes a node that evaluates as undefined; an empty sum (hi < lo)
// stays and evaluates to 0. A sum whose bounds lie beyond ±10^15, that has
// more than 10,000 terms or whose expansion would not fit the formula budget
// (budget.h) refuses the formula as too complex, and the whole formula then
// evaluates as undefined: never half expanded.
void expandSums(ExprNode *&ref);

} // namespace gq
