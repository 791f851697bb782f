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

namespace
{
// Evaluates a parsed formula at each x in turn; PoleSeen tells of the last step only.
Tree EvaluatedAt(const std::string &text, std::initializer_list<long double> xs)
{
    Tree t = ParseText(text);
    EvalValid = true;
    for (long double x : xs) {
        PoleSeen = false;
        Evaluate(t.get(), x, 0);
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
        EXPECT_EQ(ValueOf(text, x, 0, &valid), 0) << text;
        EXPECT_FALSE(valid) << text;
    }
}

TEST(Evaluate, PowersGaussBracketAndFactorials)
{
    ScopedParameters parameters({{'e', 2.6f}});
    // Integer and odd-root powers of negative numbers are defined; the Gauss bracket
    // gives the greatest integer not above its argument; (e)! with e = 2.6 is 3!.
    // clang-format off
    ExpectValues({
        {"0^0", 1}, {"(-8)^(1/3)", -2}, {"(-8)^(2/3)", 4}, {"x^(1/3)", -3, -27}, {"x^(-2)", 0.25, 2},
        {"gaus(2.7)", 2}, {"gaus(x)", -3, -2.5L}, {"gaus(x)", -2, -2}, {"5!", 120}, {"(0)!", 1},
        {"(e)!", 6}});
    // clang-format on
}

TEST(Evaluate, OverflowGivesBigValueAndHugeArgumentsFinishQuickly)
{
    // clang-format off
    ExpectValues({
        {"exp(20000)", BigValue}, {"exp(-20000)", 3.0E-4932L}, {"10^4000*10^4000", BigValue},
        {"-(10^4000)*10^4000", -BigValue}, {"(10^4000)^2", BigValue}, {"log(x)", 0, 1},
        {"x^1000000000", BigValue, 2}, {"x^1000000000", 0, 0.5L}, {"x^1000000001", -1, -1},
        {"1000000000!", BigValue}, {"Sum(i=[1,10000],1)", 10000}});
    // clang-format on
    EXPECT_NEAR(std::log(ValueOf("exp(5000)")), 5000, 1e-9); // finite in 80 bits
    EXPECT_LT(ValueOf("1754!"), BigValue);
    // Too long a sum to expand is undefined, not a hang.
    for (const char *sum : {"Sum(i=[1,1000000000],i)", "Sum(i=[1,1000],Sum(j=[1,1000],i*j))"}) {
        bool valid = true;
        ValueOf(sum, 0, 0, &valid);
        EXPECT_FALSE(valid) << sum;
    }
}

TEST(Evaluate, PolesAndZeroCrossingsAreReported)
{
    Tree inv = EvaluatedAt("x^(-1)", {0}); // landing on the pole
    EXPECT_TRUE(!EvalValid && PoleSeen && inv->poleCross);
    EXPECT_TRUE(EvaluatedAt("x^2", {0})->zeroCross);
    Tree recip = EvaluatedAt("1/x", {-0.1L, 0.1L}); // stepping over it
    EXPECT_TRUE(EvalValid && PoleSeen && recip->poleCross);
    EvaluatedAt("sgn(x)", {-1, 1});
    EXPECT_TRUE(PoleSeen);
    Tree tan = EvaluatedAt("tan(x)", {1.5L, 1.6L});
    EXPECT_TRUE(PoleSeen && tan->poleCross);
    EXPECT_FALSE(EvaluatedAt("tan(x)", {1.5L, 1.6L, 1.7L})->poleCross);
    EXPECT_TRUE(EvaluatedAt("sin(x)", {-0.1L, 0.1L})->zeroCross);
    EXPECT_FALSE(EvaluatedAt("sin(x)", {-0.1L, 0.1L, 0.2L})->zeroCross);
    EXPECT_TRUE(EvaluatedAt("log(x)", {0.9L, 1.1L})->zeroCross);
}

TEST(Evaluate, ParametersLettersAndTextEntryPoints)
{
    ScopedParameters parameters({{'s', 0.5f}, {'w', 2}, {'i', 7}});
    VariableTable.t = 3;
    ExpectValues({{kTheta, 0.5}, {"w+i+t", 12}, {"x*y", 12, 3, 4}});

    ParseOK = true;
    EvalValid = true;
    EXPECT_NEAR(EvaluateFormulaText("2" + kPi, 0), 2 * kPiValue, 1e-15);
    EXPECT_DOUBLE_EQ(EvaluateFormulaText("Sum(i=[1,3],i)", 0), 0); // sums stay unexpanded here
    EXPECT_DOUBLE_EQ(EvaluateFormulaTextWithSums("Sum(i=[1,3],i)", 0), 6);
    EXPECT_TRUE(ParseOK && EvalValid);
    EvaluateFormulaText("x+", 0);
    EXPECT_FALSE(ParseOK);
}

// The evaluator lays out a tree's evaluation order once; passes that reshape
// a tree in place (swapping operands, turning a letter into a number) must
// not leave it evaluating the old shape.
TEST(Evaluate, FollowsTreesReshapedInPlace)
{
    Tree t = ParseText("abs(x)*2");
    EXPECT_EQ(Evaluate(t.get(), 1, 0), 2);
    Apply(t, [](ExprNode *&ref) { ref = CanonicaliseTree(ref); }); // 2*abs(x), operands swapped
    EXPECT_EQ(TreeToText(t.get()), "2*abs(x)");
    EXPECT_EQ(Evaluate(t.get(), -3, 0), 6);
    Apply(t, [](ExprNode *&ref) { ReplaceLeafByInteger(ref, 4, OpX); }); // 2*abs(4)
    EXPECT_EQ(Evaluate(t.get(), 2, 0), 8);

    // A subtree evaluated on its own keeps the tree's order intact.
    Tree u = ParseText("(x+1)*(x-1)");
    EXPECT_EQ(Evaluate(u.get(), 3, 0), 8);
    EXPECT_EQ(Evaluate(u->right, 5, 0), 4);
    EXPECT_EQ(Evaluate(u.get(), 5, 0), 24);
}

// The flags of every operation node, in pre-order.
std::string FlagsOf(const ExprNode *n)
{
    if (!n)
        return "";
    std::string own = n->op < OpPi ? std::string{char('0' + n->zeroCross), char('0' + n->poleCross)} : "";
    return own + FlagsOf(n->left) + FlagsOf(n->right);
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
        Tree plain = ParseText(text), relaid = ParseText(text);
        Tree copied;
        for (long double x = -3; x < 3; x += 0.37L) {
            if (x > 0 && !copied)
                copied.reset(CopyTree(plain.get()));
            PoleSeen = false;
            EvalValid = true;
            const long double v = Evaluate(plain.get(), x, 0.5L);
            const bool valid = EvalValid, pole = PoleSeen;
            const std::string flags = FlagsOf(plain.get());
            for (ExprNode *other : {relaid.get(), copied.get()}) {
                if (!other)
                    continue;
                TreeShapeChanged();
                PoleSeen = false;
                EXPECT_EQ(Evaluate(other, x, 0.5L), v) << text << " at " << static_cast<double>(x);
                EXPECT_EQ(EvalValid, valid) << text;
                EXPECT_EQ(PoleSeen, pole) << text;
                EXPECT_EQ(FlagsOf(other), flags) << text << " at " << static_cast<double>(x);
            }
        }
    }
}

TEST(NumericHelpers, SignSwapIntersection)
{
    EXPECT_EQ(SignOf(-0.0L), 0);
    EXPECT_EQ(SignOf(-3), -1);
    long double a = 1, b = 2, x, y;
    SwapValues(a, b);
    EXPECT_EQ(a, 2);
    LineIntersection(1, 0, -1, 2, x, y);
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 1);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(3.5L), 4);
}

TEST(Evaluate, AllocatesNothing)
{
    Tree t = ParseText("sin(x)exp(-x^2/4)+Sum(i=[1,3],x^i)+log(x)/tan(x)+gaus(x)!");
    Apply(t, ExpandSums);
    const std::size_t before = g_allocations;
    for (int k = -50; k < 50; ++k)
        Evaluate(t.get(), k * 0.1L, 0);
    EXPECT_EQ(g_allocations, before);
}
} // namespace
