// Small tree surgery shared by the rewrite passes.
#pragma once

#include "engine/expr_tree.h"

// Takes a child out of its parent: the slot becomes null and the child has no
// parent. The caller owns the child.
ExprNode *DetachChild(ExprNode *&child);
// Frees ref with its subtrees and puts replacement (owned from now on by the
// tree) in its place, with ref's parent link.
void ReplaceNode(ExprNode *&ref, ExprNode *replacement);
