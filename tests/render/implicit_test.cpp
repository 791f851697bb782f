// Implicit curves as the redraw draws them: lines and conics from their
// closed form, solved branches and the general tracer. Each curve passes
// (within r pixels) through points it must, and boxes it must avoid stay empty.
#include "render_test_util.h"

#include <cmath>
#include <numbers>

namespace gq
{

namespace
{

constexpr long double kPi = std::numbers::pi_v<long double>;
using Flat = std::vector<long double>; // x0, y0, x1, y1, ...

// The points (t, f(t)), or (f(t), t) when swapped.
template <class F> Flat graph(std::initializer_list<long double> ts, F f, bool swapped = false)
{
    Flat pts;
    for (long double t : ts)
        pts.insert(pts.end(), {swapped ? f(t) : t, swapped ? t : f(t)});
    return pts;
}

class Implicit : public RenderTest
{
  protected:
    const Canvas &drawOne(const std::string &text, int size = 640, int width = 1)
    {
        doc.itemCount = 0;
        add(KindImplicit, text, "", "", "", kCurve, 0, static_cast<uint8_t>(width));
        return draw(size);
    }
    // Draws the formula; the points lie on it and the boxes (xa, ya, xb, yb) stay empty.
    void check(const std::string &text, const Flat &on, const Flat &empty = {}, int r = 1)
    {
        SCOPED_TRACE(text);
        drawOne(text);
        for (size_t i = 0; i + 1 < on.size(); i += 2)
            EXPECT_TRUE(nearW(on[i], on[i + 1], r))
                << static_cast<double>(on[i]) << ", " << static_cast<double>(on[i + 1]);
        for (size_t i = 0; i + 3 < empty.size(); i += 4)
            EXPECT_EQ(countW(empty[i], empty[i + 1], empty[i + 2], empty[i + 3]), 0) << "box " << i / 4;
    }
};

const long double r2 = std::sqrt(2.0L), r3 = std::sqrt(3.0L), r5 = std::sqrt(5.0L);

} // namespace

TEST_F(Implicit, CircleThroughItsFourAxisPointsAndEmptyInside)
{
    check("x^2+y^2-4", {2, 0, -2, 0, 0, 2, 0, -2, r2, r2, -r2, -r2},
          {-1.2, -1.2, 1.2, 1.2, 2.3, 2.3, 4.9, 4.9});
    // About 2π·2 world units of arc at 64 pixels per unit: one pixel wide.
    const int thin = countColour(renderer->graphImage(), kCurve);
    EXPECT_GT(thin, 700);
    EXPECT_LT(thin, 1100);
    EXPECT_GT(countColour(drawOne("x^2+y^2-4", 640, 3), kCurve), 2 * thin); // the item's pen width
    drawOne("x^2+y^2-4", 1200);
    EXPECT_TRUE(nearW(2, 0));
    EXPECT_TRUE(nearW(0, -2));
    EXPECT_EQ(countW(-1.2L, -1.2L, 1.2L, 1.2L), 0);
    // Definitions are read at every reference.
    doc.functionTexts[1] = "x^2";
    doc.functionCount = 1;
    check("F1(x)+y^2-4", {2, 0, 0, -2, -2, 0}, {-1.2, -1.2, 1.2, 1.2});
}

TEST_F(Implicit, StraightLinesAlsoUnderRootLayers)
{
    check("x+y-1", graph({-3.9, -1, 0, 1, 2.5, 4.5}, [](long double x) { return 1 - x; }),
          {-0.3, -0.3, 0.3, 0.3, 1.5, 1.5, 4.9, 4.9});
    check("2*x-3", {1.5, -4.5, 1.5, 0, 1.5, 4.5}, {-4.9, -4.9, 1.3, 4.9});
    check("4+2*y", {-4.5, -2, 0, -2, 4.5, -2}, {-4.9, -1.8, 4.9, 4.9});
    // (x − y)^2 = 0 and sqrt(abs(x − y)) = 0 are the line y = x.
    check("(x-y)^2", {-4, -4, -1, -1, 2, 2, 4, 4}, {1, -4, 4, 0});
    check("sqrt(abs(x-y))", {-4, -4, -1, -1, 2, 2, 4, 4}, {1, -4, 4, 0});
}

TEST_F(Implicit, EllipsesHyperbolasAndParabolas)
{
    check("(x-1)^2/4+(y+1)^2-1", {3, -1, -1, -1, 1, 0, 1, -2}, {0.5, -1.5, 1.5, -0.5});
    check("x^2+x*y+y^2-3", {r3, 0, 0, r3, 1, 1, -1, -1, 2, -1, -2, 1}, {-0.8, -0.8, 0.8, 0.8}); // turned 45°
    // x·y = 1: nothing near the asymptotes nor in the quadrants it does not enter.
    check("x*y-1", {1, 1, 2, 0.5, -1, -1, 4, 0.25, -0.5, -2, 0.25, 4},
          {-4.95, -0.1, 4.95, 0.1, -0.1, -4.95, 0.1, 4.95, -4.9, 0.3, -0.3, 4.9, 0.3, -4.9, 4.9, -0.3});
    check("x^2-y^2-1", {1, 0, -1, 0, r5, 2, -r5, -2, r5, -2}, {-0.8, -0.8, 0.8, 0.8});
    check("y^2-x", {0, 0, 1, 1, 1, -1, 4, 2, 4, -2}, {-4.9, -4.9, -0.2, 4.9});
    check("y^2-2*x-1", {-0.5, 0, 0, 1, 0, -1, 4, 3, 4, -3}, {-4.9, -4.9, -0.7, 4.9});
    check("x^2-y", {0, 0, 1, 1, -1, 1, 2, 4, -2, 4}, {-4.9, -4.9, 4.9, -0.2});
    // (x + y)² = 2x: the points (s²/2, s − s²/2) with s = x + y.
    check("x^2+2*x*y+y^2-2*x", {2, -4, 0.5, -1.5, 0, 0, 0.5, 0.5, 2, 0, 4.5, -1.5}, {-4.9, -4.9, -0.2, 4.9},
          2);
}

TEST_F(Implicit, DegenerateConicsAreLinePairsOrNothing)
{
    check("x^2-y^2", {-4, -4, -4, 4, -2, -2, -2, 2, 1, 1, 1, -1, 3, 3, 3, -3},
          {1.5, -0.5, 4.9, 0.5, -0.5, 1.5, 0.5, 4.9});
    // Two lines through (1, 2): (x − 1)² = (y − 2)², multiplied out.
    check("x^2-2*x+1-y^2+4*y-4", {-1, 0, -1, 4, 1.5, 2.5, 1.5, 1.5, 3.5, 4.5, 3.5, -0.5});
    check("x*y", {-4, 0, 2, 0, 4, 0, 0, -4, 0, 2, 0, 4}, {0.2, 0.2, 4.9, 4.9});
    check("y^2-1", {-4, 1, 0, 1, 4, 1, -4, -1, 0, -1, 4, -1}, {-4.9, -0.8, 4.9, 0.8});
    check("x^2-4", {2, -4, 2, 0, 2, 4, -2, -4, -2, 0, -2, 4}, {-1.8, -4.9, 1.8, 4.9});
    check("x^2+2*x*y+y^2-1", {-3, 4, 0, 1, 3, -2, -3, 2, 0, -1, 3, -4}, {-0.3, -0.3, 0.3, 0.3});
    check("y^2-2*y+1", {-3, 1, 3, 1});
    // A single point, empty sets, unparsable, infinite and pole-only formulas draw nothing.
    for (const char *text : {"x^2+y^2", "x^2+y^2+1", "y^2+1", "(x+y)^2+1", "x+*y", "", "sin(",
                             "x^2+y^2-10^5000", "x+y-10^5000", "1/(x-y)"})
        EXPECT_EQ(countColour(drawOne(text), kCurve), 0) << text;
}

TEST_F(Implicit, BranchesSolvedForOneVariable)
{
    check("y-x^3", graph({-1.6, -1, -0.5, 0, 0.7, 1.2, 1.65}, [](long double x) { return x * x * x; }),
          {-4.9, 0.5, -0.3, 4.9}, 2);
    // sqrt(y − sin x) = 0 is y = sin x everywhere, also where sin x > 0.
    check("sqrt(y-sin(x))", graph({-4, -2, 0.5, 1.5, 2.5, 4.5}, [](long double x) { return std::sin(x); }),
          {-4.9, 1.3, 4.9, 4.9}, 2);
    check("x-y^3+y",
          graph(
              {-1.8, -1, -0.5, 0, 0.5, 1, 1.8}, [](long double y) { return y * y * y - y; }, true),
          {}, 2);
    // y² = x³ − x at x = -0.5, 1.5, 2.5: two branches, none between 0 and 1 nor left of -1.
    check("y^2-x^3+x",
          {-0.5, 0.61237, -0.5, -0.61237, 1.5, 1.36931, 1.5, -1.36931, 2.5, 3.62284, 2.5, -3.62284},
          {0.2, -0.5, 0.8, 0.5, -4.9, -4.9, -1.2, 4.9}, 2);
    // x² = y³ at y = 0.5, 1, 2.8.
    check("x^2-y^3", {0.35355, 0.5, -0.35355, 0.5, 1, 1, -1, 1, 4.6853, 2.8, -4.6853, 2.8},
          {-4.9, -4.9, 4.9, -0.2}, 2);
}

TEST_F(Implicit, TracedCurves)
{
    // Linear in y, but ∂F/∂y vanishes at the origin.
    check("y*sin(x)-1",
          graph({-4, -2.5, -kPi / 2, -1, 0.4, 1, kPi / 2, 2.5, 4},
                [](long double x) { return 1 / std::sin(x); }),
          {-0.5, -0.5, 0.5, 0.5}, 2);
    // Closed loops of sin x + sin y = 1.5 (around (π/2, π/2) and its copies
    // 2π away); nothing inside them or between them.
    const long double a = std::asin(0.75L);
    Flat sine = {a,           a,       kPi - a, kPi - a,           kPi / 2, kPi / 6, kPi / 2,
                 5 * kPi / 6, kPi / 6, kPi / 2, kPi / 2 - 2 * kPi, kPi / 6, kPi / 2, 5 * kPi / 6 - 2 * kPi};
    for (long double dy = -0.5L; dy <= 0.5L; dy += 0.125L) {
        const long double dx = std::asin(1.5L - std::sin(kPi / 2 + dy)) - kPi / 2;
        sine.insert(sine.end(), {kPi / 2 + dx, kPi / 2 + dy, kPi / 2 - dx, kPi / 2 + dy});
    }
    check("sin(x)+sin(y)-1.5", sine, {1.2, 1.2, 1.9, 1.9, -2.5, -2.5, -0.5, -0.5}, 2);
    // The folium through its double point: (3t, 3t²) / (1 + t³).
    Flat folium;
    for (long double t : {-0.5L, -0.3L, 0.3L, 0.5L, 1.0L, 2.0L, 3.0L, -2.0L})
        folium.insert(folium.end(), {3 * t / (1 + t * t * t), 3 * t * t / (1 + t * t * t)});
    check("x^3+y^3-3*x*y", folium, {2, 2, 4.9, 4.9}, 2);
    // sin y = −log x exists only for x > 0: undefined regions end traces.
    check("log(x)+sin(y)", graph({0.5, 1, 2}, [](long double x) { return std::asin(-std::log(x)); }),
          {-4.9, -4.9, -0.1, 4.9}, 2);
}

TEST_F(Implicit, TracesDoNotFollowPoleLinesAndDenseCurvesFinishQuickly)
{
    // tan x + tan y = 1 runs into the corners of the pole grid; the sign
    // change across x = ±π/2 or y = ±π/2 must not be drawn as a line.
    check("tan(x)+tan(y)-1",
          graph({-1, 0, 0.5, 1.2}, [](long double x) { return std::atan(1 - std::tan(x)); }), {}, 2);
    for (long double pole : {-kPi / 2, kPi / 2, -3 * kPi / 2}) {
        EXPECT_LT(countW(pole - 0.02L, -0.5L, pole + 0.02L, 0.5L), 3) << static_cast<double>(pole);
        EXPECT_LT(countW(-0.5L, pole - 0.02L, 0.5L, pole + 0.02L), 3) << static_cast<double>(pole);
    }
    for (const char *text : {"sin(5*x*y)-0.2", "sin(x^2+y^2)*10-x", "tan(x)+tan(y)-1"})
        EXPECT_GT(countColour(drawOne(text), kCurve), 100) << text;
}

} // namespace gq
