#include "rewrite_test_util.h"

#include <gtest/gtest.h>

namespace
{

std::string Stripped(const std::string &formula)
{
    Tree t = ParseText(formula);
    ExprNode *raw = t.release();
    StripRoot(raw);
    t.reset(raw);
    EXPECT_TRUE(LinksAreSound(t.get()));
    return TreeToText(t.get());
}

int Degree(const std::string &formula, int selector)
{
    Tree t = ParseText(formula);
    return PolynomialDegree(t.get(), selector);
}

// Value of the root tree at x (y is not used by a root in y).
long double RootAt(const std::string &formula, int32_t v, int sign, long double at, bool *valid = nullptr)
{
    Tree t = ParseText(formula);
    Tree root(QuadraticRoot(t.get(), v, sign));
    EXPECT_TRUE(LinksAreSound(root.get()));
    EvalValid = true;
    long double r = v == OpY ? Evaluate(root.get(), at, 0) : Evaluate(root.get(), 0, at);
    if (valid)
        *valid = EvalValid;
    return r;
}

TEST(StripRoot, RemovesLayersThatKeepTheZeros)
{
    EXPECT_EQ(Stripped("(x^2+y^2-1)^2"), "x^2+y^2-1");
    EXPECT_EQ(Stripped("sqrt(abs(x-y))"), "x-y");
    EXPECT_EQ(Stripped("sgn((x*y)^3)"), "x*y");
    EXPECT_EQ(Stripped("(x+y)^0.5"), "(x+y)^0.5");
    EXPECT_EQ(Stripped("(x+y)^(-2)"), "(x+y)^(-2)");
    EXPECT_EQ(Stripped("sin(x)^2"), "sin(x)");
    EXPECT_EQ(Stripped("x-y"), "x-y");
    ExprNode *empty = nullptr;
    StripRoot(empty);
    EXPECT_EQ(empty, nullptr);
}

TEST(PolynomialDegree, CountsTheSelectedVariables)
{
    EXPECT_EQ(Degree("x^2*y+y", DegreeXY), 3);
    EXPECT_EQ(Degree("x^2y+y", DegreeXY), -1); // x^(2y)
    EXPECT_EQ(Degree("x^2*y+y", DegreeX), 2);
    EXPECT_EQ(Degree("x^2*y+y", DegreeY), 1);
    EXPECT_EQ(Degree("sin(x)+y", DegreeY), 1);
    EXPECT_EQ(Degree("sin(x)+y", DegreeXY), -1);
    EXPECT_EQ(Degree("x/y", DegreeXY), -1);
    EXPECT_EQ(Degree("x/2+a*y^2", DegreeXY), 2);
    EXPECT_EQ(Degree("-(x^3)", DegreeX), 3);
    EXPECT_EQ(Degree("2^x", DegreeX), -1);
    EXPECT_EQ(Degree("x^a", DegreeX), -1);
    EXPECT_EQ(Degree("x^0.5", DegreeX), -1);
    EXPECT_EQ(Degree("a^b+t*z", DegreeXY), 0);
    EXPECT_EQ(PolynomialDegree(nullptr, DegreeXY), 0);
}

TEST(PolynomialDegree, HugeExponentsDoNotOverflow)
{
    EXPECT_GT(Degree("x^1000000000*x^1000000000", DegreeX), 2);
    EXPECT_GT(Degree("(x^100000)^100000", DegreeX), 2);
    EXPECT_GT(Degree("x^99999999999999999999", DegreeX), 2);
}

TEST(QuadraticRoot, UnitCircle)
{
    EXPECT_NEAR(RootAt("x^2+y^2-1", OpY, 1, 0.6L), 0.8L, 1e-15);
    EXPECT_NEAR(RootAt("x^2+y^2-1", OpY, 2, 0.6L), -0.8L, 1e-15);
    bool valid = true;
    RootAt("x^2+y^2-1", OpY, 1, 1.5L, &valid); // no point of the circle there
    EXPECT_FALSE(valid);
}

TEST(QuadraticRoot, GeneralCoefficientsInEitherVariable)
{
    // 2y^2 + 3y - 2 = 0 has the roots 1/2 and -2.
    EXPECT_NEAR(RootAt("2y^2+3y-2", OpY, 1, 7), 0.5L, 1e-15);
    EXPECT_NEAR(RootAt("2y^2+3y-2", OpY, 2, 7), -2, 1e-15);
    // x^2 - (y+1)x + y = 0 has the roots 1 and y.
    EXPECT_NEAR(RootAt("x^2-(y+1)x+y", OpX, 1, 3), 3, 1e-15);
    EXPECT_NEAR(RootAt("x^2-(y+1)x+y", OpX, 2, 3), 1, 1e-15);
    // The root text reads back.
    Tree t = ParseText("x^2+x*y+y^2-3");
    Tree root(QuadraticRoot(t.get(), OpY, 1));
    std::string text = TreeToText(root.get());
    EXPECT_TRUE(Accepts(text)) << text;
    long double y = ValueOf(text, 1);
    EXPECT_NEAR(1 + y + y * y - 3, 0, 1e-15);
}

TEST(QuadraticRoot, ReleasesEveryIntermediate)
{
    std::size_t before = LiveNodeCount();
    {
        Tree t = ParseText("3x^2+2x*y-y^2+4x-1");
        Tree a(QuadraticRoot(t.get(), OpX, 1));
        Tree b(QuadraticRoot(t.get(), OpY, 2));
        EXPECT_NE(a, nullptr);
        EXPECT_NE(b, nullptr);
    }
    EXPECT_EQ(LiveNodeCount(), before);
    EXPECT_EQ(QuadraticRoot(nullptr, OpY, 1), nullptr);
}

} // namespace
