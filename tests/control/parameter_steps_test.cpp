// The parameter window's arithmetic: increments, the step with its rounding
// to three decimals, integer j and n, θ as a multiple of π, the keys of a
// row, the texts shown and the limits of single precision.
#include "control/parameter_steps.h"
#include <gtest/gtest.h>
#include <numbers>

namespace gq
{

namespace
{
struct Steps : ::testing::Test {
    ParameterSteps steps;
    Parameters values = Parameters::defaults();
    void stepTimes(int n)
    {
        for (int k = 0; k < n; ++k)
            steps.step(values);
    }
};
} // namespace

TEST(RoundTo3, RoundsToThreeDecimalsAsTheWindowShowsThem)
{
    EXPECT_EQ(roundTo3(1.23456L), 1.235L);
    EXPECT_EQ(roundTo3(-2.0004L), -2.0L);
    EXPECT_EQ(roundTo3(0.30000000447L), 0.3L);
    // A value that shows as "-0.000" is plain zero, without a sign.
    EXPECT_FALSE(std::signbit(roundTo3(-0.0004L)));
    EXPECT_EQ(roundTo3(12345.6789L), 12345.679L);
}

TEST_F(Steps, TwoPlusPressesThenOneStepGiveTwoTenths)
{
    EXPECT_EQ(steps.stepWidth(), 0.1f) << "the third step width is chosen at the start";
    steps.plus(RowA);
    steps.plus(RowA);
    EXPECT_EQ(steps.incrementText(RowA), QStringLiteral("0.200"));
    EXPECT_EQ(steps.valueText(RowA, values), QStringLiteral("0.000"));
    steps.step(values);
    EXPECT_EQ(values['a'], 0.2f);
    EXPECT_EQ(steps.valueText(RowA, values), QStringLiteral("0.200"));
}

TEST_F(Steps, ThirtyStepsOfOneTenthGiveExactlyThree)
{
    steps.plus(RowB);
    stepTimes(30);
    EXPECT_EQ(values['b'], 3.0f) << "rounding after every step keeps the value on three decimals";
    EXPECT_EQ(steps.valueText(RowB, values), QStringLiteral("3.000"));
    // Going back down lands exactly on zero again, not on a tiny remainder.
    steps.minus(RowB);
    steps.minus(RowB);
    stepTimes(30);
    EXPECT_EQ(values['b'], 0.0f);
}

TEST_F(Steps, ThetaIsKeptAsAMultipleOfPi)
{
    steps.setStepWidthIndex(3); // 0.01
    for (int k = 0; k < 25; ++k)
        steps.plus(RowTheta);
    EXPECT_EQ(steps.incrementText(RowTheta), QStringLiteral("0.250"));
    steps.step(values);
    EXPECT_EQ(steps.valueText(RowTheta, values), QStringLiteral("0.250π"));
    EXPECT_EQ(steps.thetaMultiple(), 0.25L);
    EXPECT_EQ(values['s'], static_cast<float>(std::numbers::pi_v<long double> / 4));
    // Eight steps of π/4 are exactly 2π, whatever single precision does to θ.
    stepTimes(7);
    EXPECT_EQ(steps.thetaMultiple(), 2.0L);
    EXPECT_EQ(values['s'], static_cast<float>(2 * std::numbers::pi_v<long double>));
    steps.clear(RowTheta, values);
    EXPECT_EQ(steps.thetaMultiple(), 0.0L);
    EXPECT_EQ(values['s'], 0.0f);
}

TEST_F(Steps, JAndNAreIntegersStartingAtOne)
{
    steps.setStepWidthIndex(4); // the step width does not apply to j and n
    steps.plus(RowJ);
    steps.minus(RowN);
    steps.minus(RowN);
    EXPECT_EQ(steps.incrementText(RowJ), QStringLiteral("1"));
    EXPECT_EQ(steps.incrementText(RowN), QStringLiteral("-2"));
    stepTimes(3);
    EXPECT_EQ(values['j'], 4.0f);
    EXPECT_EQ(values['n'], -5.0f);
    EXPECT_EQ(steps.valueText(RowJ, values), QStringLiteral("4"));
    EXPECT_EQ(steps.valueText(RowN, values), QStringLiteral("-5"));
    steps.clear(RowN, values);
    EXPECT_EQ(values['n'], 1.0f) << "cl of n gives 1, not 0";
    steps.clear(RowJ, values);
    EXPECT_EQ(values['j'], 1.0f);
    steps.zero(RowN);
    EXPECT_EQ(steps.incrementText(RowN), QStringLiteral("0"));
}

TEST_F(Steps, RowKeysAndResetsTouchOnlyWhatTheySay)
{
    values['a'] = 1.5f;
    values['c'] = -2.25f;
    steps.setStepWidthIndex(0); // 10
    steps.minus(RowC);
    steps.setStepWidthIndex(1); // 1
    steps.plus(RowC);
    EXPECT_EQ(steps.incrementText(RowC), QStringLiteral("-9.000"));
    steps.plus(RowD);
    steps.zero(RowD);
    EXPECT_EQ(steps.incrementText(RowD), QStringLiteral("0.000"));
    steps.clear(RowA, values);
    EXPECT_EQ(values['a'], 0.0f);
    EXPECT_EQ(values['c'], -2.25f) << "cl clears its own row only";
    EXPECT_EQ(steps.valueText(RowC, values), QStringLiteral("-2.250"));

    steps.plus(RowF);
    steps.plus(RowJ);
    steps.resetIncrements();
    for (int r = 0; r < kParamRowCount; ++r)
        EXPECT_EQ(steps.increment(static_cast<ParamRow>(r)), 0.0L) << kRowLetters[r];
    EXPECT_EQ(values['c'], -2.25f) << "the values stay";

    steps.plus(RowTheta);
    steps.step(values);
    values['j'] = 7;
    steps.plus(RowB);
    steps.resetAll(values);
    EXPECT_EQ(values, Parameters::defaults());
    EXPECT_EQ(steps.thetaMultiple(), 0.0L);
    EXPECT_EQ(steps.increment(RowB), 0.0L);
    EXPECT_EQ(steps.stepWidthIndex(), 1) << "AC leaves the step width as chosen";
    steps.setStepWidthIndex(7); // no such entry
    EXPECT_EQ(steps.stepWidthIndex(), 1);
}

TEST_F(Steps, AStepWithoutIncrementStillRoundsTheValue)
{
    values['d'] = 1.23456f; // as a file may hold it
    const StepOutcome outcome = steps.step(values);
    EXPECT_EQ(values['d'], 1.235f);
    EXPECT_FALSE(outcome.anyHeld());
}

TEST_F(Steps, IntegersStopAtTheLimitInsteadOfOverflowing)
{
    values['j'] = static_cast<float>(kIntegerParameterLimit - 1);
    values['n'] = static_cast<float>(-kIntegerParameterLimit + 1);
    steps.plus(RowJ);
    steps.plus(RowJ);
    steps.minus(RowN);
    steps.minus(RowN);
    StepOutcome outcome = steps.step(values);
    EXPECT_EQ(values['j'], static_cast<float>(kIntegerParameterLimit));
    EXPECT_EQ(values['n'], static_cast<float>(-kIntegerParameterLimit));
    EXPECT_TRUE(outcome.held[RowJ]);
    EXPECT_TRUE(outcome.held[RowN]);
    EXPECT_FALSE(outcome.held[RowA]);
    outcome = steps.step(values); // and stay there
    EXPECT_EQ(values['j'], static_cast<float>(kIntegerParameterLimit));
    EXPECT_EQ(steps.valueText(RowJ, values), QStringLiteral("16777216"));
    // Every value up to the limit is exact in single precision: one step
    // back is one less.
    steps.zero(RowJ);
    steps.minus(RowJ);
    steps.step(values);
    EXPECT_EQ(values['j'], static_cast<float>(kIntegerParameterLimit - 1));
}

TEST_F(Steps, ARealStepThatWouldLoseItsDecimalsIsRefused)
{
    values['a'] = 16383.9f;
    values['b'] = 5.0f;
    steps.plus(RowA); // 0.1
    steps.plus(RowB);
    StepOutcome outcome = steps.step(values);
    EXPECT_EQ(values['a'], 16383.9f) << "16384.0 lies where single precision keeps no three decimals";
    EXPECT_TRUE(outcome.held[RowA]);
    EXPECT_EQ(values['b'], 5.1f) << "the other parameters still move";
    EXPECT_FALSE(outcome.held[RowB]);

    // A value far beyond the limit (a file may hold one) is kept as it is
    // rather than rounded into another.
    values['c'] = 3.0e38f;
    steps.step(values);
    EXPECT_EQ(values['c'], 3.0e38f);

    // Below the limit every three-decimal value survives single precision.
    values['a'] = 16383.0f;
    steps.zero(RowA);
    steps.setStepWidthIndex(4);
    for (int k = 0; k < 999; ++k)
        steps.plus(RowA);
    outcome = steps.step(values);
    EXPECT_FALSE(outcome.held[RowA]);
    EXPECT_EQ(steps.valueText(RowA, values), QStringLiteral("16383.999"));
}

TEST_F(Steps, ThetaStopsWhereSinglePrecisionLosesIt)
{
    steps.setStepWidthIndex(0);
    steps.plus(RowTheta); // 10π a step
    int moved = 0;
    while (!steps.step(values).held[RowTheta] && moved < 1000)
        ++moved;
    EXPECT_EQ(moved, 521) << "5210π is the last multiple of 10π below 16384";
    EXPECT_EQ(steps.valueText(RowTheta, values), QStringLiteral("5210.000π"));
}

TEST_F(Steps, AThetaSetElsewhereIsTakenOverAsItsMultiple)
{
    steps.setThetaFromRadians(static_cast<float>(std::numbers::pi / 2));
    EXPECT_EQ(steps.thetaMultiple(), 0.5L);
    steps.setThetaFromRadians(0.0f);
    EXPECT_EQ(steps.thetaMultiple(), 0.0L);
}

} // namespace gq
