#include "engine/simplify.h"

#include "engine/evaluate.h"
#include "engine/parse.h"
#include "engine/simplify_internal.h"

#include <cstdint>
#include <limits>

// Exact folding works on 32-bit integers: a constant takes part only when it is
// an integer within the 32-bit range, and a fold is made only when its result
// is in that range too; anything larger is left as it stands (its value is
// still computed by the evaluator). Intermediate products and sums are formed
// in 128 bits so that checking the range can never overflow itself.

namespace
{

using Wide = __int128;

constexpr Wide kIntMin = std::numeric_limits<int32_t>::min();
constexpr Wide kIntMax = std::numeric_limits<int32_t>::max();

bool Fits(Wide v)
{
    return v >= kIntMin && v <= kIntMax;
}

// An integer constant within the 32-bit range.
bool IntConst(const ExprNode *n, Wide &out)
{
    if (!IsConst(n) || !IsIntegerValue(n->value))
        return false;
    if (n->value < static_cast<long double>(kIntMin) || n->value > static_cast<long double>(kIntMax))
        return false;
    out = static_cast<Wide>(static_cast<int64_t>(RoundHalfEven(n->value)));
    return true;
}

// A division of two such constants.
bool IntFraction(const ExprNode *n, Wide &p, Wide &q)
{
    return n && n->op == OpDivide && IntConst(n->left, p) && IntConst(n->right, q);
}

int Sign(Wide v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// Divides p and q by their greatest common divisor, found by Euclid's
// algorithm from the operand of larger magnitude, with remainders taking the
// sign of the dividend (so the divisor may be negative, which flips both
// signs but not the value). Both must be non-zero.
void ReducePair(Wide &p, Wide &q)
{
    Wide a = p, b = q;
    if ((a < 0 ? -a : a) < (b < 0 ? -b : b))
        std::swap(a, b);
    while (b != 0) {
        Wide r = a % b;
        a = b;
        b = r;
    }
    p /= a;
    q /= a;
}

ExprNode *IntNode(Wide v, int mode)
{
    return MakeConstNode(static_cast<long double>(static_cast<int64_t>(v)), mode);
}

// The number or fraction num/den, reduced, in place of ref. Leaves ref alone
// (and answers false) when den is 0 or the reduced result leaves the 32-bit
// range.
bool PutFraction(ExprNode *&ref, Wide num, Wide den, int mode)
{
    if (den == 0)
        return false;
    if (num == 0) {
        ReplaceNode(ref, IntNode(0, mode));
        return true;
    }
    ReducePair(num, den);
    if (den == 1 || den == -1) {
        Wide v = num * Sign(den);
        if (!Fits(v))
            return false;
        ReplaceNode(ref, IntNode(v, mode));
        return true;
    }
    if (!Fits(num) || !Fits(den))
        return false;
    ReplaceNode(ref, MakeBinaryNode(OpDivide, IntNode(num, mode), IntNode(den, mode), mode));
    return true;
}

bool PutInteger(ExprNode *&ref, Wide v, int mode)
{
    if (!Fits(v))
        return false;
    ReplaceNode(ref, IntNode(v, mode));
    return true;
}

void SimplifyDivision(ExprNode *&ref, int mode)
{
    if (IsConstValue(ref->right, 0)) {
        ParseOK = false;
        return;
    }
    if (IsConstValue(ref->left, 0)) {
        ReplaceNode(ref, IntNode(0, mode));
        return;
    }
    ReduceFraction(ref, mode);
    Wide a, b, c, d;
    if (ref->op != OpDivide)
        return;
    if (IntConst(ref->left, a) && IntFraction(ref->right, b, c)) { // a/(b/c) = (a·c)/b
        PutFraction(ref, a * c, b, mode);
        if (ref->op != OpDivide)
            return;
    }
    if (IntFraction(ref->left, b, c) && IntConst(ref->right, a)) { // (b/c)/a = b/(c·a)
        PutFraction(ref, b, c * a, mode);
        if (ref->op != OpDivide)
            return;
    }
    if (IntFraction(ref->left, a, b) && IntFraction(ref->right, c, d)) // (a/b)/(c/d) = (a·d)/(b·c)
        PutFraction(ref, a * d, b * c, mode);
}

void SimplifyProduct(ExprNode *&ref, int mode)
{
    Wide a, b, c, d;
    if (IsConstValue(ref->left, 0) || IsConstValue(ref->right, 0))
        ReplaceNode(ref, IntNode(0, mode));
    else if (IntConst(ref->left, a) && IntConst(ref->right, b))
        PutInteger(ref, a * b, mode);
    else if (IntConst(ref->left, a) && IntFraction(ref->right, b, c))
        PutFraction(ref, a * b, c, mode);
    else if (IntFraction(ref->left, b, c) && IntConst(ref->right, a))
        PutFraction(ref, b * a, c, mode);
    else if (IntFraction(ref->left, a, b) && IntFraction(ref->right, c, d))
        PutFraction(ref, a * c, b * d, mode);
}

// Subtraction (sign -1) and addition (sign +1) share their rules, except that
// 0 - x becomes a negation.
void SimplifySumOrDifference(ExprNode *&ref, int mode)
{
    const int s = ref->op == OpSubtract ? -1 : 1;
    bool leftZero = IsConstValue(ref->left, 0);
    bool rightZero = IsConstValue(ref->right, 0);
    Wide a, b, c, d;
    if (leftZero && rightZero)
        ReplaceNode(ref, IntNode(0, mode));
    else if (leftZero)
        ReplaceNode(ref,
                    s < 0 ? MakeUnaryNode(OpNegate, DetachChild(ref->right), mode) : DetachChild(ref->right));
    else if (rightZero)
        ReplaceNode(ref, DetachChild(ref->left));
    else if (IntConst(ref->left, a) && IntConst(ref->right, b))
        PutInteger(ref, a + s * b, mode);
    else if (IntFraction(ref->left, b, c) && IntConst(ref->right, a)) // b/c ± a
        PutFraction(ref, b + s * a * c, c, mode);
    else if (IntConst(ref->left, a) && IntFraction(ref->right, b, c)) // a ± b/c
        PutFraction(ref, a * c + s * b, c, mode);
    else if (IntFraction(ref->left, a, b) && IntFraction(ref->right, c, d)) // a/b ± c/d
        PutFraction(ref, a * d + s * b * c, b * d, mode);
}

} // namespace

ExprNode *DetachChild(ExprNode *&child)
{
    ExprNode *c = child;
    child = nullptr;
    if (c)
        c->parent = nullptr;
    return c;
}

void ReplaceNode(ExprNode *&ref, ExprNode *replacement)
{
    ExprNode *parent = ref ? ref->parent : nullptr;
    FreeTree(ref);
    ref = replacement;
    if (ref)
        ref->parent = parent;
}

void ReduceFraction(ExprNode *&node, int mode)
{
    TreeShapeGuard shapeChanges;
    Wide p, q;
    if (mode == ParseCheck || !IntFraction(node, p, q) || q == 0)
        return;
    if (p == 0) { // 0/q is the number 0 (and no longer hides a zero denominator above it)
        ReplaceNode(node, IntNode(0, mode));
        return;
    }
    ReducePair(p, q);
    if (q == 1 || q == -1) {
        if (Fits(p * q))
            ReplaceNode(node, IntNode(p * q, mode));
        return;
    }
    if (!Fits(p)) // only -2^31 / -1 can leave the range, and that case ends above
        return;
    node->left->value = node->left->previous = static_cast<long double>(static_cast<int64_t>(p));
    node->right->value = node->right->previous = static_cast<long double>(static_cast<int64_t>(q));
}

void Simplify(ExprNode *&ref, int mode)
{
    TreeShapeGuard shapeChanges;
    if (mode == ParseCheck || !ref)
        return;
    Simplify(ref->left, mode);
    Simplify(ref->right, mode);
    switch (ref->op) {
    case OpDivide:
        SimplifyDivision(ref, mode);
        break;
    case OpMultiply:
        SimplifyProduct(ref, mode);
        break;
    case OpSubtract:
    case OpAdd:
        SimplifySumOrDifference(ref, mode);
        break;
    default:
        break;
    }
}
