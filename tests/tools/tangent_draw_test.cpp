// The frames of the tangent demonstration, read back pixel by pixel: the
// colours of P, the slope point, the tangent and the trace of f'.
#include "tangent_test_util.h"
#include "tools/derivative_colours.h"
#include "tools/tangent_draw.h"

namespace gq
{

class TangentDrawTest : public CalculusToolTest
{
  protected:
    // P at x = 1 on y = x^2 (steps of 1/64 from where it became visible),
    // the frame drawn.
    void placeAtOne()
    {
        setFunction("x^2");
        ASSERT_TRUE(run.open(doc, v));
        while (run.x() < 1)
            run.move(1);
        ASSERT_EQ(run.x(), 1);
        ASSERT_TRUE(drawTangentFrame(run, graph, work, v, nullptr));
    }

    GraphView v = view(-5, 5, -5, 5);
    TangentRun run;
    TraceLayer trace{kSlopeTraceColour};
    Canvas graph{640, 640};
    Canvas work{640, 640};
};

TEST_F(TangentDrawTest, PIsBlueTheSlopePointRedAndTheTangentViolet)
{
    placeAtOne();
    // The dots, under the tangent that runs through P.
    EXPECT_EQ(work.pixel(v.xToPixel(1) - 1, v.yToPixel(1) + 1), kContactPointColour);
    EXPECT_EQ(work.pixel(v.xToPixel(1), v.yToPixel(2)), kSlopePointColour);
    // The tangent y = 2x - 1 runs through the frame from (-2, -5) to (3, 5).
    for (long double x : {-1.5L, -1.0L, 0.0L, 2.0L, 2.5L})
        EXPECT_TRUE(nearWorldPoint(work, v, x, 2 * x - 1, kTangentColour)) << static_cast<double>(x);
    EXPECT_EQ(countColour(work, kTangentColour, 0, 0, v.xToPixel(-2.1L), 639), 0);
    // P is labelled to its upper right.
    EXPECT_GT(countColour(work, kContactPointColour, v.xToPixel(1) + 3, v.yToPixel(1) - 15,
                          v.xToPixel(1) + 15, v.yToPixel(1) - 3),
              0);
    // Without the trace the stored graph is left as it was.
    EXPECT_EQ(countColour(graph, kWhite, 0, 0, 639, 639), 640 * 640);
}

TEST_F(TangentDrawTest, TheTangentAtAnExtremumIsHorizontalThroughTheSample)
{
    setFunction("x^2-1");
    ASSERT_TRUE(run.open(doc, v));
    while (run.x() < 0)
        run.move(1);
    ASSERT_EQ(run.x(), 0);
    ASSERT_EQ(run.shownSlope(), 0);
    ASSERT_TRUE(drawTangentFrame(run, graph, work, v, nullptr));
    EXPECT_EQ(countColour(work, kTangentColour, 0, v.yToPixel(-1), 639, v.yToPixel(-1)), 640);
    EXPECT_EQ(countColour(work, kTangentColour, 0, 0, 639, 639), 640);
}

TEST_F(TangentDrawTest, NothingIsDrawnWhileFIsUndefinedAtP)
{
    setFunction("sqrt(x-10)");
    ASSERT_TRUE(run.open(doc, v));
    work.clear(kBlack);
    EXPECT_FALSE(drawTangentFrame(run, graph, work, v, &trace));
    EXPECT_EQ(work.pixel(10, 10), kBlack);
}

TEST_F(TangentDrawTest, TheTraceOfTheSlopeStaysOnTheStoredGraph)
{
    setFunction("sin(x)");
    ASSERT_TRUE(run.open(doc, v));
    run.move(1);
    run.start();
    int frames = 0;
    while (run.running())
        if (run.tick() && drawTangentFrame(run, graph, work, v, &trace))
            ++frames;
    EXPECT_EQ(frames, 639);
    // The rose trace is cos(x), across the whole frame, in the stored graph.
    for (long double x = -4.9L; x < 4.9L; x += 0.35L)
        EXPECT_TRUE(nearWorldPoint(graph, v, x, std::cos(x), kSlopeTraceColour)) << static_cast<double>(x);
    EXPECT_EQ(countColour(graph, kSlopeTraceColour, 0, 0, 639, v.yToPixel(1.1L)), 0);
    EXPECT_EQ(countColour(graph, kSlopeTraceColour, 0, v.yToPixel(-1.1L), 639, 639), 0);
    // P and the tangent are only in the frame shown, never in the stored graph.
    EXPECT_EQ(countColour(graph, kContactPointColour, 0, 0, 639, 639), 0);
    EXPECT_EQ(countColour(graph, kTangentColour, 0, 0, 639, 639), 0);
    EXPECT_GT(countColour(work, kSlopeTraceColour, 0, 0, 639, 639), 600);
    // The kept trace draws the same pixels again on a fresh graph.
    Canvas again(640, 640);
    trace.draw(again, v);
    for (int y = 0; y < 640; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(again.pixel(x, y), graph.pixel(x, y)) << x << ", " << y;
}

TEST_F(TangentDrawTest, TheTraceStopsWhereTheSlopeLeavesTheFrameAroundAPole)
{
    setFunction("1/x");
    ASSERT_TRUE(run.open(doc, v));
    run.move(1);
    run.start();
    while (run.running())
        if (run.tick())
            drawTangentFrame(run, graph, work, v, &trace);
    // f' = -1/x^2 is below the frame near 0: no rose line climbs the middle.
    EXPECT_EQ(countColour(graph, kSlopeTraceColour, v.xToPixel(-0.3L), 0, v.xToPixel(0.3L), 639), 0);
    EXPECT_TRUE(nearWorldPoint(graph, v, -1, -1, kSlopeTraceColour));
    EXPECT_TRUE(nearWorldPoint(graph, v, 1, -1, kSlopeTraceColour));
}

} // namespace gq
