#include "rewrite_test_util.h"

#include <gtest/gtest.h>

namespace
{

// The derivative of a tree built for the test, written out; the input is released.
std::string D(ExprNode *n, int32_t v = OpX)
{
    Tree in(n);
    Tree d(Differentiate(in.get(), v));
    EXPECT_TRUE(LinksAreSound(d.get()));
    return TreeToText(d.get());
}

// The same for a parsed formula.
std::string DText(const std::string &formula, int32_t v = OpX)
{
    Tree in = ParseText(formula);
    Tree d(Differentiate(in.get(), v));
    return TreeToText(d.get());
}

ExprNode *X()
{
    return Let('x');
}

TEST(DifferentiatePowers, NumberExponentsAndVariableExponents)
{
    Tree cube(Bin(OpPower, X(), Num(3)));
    Tree d(Differentiate(cube.get(), OpX));
    ASSERT_EQ(d->op, OpMultiply);
    EXPECT_TRUE(IsConstValue(d->left, 3));
    ASSERT_EQ(d->right->op, OpPower);
    EXPECT_TRUE(IsConstValue(d->right->right, 2)); // c-1 is a new number
    EXPECT_EQ(TreeToText(d.get()), "3*x^2");
    EXPECT_EQ(TreeToText(cube.get()), "x^3"); // the input is unchanged

    EXPECT_EQ(D(Bin(OpPower, X(), Num(2))), "2*x");
    EXPECT_EQ(D(Bin(OpPower, X(), X())), "(log(x)+x/x)*x^x");
    EXPECT_EQ(D(Bin(OpPower, Num(2), X())), "log(2)*2^x");
    EXPECT_EQ(D(Bin(OpPower, Let('e'), X())), "log(e)*e^x");
    EXPECT_EQ(D(Bin(OpPower, X(), Let('a'))), "a*x^(a-1)");
    EXPECT_EQ(D(Bin(OpPower, X(), Num(1))), "1");
    EXPECT_EQ(D(Bin(OpPower, Num(1), X())), "0");
    EXPECT_EQ(DText("(2x)^3"), "6*(2*x)^2");
}

TEST(DifferentiateProducts, ConstantsAndOtherLettersStayFactors)
{
    EXPECT_EQ(D(Bin(OpMultiply, Let('a'), X())), "a*1");
    EXPECT_EQ(D(Bin(OpMultiply, X(), Let('y'))), "y*1");
    EXPECT_EQ(D(Let('y')), "0");
    EXPECT_EQ(D(X()), "1");
    EXPECT_EQ(D(MakePiNode()), "0");
    EXPECT_EQ(DText("x*x"), "x+x");
    EXPECT_EQ(DText("x*sin(x)"), "sin(x)+x*cos(x)");
    // The factor 1 goes once the canonical form has moved it to the left.
    ParseOK = true;
    EXPECT_EQ(DerivativeText("ax", OpX), "a");
    EXPECT_TRUE(ParseOK);
}

TEST(DifferentiateFunctions, ChainRuleAndSimplification)
{
    Tree in = ParseText("sin(2x)");
    ExprNode *raw = Differentiate(in.get(), OpX);
    Tree d(raw);
    EXPECT_EQ(TreeToText(d.get()), "2*cos(2*x)"); // (2·1)·cos(2·x) folded
    EXPECT_EQ(D(Un(OpNegate, Un(OpSin, X()))), "-cos(x)");
    EXPECT_EQ(D(Un(OpCos, X())), "-sin(x)");
    EXPECT_EQ(D(Un(OpGaus, X())), "0");
    EXPECT_EQ(D(Un(OpSgn, X())), "0");
    EXPECT_EQ(D(Un(OpAbs, X())), "sgn(x)");
    EXPECT_EQ(D(Bin(OpFactorial, Num(3), nullptr)), "0");
    EXPECT_EQ(D(Un(OpExp, X())), "exp(x)");
    EXPECT_EQ(D(Un(OpLog, X())), "1/x");
    EXPECT_EQ(D(Un(OpSqrt, X())), "1/(2*sqrt(x))");
    EXPECT_EQ(D(Un(OpArctn, X())), "1/(1+x^2)");
    EXPECT_EQ(D(Un(OpTan, X())), "sec(x)^2");
    EXPECT_EQ(D(Un(OpCotan, X())), "-cosec(x)^2");
    EXPECT_EQ(D(Un(OpSinh, X())), "cosh(x)");
    EXPECT_EQ(D(Un(OpCosh, X())), "sinh(x)");
}

TEST(DifferentiateQuotients, TheFourShapes)
{
    EXPECT_EQ(D(Bin(OpDivide, X(), Num(2))), "1/2");
    EXPECT_EQ(D(Bin(OpDivide, Num(1), X())), "-1/x^2");
    EXPECT_EQ(D(Bin(OpDivide, Num(3), X())), "-3/x^2");
    EXPECT_EQ(DText("x/(x+1)"), "((x+1)-x*1)/(x+1)^2");
}

TEST(DifferentiatePartial, ByYWithXConstant)
{
    EXPECT_EQ(DText("x^2*y^3", OpY), "x^2*3*y^2");
    EXPECT_EQ(DText("x^2+y^2-1", OpY), "2*y");
    EXPECT_EQ(DText("sin(x)", OpY), "0");
}

TEST(DifferentiateSums, FiniteSumsDifferentiateTheirSummand)
{
    EXPECT_EQ(DText("Sum(i=[1,3],x^i)"), "Sum(i=[1,3],i*x^(i-1))");
    EXPECT_NEAR(ValueOf(DText("Sum(i=[1,3],x^i)"), 2), 1 + 2 * 2 + 3 * 4, 1e-15);
}

// The derivative texts agree with difference quotients of the formulas.
TEST(DerivativeTextValues, MatchNumericalDerivatives)
{
    SampleParameters parameters;
    const char *formulas[] = {
        "x^2+3x",
        "sin(x)",
        "cos(3x)",
        "tan(x/2)",
        "sec(x)",
        "cosec(x+4)",
        "cotan(x+4)",
        "arctn(2x)",
        "log(x^2+1)",
        "exp(-x^2)",
        "sqrt(x^2+1)",
        "abs(x-5)",
        "sinh(x)",
        "cosh(x)",
        "(x+5)^(x/4)",
        "2^x",
        "e^x",
        "x^a",
        "1/(x^2+1)",
        "(x^2+1)/(x-4)",
        "x*sin(x)*cos(x)",
        "(x-1)^3(x+2)",
        "a*x^3-b*x",
        "-sin(x)",
        "-(x^2+x)",
        "log2(x+5)",
        "x^(1/3)",
        "(x^2+1)^(-2)",
        "Sum(i=[1,4],x^i/i)",
        "(d/dx)(x^4)",
        "3x-(x-(2-x))",
        "sin(cos(x))",
        "exp(sin(x))",
        "(2x+1)^3",
        "x/y",
    };
    for (const char *f : formulas) {
        ParseOK = true;
        std::string d = DerivativeText(f, OpX);
        ASSERT_TRUE(ParseOK) << f;
        ASSERT_TRUE(Accepts(d)) << f << " -> " << d;
        for (long double x : {-1.3L, 0.45L, 1.7L, 3.2L}) {
            const long double h = 1E-6L;
            bool v1 = false, v2 = false, vd = false;
            long double up = ValueOf(f, x + h, 0.5L, &v1);
            long double down = ValueOf(f, x - h, 0.5L, &v2);
            long double slope = ValueOf(d, x, 0.5L, &vd);
            if (!v1 || !v2)
                continue;
            ASSERT_TRUE(vd) << f << " -> " << d << " at " << static_cast<double>(x);
            long double numeric = (up - down) / (2 * h);
            EXPECT_NEAR(static_cast<double>(slope), static_cast<double>(numeric),
                        1e-6 * (1 + std::fabs(static_cast<double>(numeric))))
                << f << " -> " << d << " at " << static_cast<double>(x);
        }
    }
}

TEST(DerivativeTextValues, ReadsBackAsTwoXPlusThree)
{
    ParseOK = true;
    std::string d = DerivativeText("x^2+3x", OpX);
    EXPECT_TRUE(ParseOK);
    EXPECT_TRUE(SameValues(d, "2x+3"));
}

TEST(DerivativeTextFailures, BadFormulasAndEmptyText)
{
    ParseOK = true;
    EXPECT_EQ(DerivativeText("x^", OpX), "");
    EXPECT_FALSE(ParseOK);
    ParseOK = true;
    EXPECT_EQ(DerivativeText("", OpX), "");
    EXPECT_EQ(Differentiate(nullptr, OpX), nullptr);
}

TEST(DifferentiateBudget, StopsGrowingOnceTheNodeBudgetIsSpent)
{
    std::size_t before = LiveNodeCount();
    Tree f = ParseText("sin(x)*cos(x)*tan(x)*exp(x)*log(x)");
    ExprNode *ballast = Num(1);
    while (LiveNodeCount() <= kMaxLiveNodes)
        ballast = Un(OpNegate, ballast);
    Tree hold(ballast);
    Tree d(Differentiate(f.get(), OpX));
    EXPECT_TRUE(IsConstValue(d.get(), 0));
    d.reset();

    // Leave room for the parse but not for the derivative: the text is refused.
    hold.reset();
    std::size_t room = 40;
    ballast = Num(1);
    while (LiveNodeCount() + room < kMaxLiveNodes)
        ballast = Un(OpNegate, ballast);
    hold.reset(ballast);
    ParseOK = true;
    std::string text = DerivativeText("sin(x)*cos(x)*tan(x)*exp(x)*log(x)*sqrt(x)", OpX);
    EXPECT_FALSE(ParseOK);
    EXPECT_EQ(text, "");
    hold.reset();
    f.reset();
    EXPECT_EQ(LiveNodeCount(), before);

    ParseOK = true;
    EXPECT_EQ(DerivativeText("x^3", OpX), "3*x^2"); // nothing sticks afterwards
    EXPECT_TRUE(ParseOK);
}

TEST(DifferentiateMemory, EveryIntermediateIsReleased)
{
    std::size_t before = LiveNodeCount();
    for (const char *f :
         {"x^x", "sin(x)/(x^2+1)", "(2x+1)^x", "cotan(2x)", "x*y*a/(x-y)", "Sum(i=[1,3],i*x)"}) {
        ParseOK = true;
        DerivativeText(f, OpX);
        DerivativeText(f, OpY);
    }
    EXPECT_EQ(LiveNodeCount(), before);
}

} // namespace
