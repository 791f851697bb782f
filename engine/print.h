// Expression tree to formula text, with the fewest parentheses the rules allow.
#pragma once

#include "engine/expr_tree.h"
#include <string>

namespace gq
{

// The text of tree (Shift-JIS: π and θ as their two bytes). Empty tree: "".
// Every constant is written so that the parser reads back the same value.
std::string treeToText(const ExprNode *tree);

// A constant in the notation the parser reads: shortest digits that read back
// exactly (at least up to 15 significant digits), never exponent notation.
std::string formatConstant(long double v);

} // namespace gq
