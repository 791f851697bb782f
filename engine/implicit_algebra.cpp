#include "engine/implicit_algebra.h"

#include "engine/budget.h"
#include "engine/differentiate.h"
#include "engine/numbers.h"
#include "engine/simplify.h"
#include "engine/simplify_internal.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace gq
{

namespace
{

// Degrees are bounded so that x^1000000000·x^1000000000 cannot overflow: a
// degree this large is simply "very high" to every caller.
constexpr int64_t kDegreeCap = INT_MAX;

int64_t capped(int64_t d)
{
    return std::min(d, kDegreeCap);
}

int64_t degree(const ExprNode *n, int selector)
{
    if (!n)
        return 0;
    int64_t l = degree(n->left, selector);
    int64_t r = degree(n->right, selector);
    if (l < 0 || r < 0)
        return -1;
    switch (n->op) {
    case OpX:
        return (selector == DegreeXY || selector == DegreeX) ? 1 : 0;
    case OpY:
        return (selector == DegreeXY || selector == DegreeY) ? 1 : 0;
    case OpPower: {
        if (l == 0)
            return r == 0 ? 0 : -1;
        const ExprNode *e = n->right;
        if (!isConst(e) || e->value < 0 || !isIntegerValue(e->value))
            return -1;
        if (e->value > static_cast<long double>(kDegreeCap))
            return kDegreeCap;
        return capped(static_cast<int64_t>(e->value) * l);
    }
    case OpDivide:
        return r == 0 ? l : -1;
    case OpMultiply:
        return capped(l + r);
    case OpSubtract:
    case OpAdd:
        return std::max(l, r);
    case OpNegate:
        return r;
    default:
        break;
    }
    if (n->op >= OpSin && n->op <= OpCosh)
        return r == 0 ? 0 : -1;
    return 0; // z, t, parameters, numbers, π and anything else
}

bool isPositiveIntegerConst(const ExprNode *n)
{
    return isConst(n) && n->value > 0 && isIntegerValue(n->value);
}

} // namespace

void stripRoot(ExprNode *&ref)
{
    while (ref) {
        if (ref->op == OpPower && isPositiveIntegerConst(ref->right))
            replaceNode(ref, detachChild(ref->left));
        else if (ref->op == OpSqrt || ref->op == OpAbs || ref->op == OpSgn)
            replaceNode(ref, detachChild(ref->right));
        else
            return;
    }
}

int polynomialDegree(const ExprNode *tree, int selector)
{
    return static_cast<int>(degree(tree, selector));
}

ExprNode *quadraticRoot(const ExprNode *tree, int32_t v, int sign)
{
    if (!tree)
        return nullptr;
    FormulaBudget budget;
    ExprNode *f0 = copyTree(tree);
    replaceLeafByZero(f0, v);
    ExprNode *f1 = differentiate(tree, v);
    ExprNode *f2 = differentiate(f1, v);
    replaceLeafByZero(f1, v);
    if (!f1 || !f2 || formulaBudgetSpent()) { // too complex: no root
        freeTree(f0);
        freeTree(f1);
        freeTree(f2);
        return nullptr;
    }

    ExprNode *f2Copy = copyTree(f2);
    ExprNode *f1Copy = copyTree(f1);
    ExprNode *product = makeBinaryNode(OpMultiply, f2, f0);
    ExprNode *twice = makeBinaryNode(OpMultiply, makeConstNode(2), product);
    ExprNode *square = makeBinaryNode(OpPower, f1, makeConstNode(2));
    ExprNode *discriminant = makeBinaryNode(OpSubtract, square, twice);
    ExprNode *root = makeUnaryNode(OpSqrt, discriminant);
    ExprNode *negated = makeUnaryNode(OpNegate, f1Copy);
    ExprNode *numerator = makeBinaryNode(sign == 1 ? OpAdd : OpSubtract, negated, root);
    return makeBinaryNode(OpDivide, numerator, f2Copy);
}

} // namespace gq
