// The mean rate of change between A and B: entering the points, the read-outs,
// the arrows and their snap, B's approach to A, and the zoom about A.
#include "model/equation_file.h"
#include "tangent_test_util.h"
#include "tools/mean_rate.h"

#include <deque>

namespace gq
{

class MeanRateTest : public CalculusToolTest
{
  protected:
    // Opens on f with A and B at the given abscissa texts.
    void openWith(const std::string &f, const std::string &a, const std::string &b, const GraphView &v)
    {
        setFunction(f);
        ASSERT_TRUE(rate.open(doc, v));
        ASSERT_TRUE(rate.enterPoint(MeanRatePoint::A, a));
        ASSERT_TRUE(rate.enterPoint(MeanRatePoint::B, b));
        ASSERT_TRUE(rate.showPoints());
        rate.updateReadouts();
    }

    MeanRate rate;
};

TEST_F(MeanRateTest, ParabolaFromOneToThreeAndBroughtToA)
{
    openWith("x^2", "1", "3", view(-5, 5, -5, 5));
    EXPECT_EQ(rate.texts().a, "(1.00000 , 1.00000)");
    EXPECT_EQ(rate.texts().b, "(3.00000 , 9.00000)");
    EXPECT_EQ(rate.texts().dy, "8.00000");
    EXPECT_EQ(rate.texts().dx, "2.00000");
    EXPECT_EQ(rate.texts().rate, "4.0000");

    int ticks = 0;
    long double last = rate.bx();
    while (rate.approachTick()) {
        ++ticks;
        ASSERT_LT(rate.bx(), last) << "B moves towards A every tick";
        ASSERT_GT(rate.bx(), rate.ax()) << "and never passes it";
        last = rate.bx();
        ASSERT_TRUE(rate.showPoints());
        rate.updateReadouts();
    }
    // Each band ends one step below its bound (d goes 1, 0.09, 0.009, ...):
    // 10 steps of 0.1, 91 of 0.01, then 81 of each smaller step.
    EXPECT_EQ(ticks, 10 + 91 + 81 + 81 + 81);
    EXPECT_EQ(rate.moveStep(), 0);
    EXPECT_LE(rate.bx() - rate.ax(), 0.0001L);
    EXPECT_GT(rate.bx() - rate.ax(), 0.00008L);
    EXPECT_EQ(rate.texts().rate, "2.0001");
    EXPECT_EQ(rate.texts().dx, "0.00009");
    // A tick after the end changes nothing.
    EXPECT_FALSE(rate.approachTick());
    EXPECT_EQ(rate.bx(), last);
}

TEST_F(MeanRateTest, ApproachStepsShrinkByTheDistanceAndKeepItsSign)
{
    EXPECT_EQ(approachStep(2), 0.1f);
    EXPECT_EQ(approachStep(1.0000001L), 0.1f);
    EXPECT_EQ(approachStep(1), 0.01f);
    EXPECT_EQ(approachStep(-0.5L), -0.01f);
    EXPECT_EQ(approachStep(0.1L), 0.001f);
    EXPECT_EQ(approachStep(0.05L), 0.001f);
    EXPECT_EQ(approachStep(-0.01L), -0.0001f);
    EXPECT_EQ(approachStep(0.005L), 0.0001f);
    EXPECT_EQ(approachStep(0.001L), 0.00001f);
    EXPECT_EQ(approachStep(0.0002L), 0.00001f);
    EXPECT_EQ(approachStep(0.0001L), 0.0f);
    EXPECT_EQ(approachStep(0), 0.0f);
    EXPECT_EQ(approachStep(std::nanl("")), 0.0f);

    // B to the left of A comes up from the left.
    openWith("x^2", "1", "-1", view(-5, 5, -5, 5));
    while (rate.approachTick())
        ASSERT_LT(rate.bx(), rate.ax());
    EXPECT_GE(rate.bx() - rate.ax(), -0.0001L);
}

TEST_F(MeanRateTest, AnApproachThatCannotMoveBEndsAtOnce)
{
    // 0.1 is below the precision of 10^30: B would never move.
    openWith("1", "0", "10^30", view(-5, 5, -5, 5));
    const long double b = rate.bx();
    EXPECT_GT(b, 1e29L);
    EXPECT_FALSE(rate.approachTick());
    EXPECT_EQ(rate.bx(), b);
}

TEST_F(MeanRateTest, EqualPointsKeepTheRateText)
{
    openWith("x^2", "1", "3", view(-5, 5, -5, 5));
    ASSERT_TRUE(rate.enterPoint(MeanRatePoint::B, "1"));
    rate.updateReadouts();
    EXPECT_EQ(rate.texts().b, "(1.00000 , 1.00000)");
    EXPECT_EQ(rate.texts().dx, "0.00000");
    EXPECT_EQ(rate.texts().rate, "4.0000");
}

TEST_F(MeanRateTest, ArrowStepsAreOneOrTwoPixelsAndPointsCloserThanAStepAreNotShown)
{
    // 640 pixels over a width of 32: a pixel is 0.05.
    const GraphView v = view(-16, 16, -16, 16);
    openWith("x^2", "0", "0.05", v);
    EXPECT_FALSE(rate.moveArrow(MeanRateArrow::BLeft));
    EXPECT_EQ(rate.moveStep(), 0.05f);
    EXPECT_EQ(rate.bx(), 0) << "snapped";
    EXPECT_EQ(rate.bx(), rate.ax());
    // Ten pixels apart or more: two pixels per click.
    openWith("x^2", "0", "1", v);
    EXPECT_TRUE(rate.moveArrow(MeanRateArrow::BRight));
    EXPECT_EQ(rate.moveStep(), 0.1f);
    EXPECT_EQ(rate.bx(), 1 + static_cast<long double>(0.1f));
    EXPECT_TRUE(rate.moveArrow(MeanRateArrow::ALeft));
    EXPECT_EQ(rate.ax(), -static_cast<long double>(0.1f));
}

TEST_F(MeanRateTest, AStepJustPastAnIntegerSnapsOntoIt)
{
    const GraphView v = view(-16, 16, -16, 16);
    openWith("x^2", "1.9", "10", v);
    EXPECT_TRUE(rate.moveArrow(MeanRateArrow::ARight));
    EXPECT_EQ(rate.moveStep(), 0.1f);
    EXPECT_EQ(rate.ax(), 2);
    // Truncation toward zero: only just beyond an integer, away from zero.
    EXPECT_EQ(snapToInteger(2.004L, 0.01f), 2);
    EXPECT_EQ(snapToInteger(1.996L, 0.01f), 1.996L);
    EXPECT_EQ(snapToInteger(-2.004L, 0.01f), -2);
    EXPECT_EQ(snapToInteger(-1.996L, 0.01f), -1.996L);
    // Going left from 2.1 lands just below 2 and stays there.
    openWith("x^2", "2.1", "10", v);
    rate.moveArrow(MeanRateArrow::ALeft);
    EXPECT_LT(rate.ax(), 2);
    EXPECT_GT(rate.ax(), 1.99L);
}

TEST_F(MeanRateTest, AMoveOntoAnUndefinedPointRedrawsNothing)
{
    const GraphView v = view(-16, 16, -16, 16);
    openWith("1/x", "1", "0.1", v);
    const MeanRateTexts before = rate.texts();
    EXPECT_TRUE(rate.moveArrow(MeanRateArrow::BLeft));
    EXPECT_EQ(rate.bx(), 0);
    EXPECT_FALSE(rate.showPoints());
    EXPECT_EQ(rate.texts().b, before.b);
}

TEST_F(MeanRateTest, TypedPointsMustBeDefinedAndACancelledPromptMayEndTheQuestion)
{
    setFunction("1/x");
    ASSERT_TRUE(rate.open(doc, view(-5, 5, -5, 5)));
    std::deque<std::string> answers{"0", "log(0)", "-2*2"};
    std::vector<bool> retries;
    const auto ask = [&](bool retry) {
        retries.push_back(retry);
        std::string a = answers.front();
        answers.pop_front();
        return a;
    };
    EXPECT_TRUE(askPoint(rate, MeanRatePoint::A, ask));
    EXPECT_EQ(retries, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(rate.ax(), -4);
    EXPECT_EQ(rate.ay(), -0.25L);
    // A cancelled prompt stands for 0, which 1/x refuses: the question ends.
    answers = {""};
    EXPECT_FALSE(askPoint(rate, MeanRatePoint::B, ask));
    // Where f is defined at 0, a cancelled prompt puts the point there.
    setFunction("x^2");
    ASSERT_TRUE(rate.open(doc, view(-5, 5, -5, 5)));
    answers = {""};
    EXPECT_TRUE(askPoint(rate, MeanRatePoint::B, ask));
    EXPECT_EQ(rate.bx(), 0);
}

TEST_F(MeanRateTest, EnlargingHalvesTheFrameAboutAUntilItIsNarrowerThanFourHundredths)
{
    openWith("x^2", "1", "3", view(-10, 10, -10, 10));
    CoordFrame frame{-10, 10, -10, 10};
    std::vector<long double> widths;
    for (int i = 0; i < 12; ++i) {
        rate.zoom(MeanRateZoom::Enlarge, frame);
        widths.push_back(frame.xmax - frame.xmin);
        EXPECT_EQ((frame.xmin + frame.xmax) / 2, 1);
        EXPECT_EQ((frame.ymin + frame.ymax) / 2, 1);
        ASSERT_TRUE(rate.showPoints());
    }
    EXPECT_EQ(widths, (std::vector<long double>{10, 5, 2.5L, 1.25L, 0.625L, 0.3125L, 0.15625L, 0.078125L,
                                                0.0390625L, 0.0390625L, 0.0390625L, 0.0390625L}));
    EXPECT_TRUE(rate.zoomHeld());
    EXPECT_EQ(rate.heldFrame(), (CoordFrame{-10, 10, -10, 10}));
}

TEST_F(MeanRateTest, RestoringAfterSeveralZoomsGivesTheFrameOfBeforeTheFirst)
{
    openWith("x^2", "1", "3", view(-5, 5, -5, 5));
    CoordFrame frame{-5, 5, -4, 6};
    rate.zoom(MeanRateZoom::Reduce, frame);
    EXPECT_EQ(frame, (CoordFrame{-9, 11, -9, 11}));
    rate.zoom(MeanRateZoom::Enlarge, frame);
    rate.zoom(MeanRateZoom::Enlarge, frame);
    rate.zoom(MeanRateZoom::Reduce, frame);
    EXPECT_TRUE(rate.zoom(MeanRateZoom::Restore, frame));
    EXPECT_EQ(frame, (CoordFrame{-5, 5, -4, 6}));
    EXPECT_FALSE(rate.zoomHeld());
    // Nothing held: restoring again changes nothing.
    EXPECT_FALSE(rate.zoom(MeanRateZoom::Restore, frame));
    // A new opening holds nothing, whatever the frame.
    rate.zoom(MeanRateZoom::Reduce, frame);
    ASSERT_TRUE(rate.open(doc, view(-5, 5, -5, 5)));
    EXPECT_FALSE(rate.zoomHeld());
}

TEST_F(MeanRateTest, ReducingStopsBeforeTheFrameLeavesWhatADocumentCanHold)
{
    openWith("x^2", "1", "3", view(-5, 5, -5, 5));
    CoordFrame frame{-5, 5, -5, 5};
    for (int i = 0; i < 20; ++i) {
        rate.zoom(MeanRateZoom::Reduce, frame);
        ASSERT_TRUE(isValidFrame(frame)) << i;
    }
    EXPECT_EQ(frame, (CoordFrame{-5119, 5121, -5119, 5121}));

    // The document written with that frame reads back.
    doc.frame = frame;
    std::vector<std::string> lines;
    QString error;
    ASSERT_TRUE(equationFileLines(doc, lines, error));
    EXPECT_TRUE(readEquationLines(lines).ok());
}

} // namespace gq
