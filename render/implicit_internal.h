// The pieces of the implicit-curve plotter f(x, y) = 0. drawImplicitCurve
// (plot_implicit.h) looks at the equation algebraically and picks one of them:
// a straight line, a conic drawn from its closed form (ellipse, hyperbola,
// parabola, one or two lines), explicit branches through the sampling plotter,
// or the general tracer below. They are declared here so that tests and the
// benchmark can drive them one by one.
//
// All coordinates are world coordinates of the given view; colours are
// 0x00BBGGRR; pen widths are pixels. Nothing here keeps state between calls.
#pragma once

#include "engine/program.h"
#include "engine/sign_estimate.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include "render/primitives.h"
#include <array>
#include <cstdint>
#include <vector>

namespace gq
{

// ---- Lines and conics -------------------------------------------------------

// The line a·x + b·y + c = 0 across the whole window. Nothing
// when a = b = 0 or a coefficient is not finite.
void drawImplicitLine(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double a,
                      long double b, long double c);

// a·x² + 2h·xy + b·y² + 2g·x + 2f·y + c = 0.
struct ConicCoefficients {
    long double a = 0, h = 0, b = 0, g = 0, f = 0, c = 0;
};

// Draws the conic by its kind: ellipse, hyperbola, the two lines of a
// degenerate central conic, parabola, one or two parallel lines, or nothing
// (a single point, an empty set). Non-finite coefficients draw nothing.
void drawConicCurve(Canvas &canvas, const GraphView &view, uint32_t colour, int width,
                    const ConicCoefficients &k);

// p·u² + q·v² = 1 in the frame turned by theta (radians) about (x0, y0).
// Nothing unless p and q are both positive and finite. About one point per
// pixel of arc, joined through lineToClamped.
void drawEllipseCurve(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double x0,
                      long double y0, long double theta, long double p, long double q);

// The same form with p and q of opposite signs: both branches, sampled once
// per pixel along the axis on which the curve is a function, each joined with
// drawSegment.
void drawHyperbolaCurve(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double x0,
                        long double y0, long double theta, long double p, long double q);

// v = a2·u² + a1·u + a0 in the frame whose u axis has the unit direction
// (cosine, sine) through the origin: the point (u, v) lies at
// (cosine·u − sine·v, sine·u + cosine·v). Drawn with a pen of width 1 through
// lineToClamped, once per pixel along u over the window.
void drawParabolaCurve(Canvas &canvas, const GraphView &view, uint32_t colour, long double a2, long double a1,
                       long double a0, long double cosine, long double sine);

// One step of a polyline with pen-up handling. A point more than 100 world
// units outside the frame is pulled back to 100 units outside (and ends the
// stroke after it). Pen down: a line from the pen position to the point. Pen
// up: the pen moves there, a dot is set if the point is inside, and the pen
// goes down. A NaN coordinate only lifts the pen.
void lineToClamped(Canvas &canvas, const GraphView &view, Stroke &stroke, long double x, long double y);

// ---- General tracer ---------------------------------------------------------

struct TracePoint {
    long double x = 0, y = 0;
};

// Follows the zero set of F through the window: scans cells of 10 × 10 pixels
// for roots on their bottom and left edges and traces the curve from every
// seed in a cell no earlier trace crossed, one pixel per step, predicting
// along the tangent (from Fx, Fy) and correcting by turning the step.
//
// The formulas are borrowed, not owned, and must outlive the tracer. Every trace
// ends: when it leaves the window, when the corrector fails, when it comes
// back to its seed, or after maxTraceSteps steps in all.
//
// Where the worker pool (worker_pool.h) has workers, the scan samples its
// lattice on all of them and walks the traces it expects to start ahead of
// time, each worker with copies of the formulas; the scan itself still goes
// cell by cell and uses such work only where it is exactly what it would do
// there, so the picture, the counts and the evaluation budget spent are
// those of the scan alone.
class ImplicitTracer
{
  public:
    // Steps one trace may take, per pixel of graphSize.
    static constexpr long kStepsPerPixel = 20;

    // signOfF (borrowed, may be null) estimates F where the corrector needs
    // only which side of the curve a point lies on; the walk is the same
    // with or without it, only faster.
    ImplicitTracer(Canvas &canvas, const GraphView &view, uint32_t colour, int width, Program &F, Program &fx,
                   Program &fy, const SignEstimate *signOfF = nullptr);

    // Clears the visited table, scans all cells and traces from every seed.
    // Returns the number of traces.
    int traceImplicitGrid();

    // A corner or bisection sample on a cell edge: F, the derivative of F
    // along the edge, and whether F is defined there.
    struct EdgeSample {
        long double f = 0, g = 0;
        bool defined = false;
    };
    // Looks for a seed on the edge from a to b (a < b) of the line y = fixed
    // (vertical false: searched along x with ∂F/∂x) or x = fixed (vertical
    // true: along y with ∂F/∂y). fa and fb are the samples at the two ends
    // (the slope is read only where F is defined). True with the seed when
    // there is one.
    bool findEdgeRoot(bool vertical, long double fixed, long double a, long double b, EdgeSample fa,
                      EdgeSample fb, TracePoint &seed);

    // Draws the curve through the seed in both directions (or the seed alone
    // at a singular point) and marks the cells it crosses.
    void traceFromSeed(TracePoint seed);

    // One trace as traceFromSeed makes it, walked but neither drawn nor
    // marked: the seed, the lines of its steps in order, the cells they
    // mark, and how it ended.
    struct Walk {
        TracePoint seed;
        bool singular = false;                 // no direction at the seed: only its dot is drawn
        std::vector<std::array<int, 4>> lines; // each step: from x, y to x, y in pixels
        std::vector<uint32_t> marks;           // cells to mark visited (indices into the table)
        bool closed = false;                   // came back to the seed (a last line joins it)
        bool cutOff = false;                   // stopped by maxTraceSteps
        long steps = 0;
    };
    // The walk depends only on the seed, the formulas and the evaluation
    // budget; drawWalk then does what traceFromSeed does with it.
    Walk walkFromSeed(TracePoint seed) const;
    void drawWalk(const Walk &walk);

    // The step of one pixel along the dominant pixel axis of the tangent
    // (perpendicular to the gradient (gx, gy)), heading by the direction signs
    // sx, sy (-1, 0, 1). A sign the step needs but that is 0 is taken from the
    // other one. False when no finite non-zero step results.
    bool predictStep(long double gx, long double gy, int &sx, int &sy, TracePoint &step) const;

    // Moves p by the step and, unless F is (almost) zero there, turns the step
    // about p (within ±45°) until it ends on the curve. False when F is
    // undefined on the way or no sign change lies within the angle.
    bool correctStep(TracePoint p, TracePoint step, TracePoint &result) const;

    // Marks the cells of p and q (and the neighbours they are within a pixel
    // of, and the corners of a diagonal move) as visited.
    void markVisitedCells(TracePoint p, TracePoint q);

    // Cells per side, M = rnd(graphSize / 10); indices run 0..M + 1.
    int cellsPerSide() const { return cells_; }
    bool visited(int i, int j) const;

    // Bound on the steps of one trace (both directions together).
    long maxTraceSteps() const { return maxTraceSteps_; }
    void setMaxTraceSteps(long steps) { maxTraceSteps_ = steps; }
    // Steps taken by the latest trace, and how many traces so far were cut
    // off by the bound.
    long lastTraceSteps() const { return lastTraceSteps_; }
    int tracesCutOff() const { return tracesCutOff_; }

    // Whether traceImplicitGrid spreads its work over the worker pool (when
    // the pool has workers and the formulas allow it); on by default. The
    // result is the same either way.
    void setUseWorkers(bool use) { useWorkers_ = use; }

  private:
    friend class TraceSpeculation; // implicit_speculation.cpp
    struct Value {
        long double v = 0;
        bool ok = false;
    };
    Value evalF(long double x, long double y) const;
    // Whether the estimate shows |F| >= 1e-6 at p, as evalF would find it.
    // Where it does and the budget has room, the evaluation is charged
    // (chargeEstimate) and true returned; otherwise nothing happens.
    bool certainlyOffCurve(TracePoint p) const;
    // Charges an evaluation of F at p that the estimate answered, and writes
    // x and y as evalF would; false, doing nothing, when the budget would
    // refuse it (evalF then reports that).
    bool chargeEstimate(TracePoint p) const;
    struct LatticePoint {
        long double f = 0, fx = 0, fy = 0;
        bool defined = false;
        // Of a defined point: |f| < 1e-6, and the signs of f, fx and fy.
        bool nearCurve = false;
        int8_t signF = 0, signFx = 0, signFy = 0;
    };
    // Whether findEdgeRoot, given the corners a and b of a bottom (vertical
    // false) or left edge, could find a seed there or would search for one:
    // when false it would find nothing and evaluate nothing.
    static bool mayHaveSeed(bool vertical, const LatticePoint &a, const LatticePoint &b);
    // The same, closer: a touching point on the bottom edge from lo to hi
    // also needs the tangent lines at its ends to meet across the curve.
    static bool mayHaveSeed(bool vertical, const LatticePoint &a, const LatticePoint &b, long double lo,
                            long double hi);
    EdgeSample edgeSample(bool vertical, long double fixed, long double t) const;
    // What fillLatticeRow keeps from row to row: ∂F/∂x of each column where
    // it does not read y.
    struct LatticeColumns {
        std::vector<long double> fx;
        std::vector<uint8_t> known;
    };
    // The lattice points (xmin + i·10·xPerPixel, y), i = 0..M, into row[0..M].
    // A slope that does not read the letter moving along the row (∂F/∂y and
    // x) or column (∂F/∂x and y) is evaluated once for it; each such
    // evaluation is still charged to the budget as if it were made.
    void fillLatticeRow(LatticePoint *row, long double y, LatticeColumns &columns) const;
    // The slope at p once more where value was evaluated at a point that
    // differs only in a letter the slope does not read; evaluates it (and
    // keeps it, with known set, unless the budget refused it) where known is 0.
    long double slopeAgain(bool vertical, TracePoint p, long double &value, uint8_t &known) const;
    // The y of lattice row j (0..M), as the scan steps up from ymin.
    long double latticeY(int j) const;
    // Cell (i, j), 1..M each: its left, right, bottom and top coordinates.
    struct CellBounds {
        long double x0, x1, y0, y1;
    };
    CellBounds cellBounds(int i, int j) const;
    // The edge searches of cell (i, j) from its lattice corners below left
    // (c00), below right (c10) and above left (c01).
    bool findBottomSeed(const CellBounds &c, const LatticePoint &c00, const LatticePoint &c10,
                        TracePoint &seed);
    bool findLeftSeed(const CellBounds &c, const LatticePoint &c00, const LatticePoint &c01,
                      TracePoint &seed);
    long double slopeAlong(bool vertical, TracePoint p) const;
    bool cellOf(TracePoint p, int &i, int &j) const;
    // cellOf as one value (i and j are 0 where has is false).
    struct Cell {
        bool has = false;
        int i = 0, j = 0;
    };
    Cell cellAt(TracePoint p) const;
    // The cells markVisitedCells(p, q) marks, as table indices; the second
    // form with the cells of p and q (cellAt) known.
    void cellsToMark(TracePoint p, TracePoint q, std::vector<uint32_t> &marks) const;
    void cellsToMark(TracePoint p, Cell cp, TracePoint q, Cell cq, std::vector<uint32_t> &marks) const;

    Canvas &canvas_;
    const GraphView &view_;
    uint32_t colour_;
    int width_;
    Program *F_, *fx_, *fy_;
    const SignEstimate *signOfF_;
    long double xpp_, ypp_;
    int cells_;
    std::vector<uint8_t> visited_;
    long maxTraceSteps_;
    long lastTraceSteps_ = 0;
    int tracesCutOff_ = 0;
    bool useWorkers_ = true;
    // The slopes read no y (∂F/∂x) or no x (∂F/∂y), and write no letter.
    bool fxWithoutY_, fyWithoutX_;
};

// The tracer run once over the window for F = 0 (the formulas are borrowed).
// Returns the number of traces.
// formula is the tree F was built from (null: F is evaluated everywhere).
int traceImplicitGrid(Canvas &canvas, const GraphView &view, uint32_t colour, int width, Program &F,
                      Program &fx, Program &fy, const ExprNode *formula);

} // namespace gq
