// The double-precision estimate against the 80-bit evaluation it stands in
// for: wherever it gives a range, the evaluation is defined and inside it,
// close to the curve as well as far from it.
#include "engine/program.h"
#include "engine/sign_estimate.h"
#include "engine_test_util.h"

#include <random>

namespace gq
{

TEST(SignEstimate, ModelsOnlyWhatItCanBound)
{
    const struct {
        const char *text;
        bool modelled, saves;
    } cases[] = {
        {"sin(x)+sin(y)-1.5", true, true},
        {"x^3+y^3-3*x*y", true, false},
        {"abs(x)-cos(2y)/3+a*x", true, true},
        {"-x^32+y^0", true, false},
        {"x^33-y", false, false},     // beyond the repeated products
        {"x^(1/3)-y", false, false},  // a root
        {"x^y-1", false, false},
        {"tan(x)-y", false, false},
        {"log(x)+sin(y)", false, false},
        {"sqrt(x)-y", false, false},
        {"exp(x)-y", false, false},
    };
    for (const auto &c : cases) {
        Tree t = parseText(c.text);
        ASSERT_TRUE(engineState().parseOK) << c.text;
        const SignEstimate e(t.get());
        EXPECT_EQ(e.modelled(), c.modelled) << c.text;
        EXPECT_EQ(e.saves(), c.saves) << c.text;
    }
    EXPECT_FALSE(SignEstimate(nullptr).modelled());
    EXPECT_EQ(SignEstimate().signAt(1, 1), 0);
}

// Random points, half of them within a hair of a zero of the formula along
// x (found by bisection in 80-bit arithmetic): the evaluation must lie in
// every range given, and a sign given must be its sign.
TEST(SignEstimate, TheEvaluationLiesInEveryRangeItGives)
{
    const char *formulas[] = {
        "sin(x)+sin(y)-1.5",
        "sin(2x)*cos(y)-0.3",
        "x*sin(y)+y*cos(x)-1",
        "sin(x*y)-cos(x)^2/2+abs(y)/7",
        "cos(x)/(2+sin(y))-0.25",
        "sin(x)/y-0.5",                // a divisor that may come close to 0
        "-(x^2+y^2)^2+8(x^2-y^2)+n*sin(100x)",
        "(x^32)^32*sin(y)-1",          // beyond double range wherever |x| > 2
    };
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> coordinate(-12, 12);
    std::uniform_int_distribution<int> hairExponent(-19, -6);
    engineState().variables.params = Parameters::defaults();
    EvaluationBudget budget(~std::uint64_t{0} / 2);
    for (const char *text : formulas) {
        Tree t = parseText(text);
        ASSERT_TRUE(engineState().parseOK) << text;
        Program p(t.get());
        const SignEstimate e(t.get());
        // Points far from a zero, near one, and a hair of at least 1e-12 away
        // from one; how many of each got a sign.
        int far = 0, near = 0, wide = 0, farSigns = 0, nearSigns = 0, wideSigns = 0, ranges = 0;
        for (int k = 0; k < 4000; ++k) {
            long double x = coordinate(random), y = coordinate(random);
            int hair = 0;
            if (k % 2) {
                // Bisect F(·, y) on [x, x + 1] where it changes sign there,
                // then step a hair away from the root found.
                auto f = [&](long double u) {
                    engineState().evalValid = true;
                    return p.evaluate(u, y);
                };
                long double a = x, b = x + 1, fa = f(a), fb = f(b);
                if (!(signOf(fa) * signOf(fb) < 0))
                    continue;
                for (int n = 0; n < 80; ++n) {
                    const long double m = (a + b) / 2, fm = f(m);
                    (signOf(fm) == signOf(fa) ? a : b) = m;
                    fa = signOf(fm) == signOf(fa) ? fm : fa;
                }
                hair = hairExponent(random);
                x = a + (k % 4 == 1 ? 1 : -1) * std::pow(10.0L, hair);
            }
            engineState().evalValid = true;
            const long double v = p.evaluate(x, y);
            const bool valid = engineState().evalValid;
            SignEstimate::Range r;
            if (!e.estimate(x, y, r))
                continue;
            ++ranges;
            ASSERT_TRUE(valid) << text << " at " << static_cast<double>(x) << ", " << static_cast<double>(y);
            ASSERT_LE(std::fabs(v - r.value), static_cast<long double>(r.bound))
                << text << " at " << static_cast<double>(x) << ", " << static_cast<double>(y);
            const int s = e.signAt(x, y);
            if (s) {
                ASSERT_EQ(s, signOf(v)) << text << " at " << static_cast<double>(x);
            }
            (hair ? near : far) += 1;
            (hair ? nearSigns : farSigns) += s != 0;
            if (hair >= -12) {
                wide += hair != 0;
                wideSigns += hair != 0 && s != 0;
            }
        }
        if (std::string(text).starts_with("(x^32)")) {
            EXPECT_LT(ranges, 1000);
            continue;
        }
        // Far from the curve the sign is told nearly everywhere, and still
        // mostly a millionth of a millionth away from it.
        EXPECT_GT(farSigns, far * 99 / 100) << text;
        EXPECT_GT(wideSigns, wide * 9 / 10) << text;
        EXPECT_GT(near, 10) << text;
        EXPECT_LT(nearSigns, near) << text; // not at 1e-19
    }
}

} // namespace gq
