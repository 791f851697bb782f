#include "engine/evaluate.h"

#include "engine/eval_operations.h"
#include "engine/parse.h"

#include <cfloat>
#include <cmath>

namespace gq
{

bool evalValid = true;
bool poleSeen = false;
bool logInRange = true;
long double xPerPixel = 10.0L / 640;

namespace
{
// Sums longer than this, or whose expansion would hold more nodes than
// kMaxSumNodes, are not expanded: they evaluate as undefined.
constexpr long kMaxSumTerms = 10000;
constexpr std::size_t kMaxSumNodes = 400000;
} // namespace

namespace
{
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
    TreeShapeGuard shapeChanges;
    if (!ref)
        return;
    expandSums(ref->left);
    expandSums(ref->right);
    if (ref->op != OpSum)
        return;
    ExprNode *range = ref->left;
    if (!range || range->op < OpRangeI || range->op > OpRangeL)
        return;
    bool savedValid = evalValid;
    evalValid = true;
    long double lo = roundHalfEven(evaluate(range->left, 0, 0));
    bool valid = evalValid;
    evalValid = true;
    long double hi = roundHalfEven(evaluate(range->right, 0, 0));
    valid = valid && evalValid;
    evalValid = savedValid;
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

long double evaluateFormulaText(const std::string &text, long double x)
{
    Tree tree(parseFormula(text, ParseBuild));
    if (!parseOK)
        return 0;
    return evaluate(tree.get(), x, 0);
}

long double evaluateFormulaTextWithSums(const std::string &text, long double x)
{
    ExprNode *raw = parseFormula(text, ParseBuild);
    if (!parseOK)
        return 0;
    expandSums(raw);
    Tree tree(raw);
    return evaluate(tree.get(), x, 0);
}

Tree parseForEvaluation(const std::string &text)
{
    parseOK = true;
    ExprNode *tree = parseFormula(text, ParseBuild);
    if (!parseOK || !tree) {
        freeTree(tree);
        return nullptr;
    }
    expandSums(tree);
    return Tree(tree);
}

bool formulaValue(const std::string &text, long double &value)
{
    parseOK = true;
    evalValid = true;
    value = evaluateFormulaText(text, 0);
    return parseOK && evalValid && std::isfinite(value);
}

int signOf(long double v)
{
    return eval_detail::sign(v);
}

long double roundHalfEven(long double v)
{
    return eval_detail::roundToInteger(v);
}

bool isIntegerValue(long double v)
{
    return eval_detail::isInteger(v);
}

// The Gauss bracket: the greatest integer not above v.
long double gaussFloor(long double v)
{
    return std::floor(v);
}

void swapValues(long double &a, long double &b)
{
    long double t = a;
    a = b;
    b = t;
}

void swapValues(int &a, int &b)
{
    int t = a;
    a = b;
    b = t;
}

void lineIntersection(long double m1, long double b1, long double m2, long double b2, long double &x,
                      long double &y)
{
    x = (b2 - b1) / (m1 - m2);
    y = (m1 * b2 - b1 * m2) / (m1 - m2);
}

} // namespace gq
