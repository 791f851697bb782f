#include "engine/expand_sums.h"

#include "engine/budget.h"
#include "engine/numbers.h"
#include "engine/program.h"

#include <cmath>

namespace gq
{

namespace
{
// A sum is expanded only when its bounds are integers within ±kMaxSumBound
// (checked before they are converted, so that the counter can never
// overflow), it has at most kMaxSumTerms terms and its expansion fits the
// formula budget. Anything beyond is refused as too complex: the budget
// could never hold it.
constexpr long double kMaxSumBound = 1e15;
constexpr long long kMaxSumTerms = 10000;

// Index letter of a range code 5001..5004 (i, j, k, l).
int32_t indexLeaf(int32_t rangeCode)
{
    static const int32_t leaves[] = {OpLetterI, letterCode('j'), letterCode('k'), letterCode('l')};
    return leaves[rangeCode - OpRangeI];
}

// A bound: the tree's value at x = y = 0, rounded. False when undefined.
bool boundValue(ExprNode *bound, long double &value)
{
    EngineState &state = engineState();
    state.evalValid = true;
    value = roundHalfEven(Program(bound).evaluate(0, 0));
    return state.evalValid && !std::isnan(value);
}

void replaceByUndefined(ExprNode *&ref)
{
    ExprNode *parent = ref->parent;
    freeTree(ref);
    ref = makeLeafNode(OpSumTooLarge);
    ref->parent = parent;
}

// The sum at ref (its range checked) as an explicit sum of its terms.
void expandSum(ExprNode *&ref, long long first, long long last)
{
    ExprNode *parent = ref->parent;
    const ExprNode *summand = ref->right;
    const int32_t index = indexLeaf(ref->left->op);
    ExprNode *s = copyTree(summand);
    replaceLeafByInteger(s, first, index);
    for (long long k = first + 1; k <= last && !formulaBudgetSpent(); ++k) {
        ExprNode *t = copyTree(summand);
        replaceLeafByInteger(t, k, index);
        s = makeBinaryNode(OpAdd, s, t, ParseBuild);
    }
    freeTree(ref);
    ref = s;
    if (ref)
        ref->parent = parent;
}

void expandAll(ExprNode *&ref)
{
    if (!ref || formulaBudgetSpent())
        return;
    expandAll(ref->left);
    expandAll(ref->right);
    if (ref->op != OpSum)
        return;
    ExprNode *range = ref->left;
    if (!range || range->op < OpRangeI || range->op > OpRangeL)
        return;
    EngineState &state = engineState();
    const bool savedValid = state.evalValid;
    long double lo = 0, hi = 0;
    const bool defined = boundValue(range->left, lo) && boundValue(range->right, hi);
    state.evalValid = savedValid;
    if (!defined) { // a sum with an undefined bound is undefined
        replaceByUndefined(ref);
        return;
    }
    if (!(std::fabs(lo) <= kMaxSumBound && std::fabs(hi) <= kMaxSumBound)) {
        refuseFormula();
        return;
    }
    if (hi < lo)
        return; // an empty sum stays and evaluates to 0
    const long long first = static_cast<long long>(lo), last = static_cast<long long>(hi);
    const long long terms = last - first + 1; // at most 2·10^15 + 1
    if (terms > kMaxSumTerms || static_cast<std::size_t>(terms) * treeSize(ref->right) > kFormulaNodeBudget) {
        refuseFormula();
        return;
    }
    expandSum(ref, first, last);
}
} // namespace

void expandSums(ExprNode *&ref)
{
    FormulaBudget budget;
    expandAll(ref);
    // Never half expanded: a formula whose sums do not fit is undefined
    // everywhere (and refused as too complex).
    if (formulaBudgetSpent() && ref)
        replaceByUndefined(ref);
}

} // namespace gq
