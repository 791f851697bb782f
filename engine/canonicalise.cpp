#include "engine/simplify.h"

#include "engine/budget.h"
#include "engine/numbers.h"
#include "engine/simplify_internal.h"

#include <cmath>
#include <utility>

namespace gq
{

// The canonical form: numbers to the left of products and multiplied
// together, products multiplied out over sums, subtractions as additions of
// -1 times the subtrahend, sums associated to the left, integer powers of
// integer powers merged. Each node is rewritten until no rule changes it.
//
// A rule makes new nodes only among the children of the node it rewrites,
// from subtrees that are in the canonical form already. So after a change
// only those children are rewritten again (their own subtrees are left as
// they are): that is all a walk over the whole subtree would change, and it
// keeps the pass linear where walking again would be quadratic or worse in
// the length of a sum.
//
// Limits, so that no formula can make this pass run away:
// - Multiplying out is the only rule that grows a tree (a product of n sums
//   of two terms becomes 2^n products). It is not applied to a product of more
//   than kMaxExpandNodes nodes, nor once the formula budget is spent; such a
//   product is left as it stands, which has the same value.
// - Every node rewritten costs a unit of the formula budget; once it is
//   spent the pass stops, and the formula is refused (budget.h).
// - Rewriting one node again after a change stops after kMaxPasses rounds.
// Every rule keeps the value, so a tree left partly rewritten is still
// right.

namespace
{

constexpr std::size_t kMaxExpandNodes = 2000;
constexpr int kMaxPasses = 1000;

// Whether the pass running on this thread may multiply out.
thread_local bool g_multiplyOut = true;
// How many factorials enclose the node being rewritten on this thread.
thread_local int g_factorialDepth = 0;

bool is(const ExprNode *n, int32_t op)
{
    return n && n->op == op;
}
bool isSumLike(const ExprNode *n)
{
    return is(n, OpAdd) || is(n, OpSubtract);
}
bool isIntegerConst(const ExprNode *n)
{
    return isConst(n) && isIntegerValue(n->value);
}

// True when the tree has at most limit nodes; stops counting beyond that.
bool sizeAtMost(const ExprNode *n, std::size_t limit, std::size_t &count)
{
    if (!n)
        return true;
    if (++count > limit)
        return false;
    return sizeAtMost(n->left, limit, count) && sizeAtMost(n->right, limit, count);
}

bool mayMultiplyOut(const ExprNode *product)
{
    std::size_t count = 0;
    if (!g_multiplyOut || formulaBudgetSpent())
        return false;
    const bool small = sizeAtMost(product, kMaxExpandNodes, count);
    spendFormulaWork(count);
    return small;
}

// Sets the parent links of the node's children and grandchildren, the only
// levels a rule rearranges.
void linkDown(ExprNode *n)
{
    for (ExprNode *c : {n->left, n->right}) {
        if (!c)
            continue;
        c->parent = n;
        if (c->left)
            c->left->parent = c;
        if (c->right)
            c->right->parent = c;
    }
}

// Frees the node alone after its children have been taken over elsewhere.
void replaceShell(ExprNode *&ref, ExprNode *replacement)
{
    ref->left = ref->right = nullptr;
    replaceNode(ref, replacement);
}

void setNumber(ExprNode *n, long double v)
{
    n->value = v;
}

// Whether a number folded from the numbers a and b may replace them: never
// an infinity or NaN, and never a 0 that only underflow made (it would turn
// a quotient into a division by the constant 0, which the parser refuses to
// read back; unfolded, the product or power evaluates to the same 0).
bool foldable(long double v, long double a, long double b)
{
    return std::isfinite(v) && (v != 0 || a == 0 || b == 0);
}

bool powerRules(ExprNode *&ref)
{
    bool changed = false;
    ExprNode *inner = ref->left;
    // (a^m)^n = a^(m·n) for integers m and n wherever the left side is
    // defined. With other exponents the two sides differ ((x^2)^0.5 is |x|),
    // so those are left alone.
    if (is(inner, OpPower) && isIntegerConst(inner->right) && isIntegerConst(ref->right)) {
        ExprNode *a = inner->left;
        ExprNode *m = inner->right;
        inner->op = OpMultiply; // the inner power node becomes the product m·n
        inner->left = m;
        inner->right = ref->right;
        ref->left = a;
        ref->right = inner;
        linkDown(ref);
        changed = true;
    }
    ExprNode *base = ref->left;
    ExprNode *exponent = ref->right;
    if (isConst(base) && base->value > 0 && isIntegerConst(exponent)) {
        long double v = std::exp(exponent->value * std::log(base->value));
        // An integer to a non-negative integer power is an integer; with a
        // negative exponent the result is a fraction and is kept as it is.
        if (isIntegerValue(base->value) && exponent->value >= 0)
            v = roundHalfEven(v);
        // Inside a factorial the text may hold no decimal point, so a
        // fraction such as 3^(-4) stays a power there: folded, (2+3^(-4))!
        // could not be written back.
        const bool writable = g_factorialDepth == 0 || isIntegerValue(v);
        if (writable && foldable(v, base->value, 1))
            replaceNode(ref, makeConstNode(v));
    }
    // A power of a negative base is defined for a fraction exponent with an
    // odd denominator (x^(12/5)), which the power reads from a quotient of
    // numbers. The parser folds whole numbers and fractions in an exponent
    // into one such quotient; multiplying out can leave them apart
    // (2·(1/5 + 1) → 2/5 + 2, undefined for x < 0 as it stands). Folded the
    // same way, the canonical form keeps the domain that its text reads back.
    if (is(ref, OpPower) && ref->right && !isConst(ref->right)) {
        const ExprNode *before = ref->right;
        simplify(ref->right, ParseBuild);
        ref->right->parent = ref;
        if (ref->right != before)
            changed = true;
    }
    return changed;
}

bool reorderFactors(ExprNode *ref)
{
    ExprNode *l = ref->left;
    ExprNode *r = ref->right;
    if (!isConst(l) && isConst(r)) {
        std::swap(ref->left, ref->right);
        return true;
    }
    if (is(l, OpMultiply) && is(r, OpMultiply)) {
        // (a·b)·(c·d) → (a·c)·(b·d) when c is a number and b is not.
        if (isConst(l->right) || !isConst(r->left))
            return false;
        std::swap(l->right, r->left);
        linkDown(ref);
        return true;
    }
    if (is(r, OpMultiply) && isConst(r->left)) { // x·(c·y) → c·(x·y)
        ExprNode *c = r->left;
        r->left = l;
        ref->left = c;
        linkDown(ref);
        return true;
    }
    if (is(l, OpMultiply) && isConst(l->left)) { // (c·a)·b → c·(a·b)
        ExprNode *c = l->left;
        l->left = l->right;
        l->right = r;
        ref->left = c;
        ref->right = l;
        linkDown(ref);
        return true;
    }
    return false;
}

// Combines a number on the left with the number that leads the right factor
// (where foldable allows).
bool combineNumbers(ExprNode *&ref)
{
    ExprNode *l = ref->left;
    ExprNode *r = ref->right;
    if (!isConst(l))
        return false;
    if ((is(r, OpMultiply) || is(r, OpDivide)) && isConst(r->left)) {
        long double v = l->value * r->left->value;
        if (!foldable(v, l->value, r->left->value))
            return false;
        setNumber(r->left, v); // c1·(c2·x) → (c1c2)·x, c1·(c2/x) → (c1c2)/x
        replaceNode(ref, detachChild(ref->right));
        return true;
    }
    if (isConst(r)) {
        long double v = l->value * r->value;
        if (foldable(v, l->value, r->value))
            replaceNode(ref, makeConstNode(v));
    } else if (l->value == 0) {
        replaceNode(ref, makeConstNode(0));
    }
    return false;
}

bool productRules(ExprNode *&ref)
{
    bool changed = reorderFactors(ref);
    if (combineNumbers(ref))
        changed = true;
    if (!changed && is(ref, OpMultiply) && is(ref->left, OpMultiply)) { // (a·b)·c → b·(a·c)
        ExprNode *inner = ref->left;
        ExprNode *b = inner->right;
        inner->right = ref->right;
        ref->left = b;
        ref->right = inner;
        linkDown(ref);
        changed = true;
    }
    if (!changed && is(ref, OpMultiply) && isSumLike(ref->left) && mayMultiplyOut(ref)) {
        // (a ± b)·c → (a·c) ± (b·c)
        ExprNode *sum = detachChild(ref->left);
        ExprNode *c = detachChild(ref->right);
        sum->left = makeBinaryNode(OpMultiply, sum->left, copyTree(c));
        sum->right = makeBinaryNode(OpMultiply, sum->right, c);
        linkDown(sum);
        replaceShell(ref, sum);
        changed = true;
    }
    if (is(ref, OpMultiply) && isSumLike(ref->right) && mayMultiplyOut(ref)) {
        // c·(a ± b) → (c·a) ± (c·b)
        ExprNode *c = detachChild(ref->left);
        ExprNode *sum = detachChild(ref->right);
        sum->left = makeBinaryNode(OpMultiply, c, sum->left);
        sum->right = makeBinaryNode(OpMultiply, copyTree(c), sum->right);
        linkDown(sum);
        replaceShell(ref, sum);
        changed = true;
    }
    return changed;
}

bool nodeRules(ExprNode *&ref)
{
    switch (ref->op) {
    case OpPower:
        return powerRules(ref);
    case OpMultiply:
        return productRules(ref);
    case OpSubtract: // a - b → a + (-1)·b
        ref->op = OpAdd;
        ref->right = makeBinaryNode(OpMultiply, makeConstNode(-1), ref->right);
        ref->right->parent = ref;
        return true;
    case OpAdd:
        if (is(ref->right, OpAdd)) { // a + (b + c) → (a + b) + c
            ExprNode *inner = ref->right;
            ExprNode *c = inner->right;
            inner->right = inner->left;
            inner->left = ref->left;
            ref->left = inner;
            ref->right = c;
            linkDown(ref);
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Rewrites ref, whose children are in the canonical form, until no rule
// changes it.
ExprNode *settle(ExprNode *&ref)
{
    for (int pass = 0;; ++pass) {
        spendFormulaWork(1);
        ExprNode *parent = ref->parent;
        bool changed = nodeRules(ref);
        linkDown(ref);
        ref->parent = parent;
        if (!changed || pass >= kMaxPasses || formulaBudgetSpent())
            return ref;
        if (ref->left)
            settle(ref->left);
        if (ref->right)
            settle(ref->right);
    }
}

ExprNode *canonicalise(ExprNode *&ref)
{
    if (!ref || formulaBudgetSpent())
        return ref;
    // No rule rewrites a factorial, so nothing leaves or enters its operand
    // after the operand is rewritten here.
    const int enclosing = ref->op == OpFactorial ? 1 : 0;
    g_factorialDepth += enclosing;
    canonicalise(ref->left);
    canonicalise(ref->right);
    g_factorialDepth -= enclosing;
    return settle(ref);
}

ExprNode *canonicaliseWith(ExprNode *&ref, bool multiplyOut)
{
    FormulaBudget budget;
    const bool saved = g_multiplyOut;
    g_multiplyOut = multiplyOut;
    canonicalise(ref);
    g_multiplyOut = saved;
    return ref;
}

} // namespace

ExprNode *canonicaliseTree(ExprNode *&ref)
{
    return canonicaliseWith(ref, true);
}

ExprNode *canonicaliseWithoutMultiplyingOut(ExprNode *&ref)
{
    return canonicaliseWith(ref, false);
}

} // namespace gq
