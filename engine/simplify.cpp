#include "engine/simplify.h"

#include "engine/budget.h"
#include "engine/numbers.h"
#include "engine/simplify_internal.h"

#include <cstdint>
#include <limits>

namespace gq
{

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

bool fits(Wide v)
{
    return v >= kIntMin && v <= kIntMax;
}

// An integer constant within the 32-bit range.
bool intConst(const ExprNode *n, Wide &out)
{
    if (!isConst(n) || !isIntegerValue(n->value))
        return false;
    if (n->value < static_cast<long double>(kIntMin) || n->value > static_cast<long double>(kIntMax))
        return false;
    out = static_cast<Wide>(static_cast<int64_t>(roundHalfEven(n->value)));
    return true;
}

// A division of two such constants.
bool intFraction(const ExprNode *n, Wide &p, Wide &q)
{
    return n && n->op == OpDivide && intConst(n->left, p) && intConst(n->right, q);
}

int sign(Wide v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// Divides p and q by their greatest common divisor, found by Euclid's
// algorithm from the operand of larger magnitude, with remainders taking the
// sign of the dividend (so the divisor may be negative, which flips both
// signs but not the value). Both must be non-zero.
void reducePair(Wide &p, Wide &q)
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

ExprNode *intNode(Wide v, int mode)
{
    return makeConstNode(static_cast<long double>(static_cast<int64_t>(v)), mode);
}

// The number or fraction num/den, reduced, in place of ref. Leaves ref alone
// (and answers false) when den is 0 or the reduced result leaves the 32-bit
// range.
bool putFraction(ExprNode *&ref, Wide num, Wide den, int mode)
{
    if (den == 0)
        return false;
    if (num == 0) {
        replaceNode(ref, intNode(0, mode));
        return true;
    }
    reducePair(num, den);
    if (den == 1 || den == -1) {
        Wide v = num * sign(den);
        if (!fits(v))
            return false;
        replaceNode(ref, intNode(v, mode));
        return true;
    }
    if (!fits(num) || !fits(den))
        return false;
    replaceNode(ref, makeBinaryNode(OpDivide, intNode(num, mode), intNode(den, mode), mode));
    return true;
}

bool putInteger(ExprNode *&ref, Wide v, int mode)
{
    if (!fits(v))
        return false;
    replaceNode(ref, intNode(v, mode));
    return true;
}

void simplifyDivision(ExprNode *&ref, int mode)
{
    if (isConstValue(ref->right, 0)) {
        engineState().parseOK = false;
        return;
    }
    if (isConstValue(ref->left, 0)) {
        replaceNode(ref, intNode(0, mode));
        return;
    }
    reduceFraction(ref, mode);
    Wide a, b, c, d;
    if (ref->op != OpDivide)
        return;
    if (intConst(ref->left, a) && intFraction(ref->right, b, c)) { // a/(b/c) = (a·c)/b
        putFraction(ref, a * c, b, mode);
        if (ref->op != OpDivide)
            return;
    }
    if (intFraction(ref->left, b, c) && intConst(ref->right, a)) { // (b/c)/a = b/(c·a)
        putFraction(ref, b, c * a, mode);
        if (ref->op != OpDivide)
            return;
    }
    if (intFraction(ref->left, a, b) && intFraction(ref->right, c, d)) // (a/b)/(c/d) = (a·d)/(b·c)
        putFraction(ref, a * d, b * c, mode);
}

void simplifyProduct(ExprNode *&ref, int mode)
{
    Wide a, b, c, d;
    if (isConstValue(ref->left, 0) || isConstValue(ref->right, 0))
        replaceNode(ref, intNode(0, mode));
    else if (intConst(ref->left, a) && intConst(ref->right, b))
        putInteger(ref, a * b, mode);
    else if (intConst(ref->left, a) && intFraction(ref->right, b, c))
        putFraction(ref, a * b, c, mode);
    else if (intFraction(ref->left, b, c) && intConst(ref->right, a))
        putFraction(ref, b * a, c, mode);
    else if (intFraction(ref->left, a, b) && intFraction(ref->right, c, d))
        putFraction(ref, a * c, b * d, mode);
}

// Differentiation makes negations; one of a number is that number negated,
// as the parser would read its text ("1/(-1+1)" must be a division by the
// constant 0 whether typed or differentiated). One of a fraction of integers
// is the negated fraction, so that a product or power above it folds as it
// does when the printed text is read again (999*(0*x-2/7) must be the
// rational power -1998/7 either way, defined for a negative base).
void simplifyNegation(ExprNode *&ref, int mode)
{
    Wide p, q;
    if (isConst(ref->right))
        replaceNode(ref, makeConstNode(-ref->right->value, mode));
    else if (intFraction(ref->right, p, q))
        putFraction(ref, -p, q, mode);
}

// Subtraction (sign -1) and addition (sign +1) share their rules, except that
// 0 - x becomes a negation.
void simplifySumOrDifference(ExprNode *&ref, int mode)
{
    const int s = ref->op == OpSubtract ? -1 : 1;
    bool leftZero = isConstValue(ref->left, 0);
    bool rightZero = isConstValue(ref->right, 0);
    Wide a, b, c, d;
    if (leftZero && rightZero)
        replaceNode(ref, intNode(0, mode));
    else if (leftZero && s < 0) {
        replaceNode(ref, makeUnaryNode(OpNegate, detachChild(ref->right), mode));
        simplifyNegation(ref, mode);
    } else if (leftZero)
        replaceNode(ref, detachChild(ref->right));
    else if (rightZero)
        replaceNode(ref, detachChild(ref->left));
    else if (intConst(ref->left, a) && intConst(ref->right, b))
        putInteger(ref, a + s * b, mode);
    else if (intFraction(ref->left, b, c) && intConst(ref->right, a)) // b/c ± a
        putFraction(ref, b + s * a * c, c, mode);
    else if (intConst(ref->left, a) && intFraction(ref->right, b, c)) // a ± b/c
        putFraction(ref, a * c + s * b, c, mode);
    else if (intFraction(ref->left, a, b) && intFraction(ref->right, c, d)) // a/b ± c/d
        putFraction(ref, a * d + s * b * c, b * d, mode);
}

} // namespace

ExprNode *detachChild(ExprNode *&child)
{
    ExprNode *c = child;
    child = nullptr;
    if (c)
        c->parent = nullptr;
    return c;
}

void replaceNode(ExprNode *&ref, ExprNode *replacement)
{
    ExprNode *parent = ref ? ref->parent : nullptr;
    freeTree(ref);
    ref = replacement;
    if (ref)
        ref->parent = parent;
}

void reduceFraction(ExprNode *&node, int mode)
{
    Wide p, q;
    if (mode == ParseCheck || !intFraction(node, p, q) || q == 0)
        return;
    if (p == 0) { // 0/q is the number 0 (and no longer hides a zero denominator above it)
        replaceNode(node, intNode(0, mode));
        return;
    }
    reducePair(p, q);
    if (q == 1 || q == -1) {
        if (fits(p * q))
            replaceNode(node, intNode(p * q, mode));
        return;
    }
    if (!fits(p)) // only -2^31 / -1 can leave the range, and that case ends above
        return;
    node->left->value = static_cast<long double>(static_cast<int64_t>(p));
    node->right->value = static_cast<long double>(static_cast<int64_t>(q));
}

void simplify(ExprNode *&ref, int mode)
{
    if (mode == ParseCheck || !ref)
        return;
    spendFormulaWork(1);
    simplify(ref->left, mode);
    simplify(ref->right, mode);
    switch (ref->op) {
    case OpDivide:
        simplifyDivision(ref, mode);
        break;
    case OpMultiply:
        simplifyProduct(ref, mode);
        break;
    case OpSubtract:
    case OpAdd:
        simplifySumOrDifference(ref, mode);
        break;
    case OpNegate:
        simplifyNegation(ref, mode);
        break;
    default:
        break;
    }
}

void replaceLeafByZero(ExprNode *&ref, int32_t op)
{
    replaceLeafByInteger(ref, 0, op);
    simplify(ref, ParseBuild);
}

} // namespace gq
