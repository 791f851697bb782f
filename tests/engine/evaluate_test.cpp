#include "engine_test_util.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
TEST(Evaluate, PowersFollowTheIntegerAndOddRootRules)
{
    bool valid = false;
    EXPECT_EQ(ValueOf("0^0"), 1);
    EXPECT_NEAR(ValueOf("(-8)^(1/3)", 0, 0, &valid), -2, 1e-15);
    EXPECT_TRUE(valid);
    EXPECT_NEAR(ValueOf("(-8)^(2/3)"), 4, 1e-15);
    ValueOf("(-8)^0.5", 0, 0, &valid);
    EXPECT_FALSE(valid);
    EXPECT_NEAR(ValueOf("x^(1/3)", -27), -3, 1e-15);
    ValueOf("x^(1/2)", -4, 0, &valid);
    EXPECT_FALSE(valid);
    EXPECT_DOUBLE_EQ(ValueOf("x^(-2)", 2), 0.25);
}

TEST(Evaluate, ZeroToPowersSetsFlags)
{
    Tree t = ParseText("x^2");
    EvalValid = true;
    EXPECT_EQ(Evaluate(t.get(), 0, 0), 0);
    EXPECT_TRUE(t->zeroCross);
    Tree inv = ParseText("x^(-1)");
    PoleSeen = false;
    EvalValid = true;
    Evaluate(inv.get(), 0, 0);
    EXPECT_FALSE(EvalValid);
    EXPECT_TRUE(inv->poleCross);
    EXPECT_TRUE(PoleSeen);
}

TEST(Evaluate, DomainErrorsAreUndefined)
{
    for (auto [text, x] : std::initializer_list<std::pair<const char *, long double>>{
             {"log(x)", 0}, {"log(x)", -1}, {"1/x", 0}, {"sqrt(x)", -1}, {"log1(x)", 2}, {"log0(x)", 2},
             {"cosec(x)", 0}, {"cotan(x)", 0}, {"(x-3)!", 0}}) {
        bool valid = true;
        EXPECT_EQ(ValueOf(text, x, 0, &valid), 0) << text;
        EXPECT_FALSE(valid) << text;
    }
}

TEST(Evaluate, GaussBracketAndFactorials)
{
    EXPECT_EQ(ValueOf("gaus(2.7)"), 2);
    EXPECT_EQ(ValueOf("gaus(x)", -2.5), -3);
    EXPECT_EQ(ValueOf("gaus(x)", -2), -2); // the greatest integer not above -2
    EXPECT_EQ(ValueOf("5!"), 120);
    EXPECT_EQ(ValueOf("(0)!"), 1);
    VariableTable.param[ParamIndexOfLetter('e')] = 2.6f;
    EXPECT_EQ(ValueOf("(e)!"), 6);
}

TEST(Evaluate, OverflowGivesBigValue)
{
    bool valid = false;
    EXPECT_EQ(ValueOf("exp(20000)", 0, 0, &valid), BigValue);
    EXPECT_TRUE(valid);
    EXPECT_NEAR(std::log(ValueOf("exp(5000)")), 5000, 1e-9); // finite in 80 bits
    EXPECT_EQ(ValueOf("exp(-20000)"), 3.0E-4932L);
    EXPECT_EQ(ValueOf("10^4000*10^4000"), BigValue);
    EXPECT_EQ(ValueOf("-(10^4000)*10^4000"), -BigValue);
    EXPECT_EQ(ValueOf("(10^4000)^2"), BigValue);
    EXPECT_EQ(ValueOf("log(x)", 1, 0, &valid), 0);
}

TEST(Evaluate, HugeArgumentsFinishQuickly)
{
    bool valid = false;
    EXPECT_EQ(ValueOf("x^1000000000", 2, 0, &valid), BigValue);
    EXPECT_TRUE(valid);
    EXPECT_EQ(ValueOf("x^1000000000", 0.5L), 0);
    EXPECT_EQ(ValueOf("x^1000000001", -1), -1);
    EXPECT_EQ(ValueOf("1000000000!"), BigValue);
    EXPECT_EQ(ValueOf("1754!") < BigValue, true);
    ValueOf("Sum(i=[1,1000000000],i)", 0, 0, &valid);
    EXPECT_FALSE(valid); // too long a sum to expand: undefined, not a hang
    ValueOf("Sum(i=[1,1000],Sum(j=[1,1000],i*j))", 0, 0, &valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(ValueOf("Sum(i=[1,10000],1)"), 10000);
}

TEST(Evaluate, PoleBetweenSamplesIsReported)
{
    Tree t = ParseText("1/x");
    EvalValid = true;
    Evaluate(t.get(), -0.1L, 0);
    PoleSeen = false;
    Evaluate(t.get(), 0.1L, 0);
    EXPECT_TRUE(EvalValid);
    EXPECT_TRUE(t->poleCross);
    EXPECT_TRUE(PoleSeen);

    Tree sgn = ParseText("sgn(x)");
    Evaluate(sgn.get(), -1, 0);
    PoleSeen = false;
    Evaluate(sgn.get(), 1, 0);
    EXPECT_TRUE(PoleSeen);

    Tree tan = ParseText("tan(x)");
    Evaluate(tan.get(), 1.5L, 0);
    PoleSeen = false;
    Evaluate(tan.get(), 1.6L, 0);
    EXPECT_TRUE(tan->poleCross);
    EXPECT_TRUE(PoleSeen);
    Evaluate(tan.get(), 1.7L, 0);
    EXPECT_FALSE(tan->poleCross);
}

TEST(Evaluate, ZeroCrossingsAreReported)
{
    Tree t = ParseText("sin(x)");
    Evaluate(t.get(), -0.1L, 0);
    Evaluate(t.get(), 0.1L, 0);
    EXPECT_TRUE(t->zeroCross);
    Evaluate(t.get(), 0.2L, 0);
    EXPECT_FALSE(t->zeroCross);
    Tree lg = ParseText("log(x)");
    Evaluate(lg.get(), 0.9L, 0);
    Evaluate(lg.get(), 1.1L, 0);
    EXPECT_TRUE(lg->zeroCross);
}

TEST(Evaluate, ParametersAndLetters)
{
    VariableTable.param[ParamIndexOfLetter('s')] = 0.5f;
    VariableTable.param[ParamIndexOfLetter('w')] = 2;
    VariableTable.param[ParamIndexOfLetter('i')] = 7;
    VariableTable.t = 3;
    EXPECT_DOUBLE_EQ(ValueOf("\x83\xC6"), 0.5);
    EXPECT_DOUBLE_EQ(ValueOf("w+i+t"), 12);
    EXPECT_DOUBLE_EQ(ValueOf("x*y", 3, 4), 12);
}

TEST(Evaluate, TextEntryPoints)
{
    ParseOK = true;
    EvalValid = true;
    EXPECT_NEAR(EvaluateFormulaText("2\x83\xCE", 0), 2 * kPiValue, 1e-15);
    EXPECT_DOUBLE_EQ(EvaluateFormulaText("Sum(i=[1,3],i)", 0), 0); // sums stay unexpanded here
    EXPECT_DOUBLE_EQ(EvaluateFormulaTextWithSums("Sum(i=[1,3],i)", 0), 6);
    EXPECT_TRUE(ParseOK && EvalValid);
    EvaluateFormulaText("x+", 0);
    EXPECT_FALSE(ParseOK);
}

TEST(NumericHelpers, SignSwapIntersection)
{
    EXPECT_EQ(SignOf(-0.0L), 0);
    EXPECT_EQ(SignOf(-3), -1);
    long double a = 1, b = 2;
    SwapValues(a, b);
    EXPECT_EQ(a, 2);
    long double x, y;
    LineIntersection(1, 0, -1, 2, x, y);
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 1);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(3.5L), 4);
}

TEST(Evaluate, AllocatesNothing)
{
    Tree t = ParseText("sin(x)exp(-x^2/4)+Sum(i=[1,3],x^i)");
    ExprNode *raw = t.release();
    ExpandSums(raw);
    t.reset(raw);
    std::size_t before = LiveNodeCount();
    for (int k = 0; k < 100; ++k)
        Evaluate(t.get(), k * 0.1L, 0);
    EXPECT_EQ(LiveNodeCount(), before);
}
} // namespace
