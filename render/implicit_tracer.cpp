// The general tracer of implicit curves: a scan of the window in cells of
// 10 × 10 pixels for roots on cell edges, and a pixel-by-pixel walk along the
// curve from every root found in a cell that no earlier walk crossed.
#include "render/implicit_internal.h"

#include "engine/budget.h"
#include "engine/numbers.h"
#include "render/implicit_speculation.h"
#include "render/primitives.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gq
{

namespace
{

constexpr long double kPi = std::numbers::pi_v<long double>;
// |F| below this counts as on the curve (corner test and corrector).
constexpr long double kOnCurve = 1e-6L;
// Pixels per cell side.
constexpr int kCellPixels = 10;
// Bisections stop long before this; the cap only guards against intervals
// that stop shrinking (NaN, or a tolerance below the number resolution).
constexpr int kMaxBisections = 200;

// True when the samples bracket a simple crossing: F changes sign between
// them, |F| falls from the first towards the second and rises at the second.
bool crossing(const ImplicitTracer::EdgeSample &s1, const ImplicitTracer::EdgeSample &s2)
{
    int f1 = signOf(s1.f), f2 = signOf(s2.f);
    return f1 != f2 && signOf(s1.g) != f1 && signOf(s2.g) == f2;
}

// True when F keeps its sign between the samples at a and b but |F| has a
// minimum between them whose tangent-line estimate reaches zero, so that the
// curve may touch the edge there.
bool touching(long double a, const ImplicitTracer::EdgeSample &s1, long double b,
              const ImplicitTracer::EdgeSample &s2)
{
    int f1 = signOf(s1.f), f2 = signOf(s2.f);
    if (f1 != f2 || f1 == 0 || signOf(s1.g) == f1 || signOf(s2.g) != f2)
        return false;
    long double slopeDiff = s1.g - s2.g;
    if (slopeDiff == 0)
        return false;
    // Where the tangent lines at the two ends meet, and their value there.
    long double t = (s2.f - s1.f + s1.g * a - s2.g * b) / slopeDiff;
    long double value = s1.f + s1.g * (t - a);
    if (std::isnan(value))
        return false;
    return signOf(value) != f1;
}

TracePoint rotated(TracePoint d, long double angle)
{
    // One call for both: the same two values as std::cos and std::sin.
    long double s, c;
    sincosl(angle, &s, &c);
    return {d.x * c - d.y * s, d.x * s + d.y * c};
}

} // namespace

ImplicitTracer::ImplicitTracer(Canvas &canvas, const GraphView &view, uint32_t colour, int width, Program &F,
                               Program &fx, Program &fy, const SignEstimate *signOfF)
    : canvas_(canvas), view_(view), colour_(colour), width_(width), F_(&F), fx_(&fx), fy_(&fy),
      signOfF_(signOfF && signOfF->saves() ? signOfF : nullptr),
      xpp_(view.xPerPixel()), ypp_(view.yPerPixel()),
      cells_(static_cast<int>(roundHalfEven(view.graphSize() * 0.1L))),
      // Marking reaches one cell beyond the grid on each side (a step just
      // outside the window), so the table spans indices 0..M + 1.
      visited_(static_cast<std::size_t>(cells_ + 2) * (cells_ + 2), 0),
      maxTraceSteps_(kStepsPerPixel * view.graphSize()),
      fxWithoutY_(!fx.readsLetter(OpY) && !fx.writesLetters()),
      fyWithoutX_(!fy.readsLetter(OpX) && !fy.writesLetters())
{
}

ImplicitTracer::Value ImplicitTracer::evalF(long double x, long double y) const
{
    EngineState &state = engineState();
    state.evalValid = true;
    long double v = F_->evaluate(x, y);
    return {v, state.evalValid && !std::isnan(v)};
}

bool ImplicitTracer::chargeEstimate(TracePoint p) const
{
    EngineState &state = engineState();
    if (state.budget.evaluationLeft < F_->evaluationCost())
        return false;
    spendEvaluation(F_->evaluationCost());
    state.variables.x = p.x;
    state.variables.y = p.y;
    return true;
}

bool ImplicitTracer::certainlyOffCurve(TracePoint p) const
{
    SignEstimate::Range r;
    if (!signOfF_ || !signOfF_->estimate(p.x, p.y, r))
        return false;
    // |F| >= |value| - bound, the difference widened for its own rounding.
    const long double least = std::fabs(static_cast<long double>(r.value)) - r.bound;
    return least > kOnCurve * (1 + 0x1p-40L) && chargeEstimate(p);
}

long double ImplicitTracer::slopeAlong(bool vertical, TracePoint p) const
{
    // An undefined slope reads as 0, the evaluator's value for it.
    engineState().evalValid = true;
    return (vertical ? fy_ : fx_)->evaluate(p.x, p.y);
}

ImplicitTracer::EdgeSample ImplicitTracer::edgeSample(bool vertical, long double fixed, long double t) const
{
    const TracePoint p = vertical ? TracePoint{fixed, t} : TracePoint{t, fixed};
    Value f = evalF(p.x, p.y);
    EdgeSample s;
    s.f = f.v;
    s.defined = f.ok;
    if (f.ok)
        s.g = slopeAlong(vertical, p);
    return s;
}

long double ImplicitTracer::slopeAgain(bool vertical, TracePoint p, long double &value, uint8_t &known) const
{
    const Program &slope = vertical ? *fy_ : *fx_;
    const bool admitted = slope.empty() || engineState().budget.evaluationLeft >= slope.evaluationCost();
    if (!known) {
        value = slopeAlong(vertical, p);
        known = admitted;
        return value;
    }
    // The same value; only the budget sees the evaluation, and a refused one
    // reads 0 as slopeAlong's would.
    return slope.empty() || spendEvaluation(slope.evaluationCost()) ? value : 0;
}

void ImplicitTracer::fillLatticeRow(LatticePoint *row, long double y, LatticeColumns &columns) const
{
    const long double cellW = kCellPixels * xpp_;
    if (fxWithoutY_ && columns.known.empty()) {
        columns.fx.assign(static_cast<std::size_t>(cells_) + 1, 0);
        columns.known.assign(columns.fx.size(), 0);
    }
    long double rowFy = 0;
    uint8_t rowFyKnown = 0;
    for (int i = 0; i <= cells_; ++i) {
        LatticePoint &p = row[i];
        const long double x = view_.xmin() + i * cellW;
        const Value f = evalF(x, y);
        p.f = f.v;
        p.defined = f.ok;
        if (f.ok) {
            p.fx = fxWithoutY_ ? slopeAgain(false, {x, y}, columns.fx[i], columns.known[i])
                               : slopeAlong(false, {x, y});
            p.fy = fyWithoutX_ ? slopeAgain(true, {x, y}, rowFy, rowFyKnown) : slopeAlong(true, {x, y});
            p.nearCurve = std::fabs(p.f) < kOnCurve;
            p.signF = static_cast<int8_t>(signOf(p.f));
            p.signFx = static_cast<int8_t>(signOf(p.fx));
            p.signFy = static_cast<int8_t>(signOf(p.fy));
        }
    }
}

long double ImplicitTracer::latticeY(int j) const
{
    if (j == 0)
        return view_.ymin();
    const long double cellH = kCellPixels * ypp_;
    return view_.ymin() + (j - 1) * cellH + cellH;
}

ImplicitTracer::CellBounds ImplicitTracer::cellBounds(int i, int j) const
{
    const long double cellW = kCellPixels * xpp_, cellH = kCellPixels * ypp_;
    const long double x0 = view_.xmin() + (i - 1) * cellW, y0 = view_.ymin() + (j - 1) * cellH;
    return {x0, x0 + cellW, y0, y0 + cellH};
}

bool ImplicitTracer::findBottomSeed(const CellBounds &c, const LatticePoint &c00, const LatticePoint &c10,
                                    TracePoint &seed)
{
    return mayHaveSeed(false, c00, c10) && findEdgeRoot(false, c.y0, c.x0, c.x1, {c00.f, c00.fx, c00.defined},
                                                        {c10.f, c10.fx, c10.defined}, seed);
}

bool ImplicitTracer::findLeftSeed(const CellBounds &c, const LatticePoint &c00, const LatticePoint &c01,
                                  TracePoint &seed)
{
    return mayHaveSeed(true, c00, c01) && findEdgeRoot(true, c.x0, c.y0, c.y1, {c00.f, c00.fy, c00.defined},
                                                       {c01.f, c01.fy, c01.defined}, seed);
}

int ImplicitTracer::traceImplicitGrid()
{
    std::fill(visited_.begin(), visited_.end(), 0);
    if (int traces = 0; useWorkers_ && TraceSpeculation::traceGrid(*this, traces))
        return traces;
    int traces = 0;
    // Neighbouring cells share corners, so F and its slopes are sampled once
    // per lattice point, a row of them at a time (lower and upper border of
    // the cell row).
    std::vector<LatticePoint> lower(static_cast<std::size_t>(cells_) + 1), upper(lower.size());
    LatticeColumns columns;
    if (cells_ > 0)
        fillLatticeRow(upper.data(), latticeY(0), columns);
    for (int j = 1; j <= cells_; ++j) {
        lower.swap(upper);
        fillLatticeRow(upper.data(), latticeY(j), columns);
        for (int i = 1; i <= cells_; ++i) {
            if (visited(i, j))
                continue;
            const CellBounds cell = cellBounds(i, j);
            TracePoint seed;
            if (findBottomSeed(cell, lower[i - 1], lower[i], seed) ||
                findLeftSeed(cell, lower[i - 1], upper[i - 1], seed)) {
                traceFromSeed(seed);
                ++traces;
            }
        }
    }
    return traces;
}

bool ImplicitTracer::mayHaveSeed(bool vertical, const LatticePoint &a, const LatticePoint &b)
{
    // findEdgeRoot's tests before it evaluates anything, on the signs alone
    // (a touching point also needs the tangent lines, which it checks).
    if (!vertical && ((a.defined && a.nearCurve) || (b.defined && b.nearCurve)))
        return true;
    if (!a.defined || !b.defined)
        return false;
    const int ga = vertical ? a.signFy : a.signFx, gb = vertical ? b.signFy : b.signFx;
    if (vertical && (a.signF == 0 || b.signF == 0))
        return true;
    if (ga == a.signF || gb != b.signF)
        return false; // neither crossing nor touching
    return a.signF != b.signF || (!vertical && a.signF != 0);
}

bool ImplicitTracer::mayHaveSeed(bool vertical, const LatticePoint &a, const LatticePoint &b, long double lo,
                                 long double hi)
{
    if (!mayHaveSeed(vertical, a, b))
        return false;
    if (vertical || a.signF != b.signF || a.nearCurve || b.nearCurve)
        return true;
    return touching(lo, {a.f, a.fx, true}, hi, {b.f, b.fx, true});
}

bool ImplicitTracer::findEdgeRoot(bool vertical, long double fixed, long double a, long double b,
                                  EdgeSample fa, EdgeSample fb, TracePoint &seed)
{
    auto at = [&](long double t) { return vertical ? TracePoint{fixed, t} : TracePoint{t, fixed}; };
    // The bottom edge takes a corner within 1e-6 of zero as a seed and also
    // looks for touching points; the left edge needs an exact zero and only
    // looks for crossings (its corners were the bottom edge's just before).
    if (!vertical) {
        if (fa.defined && std::fabs(fa.f) < kOnCurve) {
            seed = at(a);
            return true;
        }
        if (fb.defined && std::fabs(fb.f) < kOnCurve) {
            seed = at(b);
            return true;
        }
        if (!fa.defined || !fb.defined)
            return false;
    } else {
        if (!fa.defined || !fb.defined)
            return false;
        if (fa.f == 0) {
            seed = at(a);
            return true;
        }
        if (fb.f == 0) {
            seed = at(b);
            return true;
        }
    }
    const long double pixel = vertical ? ypp_ : xpp_;
    EdgeSample A = fa, B = fb;
    if (crossing(A, B)) {
        for (int n = 0; n < kMaxBisections && !(std::fabs(a - b) < pixel / 8); ++n) {
            long double m = (a + b) / 2;
            EdgeSample M = edgeSample(vertical, fixed, m);
            if (!M.defined)
                return false;
            if (crossing(A, M))
                b = m, B = M;
            else if (crossing(M, B))
                a = m, A = M;
            else
                return false;
        }
        seed = at((a + b) / 2);
        return true;
    }
    if (vertical || !touching(a, A, b, B))
        return false;
    for (int n = 0; n < kMaxBisections && !(std::fabs(a - b) < pixel / 4); ++n) {
        long double m = (a + b) / 2;
        EdgeSample M = edgeSample(vertical, fixed, m);
        if (!M.defined)
            return false;
        if (M.f == 0) {
            seed = at(m);
            return true;
        }
        if (crossing(A, M) || touching(a, A, m, M))
            b = m, B = M;
        else if (crossing(M, B) || touching(m, M, b, B))
            a = m, A = M;
        else
            return false;
    }
    seed = at((a + b) / 2);
    return true;
}

void ImplicitTracer::traceFromSeed(TracePoint seed)
{
    drawWalk(walkFromSeed(seed));
}

ImplicitTracer::Walk ImplicitTracer::walkFromSeed(TracePoint seed) const
{
    Walk walk;
    walk.seed = seed;
    auto gradient = [this](TracePoint p, long double &gx, long double &gy) {
        engineState().evalValid = true;
        gx = fx_->evaluate(p.x, p.y);
        engineState().evalValid = true;
        gy = fy_->evaluate(p.x, p.y);
    };
    long double gx, gy;
    gradient(seed, gx, gy);
    if ((gx == 0 && gy == 0) || std::isnan(gx) || std::isnan(gy)) {
        walk.singular = true; // the dot alone
        return walk;
    }
    int sx = 1, sy = -signOf(gx) * signOf(gy);
    if (gx == 0)
        sx = 1, sy = 0;
    if (gy == 0)
        sx = 0, sy = 1;
    const int firstSx = sx, firstSy = sy;

    // The pixel and cell of the point the walk is at, carried from step to
    // step: each step's end is the next one's start.
    struct At {
        TracePoint p;
        int px, py;
        Cell cell;
    };
    const auto at = [this](TracePoint p) {
        return At{p, view_.xToPixel(p.x), view_.yToPixel(p.y), cellAt(p)};
    };
    const At atSeed = at(seed);
    At cur = atSeed;
    int ends = 0;
    long steps = 0;
    while (ends < 2) {
        if (walk.steps >= maxTraceSteps_) {
            // Neither left the window, failed nor came back: give up here.
            walk.cutOff = true;
            return walk;
        }
        ++walk.steps;
        bool directionEnds = false;
        TracePoint step, next;
        At atNext{};
        if (!predictStep(gx, gy, sx, sy, step) || !correctStep(cur.p, step, next)) {
            directionEnds = true;
        } else {
            atNext = at(next);
            walk.lines.push_back({cur.px, cur.py, atNext.px, atNext.py});
            cellsToMark(cur.p, cur.cell, next, atNext.cell, walk.marks);
            if (!view_.isInFrame(next.x, next.y)) {
                directionEnds = true;
            } else if (steps > 2 && std::fabs(next.x - seed.x) < xpp_ && std::fabs(next.y - seed.y) < ypp_) {
                walk.closed = true; // closed curve
                return walk;
            }
        }
        if (directionEnds) {
            if (++ends >= 2)
                break;
            cur = atSeed;
            sx = -firstSx;
            sy = -firstSy;
            steps = 0;
        } else {
            sx = signOf(next.x - cur.p.x);
            sy = signOf(next.y - cur.p.y);
            cur = atNext;
            ++steps;
        }
        gradient(cur.p, gx, gy);
    }
    return walk;
}

void ImplicitTracer::drawWalk(const Walk &walk)
{
    lastTraceSteps_ = walk.steps;
    canvas_.setPenColour(colour_);
    canvas_.setPenWidth(width_);
    plotDotIfInside(canvas_, view_, colour_, walk.seed.x, walk.seed.y);
    for (const auto &[x0, y0, x1, y1] : walk.lines) {
        canvas_.moveTo(x0, y0);
        canvas_.lineTo(x1, y1);
    }
    for (uint32_t cell : walk.marks)
        visited_[cell] = 1;
    if (walk.closed)
        canvas_.lineTo(view_.xToPixel(walk.seed.x), view_.yToPixel(walk.seed.y));
    if (walk.cutOff)
        ++tracesCutOff_;
}

bool ImplicitTracer::predictStep(long double gx, long double gy, int &sx, int &sy, TracePoint &step) const
{
    if (std::isnan(gx) || std::isnan(gy))
        return false;
    if (gx == 0) {
        step = {sx * xpp_, 0};
    } else if (gy == 0) {
        step = {0, sy * ypp_};
    } else if (std::fabs(gy) * ypp_ <= std::fabs(gx) * xpp_) {
        // The tangent (−gy, gx) runs more pixels in y than in x: one pixel in
        // y. (Measured in pixels, so that a stretched frame still moves one
        // pixel along the dominant axis.)
        const long double ratio = -gy / gx;
        if (sy == 0) // heading along x so far: keep that x direction
            sy = sx * signOf(ratio);
        step.y = sy * ypp_;
        step.x = step.y * ratio;
    } else {
        const long double ratio = -gx / gy;
        if (sx == 0)
            sx = sy * signOf(ratio);
        step.x = sx * xpp_;
        step.y = step.x * ratio;
    }
    return std::isfinite(step.x) && std::isfinite(step.y) && (step.x != 0 || step.y != 0);
}

bool ImplicitTracer::correctStep(TracePoint p, TracePoint d, TracePoint &result) const
{
    auto along = [&](long double angle) {
        TracePoint r = rotated(d, angle);
        return TracePoint{p.x + r.x, p.y + r.y};
    };
    const TracePoint q{p.x + d.x, p.y + d.y};
    if (!certainlyOffCurve(q)) {
        Value fq = evalF(q.x, q.y);
        if (!fq.ok)
            return false;
        if (std::fabs(fq.v) < kOnCurve) {
            result = q;
            return true;
        }
    }
    // Turn the step both ways by a sixteenth of a pixel diagonal at a time
    // until the two ends lie on opposite sides of the curve.
    const long double diagonal = std::sqrt(xpp_ * xpp_ + ypp_ * ypp_);
    const long double length = std::sqrt(d.x * d.x + d.y * d.y);
    const long double dAngle = diagonal / (16 * length);
    if (!std::isfinite(dAngle) || !(dAngle > 0))
        return false;
    long double up = 0, down = 0, fUp = 0, fDown = 0;
    for (;;) {
        up += dAngle;
        if (up > kPi / 4)
            return false;
        TracePoint qu = along(up);
        Value vu = evalF(qu.x, qu.y);
        if (!vu.ok)
            return false;
        if (vu.v == 0) {
            result = qu;
            return true;
        }
        down -= dAngle;
        if (down < -kPi / 4)
            return false;
        TracePoint qd = along(down);
        Value vd = evalF(qd.x, qd.y);
        if (!vd.ok)
            return false;
        fUp = vu.v;
        fDown = vd.v;
        if (signOf(fUp) * signOf(fDown) < 0)
            break;
    }
    // Bisect on the angle; at least once, so that the result is a midpoint.
    const long double tolerance = length * dAngle / 16;
    const long double bracketSize = std::max(std::fabs(fUp), std::fabs(fDown));
    long double fResult = 0;
    for (int n = 0; n < kMaxBisections; ++n) {
        long double mid = (up + down) / 2;
        TracePoint qm = along(mid);
        // Where this midpoint is the last whichever half is kept, the walk
        // asks for the slopes there next: for sin and cos of the same
        // arguments, so they are computed together.
        const bool last = std::fabs(mid - down) < tolerance && std::fabs(up - mid) < tolerance;
        if (!last && n + 1 < kMaxBisections) {
            // Only the sign decides which half is kept; the value is needed
            // where the bisection ends, so a midpoint that ends it is
            // evaluated in full.
            if (const int sign = signOfF_ ? signOfF_->signAt(qm.x, qm.y) : 0) {
                // The bracket as the full evaluation would leave it.
                const bool upMoves = sign == signOf(fUp);
                const long double nextUp = upMoves ? mid : up, nextDown = upMoves ? down : mid;
                if (!(std::fabs(nextUp - nextDown) < tolerance) && chargeEstimate(qm)) {
                    result = qm;
                    up = nextUp;
                    down = nextDown;
                    // From here on only the signs of fUp and fDown are read.
                    (upMoves ? fUp : fDown) = sign;
                    continue;
                }
            }
        }
        engineState().pairTrigonometry = last;
        Value vm = evalF(qm.x, qm.y);
        engineState().pairTrigonometry = false;
        if (!vm.ok)
            return false;
        result = qm;
        if (vm.v == 0)
            return true;
        fResult = vm.v;
        if (signOf(vm.v) == signOf(fUp))
            up = mid, fUp = vm.v;
        else
            down = mid, fDown = vm.v;
        if (std::fabs(up - down) < tolerance)
            break;
    }
    // A sign change where |F| grows as the bracket shrinks is a pole (tan, 1/u),
    // not the curve: following it would draw the pole line.
    return !(std::fabs(fResult) > bracketSize);
}

ImplicitTracer::Cell ImplicitTracer::cellAt(TracePoint p) const
{
    Cell c;
    c.has = cellOf(p, c.i, c.j);
    return c;
}

bool ImplicitTracer::cellOf(TracePoint p, int &i, int &j) const
{
    const long double qi = (p.x - view_.xmin()) / (kCellPixels * xpp_);
    const long double qj = (p.y - view_.ymin()) / (kCellPixels * ypp_);
    // Only points near the grid have a cell; the range check comes before the
    // conversion so that no huge or NaN value is turned into an int.
    if (!(qi > -2 && qi < cells_ + 2 && qj > -2 && qj < cells_ + 2))
        return false;
    i = truncToInt(qi) + 1;
    j = truncToInt(qj) + 1;
    return true;
}

bool ImplicitTracer::visited(int i, int j) const
{
    if (i < 0 || i > cells_ + 1 || j < 0 || j > cells_ + 1)
        return false;
    return visited_[static_cast<std::size_t>(j) * (cells_ + 2) + i] != 0;
}

void ImplicitTracer::markVisitedCells(TracePoint p, TracePoint q)
{
    std::vector<uint32_t> marks;
    cellsToMark(p, q, marks);
    for (uint32_t cell : marks)
        visited_[cell] = 1;
}

void ImplicitTracer::cellsToMark(TracePoint p, TracePoint q, std::vector<uint32_t> &marks) const
{
    cellsToMark(p, cellAt(p), q, cellAt(q), marks);
}

void ImplicitTracer::cellsToMark(TracePoint p, Cell cp, TracePoint q, Cell cq,
                                 std::vector<uint32_t> &marks) const
{
    auto mark = [&](int i, int j) {
        if (i >= 0 && i <= cells_ + 1 && j >= 0 && j <= cells_ + 1)
            marks.push_back(static_cast<uint32_t>(j) * static_cast<uint32_t>(cells_ + 2) +
                            static_cast<uint32_t>(i));
    };
    const int ip = cp.i, jp = cp.j, iq = cq.i, jq = cq.j;
    const bool hasP = cp.has, hasQ = cq.has;
    auto markNear = [&](TracePoint pt, int i, int j) {
        mark(i, j);
        // Within a pixel of the cell's left or bottom border: the curve may
        // cross into the neighbour's edge there, so the neighbour is done too.
        const bool nearLeft = pt.x - (view_.xmin() + (i - 1) * kCellPixels * xpp_) < xpp_;
        const bool nearBottom = pt.y - (view_.ymin() + (j - 1) * kCellPixels * ypp_) < ypp_;
        if (nearLeft)
            mark(i - 1, j);
        if (nearBottom)
            mark(i, j - 1);
        if (nearLeft && nearBottom)
            mark(i - 1, j - 1);
    };
    if (hasP)
        markNear(p, ip, jp);
    if (hasQ)
        markNear(q, iq, jq);
    if (hasP && hasQ && ip != iq && jp != jq) {
        // A diagonal move passes through one of the other two cells of the block.
        mark(ip, jq);
        mark(iq, jp);
    }
}

int traceImplicitGrid(Canvas &canvas, const GraphView &view, uint32_t colour, int width, Program &F,
                      Program &fx, Program &fy, const ExprNode *formula)
{
    const SignEstimate signOfF(formula);
    ImplicitTracer tracer(canvas, view, colour, width, F, fx, fy, &signOfF);
    return tracer.traceImplicitGrid();
}

} // namespace gq
