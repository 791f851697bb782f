// Small tree surgery shared by the rewrite passes.
#pragma once

#include "engine/expr_tree.h"

namespace gq
{

// Takes a child out of its parent: the slot becomes null and the child has no
// parent. The caller owns the child.
ExprNode *detachChild(ExprNode *&child);
// Frees ref with its subtrees and puts replacement (owned from now on by the
// tree) in its place, with ref's parent link.
void replaceNode(ExprNode *&ref, ExprNode *replacement);

} // namespace gq
