// Symbolic differentiation with respect to one leaf code (every other letter
// is a constant).
#pragma once

#include "engine/expr_tree.h"
#include <string>

namespace gq
{

// A new tree: the derivative of tree by the leaf code v (normally OpX),
// simplified. The input is not changed.
ExprNode *differentiate(const ExprNode *tree, int32_t v);

// Parses text, canonicalises, differentiates by v, canonicalises and writes
// the result. The caller sets parseOK true before and checks it after.
std::string derivativeText(const std::string &text, int32_t v);

} // namespace gq
