// Formula texts as the rest of the program meets them: parsed, checked,
// compiled for evaluation, differentiated and evaluated in one call each.
// Every function parses with the definitions installed in this thread's
// engine state (see EngineScope).
#pragma once

#include "engine/expr_tree.h"
#include "engine/program.h"
#include <optional>
#include <string>

namespace gq
{

// Parses text (build mode) and expands its sums: a tree ready to evaluate or
// to work on. Null when the text is empty or does not parse. Sets
// engineState().parseOK true first.
Tree parseForEvaluation(const std::string &text);

// The tree of a curve y = f(x) as the explicit plotter (and every tool that
// must agree with it) evaluates it: checked, parsed, sums expanded,
// simplified and brought into the canonical form. Null when the text is empty
// or does not parse. Sets engineState().parseOK true first.
Tree parseCurveFormula(const std::string &text);

// The Program of a formula text, as parseForEvaluation prepares it; nothing
// when the text is empty or does not parse.
std::optional<Program> compileFormula(const std::string &text);

// Whether the formula contains the leaf code op. Empty text: false. Leaves
// engineState().parseOK as the parse left it.
bool formulaUsesLeaf(const std::string &text, int32_t op);

// Parses text, canonicalises, differentiates by v, canonicalises and writes
// the result. The caller sets engineState().parseOK true before and checks it
// after; a derivative cut short by the node budget fails it.
std::string derivativeText(const std::string &text, int32_t v);

// Parses text (build mode, sums not expanded), evaluates it at (x, 0) and
// frees it. Neither sets parseOK nor evalValid: the caller sets both true
// before and reads them after.
long double evaluateFormulaText(const std::string &text, long double x);

// The value of a constant formula text (at x = 0), as evaluateFormulaText
// gives it: false when the text does not parse or the value is undefined or
// not finite. Sets parseOK and evalValid true first.
bool formulaValue(const std::string &text, long double &value);

} // namespace gq
