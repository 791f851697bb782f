#include "engine/formula.h"

#include "engine/budget.h"
#include "engine/differentiate.h"
#include "engine/expand_sums.h"
#include "engine/parse.h"
#include "engine/print.h"
#include "engine/simplify.h"

#include <cmath>

namespace gq
{

namespace
{
// Applies an in-place pass to an owned tree.
template <class Pass> void apply(Tree &tree, Pass pass)
{
    ExprNode *raw = tree.release();
    pass(raw);
    tree.reset(raw);
}

// The formula of text parsed (check mode first when asked) and its sums
// expanded, within the formula budget the caller opened; null when it does
// not parse or does not fit.
Tree parseAndExpand(const std::string &text, bool checkFirst)
{
    bool &parseOK = engineState().parseOK;
    parseOK = true;
    if (checkFirst) {
        parseFormula(text, ParseCheck);
        if (!parseOK)
            return nullptr;
    }
    Tree tree(parseFormula(text, ParseBuild));
    if (!parseOK || !tree)
        return nullptr;
    apply(tree, expandSums);
    fitsEvaluationBudget(tree.get());
    return formulaBudgetSpent() ? nullptr : std::move(tree);
}

// The canonical form of parseAndExpand's tree, as the explicit plotter
// evaluates it.
Tree curveTree(const std::string &text, bool checkFirst)
{
    Tree tree = parseAndExpand(text, checkFirst);
    if (!tree)
        return nullptr;
    apply(tree, [](ExprNode *&t) { simplify(t, ParseBuild); });
    apply(tree, canonicaliseTree);
    fitsEvaluationBudget(tree.get());
    return formulaBudgetSpent() ? nullptr : std::move(tree);
}
} // namespace

Tree parseForEvaluation(const std::string &text)
{
    FormulaBudget budget;
    return parseAndExpand(text, false);
}

Tree parseCurveFormula(const std::string &text)
{
    FormulaBudget budget;
    return curveTree(text, true);
}

std::optional<Program> compileFormula(const std::string &text)
{
    Tree tree = parseForEvaluation(text);
    if (!tree)
        return std::nullopt;
    return Program(tree.get());
}

FormulaCheck checkFormula(const std::string &text, std::initializer_list<int32_t> derivatives)
{
    if (text.empty())
        return FormulaCheck::Empty;
    EngineState &state = engineState();
    FormulaBudget budget;
    state.parseOK = true;
    parseFormula(text, ParseCheck);
    if (!state.parseOK)
        return formulaBudgetSpent() ? FormulaCheck::TooComplex : FormulaCheck::CheckFailed;
    // What the plotters and tools make of the formula must fit as well: its
    // derivatives as the curves that need them take them, from the formula
    // with its sums expanded, then its canonical form.
    Tree tree = parseAndExpand(text, false);
    if (!tree)
        return formulaBudgetSpent() ? FormulaCheck::TooComplex : FormulaCheck::BuildFailed;
    for (int32_t v : derivatives) {
        if (containsOp(tree.get(), v))
            Tree(differentiate(tree.get(), v));
    }
    apply(tree, [](ExprNode *&t) { simplify(t, ParseBuild); });
    apply(tree, canonicaliseTree);
    fitsEvaluationBudget(tree.get());
    return formulaBudgetSpent() ? FormulaCheck::TooComplex : FormulaCheck::Accepted;
}

bool formulaUsesLeaf(const std::string &text, int32_t op)
{
    if (text.empty())
        return false;
    Tree tree(parseFormula(text, ParseBuild));
    return containsOp(tree.get(), op);
}

long double evaluateFormulaText(const std::string &text, long double x)
{
    Tree tree(parseFormula(text, ParseBuild));
    if (!engineState().parseOK)
        return 0;
    return Program(tree.get()).evaluate(x, 0);
}

bool formulaValue(const std::string &text, long double &value)
{
    EngineState &state = engineState();
    state.parseOK = true;
    state.evalValid = true;
    value = evaluateFormulaText(text, 0);
    return state.parseOK && state.evalValid && std::isfinite(value);
}

} // namespace gq
