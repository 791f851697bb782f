// The general tracer of implicit curves, and the safety of the closed-form
// drawing routines on degenerate input.
#include "engine/differentiate.h"
#include "engine/evaluate.h"
#include "engine/parse.h"
#include "implicit_test_util.h"
#include "render/implicit_internal.h"
#include "render/plot_implicit.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

using namespace implicit_test;

namespace
{

constexpr uint32_t kCurve = RGBColour(0, 120, 200);
constexpr long double kPi = std::numbers::pi_v<long double>;

struct Trees {
    Tree F, Fx, Fy;
};

Trees Build(const std::string &text)
{
    SetDefinitionSource(nullptr);
    ParseOK = true;
    Trees t;
    t.F.reset(ParseFormula(text, ParseBuild));
    EXPECT_TRUE(ParseOK && t.F) << text;
    t.Fx.reset(Differentiate(t.F.get(), OpX));
    t.Fy.reset(Differentiate(t.F.get(), OpY));
    return t;
}

// A canvas, its view and a tracer for one formula.
struct TraceRun {
    Trees trees;
    Canvas canvas;
    GraphView view;
    ImplicitTracer tracer;
    TraceRun(const std::string &text, int size = 640, CoordFrameRecord frame = {})
        : trees(Build(text)), canvas(size, size), view(frame, size),
          tracer(canvas, view, kCurve, 1, trees.F.get(), trees.Fx.get(), trees.Fy.get())
    {
        view.publish();
    }
    bool near(long double x, long double y, int r = 2) const
    {
        return ColouredNear(canvas, view, x, y, kCurve, r);
    }
};

Canvas DrawItem(const std::string &text, int size, GraphView &view)
{
    SetDefinitionSource(nullptr);
    Canvas canvas(size, size);
    view = GraphView(CoordFrameRecord{}, size);
    view.publish();
    Tfuncprop item;
    item.kind = KindImplicit;
    item.text[1] = text;
    item.colour = kCurve;
    drawImplicitCurve(canvas, view, item);
    return canvas;
}

// Points of sin x + sin y = 1.5 around the loop centred at (cx, cy) = (π/2 + 2πm, π/2 + 2πn).
std::vector<std::pair<long double, long double>> SineLoopPoints(long double cx, long double cy)
{
    std::vector<std::pair<long double, long double>> pts;
    for (long double dy = -0.5L; dy <= 0.5L; dy += 0.125L) {
        long double s = 1.5L - std::sin(cy + dy);
        long double dx = std::asin(s) - kPi / 2; // left half
        pts.push_back({cx + dx, cy + dy});
        pts.push_back({cx - dx, cy + dy});
    }
    return pts;
}

} // namespace

TEST(ImplicitTracer, NonPolynomialCurvesGoToTheTracer)
{
    // y·sin(x) − 1 is linear in y, but ∂F/∂y vanishes at the origin.
    GraphView view;
    Canvas c = DrawItem("y*sin(x)-1", 640, view);
    for (long double x : {-4.0L, -2.5L, -kPi / 2, -1.0L, 0.4L, 1.0L, kPi / 2, 2.5L, 4.0L})
        EXPECT_TRUE(ColouredNear(c, view, x, 1 / std::sin(x), kCurve, 2)) << x;
    EXPECT_EQ(CountInWorldRect(c, view, kCurve, -0.5L, -0.5L, 0.5L, 0.5L), 0);
}

TEST(ImplicitTracer, ClosedCurvesOfSinePlusSine)
{
    GraphView view;
    Canvas c = DrawItem("sin(x)+sin(y)-1.5", 640, view);
    const long double a = std::asin(0.75L);
    for (auto [x, y] : {std::pair{a, a},
                        {kPi - a, kPi - a},
                        {kPi / 2, kPi / 6},
                        {kPi / 2, 5 * kPi / 6},
                        {kPi / 6, kPi / 2},
                        {kPi / 2 - 2 * kPi, kPi / 6},
                        {kPi / 2, 5 * kPi / 6 - 2 * kPi}})
        EXPECT_TRUE(ColouredNear(c, view, x, y, kCurve, 2)) << x << "," << y;
    for (auto [x, y] : SineLoopPoints(kPi / 2, kPi / 2))
        EXPECT_TRUE(ColouredNear(c, view, x, y, kCurve, 2)) << x << "," << y;
    // Inside the loops and between them nothing is drawn.
    EXPECT_EQ(CountInWorldRect(c, view, kCurve, 1.2L, 1.2L, 1.9L, 1.9L), 0);
    EXPECT_EQ(CountInWorldRect(c, view, kCurve, -2.5L, -2.5L, -0.5L, -0.5L), 0);
}

TEST(ImplicitTracer, AClosedLoopIsOneTraceThatComesBack)
{
    // Only the loop around (π/2, π/2) lies in this window.
    TraceRun run("sin(x)+sin(y)-1.5", 640, {0.2L, 3.0L, 0.2L, 3.0L});
    EXPECT_EQ(run.tracer.traceImplicitGrid(), 1);
    EXPECT_EQ(run.tracer.tracesCutOff(), 0);
    EXPECT_LT(run.tracer.lastTraceSteps(), 2000);
    for (auto [x, y] : SineLoopPoints(kPi / 2, kPi / 2))
        EXPECT_TRUE(run.near(x, y)) << x << "," << y;
}

TEST(ImplicitTracer, FoliumThroughItsDoublePoint)
{
    TraceRun run("x^3+y^3-3*x*y");
    EXPECT_GE(run.tracer.traceImplicitGrid(), 1);
    for (long double t : {-0.5L, -0.3L, 0.3L, 0.5L, 1.0L, 2.0L, 3.0L, -2.0L}) {
        long double x = 3 * t / (1 + t * t * t), y = 3 * t * t / (1 + t * t * t);
        EXPECT_TRUE(run.near(x, y)) << t;
    }
    EXPECT_EQ(CountInWorldRect(run.canvas, run.view, kCurve, 2.0L, 2.0L, 4.9L, 4.9L), 0);
}

TEST(ImplicitTracer, ACurveLeavingTheWindowIsTracedBothWays)
{
    // The first seed lies near the vertex at the bottom; one trace must reach
    // the top edge along both arms.
    TraceRun run("y-x^2+3");
    EXPECT_EQ(run.tracer.traceImplicitGrid(), 1);
    for (long double x : {-2.8L, -2.0L, -1.0L, 0.0L, 1.0L, 2.0L, 2.8L})
        EXPECT_TRUE(run.near(x, x * x - 3)) << x;
}

TEST(ImplicitTracer, PolesAreNotTakenForCurves)
{
    // 1/(x − y) changes sign across x = y without ever being zero.
    GraphView view;
    Canvas c = DrawItem("1/(x-y)", 640, view);
    EXPECT_EQ(CountColour(c, kCurve), 0);
}

TEST(ImplicitTracer, TracesDoNotFollowPoleLines)
{
    // tan x + tan y = 1 runs into the corners of the pole grid; the sign
    // change across x = ±π/2 or y = ±π/2 must not be drawn as a line.
    GraphView view;
    Canvas c = DrawItem("tan(x)+tan(y)-1", 640, view);
    for (long double x : {-1.0L, 0.0L, 0.5L, 1.2L})
        EXPECT_TRUE(ColouredNear(c, view, x, std::atan(1 - std::tan(x)), kCurve, 2)) << x;
    for (long double pole : {-kPi / 2, kPi / 2, -3 * kPi / 2}) {
        // Along the pole lines, away from where the curve meets them.
        EXPECT_LT(CountInWorldRect(c, view, kCurve, pole - 0.02L, -0.5L, pole + 0.02L, 0.5L), 3) << pole;
        EXPECT_LT(CountInWorldRect(c, view, kCurve, -0.5L, pole - 0.02L, 0.5L, pole + 0.02L), 3) << pole;
    }
}

TEST(ImplicitTracer, UndefinedRegionsEndTraces)
{
    // sin y = −log x exists only for x > 0 (and x within [1/e, e]).
    GraphView view;
    Canvas c = DrawItem("log(x)+sin(y)", 640, view);
    for (long double x : {0.5L, 1.0L, 2.0L})
        EXPECT_TRUE(ColouredNear(c, view, x, std::asin(-std::log(x)), kCurve, 2)) << x;
    EXPECT_EQ(CountInWorldRect(c, view, kCurve, -4.9L, -4.9L, -0.1L, 4.9L), 0);
}

TEST(ImplicitTracer, EveryTraceEndsWithinItsStepBound)
{
    TraceRun run("sin(x)+sin(y)-1.5", 640, {0.2L, 3.0L, 0.2L, 3.0L});
    EXPECT_EQ(run.tracer.maxTraceSteps(), 20 * 640);
    run.tracer.setMaxTraceSteps(30);
    run.tracer.traceImplicitGrid();
    EXPECT_GE(run.tracer.tracesCutOff(), 1);
    EXPECT_LE(run.tracer.lastTraceSteps(), 30);
}

TEST(ImplicitTracer, DenseCurvesFinishQuickly)
{
    const auto start = std::chrono::steady_clock::now();
    for (const char *text : {"sin(5*x*y)-0.2", "sin(x^2+y^2)*10-x", "tan(x)+tan(y)-1"}) {
        GraphView view;
        Canvas c = DrawItem(text, 640, view);
        EXPECT_GT(CountColour(c, kCurve), 100) << text;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(ImplicitTracer, TwelveHundredPixelCanvas)
{
    TraceRun run("sin(x)+sin(y)-1.5", 1200);
    EXPECT_EQ(run.tracer.cellsPerSide(), 120);
    EXPECT_GE(run.tracer.traceImplicitGrid(), 4);
    const long double a = std::asin(0.75L);
    EXPECT_TRUE(run.near(a, a));
    EXPECT_TRUE(run.near(kPi / 2 - 2 * kPi, kPi / 6));
    for (auto [x, y] : SineLoopPoints(kPi / 2, kPi / 2))
        EXPECT_TRUE(run.near(x, y)) << x << "," << y;
    // A step just beyond the top right corner marks the cell outside the grid.
    run.tracer.markVisitedCells({4.999L, 4.999L}, {5.01L, 5.01L});
    EXPECT_TRUE(run.tracer.visited(121, 121));
    EXPECT_TRUE(run.tracer.visited(120, 120));
}

TEST(ImplicitTracer, MarkingCoversNeighboursWithinAPixel)
{
    TraceRun run("x-y");
    const long double px = run.view.XPerPixel();
    // Cell (2, 2) covers [-5 + 10px, -5 + 20px) in both directions.
    const long double left = -5 + 10 * px, bottom = -5 + 10 * px;
    run.tracer.markVisitedCells({left + 0.5L * px, bottom + 0.5L * px}, {left + 5 * px, bottom + 5 * px});
    EXPECT_TRUE(run.tracer.visited(2, 2));
    EXPECT_TRUE(run.tracer.visited(1, 2));
    EXPECT_TRUE(run.tracer.visited(2, 1));
    EXPECT_TRUE(run.tracer.visited(1, 1));
    EXPECT_FALSE(run.tracer.visited(3, 2));
    // A diagonal move marks the other two cells of its 2 × 2 block.
    run.tracer.markVisitedCells({left + 29.5L * px, bottom + 29.5L * px},
                                {left + 30.5L * px, bottom + 30.5L * px});
    EXPECT_TRUE(run.tracer.visited(4, 5));
    EXPECT_TRUE(run.tracer.visited(5, 4));
    // Far-away and NaN points mark nothing and do no harm.
    run.tracer.markVisitedCells({1e30L, -1e30L}, {NAN, NAN});
}

TEST(ImplicitTracer, EdgeSearchFindsCrossingsAndTouchings)
{
    TraceRun run("x^2+y^2-4");
    // F and its slope along the edge (∂F/∂x on horizontal edges, ∂F/∂y on vertical ones).
    auto sampleAlong = [&](bool vertical, long double x, long double y) {
        ImplicitTracer::EdgeSample s;
        EvalValid = true;
        s.f = Evaluate(run.trees.F.get(), x, y);
        s.defined = EvalValid;
        s.g = Evaluate(vertical ? run.trees.Fy.get() : run.trees.Fx.get(), x, y);
        return s;
    };
    auto sample = [&](long double x, long double y) { return sampleAlong(false, x, y); };
    auto sampleV = [&](long double x, long double y) { return sampleAlong(true, x, y); };
    TracePoint seed;
    // The bottom edge y = 0 from 1.9 to 2.05 crosses the circle at x = 2.
    ASSERT_TRUE(run.tracer.findEdgeRoot(false, 0, 1.9L, 2.05L, sample(1.9L, 0), sample(2.05L, 0), seed));
    EXPECT_NEAR(static_cast<double>(seed.x), 2.0, static_cast<double>(run.view.XPerPixel()) / 8);
    EXPECT_EQ(seed.y, 0);
    // The edge y = 2 touches the circle at x = 0 without a sign change.
    ASSERT_TRUE(run.tracer.findEdgeRoot(false, 2, -0.07L, 0.09L, sample(-0.07L, 2), sample(0.09L, 2), seed));
    EXPECT_NEAR(static_cast<double>(seed.x), 0.0, static_cast<double>(run.view.XPerPixel()) / 4);
    // A left edge never looks for touchings, and an edge that misses finds nothing.
    EXPECT_FALSE(
        run.tracer.findEdgeRoot(true, 2, -0.07L, 0.09L, sampleV(2, -0.07L), sampleV(2, 0.09L), seed));
    // A left edge crossing the circle at (0, 2).
    ASSERT_TRUE(run.tracer.findEdgeRoot(true, 0, 1.9L, 2.05L, sampleV(0, 1.9L), sampleV(0, 2.05L), seed));
    EXPECT_NEAR(static_cast<double>(seed.y), 2.0, static_cast<double>(run.view.YPerPixel()) / 8);
    EXPECT_FALSE(run.tracer.findEdgeRoot(false, 0, -1, -0.9L, sample(-1, 0), sample(-0.9L, 0), seed));
    // An undefined corner gives no seed.
    ImplicitTracer::EdgeSample undefined;
    EXPECT_FALSE(run.tracer.findEdgeRoot(false, 0, 1.9L, 2.05L, undefined, sample(2.05L, 0), seed));
}

TEST(ImplicitTracer, StepsAreOnePixelAlongTheDominantAxis)
{
    // On a frame ten times taller than wide, a world slope of −1 is flat in pixels.
    TraceRun run("x+y", 640, {-1, 1, -10, 10});
    TracePoint step;
    int sx = 1, sy = -1;
    ASSERT_TRUE(run.tracer.predictStep(1, 1, sx, sy, step));
    EXPECT_EQ(step.x, run.view.XPerPixel());
    EXPECT_EQ(step.y, -run.view.XPerPixel());
    // A vertical tangent heading along x so far keeps a direction.
    sx = 1, sy = 0;
    ASSERT_TRUE(run.tracer.predictStep(1, 1e-9L, sx, sy, step));
    EXPECT_NE(step.y, 0);
    // No direction at all, or a NaN gradient: no step.
    sx = 0, sy = 0;
    EXPECT_FALSE(run.tracer.predictStep(0, 1, sx, sy, step));
    EXPECT_FALSE(run.tracer.predictStep(NAN, 1, sx, sy, step));
}

TEST(ImplicitTracer, CorrectorLandsOnTheCurve)
{
    TraceRun run("x^2+y^2-4");
    const long double px = run.view.XPerPixel();
    TracePoint result;
    ASSERT_TRUE(run.tracer.correctStep({2, 0}, {0, px}, result));
    EXPECT_NEAR(static_cast<double>(std::hypot(result.x, result.y)), 2.0, static_cast<double>(px) / 50);
    EXPECT_GT(result.y, 0);
    // A step pointing straight away from the curve cannot be turned onto it.
    EXPECT_FALSE(run.tracer.correctStep({2, 0}, {px, 0}, result));
    // A zero step is refused rather than divided by.
    EXPECT_FALSE(run.tracer.correctStep({2, 0.5L}, {0, 0}, result));
}

TEST(ImplicitSafety, DegenerateInputEndsAndDrawsNothingWrong)
{
    Canvas c(200, 200);
    GraphView view(CoordFrameRecord{}, 200);
    // NaN only lifts the pen.
    PoleSeen = false;
    c.moveTo(10, 10);
    lineToClamped(c, view, kCurve, 1, NAN, 0);
    EXPECT_TRUE(PoleSeen);
    // No ellipse for zero or infinite axes; no parabola for infinite coefficients.
    drawEllipseCurve(c, view, kCurve, 1, 0, 0, 0, 0, 1);
    drawEllipseCurve(c, view, kCurve, 1, 0, 0, 0, INFINITY, 1);
    drawParabolaCurve(c, view, kCurve, INFINITY, 0, 0, 1, 0);
    drawImplicitLine(c, view, kCurve, 1, NAN, 1, 0);
    EXPECT_EQ(CountColour(c, kCurve), 0);
    // An ellipse round the whole window draws nothing.
    drawEllipseCurve(c, view, kCurve, 1, 0, 0, 0, 1e-12L, 1e-12L);
    EXPECT_EQ(CountColour(c, kCurve), 0);
    // A huge circle through the window is still drawn there; a hyperbola on a
    // very stretched frame and a conic with a far-away centre end.
    drawEllipseCurve(c, view, kCurve, 1, 0, 1e6L, 0, 1e-12L, 1e-12L);
    EXPECT_GT(CountInWorldRect(c, view, kCurve, -4, -0.2L, 4, 0.2L), 50);
    GraphView stretched(CoordFrameRecord{-0.001L, 0.001L, -10000, 10000}, 200);
    drawHyperbolaCurve(c, stretched, kCurve, 1, 0, 0, kPi / 4, -1, 1);
    drawConicCurve(c, view, kCurve, 1, {1e-3L, 0, 1e-3L, 1e300L, 1e300L, 1});
}

TEST(ImplicitSafety, ClampedPointsEndTheStroke)
{
    Canvas c(200, 200);
    GraphView view(CoordFrameRecord{}, 200);
    PoleSeen = true;
    lineToClamped(c, view, kCurve, 1, 0, 0);
    EXPECT_FALSE(PoleSeen);
    EXPECT_EQ(c.pixel(100, 100), kCurve);
    lineToClamped(c, view, kCurve, 1, 1000, 0); // pulled back to 105, drawn towards
    EXPECT_TRUE(PoleSeen);
    EXPECT_EQ(c.pixel(150, 100), kCurve);
    lineToClamped(c, view, kCurve, 1, 0, 2); // pen up: only a dot at (0, 2)
    EXPECT_FALSE(PoleSeen);
    EXPECT_EQ(c.pixel(100, 60), kCurve);
    EXPECT_EQ(c.pixel(100, 80), kWhite);
}
