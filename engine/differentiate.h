// Symbolic differentiation with respect to one leaf code (every other letter
// is a constant).
#pragma once

#include "engine/expr_tree.h"

namespace gq
{

// A new tree: the derivative of tree by the leaf code v (normally OpX),
// simplified. The input is not changed. Once the node budget is spent every
// further part is taken as 0, so that the result stops growing; *cutShort
// (when given) then becomes true, and the result is not the derivative.
ExprNode *differentiate(const ExprNode *tree, int32_t v, bool *cutShort = nullptr);

} // namespace gq
