// Riemann sums: the four kinds, their strips, the steps of n and the typed
// bounds.
#include "tools/riemann_sums.h"
#include "tools/tools_test_util.h"
#include <vector>

namespace gq
{

namespace
{

class RiemannSumTest : public ToolsTest
{
  protected:
    // The sum shown in "0.0000", or "undefined".
    std::string sum(const std::string &f, SumKind kind, long double a, long double b, int n,
                    long double pixel = 10.0L / 640)
    {
        Program p = program(f);
        const SumResult r = riemannSum(p, kind, a, b, n, pixel);
        return r.defined ? formatFixed(r.sum, "0.0000") : "undefined";
    }
};

// n after one tick from each value.
std::vector<int> holding(int from, bool increase, int ticks)
{
    std::vector<int> out;
    for (int n = from; ticks-- > 0;)
        out.push_back(n = stepDivisions(n, increase));
    return out;
}

} // namespace

TEST_F(RiemannSumTest, FourKindsOfSumOfXSquaredOnZeroToOneWithTwoStrips)
{
    EXPECT_EQ(sum("x^2", SumKind::Upper, 0, 1, 2), "0.6250");
    EXPECT_EQ(sum("x^2", SumKind::Lower, 0, 1, 2), "0.1250");
    EXPECT_EQ(sum("x^2", SumKind::Trapezoid, 0, 1, 2), "0.3750");
    EXPECT_EQ(sum("x^2", SumKind::Simpson, 0, 1, 2), "0.3333");
    // More strips close in on 1/3 from both sides.
    EXPECT_EQ(sum("x^2", SumKind::Upper, 0, 1, 1000), "0.3338");
    EXPECT_EQ(sum("x^2", SumKind::Lower, 0, 1, 1000), "0.3328");
}

TEST_F(RiemannSumTest, UpperAndLowerSumsTakeTheExtremesInsideEachStrip)
{
    // A hump on [0, 2] in one strip: the upper sum finds its top at x = 1
    // among the samples, the lower sum the ends.
    EXPECT_EQ(sum("2x-x^2", SumKind::Upper, 0, 2, 1), "2.0000");
    EXPECT_EQ(sum("2x-x^2", SumKind::Lower, 0, 2, 1), "0.0000");
    // Below the axis the heights are negative: x on [-1, 0].
    EXPECT_EQ(sum("x", SumKind::Upper, -1, 0, 2), "-0.2500");
    EXPECT_EQ(sum("x", SumKind::Lower, -1, 0, 2), "-0.7500");
}

TEST_F(RiemannSumTest, TheLastStripEndsExactlyAtB)
{
    Program f = program("1");
    std::vector<Strip> strips;
    const SumResult r =
        riemannSum(f, SumKind::Trapezoid, 0, 1, 3, 10.0L / 640, [&](const Strip &s) { strips.push_back(s); });
    ASSERT_EQ(strips.size(), 3u);
    EXPECT_EQ(strips[0].xl, 0);
    EXPECT_EQ(strips[1].xl, strips[0].xr);
    EXPECT_EQ(strips[2].xr, 1);
    EXPECT_EQ(strips[2].dx, 1 - strips[2].xl);
    EXPECT_EQ(formatFixed(r.sum, "0.0000"), "1.0000");
}

TEST_F(RiemannSumTest, XOnMinusOneToOneHasATrapezoidSumOfZero)
{
    EXPECT_EQ(sum("x", SumKind::Trapezoid, -1, 1, 2), "0.0000");
    EXPECT_EQ(sum("x", SumKind::Simpson, -1, 1, 2), "0.0000");
}

TEST_F(RiemannSumTest, AReciprocalIsUndefinedOnlyWhenASampleFallsOnZero)
{
    for (SumKind kind : {SumKind::Upper, SumKind::Lower, SumKind::Trapezoid, SumKind::Simpson})
        EXPECT_EQ(sum("1/x", kind, -1, 1, 2), "undefined") << static_cast<int>(kind);
    // Three strips: the ends and the strip bounds miss 0 ...
    EXPECT_EQ(sum("1/x", SumKind::Trapezoid, -1, 1, 3), "0.0000");
    // ... but the midpoint of a single Simpson strip is 0.
    EXPECT_EQ(sum("1/x", SumKind::Simpson, -1, 1, 1), "undefined");
    // The upper sum samples [-1/3, 1/3] from -1/3 on, which never hits 0.
    EXPECT_NE(sum("1/x", SumKind::Upper, -1, 1, 3), "undefined");
}

TEST_F(RiemannSumTest, AReversedIntervalIsComputedAsTyped)
{
    EXPECT_EQ(sum("x^2", SumKind::Trapezoid, 1, 0, 2), "-0.3750");
    EXPECT_EQ(sum("x^2", SumKind::Upper, 1, 0, 2), "-0.6250");
}

TEST(DivisionSteps, OneSignificantDigitSnappedToTheStep)
{
    EXPECT_EQ(stepDivisions(19, true), 20);
    EXPECT_EQ(stepDivisions(20, true), 22);
    EXPECT_EQ(stepDivisions(25, true), 26) << "RoundEven(2.5) = 2";
    EXPECT_EQ(stepDivisions(48, true), 55) << "step 5, snapped to 50";
    EXPECT_EQ(stepDivisions(99, true), 110) << "step 10, snapped to 100";
    EXPECT_EQ(stepDivisions(150, true), 180) << "step RoundEven(1.5) * 10 = 20, snapped to 160";
    EXPECT_EQ(stepDivisions(2, false), 2);
    EXPECT_EQ(stepDivisions(3, false), 2);
}

TEST(DivisionSteps, HoldingIncreaseFromTwoAndDecreaseFromThreeHundred)
{
    std::vector<int> up = holding(2, true, 48);
    const std::vector<int> expectedUp = {3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,
                                         15,  16,  17,  18,  19,  20,  22,  24,  26,  30,  33,  36,
                                         40,  44,  48,  55,  60,  66,  70,  77,  88,  99,  110, 120,
                                         130, 140, 150, 180, 200, 220, 240, 260, 300, 330, 360, 400};
    EXPECT_EQ(up, expectedUp);

    const std::vector<int> down = holding(300, false, 43);
    const std::vector<int> expectedDown = {
        270, 240, 220, 200, 180, 160, 140, 130, 120, 110, 100, 90, 81, 72, 63, 54, 50, 45, 40, 36, 32, 30,
        27,  24,  22,  20,  18,  17,  16,  15,  14,  13,  12,  11, 10, 9,  8,  7,  6,  5,  4,  3,  2};
    EXPECT_EQ(down, expectedDown);
}

TEST(DivisionSteps, IncreaseStopsAtTheCapAndDecreaseLeavesIt)
{
    EXPECT_EQ(stepDivisions(9000, true), 9900);
    EXPECT_EQ(stepDivisions(9900, true), kMaxDivisions);
    EXPECT_EQ(stepDivisions(kMaxDivisions, true), kMaxDivisions);
    EXPECT_EQ(stepDivisions(kMaxDivisions, false), 9000);
    // Held long enough, n reaches the cap and stays there.
    const std::vector<int> held = holding(2, true, 200);
    EXPECT_EQ(held.back(), kMaxDivisions);
    for (int n : held)
        EXPECT_LE(n, kMaxDivisions);
}

TEST_F(RiemannSumTest, TypedBoundsAreHeldInSinglePrecision)
{
    float bound = 0;
    ASSERT_TRUE(boundValue("0.1", bound));
    EXPECT_EQ(bound, 0.1f);
    EXPECT_NE(static_cast<long double>(bound), 0.1L);
    // The sums start from that value: a tall constant shows the difference.
    EXPECT_EQ(sum("1000000", SumKind::Trapezoid, bound, 1, 2), "899999.9985");
    ASSERT_TRUE(boundValue("2" + std::string("\x83\xCE"), bound)); // 2π
    EXPECT_EQ(bound, static_cast<float>(2 * 3.14159265358979323846L));
    EXPECT_TRUE(boundValue("Sum(i=[1,3],i)", bound)) << "sums are expanded";
    EXPECT_EQ(bound, 6.0f);
    EXPECT_FALSE(boundValue("sqrt(-1)", bound));
    EXPECT_FALSE(boundValue("1+", bound));
    EXPECT_FALSE(boundValue("10^100", bound)) << "beyond single precision";
}

} // namespace gq
