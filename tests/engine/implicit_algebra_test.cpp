#include "engine_test_util.h"

namespace gq
{

namespace
{
std::string stripped(const std::string &formula)
{
    Tree t = parseText(formula);
    apply(t, stripRoot);
    EXPECT_TRUE(linksAreSound(t.get()));
    return treeToText(t.get());
}

int degreeOf(const std::string &formula, int selector)
{
    Tree t = parseText(formula);
    return polynomialDegree(t.get(), selector);
}

// Value of the root tree at x (y is not used by a root in y).
long double rootAt(const std::string &formula, int32_t v, int sign, long double at, bool *valid = nullptr)
{
    Tree t = parseText(formula);
    Tree root(quadraticRoot(t.get(), v, sign));
    EXPECT_TRUE(linksAreSound(root.get()));
    engineState().evalValid = true;
    Program program(root.get());
    long double r = v == OpY ? program.evaluate(at, 0) : program.evaluate(0, at);
    if (valid)
        *valid = engineState().evalValid;
    return r;
}

TEST(StripRoot, RemovesLayersThatKeepTheZeros)
{
    // clang-format off
    expectTexts(stripped, {
        {"(x^2+y^2-1)^2", "x^2+y^2-1"}, {"sqrt(abs(x-y))", "x-y"}, {"sgn((x*y)^3)", "x*y"},
        {"(x+y)^0.5", "(x+y)^0.5"}, {"(x+y)^(-2)", "(x+y)^(-2)"}, {"sin(x)^2", "sin(x)"}, {"x-y", "x-y"}});
    // clang-format on
    ExprNode *empty = nullptr;
    stripRoot(empty);
    EXPECT_EQ(empty, nullptr);
}

TEST(PolynomialDegree, CountsTheSelectedVariables)
{
    struct Case {
        const char *text;
        int selector, degree;
    };
    // x^2y is x^(2y).
    // clang-format off
    const Case cases[] = {
        {"x^2*y+y", DegreeXY, 3}, {"x^2*y+y", DegreeX, 2}, {"x^2*y+y", DegreeY, 1}, {"x/y", DegreeXY, -1},
        {"x^2y+y", DegreeXY, -1}, {"sin(x)+y", DegreeY, 1}, {"sin(x)+y", DegreeXY, -1}, {"2^x", DegreeX, -1},
        {"x/2+a*y^2", DegreeXY, 2}, {"-(x^3)", DegreeX, 3}, {"x^0.5", DegreeX, -1}, {"x^a", DegreeX, -1},
        {"a^b+t*z", DegreeXY, 0}};
    // clang-format on
    for (auto [text, selector, degree] : cases)
        EXPECT_EQ(degreeOf(text, selector), degree) << text << " selector " << selector;
    EXPECT_EQ(polynomialDegree(nullptr, DegreeXY), 0);
    // Huge exponents do not overflow into a small or negative degree.
    for (const char *huge : {"x^1000000000*x^1000000000", "(x^100000)^100000", "x^99999999999999999999"})
        EXPECT_GT(degreeOf(huge, DegreeX), 2) << huge;
}

TEST(QuadraticRoot, RootsInEitherVariableReleaseEveryIntermediate)
{
    std::size_t before = liveNodeCount();
    // The unit circle; 2y^2 + 3y - 2 = 0 has the roots 1/2 and -2; x^2 - (y+1)x + y = 0 has 1 and y.
    EXPECT_NEAR(rootAt("x^2+y^2-1", OpY, 1, 0.6L), 0.8L, 1e-15);
    EXPECT_NEAR(rootAt("x^2+y^2-1", OpY, 2, 0.6L), -0.8L, 1e-15);
    EXPECT_NEAR(rootAt("2y^2+3y-2", OpY, 1, 7), 0.5L, 1e-15);
    EXPECT_NEAR(rootAt("2y^2+3y-2", OpY, 2, 7), -2, 1e-15);
    EXPECT_NEAR(rootAt("x^2-(y+1)x+y", OpX, 1, 3), 3, 1e-15);
    EXPECT_NEAR(rootAt("x^2-(y+1)x+y", OpX, 2, 3), 1, 1e-15);
    bool valid = true;
    rootAt("x^2+y^2-1", OpY, 1, 1.5L, &valid); // no point of the circle there
    EXPECT_FALSE(valid);
    EXPECT_EQ(liveNodeCount(), before);
    EXPECT_EQ(quadraticRoot(nullptr, OpY, 1), nullptr);
    // The root text reads back.
    Tree t = parseText("x^2+x*y+y^2-3");
    Tree root(quadraticRoot(t.get(), OpY, 1));
    std::string text = treeToText(root.get());
    EXPECT_TRUE(accepts(text)) << text;
    long double y = valueOf(text, 1);
    EXPECT_NEAR(1 + y + y * y - 3, 0, 1e-15);
}
} // namespace

} // namespace gq
