#include "engine_test_util.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {
const std::string kPi = "\x83\xCE";
const std::string kTheta = "\x83\xC6";

TEST(Normalise, ReplacesOnlyExactByteSequences)
{
    EXPECT_EQ(NormaliseFormulaText("2" + kPi + "x"), "2Px");
    EXPECT_EQ(NormaliseFormulaText(kTheta + "+1"), "s+1");
    EXPECT_EQ(NormaliseFormulaText("(d/dx)(x^3)"), "D(x^3)");
    EXPECT_EQ(NormaliseFormulaText("\x83\xCF"), "\x83\xCF");
}

TEST(FunctionNames, RecognisedOnlyWithParenthesisWithinTenCharacters)
{
    EXPECT_EQ(RecogniseFunction("sin(x)", 0).kind, FunctionName::Function);
    EXPECT_EQ(RecogniseFunction("log10(x)", 0).kind, FunctionName::BasedLog);
    EXPECT_EQ(RecogniseFunction("log10(x)", 0).base, "10");
    EXPECT_EQ(RecogniseFunction("sinx", 0).kind, FunctionName::Letter);
    EXPECT_EQ(RecogniseFunction("asin(x)", 0).kind, FunctionName::Letter);
}

TEST(Parser, ImpliedProducts)
{
    VariableTable.param[ParamIndexOfLetter('a')] = 3;
    EXPECT_DOUBLE_EQ(ValueOf("2x", 4), 8);
    EXPECT_DOUBLE_EQ(ValueOf("2(x+1)", 4), 10);
    EXPECT_DOUBLE_EQ(ValueOf("(x+1)(x-1)", 3), 8);
    EXPECT_NEAR(ValueOf("xsin(x)", 1), std::sin(1.0), 1e-15);
    EXPECT_NEAR(ValueOf("asin(x)", 1), 3 * std::sin(1.0), 1e-6);
    EXPECT_DOUBLE_EQ(ValueOf("x2", 5), 10);
    EXPECT_NEAR(ValueOf("2Px", 1), 2 * kPiValue, 1e-15);
    EXPECT_DOUBLE_EQ(ValueOf("sinx", 2), 0); // s*i*n*x with s = 0
    EXPECT_DOUBLE_EQ(ValueOf("05"), 0);      // 0*5
    EXPECT_FALSE(Accepts("(x+1)2"));
    EXPECT_FALSE(Accepts("(x+1)P"));
}

TEST(Parser, PrecedenceAndAssociativity)
{
    VariableTable.param[ParamIndexOfLetter('a')] = 2;
    VariableTable.param[ParamIndexOfLetter('b')] = 3;
    VariableTable.param[ParamIndexOfLetter('c')] = 2;
    EXPECT_DOUBLE_EQ(ValueOf("a^b^c"), 64); // (a^b)^c
    EXPECT_DOUBLE_EQ(ValueOf("2x^2", 3), 18);
    EXPECT_DOUBLE_EQ(ValueOf("x/2y", 8, 2), 2); // x/(2y)
    EXPECT_DOUBLE_EQ(ValueOf("x^2y", 2, 2), 16); // x^(2y)
    EXPECT_DOUBLE_EQ(ValueOf("-x^2", 3), -9);
    EXPECT_DOUBLE_EQ(ValueOf("x--1", 3), 4);
    EXPECT_DOUBLE_EQ(ValueOf("10-4-3"), 3); // the same rank associates to the left
    EXPECT_DOUBLE_EQ(ValueOf("12/6/2"), 1);
    Tree t = ParseText("x+y-z");            // a+b-c is a+(b-c)
    ASSERT_TRUE(t);
    EXPECT_EQ(t->op, OpAdd);
    EXPECT_EQ(t->right->op, OpSubtract);
    EXPECT_DOUBLE_EQ(ValueOf("x^(-1)", 4), 0.25);
    EXPECT_FALSE(Accepts("x^-1"));
    EXPECT_FALSE(Accepts("x*-2"));
    EXPECT_FALSE(Accepts("x*)"));
}

TEST(Parser, LeadingMinusIsAProductWithMinusOne)
{
    Tree t = ParseText("-x");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->op, OpMultiply);
    EXPECT_TRUE(IsConstValue(t->left, -1));
    EXPECT_FALSE(ContainsOp(t.get(), OpNegate));
}

TEST(Parser, Factorials)
{
    EXPECT_DOUBLE_EQ(ValueOf("3!"), 6);
    EXPECT_DOUBLE_EQ(ValueOf("(2+3)!"), 120);
    VariableTable.param[ParamIndexOfLetter('n')] = 4;
    EXPECT_DOUBLE_EQ(ValueOf("n!"), 24);
    EXPECT_FALSE(Accepts("(x)!"));
    EXPECT_FALSE(Accepts("2.5!"));
    EXPECT_FALSE(Accepts("x!"));
}

TEST(Parser, LogarithmsAndFunctions)
{
    EXPECT_NEAR(ValueOf("log2(8)"), 3, 1e-15);
    EXPECT_NEAR(ValueOf("log10(1000)"), 3, 1e-15);
    EXPECT_NEAR(ValueOf("log(x)", std::exp(2.0L)), 2, 1e-15);
    EXPECT_NEAR(ValueOf("logx(y)", 2, 32), 5, 1e-15);
    EXPECT_NEAR(ValueOf("sqrt(abs(x))+cosh(0)", -4), 3, 1e-15);
    EXPECT_FALSE(Accepts("sin(x"));
    EXPECT_FALSE(Accepts("sin()"));
}

TEST(Parser, RejectsMalformedTexts)
{
    for (const char *bad : {"x+", "(x", "x)", "*x", "x y", "1..2", ".", "x,1", "A", "2A", "F7(x)", "F1x", "Q", "Q7",
                            "Sum(i=1,3],i)", "Sum(m=[1,3],m)", "Sum(i=[,3],i)", "Sum(i=[1,],i)", "Sum(i=[1,3]i)",
                            "x+!", "P!", "3x+2)"}) {
        EXPECT_FALSE(Accepts(bad)) << bad;
    }
    ParseOK = true;
    EXPECT_EQ(ParseFormula("", ParseBuild), nullptr);
    EXPECT_TRUE(ParseOK); // an empty text is no error
}

TEST(Parser, DerivativeMarker)
{
    EXPECT_NEAR(ValueOf("(d/dx)(x^3)", 2), 12, 1e-15);
    Tree t = ParseText("D(x^3)+1"); // D reaches to the end of the text
    ASSERT_TRUE(t);
    EvalValid = true;
    EXPECT_NEAR(Evaluate(t.get(), 2, 0), 12, 1e-15);
}

TEST(Parser, DefinedFunctionsAndConstants)
{
    TestDefinitions defs;
    defs.f[1] = "x^2";
    defs.f[2] = "F1(x)+1";
    defs.q[1] = "2" + kPi;
    EXPECT_DOUBLE_EQ(ValueOf("F1(2x)", 3), 36);
    EXPECT_DOUBLE_EQ(ValueOf("F2(x)", 3), 10);
    EXPECT_NEAR(ValueOf("Q1x", 1), 2 * kPiValue, 1e-15);
    EXPECT_FALSE(Accepts("F3(x)")); // not defined
    EXPECT_FALSE(Accepts("Q2"));
}

TEST(Parser, DefinitionCyclesFailInsteadOfRecursing)
{
    TestDefinitions defs;
    defs.f[1] = "F1(x)+1";
    defs.f[2] = "F3(x)";
    defs.f[3] = "F2(x)*2";
    defs.q[1] = "Q2+1";
    defs.q[2] = "Q1";
    EXPECT_FALSE(Accepts("F1(x)"));
    EXPECT_FALSE(Accepts("F2(x)"));
    EXPECT_FALSE(Accepts("Q1"));
    // A definition may be used twice side by side: that is no cycle.
    defs.f[4] = "x+1";
    EXPECT_DOUBLE_EQ(ValueOf("F4(F4(x))", 1), 3);
}

TEST(Parser, FiniteSums)
{
    Tree t = ParseText("Sum(i=[1,3],i^2)");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->op, OpSum);
    EXPECT_EQ(t->left->op, OpRangeI);
    EXPECT_DOUBLE_EQ(ValueOf("Sum(i=[1,3],i^2)"), 14);
    EXPECT_DOUBLE_EQ(ValueOf("Sum(i=[3,1],i^2)"), 0);
    EXPECT_DOUBLE_EQ(ValueOf("Sum(i=[1,4],x^i)", 2), 30);
    // Each index letter runs over its own range.
    EXPECT_DOUBLE_EQ(ValueOf("Sum(k=[1,3],k)"), 6);
}

TEST(Parser, CheckModeBuildsNothing)
{
    TestDefinitions defs;
    defs.f[1] = "x^2+1";
    std::size_t before = LiveNodeCount();
    for (const char *text : {"2x+sin(x)", "F1(x)", "Sum(i=[1,5],i)", "(d/dx)(x^3)", "(x+1"}) {
        ParseOK = true;
        EXPECT_EQ(ParseFormula(text, ParseCheck), nullptr);
    }
    EXPECT_EQ(LiveNodeCount(), before);
}

TEST(Parser, ErrorsLeaveNoNodesBehind)
{
    TestDefinitions defs;
    defs.f[1] = "F1(x)";
    std::size_t before = LiveNodeCount();
    for (const char *bad : {"2x+sin(x)+(", "x^2+3x)", "1/(x-x+2-2)+F1(x)", "x+y+Q3", "Sum(i=[1,3],i)+2.5!"}) {
        ParseOK = true;
        EXPECT_EQ(ParseFormula(bad, ParseBuild), nullptr) << bad;
        EXPECT_FALSE(ParseOK) << bad;
    }
    EXPECT_EQ(LiveNodeCount(), before);
}

TEST(Parser, HostileTextsFinishWithARejection)
{
    // Deep nesting, very long texts and exploding definitions are refused.
    EXPECT_FALSE(Accepts(std::string(20000, '(') + "x" + std::string(20000, ')')));
    EXPECT_FALSE(Accepts(std::string(5000, '(') + "x" + std::string(5000, ')')));
    std::string longSum = "x";
    for (int k = 0; k < 6000; ++k)
        longSum += "+x";
    EXPECT_FALSE(Accepts(longSum));
    std::string powers = "x";
    for (int k = 0; k < 4000; ++k)
        powers += "^1";
    EXPECT_FALSE(Accepts(powers + powers)); // too long a text
    TestDefinitions defs;
    defs.f[1] = "x+x+x+x";
    std::string nested = "x";
    for (int k = 0; k < 40; ++k)
        nested = "F1(" + nested + ")";
    std::size_t before = LiveNodeCount();
    EXPECT_FALSE(Accepts(nested)); // 4^40 nodes
    EXPECT_EQ(LiveNodeCount(), before);
    // A modest nesting still works.
    EXPECT_TRUE(Accepts(std::string(200, '(') + "x" + std::string(200, ')')));
}
} // namespace
