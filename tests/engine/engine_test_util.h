// Helpers shared by the engine tests: parsing and evaluating texts, building
// trees by hand, and table checks.
#pragma once

#include "engine/budget.h"
#include "engine/engine.h"

#include <cmath>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace gq
{

inline constexpr long double kPiValue = 3.14159265358979323846264338327950288L;
inline const std::string kPi = "\x83\xCE";
inline const std::string kTheta = "\x83\xC6";

// Parses text in build mode; engineState().parseOK tells whether the parse succeeded.
inline Tree parseText(const std::string &text)
{
    engineState().parseOK = true;
    return Tree(parseFormula(text, ParseBuild));
}

// Both the check pass and the build pass accept the text.
inline bool accepts(const std::string &text)
{
    engineState().parseOK = true;
    Tree check(parseFormula(text, ParseCheck));
    if (!engineState().parseOK)
        return false;
    Tree built(parseFormula(text, ParseBuild));
    return engineState().parseOK;
}

// Applies an in-place pass (expandSums, canonicaliseTree, ...) to an owned tree.
template <class Pass> void apply(Tree &t, Pass pass)
{
    ExprNode *raw = t.release();
    pass(raw);
    t.reset(raw);
}

// Value of a formula at (x, y) with sums expanded; valid reports engineState().evalValid
// (false also when the text does not parse).
inline long double valueOf(const std::string &text, long double x = 0, long double y = 0,
                           bool *valid = nullptr)
{
    Tree t = parseText(text);
    long double v = 0;
    if ((engineState().evalValid = engineState().parseOK)) {
        apply(t, expandSums);
        v = Program(t.get()).evaluate(x, y);
    }
    if (valid)
        *valid = engineState().evalValid;
    return v;
}

// Each text has a defined value at (x, y) within a relative 1e-14 (zero exactly).
struct ValueCase {
    std::string text;
    long double want, x = 0, y = 0;
};
inline void expectValues(std::initializer_list<ValueCase> cases)
{
    for (const ValueCase &c : cases) {
        bool valid = false;
        long double v = valueOf(c.text, c.x, c.y, &valid);
        EXPECT_TRUE(valid) << c.text;
        EXPECT_TRUE(std::fabs(v - c.want) <= 1e-14L * std::fabs(c.want))
            << c.text << " gives " << static_cast<double>(v) << ", not " << static_cast<double>(c.want);
    }
}

// write(input) gives the text wanted, for trees built for the test or for texts.
template <class Writer>
void expectTrees(Writer write, std::initializer_list<std::pair<ExprNode *, std::string>> cases)
{
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(write(cases.begin()[i].first), cases.begin()[i].second) << "case " << i;
}
template <class Writer>
void expectTexts(Writer write, std::initializer_list<std::pair<std::string, std::string>> cases)
{
    for (const auto &[text, want] : cases)
        EXPECT_EQ(write(text), want) << text;
}

// Definitions for tests: F1..F6 and Q1..Q6 by number.
struct TestDefinitions : DefinitionSource {
    std::map<int, std::string> f, q;
    EngineScope scope{this};
    std::string functionText(int n) const override { return f.count(n) ? f.at(n) : std::string(); }
    std::string constantText(int n) const override { return q.count(n) ? q.at(n) : std::string(); }
};

// Tree builders.
inline constexpr auto num = [](long double v) { return makeConstNode(v); };
inline constexpr auto let = [](char c) { return makeLeafNode(letterCode(c)); };
inline constexpr auto bin = [](int32_t op, ExprNode *l, ExprNode *r) { return makeBinaryNode(op, l, r); };
inline constexpr auto un = [](int32_t op, ExprNode *operand) { return makeUnaryNode(op, operand); };
inline constexpr auto fact = [](ExprNode *n) { return makeBinaryNode(OpFactorial, n, nullptr); };
inline constexpr auto add = [](ExprNode *l, ExprNode *r) { return bin(OpAdd, l, r); };
inline constexpr auto sub = [](ExprNode *l, ExprNode *r) { return bin(OpSubtract, l, r); };
inline constexpr auto mul = [](ExprNode *l, ExprNode *r) { return bin(OpMultiply, l, r); };
inline constexpr auto divide = [](ExprNode *l, ExprNode *r) { return bin(OpDivide, l, r); };
inline constexpr auto power = [](ExprNode *l, ExprNode *r) { return bin(OpPower, l, r); };

// Writes a tree built for the test and releases it.
inline std::string print(ExprNode *n)
{
    Tree t(n);
    return treeToText(t.get());
}

// A parsed formula after the canonical form, and its text.
inline Tree canonicalTree(const std::string &formula)
{
    Tree t = parseText(formula);
    apply(t, canonicaliseTree);
    return t;
}
inline std::string canonicalText(const std::string &formula)
{
    return treeToText(canonicalTree(formula).get());
}

// Every child points back at its parent; the root's parent is as given.
inline bool linksAreSound(const ExprNode *n, const ExprNode *parent = nullptr)
{
    return !n || (n->parent == parent && linksAreSound(n->left, n) && linksAreSound(n->right, n));
}

// Opens a formula budget with only `room` units of work left (room 0: spent
// already), for the passes called while it lives.
struct Ballast {
    FormulaBudget scope;
    explicit Ballast(std::size_t room = 0)
    {
        if (room == 0)
            refuseFormula();
        else
            spendFormulaWork(kFormulaWorkBudget - room);
    }
};

// The two formulas agree (both undefined, or both defined with close values)
// at every sample x, with y = x/2 + 0.3.
inline ::testing::AssertionResult sameValues(const std::string &a, const std::string &b)
{
    for (long double x : {-2.3L, -0.7L, 0.4L, 1.9L, 3.1L}) {
        long double y = x / 2 + 0.3L;
        bool va = false, vb = false;
        long double ra = valueOf(a, x, y, &va);
        long double rb = valueOf(b, x, y, &vb);
        if (va != vb)
            return ::testing::AssertionFailure()
                   << a << " and " << b << " differ in definedness at x=" << static_cast<double>(x);
        if (va && !(std::fabs(ra - rb) <= 1e-12L * (1 + std::fabs(ra))))
            return ::testing::AssertionFailure()
                   << a << " = " << static_cast<double>(ra) << " but " << b << " = "
                   << static_cast<double>(rb) << " at x=" << static_cast<double>(x);
    }
    return ::testing::AssertionSuccess();
}

// Sets parameters for one test (by default those the value comparisons use)
// and puts the previous variable table back at the end of the scope, so that
// other tests see the defaults.
class ScopedParameters
{
  public:
    using Values = std::initializer_list<std::pair<char, float>>;
    explicit ScopedParameters(
        Values values = {{'a', 1.5f}, {'b', -0.75f}, {'c', 2}, {'e', 2.5f}, {'n', 3}, {'s', 0.25f}})
        : saved_(engineState().variables)
    {
        set(values);
    }
    ~ScopedParameters() { engineState().variables = saved_; }
    void set(Values values)
    {
        for (auto [c, v] : values)
            engineState().variables.params[c] = v;
    }

  private:
    VariableTable saved_;
};

} // namespace gq
