// The general tracer of implicit curves step by step, and the safety of the
// closed-form drawing routines on degenerate input.
#include "engine/budget.h"
#include "render/implicit_internal.h"
#include "render/worker_pool.h"
#include "render_test_util.h"

#include <cmath>
#include <numbers>

namespace gq
{

namespace
{

constexpr long double kPi = std::numbers::pi_v<long double>;

// A canvas, its view and a tracer for one formula with its two partial derivatives.
struct TraceRun {
    Tree F, fx, fy;
    Program pF, pFx, pFy;
    Canvas canvas;
    GraphView view;
    SignEstimate estimate;
    ImplicitTracer tracer;
    // estimated: the corrector takes F's sign from its estimate where it can.
    TraceRun(const std::string &text, int size = 640, CoordFrame frame = {}, bool estimated = false)
        : F((engineState().parseOK = true, parseFormula(text, ParseBuild))), fx(differentiate(F.get(), OpX)),
          fy(differentiate(F.get(), OpY)), pF(F.get()), pFx(fx.get()), pFy(fy.get()), canvas(size, size),
          view(frame, size), estimate(estimated ? F.get() : nullptr),
          tracer(canvas, view, kCurve, 1, pF, pFx, pFy, &estimate)
    {
    }
    bool near(long double x, long double y) const { return nearWorld(canvas, view, x, y, kCurve, 2); }
};

} // namespace

TEST(ImplicitTracer, AClosedLoopIsOneTraceThatComesBackWithinItsStepBound)
{
    // Only the loop around (π/2, π/2) lies in this window.
    TraceRun run("sin(x)+sin(y)-1.5", 640, {0.2L, 3.0L, 0.2L, 3.0L});
    EXPECT_EQ(run.tracer.traceImplicitGrid(), 1);
    EXPECT_EQ(run.tracer.tracesCutOff(), 0);
    EXPECT_LT(run.tracer.lastTraceSteps(), 2000);
    EXPECT_TRUE(run.near(std::asin(0.75L), std::asin(0.75L)));
    EXPECT_TRUE(run.near(kPi / 2, 5 * kPi / 6));
    EXPECT_EQ(run.tracer.maxTraceSteps(), 20 * 640);
    run.tracer.setMaxTraceSteps(30);
    run.tracer.traceImplicitGrid();
    EXPECT_GE(run.tracer.tracesCutOff(), 1);
    EXPECT_LE(run.tracer.lastTraceSteps(), 30);
}

TEST(ImplicitTracer, ACurveLeavingTheWindowIsTracedBothWays)
{
    // The first seed lies near the vertex at the bottom; one trace must reach
    // the top edge along both arms.
    TraceRun run("y-x^2+3");
    EXPECT_EQ(run.tracer.traceImplicitGrid(), 1);
    for (long double x : {-2.8L, -2.0L, -1.0L, 0.0L, 1.0L, 2.0L, 2.8L})
        EXPECT_TRUE(run.near(x, x * x - 3)) << static_cast<double>(x);
}

TEST(ImplicitTracer, TwelveHundredPixelCanvasAndMarkingNeighboursWithinAPixel)
{
    TraceRun run("sin(x)+sin(y)-1.5", 1200);
    EXPECT_EQ(run.tracer.cellsPerSide(), 120);
    EXPECT_GE(run.tracer.traceImplicitGrid(), 4);
    const long double a = std::asin(0.75L);
    EXPECT_TRUE(run.near(a, a));
    EXPECT_TRUE(run.near(kPi / 2 - 2 * kPi, kPi / 6));
    // A step just beyond the top right corner marks the cell outside the grid.
    run.tracer.markVisitedCells({4.999L, 4.999L}, {5.01L, 5.01L});
    EXPECT_TRUE(run.tracer.visited(121, 121));
    EXPECT_TRUE(run.tracer.visited(120, 120));
    TraceRun line("x-y"); // nothing traced yet
    const long double px = line.view.xPerPixel();
    // Cell (2, 2) covers [-5 + 10px, -5 + 20px) in both directions.
    const long double left = -5 + 10 * px;
    line.tracer.markVisitedCells({left + 0.5L * px, left + 0.5L * px}, {left + 5 * px, left + 5 * px});
    for (auto [i, j] : {std::pair{2, 2}, {1, 2}, {2, 1}, {1, 1}})
        EXPECT_TRUE(line.tracer.visited(i, j)) << i << "," << j;
    EXPECT_FALSE(line.tracer.visited(3, 2));
    // A diagonal move marks the other two cells of its 2 × 2 block.
    line.tracer.markVisitedCells({left + 29.5L * px, left + 29.5L * px},
                                 {left + 30.5L * px, left + 30.5L * px});
    EXPECT_TRUE(line.tracer.visited(4, 5));
    EXPECT_TRUE(line.tracer.visited(5, 4));
    // Far-away and NaN points mark nothing and do no harm.
    line.tracer.markVisitedCells({1e30L, -1e30L}, {NAN, NAN});
}

TEST(ImplicitTracer, EdgeSearchFindsCrossingsAndTouchingsAndTheCorrectorLandsOnTheCurve)
{
    TraceRun run("x^2+y^2-4");
    const double px = static_cast<double>(run.view.xPerPixel());
    // F and its slope along the edge y = at (horizontal) or x = at (vertical).
    auto sample = [&](bool vertical, long double at, long double t) {
        const long double x = vertical ? at : t, y = vertical ? t : at;
        engineState().evalValid = true;
        ImplicitTracer::EdgeSample s{run.pF.evaluate(x, y), 0, engineState().evalValid};
        s.g = (vertical ? run.pFy : run.pFx).evaluate(x, y);
        return s;
    };
    TracePoint s;
    auto find = [&](bool vertical, long double at, long double a, long double b) {
        return run.tracer.findEdgeRoot(vertical, at, a, b, sample(vertical, at, a), sample(vertical, at, b),
                                       s);
    };
    // The bottom edge y = 0 from 1.9 to 2.05 crosses the circle at x = 2.
    ASSERT_TRUE(find(false, 0, 1.9L, 2.05L));
    EXPECT_NEAR(static_cast<double>(s.x), 2.0, px / 8);
    EXPECT_EQ(s.y, 0);
    // The edge y = 2 touches it at x = 0 without a sign change; left edges never look for touchings.
    ASSERT_TRUE(find(false, 2, -0.07L, 0.09L));
    EXPECT_NEAR(static_cast<double>(s.x), 0.0, px / 4);
    EXPECT_FALSE(find(true, 2, -0.07L, 0.09L));
    ASSERT_TRUE(find(true, 0, 1.9L, 2.05L)); // a left edge crossing at (0, 2)
    EXPECT_NEAR(static_cast<double>(s.y), 2.0, px / 8);
    EXPECT_FALSE(find(false, 0, -1, -0.9L)); // an edge that misses
    // An undefined corner gives no seed.
    EXPECT_FALSE(run.tracer.findEdgeRoot(false, 0, 1.9L, 2.05L, {}, sample(false, 0, 2.05L), s));
    // The corrector turns a step onto the curve, but not one pointing straight away from it, nor a zero step.
    const long double step = run.view.xPerPixel();
    TracePoint r;
    ASSERT_TRUE(run.tracer.correctStep({2, 0}, {0, step}, r));
    EXPECT_NEAR(static_cast<double>(std::hypot(r.x, r.y)), 2.0, px / 50);
    EXPECT_GT(r.y, 0);
    EXPECT_FALSE(run.tracer.correctStep({2, 0}, {step, 0}, r));
    EXPECT_FALSE(run.tracer.correctStep({2, 0.5L}, {0, 0}, r)); // refused rather than divided by
}

TEST(ImplicitTracer, StepsAreOnePixelAlongTheDominantAxis)
{
    // On a frame ten times taller than wide, a world slope of −1 is flat in pixels.
    TraceRun run("x+y", 640, {-1, 1, -10, 10});
    TracePoint step;
    int sx = 1, sy = -1;
    ASSERT_TRUE(run.tracer.predictStep(1, 1, sx, sy, step));
    EXPECT_EQ(step.x, run.view.xPerPixel());
    EXPECT_EQ(step.y, -run.view.xPerPixel());
    // A vertical tangent heading along x so far keeps a direction.
    sx = 1, sy = 0;
    ASSERT_TRUE(run.tracer.predictStep(1, 1e-9L, sx, sy, step));
    EXPECT_NE(step.y, 0);
    // No direction at all, or a NaN gradient: no step.
    sx = 0, sy = 0;
    EXPECT_FALSE(run.tracer.predictStep(0, 1, sx, sy, step));
    EXPECT_FALSE(run.tracer.predictStep(NAN, 1, sx, sy, step));
}

TEST(ImplicitSafety, DegenerateInputEndsAndDrawsNothingWrong)
{
    Canvas c(200, 200);
    GraphView view(CoordFrame{}, 200);
    // NaN only lifts the pen.
    Stroke stroke{kCurve, 1, false};
    c.moveTo(10, 10);
    lineToClamped(c, view, stroke, NAN, 0);
    EXPECT_TRUE(stroke.up);
    // No ellipse for zero or infinite axes nor round the whole window; no
    // parabola or line for non-finite coefficients.
    drawEllipseCurve(c, view, kCurve, 1, 0, 0, 0, 0, 1);
    drawEllipseCurve(c, view, kCurve, 1, 0, 0, 0, INFINITY, 1);
    drawEllipseCurve(c, view, kCurve, 1, 0, 0, 0, 1e-12L, 1e-12L);
    drawParabolaCurve(c, view, kCurve, INFINITY, 0, 0, 1, 0);
    drawImplicitLine(c, view, kCurve, 1, NAN, 1, 0);
    EXPECT_EQ(countColour(c, kCurve), 0);
    // A huge circle through the window is still drawn there; a hyperbola on a
    // very stretched frame and a conic with a far-away centre end.
    drawEllipseCurve(c, view, kCurve, 1, 0, 1e6L, 0, 1e-12L, 1e-12L);
    EXPECT_GT(countColour(c, kCurve, 20, 96, 180, 104), 50); // |x| <= 4, |y| <= 0.2
    GraphView stretched(CoordFrame{-0.001L, 0.001L, -10000, 10000}, 200);
    drawHyperbolaCurve(c, stretched, kCurve, 1, 0, 0, kPi / 4, -1, 1);
    drawConicCurve(c, view, kCurve, 1, {1e-3L, 0, 1e-3L, 1e300L, 1e300L, 1});
}

// With the worker pool the scan takes the lattice and the walks it expected
// from other threads, and with the sign estimate the corrector skips most
// evaluations of F; the picture, the counts and the budget spent are those
// of the scan alone evaluating everything, also where the budget runs out on
// the way. (Here the
// whole trace costs 2.9 million units, its lattice 1.1 million.)
TEST(ImplicitTracer, WorkersAndTheSignEstimateChangeNothingOfTheTraceNorOfTheBudget)
{
    struct Case {
        const char *text;
        int size;
        CoordFrame frame;
        std::uint64_t budget;
    };
    const CoordFrame wide{-9, 9, -7, 7};
    // clang-format off
    const Case cases[] = {
        {"sin(x)+sin(y)-1.5", 640, {}, kItemEvaluationBudget},
        {"sin(x)+sin(y)-1.5", 640, {}, 2'000'000},  // runs out in the third walk
        {"sin(x)+sin(y)-1.5", 640, {}, 1'200'000},  // in the first
        {"sin(x)+sin(y)-1.5", 640, {}, 800'000},    // in the lattice: no workers
        {"sin(2x)*cos(y)-0.3", 501, wide, kItemEvaluationBudget},
        {"x^3+y^3-3*x*y", 640, {}, kItemEvaluationBudget},
        {"y^2-x^3+x", 400, {}, kItemEvaluationBudget},
        {"(x^2+y^2)^2-8(x^2-y^2)", 640, {}, kItemEvaluationBudget},
        {"tan(x*y)-1", 300, {}, kItemEvaluationBudget},
        {"log(x)+y^3-y", 640, {}, kItemEvaluationBudget},
        {"x*sin(y)+y*cos(x)-1", 640, wide, kItemEvaluationBudget},
        {"x*sin(y)+y*cos(x)-1", 640, wide, 1'500'000}, // in a walk
        {"sin(x)/y-0.5", 640, {}, kItemEvaluationBudget}, // divisors near 0
        {"sin(x*y)-cos(x)^2/2+abs(y)/7", 400, {}, kItemEvaluationBudget},
    };
    // clang-format on
    WorkerPool &pool = WorkerPool::shared();
    const int workers = pool.workers();
    for (const Case &c : cases) {
        struct Outcome {
            Canvas canvas{1, 1};
            int traces = 0, cutOff = 0;
            long last = 0;
            std::uint64_t left = 0;
            bool spent = false;
        };
        const auto trace = [&](int threads, bool estimated) {
            pool.setWorkers(threads);
            TraceRun run(c.text, c.size, c.frame, estimated);
            run.tracer.setUseWorkers(threads > 0);
            EvaluationBudget budget(c.budget);
            Outcome o;
            o.traces = run.tracer.traceImplicitGrid();
            o.canvas = run.canvas;
            o.cutOff = run.tracer.tracesCutOff();
            o.last = run.tracer.lastTraceSteps();
            o.left = engineState().budget.evaluationLeft;
            o.spent = budget.spent();
            return o;
        };
        const Outcome alone = trace(0, false);
        for (auto [threads, estimated] : {std::pair{0, true}, {1, false}, {3, true}}) {
            const Outcome shared = trace(threads, estimated);
            EXPECT_EQ(shared.traces, alone.traces) << c.text << " " << threads << " " << estimated;
            EXPECT_EQ(shared.cutOff, alone.cutOff) << c.text;
            EXPECT_EQ(shared.last, alone.last) << c.text;
            EXPECT_EQ(shared.left, alone.left) << c.text;
            EXPECT_EQ(shared.spent, alone.spent) << c.text;
            EXPECT_EQ(differingPixels(shared.canvas, alone.canvas), 0) << c.text << " " << threads << " " << estimated;
        }
        EXPECT_GT(countColour(alone.canvas, kCurve), 0) << c.text;
    }
    pool.setWorkers(workers);
}

TEST(ImplicitSafety, ClampedPointsEndTheStroke)
{
    Canvas c(200, 200);
    GraphView view(CoordFrame{}, 200);
    Stroke stroke{kCurve, 1, true};
    lineToClamped(c, view, stroke, 0, 0);
    EXPECT_FALSE(stroke.up);
    EXPECT_EQ(c.pixel(100, 100), kCurve);
    lineToClamped(c, view, stroke, 1000, 0); // pulled back to 105, drawn towards
    EXPECT_TRUE(stroke.up);
    EXPECT_EQ(c.pixel(150, 100), kCurve);
    lineToClamped(c, view, stroke, 0, 2); // pen up: only a dot at (0, 2)
    EXPECT_FALSE(stroke.up);
    EXPECT_EQ(c.pixel(100, 60), kCurve);
    EXPECT_EQ(c.pixel(100, 80), kWhite);
}

} // namespace gq
