#include "engine/implicit_algebra.h"

#include "engine/differentiate.h"
#include "engine/evaluate.h"
#include "engine/simplify.h"
#include "engine/simplify_internal.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace
{

// Degrees are bounded so that x^1000000000·x^1000000000 cannot overflow: a
// degree this large is simply "very high" to every caller.
constexpr int64_t kDegreeCap = INT_MAX;

int64_t Capped(int64_t d)
{
    return std::min(d, kDegreeCap);
}

int64_t Degree(const ExprNode *n, int selector)
{
    if (!n)
        return 0;
    int64_t l = Degree(n->left, selector);
    int64_t r = Degree(n->right, selector);
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
        if (!IsConst(e) || e->value < 0 || !IsIntegerValue(e->value))
            return -1;
        if (e->value > static_cast<long double>(kDegreeCap))
            return kDegreeCap;
        return Capped(static_cast<int64_t>(e->value) * l);
    }
    case OpDivide:
        return r == 0 ? l : -1;
    case OpMultiply:
        return Capped(l + r);
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

bool IsPositiveIntegerConst(const ExprNode *n)
{
    return IsConst(n) && n->value > 0 && IsIntegerValue(n->value);
}

} // namespace

void StripRoot(ExprNode *&ref)
{
    TreeShapeGuard shapeChanges;
    while (ref) {
        if (ref->op == OpPower && IsPositiveIntegerConst(ref->right))
            ReplaceNode(ref, DetachChild(ref->left));
        else if (ref->op == OpSqrt || ref->op == OpAbs || ref->op == OpSgn)
            ReplaceNode(ref, DetachChild(ref->right));
        else
            return;
    }
}

int PolynomialDegree(const ExprNode *tree, int selector)
{
    return static_cast<int>(Degree(tree, selector));
}

ExprNode *QuadraticRoot(const ExprNode *tree, int32_t v, int sign)
{
    if (!tree)
        return nullptr;
    ExprNode *f0 = CopyTree(tree);
    ReplaceLeafByZero(f0, v);
    ExprNode *f1 = Differentiate(tree, v);
    ExprNode *f2 = Differentiate(f1, v);
    ReplaceLeafByZero(f1, v);

    ExprNode *f2Copy = CopyTree(f2);
    ExprNode *f1Copy = CopyTree(f1);
    ExprNode *product = MakeBinaryNode(OpMultiply, f2, f0);
    ExprNode *twice = MakeBinaryNode(OpMultiply, MakeConstNode(2), product);
    ExprNode *square = MakeBinaryNode(OpPower, f1, MakeConstNode(2));
    ExprNode *discriminant = MakeBinaryNode(OpSubtract, square, twice);
    ExprNode *root = MakeUnaryNode(OpSqrt, discriminant);
    ExprNode *negated = MakeUnaryNode(OpNegate, f1Copy);
    ExprNode *numerator = MakeBinaryNode(sign == 1 ? OpAdd : OpSubtract, negated, root);
    return MakeBinaryNode(OpDivide, numerator, f2Copy);
}
