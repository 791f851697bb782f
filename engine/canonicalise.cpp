#include "engine/simplify.h"

#include "engine/evaluate.h"
#include "engine/simplify_internal.h"

#include <cmath>
#include <utility>

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

std::size_t g_visits = 0;

bool Is(const ExprNode *n, int32_t op)
{
    return n && n->op == op;
}
bool IsSumLike(const ExprNode *n)
{
    return Is(n, OpAdd) || Is(n, OpSubtract);
}
bool IsIntegerConst(const ExprNode *n)
{
    return IsConst(n) && IsIntegerValue(n->value);
}

// True when the tree has at most limit nodes; stops counting beyond that.
bool SizeAtMost(const ExprNode *n, std::size_t limit, std::size_t &count)
{
    if (!n)
        return true;
    if (++count > limit)
        return false;
    return SizeAtMost(n->left, limit, count) && SizeAtMost(n->right, limit, count);
}

bool MayMultiplyOut(const ExprNode *product)
{
    std::size_t count = 0;
    return !TreeBudgetExceeded() && SizeAtMost(product, kMaxExpandNodes, count);
}

// Sets the parent links of the node's children and grandchildren, the only
// levels a rule rearranges.
void LinkDown(ExprNode *n)
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
void ReplaceShell(ExprNode *&ref, ExprNode *replacement)
{
    ref->left = ref->right = nullptr;
    ReplaceNode(ref, replacement);
}

void SetNumber(ExprNode *n, long double v)
{
    n->value = n->previous = v;
}

bool PowerRules(ExprNode *&ref)
{
    bool changed = false;
    ExprNode *inner = ref->left;
    // (a^m)^n = a^(m·n) for integers m and n wherever the left side is
    // defined. With other exponents the two sides differ ((x^2)^0.5 is |x|),
    // so those are left alone.
    if (Is(inner, OpPower) && IsIntegerConst(inner->right) && IsIntegerConst(ref->right)) {
        ExprNode *a = inner->left;
        ExprNode *m = inner->right;
        inner->op = OpMultiply; // the inner power node becomes the product m·n
        inner->left = m;
        inner->right = ref->right;
        ref->left = a;
        ref->right = inner;
        LinkDown(ref);
        changed = true;
    }
    ExprNode *base = ref->left;
    ExprNode *exponent = ref->right;
    if (IsConst(base) && base->value > 0 && IsIntegerConst(exponent)) {
        long double v = std::exp(exponent->value * std::log(base->value));
        // An integer to a non-negative integer power is an integer; with a
        // negative exponent the result is a fraction and is kept as it is.
        if (IsIntegerValue(base->value) && exponent->value >= 0)
            v = RoundHalfEven(v);
        if (std::isfinite(v))
            ReplaceNode(ref, MakeConstNode(v));
    }
    return changed;
}

bool ReorderFactors(ExprNode *ref)
{
    ExprNode *l = ref->left;
    ExprNode *r = ref->right;
    if (!IsConst(l) && IsConst(r)) {
        std::swap(ref->left, ref->right);
        return true;
    }
    if (Is(l, OpMultiply) && Is(r, OpMultiply)) {
        // (a·b)·(c·d) → (a·c)·(b·d) when c is a number and b is not.
        if (IsConst(l->right) || !IsConst(r->left))
            return false;
        std::swap(l->right, r->left);
        LinkDown(ref);
        return true;
    }
    if (Is(r, OpMultiply) && IsConst(r->left)) { // x·(c·y) → c·(x·y)
        ExprNode *c = r->left;
        r->left = l;
        ref->left = c;
        LinkDown(ref);
        return true;
    }
    if (Is(l, OpMultiply) && IsConst(l->left)) { // (c·a)·b → c·(a·b)
        ExprNode *c = l->left;
        l->left = l->right;
        l->right = r;
        ref->left = c;
        ref->right = l;
        LinkDown(ref);
        return true;
    }
    return false;
}

// Combines a number on the left with the number that leads the right factor.
// Never folds into an infinity or NaN: such a product stays unfolded.
bool CombineNumbers(ExprNode *&ref)
{
    ExprNode *l = ref->left;
    ExprNode *r = ref->right;
    if (!IsConst(l))
        return false;
    if ((Is(r, OpMultiply) || Is(r, OpDivide)) && IsConst(r->left)) {
        long double v = l->value * r->left->value;
        if (!std::isfinite(v))
            return false;
        SetNumber(r->left, v); // c1·(c2·x) → (c1c2)·x, c1·(c2/x) → (c1c2)/x
        ReplaceNode(ref, DetachChild(ref->right));
        return true;
    }
    if (IsConst(r)) {
        long double v = l->value * r->value;
        if (std::isfinite(v))
            ReplaceNode(ref, MakeConstNode(v));
    } else if (l->value == 0) {
        ReplaceNode(ref, MakeConstNode(0));
    }
    return false;
}

bool ProductRules(ExprNode *&ref)
{
    bool changed = ReorderFactors(ref);
    if (CombineNumbers(ref))
        changed = true;
    if (!changed && Is(ref, OpMultiply) && Is(ref->left, OpMultiply)) { // (a·b)·c → b·(a·c)
        ExprNode *inner = ref->left;
        ExprNode *b = inner->right;
        inner->right = ref->right;
        ref->left = b;
        ref->right = inner;
        LinkDown(ref);
        changed = true;
    }
    if (!changed && Is(ref, OpMultiply) && IsSumLike(ref->left) && MayMultiplyOut(ref)) {
        // (a ± b)·c → (a·c) ± (b·c)
        ExprNode *sum = DetachChild(ref->left);
        ExprNode *c = DetachChild(ref->right);
        sum->left = MakeBinaryNode(OpMultiply, sum->left, CopyTree(c));
        sum->right = MakeBinaryNode(OpMultiply, sum->right, c);
        LinkDown(sum);
        ReplaceShell(ref, sum);
        changed = true;
    }
    if (Is(ref, OpMultiply) && IsSumLike(ref->right) && MayMultiplyOut(ref)) {
        // c·(a ± b) → (c·a) ± (c·b)
        ExprNode *c = DetachChild(ref->left);
        ExprNode *sum = DetachChild(ref->right);
        sum->left = MakeBinaryNode(OpMultiply, c, sum->left);
        sum->right = MakeBinaryNode(OpMultiply, CopyTree(c), sum->right);
        LinkDown(sum);
        ReplaceShell(ref, sum);
        changed = true;
    }
    return changed;
}

bool NodeRules(ExprNode *&ref)
{
    switch (ref->op) {
    case OpPower:
        return PowerRules(ref);
    case OpMultiply:
        return ProductRules(ref);
    case OpSubtract: // a - b → a + (-1)·b
        ref->op = OpAdd;
        ref->right = MakeBinaryNode(OpMultiply, MakeConstNode(-1), ref->right);
        ref->right->parent = ref;
        return true;
    case OpAdd:
        if (Is(ref->right, OpAdd)) { // a + (b + c) → (a + b) + c
            ExprNode *inner = ref->right;
            ExprNode *c = inner->right;
            inner->right = inner->left;
            inner->left = ref->left;
            ref->left = inner;
            ref->right = c;
            LinkDown(ref);
            return true;
        }
        return false;
    default:
        return false;
    }
}

ExprNode *Canonicalise(ExprNode *&ref)
{
    if (!ref)
        return nullptr;
    for (int pass = 0;; ++pass) {
        Canonicalise(ref->left);
        Canonicalise(ref->right);
        ++g_visits;
        ExprNode *parent = ref->parent;
        bool changed = NodeRules(ref);
        LinkDown(ref);
        ref->parent = parent;
        if (!changed || pass >= kMaxPasses || g_visits > kMaxVisits)
            return ref;
    }
}

} // namespace

ExprNode *CanonicaliseTree(ExprNode *&ref)
{
    TreeShapeGuard shapeChanges;
    g_visits = 0;
    return Canonicalise(ref);
}
