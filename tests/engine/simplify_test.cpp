#include "engine_test_util.h"

namespace
{
// Simplifies a tree built for the test and writes the result; ParseOK tells of failure.
std::string Simplified(ExprNode *n)
{
    ParseOK = true;
    Simplify(n, ParseBuild);
    EXPECT_TRUE(LinksAreSound(n));
    return Print(n);
}

bool HasNonFiniteConstant(const ExprNode *n)
{
    return n && ((n->op == OpConst && !std::isfinite(n->value)) || HasNonFiniteConstant(n->left) ||
                 HasNonFiniteConstant(n->right));
}

std::string Canonical(ExprNode *n)
{
    CanonicaliseTree(n);
    EXPECT_TRUE(LinksAreSound(n));
    return Print(n);
}

// The text of a parsed formula, folded as the parser folds it.
const auto Parsed = [](const std::string &formula) { return TreeToText(ParseText(formula).get()); };
const auto Frac = [](long double p, long double q) { return Div(Num(p), Num(q)); };

TEST(Simplify, ExactRationalArithmeticWithinThirtyTwoBits)
{
    // Fractions reduce; -1/3 keeps the sign Euclid leaves; a zero numerator becomes zero.
    // Folds stay within 32 bits: 3000000000*3 keeps its shape, and so does -2^31 / -1.
    // clang-format off
    ExpectTexts(Parsed, {
        {"1/3+1/6", "1/2"}, {"2/4", "1/2"}, {"6/3", "2"}, {"2*(1/4)", "1/2"}, {"(1/2)/(1/4)", "2"},
        {"3/(1/2)", "6"}, {"(1/2)/3", "1/6"}, {"2/3-1", "1/(-3)"}, {"1-1/4", "3/4"}, {"7-9", "-2"},
        {"1/2-1/2", "0"}, {"3000000000*3", "3000000000*3"}, {"2147483646+1", "2147483647"}});
    ExpectTrees(Simplified, {
        {Frac(2, -4), "1/(-2)"}, {Add(Let('x'), Sub(Frac(1, 3), Frac(2, 6))), "x"},
        {Frac(-2147483648.0L, -1), "-2147483648/(-1)"}});
    // Values beyond 32 bits are still right.
    ExpectValues({
        {"2/(-4)", -0.5L}, {"3000000000*3", 9000000000.0L}, {"65536*65536", 4294967296.0L},
        {"2147483647+1", 2147483648.0L}, {"-2147483647-2", -2147483649.0L},
        {"1/65536/65536", 1 / 4294967296.0L}, {"1/100000+1/100001", 1.0L / 100000 + 1.0L / 100001}});
    // Zero terms and factors disappear; non-integer constants are left alone.
    ExpectTrees(Simplified, {
        {Mul(Num(0), Un(OpSin, Let('x'))), "0"}, {Div(Num(0), Let('x')), "0"}, {Sub(Let('x'), Num(0)), "x"},
        {Add(Num(0), Let('x')), "x"}, {Sub(Num(0), Let('x')), "-x"}, {Mul(Num(0.5L), Num(2)), "0.5*2"}});
    // clang-format on
}

TEST(Simplify, DivisionByConstantZeroFailsTheParse)
{
    Simplified(Div(Num(4), Sub(Num(2), Num(2))));
    EXPECT_FALSE(ParseOK);
    // Also when the denominator folds to zero through fractions.
    for (const char *bad : {"4/(2-2)", "x/(2-2)", "1/0", "1/(1/2-1/2)"})
        EXPECT_FALSE(Accepts(bad)) << bad;
    EXPECT_TRUE(Accepts("1/x"));
}

TEST(Simplify, CheckModeAndReduceFractionLeaveOtherNodesAlone)
{
    Tree t(Add(Num(1), Num(2)));
    Apply(t, [](ExprNode *&n) { Simplify(n, ParseCheck); });
    EXPECT_EQ(t->op, OpAdd);
    const auto reduced = [](ExprNode *n) {
        Tree f(n);
        Apply(f, [](ExprNode *&r) { ReduceFraction(r, ParseBuild); });
        return TreeToText(f.get());
    };
    ExpectTrees(reduced, {{Div(Let('x'), Num(4)), "x/4"}, {Frac(12, 18), "2/3"}});
}

TEST(Canonical, ProductsSumsAndPowers)
{
    ExpectTrees(Canonical, {{Mul(Let('x'), Num(3)), "3*x"},
                            {Mul(Num(2), Mul(Num(3), Let('x'))), "6*x"},
                            {Mul(Num(0), Let('x')), "0"}});
    // Products are multiplied out without subtractions; a negative power gives a fraction, not rounded away.
    // clang-format off
    ExpectTexts(CanonicalText, {{"x*2*y*3", "6*x*y"}, {"2*(3/x)", "6/x"}, {"(x+1)(x-1)", "x*x-x+x-1"},
                                {"a-(b+c)", "a-b-c"}, {"(x^2)^3", "x^6"}, {"2^3", "8"}, {"2^0.5", "2^0.5"},
                                {"10^2", "100"}, {"2^(-1)", "0.5"}});
    // clang-format on
    // Subtractions become sums associated to the left: (a + -b) + -c.
    Tree t = CanonicalTree("a-(b+c)");
    EXPECT_FALSE(ContainsOp(t.get(), OpSubtract) ||
                 ContainsOp(CanonicalTree("(x+1)(x-1)").get(), OpSubtract));
    ASSERT_EQ(t->op, OpAdd);
    EXPECT_NE(t->right->op, OpAdd);
}

TEST(Canonical, KeepsValues)
{
    // Only integer powers of integer powers merge: (x^2)^0.5 is |x|, not x.
    ScopedParameters parameters;
    for (const char *f : {"(x+1)(x-1)", "(x+y)(a-b)(x-2)", "(x^2)^0.5", "(x^0.5)^2", "(x^(1/3))^3",
                          "(x-1)^2(x+2)", "x*(y-2)*(a+b)", "-(x-y)/(2-x)", "3x-2(x-y)*4", "(2x)^2*(3y)^3",
                          "x-(1-(x-(2-y)))", "(x+y)^2-(x-y)^2", "2*(x*(3*(y*4)))", "sin(x*2)*x*2"}) {
        EXPECT_TRUE(SameValues(f, CanonicalText(f))) << f;
    }
    // The root of a subtree keeps its parent.
    Tree holder(Un(OpSin, Mul(Let('x'), Num(3))));
    ExprNode *result = CanonicaliseTree(holder->right);
    EXPECT_EQ(result, holder->right);
    EXPECT_EQ(result->parent, holder.get());
    EXPECT_EQ(TreeToText(holder.get()), "sin(3*x)");
}

TEST(Canonical, FoldsNeverIntoInfinityOrNaN)
{
    for (const char *f : {"10^5000", "10^4000*10^4000", "10^4000*(10^4000*x)", "(10^3000)^2"}) {
        Tree t = CanonicalTree(f);
        EXPECT_FALSE(HasNonFiniteConstant(t.get())) << f;
        EvalValid = true;
        EXPECT_FALSE(std::isnan(Evaluate(t.get(), 1, 0))) << f;
    }
}

TEST(Canonical, ProductsOfManySumsStaySmallAndFast)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "(x+1)";
    std::size_t before = LiveNodeCount();
    Tree t = CanonicalTree(text);
    EXPECT_LT(TreeSize(t.get()), 20000u);
    EXPECT_TRUE(LinksAreSound(t.get()));
    EvalValid = true;
    EXPECT_NEAR(Evaluate(t.get(), 0.1L, 0) / std::pow(1.1L, 30), 1, 1e-12);
    t.reset();
    EXPECT_EQ(LiveNodeCount(), before);
}

TEST(Canonical, NothingIsMultipliedOutOnceTheNodeBudgetIsSpent)
{
    Tree t(Mul(Add(Let('x'), Num(1)), Add(Let('x'), Num(2))));
    {
        Ballast full;
        Apply(t, CanonicaliseTree);
        EXPECT_EQ(TreeToText(t.get()), "(x+1)*(x+2)");
    }
    Apply(t, CanonicaliseTree);
    EXPECT_EQ(TreeToText(t.get()), "x*x+2*x+x+2");
}
} // namespace
