// The formula parser: text to expression tree, or a check of the text only.
#pragma once

#include "engine/expr_tree.h"
#include <string>

// Parse result flag. The caller sets it true before ParseFormula and reads it
// afterwards; the parser only ever sets it false. When false, the result is
// null and must not be used.
extern bool ParseOK;
// Set by the routines that look past an operand: the next operand is joined by
// an implied multiplication.
extern bool ImplicitProduct;

// Supplies the texts of the defined functions F1..F6 and constants Q1..Q6 at
// the moment a reference is parsed. The document implements it.
class DefinitionSource
{
  public:
    virtual ~DefinitionSource() = default;
    virtual std::string FunctionText(int n) const = 0; // n = 1..6, "" when undefined
    virtual std::string ConstantText(int n) const = 0; // n = 1..6, "" when undefined
};
// Installs the source (not owned; null means no definitions).
void SetDefinitionSource(const DefinitionSource *source);
const DefinitionSource *CurrentDefinitionSource();

// Parses text in mode 1 (check) or 2 (build). An empty text returns null and
// leaves ParseOK unchanged. The tree is simplified (a division by the constant
// 0 fails the parse). Texts nested too deeply, trees too large and definitions
// that refer to themselves fail the parse instead of exhausting the machine.
ExprNode *ParseFormula(const std::string &text, int mode);

// Deepest nesting of parentheses, functions and operands one parse accepts.
inline constexpr int kMaxParseNesting = 3000;
