#include "engine_test_util.h"

#include <cstring>

#include <limits>
#include <optional>
#include <vector>

// Every allocation of this test program is counted.
std::size_t g_allocations = 0;
void *operator new(std::size_t size)
{
    ++g_allocations;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

namespace gq
{

namespace
{
// Evaluates a parsed formula at each x in turn; engineState().poleSeen tells of the last step only.
Program evaluatedAt(const std::string &text, std::initializer_list<long double> xs)
{
    Program program(parseText(text).get());
    engineState().evalValid = true;
    for (long double x : xs) {
        engineState().poleSeen = false;
        program.evaluate(x, 0);
    }
    return program;
}

TEST(Evaluate, DomainErrorsAreUndefined)
{
    // clang-format off
    for (auto [text, x] : std::initializer_list<std::pair<const char *, long double>>{
             {"log(x)", 0}, {"log(x)", -1}, {"1/x", 0}, {"sqrt(x)", -1}, {"log1(x)", 2}, {"log0(x)", 2},
             {"cosec(x)", 0}, {"cotan(x)", 0}, {"(x-3)!", 0}, {"(-8)^0.5", 0}, {"x^(1/2)", -4}}) {
        // clang-format on
        bool valid = true;
        EXPECT_EQ(valueOf(text, x, 0, &valid), 0) << text;
        EXPECT_FALSE(valid) << text;
    }
}

TEST(Evaluate, PowersGaussBracketAndFactorials)
{
    ScopedParameters parameters({{'e', 2.6f}});
    // Integer and odd-root powers of negative numbers are defined; the Gauss bracket
    // gives the greatest integer not above its argument; (e)! with e = 2.6 is 3!.
    // clang-format off
    expectValues({
        {"0^0", 1}, {"(-8)^(1/3)", -2}, {"(-8)^(2/3)", 4}, {"x^(1/3)", -3, -27}, {"x^(-2)", 0.25, 2},
        {"gaus(2.7)", 2}, {"gaus(x)", -3, -2.5L}, {"gaus(x)", -2, -2}, {"5!", 120}, {"(0)!", 1},
        {"(e)!", 6}});
    // clang-format on
}

TEST(Evaluate, OverflowGivesBigValueAndHugeArgumentsFinishQuickly)
{
    // clang-format off
    expectValues({
        {"exp(20000)", kBigValue}, {"exp(-20000)", 3.0E-4932L}, {"10^4000*10^4000", kBigValue},
        {"-(10^4000)*10^4000", -kBigValue}, {"(10^4000)^2", kBigValue}, {"log(x)", 0, 1},
        {"x^1000000000", kBigValue, 2}, {"x^1000000000", 0, 0.5L}, {"x^1000000001", -1, -1},
        {"1000000000!", kBigValue}, {"Sum(i=[1,10000],1)", 10000}, {"x^2-3x", kBigValue, 1e3000L},
        {"x^3+x", -kBigValue, -1e2000L}});
    // clang-format on
    EXPECT_NEAR(std::log(valueOf("exp(5000)")), 5000, 1e-9); // finite in 80 bits
    EXPECT_LT(valueOf("1754!"), kBigValue);
    // Too long a sum to expand is undefined, not a hang.
    for (const char *sum : {"Sum(i=[1,1000000000],i)", "Sum(i=[1,1000],Sum(j=[1,1000],i*j))"}) {
        bool valid = true;
        valueOf(sum, 0, 0, &valid);
        EXPECT_FALSE(valid) << sum;
    }
}

TEST(Evaluate, PolesAndZeroCrossingsAreReported)
{
    Program inv = evaluatedAt("x^(-1)", {0}); // landing on the pole
    EXPECT_TRUE(!engineState().evalValid && engineState().poleSeen && inv.poleCrossed());
    EXPECT_TRUE(evaluatedAt("x^2", {0}).zeroCrossed());
    Program recip = evaluatedAt("1/x", {-0.1L, 0.1L}); // stepping over it
    EXPECT_TRUE(engineState().evalValid && engineState().poleSeen && recip.poleCrossed());
    evaluatedAt("sgn(x)", {-1, 1});
    EXPECT_TRUE(engineState().poleSeen);
    Program tan = evaluatedAt("tan(x)", {1.5L, 1.6L});
    EXPECT_TRUE(engineState().poleSeen && tan.poleCrossed());
    EXPECT_FALSE(evaluatedAt("tan(x)", {1.5L, 1.6L, 1.7L}).poleCrossed());
    EXPECT_TRUE(evaluatedAt("sin(x)", {-0.1L, 0.1L}).zeroCrossed());
    EXPECT_FALSE(evaluatedAt("sin(x)", {-0.1L, 0.1L, 0.2L}).zeroCrossed());
    EXPECT_TRUE(evaluatedAt("log(x)", {0.9L, 1.1L}).zeroCrossed());
    // Two poles of a difference that cancel within a pixel are no jump of it.
    engineState().xPerPixel = 10.0L / 640;
    EXPECT_FALSE(evaluatedAt("1/x-1/x", {-0.01L, 0.01L}).poleCrossed());
    EXPECT_TRUE(evaluatedAt("1/x-2/x", {-0.01L, 0.01L}).poleCrossed());
    // Nor is a sum of poles of opposite signs that nearly cancel; there the
    // sum withdraws the report of the poles below it too.
    evaluatedAt("1/x+(-1)/x", {-0.01L, 0.01L});
    EXPECT_FALSE(engineState().poleSeen);
}

// Steps whose flags nothing reads compute their values alone (a number times
// x and a small power of x inside their parent's step); what the
// whole formula and poleSeen report stays what it was when every step
// computed its flags (the expectations below are those of that evaluator).
TEST(Evaluate, FlagsPassThroughStepsThatComputeOnlyTheirValues)
{
    struct Case {
        const char *text;
        std::initializer_list<long double> xs;
        bool poleSeen, poleCrossed, zeroCrossed;
    };
    // clang-format off
    for (const Case &c : std::initializer_list<Case>{
             {"x^2-3x+2", {0.9L, 1.1L}, false, false, true},
             {"x^2-3x+2", {1.1L, 1.2L}, false, false, false},
             {"-(1/x)", {-0.1L, 0.1L}, true, true, false},
             {"3*(1/x)", {-0.1L, 0.1L}, true, true, false},
             {"x*(1/x)^2+x", {-0.1L, 0.1L}, true, false, true},
             {"(x^3-2x)/(x^2-1)", {0.9L, 1.1L}, true, true, false},
             {"(x^3-2x)/(x^2-1)", {1.3L, 1.5L}, false, false, true},
             {"exp(x)*(x-1)", {0.9L, 1.1L}, false, false, true},
             {"abs(x-1)+sin(x)", {0.9L, 1.1L}, false, false, false},
             {"sqrt(x^2+1)/(x-1)", {0.9L, 1.1L}, true, true, false},
             {"cos(x)^3", {1.5L, 1.6L}, false, false, true},
             {"atan(x-1)*2", {0.9L, 1.1L}, false, false, true},
             {"x^2*(x-1)", {0.9L, 1.1L}, false, false, true},
             {"x^3-2x+1", {0.9L, 1.1L}, false, false, true},
             {"1/cos(3x)", {0.5L, 0.55L}, true, true, false},
         }) {
        // clang-format on
        const Program p = evaluatedAt(c.text, c.xs);
        EXPECT_EQ(engineState().poleSeen, c.poleSeen) << c.text;
        EXPECT_EQ(p.poleCrossed(), c.poleCrossed) << c.text;
        EXPECT_EQ(p.zeroCrossed(), c.zeroCrossed) << c.text;
    }
}

// The sine and cosine of the evaluator are the library's, bit for bit, in
// every order of asking: once, again, the other function of an argument
// already asked for, both at once (tan), and after the table has filled up.
TEST(Evaluate, SinesAndCosinesAreTheLibrarysWhateverWasAskedBefore)
{
    const auto same = [](long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; };
    Program sin(parseText("sin(x)").get()), cos(parseText("cos(x)").get()), tan(parseText("tan(x)").get());
    Program sinOfSum(parseText("sin(x+y)").get());
    int wrong = 0;
    for (int pass = 0; pass < 3; ++pass) {
        for (int k = 0; k < 3000; ++k) {
            const long double x = -40 + k * 0.0271L + pass * 1e-3L * (k % 3);
            engineState().evalValid = true;
            wrong += !same(sin.evaluate(x, 0), sinl(x));
            wrong += !same(cos.evaluate(x, 0), cosl(x));
            wrong += !same(sin.evaluate(x, 0), sinl(x));
            wrong += !same(sinOfSum.evaluate(x, 0.5L), sinl(x + 0.5L));
            const long double t = tan.evaluate(x, 0);
            wrong += engineState().evalValid && !same(t, sinl(x) / cosl(x));
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Evaluate, ParametersLettersAndTextEntryPoints)
{
    ScopedParameters parameters({{'s', 0.5f}, {'w', 2}, {'i', 7}});
    engineState().variables.t = 3;
    expectValues({{kTheta, 0.5}, {"w+i+t", 12}, {"x*y", 12, 3, 4}});

    engineState().parseOK = true;
    engineState().evalValid = true;
    EXPECT_NEAR(evaluateFormulaText("2" + kPi, 0), 2 * kPiValue, 1e-15);
    EXPECT_DOUBLE_EQ(evaluateFormulaText("Sum(i=[1,3],i)", 0), 0); // sums stay unexpanded here
    EXPECT_DOUBLE_EQ(compileFormula("Sum(i=[1,3],i)")->evaluate(0, 0), 6);
    EXPECT_TRUE(engineState().parseOK && engineState().evalValid);
    evaluateFormulaText("x+", 0);
    EXPECT_FALSE(engineState().parseOK);
}

// A Program keeps nothing of its tree: changing or freeing the tree later
// changes nothing, and a Program of a subtree is a formula of its own.
TEST(Evaluate, ProgramsDoNotReferToTheirTrees)
{
    Tree t = parseText("abs(x)*2");
    Program before(t.get());
    EXPECT_EQ(before.evaluate(1, 0), 2);
    apply(t, [](ExprNode *&ref) { replaceLeafByInteger(ref, 4, OpX); }); // abs(4)*2
    EXPECT_EQ(Program(t.get()).evaluate(2, 0), 8);
    t.reset();
    EXPECT_EQ(before.evaluate(-3, 0), 6);
    EXPECT_EQ(before.rootOp(), OpMultiply);

    Tree u = parseText("(x+1)*(x-1)");
    Program whole(u.get()), right(u->right);
    EXPECT_EQ(whole.evaluate(3, 0), 8);
    EXPECT_EQ(right.evaluate(5, 0), 4);
    EXPECT_EQ(whole.evaluate(5, 0), 24);

    // A leaf alone, and the empty formula.
    Program leaf(parseText("x").get()), none;
    engineState().evalValid = false;
    EXPECT_EQ(leaf.evaluate(-2.5L, 0), -2.5L);
    EXPECT_TRUE(engineState().evalValid);
    EXPECT_FALSE(leaf.poleCrossed() || leaf.zeroCrossed());
    EXPECT_EQ(leaf.rootOp(), OpX);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.evaluate(1, 2), 0);
    EXPECT_EQ(engineState().variables.y, 2);
}

// What one sample reports: value, evalValid, poleSeen and the root's flags.
struct Report {
    long double value;
    bool valid, pole, poleCrossed, zeroCrossed;
    bool operator==(const Report &) const = default;
};
Report sampleOf(Program &p, long double x)
{
    engineState().poleSeen = false;
    engineState().evalValid = true;
    const long double v = p.evaluate(x, 0.5L);
    return {v, engineState().evalValid, engineState().poleSeen, p.poleCrossed(), p.zeroCrossed()};
}

// Each Program keeps its own memory of the previous sample: two Programs of
// one formula, evaluated in turn with other formulas between, report alike;
// and a copy (or an assigned copy) goes on from where the original was.
TEST(Evaluate, ProgramsKeepTheirOwnMemoryAndCopiesGoOn)
{
    ScopedParameters parameters({{'a', 1.5f}, {'b', 2}, {'c', 0.5f}});
    for (const char *text :
         {"sqrt(abs(x))+log(x^2+1)", "1/(1+exp(-x))+sinh(x)/cosh(x)", "tan(x)+sec(x)-cosec(x)*cotan(x)",
          "log2(x)*log(a)", "sgn(x)+gaus(x)", "(x-1)/(x+1)-(x+2)/(x-2)", "x^(1/3)+(x-1)^(-2)+x^3",
          "asin(bx+c)+cos(3x)^2", "y*x-arctn(x)+(x)!", "tan(2)+log(3)+x^(a/3)"}) {
        Tree tree = parseText(text);
        Program plain(tree.get()), twin(tree.get()), other(parseText("1/x+tan(x)").get());
        std::optional<Program> copied;
        Program assigned;
        for (long double x = -3; x < 3; x += 0.37L) {
            if (x > 0 && !copied) {
                copied.emplace(plain);
                assigned = plain;
            }
            const Report want = sampleOf(plain, x);
            sampleOf(other, -x);
            EXPECT_EQ(sampleOf(twin, x), want) << text << " at " << static_cast<double>(x);
            if (copied) {
                EXPECT_EQ(sampleOf(*copied, x), want) << text << " at " << static_cast<double>(x);
                EXPECT_EQ(sampleOf(assigned, x), want) << text << " at " << static_cast<double>(x);
            }
        }
    }
}

// A formula of one operation on two-term sums runs as a single step of its
// own; the same formula inside a larger one (plus b, which is 0) runs step by
// step. Both must report alike at every sample: across zeros and poles, at
// overflow, and after a sample that is not a number, which leaves every sign
// as it was. (The sum passes a defined operand's pole on to poleSeen and to
// its own flag, and raises none where its operand is undefined.)
TEST(Evaluate, WholeFormulasReportAsTheirStepsWould)
{
    ScopedParameters parameters({{'a', 1.5f}, {'b', 0}});
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    std::vector<long double> xs;
    for (long double x = -3; x < 3; x += 0.0371L)
        xs.push_back(x);
    for (long double x : {nan, 0.5L, 1e3000L, -1e3000L, nan, -0.5L, 1.0L, -1.0L, 0.0L, -0.0L, nan, 2.0L,
                          std::numeric_limits<long double>::infinity(), 1e-3000L, 0.25L})
        xs.push_back(x);
    for (const char *text :
         {"(x^3-2x)/(x^2-1)", "1/(x^2-1)",  "x/(x^2-4)",      "(2x-1)/(3x+1)",      "(y-x)/(y+x)",
          "(x+1)/x",          "(x^2+1)/2",  "(x^40-1)/(x-1)", "(x^30-2x)/(x^31-1)", "(x^3-1e4000x)/(x^2-1)",
          "(x-a)/(x^2-a)",    "(x-1)(x+2)", "2x(x-1)",        "x^2(x-1)",           "3(x^2-2)",
          "(x-1)^3",          "sin(2x+1)",  "cos(x^2-1)",     "sqrt(x^2-1)",        "log(x^2-1)",
          "abs(x-1)",         "exp(1-x^2)"}) {
        Program whole(parseText(text).get());
        Program steps(parseText(std::string("(") + text + ")+b").get());
        int differences = 0;
        for (long double x : xs) {
            const auto sample = [&](Program &p) {
                engineState().poleSeen = false;
                engineState().evalValid = true;
                const long double v = p.evaluate(x, 0.5L);
                return Report{engineState().evalValid ? v : 0, engineState().evalValid,
                              engineState().poleSeen, p.poleCrossed(), false};
            };
            Report w = sample(whole);
            const Report s = sample(steps);
            w.poleCrossed = w.valid && w.poleCrossed;
            w.pole = w.pole || w.poleCrossed;
            differences += !(w == s);
            EXPECT_EQ(w, s) << text << " at " << static_cast<double>(x);
            if (differences > 3)
                break;
        }
    }
}

TEST(NumericHelpers, SignRoundingAndGaussBracket)
{
    EXPECT_EQ(signOf(-0.0L), 0);
    EXPECT_EQ(signOf(-3), -1);
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(roundHalfEven(3.5L), 4);
    EXPECT_EQ(roundHalfEven(-2.5L), -2);
    EXPECT_EQ(gaussFloor(-2.5L), -3);
    EXPECT_EQ(gaussFloor(-2), -2);
    EXPECT_TRUE(isIntegerValue(1e30L));
    EXPECT_FALSE(isIntegerValue(kBigValue * 10));
    // Rounding toward zero, also where the value's nearest double is the
    // next integer away from zero.
    const struct {
        long double v;
        int truncated;
    } cuts[] = {{0, 0},
                {-0.0L, 0},
                {2.5L, 2},
                {-2.5L, -2},
                {4.99999999999999999L, 4},
                {-0.99999999999999999L, 0},
                {-1.00000000000000001L, -1},
                {1e9L + 0.5L, 1000000000},
                {-7, -7}};
    for (const auto &c : cuts) {
        EXPECT_EQ(truncToInt(c.v), c.truncated) << static_cast<double>(c.v);
        EXPECT_EQ(truncToInt(c.v), static_cast<int>(c.v));
    }
    for (long double v : {-101.0L, 0.0L, 12345678.0L, 2147483647.0L})
        EXPECT_EQ(integralToInt(v), static_cast<int>(v));
}

TEST(Evaluate, TellsWhichLettersAFormulaReads)
{
    const struct {
        const char *text;
        bool x, y;
    } cases[] = {
        {"sin(x)+1", true, false}, {"cos(y)^2", false, true}, {"-3x+y^2", true, true}, {"a+2", false, false}};
    for (const auto &c : cases) {
        Tree t = parseText(c.text);
        const Program p(t.get());
        EXPECT_EQ(p.readsLetter(OpX), c.x) << c.text;
        EXPECT_EQ(p.readsLetter(OpY), c.y) << c.text;
    }
}

TEST(Evaluate, AllocatesNothing)
{
    Tree t = parseText("sin(x)exp(-x^2/4)+Sum(i=[1,3],x^i)+log(x)/tan(x)+gaus(x)!+(-x)^(1/3)");
    apply(t, expandSums);
    Program program(t.get());
    const std::size_t before = g_allocations;
    for (int k = -50; k < 50; ++k)
        program.evaluate(k * 0.1L, 0);
    EXPECT_EQ(g_allocations, before);
}
} // namespace

} // namespace gq
