#include "engine/differentiate.h"

#include "engine/parse.h"
#include "engine/print.h"
#include "engine/simplify.h"

#include <utility>

namespace
{

// Set when a derivative was cut short by the node budget; DerivativeText
// clears it before its work and reads it afterwards.
bool g_cutShort = false;

// Short constructors for the rules below; each takes ownership of its operands.
ExprNode *Num(long double v)
{
    return MakeConstNode(v);
}
ExprNode *Mul(ExprNode *a, ExprNode *b)
{
    return MakeBinaryNode(OpMultiply, a, b);
}
ExprNode *Div(ExprNode *a, ExprNode *b)
{
    return MakeBinaryNode(OpDivide, a, b);
}
ExprNode *Add(ExprNode *a, ExprNode *b)
{
    return MakeBinaryNode(OpAdd, a, b);
}
ExprNode *Sub(ExprNode *a, ExprNode *b)
{
    return MakeBinaryNode(OpSubtract, a, b);
}
ExprNode *Pow(ExprNode *a, ExprNode *b)
{
    return MakeBinaryNode(OpPower, a, b);
}
ExprNode *Neg(ExprNode *a)
{
    return MakeUnaryNode(OpNegate, a);
}
ExprNode *Fn(int32_t op, ExprNode *a)
{
    return MakeUnaryNode(op, a);
}
ExprNode *Copy(const ExprNode *n)
{
    return CopyTree(n);
}
ExprNode *Square(const ExprNode *n)
{
    return Pow(Copy(n), Num(2));
}

// How an operand of a two-operand node depends on the variable, from its raw
// derivative d: 0-4 independent (the operand is 0, 1, 2, another number, or
// anything else), 5 derivative 1, 6 another number, 7 anything else.
int Kind(const ExprNode *operand, const ExprNode *d)
{
    if (IsConstValue(d, 0)) {
        if (IsConstValue(operand, 0))
            return 0;
        if (IsConstValue(operand, 1))
            return 1;
        if (IsConstValue(operand, 2))
            return 2;
        return IsConst(operand) ? 3 : 4;
    }
    if (IsConstValue(d, 1))
        return 5;
    return IsConst(d) ? 6 : 7;
}

// dR·f, or f alone when dR is 1. Consumes both.
ExprNode *TimesD(ExprNode *dR, ExprNode *f)
{
    if (IsConstValue(dR, 1)) {
        FreeTree(dR);
        return f;
    }
    return Mul(dR, f);
}

ExprNode *Raw(const ExprNode *n, int32_t v);

ExprNode *OneOperand(const ExprNode *n, int32_t v)
{
    ExprNode *dR = Raw(n->right, v);
    if (IsConstValue(dR, 0))
        return dR;
    const ExprNode *r = n->right;
    bool one = IsConstValue(dR, 1);
    switch (n->op) {
    case OpNegate:
        return Neg(dR);
    case OpSin:
        return TimesD(dR, Fn(OpCos, Copy(r)));
    case OpCos:
        if (one) {
            FreeTree(dR);
            return Neg(Fn(OpSin, Copy(r)));
        }
        return Neg(Mul(dR, Fn(OpSin, Copy(r))));
    case OpTan:
        return TimesD(dR, Pow(Fn(OpSec, Copy(r)), Num(2)));
    case OpSec:
        return TimesD(dR, Mul(Fn(OpSin, Copy(r)), Pow(Copy(n), Num(2))));
    case OpCosec: {
        ExprNode *f = Mul(Fn(OpCos, Copy(r)), Pow(Fn(OpCosec, Copy(r)), Num(2)));
        if (one) {
            FreeTree(dR);
            return Neg(f);
        }
        return Neg(Mul(dR, f));
    }
    case OpCotan: {
        ExprNode *f = Pow(Fn(OpCosec, Copy(r)), Num(2));
        if (one) {
            FreeTree(dR);
            return Neg(f);
        }
        return Neg(Mul(dR, f));
    }
    case OpArctn:
        return Div(dR, Add(Num(1), Square(r)));
    case OpLog:
        return Div(dR, Copy(r));
    case OpExp:
        return TimesD(dR, Copy(n));
    case OpSqrt:
        return Div(dR, Mul(Num(2), Copy(n)));
    case OpAbs:
        return TimesD(dR, Fn(OpSgn, Copy(r)));
    case OpSinh:
        return TimesD(dR, Fn(OpCosh, Copy(r)));
    case OpCosh:
        return TimesD(dR, Fn(OpSinh, Copy(r)));
    default: // sgn, gaus and anything else are flat
        FreeTree(dR);
        return Num(0);
    }
}

ExprNode *AddRule(ExprNode *dL, ExprNode *dR, int kL, int kR)
{
    if (kL < 5 && kR < 5) {
        FreeTree(dL);
        FreeTree(dR);
        return Num(0);
    }
    if (kR < 5) {
        FreeTree(dR);
        return dL;
    }
    if (kL < 5) {
        FreeTree(dL);
        return dR;
    }
    return Add(dL, dR);
}

ExprNode *SubtractRule(ExprNode *dL, ExprNode *dR, int kL, int kR)
{
    if (kL < 5 && kR < 5) {
        FreeTree(dL);
        FreeTree(dR);
        return Num(0);
    }
    if (kL < 5) {
        FreeTree(dL);
        return Neg(dR);
    }
    if (kR < 5) {
        FreeTree(dR);
        return dL;
    }
    return Sub(dL, dR);
}

ExprNode *ProductRule(const ExprNode *L, const ExprNode *R, ExprNode *&dL, ExprNode *&dR, int kL, int kR)
{
    ExprNode *out = nullptr;
    if (kL == 0 || kR == 0 || (kL < 5 && kR < 5))
        return Num(0);
    if (kL == 1)
        std::swap(out, dR);
    else if (kR == 1)
        std::swap(out, dL);
    else if (kL < 5)
        out = Mul(Copy(L), std::exchange(dR, nullptr));
    else if (kR < 5)
        out = Mul(Copy(R), std::exchange(dL, nullptr));
    else if (kL == 5)
        out = kR == 5 ? Add(Copy(R), Copy(L)) : Add(Copy(R), Mul(Copy(L), std::exchange(dR, nullptr)));
    else if (kR == 5)
        out = Add(Mul(Copy(R), std::exchange(dL, nullptr)), Copy(L));
    else
        out = Add(Mul(std::exchange(dL, nullptr), Copy(R)), Mul(Copy(L), std::exchange(dR, nullptr)));
    return out;
}

ExprNode *QuotientRule(const ExprNode *L, const ExprNode *R, ExprNode *&dL, ExprNode *&dR, int kL, int kR)
{
    if (kL == 0 || (kL < 5 && kR < 5))
        return Num(0);
    if (kL >= 5 && kR < 5)
        return Div(std::exchange(dL, nullptr), Copy(R));
    if (kL == 1)
        return Neg(Div(std::exchange(dR, nullptr), Square(R)));
    if (kL < 5)
        return Neg(Div(Mul(Copy(L), std::exchange(dR, nullptr)), Square(R)));
    return Div(Sub(Mul(std::exchange(dL, nullptr), Copy(R)), Mul(Copy(L), std::exchange(dR, nullptr))),
               Square(R));
}

ExprNode *PowerRule(const ExprNode *n, ExprNode *&dL, ExprNode *&dR, int kL, int kR)
{
    const ExprNode *L = n->left;
    const ExprNode *R = n->right;
    if (kL == 0 || kL == 1 || kR == 0 || (kL < 5 && kR < 5))
        return Num(0);
    if (kR == 1)
        return std::exchange(dL, nullptr);
    if (kL < 5) { // the base is free of the variable
        ExprNode *logL = Fn(OpLog, Copy(L));
        if (kR == 5)
            return Mul(logL, Copy(n));
        return Mul(Mul(logL, std::exchange(dR, nullptr)), Copy(n));
    }
    // The base depends on the variable. With a constant exponent the factor
    // in front is R (the base's derivative 1) or R·dL.
    auto front = [&]() -> ExprNode * { return kL == 5 ? Copy(R) : Mul(Copy(R), std::exchange(dL, nullptr)); };
    switch (kR) {
    case 2:
        return kL == 5 ? Mul(Num(2), Copy(L)) : Mul(Mul(Num(2), std::exchange(dL, nullptr)), Copy(L));
    case 3: {
        ExprNode *f = front();
        return Mul(f, Pow(Copy(L), Num(R->value - 1)));
    }
    case 4: {
        ExprNode *f = front();
        return Mul(f, Pow(Copy(L), Sub(Copy(R), Num(1))));
    }
    case 5:
        if (kL == 5)
            return Mul(Add(Fn(OpLog, Copy(L)), Div(Copy(R), Copy(L))), Copy(n));
        return Mul(Add(Fn(OpLog, Copy(L)), Div(Mul(Copy(R), std::exchange(dL, nullptr)), Copy(L))), Copy(n));
    default:
        if (kL == 5)
            return Mul(Add(Mul(std::exchange(dR, nullptr), Fn(OpLog, Copy(L))), Div(Copy(R), Copy(L))),
                       Copy(n));
        return Mul(Add(Mul(std::exchange(dR, nullptr), Fn(OpLog, Copy(L))),
                       Mul(Copy(R), Div(std::exchange(dL, nullptr), Copy(L)))),
                   Copy(n));
    }
}

ExprNode *TwoOperand(const ExprNode *n, int32_t v)
{
    ExprNode *dL = Raw(n->left, v);
    ExprNode *dR = Raw(n->right, v);
    int kL = Kind(n->left, dL);
    int kR = Kind(n->right, dR);
    ExprNode *out = nullptr;
    switch (n->op) {
    case OpAdd:
        return AddRule(dL, dR, kL, kR);
    case OpSubtract:
        return SubtractRule(dL, dR, kL, kR);
    case OpMultiply:
        out = ProductRule(n->left, n->right, dL, dR, kL, kR);
        break;
    case OpDivide:
        out = QuotientRule(n->left, n->right, dL, dR, kL, kR);
        break;
    default:
        out = PowerRule(n, dL, dR, kL, kR);
        break;
    }
    // Raw derivatives the result did not take.
    FreeTree(dL);
    FreeTree(dR);
    return out;
}

// The raw (unsimplified) derivative. Once the node budget is spent, every
// further part is taken as 0 so that the result stops growing; the callers
// then see TreeBudgetExceeded() and reject the result.
ExprNode *Raw(const ExprNode *n, int32_t v)
{
    if (!n)
        return Num(0);
    if (TreeBudgetExceeded()) {
        g_cutShort = true;
        return Num(0);
    }
    switch (n->op) {
    case OpPower:
    case OpDivide:
    case OpMultiply:
    case OpSubtract:
    case OpAdd:
        return TwoOperand(n, v);
    case OpSum:
        return MakeBinaryNode(OpSum, Copy(n->left), Differentiate(n->right, v));
    case OpSumTooLarge:
        // Undefined everywhere; so is its derivative.
        return Copy(n);
    default:
        break;
    }
    if (n->op >= OpNegate && n->op <= OpCosh)
        return OneOperand(n, v);
    return Num(n->op == v ? 1 : 0);
}

} // namespace

ExprNode *Differentiate(const ExprNode *tree, int32_t v)
{
    if (!tree)
        return nullptr;
    ExprNode *d = Raw(tree, v);
    Simplify(d, ParseBuild);
    return d;
}

std::string DerivativeText(const std::string &text, int32_t v)
{
    g_cutShort = false;
    Tree tree(ParseFormula(text, ParseBuild));
    if (!ParseOK || !tree)
        return {};
    ExprNode *root = tree.release();
    CanonicaliseTree(root);
    tree.reset(root);
    Tree d(Differentiate(tree.get(), v));
    if (d) {
        root = d.release();
        CanonicaliseTree(root);
        d.reset(root);
    }
    // A derivative cut short by the node budget is not the derivative.
    if (g_cutShort || TreeBudgetExceeded()) {
        ParseOK = false;
        return {};
    }
    return TreeToText(d.get());
}
