// The arithmetic of Riemann sums over [a, b] with n equal strips: the upper
// and lower sums, the trapezoid sum and Simpson's rule, strip by strip, and
// the steps of the number of strips.
//
// Widget-free. Whoever evaluates installs the document's engine state first
// (EngineScope with its definitions and parameters).
#pragma once

#include "engine/program.h"
#include <functional>
#include <string>

namespace gq
{

// The kinds in the order of their buttons; None until one is chosen.
enum class SumKind : int { None = 0, Upper = 1, Lower = 2, Trapezoid = 3, Simpson = 4 };

// The most strips. Growing n by about a tenth a tick, holding "増" would
// otherwise reach hundreds of thousands of strips, and a single sum would
// block the window for seconds.
inline constexpr int kMaxDivisions = 10000;
inline constexpr int kInitialDivisions = 2;

// One tick of "増" (increase true) or "減": the step is 1 below 20, else about
// a tenth of n with one significant digit (RoundEven(n * 0.1) below 100,
// RoundEven(n * 0.01) * 10 from 100 on); n is snapped to a multiple of the
// step, then moved by it. Never below 2, never above kMaxDivisions.
int stepDivisions(int n, bool increase);

// The upper and lower sums sample each strip at least ten times and at least
// once a pixel column; over an interval much wider than the frame, a whole
// sum takes at most about this many samples besides those ten a strip.
inline constexpr long kMaxSumSamples = 1L << 20;

// One strip [xl, xr] of width dx, as the routine of its kind computed it.
struct Strip {
    long double xl = 0, xr = 0, dx = 0;
    long double fl = 0, fm = 0, fr = 0; // f at xl, the midpoint and xr (as the kind needs)
    long double height = 0;             // upper and lower sums: the rectangle's height
    long double area = 0;
    bool drawable = false; // the values its picture needs exist
    bool defined = false;  // every value the strip needs exists
};

// The strip of the kind (not None). pixel is the frame's x size of a pixel:
// the upper and lower sums sample the strip from xl in steps of
// min(dx * 0.1, pixel) (widened so that one strip takes at most
// maxSamples samples), besides f(xl) and f(xr). Simpson's strip is drawable
// when f(xl) and f(xr) exist even if f at the midpoint does not.
Strip computeStrip(Program &f, SumKind kind, long double xl, long double xr, long double dx,
                   long double pixel, long maxSamples);

struct SumResult {
    bool defined = true; // false: some strip met an undefined value; sum is the total before it
    long double sum = 0;
};

// The sum over [a, b] with n strips (n >= 1): width (b - a) / n, the last
// strip ending exactly at b. Each strip is handed to onStrip (when given)
// once computed, before its value is tested; the sum stops at the first
// strip with an undefined value. a >= b is computed as it is.
SumResult riemannSum(Program &f, SumKind kind, long double a, long double b, int n, long double pixel,
                     const std::function<void(const Strip &)> &onStrip = {});

// Simpson's parabola through (xl, fl), (xm, fm), (xr, fr) at x.
long double simpsonParabola(const Strip &s, long double x);

// A typed bound: the formula text (sums expanded) at x = 0, rounded to single
// precision. False when it does not parse or is undefined or not finite.
bool boundValue(const std::string &text, float &bound);

} // namespace gq
