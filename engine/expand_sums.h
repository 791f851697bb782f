// The expansion of finite sums Sum(i=[lo,hi],summand) into explicit sums, so
// that the evaluator never loops over an index.
#pragma once

#include "engine/expr_tree.h"

namespace gq
{

// Replaces every finite sum by its explicit sum. The bounds are evaluated at
// x = y = 0 with the letters' values in this thread's engine state (which
// leaves x and y there 0) and rounded to integers. A sum whose expansion would
// exceed the node budget, or whose bounds are undefined, becomes a node that
// evaluates as undefined; an empty sum (hi < lo) stays and evaluates to 0.
void expandSums(ExprNode *&ref);

} // namespace gq
