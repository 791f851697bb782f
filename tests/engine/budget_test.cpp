// The formula budget and the evaluation budget: every hostile category is
// refused cleanly (nothing half-built, nothing left allocated), ordinary
// formulas are untouched and far inside the budget. That each refusal comes
// quickly is the budget's own doing (a bounded number of units); the suite's
// timeout catches a refusal that does not come, bench_budget times them.
#include "engine_test_util.h"

#include "engine/budget.h"

#include <cstdint>

namespace gq
{

namespace
{

std::string repeated(const std::string &s, int n, const std::string &separator = "")
{
    std::string r;
    for (int i = 0; i < n; ++i)
        r += (i ? separator : "") + s;
    return r;
}

std::string linearFactors(int n)
{
    std::string r;
    for (int i = 1; i <= n; ++i)
        r += "(x+" + std::to_string(i) + ")";
    return r;
}

// Work and nodes one preparation of text takes, as the explicit plotter
// prepares it, with the tree it gives.
struct Spent {
    std::size_t work = 0, nodes = 0;
    bool refused = false;
};
Spent preparing(const std::string &text)
{
    Spent s;
    FormulaBudget budget;
    const std::size_t before = liveNodeCount();
    Tree tree = parseCurveFormula(text);
    s.work = engineState().budget.work;
    s.nodes = liveNodeCount() - before;
    s.refused = !tree;
    return s;
}

// Where preparing a hostile formula runs out.
enum class RunsOut {
    Parsing,        // parsing it, with its derivative markers, or expanding its sums
    CanonicalForm,  // bringing it into the canonical form (the explicit plotter's)
    Differentiating // only differentiating it, as the keyboard's check does for the curves that need it
};
struct Hostile {
    const char *category;
    std::string text;
    RunsOut stage = RunsOut::Parsing;
};

TEST(FormulaBudget, EveryHostileCategoryIsRefusedAsTooComplexAndLeavesNothing)
{
    // clang-format off
    const Hostile cases[] = {
        {"a sum whose counter would overflow at 2^63", "Sum(i=[2^63-9,2^63-1],1)"},
        {"sum bounds beyond the 64-bit range", "Sum(i=[10^30,10^30],i)"},
        {"negative sum bounds beyond it", "Sum(i=[-10^30,1],i)"},
        {"twenty sums of 10,000 terms", repeated("Sum(i=[1,10000],i*x)", 20, "+")},
        {"a hundred sums of 10,000 terms", repeated("Sum(i=[1,10000],i)", 100, "+")},
        {"eight sums of 10,000 terms", repeated("Sum(i=[1,10000],i*x)", 8, "+")},
        {"a sum of more than 10,000 terms", "Sum(i=[1,10001],i*x)"},
        {"D, 150 x, then nine markers on x^x", "D" + std::string(150, 'x') + "(DDDDDDDDD(x^x))"},
        {"x written 3,000 times after D", "D" + std::string(3000, 'x')},
        {"ten derivative markers", "DDDDDDDDDD(x^x)"},
        {"six derivative markers on x^x", "DDDDDD(x^x)", RunsOut::CanonicalForm},
        {"995 derivative markers", std::string(995, 'D') + "(x^x)"},
        {"a product of 170 linear factors", linearFactors(170), RunsOut::Differentiating},
        {"a tower of 330 powers", repeated("x", 330, "^"), RunsOut::Differentiating},
        {"a text longer than any formula", repeated("x+", 5001) + "x"},
        {"nesting deeper than the parser follows", std::string(3001, '(') + "x" + std::string(3001, ')')},
        {"factorials costing more than an evaluation may", "Sum(i=[1,100],1754!*x)"},
    };
    // clang-format on
    for (const Hostile &c : cases) {
        SCOPED_TRACE(c.category);
        const std::size_t before = liveNodeCount();
        EXPECT_EQ(checkFormula(c.text), FormulaCheck::TooComplex);
        EXPECT_TRUE(engineState().tooComplex);
        EXPECT_FALSE(engineState().parseOK);
        // Without derivatives it passes only where differentiating was all
        // that did not fit.
        EXPECT_EQ(checkFormula(c.text, {}),
                  c.stage == RunsOut::Differentiating ? FormulaCheck::Accepted : FormulaCheck::TooComplex);
        EXPECT_EQ(parseCurveFormula(c.text) != nullptr, c.stage == RunsOut::Differentiating);
        EXPECT_EQ(compileFormula(c.text).has_value(), c.stage != RunsOut::Parsing);
        if (c.stage == RunsOut::Differentiating) {
            bool cutShort = false;
            Tree f = parseForEvaluation(c.text);
            Tree d(differentiate(f.get(), OpX, &cutShort));
            EXPECT_TRUE(cutShort && !d);
        }
        engineState().parseOK = true;
        EXPECT_EQ(derivativeText(c.text, OpX), "");
        EXPECT_TRUE(engineState().tooComplex && !engineState().parseOK);
        EXPECT_EQ(liveNodeCount(), before);
    }
    // Sums that do not fit leave the whole formula undefined, never part of
    // its expansion.
    for (const Hostile &c : {cases[0], cases[1], cases[3], cases[6]}) {
        Tree built = parseText(c.text);
        ASSERT_TRUE(built) << c.category;
        apply(built, expandSums);
        EXPECT_EQ(built->op, OpSumTooLarge) << c.category;
        EXPECT_EQ(treeSize(built.get()), 1u) << c.category;
    }
}

TEST(FormulaBudget, OrdinaryFormulasAreUntouchedAndFarInsideTheBudget)
{
    ScopedParameters parameters;
    // The six benchmark formulas, and what a class writes.
    const char *formulas[] = {"x^2-3x+2",
                              "sin(x)exp(-x^2/4)",
                              "sqrt(abs(x))+log(x^2+1)",
                              "(x^3-2x)/(x^2-1)",
                              "asin(bx+c)+cos(3x)^2",
                              "1/(1+exp(-x))+sinh(x)/cosh(x)",
                              "Sum(i=[1,100],sin(i*x)/i)",
                              "(x+1)(x+2)(x+3)(x+4)(x+5)(x+6)(x+7)(x+8)(x+9)(x+10)",
                              "(d/dx)((d/dx)(x^x))",
                              "F1(x)+Q1"};
    TestDefinitions defs;
    defs.f[1] = "x^3-3x";
    defs.q[1] = "2" + kPi;
    for (const char *f : formulas) {
        SCOPED_TRACE(f);
        EXPECT_EQ(checkFormula(f), FormulaCheck::Accepted);
        const Spent s = preparing(f);
        EXPECT_FALSE(s.refused);
        EXPECT_LT(s.work, kFormulaWorkBudget / 5);
        EXPECT_LT(s.nodes, kFormulaNodeBudget / 10);
        Tree curve = parseCurveFormula(f);
        EXPECT_LE(evaluationCost(curve.get()), kFormulaEvaluationBudget / 5);
    }
    // The six need a few hundred units at most.
    for (int i = 0; i < 6; ++i)
        EXPECT_LT(preparing(formulas[i]).work, 400u) << formulas[i];
    // A sum of 10,000 terms still expands, and evaluates as before.
    expectValues({{"Sum(i=[1,10000],1)", 10000}, {"Sum(i=[1,10000],i*x)", 50005000, 1}});
}

TEST(SumBounds, AreCheckedBeforeTheyBecomeIntegers)
{
    // Undefined bounds leave the sum undefined; an empty range sums to 0;
    // bounds near 10^15 work as long as the sum is short.
    struct Case {
        const char *text;
        bool defined;
        long double value;
    };
    const Case cases[] = {
        {"Sum(i=[log(0),3],i)", false, 0},
        {"Sum(i=[1,sqrt(-1)],i)", false, 0},
        {"Sum(i=[3,1],i)", true, 0},
        {"Sum(i=[10^15-2,10^15],1)", true, 3},
        {"Sum(i=[-10^15,-10^15+1],i)", true, -2e15L + 1},
        {"Sum(i=[0.4,2.6],i)", true, 6}, // bounds round to 0 and 3
        {"Sum(i=[1,3],Sum(j=[1,2],i*10+j))", true, 0},
    };
    ScopedParameters parameters({{'i', 5}});
    for (const Case &c : cases) {
        bool valid = false;
        long double v = valueOf(c.text, 0, 0, &valid);
        EXPECT_EQ(valid, c.defined) << c.text;
        if (c.defined && std::string(c.text).find("Sum(j") == std::string::npos) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    // Inner bounds read the parameter i, as the expansion has it (an empty
    // sum, which is evaluated, sets it to 1 on the way).
    parameters.set({{'i', 5}});
    EXPECT_EQ(valueOf("Sum(i=[1,2],Sum(j=[1,i],1))"), 10);
    EXPECT_EQ(checkFormula("Sum(i=[10^15,10^15+1],i)"), FormulaCheck::TooComplex);
}

TEST(EvaluationBudget, RefusesEvaluationsOnceItsUnitsAreSpentAndChargesTheEnclosingOne)
{
    std::optional<Program> p = compileFormula("sin(x)+x");
    ASSERT_TRUE(p);
    const std::uint64_t cost = p->evaluationCost();
    EXPECT_EQ(cost, 60u + 2 + 2 + 2); // sin, its x, the sum, the other x
    EngineState &state = engineState();
    {
        EvaluationBudget outer(10 * cost);
        {
            EvaluationBudget inner(3 * cost);
            for (int i = 0; i < 3; ++i) {
                state.evalValid = true;
                EXPECT_NEAR(p->evaluate(1, 0), std::sin(1.0L) + 1, 1e-15L);
                EXPECT_TRUE(state.evalValid);
            }
            state.evalValid = true;
            EXPECT_EQ(p->evaluate(1, 0), 0); // the fourth finds too few units
            EXPECT_FALSE(state.evalValid);
            EXPECT_TRUE(inner.spent());
        }
        EXPECT_FALSE(outer.spent());
        for (int i = 0; i < 7; ++i) {
            state.evalValid = true;
            p->evaluate(1, 0);
            EXPECT_TRUE(state.evalValid) << i; // 3 of the 10 went to the inner scope
        }
        state.evalValid = true;
        p->evaluate(1, 0);
        EXPECT_FALSE(state.evalValid);
        EXPECT_TRUE(outer.spent());
    }
    state.evalValid = true;
    p->evaluate(1, 0); // outside any scope nothing is limited
    EXPECT_TRUE(state.evalValid);
}

TEST(EvaluationCost, WeighsOperationsByTheirTime)
{
    struct Case {
        std::string text;
        std::uint64_t cost;
    };
    const Case cases[] = {
        {"x", 2},       {"a", 1},    {kPi, 1},  {"x+1", 5},     {"tan(x)", 62},
        {"exp(x)", 32}, {"x^2", 33}, {"5!", 6}, {"(e)!", 1755}, {"2000!", 1755},
    };
    ScopedParameters parameters;
    for (const Case &c : cases) {
        Tree t = parseText(c.text);
        EXPECT_EQ(evaluationCost(t.get()), c.cost) << c.text;
        EXPECT_EQ(Program(t.get()).evaluationCost(), c.cost) << c.text;
    }
}

TEST(DerivativeText, ProductsOfLinearFactorsKeepAShortDerivative)
{
    for (int n : {2, 5, 8, 10}) {
        const std::string f = linearFactors(n);
        engineState().parseOK = true;
        const std::string d = derivativeText(f, OpX);
        ASSERT_TRUE(engineState().parseOK) << f;
        EXPECT_LE(d.size(), 400u) << d;
        EXPECT_EQ(checkFormula(d), FormulaCheck::Accepted) << d;
        // The derivative of the product at x: the product times the sum of
        // the reciprocals of its factors.
        for (long double x : {-0.5L, 0.3L, 1.7L}) {
            long double product = 1, reciprocals = 0;
            for (int i = 1; i <= n; ++i)
                product *= x + i, reciprocals += 1 / (x + i);
            EXPECT_NEAR(valueOf(d, x) / (product * reciprocals), 1, 1e-15L) << d;
        }
    }
    // Twenty factors: no form short enough to draw fits the budget.
    engineState().parseOK = true;
    EXPECT_EQ(derivativeText(linearFactors(20), OpX), "");
    EXPECT_TRUE(!engineState().parseOK && engineState().tooComplex);
}

} // namespace

} // namespace gq
