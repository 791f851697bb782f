#include "tools/tangent_run.h"

#include "engine/budget.h"
#include "engine/differentiate.h"
#include "engine/formula.h"
#include "engine/numbers.h"
#include "engine/simplify.h"
#include <cmath>

namespace gq
{

bool TangentRun::open(const Document &doc, const GraphView &view)
{
    close();
    if (doc.itemCount < 1)
        return false;
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    Tree tree = parseCurveFormula(doc.items[1].text[1]);
    if (!tree)
        return false;
    Tree derivativeTree;
    {
        // One budget for the derivative and its canonical form: a derivative
        // that does not fit is not the derivative.
        FormulaBudget budget;
        ExprNode *derivative = differentiate(tree.get(), OpX);
        if (derivative)
            canonicaliseTree(derivative);
        derivativeTree.reset(derivative);
        if (!derivativeTree || formulaBudgetSpent())
            return false;
    }
    f_.emplace(tree.get());
    slopeOf_.emplace(derivativeTree.get());

    doc_ = &doc;
    view_ = view;
    step_ = view.xPerPixel();
    running_ = false;
    traceBreak_ = false;
    // Every opening starts afresh: nothing of an earlier function, frame or
    // direction carries over. P goes to the first point from the frame's
    // left edge where f is defined, and is shown there at once.
    valid_ = prevValid_ = false;
    shownSlope_ = 0;
    pointText_.clear();
    slopeText_.clear();
    x_ = view.xmin();
    evaluateAtX();
    const int limit = view.graphSize() + 2;
    for (int n = 0; n <= limit && !valid_ && x_ < view.xmax(); ++n) {
        x_ += step_;
        clampX();
        evaluateAtX();
    }
    if (valid_) {
        shift(); // P is its own previous position
        recentX_ = x_;
        advanceSteps();
    }
    return true;
}

void TangentRun::setView(const GraphView &view)
{
    view_ = view;
    step_ = direction() * view.xPerPixel();
    clampX();
}

void TangentRun::close()
{
    running_ = false;
    f_.reset();
    slopeOf_.reset();
    doc_ = nullptr;
}

bool TangentRun::tick()
{
    if (!running_ || !isOpen()) {
        running_ = false;
        return false;
    }
    EngineScope scope(doc_, doc_->parameters, view_.xPerPixel());
    const long double before = x_;
    // P moves one step, and further over points where f is undefined. The
    // frame holds graphSize steps, so the bound only guards against a step
    // lost in rounding.
    bool defined = false;
    const int limit = view_.graphSize() + 2;
    for (int n = 0; n <= limit && !defined && inRangeX(x_); ++n) {
        prevX_ = x_;
        y_ = evalF(x_, defined);
        x_ += step_;
    }
    if (defined) {
        m_ = evalSlope(prevX_);
        advanceSteps();
    }
    // The run ends at the frame's edge, and a tick that could not move P on
    // ends it too: the timer never ticks in place.
    if (!inRangeX(x_) || !((x_ - before) * step_ > 0))
        running_ = false;
    return defined;
}

void TangentRun::move(int direction)
{
    if (!isOpen())
        return;
    EngineScope scope(doc_, doc_->parameters, view_.xPerPixel());
    step_ = direction < 0 ? -view_.xPerPixel() : view_.xPerPixel();
    x_ += step_;
    advanceSteps();
}

void TangentRun::advance()
{
    if (!isOpen())
        return;
    EngineScope scope(doc_, doc_->parameters, view_.xPerPixel());
    advanceSteps();
}

bool TangentRun::placeAt(long double x)
{
    if (!isOpen())
        return false;
    EngineScope scope(doc_, doc_->parameters, view_.xPerPixel());
    shift();
    x_ = x;
    evaluateAtX();
    if (valid_) {
        shownSlope_ = m_;
        updateReadouts(x_);
    }
    return valid_;
}

void TangentRun::noteFrameDrawn()
{
    recentX_ = x_;
    traceBreak_ = false;
}

long double TangentRun::evalF(long double x, bool &defined)
{
    EngineState &state = engineState();
    state.evalValid = true;
    const long double v = f_->evaluate(x, 0);
    defined = state.evalValid;
    recentX_ = x;
    traceBreak_ = traceBreak_ || f_->poleCrossed();
    return v;
}

long double TangentRun::evalSlope(long double x)
{
    engineState().evalValid = true;
    const long double v = slopeOf_->evaluate(x, 0);
    recentX_ = x;
    traceBreak_ = traceBreak_ || slopeOf_->poleCrossed();
    return v;
}

void TangentRun::evaluateAtX()
{
    y_ = evalF(x_, valid_);
    m_ = evalSlope(x_);
}

void TangentRun::shift()
{
    prevValid_ = valid_;
    prevX_ = x_;
    prevY_ = y_;
    prevM_ = m_;
}

void TangentRun::clampX()
{
    if (x_ < view_.xmin())
        x_ = view_.xmin();
    else if (x_ > view_.xmax())
        x_ = view_.xmax();
}

void TangentRun::advanceSteps()
{
    const long double xmin = view_.xmin(), xmax = view_.xmax();
    const int limit = view_.graphSize() + 2;
    clampX();
    prevValid_ = valid_;
    prevX_ = recentX_;
    prevY_ = y_;
    prevM_ = m_;
    evaluateAtX();
    // Undefined points are stepped over.
    for (int n = 0; n <= limit && !valid_ && xmin < x_ && x_ < xmax; ++n) {
        shift();
        x_ += step_;
        clampX();
        evaluateAtX();
    }
    if (!valid_ || !prevValid_)
        return;

    // Stretches where neither P nor the slope point can be seen are skipped.
    struct Position {
        long double x, y, m, prevX, prevY, prevM;
        bool prevValid;
    };
    const Position start{x_, y_, m_, prevX_, prevY_, prevM_, prevValid_};
    for (int n = 0; n <= limit && valid_ && !visible(y_) && !visible(m_); ++n) {
        shift();
        x_ += step_;
        evaluateAtX();
        if (x_ >= xmax || x_ <= xmin)
            break;
    }
    if (!valid_) { // an undefined point ended the invisible stretch
        x_ = prevX_;
        y_ = prevY_;
        m_ = prevM_;
        return;
    }
    if (x_ >= xmax || x_ <= xmin) {
        // The edge ends the run, and P stays where this step began, with its
        // own values (the invisible stretch may have run on to the edge).
        running_ = false;
        x_ = start.x, y_ = start.y, m_ = start.m;
        prevX_ = start.prevX, prevY_ = start.prevY, prevM_ = start.prevM;
        prevValid_ = start.prevValid;
        recentX_ = x_;
    }

    // An extremum lies between the two positions when f' changes sign there
    // and is below one pixel: the slope shown is 0, at the zero of the chord
    // of f' between them.
    long double xs = x_;
    shownSlope_ = m_;
    if (prevValid_ && signOf(m_) != signOf(prevM_) && std::fabs(m_) < view_.yPerPixel()) {
        shownSlope_ = 0;
        xs = (m_ * prevX_ - prevM_ * x_) / (m_ - prevM_);
        if (!isFiniteValue(xs))
            xs = x_;
    }
    updateReadouts(xs);
}

void TangentRun::updateReadouts(long double xs)
{
    bool defined = false;
    long double ys = evalF(xs, defined);
    if (!defined) {
        xs = x_;
        ys = y_;
    }
    pointText_ = "(" + formatFixed(xs, "0.0000") + " , " + formatFixed(ys, "0.0000") + ")";
    slopeText_ = formatFixed(shownSlope_, "0.0000");
}

} // namespace gq
