// The formula parser: text to expression tree, or a check of the text only.
#pragma once

#include "engine/expr_tree.h"
#include <string>

namespace gq
{

// Parses text in mode 1 (check) or 2 (build), with the definitions installed
// in this thread's engine state. The caller sets engineState().parseOK true
// first; the parser only ever sets it false, and then returns null. An empty
// text returns null and leaves the flag unchanged. The tree is simplified (a
// division by the constant 0 fails the parse). Definitions that refer to
// themselves fail the parse; texts too long, nested too deeply or whose trees
// pass the formula budget (budget.h) fail it as too complex
// (engineState().tooComplex) instead of exhausting the machine. A failed parse
// never returns a tree, not even in part.
ExprNode *parseFormula(const std::string &text, int mode);

// Deepest nesting of parentheses, functions and operands one parse accepts.
inline constexpr int kMaxParseNesting = 3000;

} // namespace gq
