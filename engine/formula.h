// Formula texts as the rest of the program meets them: parsed, checked,
// compiled for evaluation, differentiated and evaluated in one call each.
// Every function parses with the definitions installed in this thread's
// engine state (see EngineScope), and prepares its formula within one formula
// budget (budget.h): a formula that does not fit is refused like one that
// does not parse, and engineState().tooComplex tells the two apart.
#pragma once

#include "engine/expr_tree.h"
#include "engine/program.h"
#include <initializer_list>
#include <optional>
#include <string>

namespace gq
{

// Parses text (build mode) and expands its sums: a tree ready to evaluate or
// to work on. Null when the text is empty, does not parse or does not fit the
// budget. Sets engineState().parseOK true first.
Tree parseForEvaluation(const std::string &text);

// The tree of a curve y = f(x) as the explicit plotter (and every tool that
// must agree with it) evaluates it: checked, parsed, sums expanded,
// simplified and brought into the canonical form. Null when the text is empty
// or does not parse. Sets engineState().parseOK true first.
Tree parseCurveFormula(const std::string &text);

// The Program of a formula text, as parseForEvaluation prepares it; nothing
// when the text is empty or does not parse.
std::optional<Program> compileFormula(const std::string &text);

// The verdict on a formula text that the user or a file offers.
enum class FormulaCheck {
    Empty,       // no text
    Accepted,    // see checkFormula
    CheckFailed, // rejected by the check-mode parse
    BuildFailed, // passed the check but rejected by the build (e.g. 1/0)
    TooComplex,  // parses, but does not fit the formula budget
};
// The keyboard's closing check, also applied to the texts of a file: the text
// parses in check mode, then in build mode; and the formula as the plotters
// prepare it fits one formula budget: its sums expanded with the letters'
// current values, its derivative by each of the leaf codes in derivatives
// that it contains (taken there, as the curves that need one take it), then
// simplified and in the canonical form. The keyboard, which does not know
// what a formula is for, asks for every derivative a plotter or tool may
// take. Sets parseOK.
FormulaCheck checkFormula(const std::string &text,
                          std::initializer_list<int32_t> derivatives = {OpX, OpY, OpT});

// Whether the formula contains the leaf code op. Empty text: false. Leaves
// engineState().parseOK as the parse left it.
bool formulaUsesLeaf(const std::string &text, int32_t op);

// Parses text, canonicalises, differentiates by v, canonicalises and writes
// the result. When that text would be too long to use (products of sums
// multiplied out), the derivative of the formula as written, brought into
// the canonical form without multiplying out, is written instead. The text
// returned is that derivative as presentDerivative (derivative_presentation.h)
// writes it: like terms collected, in the form a teacher writes, defined
// exactly where the canonical text is and never longer. The text is
// at most kMaxDerivativeText bytes and parses back. The caller sets
// engineState().parseOK true before and checks it after: a text that does
// not parse fails it, and so (with tooComplex set) does a derivative that
// does not fit the budget or the length. canonicalText (when given)
// receives the canonical text chosen before the presentation, which the
// returned text replaces (the same text where the presentation found
// nothing better); empty on failure.
std::string derivativeText(const std::string &text, int32_t v, std::string *canonicalText = nullptr);
// Why 2,000 bytes: a derivative item's text is shown in the item list and
// may be corrected on the keyboard; the derivative of a product of ten linear
// factors needs about 600.
inline constexpr std::size_t kMaxDerivativeText = 2000;

// Parses text (build mode, sums not expanded), evaluates it at (x, 0) and
// frees it. Neither sets parseOK nor evalValid: the caller sets both true
// before and reads them after.
long double evaluateFormulaText(const std::string &text, long double x);

// The value of a constant formula text (at x = 0), as evaluateFormulaText
// gives it: false when the text does not parse or the value is undefined or
// not finite. Sets parseOK and evalValid true first.
bool formulaValue(const std::string &text, long double &value);

} // namespace gq
