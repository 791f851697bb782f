// Polynomial helpers for implicit equations f(x, y) = 0.
#pragma once

#include "engine/expr_tree.h"

namespace gq
{

// Removes root layers that do not move the zeros: positive integer powers,
// sqrt, abs, sgn.
void stripRoot(ExprNode *&ref);

enum DegreeSelector { DegreeXY = 1, DegreeX = 2, DegreeY = 3 };
// Degree as a polynomial in the selected variables; -1 when not a polynomial.
int polynomialDegree(const ExprNode *tree, int selector);

// For a tree quadratic in the leaf v: the root (-f1 ± sqrt(f1^2 - 2 f2 f0)) / f2,
// + when sign is 1, - otherwise. A new tree; null when building it does not
// fit the formula budget.
ExprNode *quadraticRoot(const ExprNode *tree, int32_t v, int sign);

} // namespace gq
