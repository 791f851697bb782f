#include "engine/expand_sums.h"

#include "engine/numbers.h"
#include "engine/program.h"

namespace gq
{

namespace
{
// Sums longer than this, or whose expansion would hold more nodes than
// kMaxSumNodes, are not expanded: they evaluate as undefined.
constexpr long kMaxSumTerms = 10000;
constexpr std::size_t kMaxSumNodes = 400000;

long double termSize(const ExprNode *n)
{
    return static_cast<long double>(treeSize(n));
}

// Index letter of a range code 5001..5004 (i, j, k, l).
int32_t indexLeaf(int32_t rangeCode)
{
    static const int32_t leaves[] = {OpLetterI, letterCode('j'), letterCode('k'), letterCode('l')};
    return leaves[rangeCode - OpRangeI];
}
} // namespace

void expandSums(ExprNode *&ref)
{
    if (!ref)
        return;
    expandSums(ref->left);
    expandSums(ref->right);
    if (ref->op != OpSum)
        return;
    ExprNode *range = ref->left;
    if (!range || range->op < OpRangeI || range->op > OpRangeL)
        return;
    EngineState &state = engineState();
    const bool savedValid = state.evalValid;
    state.evalValid = true;
    long double lo = roundHalfEven(Program(range->left).evaluate(0, 0));
    bool valid = state.evalValid;
    state.evalValid = true;
    long double hi = roundHalfEven(Program(range->right).evaluate(0, 0));
    valid = valid && state.evalValid;
    state.evalValid = savedValid;
    if (valid && hi < lo)
        return; // an empty sum stays and evaluates to 0
    ExprNode *parent = ref->parent;
    const ExprNode *summand = ref->right;
    long double terms = hi - lo + 1;
    if (!valid || terms > kMaxSumTerms || terms * termSize(summand) > kMaxSumNodes) {
        // Too long to expand (or bounds undefined): undefined, never a hang.
        freeTree(ref);
        ref = makeLeafNode(OpSumTooLarge);
        ref->parent = parent;
        return;
    }
    int32_t index = indexLeaf(range->op);
    long first = static_cast<long>(lo), last = static_cast<long>(hi);
    ExprNode *s = copyTree(summand);
    replaceLeafByInteger(s, first, index);
    for (long k = first + 1; k <= last; ++k) {
        ExprNode *t = copyTree(summand);
        replaceLeafByInteger(t, k, index);
        s = makeBinaryNode(OpAdd, s, t, ParseBuild);
    }
    freeTree(ref);
    ref = s;
    if (ref)
        ref->parent = parent;
}

} // namespace gq
