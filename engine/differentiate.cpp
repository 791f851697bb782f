#include "engine/differentiate.h"

#include "engine/budget.h"
#include "engine/simplify.h"

#include <utility>

namespace gq
{

namespace
{

ExprNode *simplifiedDerivative(const ExprNode *tree, int32_t v);

// Short constructors for the rules below; each takes ownership of its operands.
ExprNode *num(long double v)
{
    return makeConstNode(v);
}
ExprNode *mul(ExprNode *a, ExprNode *b)
{
    return makeBinaryNode(OpMultiply, a, b);
}
ExprNode *div(ExprNode *a, ExprNode *b)
{
    return makeBinaryNode(OpDivide, a, b);
}
ExprNode *add(ExprNode *a, ExprNode *b)
{
    return makeBinaryNode(OpAdd, a, b);
}
ExprNode *sub(ExprNode *a, ExprNode *b)
{
    return makeBinaryNode(OpSubtract, a, b);
}
ExprNode *pow(ExprNode *a, ExprNode *b)
{
    return makeBinaryNode(OpPower, a, b);
}
ExprNode *neg(ExprNode *a)
{
    return makeUnaryNode(OpNegate, a);
}
ExprNode *fn(int32_t op, ExprNode *a)
{
    return makeUnaryNode(op, a);
}
// Once the formula budget is spent the result is thrown away, so copies
// stop at once: without that, every level of a deep product would still copy
// its operands on the way back up.
ExprNode *copy(const ExprNode *n)
{
    return formulaBudgetSpent() ? num(0) : copyTree(n);
}
ExprNode *square(const ExprNode *n)
{
    return pow(copy(n), num(2));
}

// How an operand of a two-operand node depends on the variable, from its raw
// derivative d: 0-4 independent (the operand is 0, 1, 2, another number, or
// anything else), 5 derivative 1, 6 another number, 7 anything else.
int operandKind(const ExprNode *operand, const ExprNode *d)
{
    if (isConstValue(d, 0)) {
        if (isConstValue(operand, 0))
            return 0;
        if (isConstValue(operand, 1))
            return 1;
        if (isConstValue(operand, 2))
            return 2;
        return isConst(operand) ? 3 : 4;
    }
    if (isConstValue(d, 1))
        return 5;
    return isConst(d) ? 6 : 7;
}

// dR·f, or f alone when dR is 1. Consumes both.
ExprNode *timesD(ExprNode *dR, ExprNode *f)
{
    if (isConstValue(dR, 1)) {
        freeTree(dR);
        return f;
    }
    return mul(dR, f);
}

ExprNode *raw(const ExprNode *n, int32_t v);

ExprNode *oneOperand(const ExprNode *n, int32_t v)
{
    ExprNode *dR = raw(n->right, v);
    if (isConstValue(dR, 0))
        return dR;
    const ExprNode *r = n->right;
    bool one = isConstValue(dR, 1);
    switch (n->op) {
    case OpNegate:
        return neg(dR);
    case OpSin:
        return timesD(dR, fn(OpCos, copy(r)));
    case OpCos:
        if (one) {
            freeTree(dR);
            return neg(fn(OpSin, copy(r)));
        }
        return neg(mul(dR, fn(OpSin, copy(r))));
    case OpTan:
        return timesD(dR, pow(fn(OpSec, copy(r)), num(2)));
    case OpSec:
        return timesD(dR, mul(fn(OpSin, copy(r)), pow(copy(n), num(2))));
    case OpCosec: {
        ExprNode *f = mul(fn(OpCos, copy(r)), pow(fn(OpCosec, copy(r)), num(2)));
        if (one) {
            freeTree(dR);
            return neg(f);
        }
        return neg(mul(dR, f));
    }
    case OpCotan: {
        ExprNode *f = pow(fn(OpCosec, copy(r)), num(2));
        if (one) {
            freeTree(dR);
            return neg(f);
        }
        return neg(mul(dR, f));
    }
    case OpArctn:
        return div(dR, add(num(1), square(r)));
    case OpLog:
        return div(dR, copy(r));
    case OpExp:
        return timesD(dR, copy(n));
    case OpSqrt:
        return div(dR, mul(num(2), copy(n)));
    case OpAbs:
        return timesD(dR, fn(OpSgn, copy(r)));
    case OpSinh:
        return timesD(dR, fn(OpCosh, copy(r)));
    case OpCosh:
        return timesD(dR, fn(OpSinh, copy(r)));
    default: // sgn, gaus and anything else are flat
        freeTree(dR);
        return num(0);
    }
}

ExprNode *addRule(ExprNode *dL, ExprNode *dR, int kL, int kR)
{
    if (kL < 5 && kR < 5) {
        freeTree(dL);
        freeTree(dR);
        return num(0);
    }
    if (kR < 5) {
        freeTree(dR);
        return dL;
    }
    if (kL < 5) {
        freeTree(dL);
        return dR;
    }
    return add(dL, dR);
}

ExprNode *subtractRule(ExprNode *dL, ExprNode *dR, int kL, int kR)
{
    if (kL < 5 && kR < 5) {
        freeTree(dL);
        freeTree(dR);
        return num(0);
    }
    if (kL < 5) {
        freeTree(dL);
        return neg(dR);
    }
    if (kR < 5) {
        freeTree(dR);
        return dL;
    }
    return sub(dL, dR);
}

ExprNode *productRule(const ExprNode *L, const ExprNode *R, ExprNode *&dL, ExprNode *&dR, int kL, int kR)
{
    ExprNode *out = nullptr;
    if (kL == 0 || kR == 0 || (kL < 5 && kR < 5))
        return num(0);
    if (kL == 1)
        std::swap(out, dR);
    else if (kR == 1)
        std::swap(out, dL);
    else if (kL < 5)
        out = mul(copy(L), std::exchange(dR, nullptr));
    else if (kR < 5)
        out = mul(copy(R), std::exchange(dL, nullptr));
    else if (kL == 5)
        out = kR == 5 ? add(copy(R), copy(L)) : add(copy(R), mul(copy(L), std::exchange(dR, nullptr)));
    else if (kR == 5)
        out = add(mul(copy(R), std::exchange(dL, nullptr)), copy(L));
    else
        out = add(mul(std::exchange(dL, nullptr), copy(R)), mul(copy(L), std::exchange(dR, nullptr)));
    return out;
}

ExprNode *quotientRule(const ExprNode *L, const ExprNode *R, ExprNode *&dL, ExprNode *&dR, int kL, int kR)
{
    if (kL == 0 || (kL < 5 && kR < 5))
        return num(0);
    if (kL >= 5 && kR < 5)
        return div(std::exchange(dL, nullptr), copy(R));
    if (kL == 1)
        return neg(div(std::exchange(dR, nullptr), square(R)));
    if (kL < 5)
        return neg(div(mul(copy(L), std::exchange(dR, nullptr)), square(R)));
    return div(sub(mul(std::exchange(dL, nullptr), copy(R)), mul(copy(L), std::exchange(dR, nullptr))),
               square(R));
}

ExprNode *powerRule(const ExprNode *n, ExprNode *&dL, ExprNode *&dR, int kL, int kR)
{
    const ExprNode *L = n->left;
    const ExprNode *R = n->right;
    if (kL == 0 || kL == 1 || kR == 0 || (kL < 5 && kR < 5))
        return num(0);
    if (kR == 1)
        return std::exchange(dL, nullptr);
    if (kL < 5) { // the base is free of the variable
        ExprNode *logL = fn(OpLog, copy(L));
        if (kR == 5)
            return mul(logL, copy(n));
        return mul(mul(logL, std::exchange(dR, nullptr)), copy(n));
    }
    // The base depends on the variable. With a constant exponent the factor
    // in front is R (the base's derivative 1) or R·dL.
    auto front = [&]() -> ExprNode * { return kL == 5 ? copy(R) : mul(copy(R), std::exchange(dL, nullptr)); };
    switch (kR) {
    case 2:
        return kL == 5 ? mul(num(2), copy(L)) : mul(mul(num(2), std::exchange(dL, nullptr)), copy(L));
    case 3: {
        ExprNode *f = front();
        return mul(f, pow(copy(L), num(R->value - 1)));
    }
    case 4: {
        ExprNode *f = front();
        return mul(f, pow(copy(L), sub(copy(R), num(1))));
    }
    case 5:
        if (kL == 5)
            return mul(add(fn(OpLog, copy(L)), div(copy(R), copy(L))), copy(n));
        return mul(add(fn(OpLog, copy(L)), div(mul(copy(R), std::exchange(dL, nullptr)), copy(L))), copy(n));
    default:
        if (kL == 5)
            return mul(add(mul(std::exchange(dR, nullptr), fn(OpLog, copy(L))), div(copy(R), copy(L))),
                       copy(n));
        return mul(add(mul(std::exchange(dR, nullptr), fn(OpLog, copy(L))),
                       mul(copy(R), div(std::exchange(dL, nullptr), copy(L)))),
                   copy(n));
    }
}

ExprNode *twoOperand(const ExprNode *n, int32_t v)
{
    ExprNode *dL = raw(n->left, v);
    ExprNode *dR = raw(n->right, v);
    int kL = operandKind(n->left, dL);
    int kR = operandKind(n->right, dR);
    ExprNode *out = nullptr;
    switch (n->op) {
    case OpAdd:
        return addRule(dL, dR, kL, kR);
    case OpSubtract:
        return subtractRule(dL, dR, kL, kR);
    case OpMultiply:
        out = productRule(n->left, n->right, dL, dR, kL, kR);
        break;
    case OpDivide:
        out = quotientRule(n->left, n->right, dL, dR, kL, kR);
        break;
    default:
        out = powerRule(n, dL, dR, kL, kR);
        break;
    }
    // Raw derivatives the result did not take.
    freeTree(dL);
    freeTree(dR);
    return out;
}

// The raw (unsimplified) derivative. Once the formula budget is spent, every
// further part is taken as 0 so that the result stops growing; differentiate
// then throws it away.
ExprNode *raw(const ExprNode *n, int32_t v)
{
    if (!n)
        return num(0);
    spendFormulaWork(1);
    if (formulaBudgetSpent())
        return num(0);
    switch (n->op) {
    case OpPower:
    case OpDivide:
    case OpMultiply:
    case OpSubtract:
    case OpAdd:
        return twoOperand(n, v);
    case OpSum:
        return makeBinaryNode(OpSum, copy(n->left), simplifiedDerivative(n->right, v));
    case OpSumTooLarge:
        // Undefined everywhere; so is its derivative.
        return copy(n);
    default:
        break;
    }
    if (n->op >= OpNegate && n->op <= OpCosh)
        return oneOperand(n, v);
    return num(n->op == v ? 1 : 0);
}

ExprNode *simplifiedDerivative(const ExprNode *tree, int32_t v)
{
    if (!tree)
        return nullptr;
    ExprNode *d = raw(tree, v);
    simplify(d, ParseBuild);
    return d;
}

} // namespace

ExprNode *differentiate(const ExprNode *tree, int32_t v, bool *cutShort)
{
    FormulaBudget budget;
    ExprNode *d = simplifiedDerivative(tree, v);
    const bool spent = formulaBudgetSpent();
    if (spent)
        freeTree(d);
    if (cutShort)
        *cutShort = spent;
    return d;
}

} // namespace gq
