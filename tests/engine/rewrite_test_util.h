// Tree builders and checks shared by the printer, differentiation,
// simplification and implicit-algebra tests.
#pragma once

#include "engine_test_util.h"

#include <cmath>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

inline ExprNode *Num(long double v)
{
    return MakeConstNode(v);
}
inline ExprNode *Let(char c)
{
    return MakeLeafNode(LetterCode(c));
}
inline ExprNode *Bin(int32_t op, ExprNode *l, ExprNode *r)
{
    return MakeBinaryNode(op, l, r);
}
inline ExprNode *Un(int32_t op, ExprNode *operand)
{
    return MakeUnaryNode(op, operand);
}

// Writes a tree built for the test and releases it.
inline std::string Print(ExprNode *n)
{
    Tree t(n);
    return TreeToText(t.get());
}

// Every child points back at its parent; the root's parent is as given.
inline bool LinksAreSound(const ExprNode *n, const ExprNode *parent = nullptr)
{
    if (!n)
        return true;
    return n->parent == parent && LinksAreSound(n->left, n) && LinksAreSound(n->right, n);
}

inline bool ContainsNonFiniteConstant(const ExprNode *n)
{
    if (!n)
        return false;
    if (n->op == OpConst && !std::isfinite(n->value))
        return true;
    return ContainsNonFiniteConstant(n->left) || ContainsNonFiniteConstant(n->right);
}

inline void SetParam(char c, float v)
{
    VariableTable.param[ParamIndexOfLetter(c)] = v;
}

// The two formulas agree (both undefined, or both defined with close values)
// at every sample x, with y = x/2 + 0.3.
inline ::testing::AssertionResult SameValues(const std::string &a, const std::string &b,
                                             std::initializer_list<long double> xs = {-2.3L, -0.7L, 0.4L,
                                                                                      1.9L, 3.1L})
{
    for (long double x : xs) {
        long double y = x / 2 + 0.3L;
        bool va = false, vb = false;
        long double ra = ValueOf(a, x, y, &va);
        long double rb = ValueOf(b, x, y, &vb);
        if (va != vb)
            return ::testing::AssertionFailure()
                   << a << " and " << b << " differ in definedness at x=" << static_cast<double>(x);
        long double tolerance = 1e-12L * (1 + std::fabs(ra));
        if (va && !(std::fabs(ra - rb) <= tolerance))
            return ::testing::AssertionFailure()
                   << a << " = " << static_cast<double>(ra) << " but " << b << " = "
                   << static_cast<double>(rb) << " at x=" << static_cast<double>(x);
    }
    return ::testing::AssertionSuccess();
}

// Sets the parameters the value comparisons use, and puts the previous
// values back at the end of the scope so that other tests see the defaults.
class SampleParameters
{
  public:
    SampleParameters() : saved_(VariableTable)
    {
        SetParam('a', 1.5f);
        SetParam('b', -0.75f);
        SetParam('c', 2.0f);
        SetParam('e', 2.5f);
        SetParam('n', 3.0f);
        SetParam('s', 0.25f);
    }
    ~SampleParameters() { VariableTable = saved_; }

  private:
    VariableTableRecord saved_;
};
