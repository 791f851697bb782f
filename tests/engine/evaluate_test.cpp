#include "engine_test_util.h"

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
Tree evaluatedAt(const std::string &text, std::initializer_list<long double> xs)
{
    Tree t = parseText(text);
    engineState().evalValid = true;
    for (long double x : xs) {
        engineState().poleSeen = false;
        evaluate(t.get(), x, 0);
    }
    return t;
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
        {"1000000000!", kBigValue}, {"Sum(i=[1,10000],1)", 10000}});
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
    Tree inv = evaluatedAt("x^(-1)", {0}); // landing on the pole
    EXPECT_TRUE(!engineState().evalValid && engineState().poleSeen && inv->poleCross);
    EXPECT_TRUE(evaluatedAt("x^2", {0})->zeroCross);
    Tree recip = evaluatedAt("1/x", {-0.1L, 0.1L}); // stepping over it
    EXPECT_TRUE(engineState().evalValid && engineState().poleSeen && recip->poleCross);
    evaluatedAt("sgn(x)", {-1, 1});
    EXPECT_TRUE(engineState().poleSeen);
    Tree tan = evaluatedAt("tan(x)", {1.5L, 1.6L});
    EXPECT_TRUE(engineState().poleSeen && tan->poleCross);
    EXPECT_FALSE(evaluatedAt("tan(x)", {1.5L, 1.6L, 1.7L})->poleCross);
    EXPECT_TRUE(evaluatedAt("sin(x)", {-0.1L, 0.1L})->zeroCross);
    EXPECT_FALSE(evaluatedAt("sin(x)", {-0.1L, 0.1L, 0.2L})->zeroCross);
    EXPECT_TRUE(evaluatedAt("log(x)", {0.9L, 1.1L})->zeroCross);
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

// The evaluator lays out a tree's evaluation order once; passes that reshape
// a tree in place (swapping operands, turning a letter into a number) must
// not leave it evaluating the old shape.
TEST(Evaluate, FollowsTreesReshapedInPlace)
{
    Tree t = parseText("abs(x)*2");
    EXPECT_EQ(evaluate(t.get(), 1, 0), 2);
    apply(t, [](ExprNode *&ref) { ref = canonicaliseTree(ref); }); // 2*abs(x), operands swapped
    EXPECT_EQ(treeToText(t.get()), "2*abs(x)");
    EXPECT_EQ(evaluate(t.get(), -3, 0), 6);
    apply(t, [](ExprNode *&ref) { replaceLeafByInteger(ref, 4, OpX); }); // 2*abs(4)
    EXPECT_EQ(evaluate(t.get(), 2, 0), 8);

    // A subtree evaluated on its own keeps the tree's order intact.
    Tree u = parseText("(x+1)*(x-1)");
    EXPECT_EQ(evaluate(u.get(), 3, 0), 8);
    EXPECT_EQ(evaluate(u->right, 5, 0), 4);
    EXPECT_EQ(evaluate(u.get(), 5, 0), 24);
}

// The flags of every operation node, in pre-order.
std::string flagsOf(const ExprNode *n)
{
    if (!n)
        return "";
    std::string own = n->op < OpPi ? std::string{char('0' + n->zeroCross), char('0' + n->poleCross)} : "";
    return own + flagsOf(n->left) + flagsOf(n->right);
}

// Laying out the order again (as happens whenever any tree changes shape)
// between samples changes no result, flag or pole report; and a copy of an
// evaluated tree goes on from where the tree was.
TEST(Evaluate, LayingOutAgainAndCopyingChangeNothing)
{
    ScopedParameters parameters({{'a', 1.5f}, {'b', 2}, {'c', 0.5f}});
    for (const char *text :
         {"sqrt(abs(x))+log(x^2+1)", "1/(1+exp(-x))+sinh(x)/cosh(x)", "tan(x)+sec(x)-cosec(x)*cotan(x)",
          "log2(x)*log(a)", "sgn(x)+gaus(x)", "(x-1)/(x+1)-(x+2)/(x-2)", "x^(1/3)+(x-1)^(-2)+x^3",
          "asin(bx+c)+cos(3x)^2", "y*x-arctn(x)+(x)!"}) {
        Tree plain = parseText(text), relaid = parseText(text);
        Tree copied;
        for (long double x = -3; x < 3; x += 0.37L) {
            if (x > 0 && !copied)
                copied.reset(copyTree(plain.get()));
            engineState().poleSeen = false;
            engineState().evalValid = true;
            const long double v = evaluate(plain.get(), x, 0.5L);
            const bool valid = engineState().evalValid, pole = engineState().poleSeen;
            const std::string flags = flagsOf(plain.get());
            for (ExprNode *other : {relaid.get(), copied.get()}) {
                if (!other)
                    continue;
                treeShapeChanged();
                engineState().poleSeen = false;
                EXPECT_EQ(evaluate(other, x, 0.5L), v) << text << " at " << static_cast<double>(x);
                EXPECT_EQ(engineState().evalValid, valid) << text;
                EXPECT_EQ(engineState().poleSeen, pole) << text;
                EXPECT_EQ(flagsOf(other), flags) << text << " at " << static_cast<double>(x);
            }
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
}

TEST(Evaluate, AllocatesNothing)
{
    Tree t = parseText("sin(x)exp(-x^2/4)+Sum(i=[1,3],x^i)+log(x)/tan(x)+gaus(x)!");
    apply(t, expandSums);
    const std::size_t before = g_allocations;
    for (int k = -50; k < 50; ++k)
        evaluate(t.get(), k * 0.1L, 0);
    EXPECT_EQ(g_allocations, before);
}
} // namespace

} // namespace gq
