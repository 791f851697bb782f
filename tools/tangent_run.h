// The moving point of contact P on the one registered explicit function
// y = f(x): its position, f and the slope f' there, the previous position,
// the automatic run one pixel per tick, and the read-outs. No widgets: the
// tangent window forwards its clicks and timer ticks here and draws what the
// run holds (tools/tangent_draw.h).
//
// f is prepared as the explicit plotter prepares it (parseCurveFormula), and
// f' is its symbolic derivative, both formed once per opening; the slope is
// never estimated from differences of f.
//
#pragma once

#include "engine/program.h"
#include "model/document.h"
#include "render/graph_view.h"
#include <optional>
#include <string>

namespace gq
{

class TangentRun
{
  public:
    // Opens a session on doc's first item in the given view (the mapping of
    // the graph on screen): Step := one pixel to the right, and P at the
    // first point from the frame's left edge where f is defined, shown at
    // once with its read-outs (past a stretch where neither P nor the slope
    // point can be seen). Nothing carries over from an earlier session; where
    // f is undefined across the whole frame the read-outs stay blank. doc
    // must outlive the session. False, with no session open, when the formula
    // does not parse or its derivative cannot be formed.
    bool open(const Document &doc, const GraphView &view);
    // The graph was drawn at another size: steps of one pixel of the new
    // view, in the same direction.
    void setView(const GraphView &view);
    // Ends the session (frees f and f', stops the run).
    void close();
    bool isOpen() const { return f_.has_value(); }

    // The automatic run. tick() takes one step of it: P moves one pixel in
    // the current direction, further over points where f is undefined, then
    // Advance. The run stops at the frame's edge, when no defined point is
    // left before it, and whenever a tick cannot move P on, so a running
    // timer always gets closer to its end.
    void start() { running_ = isOpen(); }
    void stop() { running_ = false; }
    bool running() const { return running_; }
    // True when P reached a defined point, so that the frame is drawn.
    bool tick();

    // An arrow: direction -1 (left) or +1 (right) becomes the direction of
    // the run, and P moves one step that way (clamped to the frame), then
    // Advance.
    void move(int direction);

    // Advance on its own: bring P to a showable position at or beyond X and
    // update the read-outs (after the trace box was unticked).
    void advance();

    // P put at x directly, without the run's skipping: the current position
    // becomes the previous one, P is evaluated at x and the read-outs show
    // (x, f(x)) and f'(x). False when f is undefined at x.
    bool placeAt(long double x);

    // Whether Draw shows anything: f defined at P and at the previous position.
    bool showable() const { return valid_ && prevValid_; }
    // A pole or jump of f or f' lay between the positions since the last
    // frame, so the trace must not join them.
    bool traceBreak() const { return traceBreak_; }
    // Draw has shown P at X: X becomes the most recent evaluation's x, and
    // the trace goes on from here.
    void noteFrameDrawn();

    long double x() const { return x_; }
    long double y() const { return y_; }
    long double slope() const { return m_; } // f'(X)
    long double prevX() const { return prevX_; }
    long double prevY() const { return prevY_; }
    long double prevSlope() const { return prevM_; }
    bool valid() const { return valid_; }
    bool prevValid() const { return prevValid_; }
    // Signed x increment per step: ±xPerPixel.
    long double step() const { return step_; }
    int direction() const { return step_ < 0 ? -1 : 1; }
    // The slope drawn and shown: 0 at a detected extremum, else f'(X).
    long double shownSlope() const { return shownSlope_; }

    // The read-outs: "(" x " , " y ")" and the slope, both "0.0000"; empty
    // until P is first shown.
    const std::string &pointText() const { return pointText_; }
    const std::string &slopeText() const { return slopeText_; }

  private:
    long double evalF(long double x, bool &defined);
    long double evalSlope(long double x);
    void evaluateAtX();
    void shift();
    bool inRangeX(long double x) const { return x >= view_.xmin() && x <= view_.xmax(); }
    void clampX();
    bool visible(long double v) const { return v >= view_.ymin() && v <= view_.ymax(); }
    void advanceSteps();
    void updateReadouts(long double xs);

    const Document *doc_ = nullptr;
    GraphView view_;
    std::optional<Program> f_, slopeOf_;
    long double x_ = 0, y_ = 0, m_ = 0;
    long double prevX_ = 0, prevY_ = 0, prevM_ = 0;
    bool valid_ = false, prevValid_ = false;
    long double step_ = 0;
    long double shownSlope_ = 0;
    long double recentX_ = 0;
    bool traceBreak_ = false;
    bool running_ = false;
    std::string pointText_;
    std::string slopeText_;
};

} // namespace gq
