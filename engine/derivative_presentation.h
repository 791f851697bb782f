// The text of a derivative as a teacher writes it on the board.
#pragma once

#include "engine/expr_tree.h"

#include <string>

namespace gq
{

// canonical: a derivative in the canonical form (multipliedOut tells which
// of its two kinds), canonicalText its text as treeToText writes it.
// Returns the simplest text found that has the same value wherever the
// canonical derivative is defined (up to rounding) and is defined exactly
// where it is: like terms and factors collected, numbers folded, a common
// number of a quotient cancelled, terms over one denominator collected in
// descending powers of x. The text parses, is never longer than
// canonicalText, and is canonicalText itself where no better one is found,
// where canonicalText is longer than 20,000 bytes, or where the pass runs
// out of its share of the formula budget (it never refuses the formula).
// Leaves the engine's flags as they were.
std::string presentDerivative(const ExprNode *canonical, const std::string &canonicalText, bool multipliedOut);

} // namespace gq
