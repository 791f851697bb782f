// The formula parser: text to expression tree, or a check of the text only.
#pragma once

#include "engine/expr_tree.h"
#include <string>

namespace gq
{

// Parse result flag. The caller sets it true before parseFormula and reads it
// afterwards; the parser only ever sets it false. When false, the result is
// null and must not be used.
extern bool parseOK;
// Set by the routines that look past an operand: the next operand is joined by
// an implied multiplication.
extern bool implicitProduct;

// Supplies the texts of the defined functions F1..F6 and constants Q1..Q6 at
// the moment a reference is parsed. The document implements it.
class DefinitionSource
{
  public:
    virtual ~DefinitionSource() = default;
    virtual std::string functionText(int n) const = 0; // n = 1..6, "" when undefined
    virtual std::string constantText(int n) const = 0; // n = 1..6, "" when undefined
};
// Installs the source (not owned; null means no definitions).
void setDefinitionSource(const DefinitionSource *source);
const DefinitionSource *currentDefinitionSource();

// Parses text in mode 1 (check) or 2 (build). An empty text returns null and
// leaves parseOK unchanged. The tree is simplified (a division by the constant
// 0 fails the parse). Texts nested too deeply, trees too large and definitions
// that refer to themselves fail the parse instead of exhausting the machine.
ExprNode *parseFormula(const std::string &text, int mode);

// Deepest nesting of parentheses, functions and operands one parse accepts.
inline constexpr int kMaxParseNesting = 3000;

} // namespace gq
