#include "rewrite_test_util.h"

#include <chrono>

#include <gtest/gtest.h>

namespace
{

// Simplifies a tree built for the test and writes the result.
std::string Simplified(ExprNode *n, bool *ok = nullptr)
{
    ParseOK = true;
    Simplify(n, ParseBuild);
    if (ok)
        *ok = ParseOK;
    EXPECT_TRUE(LinksAreSound(n));
    return Print(n);
}

std::string Canonical(ExprNode *n)
{
    CanonicaliseTree(n);
    EXPECT_TRUE(LinksAreSound(n));
    return Print(n);
}

std::string CanonicalText(const std::string &formula)
{
    Tree t = ParseText(formula);
    ExprNode *raw = t.release();
    return Canonical(raw);
}

bool IsFraction(const ExprNode *n, long double p, long double q)
{
    return n && n->op == OpDivide && IsConstValue(n->left, p) && IsConstValue(n->right, q);
}

bool HasOp(const std::string &formula, int32_t op)
{
    Tree t = ParseText(formula);
    ExprNode *raw = t.release();
    CanonicaliseTree(raw);
    t.reset(raw);
    return ContainsOp(t.get(), op);
}

ExprNode *Frac(long double p, long double q)
{
    return Bin(OpDivide, Num(p), Num(q));
}

TEST(SimplifyFractions, ExactRationalArithmetic)
{
    Tree sum = ParseText("1/3+1/6");
    EXPECT_TRUE(IsFraction(sum.get(), 1, 2));
    EXPECT_TRUE(IsFraction(ParseText("2/4").get(), 1, 2));
    EXPECT_TRUE(IsConstValue(ParseText("6/3").get(), 2));
    EXPECT_TRUE(IsFraction(ParseText("2*(1/4)").get(), 1, 2));
    EXPECT_TRUE(IsConstValue(ParseText("(1/2)/(1/4)").get(), 2));
    EXPECT_TRUE(IsConstValue(ParseText("3/(1/2)").get(), 6));
    EXPECT_TRUE(IsFraction(ParseText("(1/2)/3").get(), 1, 6));
    EXPECT_TRUE(IsFraction(ParseText("2/3-1").get(), 1, -3)); // -1/3 with the sign Euclid leaves
    EXPECT_TRUE(IsFraction(ParseText("1-1/4").get(), 3, 4));
    EXPECT_TRUE(IsConstValue(ParseText("7-9").get(), -2));
    EXPECT_EQ(Simplified(Frac(2, -4)), "1/(-2)"); // Euclid's divisor keeps the signs here
    EXPECT_EQ(ValueOf("2/(-4)"), -0.5L);
}

TEST(SimplifyFractions, AZeroNumeratorBecomesZero)
{
    EXPECT_TRUE(IsConstValue(ParseText("1/2-1/2").get(), 0));
    EXPECT_EQ(Simplified(Bin(OpAdd, Let('x'), Bin(OpSubtract, Frac(1, 3), Frac(2, 6)))), "x");
    // So a denominator that folds to zero through fractions is still rejected.
    EXPECT_FALSE(Accepts("1/(1/2-1/2)"));
}

TEST(SimplifyZeros, ZeroTermsAndFactorsDisappear)
{
    EXPECT_EQ(Simplified(Bin(OpMultiply, Num(0), Un(OpSin, Let('x')))), "0");
    EXPECT_EQ(Simplified(Bin(OpDivide, Num(0), Let('x'))), "0");
    EXPECT_EQ(Simplified(Bin(OpSubtract, Let('x'), Num(0))), "x");
    EXPECT_EQ(Simplified(Bin(OpAdd, Num(0), Let('x'))), "x");
    Tree neg(Bin(OpSubtract, Num(0), Let('x')));
    ExprNode *raw = neg.release();
    Simplify(raw, ParseBuild);
    neg.reset(raw);
    ASSERT_EQ(neg->op, OpNegate);
    EXPECT_EQ(neg->right->op, OpX);
}

TEST(SimplifyZeros, DivisionByConstantZeroFailsTheParse)
{
    bool ok = true;
    Simplified(Bin(OpDivide, Num(4), Bin(OpSubtract, Num(2), Num(2))), &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(Accepts("4/(2-2)"));
    EXPECT_FALSE(Accepts("x/(2-2)"));
    EXPECT_FALSE(Accepts("1/0"));
    EXPECT_TRUE(Accepts("1/x"));
}

TEST(SimplifyScope, NonIntegerConstantsAndCheckModeAreLeftAlone)
{
    EXPECT_EQ(Simplified(Bin(OpMultiply, Num(0.5L), Num(2))), "0.5*2");
    Tree t(Bin(OpAdd, Num(1), Num(2)));
    ExprNode *raw = t.release();
    Simplify(raw, ParseCheck);
    t.reset(raw);
    EXPECT_EQ(t->op, OpAdd);
}

TEST(SimplifyRange, FoldsOnlyWithinThirtyTwoBits)
{
    // 3000000000*3 would overflow a 32-bit fold; it stays a product and keeps its value.
    Tree big = ParseText("3000000000*3");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->op, OpMultiply);
    EXPECT_EQ(ValueOf("3000000000*3"), 9000000000.0L);
    EXPECT_EQ(ValueOf("65536*65536"), 4294967296.0L);
    EXPECT_EQ(ValueOf("2147483647+1"), 2147483648.0L);
    EXPECT_EQ(ValueOf("-2147483647-2"), -2147483649.0L);
    EXPECT_EQ(ValueOf("1/65536/65536"), 1 / 4294967296.0L);
    EXPECT_EQ(ValueOf("1/100000+1/100001"), 1.0L / 100000 + 1.0L / 100001);
    EXPECT_TRUE(IsConstValue(ParseText("2147483646+1").get(), 2147483647));
    // -2^31 / -1 is out of range and stays a quotient.
    EXPECT_EQ(Simplified(Frac(-2147483648.0L, -1)), "-2147483648/(-1)");
}

TEST(SimplifyRange, ReduceFractionLeavesOtherNodesAlone)
{
    Tree t(Bin(OpDivide, Let('x'), Num(4)));
    ExprNode *raw = t.release();
    ReduceFraction(raw, ParseBuild);
    t.reset(raw);
    EXPECT_EQ(TreeToText(t.get()), "x/4");
    Tree f(Frac(12, 18));
    raw = f.release();
    ReduceFraction(raw, ParseBuild);
    f.reset(raw);
    EXPECT_TRUE(IsFraction(f.get(), 2, 3));
}

TEST(CanonicalProducts, NumbersMoveLeftAndMultiply)
{
    EXPECT_EQ(Canonical(Bin(OpMultiply, Let('x'), Num(3))), "3*x");
    EXPECT_EQ(Canonical(Bin(OpMultiply, Num(2), Bin(OpMultiply, Num(3), Let('x')))), "6*x");
    EXPECT_EQ(CanonicalText("x*2*y*3"), "6*x*y");
    EXPECT_EQ(CanonicalText("2*(3/x)"), "6/x");
    EXPECT_EQ(Canonical(Bin(OpMultiply, Num(0), Let('x'))), "0");
}

TEST(CanonicalProducts, MultipliedOutWithoutSubtractions)
{
    EXPECT_FALSE(HasOp("(x+1)(x-1)", OpSubtract));
    EXPECT_EQ(CanonicalText("(x+1)(x-1)"), "x*x-x+x-1");
    EXPECT_TRUE(SameValues("(x+1)(x-1)", CanonicalText("(x+1)(x-1)")));
    EXPECT_TRUE(SameValues("(x+y)(a-b)(x-2)", CanonicalText("(x+y)(a-b)(x-2)")));
}

TEST(CanonicalSums, SubtractionsBecomeSumsAssociatedLeft)
{
    Tree t = ParseText("a-(b+c)");
    ExprNode *raw = t.release();
    CanonicaliseTree(raw);
    t.reset(raw);
    EXPECT_FALSE(ContainsOp(t.get(), OpSubtract));
    ASSERT_EQ(t->op, OpAdd);
    EXPECT_NE(t->right->op, OpAdd); // (a + -b) + -c
    EXPECT_EQ(TreeToText(t.get()), "a-b-c");
}

TEST(CanonicalPowers, PowersOfPowersAndNumberPowers)
{
    EXPECT_EQ(CanonicalText("(x^2)^3"), "x^6");
    EXPECT_EQ(CanonicalText("2^3"), "8");
    EXPECT_EQ(CanonicalText("2^0.5"), "2^0.5");
    EXPECT_EQ(CanonicalText("10^2"), "100");
    // A negative integer exponent gives a fraction, which is not rounded away.
    EXPECT_EQ(CanonicalText("2^(-1)"), "0.5");
    // Only integer powers of integer powers merge: (x^2)^0.5 is |x|, not x.
    SampleParameters parameters;
    EXPECT_TRUE(SameValues("(x^2)^0.5", CanonicalText("(x^2)^0.5")));
    EXPECT_TRUE(SameValues("(x^0.5)^2", CanonicalText("(x^0.5)^2")));
    EXPECT_TRUE(SameValues("(x^(1/3))^3", CanonicalText("(x^(1/3))^3")));
}

TEST(CanonicalFolds, NeverIntoInfinityOrNaN)
{
    for (const char *f : {"10^5000", "10^4000*10^4000", "10^4000*(10^4000*x)", "(10^3000)^2"}) {
        Tree t = ParseText(f);
        ExprNode *raw = t.release();
        CanonicaliseTree(raw);
        t.reset(raw);
        EXPECT_FALSE(ContainsNonFiniteConstant(t.get())) << f;
        EvalValid = true;
        long double v = Evaluate(t.get(), 1, 0);
        EXPECT_FALSE(std::isnan(v)) << f;
    }
}

TEST(CanonicalLimits, ProductsOfManySumsStaySmallAndFast)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "(x+1)";
    std::size_t before = LiveNodeCount();
    auto start = std::chrono::steady_clock::now();
    Tree t = ParseText(text);
    ExprNode *raw = t.release();
    CanonicaliseTree(raw);
    t.reset(raw);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0);
    EXPECT_LT(TreeSize(t.get()), 20000u);
    EXPECT_TRUE(LinksAreSound(t.get()));
    EvalValid = true;
    long double v = Evaluate(t.get(), 0.1L, 0);
    EXPECT_NEAR(v / std::pow(1.1L, 30), 1, 1e-12);
    t.reset();
    EXPECT_EQ(LiveNodeCount(), before);
}

TEST(CanonicalLimits, NothingIsMultipliedOutOnceTheNodeBudgetIsSpent)
{
    // Ballast up to the budget: one long chain of negations.
    ExprNode *ballast = Num(1);
    while (LiveNodeCount() <= kMaxLiveNodes)
        ballast = Un(OpNegate, ballast);
    Tree hold(ballast);
    Tree t(Bin(OpMultiply, Bin(OpAdd, Let('x'), Num(1)), Bin(OpAdd, Let('x'), Num(2))));
    ExprNode *raw = t.release();
    CanonicaliseTree(raw);
    t.reset(raw);
    EXPECT_EQ(TreeToText(t.get()), "(x+1)*(x+2)");
    hold.reset();
    raw = t.release();
    CanonicaliseTree(raw);
    t.reset(raw);
    EXPECT_EQ(TreeToText(t.get()), "x*x+2*x+x+2");
}

TEST(CanonicalTree, RootKeepsItsParentAndValuesAreKept)
{
    Tree holder(Un(OpSin, Bin(OpMultiply, Let('x'), Num(3))));
    ExprNode *result = CanonicaliseTree(holder->right);
    EXPECT_EQ(result, holder->right);
    EXPECT_EQ(result->parent, holder.get());
    EXPECT_EQ(TreeToText(holder.get()), "sin(3*x)");

    SampleParameters parameters;
    for (const char *f : {"(x-1)^2(x+2)", "x*(y-2)*(a+b)", "-(x-y)/(2-x)", "3x-2(x-y)*4", "(2x)^2*(3y)^3",
                          "x-(1-(x-(2-y)))", "(x+y)^2-(x-y)^2", "2*(x*(3*(y*4)))", "sin(x*2)*x*2"}) {
        EXPECT_TRUE(SameValues(f, CanonicalText(f))) << f;
    }
}

} // namespace
