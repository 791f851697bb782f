#include "engine/evaluate.h"

#include "engine/eval_operations.h"
#include "engine/parse.h"

#include <cfloat>
#include <cmath>

bool EvalValid = true;
bool PoleSeen = false;
bool LogInRange = true;
long double XPerPixel = 10.0L / 640;

namespace
{
// Sums longer than this, or whose expansion would hold more nodes than
// kMaxSumNodes, are not expanded: they evaluate as undefined.
constexpr long kMaxSumTerms = 10000;
constexpr std::size_t kMaxSumNodes = 400000;
} // namespace

namespace
{
long double TermSize(const ExprNode *n)
{
    return static_cast<long double>(TreeSize(n));
}

// Index letter of a range code 5001..5004 (i, j, k, l).
int32_t IndexLeaf(int32_t rangeCode)
{
    static const int32_t leaves[] = {OpLetterI, LetterCode('j'), LetterCode('k'), LetterCode('l')};
    return leaves[rangeCode - OpRangeI];
}
} // namespace

void ExpandSums(ExprNode *&ref)
{
    TreeShapeGuard shapeChanges;
    if (!ref)
        return;
    ExpandSums(ref->left);
    ExpandSums(ref->right);
    if (ref->op != OpSum)
        return;
    ExprNode *range = ref->left;
    if (!range || range->op < OpRangeI || range->op > OpRangeL)
        return;
    bool savedValid = EvalValid;
    EvalValid = true;
    long double lo = RoundHalfEven(Evaluate(range->left, 0, 0));
    bool valid = EvalValid;
    EvalValid = true;
    long double hi = RoundHalfEven(Evaluate(range->right, 0, 0));
    valid = valid && EvalValid;
    EvalValid = savedValid;
    if (valid && hi < lo)
        return; // an empty sum stays and evaluates to 0
    ExprNode *parent = ref->parent;
    const ExprNode *summand = ref->right;
    long double terms = hi - lo + 1;
    if (!valid || terms > kMaxSumTerms || terms * TermSize(summand) > kMaxSumNodes) {
        // Too long to expand (or bounds undefined): undefined, never a hang.
        FreeTree(ref);
        ref = MakeLeafNode(OpSumTooLarge);
        ref->parent = parent;
        return;
    }
    int32_t index = IndexLeaf(range->op);
    long first = static_cast<long>(lo), last = static_cast<long>(hi);
    ExprNode *s = CopyTree(summand);
    ReplaceLeafByInteger(s, first, index);
    for (long k = first + 1; k <= last; ++k) {
        ExprNode *t = CopyTree(summand);
        ReplaceLeafByInteger(t, k, index);
        s = MakeBinaryNode(OpAdd, s, t, ParseBuild);
    }
    FreeTree(ref);
    ref = s;
    if (ref)
        ref->parent = parent;
}

long double EvaluateFormulaText(const std::string &text, long double x)
{
    Tree tree(ParseFormula(text, ParseBuild));
    if (!ParseOK)
        return 0;
    return Evaluate(tree.get(), x, 0);
}

long double EvaluateFormulaTextWithSums(const std::string &text, long double x)
{
    ExprNode *raw = ParseFormula(text, ParseBuild);
    if (!ParseOK)
        return 0;
    ExpandSums(raw);
    Tree tree(raw);
    return Evaluate(tree.get(), x, 0);
}

Tree ParseForEvaluation(const std::string &text)
{
    ParseOK = true;
    ExprNode *tree = ParseFormula(text, ParseBuild);
    if (!ParseOK || !tree) {
        FreeTree(tree);
        return nullptr;
    }
    ExpandSums(tree);
    return Tree(tree);
}

bool FormulaValue(const std::string &text, long double &value)
{
    ParseOK = true;
    EvalValid = true;
    value = EvaluateFormulaText(text, 0);
    return ParseOK && EvalValid && std::isfinite(value);
}

int SignOf(long double v)
{
    return eval_detail::Sign(v);
}

long double RoundHalfEven(long double v)
{
    return eval_detail::RoundToInteger(v);
}

bool IsIntegerValue(long double v)
{
    return eval_detail::IsInteger(v);
}

// The Gauss bracket: the greatest integer not above v.
long double GaussFloor(long double v)
{
    return std::floor(v);
}

void SwapValues(long double &a, long double &b)
{
    long double t = a;
    a = b;
    b = t;
}

void SwapValues(int &a, int &b)
{
    int t = a;
    a = b;
    b = t;
}

void LineIntersection(long double m1, long double b1, long double m2, long double b2, long double &x,
                      long double &y)
{
    x = (b2 - b1) / (m1 - m2);
    y = (m1 * b2 - b1 * m2) / (m1 - m2);
}
