#include "engine_test_util.h"

namespace gq
{

namespace
{
TEST(FormulaText, NormalisedBytesAndFunctionNames)
{
    // clang-format off
    expectTexts(normaliseFormulaText, {
        {"2" + kPi + "x", "2Px"}, {kTheta + "+1", "s+1"}, {"(d/dx)(x^3)", "D(x^3)"},
        {"\x83\xCF", "\x83\xCF"}});
    // clang-format on
    EXPECT_EQ(recogniseFunction("sin(x)", 0).kind, FunctionName::Function);
    EXPECT_EQ(recogniseFunction("log10(x)", 0).kind, FunctionName::BasedLog);
    EXPECT_EQ(recogniseFunction("log10(x)", 0).base, "10");
    // A name is recognised only when its parenthesis follows.
    EXPECT_EQ(recogniseFunction("sinx", 0).kind, FunctionName::Letter);
    EXPECT_EQ(recogniseFunction("asin(x)", 0).kind, FunctionName::Letter);
}

TEST(Parser, ImpliedProductsPrecedenceAndAssociativity)
{
    ScopedParameters parameters({{'a', 3}, {'s', 0}});
    // sinx is s*i*n*x with s = 0, 05 is 0*5, asin(x) is a*sin(x).
    // clang-format off
    expectValues({
        {"2x", 8, 4}, {"2(x+1)", 10, 4}, {"(x+1)(x-1)", 8, 3}, {"xsin(x)", std::sin(1.0L), 1},
        {"asin(x)", 3 * std::sin(1.0L), 1}, {"x2", 10, 5}, {"2Px", 2 * kPiValue, 1}, {"sinx", 0, 2},
        {"05", 0}});
    // clang-format on
    parameters.set({{'a', 2}, {'b', 3}, {'c', 2}});
    // a^b^c is (a^b)^c, x/2y is x/(2y), x^2y is x^(2y); the same rank associates to the left.
    // clang-format off
    expectValues({
        {"a^b^c", 64}, {"2x^2", 18, 3}, {"x/2y", 2, 8, 2}, {"x^2y", 16, 2, 2}, {"-x^2", -9, 3},
        {"x--1", 4, 3}, {"10-4-3", 3}, {"12/6/2", 1}, {"x^(-1)", 0.25, 4}});
    // clang-format on
    Tree sum = parseText("x+y-z"); // a+b-c is a+(b-c)
    EXPECT_TRUE(sum && sum->op == OpAdd && sum->right->op == OpSubtract);
    // A leading minus is a product with -1.
    Tree neg = parseText("-x");
    ASSERT_TRUE(neg && neg->op == OpMultiply);
    EXPECT_TRUE(isConstValue(neg->left, -1) && !containsOp(neg.get(), OpNegate));
}

TEST(Parser, FactorialsLogarithmsSumsAndDerivativeMarker)
{
    ScopedParameters parameters({{'n', 4}});
    // D reaches to the end of the text; each sum index letter runs over its own range.
    // clang-format off
    expectValues({
        {"3!", 6}, {"(2+3)!", 120}, {"n!", 24}, {"log2(8)", 3}, {"log10(1000)", 3},
        {"log(x)", 2, std::exp(2.0L)}, {"logx(y)", 5, 2, 32}, {"sqrt(abs(x))+cosh(0)", 3, -4},
        {"(d/dx)(x^3)", 12, 2}, {"D(x^3)+1", 12, 2}, {"Sum(i=[1,3],i^2)", 14}, {"Sum(i=[3,1],i^2)", 0},
        {"Sum(i=[1,4],x^i)", 30, 2}, {"Sum(k=[1,3],k)", 6}});
    // clang-format on
    Tree t = parseText("Sum(i=[1,3],i^2)");
    EXPECT_TRUE(t && t->op == OpSum && t->left->op == OpRangeI);
}

TEST(Parser, RejectsMalformedTexts)
{
    for (const char *bad :
         {"x+", "(x", "x)", "*x", "x y", "1..2", ".", "x,1", "A", "2A", "F7(x)", "F1x", "Q", "Q7",
          "Sum(i=1,3],i)", "Sum(m=[1,3],m)", "Sum(i=[,3],i)", "Sum(i=[1,],i)", "Sum(i=[1,3]i)", "x+!", "P!",
          "3x+2)", "x*)", "sin(x", "sin()",
          // No number or P right after a closing parenthesis, no sign right after an operator.
          "(x+1)2", "(x+1)P", "x^-1", "x*-2",
          // Factorials only of whole numbers and parameters.
          "(x)!", "2.5!", "x!"}) {
        EXPECT_FALSE(accepts(bad)) << bad;
    }
    engineState().parseOK = true;
    EXPECT_EQ(parseFormula("", ParseBuild), nullptr);
    EXPECT_TRUE(engineState().parseOK); // an empty text is no error
}

TEST(Parser, DefinedFunctionsAndConstants)
{
    TestDefinitions defs;
    defs.f = {{1, "x^2"}, {2, "F1(x)+1"}, {4, "x+1"}};
    defs.q[1] = "2" + kPi;
    // A definition used twice side by side is no cycle.
    expectValues({{"F1(2x)", 36, 3}, {"F2(x)", 10, 3}, {"Q1x", 2 * kPiValue, 1}, {"F4(F4(x))", 3, 1}});
    EXPECT_FALSE(accepts("F3(x)")); // not defined
    // Cycles fail instead of recursing.
    defs.f.insert({{5, "F5(x)+1"}, {6, "F3(x)"}, {3, "F6(x)*2"}});
    defs.q.insert({{2, "Q3+1"}, {3, "Q2"}});
    for (const char *text : {"F1(x)+F5(x)", "F6(x)", "F3(x)", "Q2", "Q1+Q3", "Q4" /* not defined */})
        EXPECT_FALSE(accepts(text)) << text;
}

TEST(Parser, CheckModeBuildsNothing)
{
    TestDefinitions defs;
    defs.f[1] = "x^2+1";
    std::size_t before = liveNodeCount();
    EXPECT_EQ(makeConstNode(2, ParseCheck), nullptr);
    EXPECT_EQ(makeBinaryNode(OpAdd, nullptr, nullptr, ParseCheck), nullptr);
    for (const char *text : {"2x+sin(x)", "F1(x)", "Sum(i=[1,5],i)", "(d/dx)(x^3)", "(x+1"}) {
        engineState().parseOK = true;
        EXPECT_EQ(parseFormula(text, ParseCheck), nullptr);
    }
    EXPECT_EQ(liveNodeCount(), before);
}

TEST(Parser, ErrorsLeaveNoNodesBehind)
{
    TestDefinitions defs;
    defs.f[1] = "F1(x)";
    std::size_t before = liveNodeCount();
    for (const char *bad : {"2x+sin(x)+(", "x^2+3x)", "1/(x-x+2-2)+F1(x)", "x+y+Q3", "Sum(i=[1,3],i)+2.5!"}) {
        engineState().parseOK = true;
        EXPECT_EQ(parseFormula(bad, ParseBuild), nullptr) << bad;
        EXPECT_FALSE(engineState().parseOK) << bad;
    }
    EXPECT_EQ(liveNodeCount(), before);
}

TEST(Parser, HostileTextsFinishWithARejection)
{
    // Deep nesting, very long texts and exploding definitions are refused.
    auto nest = [](int depth) { return std::string(depth, '(') + "x" + std::string(depth, ')'); };
    EXPECT_FALSE(accepts(nest(20000)));
    EXPECT_FALSE(accepts(nest(5000)));
    EXPECT_TRUE(accepts(nest(200))); // a modest nesting still works
    std::string longSum = "x", powers = "x", nested = "x";
    for (int k = 0; k < 6000; ++k)
        longSum += "+x";
    EXPECT_FALSE(accepts(longSum));
    for (int k = 0; k < 8000; ++k)
        powers += "^1";
    EXPECT_FALSE(accepts(powers)); // too long a text
    TestDefinitions defs;
    defs.f[1] = "x+x+x+x";
    for (int k = 0; k < 40; ++k)
        nested = "F1(" + nested + ")";
    std::size_t before = liveNodeCount();
    EXPECT_FALSE(accepts(nested)); // 4^40 nodes
    EXPECT_EQ(liveNodeCount(), before);
}
} // namespace

} // namespace gq
