#include "engine/formula.h"

#include "engine/differentiate.h"
#include "engine/expand_sums.h"
#include "engine/parse.h"
#include "engine/print.h"
#include "engine/simplify.h"

#include <cmath>

namespace gq
{

Tree parseForEvaluation(const std::string &text)
{
    EngineState &state = engineState();
    state.parseOK = true;
    ExprNode *tree = parseFormula(text, ParseBuild);
    if (!state.parseOK || !tree) {
        freeTree(tree);
        return nullptr;
    }
    expandSums(tree);
    return Tree(tree);
}

Tree parseCurveFormula(const std::string &text)
{
    bool &parseOK = engineState().parseOK;
    parseOK = true;
    parseFormula(text, ParseCheck);
    if (!parseOK)
        return nullptr;
    ExprNode *tree = parseFormula(text, ParseBuild);
    if (!parseOK || !tree) {
        freeTree(tree);
        return nullptr;
    }
    expandSums(tree);
    simplify(tree, ParseBuild);
    tree = canonicaliseTree(tree);
    return Tree(tree);
}

std::optional<Program> compileFormula(const std::string &text)
{
    Tree tree = parseForEvaluation(text);
    if (!tree)
        return std::nullopt;
    return Program(tree.get());
}

bool formulaUsesLeaf(const std::string &text, int32_t op)
{
    if (text.empty())
        return false;
    Tree tree(parseFormula(text, ParseBuild));
    return containsOp(tree.get(), op);
}

std::string derivativeText(const std::string &text, int32_t v)
{
    EngineState &state = engineState();
    Tree tree(parseFormula(text, ParseBuild));
    if (!state.parseOK || !tree)
        return {};
    ExprNode *root = tree.release();
    canonicaliseTree(root);
    tree.reset(root);
    bool cutShort = false;
    Tree d(differentiate(tree.get(), v, &cutShort));
    if (d) {
        root = d.release();
        canonicaliseTree(root);
        d.reset(root);
    }
    // A derivative cut short by the node budget is not the derivative.
    if (cutShort || treeBudgetExceeded()) {
        state.parseOK = false;
        return {};
    }
    return treeToText(d.get());
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
