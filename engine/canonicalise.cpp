#include "engine/simplify.h"

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
// Limits, so that no formula can make this pass run away:
// - Multiplying out is the only rule that grows a tree (a product of n sums
//   of two terms becomes 2^n products). It is not applied to a product of more
//   than kMaxExpandNodes nodes, nor once the node budget is spent; such a
//   product is left as it stands, which has the same value.
// - Rewriting one node again after a change stops after kMaxPasses rounds,
//   and rewriting again stops once one call has visited kMaxVisits nodes
//   (about half a second). Every rewrite walks the rewritten subtree again,
//   so only sums of thousands of terms come near; a typed formula needs well
//   under a millisecond. Every rule keeps the value, so a tree left partly
//   rewritten is still right.

namespace
{

constexpr std::size_t kMaxExpandNodes = 2000;
constexpr int kMaxPasses = 1000;
constexpr std::size_t kMaxVisits = 20'000'000;

// Node visits of the canonicalisation running on this thread.
thread_local std::size_t g_visits = 0;

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
    return !treeBudgetExceeded() && sizeAtMost(product, kMaxExpandNodes, count);
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
        if (std::isfinite(v))
            replaceNode(ref, makeConstNode(v));
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

// Combines a number on the left with the number that leads the right factor.
// Never folds into an infinity or NaN: such a product stays unfolded.
bool combineNumbers(ExprNode *&ref)
{
    ExprNode *l = ref->left;
    ExprNode *r = ref->right;
    if (!isConst(l))
        return false;
    if ((is(r, OpMultiply) || is(r, OpDivide)) && isConst(r->left)) {
        long double v = l->value * r->left->value;
        if (!std::isfinite(v))
            return false;
        setNumber(r->left, v); // c1·(c2·x) → (c1c2)·x, c1·(c2/x) → (c1c2)/x
        replaceNode(ref, detachChild(ref->right));
        return true;
    }
    if (isConst(r)) {
        long double v = l->value * r->value;
        if (std::isfinite(v))
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

ExprNode *canonicalise(ExprNode *&ref)
{
    if (!ref)
        return nullptr;
    for (int pass = 0;; ++pass) {
        canonicalise(ref->left);
        canonicalise(ref->right);
        ++g_visits;
        ExprNode *parent = ref->parent;
        bool changed = nodeRules(ref);
        linkDown(ref);
        ref->parent = parent;
        if (!changed || pass >= kMaxPasses || g_visits > kMaxVisits)
            return ref;
    }
}

} // namespace

ExprNode *canonicaliseTree(ExprNode *&ref)
{
    g_visits = 0;
    return canonicalise(ref);
}

} // namespace gq
