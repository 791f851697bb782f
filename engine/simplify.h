// Rewrite passes: exact folding of integer constants and fractions, and the
// canonical form of products and sums used before plotting.
#pragma once

#include "engine/expr_tree.h"

namespace gq
{

// Folds integer arithmetic and fractions in place. Does nothing in mode 1 or
// on an empty tree. A division by the constant 0 sets parseOK false. Never
// grows the tree; each node visited costs a unit of the formula budget.
void simplify(ExprNode *&ref, int mode);
// Reduces an integer fraction node p/q in place (may turn it into a number).
void reduceFraction(ExprNode *&node, int mode);
// Numbers to the left of products, products multiplied out, subtractions as
// additions of -1 times, sums associated to the left, powers of powers merged.
// Returns the (possibly new) root; the root keeps its parent link. Within the
// formula budget (budget.h): when it runs out the pass stops with a tree of
// the same value, and the formula is refused.
ExprNode *canonicaliseTree(ExprNode *&ref);
// The same without multiplying products out over sums, so that the tree
// never grows: for texts that must stay short (see derivativeText).
ExprNode *canonicaliseWithoutMultiplyingOut(ExprNode *&ref);

// Every node of code op becomes the constant 0; then the tree is simplified.
void replaceLeafByZero(ExprNode *&ref, int32_t op);

} // namespace gq
