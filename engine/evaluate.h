// The evaluator on trees, inside the engine: everything outside evaluates
// through a Program (program.h). Also the expansion of finite sums.
#pragma once

#include "engine/expr_tree.h"
#include "engine/numbers.h"

namespace gq
{

// Value of tree at (x, y); stores x and y into the engine state first. An empty
// tree gives 0. Never allocates. Domain errors: engineState().evalValid false and result 0.
// The first call after a change of shape (see treeShapeChanged) lays out the
// order of evaluation in the tree's nodes; later calls only follow it.
long double evaluate(ExprNode *tree, long double x, long double y);

// Replaces every finite sum by its explicit sum. A sum whose expansion would
// exceed the node budget becomes a node that evaluates as undefined.
void expandSums(ExprNode *&ref);

} // namespace gq
