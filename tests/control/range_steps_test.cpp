// The range dialog's arithmetic: the fourteen steps, whole-number snapping,
// the limits, typed bounds and the panel texts.
#include "control/range_steps.h"
#include "control/scripted_questions.h"
#include <gtest/gtest.h>
#include <limits>

namespace gq
{

namespace
{
CoordFrame frame(long double xmin, long double xmax, long double ymin, long double ymax)
{
    return CoordFrame{xmin, xmax, ymin, ymax};
}

::testing::AssertionResult sameFrame(const CoordFrame &got, const CoordFrame &want)
{
    if (got == want)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "[" << double(got.xmin) << ", " << double(got.xmax) << "] x ["
                                         << double(got.ymin) << ", " << double(got.ymax) << "]";
}

bool singlePrecision(long double v)
{
    return static_cast<long double>(static_cast<float>(v)) == v;
}
} // namespace

TEST(RangeStep, EveryOperationFromTheDefaultFrame)
{
    struct Case {
        int code;
        CoordFrame want;
    };
    const Case cases[] = {
        {StepXMinUp, frame(-4.5, 5, -5, 5)},    {StepXMinDown, frame(-5.5, 5, -5, 5)},
        {StepXMaxUp, frame(-5, 5.5, -5, 5)},    {StepXMaxDown, frame(-5, 4.5, -5, 5)},
        {StepYMinUp, frame(-5, 5, -4.5, 5)},    {StepYMinDown, frame(-5, 5, -5.5, 5)},
        {StepYMaxUp, frame(-5, 5, -5, 5.5)},    {StepYMaxDown, frame(-5, 5, -5, 4.5)},
        {StepLeft, frame(-5.5, 4.5, -5, 5)},    {StepRight, frame(-4.5, 5.5, -5, 5)},
        {StepUp, frame(-5, 5, -4.5, 5.5)},      {StepDown, frame(-5, 5, -5.5, 4.5)},
        {StepZoomOut, frame(-10, 10, -10, 10)}, {StepZoomIn, frame(-2.5, 2.5, -2.5, 2.5)},
    };
    for (const Case &c : cases) {
        CoordFrame f;
        EXPECT_TRUE(applyRangeStep(f, c.code)) << c.code;
        EXPECT_TRUE(sameFrame(f, c.want)) << "code " << c.code;
    }
    for (int code : {0, 15, -1}) {
        CoordFrame f;
        EXPECT_FALSE(applyRangeStep(f, code));
        EXPECT_TRUE(sameFrame(f, CoordFrame{}));
    }
}

TEST(RangeStep, SpansOfTwentyOrMoreSnapToWholeNumbers)
{
    CoordFrame f = frame(-10, 10, -10, 10);
    applyRangeStep(f, StepXMinUp);
    EXPECT_EQ(f.xmin, -9.0L) << "a step of exactly 1";

    // Span 20.7: the step 1.035 becomes 1, the bounds -10 and 10 first.
    f = frame(-10.3, 10.4, -1, 1);
    applyRangeStep(f, StepXMinUp);
    EXPECT_TRUE(sameFrame(f, frame(-9, 10, -1, 1)));
    // Each axis on its own: moving y snaps the wide x range, not the narrow
    // y range, which moves by 5 % of its span.
    f = frame(-10.3, 10.4, -1, 1);
    applyRangeStep(f, StepUp);
    EXPECT_TRUE(f.xmin == -10 && f.xmax == 10);
    EXPECT_FLOAT_EQ(static_cast<float>(f.ymin), -0.9f);
    EXPECT_FLOAT_EQ(static_cast<float>(f.ymax), 1.1f);

    // Span 100: whole steps of 5.
    f = frame(-50.5, 49.5, -5, 5);
    applyRangeStep(f, StepRight);
    EXPECT_TRUE(sameFrame(f, frame(-45, 55, -5, 5))) << "-50.5 rounds to -50 (halves to even)";
}

TEST(RangeStep, WorksInSinglePrecision)
{
    CoordFrame f = frame(0.1L, 1.1L, -0.3L, 0.7L);
    for (int code = 1; code <= 14; ++code) {
        CoordFrame g = f;
        ASSERT_TRUE(applyRangeStep(g, code)) << code;
        EXPECT_TRUE(singlePrecision(g.xmin) && singlePrecision(g.xmax) && singlePrecision(g.ymin) &&
                    singlePrecision(g.ymax))
            << code;
    }
}

TEST(RangeStep, ZoomingInStopsAtTheSmallestSpan)
{
    CoordFrame f;
    int accepted = 0;
    while (applyRangeStep(f, StepZoomIn))
        ++accepted;
    EXPECT_EQ(accepted, 7) << "10 / 2^7 = 0.078; one more would be 0.039";
    EXPECT_EQ(f.xmax - f.xmin, 10.0L / 128);
    EXPECT_TRUE(isValidFrame(f));

    // A bound step that would leave less than 0.04 is refused too.
    f = frame(0, 0.04, 0, 1);
    EXPECT_FALSE(applyRangeStep(f, StepXMinUp));
    EXPECT_FALSE(applyRangeStep(f, StepXMaxDown));
    EXPECT_TRUE(applyRangeStep(f, StepXMaxUp));
}

TEST(RangeStep, ZoomingOutStopsAtTenThousand)
{
    CoordFrame f;
    int accepted = 0;
    while (applyRangeStep(f, StepZoomOut))
        ++accepted;
    EXPECT_EQ(accepted, 10);
    EXPECT_TRUE(sameFrame(f, frame(-5120, 5120, -5120, 5120)));

    // A step may reach the limit exactly, not pass it.
    f = frame(-500, 9500, -1, 1);
    EXPECT_TRUE(applyRangeStep(f, StepXMaxUp));
    EXPECT_EQ(f.xmax, 10000.0L);
    EXPECT_FALSE(applyRangeStep(f, StepXMaxUp));
    EXPECT_FALSE(applyRangeStep(f, StepRight));
    EXPECT_EQ(f.xmax, 10000.0L);
    f = frame(-5000, 5000, -5000, 5000);
    EXPECT_TRUE(applyRangeStep(f, StepZoomOut));
    EXPECT_TRUE(sameFrame(f, frame(-10000, 10000, -10000, 10000)));
    EXPECT_FALSE(applyRangeStep(f, StepLeft));
    EXPECT_FALSE(applyRangeStep(f, StepDown));
}

TEST(TypedBound, StrictLimitsAndNoMinimumSpan)
{
    CoordFrame f;
    EXPECT_FALSE(applyTypedBound(f, RangeBound::XMax, 10000)) << "typed 10000 is refused";
    EXPECT_FALSE(applyTypedBound(f, RangeBound::XMin, -10000));
    EXPECT_FALSE(applyTypedBound(f, RangeBound::YMax, 10000));
    EXPECT_FALSE(applyTypedBound(f, RangeBound::YMin, -10000));
    EXPECT_TRUE(sameFrame(f, CoordFrame{}));
    EXPECT_TRUE(applyTypedBound(f, RangeBound::XMax, 9999.5));
    EXPECT_EQ(f.xmax, 9999.5L);

    f = CoordFrame{};
    EXPECT_FALSE(applyTypedBound(f, RangeBound::XMin, 5)) << "not below xmax";
    EXPECT_FALSE(applyTypedBound(f, RangeBound::XMin, 6));
    EXPECT_FALSE(applyTypedBound(f, RangeBound::YMax, -5));
    EXPECT_FALSE(applyTypedBound(f, RangeBound::YMin, std::numeric_limits<long double>::quiet_NaN()));
    EXPECT_TRUE(sameFrame(f, CoordFrame{}));
    EXPECT_TRUE(applyTypedBound(f, RangeBound::XMin, 4.999L)) << "a span of 0.001 may be typed";
    EXPECT_EQ(f.xmin, 4.999L);
    EXPECT_TRUE(acceptsTypedFrame(f));
    EXPECT_FALSE(acceptsTypedFrame(frame(-1, 10000, -1, 1)));
}

TEST(TypedBound, AskedOnTheKeyboardAndEvaluatedAsANumberFormula)
{
    Document doc;
    ScriptedQuestions ask;
    doc.constantTexts[1] = "3";
    doc.constantCount = 1;
    doc.parameters['a'] = 2;

    ask.keyboardAnswers = {"2\x83\xCE"}; // 2π
    EXPECT_TRUE(askRangeBound(doc, ask, RangeBound::XMax));
    EXPECT_NEAR(static_cast<double>(doc.frame.xmax), 6.283185307179586, 1e-12);
    ASSERT_EQ(ask.keyboardRequests.size(), 1u);
    EXPECT_EQ(ask.keyboardRequests[0].caption, QStringLiteral("ｘの上限"));
    EXPECT_EQ(ask.keyboardRequests[0].layout, 2);

    ask.keyboardAnswers = {"-Q1*a"};
    EXPECT_TRUE(askRangeBound(doc, ask, RangeBound::YMin));
    EXPECT_EQ(doc.frame.ymin, -6.0L);
    EXPECT_EQ(ask.keyboardRequests.back().caption, QStringLiteral("ｙの下限"));

    const CoordFrame before = doc.frame;
    for (const char *answer : {"", "log(0)", "10000", "7"}) { // cancelled, no value, limit, not below xmax
        ask.keyboardAnswers = {answer};
        EXPECT_FALSE(askRangeBound(doc, ask, RangeBound::XMin)) << answer;
        EXPECT_TRUE(sameFrame(doc.frame, before)) << answer;
    }
    EXPECT_EQ(boundPrompt(RangeBound::XMin), QStringLiteral("ｘの下限"));
    EXPECT_EQ(boundPrompt(RangeBound::YMax), QStringLiteral("ｙの上限"));
}

TEST(RangePanels, DecimalsFollowTheSpan)
{
    EXPECT_EQ(boundPanelText(-5, 10), "-5.0");
    EXPECT_EQ(boundPanelText(2.25, 9.99), "2.25");
    EXPECT_EQ(boundPanelText(2.25, 1), "2.25");
    EXPECT_EQ(boundPanelText(0.1234, 0.5), "0.123");
    EXPECT_EQ(boundPanelText(-0.0004, 0.5), "0.000");
    EXPECT_EQ(boundPanelText(10000, 20000), "10000.0");
}

} // namespace gq
