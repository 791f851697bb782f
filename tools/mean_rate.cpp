#include "tools/mean_rate.h"

#include "engine/formula.h"
#include "engine/numbers.h"
#include <cmath>

namespace gq
{

float approachStep(long double d)
{
    const long double a = std::fabs(d);
    float s = 0;
    if (a > 1)
        s = 0.1f;
    else if (a > 0.1L)
        s = 0.01f;
    else if (a > 0.01L)
        s = 0.001f;
    else if (a > 0.001L)
        s = 0.0001f;
    else if (a > 0.0001L)
        s = 0.00001f;
    return static_cast<float>(signOf(d)) * s;
}

long double snapToInteger(long double x, float step)
{
    const long double whole = std::trunc(x);
    return std::fabs(whole - x) < static_cast<long double>(step) * 0.5L ? whole : x;
}

bool MeanRate::open(const Document &doc, const GraphView &view)
{
    close();
    if (doc.itemCount < 1)
        return false;
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    Tree tree = parseCurveFormula(doc.items[1].text[1]);
    if (!tree)
        return false;
    f_.emplace(tree.get());
    doc_ = &doc;
    view_ = view;
    zoomHeld_ = false;
    // No read-out of an earlier opening is left standing, the mean rate of a
    // new A = B included.
    texts_ = MeanRateTexts{};
    return true;
}

void MeanRate::close()
{
    f_.reset();
    doc_ = nullptr;
}

std::optional<long double> MeanRate::f(long double x)
{
    if (!f_)
        return std::nullopt;
    EngineScope scope(doc_, doc_->parameters, view_.xPerPixel());
    EngineState &state = engineState();
    state.evalValid = true;
    const long double y = f_->evaluate(x, 0);
    if (!state.evalValid)
        return std::nullopt;
    return y;
}

bool MeanRate::enterPoint(MeanRatePoint which, const std::string &text)
{
    if (!f_)
        return false;
    long double x = 0;
    {
        EngineScope scope(doc_, doc_->parameters, view_.xPerPixel());
        std::optional<Program> value = compileFormula(text);
        if (!value)
            return false;
        engineState().evalValid = true;
        x = value->evaluate(0, 0);
        if (!engineState().evalValid || !isFiniteValue(x))
            return false;
    }
    const std::optional<long double> y = f(x);
    if (!y)
        return false;
    (which == MeanRatePoint::A ? ax_ : bx_) = x;
    (which == MeanRatePoint::A ? ay_ : by_) = *y;
    return true;
}

bool MeanRate::showPoints()
{
    const std::optional<long double> a = f(ax_);
    if (!a)
        return false;
    ay_ = *a;
    const std::optional<long double> b = f(bx_);
    if (!b)
        return false;
    by_ = *b;
    return true;
}

void MeanRate::updateReadouts()
{
    const auto f5 = [](long double v) { return formatFixed(v, "0.00000"); };
    texts_.a = "(" + f5(ax_) + " , " + f5(ay_) + ")";
    texts_.b = "(" + f5(bx_) + " , " + f5(by_) + ")";
    texts_.dy = f5(by_ - ay_);
    texts_.dx = f5(bx_ - ax_);
    if (std::fabs(bx_ - ax_) > 0)
        texts_.rate = formatFixed((by_ - ay_) / (bx_ - ax_), "0.0000");
}

bool MeanRate::moveArrow(MeanRateArrow arrow)
{
    const long double pixel = view_.xPerPixel();
    moveStep_ = static_cast<float>(std::fabs(bx_ - ax_) <= 10 * pixel ? pixel : 2 * pixel);
    const long double step = moveStep_;
    switch (arrow) {
    case MeanRateArrow::ALeft:
        ax_ -= step;
        break;
    case MeanRateArrow::ARight:
        ax_ += step;
        break;
    case MeanRateArrow::BLeft:
        bx_ -= step;
        break;
    case MeanRateArrow::BRight:
        bx_ += step;
        break;
    }
    ax_ = snapToInteger(ax_, moveStep_);
    bx_ = snapToInteger(bx_, moveStep_);
    // Closer than one step the points are not shown (they may even pass).
    return std::fabs(bx_ - ax_) > step;
}

bool MeanRate::approachTick()
{
    moveStep_ = approachStep(bx_ - ax_);
    // Far from 0 a step can be below B's precision: B would stay where it is
    // and the timer tick in place for ever.
    const long double next = bx_ - moveStep_;
    if (moveStep_ == 0 || next == bx_)
        return false;
    bx_ = next;
    return true;
}

bool MeanRate::zoom(MeanRateZoom command, CoordFrame &frame)
{
    if (command == MeanRateZoom::Restore) {
        if (!zoomHeld_)
            return false;
        zoomHeld_ = false;
        const bool changed = !(frame == heldFrame_);
        frame = heldFrame_;
        return changed;
    }
    if (!zoomHeld_) {
        heldFrame_ = frame;
        zoomHeld_ = true;
    }
    const long double w = static_cast<float>(frame.xmax - frame.xmin);
    const long double h = static_cast<float>(frame.ymax - frame.ymin);
    CoordFrame next;
    if (command == MeanRateZoom::Reduce) {
        next = {ax_ - w, ax_ + w, ay_ - h, ay_ + h};
    } else {
        if (!(w >= 0.04L))
            return false;
        next = {ax_ - w / 4, ax_ + w / 4, ay_ - h / 4, ay_ + h / 4};
    }
    // The frame never leaves the range every document can hold.
    if (!isValidFrame(next))
        return false;
    frame = next;
    return true;
}

bool askPoint(MeanRate &rate, MeanRatePoint which, const std::function<std::string(bool retry)> &ask)
{
    for (bool retry = false;; retry = true) {
        const std::string raw = ask(retry);
        if (rate.enterPoint(which, raw.empty() ? std::string("0") : raw))
            return true;
        if (raw.empty())
            return false;
    }
}

} // namespace gq
