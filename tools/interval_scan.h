// The interval of the calculus menu: moving its bounds step by step, and the
// scan that finds the maximum and minimum points of y = f(x) inside it.
//
// Widget-free. Whoever scans installs the document's engine state first
// (EngineScope with its definitions and parameters).
#pragma once

#include "engine/program.h"
#include "model/interval_state.h"
#include "render/graph_view.h"
#include <string>
#include <vector>

namespace gq
{

// Which bound(s) one step of a held button changes.
enum class IntervalAdjust : int {
    LowerMinus = 1, // a - h
    LowerPlus = 2,  // a + h, only while a < b
    UpperMinus = 3, // b - h, only while a < b
    UpperPlus = 4,  // b + h
    Left = 5,       // both - h
    Right = 6,      // both + h
};

// The step sizes of the "増減値" choice, by item index 0..4.
inline constexpr long double kIntervalSteps[5] = {10.0L, 1.0L, 0.1L, 0.05L, 0.01L};

// One step of size h on the interval's bounds. The test a < b, made before
// the change, is the only guard of the shrinking steps: a shrinking step may
// carry one bound past the other by less than a step, after which shrinking
// stops. Returns whether a bound changed.
bool adjustInterval(IntervalState &interval, IntervalAdjust mode, long double h);

// A marked point in world coordinates.
struct ExtremumPoint {
    long double x = 0;
    long double y = 0;
    bool operator==(const ExtremumPoint &) const = default;
};

// How a scan ended. Only Marked marks anything.
enum class ScanOutcome {
    Marked,    // the lists hold the points (either may be empty: off the graph)
    Undefined, // f is undefined at an end or at a sample
    TooWide,   // the interval spans more than kMaxScanSamples pixel columns
    NoFormula, // the text does not parse, or its derivative cannot be formed
};

// What the scan marks. Points are kept oldest first (the order they are
// drawn in). Both lists are empty unless the outcome is Marked.
struct Extrema {
    ScanOutcome outcome = ScanOutcome::NoFormula;
    std::vector<ExtremumPoint> maxima;
    std::vector<ExtremumPoint> minima;
};

// The most samples one scan takes (about a million pixel columns); a wider
// interval marks nothing rather than keep the user waiting.
inline constexpr long kMaxScanSamples = 1L << 20;

// The scan of f (with its derivative df) over [a, b] in the given view:
// - the ends are the first candidates: a for one list, b for the other, and
//   both ends on both lists when f(a) and f(b) agree within a tenth of a pixel;
// - samples lie on the frame's pixel columns (xmin + k * xPerPixel): the scan
//   starts at the first column at or right of a (at xmin when a lies left of
//   the frame), samples from the column after it, and ends with b itself;
// - a sample within one pixel (yPerPixel) of the running maximum, where the
//   sign of df changes or is 0 (an undefined df counts as 0), is a further
//   maximum point drawn at the running maximum's height; otherwise a higher
//   sample starts the list anew. The same for minima;
// - a maximum above ymax or a minimum below ymin is not marked.
// A point where f is undefined marks nothing, and so does an interval of more
// than kMaxScanSamples columns. A reversed interval (a > b) marks only its
// ends.
Extrema scanExtrema(Program &f, Program &df, long double a, long double b, const GraphView &view);

// The same for a formula text y = f(x), prepared as the explicit plotter
// prepares it and differentiated by x. A text that does not parse marks
// nothing.
Extrema scanExtrema(const std::string &formula, long double a, long double b, const GraphView &view);

} // namespace gq
