#include "engine_test_util.h"

namespace gq
{

namespace
{
// The derivative by x of a tree built for the test, written out; the input is released.
std::string D(ExprNode *n)
{
    Tree in(n);
    Tree d(differentiate(in.get(), OpX));
    EXPECT_TRUE(linksAreSound(d.get()));
    return treeToText(d.get());
}

// The same for a parsed formula, by x or by y.
std::string dText(const std::string &formula, int32_t v)
{
    Tree in = parseText(formula);
    Tree d(differentiate(in.get(), v));
    return treeToText(d.get());
}
const auto dxText = [](const std::string &formula) { return dText(formula, OpX); };
const auto dyText = [](const std::string &formula) { return dText(formula, OpY); };
const auto X = [] { return let('x'); };

TEST(Differentiate, PowerRuleMakesANewExponentAndLeavesTheInputAlone)
{
    Tree cube(power(X(), num(3)));
    Tree d(differentiate(cube.get(), OpX));
    ASSERT_EQ(d->op, OpMultiply);
    EXPECT_TRUE(isConstValue(d->left, 3));
    ASSERT_EQ(d->right->op, OpPower);
    EXPECT_TRUE(isConstValue(d->right->right, 2)); // c-1 is a new number
    EXPECT_EQ(treeToText(d.get()), "3*x^2");
    EXPECT_EQ(treeToText(cube.get()), "x^3");
}

TEST(Differentiate, RulesAndTheirTexts)
{
    // Constants and other letters stay factors; the four shapes of quotients.
    // clang-format off
    expectTrees(D, {
        {power(X(), num(2)), "2*x"}, {power(X(), X()), "(log(x)+x/x)*x^x"}, {power(num(2), X()), "log(2)*2^x"},
        {power(let('e'), X()), "log(e)*e^x"}, {power(X(), let('a')), "a*x^(a-1)"}, {power(X(), num(1)), "1"},
        {power(num(1), X()), "0"}, {mul(let('a'), X()), "a*1"}, {mul(X(), let('y')), "y*1"}, {let('y'), "0"},
        {X(), "1"}, {makePiNode(), "0"}, {fact(num(3)), "0"}, {un(OpNegate, un(OpSin, X())), "-cos(x)"},
        {divide(X(), num(2)), "1/2"}, {divide(num(1), X()), "-1/x^2"}, {divide(num(3), X()), "-3/x^2"}});
    for (auto [op, want] : std::initializer_list<std::pair<int32_t, const char *>>{
             {OpCos, "-sin(x)"}, {OpGaus, "0"}, {OpSgn, "0"}, {OpAbs, "sgn(x)"}, {OpExp, "exp(x)"},
             {OpLog, "1/x"}, {OpSqrt, "1/(2*sqrt(x))"}, {OpArctn, "1/(1+x^2)"}, {OpTan, "sec(x)^2"},
             {OpCotan, "-cosec(x)^2"}, {OpSinh, "cosh(x)"}, {OpCosh, "sinh(x)"}})
        EXPECT_EQ(D(un(op, X())), want);
    // The chain rule folds (2*1)*cos(2*x); by y, x is held constant.
    expectTexts(dxText, {
        {"(2x)^3", "6*(2*x)^2"}, {"x*x", "x+x"}, {"x*sin(x)", "sin(x)+x*cos(x)"}, {"sin(2x)", "2*cos(2*x)"},
        {"x/(x+1)", "((x+1)-x*1)/(x+1)^2"}, {"Sum(i=[1,3],x^i)", "Sum(i=[1,3],i*x^(i-1))"}});
    expectTexts(dyText, {{"x^2*y^3", "x^2*3*y^2"}, {"x^2+y^2-1", "2*y"}, {"sin(x)", "0"}});
    // clang-format on
}

// The derivative texts agree with difference quotients of the formulas, and
// every intermediate tree is released, by x and by y.
TEST(DerivativeText, ValuesMatchNumericalDerivatives)
{
    ScopedParameters parameters;
    std::size_t before = liveNodeCount();
    // clang-format off
    const char *formulas[] = {
        "x^2+3x", "sin(x)", "cos(3x)", "tan(x/2)", "sec(x)", "cosec(x+4)", "cotan(x+4)", "arctn(2x)",
        "log(x^2+1)", "exp(-x^2)", "sqrt(x^2+1)", "abs(x-5)", "sinh(x)", "cosh(x)", "(x+5)^(x/4)", "2^x",
        "e^x", "x^a", "1/(x^2+1)", "(x^2+1)/(x-4)", "x*sin(x)*cos(x)", "(x-1)^3(x+2)", "a*x^3-b*x", "-sin(x)",
        "-(x^2+x)", "log2(x+5)", "x^(1/3)", "(x^2+1)^(-2)", "Sum(i=[1,4],x^i/i)", "(d/dx)(x^4)",
        "3x-(x-(2-x))", "sin(cos(x))", "exp(sin(x))", "(2x+1)^3", "x/y", "x^x", "x*y*a/(x-y)",
        "x*(3^(-4)+2)!"};
    // clang-format on
    for (const char *f : formulas) {
        engineState().parseOK = true;
        std::string d = derivativeText(f, OpX);
        ASSERT_TRUE(engineState().parseOK) << f;
        ASSERT_TRUE(accepts(d)) << f << " -> " << d;
        derivativeText(f, OpY);
        for (long double x : {-1.3L, 0.45L, 1.7L, 3.2L}) {
            const long double h = 1E-6L;
            bool v1 = false, v2 = false, vd = false;
            long double up = valueOf(f, x + h, 0.5L, &v1);
            long double down = valueOf(f, x - h, 0.5L, &v2);
            long double slope = valueOf(d, x, 0.5L, &vd);
            if (!v1 || !v2)
                continue;
            ASSERT_TRUE(vd) << f << " -> " << d << " at " << static_cast<double>(x);
            double numeric = static_cast<double>((up - down) / (2 * h));
            EXPECT_NEAR(static_cast<double>(slope), numeric, 1e-6 * (1 + std::fabs(numeric)))
                << f << " -> " << d << " at " << static_cast<double>(x);
        }
    }
    EXPECT_EQ(liveNodeCount(), before);
}

TEST(DerivativeText, FailuresGiveAnEmptyText)
{
    engineState().parseOK = true;
    EXPECT_EQ(derivativeText("x^", OpX), "");
    EXPECT_FALSE(engineState().parseOK);
    engineState().parseOK = true;
    EXPECT_EQ(derivativeText("", OpX), "");
    EXPECT_EQ(differentiate(nullptr, OpX), nullptr);
}

TEST(DifferentiateBudget, StopsGrowingOnceTheNodeBudgetIsSpent)
{
    std::size_t before = liveNodeCount();
    {
        Tree f = parseText("sin(x)*cos(x)*tan(x)*exp(x)*log(x)");
        Ballast full;
        bool cutShort = false;
        Tree d(differentiate(f.get(), OpX, &cutShort));
        EXPECT_EQ(d, nullptr); // never a part of the derivative
        EXPECT_TRUE(cutShort);
    }
    {
        // Room for the parse but not for the derivative: the text is refused.
        Ballast almost(40);
        engineState().parseOK = true;
        EXPECT_EQ(derivativeText("sin(x)*cos(x)*tan(x)*exp(x)*log(x)*sqrt(x)", OpX), "");
        EXPECT_FALSE(engineState().parseOK);
    }
    EXPECT_EQ(liveNodeCount(), before);
    engineState().parseOK = true;
    EXPECT_EQ(derivativeText("x^3", OpX), "3*x^2"); // nothing sticks afterwards
    EXPECT_TRUE(engineState().parseOK);
}

} // namespace

} // namespace gq
