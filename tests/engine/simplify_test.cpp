#include "engine_test_util.h"

namespace gq
{

namespace
{
// Simplifies a tree built for the test and writes the result; engineState().parseOK tells of failure.
std::string simplified(ExprNode *n)
{
    engineState().parseOK = true;
    simplify(n, ParseBuild);
    EXPECT_TRUE(linksAreSound(n));
    return print(n);
}

bool hasNonFiniteConstant(const ExprNode *n)
{
    return n && ((n->op == OpConst && !std::isfinite(n->value)) || hasNonFiniteConstant(n->left) ||
                 hasNonFiniteConstant(n->right));
}

std::string canonical(ExprNode *n)
{
    canonicaliseTree(n);
    EXPECT_TRUE(linksAreSound(n));
    return print(n);
}

// The text of a parsed formula, folded as the parser folds it.
const auto parsed = [](const std::string &formula) { return treeToText(parseText(formula).get()); };
const auto frac = [](long double p, long double q) { return divide(num(p), num(q)); };

TEST(Simplify, ExactRationalArithmeticWithinThirtyTwoBits)
{
    // Fractions reduce; -1/3 keeps the sign Euclid leaves; a zero numerator becomes zero.
    // Folds stay within 32 bits: 3000000000*3 keeps its shape, and so does -2^31 / -1.
    // clang-format off
    expectTexts(parsed, {
        {"1/3+1/6", "1/2"}, {"2/4", "1/2"}, {"6/3", "2"}, {"2*(1/4)", "1/2"}, {"(1/2)/(1/4)", "2"},
        {"3/(1/2)", "6"}, {"(1/2)/3", "1/6"}, {"2/3-1", "1/(-3)"}, {"1-1/4", "3/4"}, {"7-9", "-2"},
        {"1/2-1/2", "0"}, {"3000000000*3", "3000000000*3"}, {"2147483646+1", "2147483647"}});
    expectTrees(simplified, {
        {frac(2, -4), "1/(-2)"}, {add(let('x'), sub(frac(1, 3), frac(2, 6))), "x"},
        {frac(-2147483648.0L, -1), "-2147483648/(-1)"},
        // A negated fraction is a fraction, so the power above folds as its printed text would.
        {power(let('x'), mul(num(999), sub(num(0), frac(2, 7)))), "x^(-1998/7)"}});
    // Values beyond 32 bits are still right.
    expectValues({
        {"2/(-4)", -0.5L}, {"3000000000*3", 9000000000.0L}, {"65536*65536", 4294967296.0L},
        {"2147483647+1", 2147483648.0L}, {"-2147483647-2", -2147483649.0L},
        {"1/65536/65536", 1 / 4294967296.0L}, {"1/100000+1/100001", 1.0L / 100000 + 1.0L / 100001}});
    // Zero terms and factors disappear; non-integer constants are left alone.
    expectTrees(simplified, {
        {mul(num(0), un(OpSin, let('x'))), "0"}, {divide(num(0), let('x')), "0"}, {sub(let('x'), num(0)), "x"},
        {add(num(0), let('x')), "x"}, {sub(num(0), let('x')), "-x"}, {mul(num(0.5L), num(2)), "0.5*2"}});
    // clang-format on
}

TEST(Simplify, DivisionByConstantZeroFailsTheParse)
{
    simplified(divide(num(4), sub(num(2), num(2))));
    EXPECT_FALSE(engineState().parseOK);
    // Also when the denominator folds to zero through fractions.
    for (const char *bad : {"4/(2-2)", "x/(2-2)", "1/0", "1/(1/2-1/2)"})
        EXPECT_FALSE(accepts(bad)) << bad;
    EXPECT_TRUE(accepts("1/x"));
}

TEST(Simplify, CheckModeAndReduceFractionLeaveOtherNodesAlone)
{
    Tree t(add(num(1), num(2)));
    apply(t, [](ExprNode *&n) { simplify(n, ParseCheck); });
    EXPECT_EQ(t->op, OpAdd);
    const auto reduced = [](ExprNode *n) {
        Tree f(n);
        apply(f, [](ExprNode *&r) { reduceFraction(r, ParseBuild); });
        return treeToText(f.get());
    };
    expectTrees(reduced, {{divide(let('x'), num(4)), "x/4"}, {frac(12, 18), "2/3"}});
}

TEST(Canonical, ProductsSumsAndPowers)
{
    expectTrees(canonical, {{mul(let('x'), num(3)), "3*x"},
                            {mul(num(2), mul(num(3), let('x'))), "6*x"},
                            {mul(num(0), let('x')), "0"}});
    // Products are multiplied out without subtractions; a negative power gives a fraction, not rounded away.
    // clang-format off
    expectTexts(canonicalText, {{"x*2*y*3", "6*x*y"}, {"2*(3/x)", "6/x"}, {"(x+1)(x-1)", "x*x-x+x-1"},
                                {"a-(b+c)", "a-b-c"}, {"(x^2)^3", "x^6"}, {"2^3", "8"}, {"2^0.5", "2^0.5"},
                                {"10^2", "100"}, {"2^(-1)", "0.5"}});
    // clang-format on
    // Subtractions become sums associated to the left: (a + -b) + -c.
    Tree t = canonicalTree("a-(b+c)");
    EXPECT_FALSE(containsOp(t.get(), OpSubtract) ||
                 containsOp(canonicalTree("(x+1)(x-1)").get(), OpSubtract));
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
        EXPECT_TRUE(sameValues(f, canonicalText(f))) << f;
    }
    // The root of a subtree keeps its parent.
    Tree holder(un(OpSin, mul(let('x'), num(3))));
    ExprNode *result = canonicaliseTree(holder->right);
    EXPECT_EQ(result, holder->right);
    EXPECT_EQ(result->parent, holder.get());
    EXPECT_EQ(treeToText(holder.get()), "sin(3*x)");
}

TEST(Canonical, FoldsNeverIntoInfinityOrNaN)
{
    for (const char *f : {"10^5000", "10^4000*10^4000", "10^4000*(10^4000*x)", "(10^3000)^2"}) {
        Tree t = canonicalTree(f);
        EXPECT_FALSE(hasNonFiniteConstant(t.get())) << f;
        engineState().evalValid = true;
        EXPECT_FALSE(std::isnan(Program(t.get()).evaluate(1, 0))) << f;
    }
}

TEST(Canonical, ProductsOfManySumsStaySmallAndFast)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "(x+1)";
    std::size_t before = liveNodeCount();
    Tree t = canonicalTree(text);
    EXPECT_LT(treeSize(t.get()), 20000u);
    EXPECT_TRUE(linksAreSound(t.get()));
    engineState().evalValid = true;
    EXPECT_NEAR(Program(t.get()).evaluate(0.1L, 0) / std::pow(1.1L, 30), 1, 1e-12);
    t.reset();
    EXPECT_EQ(liveNodeCount(), before);
}

TEST(Canonical, NothingIsMultipliedOutOnceTheNodeBudgetIsSpent)
{
    Tree t(mul(add(let('x'), num(1)), add(let('x'), num(2))));
    {
        Ballast full;
        apply(t, canonicaliseTree);
        EXPECT_EQ(treeToText(t.get()), "(x+1)*(x+2)");
    }
    apply(t, canonicaliseTree);
    EXPECT_EQ(treeToText(t.get()), "x*x+2*x+x+2");
}
} // namespace

} // namespace gq
