#include "engine/derivative_presentation.h"
#include "engine_test_util.h"

#include <cstdint>
#include <vector>

namespace gq
{

namespace
{
// Both undefined at x, or both defined and within a relative 1e-12, and
// within what rounding makes of the canonical text's terms (scale: the sum of
// the magnitudes of its terms' values; 0 for the texts of the table).
::testing::AssertionResult agreeAt(const std::string &shown, const std::string &canonical, long double x,
                                   long double scale = 0)
{
    const Tree a = parseCurveFormula(shown), b = parseCurveFormula(canonical);
    if (!a || !b)
        return ::testing::AssertionFailure() << "does not parse";
    EngineState &state = engineState();
    state.evalValid = true;
    const long double va = Program(a.get()).evaluate(x, 0);
    const bool da = state.evalValid;
    state.evalValid = true;
    const long double vb = Program(b.get()).evaluate(x, 0);
    const bool db = state.evalValid;
    if (da != db)
        return ::testing::AssertionFailure() << (da ? "defined" : "undefined") << " at x = "
                                             << static_cast<double>(x) << " where " << canonical << " is not";
    if (da && !(std::fabs(va - vb) <= 1e-12L * std::max(std::fabs(va), std::fabs(vb)) + 1e-17L * scale))
        return ::testing::AssertionFailure() << static_cast<double>(va) << " against " << static_cast<double>(vb)
                                             << " at x = " << static_cast<double>(x);
    return ::testing::AssertionSuccess();
}

struct Row {
    const char *function;
    std::string derivative; // "" where the function does not parse
    std::vector<long double> points;
};

// clang-format off
const Row kRows[] = {
    // What a teacher writes, where the canonical form multiplies out.
    {"(x+1)(x-1)", "2*x", {-2, 0, 1.5L}},
    {"(x^2+1)/(x^2-1)", "-4*x/(x^2-1)^2", {-1, 0, 1, 2.5L}},
    {"x^2/(x+1)", "(x^2+2*x)/(x+1)^2", {-1, 0, 2}},
    {"sqrt(x^2+9)", "x/sqrt(x^2+9)", {-4, 0, 4}},
    {"exp(-x^2/2)", "-x*exp(-x^2/2)", {-1, 0, 2}},
    {"x^2*log(x)", "2*x*log(x)+x", {-1, 0, 0.5L, 3}},
    {"cos(x)^3", "-3*sin(x)*cos(x)^2", {-2, 0, 1}},
    {"x/sqrt(x^2+1)", "1/((x^2+1)*sqrt(x^2+1))", {-3, 0, 2}},
    // Polynomials.
    {"x^3", "3*x^2", {-1, 2}},
    {"ax", "a", {0, 1}},
    {"x^2+3x", "2*x+3", {-1, 2}},
    {"a*x^2+b*x+c", "2*a*x+b", {-1, 2}},
    {"(x+1)(x+2)(x+3)", "3*x^2+12*x+11", {-2, 1}},
    {"(x+1)^2*(x-1)", "3*x^2+2*x-1", {-1, 1}},
    {"(2x+1)^3", "6*(2*x+1)^2", {-0.5L, 1}},
    {"x^3/3-x^2/2", "x^2-x", {0, 3}},
    {"0.3x^2", "0.6*x", {-1, 2}},
    {"3x-x^2", "3-2*x", {0, 4}},
    // Rational functions.
    {"1/x", "-1/x^2", {-1, 0, 2}},
    {"x+1/x", "1-1/x^2", {-1, 0, 2}},
    {"x/(x+1)+1/x", "1/(x+1)^2-1/x^2", {-1, 0, 2}},
    {"(x^2-1)/(x^2+1)", "4*x/(x^2+1)^2", {-1, 0, 2}},
    // Roots.
    {"1/sqrt(x)", "-1/(2*x*sqrt(x))", {-1, 0, 4}},
    {"sqrt(1-x^2)", "-x/sqrt(1-x^2)", {-2, -1, 0, 0.5L, 1}},
    {"x^(1/3)", "x^(-2/3)/3", {-8, 0, 8}},
    {"x^(2/3)", "2*x^(-1/3)/3", {-8, 0, 8}},
    {"x*sqrt(x)", "x/(2*sqrt(x))+sqrt(x)", {-1, 0, 4}},
    // Exponentials and logarithms.
    {"x*exp(x)", "x*exp(x)+exp(x)", {-1, 2}},
    {"2^x", "log(2)*2^x", {-1, 2}},
    {"x^2*exp(-x)", "2*x*exp(-x)-x^2*exp(-x)", {-1, 2}},
    {"log(x^2+1)", "2*x/(x^2+1)", {-1, 0, 2}},
    {"log(x)/x", "(1-log(x))/x^2", {-1, 0, 2}},
    {"x^x", "log(x)*x^x+x^x", {-1, 0, 1.5L}},
    // Trigonometric functions, their products, quotients and compositions.
    {"sin(2x+1)", "2*cos(2*x+1)", {-1, 2}},
    {"tan(x)", "sec(x)^2", {0, kPiValue / 2, 1}},
    {"sin(x)^2", "2*cos(x)*sin(x)", {-1, 2}},
    {"sin(x)*cos(x)", "cos(x)^2-sin(x)^2", {-1, 2}},
    {"sin(x)/x", "(x*cos(x)-sin(x))/x^2", {-1, 0, 2}},
    {"log(cos(x))", "-sin(x)/cos(x)", {0, 2, kPiValue / 2}},
    {"exp(sin(x))", "cos(x)*exp(sin(x))", {-1, 2}},
    {"arctn(x)", "1/(x^2+1)", {-1, 2}},
    // A cancellation is made only where the text stays undefined where the
    // canonical derivative is: at 0 for x^2/x, below 0 for sqrt(x)^2 and
    // x*log(x)/x.
    {"x^2/x", "x/x", {-1, 0, 2}},
    {"sqrt(x)^2", "sqrt(x)/sqrt(x)", {-1, 0, 2}},
    {"x*log(x)/x", "(log(x)-log(x)+1)/x", {-1, 0, 2}},
    // The function of each test document with a derivative item:
    // busy-document, derivative-hidden-where-function-undefined,
    // saved-rich-document (with its definitions), undrawable-items-of-every-kind
    // (which does not parse), and all-kinds among the documentation's.
    {"1/(x^2-1)", "-2*x/(x^2-1)^2", {-1, 0, 1, 3}},
    {"sqrt(x)", "1/(2*sqrt(x))", {-1, 0, 4}},
    {"F2(x)-Q1", "2*" + kPi + "*cos(x)*sin(x)+2*" + kPi + "*a*cos(x)", {-1, 2}},
    {"x+*2", "", {}},
    {"x^3-3x", "3*x^2-3", {-1, 2}},
};
// clang-format on

TEST(DerivativePresentation, TableOfFunctionsAndTheirDerivatives)
{
    ScopedParameters parameters;
    TestDefinitions definitions;
    definitions.f = {{1, "sin(x)+a"}, {2, "F1(x)^2*" + kPi}};
    definitions.q = {{1, "F2(1)+" + kTheta}};
    const std::size_t before = liveNodeCount();
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.function);
        engineState().parseOK = true;
        std::string canonicalText;
        const std::string shown = derivativeText(row.function, OpX, &canonicalText);
        EXPECT_EQ(shown, row.derivative);
        EXPECT_EQ(engineState().parseOK, !shown.empty());
        if (shown.empty())
            continue;
        EXPECT_LE(shown.size(), canonicalText.size()) << canonicalText;
        EXPECT_TRUE(accepts(shown));
        for (long double x : row.points)
            EXPECT_TRUE(agreeAt(shown, canonicalText, x));
    }
    EXPECT_EQ(liveNodeCount(), before);
}

// Random formulas of every kind the keyboard offers, with a fixed seed.
class FormulaGenerator
{
  public:
    std::string formula(int depth)
    {
        static const char *const leaves[] = {"x", "x", "x", "1", "2", "3", "a", "0.5"};
        static const char *const exponents[] = {"2", "3", "(-1)", "(-2)", "(1/3)", "0.5"};
        static const char *const functions[] = {"sin", "cos", "tan", "exp", "log", "sqrt", "arctn", "abs"};
        if (depth == 0 || next(4) == 0)
            return leaves[next(8)];
        const std::string a = "(" + formula(depth - 1) + ")";
        switch (next(10)) {
        case 0:
            return a + "+" + formula(depth - 1);
        case 1:
            return a + "-(" + formula(depth - 1) + ")";
        case 2:
        case 3:
            return a + "*(" + formula(depth - 1) + ")";
        case 4:
            return a + "/(" + formula(depth - 1) + ")";
        case 5:
            return a + "^" + exponents[next(6)];
        default:
            return std::string(functions[next(8)]) + a;
        }
    }

  private:
    // A linear congruential generator: the same formulas on every platform.
    unsigned next(unsigned n)
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(state_ >> 33) % n;
    }
    std::uint64_t state_ = 26;
};

// The sum of the magnitudes of the values of the terms of a sum at x, or of
// the tree itself.
long double termScale(const ExprNode *n, long double x)
{
    if (n->op == OpAdd)
        return termScale(n->left, x) + termScale(n->right, x);
    engineState().evalValid = true;
    const long double v = Program(n).evaluate(x, 0);
    return engineState().evalValid && std::isfinite(v) ? std::fabs(v) : 0;
}

TEST(DerivativePresentation, GeneratedFormulasKeepValueAndDomain)
{
    ScopedParameters parameters;
    FormulaGenerator generator;
    const long double points[] = {-2.5L, -1, -0.3L, 0, 0.5L, 1, 1.7L, 3};
    int compared = 0, rewritten = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string f = generator.formula(3);
        SCOPED_TRACE(f);
        engineState().parseOK = true;
        std::string canonicalText;
        const std::string shown = derivativeText(f, OpX, &canonicalText);
        if (shown.empty())
            continue;
        ++compared;
        rewritten += shown != canonicalText;
        EXPECT_LE(shown.size(), canonicalText.size());
        const Tree evaluated = parseCurveFormula(canonicalText);
        ASSERT_TRUE(evaluated);
        for (long double x : points) {
            // Beyond, rounding in huge intermediate values decides the digits.
            const long double scale = termScale(evaluated.get(), x);
            if (scale < 1e8L) {
                EXPECT_TRUE(agreeAt(shown, canonicalText, x, scale)) << shown << " for " << canonicalText;
            }
        }
    }
    EXPECT_GT(compared, 300);
    EXPECT_GT(rewritten, compared / 5);
}

// The pass gives up within its share of the formula budget, without
// refusing the formula.
TEST(DerivativePresentation, RunningOutOfItsShareKeepsTheCanonicalText)
{
    Tree d = canonicalTree("(x+1)(x-1)");
    d.reset(differentiate(d.get(), OpX));
    apply(d, canonicaliseTree);
    const std::string canonical = treeToText(d.get());
    ASSERT_EQ(canonical, "x+x-1+1");
    Ballast almost(50);
    EXPECT_EQ(presentDerivative(d.get(), canonical, true), canonical);
    EXPECT_FALSE(formulaBudgetSpent());
}

} // namespace

} // namespace gq
