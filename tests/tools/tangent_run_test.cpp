// The moving point of contact: its steps, the skipped stretches, the
// extremum rule, the arrows and the end of the run.
#include "tangent_test_util.h"
#include "tools/tangent_run.h"

#include <cmath>
#include <functional>
#include <vector>

namespace gq
{

namespace
{

// What one frame showed.
struct Frame {
    long double x, y, m, shown;
    std::string point, slope;
};

} // namespace

class TangentRunTest : public CalculusToolTest
{
  protected:
    // Opens a session: P is shown at once.
    void openShown(const GraphView &v)
    {
        ASSERT_TRUE(run.open(doc, v));
        ASSERT_TRUE(run.showable());
    }
    // Starts the run and ticks until it stops (at most limit ticks), keeping
    // the frames a window would draw.
    std::vector<Frame> runToEnd(int limit = 5000)
    {
        std::vector<Frame> frames;
        run.start();
        for (ticks = 0; run.running() && ticks < limit; ++ticks)
            if (run.tick() && run.showable()) {
                frames.push_back(
                    {run.x(), run.y(), run.slope(), run.shownSlope(), run.pointText(), run.slopeText()});
                run.noteFrameDrawn();
            }
        return frames;
    }

    TangentRun run;
    int ticks = 0;
};

TEST_F(TangentRunTest, EveryOpeningShowsPAtOnceAndNothingOfAnEarlierOneCarriesOver)
{
    setFunction("x^2");
    // P and the slope point are both visible at the left edge.
    const GraphView v = view(-5, 5, -10, 30);
    ASSERT_TRUE(run.open(doc, v));
    EXPECT_EQ(run.x(), -5);
    EXPECT_EQ(run.step(), v.xPerPixel());
    EXPECT_TRUE(run.showable());
    EXPECT_EQ(run.pointText(), "(-5.0000 , 25.0000)");
    EXPECT_EQ(run.slopeText(), "-10.0000");

    run.move(1); // the first click moves P
    EXPECT_EQ(run.x(), -5 + v.xPerPixel());
    EXPECT_EQ(run.prevX(), -5);
    EXPECT_EQ(run.pointText(), "(-4.9844 , 24.8440)");
    EXPECT_EQ(run.slopeText(), "-9.9688");
    run.move(-1);
    EXPECT_EQ(run.direction(), -1);

    // Reopened on a function defined nowhere in the frame: blank read-outs,
    // nothing to show, and the run goes right again.
    run.close();
    setFunction("sqrt(x-10)");
    ASSERT_TRUE(run.open(doc, v));
    EXPECT_FALSE(run.showable());
    EXPECT_EQ(run.pointText(), "");
    EXPECT_EQ(run.slopeText(), "");
    EXPECT_EQ(run.direction(), 1);
}

TEST_F(TangentRunTest, AFormulaThatDoesNotParseOpensNoSession)
{
    setFunction("x^");
    EXPECT_FALSE(run.open(doc, view(-5, 5, -5, 5)));
    EXPECT_FALSE(run.isOpen());
    run.start();
    EXPECT_FALSE(run.running());
    EXPECT_FALSE(run.tick());
}

TEST_F(TangentRunTest, ParabolaCrossingZeroOnASampleShowsTheVertex)
{
    // 640 pixels over [-5, 5]: a sample falls exactly on x = 0.
    setFunction("x^2");
    openShown(view(-5, 5, -5, 5));
    int vertexFrames = 0;
    for (const Frame &f : runToEnd()) {
        if (f.x != 0)
            continue;
        ++vertexFrames;
        EXPECT_EQ(f.shown, 0);
        EXPECT_EQ(f.point, "(0.0000 , 0.0000)");
        EXPECT_EQ(f.slope, "0.0000");
    }
    EXPECT_EQ(vertexFrames, 1);
}

TEST_F(TangentRunTest, ParabolaCrossingZeroBetweenSamplesUsesTheChordZeroOnlyBelowOnePixel)
{
    setFunction("x^2");
    // 701 pixels: the samples straddle 0 at about ±0.0071, where |f'| is
    // 0.0143. With y from -50 to 50 a pixel is 0.143: an extremum.
    openShown(view(-5, 5, -50, 50, 701));
    std::vector<Frame> frames = runToEnd();
    int crossings = 0;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        if (!(frames[i - 1].m < 0 && frames[i].m > 0))
            continue;
        ++crossings;
        EXPECT_NEAR(static_cast<double>(frames[i].x), 0.0071, 0.0001);
        EXPECT_EQ(frames[i].shown, 0);
        EXPECT_EQ(frames[i].point, "(0.0000 , 0.0000)");
        EXPECT_EQ(frames[i].slope, "0.0000");
    }
    EXPECT_EQ(crossings, 1);

    // With y from -1 to 1 a pixel is 0.0029: the sample's own values.
    run.close();
    openShown(view(-5, 5, -1, 1, 701));
    frames = runToEnd();
    crossings = 0;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        if (!(frames[i - 1].m < 0 && frames[i].m > 0))
            continue;
        ++crossings;
        EXPECT_EQ(frames[i].shown, frames[i].m);
        EXPECT_EQ(frames[i].point, "(0.0071 , 0.0001)");
        EXPECT_EQ(frames[i].slope, "0.0143");
    }
    EXPECT_EQ(crossings, 1);
}

TEST_F(TangentRunTest, CubicShowsAnExtremumOnlyWhereASampleFallsOnZero)
{
    setFunction("x^3");
    openShown(view(-5, 5, -5, 5, 701));
    for (const Frame &f : runToEnd())
        EXPECT_EQ(f.shown, f.m) << static_cast<double>(f.x);

    // On 640 pixels a sample is exactly 0: the sign 0 differs from +.
    run.close();
    openShown(view(-5, 5, -5, 5));
    bool zeroShown = false;
    for (const Frame &f : runToEnd())
        if (f.x == 0) {
            zeroShown = true;
            EXPECT_EQ(f.shown, 0);
            EXPECT_EQ(f.point, "(0.0000 , 0.0000)");
        } else if (std::fabs(f.x) > 0.1L) {
            EXPECT_EQ(f.shown, f.m);
        }
    EXPECT_TRUE(zeroShown);
}

TEST_F(TangentRunTest, HyperbolaJumpsThePoleWithoutShowingPWhereNothingCanBeSeen)
{
    setFunction("1/x");
    for (int size : {701, 640}) { // the pole between two samples, then on one
        SCOPED_TRACE(size);
        run.close();
        openShown(view(-5, 5, -5, 5, size));
        std::vector<Frame> frames = runToEnd();
        EXPECT_FALSE(run.running());
        bool jumped = false;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            // Neither P nor the slope point is visible inside (-0.2, 0.2).
            EXPECT_GE(std::fabs(frames[i].x), 0.19L) << static_cast<double>(frames[i].x);
            if (i > 0 && frames[i - 1].x < 0 && frames[i].x > 0) {
                jumped = true;
                EXPECT_LE(frames[i - 1].x, -0.19L);
                EXPECT_NEAR(static_cast<double>(frames[i].x), 0.2, 0.02);
            }
        }
        EXPECT_TRUE(jumped);
        EXPECT_GT(frames.back().x, 4.9L) << "the run goes on after the pole";
    }
}

TEST_F(TangentRunTest, AStepOverThePoleTakesOneTickOrAFewWhenASampleIsOnIt)
{
    setFunction("1/x");
    for (int size : {701, 640}) {
        SCOPED_TRACE(size);
        run.close();
        const GraphView v = view(-5, 5, -5, 5, size);
        openShown(v);
        run.start();
        while (run.running() && run.x() + run.step() < -0.2L)
            run.tick();
        ASSERT_TRUE(run.showable());
        // From the last visible point left of the pole to the first right of it.
        int n = 0;
        while (run.running() && run.x() < 0.19L) {
            run.tick();
            ++n;
        }
        // On a sample at 0 the skip stops before it, then steps over it as
        // undefined, then skips the rest.
        EXPECT_EQ(n, size == 701 ? 1 : 3);
        EXPECT_TRUE(run.showable());
        EXPECT_TRUE(run.running());
    }
}

TEST_F(TangentRunTest, InvisibleOuterPartsAreSkippedUntilTheSlopePointEntersTheRange)
{
    setFunction("x^2+100");
    const GraphView v = view(-10, 10, -10, 10);
    ASSERT_TRUE(run.open(doc, v));
    // (X, 2X) enters the range at X = -5; P itself stays far above.
    EXPECT_EQ(run.x(), -5);
    EXPECT_EQ(run.slope(), -10);
    EXPECT_TRUE(run.showable());
    run.start();
    // It leaves the range at X = 5, and the rest of the way to the edge is
    // invisible: the run ends there, P staying where that skip began.
    while (run.running())
        run.tick();
    EXPECT_GT(run.x(), 5);
    EXPECT_LT(run.x(), 5 + 2 * v.xPerPixel());
    EXPECT_EQ(run.y(), run.x() * run.x() + 100);
    EXPECT_EQ(run.slope(), 2 * run.x());
}

TEST_F(TangentRunTest, ArrowsSetTheDirectionAndTheLeftEdgeHoldsP)
{
    setFunction("x^2");
    const GraphView v = view(-5, 5, -10, 30);
    ASSERT_TRUE(run.open(doc, v));
    run.move(1);
    run.move(1);
    EXPECT_EQ(run.direction(), 1);
    EXPECT_EQ(run.x(), -5 + 2 * v.xPerPixel());
    run.move(-1);
    EXPECT_EQ(run.direction(), -1);
    EXPECT_EQ(run.step(), -v.xPerPixel());
    EXPECT_EQ(run.x(), -5 + v.xPerPixel());

    // The run now goes left, and "←" at the edge keeps P there and stops it.
    run.start();
    run.tick();
    EXPECT_EQ(run.x(), -5);
    run.start();
    run.move(-1);
    EXPECT_EQ(run.x(), -5);
    EXPECT_FALSE(run.running());
    EXPECT_TRUE(run.showable());
    EXPECT_EQ(run.pointText(), "(-5.0000 , 25.0000)");
}

TEST_F(TangentRunTest, AFullRunEndsAtTheRightEdge)
{
    setFunction("sin(x)");
    const GraphView v = view(-5, 5, -5, 5);
    openShown(v);
    std::vector<Frame> frames = runToEnd();
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.x(), 5);
    EXPECT_EQ(frames.size(), 640u);
    for (const Frame &f : frames)
        EXPECT_NEAR(static_cast<double>(f.m), std::cos(static_cast<double>(f.x)), 1e-12);
}

TEST_F(TangentRunTest, TheRunStopsCleanlyWhenNoDefinedPointIsLeft)
{
    // Defined up to 0 only: the run stops after the last defined point.
    setFunction("sqrt(-x)");
    const GraphView v = view(-5, 5, -5, 5);
    openShown(v);
    std::vector<Frame> frames = runToEnd();
    EXPECT_FALSE(run.running());
    EXPECT_LE(ticks, 330);
    ASSERT_FALSE(frames.empty());
    EXPECT_LE(frames.back().x, 0);
    EXPECT_GT(frames.back().x, -2 * v.xPerPixel());

    // Defined nowhere: nothing is ever shown and the first tick ends the run.
    setFunction("sqrt(-1-x^2)");
    run.close();
    ASSERT_TRUE(run.open(doc, v));
    EXPECT_FALSE(run.valid());
    frames = runToEnd();
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(ticks, 1);
    run.move(-1);
    EXPECT_FALSE(run.showable());

    // Undefined on a stretch in the middle: P steps over it and goes on.
    setFunction("sqrt(x^2-1)");
    run.close();
    openShown(v);
    frames = runToEnd();
    EXPECT_EQ(run.x(), 5);
    for (const Frame &f : frames)
        EXPECT_GE(std::fabs(f.x), 1);
}

TEST_F(TangentRunTest, EveryRunEndsWithinOneTickPerPixel)
{
    const GraphView v = view(-5, 5, -5, 5);
    for (const char *f :
         {"x^2", "1/x", "tan(x)", "sqrt(x)", "log(x)", "x^2+100", "1/(x^2-1)", "sqrt(-1-x^2)"}) {
        SCOPED_TRACE(f);
        setFunction(f);
        for (int direction : {1, -1}) {
            run.close();
            ASSERT_TRUE(run.open(doc, v));
            run.move(direction);
            runToEnd(2000);
            EXPECT_FALSE(run.running());
            EXPECT_LE(ticks, 642);
        }
    }
}

} // namespace gq
