// The mean rate of change of the one registered explicit function y = f(x)
// between two points A and B on its graph: the points, their moves by the
// arrows, B's approach to A in ever smaller steps, the read-outs, and the
// zoom about A. No widgets: the mean-rate window forwards its clicks and
// timer ticks here and draws what this holds (tools/mean_rate_draw.h).
//
// f is evaluated as the explicit plotter evaluates it (parseCurveFormula),
// so the points lie on the drawn curve.
#pragma once

#include "engine/program.h"
#include "model/document.h"
#include "render/graph_view.h"
#include <functional>
#include <optional>
#include <string>

namespace gq
{

enum class MeanRatePoint { A, B };
enum class MeanRateArrow { ALeft, ARight, BLeft, BRight };
enum class MeanRateZoom { Enlarge, Reduce, Restore };

// The step of one approach tick for d = BX - AX: sign(d) times 0.1, 0.01,
// 0.001, 0.0001 or 0.00001 for |d| above 1, 0.1, 0.01, 0.001 or 0.0001 (each
// band closed at its top), held in single precision; 0 once |d| <= 0.0001
// (and for NaN). Never more than a tenth of |d|, so B never passes A.
float approachStep(long double d);

// An abscissa just beyond an integer on the side away from zero, by less than
// half a step, becomes that integer: x is truncated towards zero, so 2.004
// snaps to 2 and -2.004 to -2 while 1.996 and -1.996 stay.
long double snapToInteger(long double x, float step);

// The read-outs: "(" x " , " y ")" of A and B, the changes of y and x, all
// "0.00000", and the mean rate "0.0000".
struct MeanRateTexts {
    std::string a, b, dy, dx, rate;
};

class MeanRate
{
  public:
    // Opens a session on doc's first item in the view of the graph on screen;
    // no zoom is held afterwards (the frame stays as it is). doc must outlive
    // the session. False, with no session open, when the formula does not
    // parse.
    bool open(const Document &doc, const GraphView &view);
    void close();
    bool isOpen() const { return f_.has_value(); }
    // The mapping after a redraw (the zoom changes the frame).
    void setView(const GraphView &view) { view_ = view; }
    const GraphView &view() const { return view_; }

    // Sets a point from the text typed for its abscissa (a constant formula).
    // False, leaving the point as it was, when the text's value or f there is
    // undefined.
    bool enterPoint(MeanRatePoint which, const std::string &text);
    // ShowPoints' evaluation: AY := f(AX) and BY := f(BX). False when either
    // is undefined (then nothing is redrawn and nothing else changes).
    bool showPoints();
    // ShowReadouts: every text from the points; the rate only when AX != BX,
    // else it keeps its text.
    void updateReadouts();
    const MeanRateTexts &texts() const { return texts_; }

    // One click on an arrow: the step is one pixel while the points are
    // within ten pixels of each other, else two (held in single precision);
    // the point moves by it and both abscissas snap (snapToInteger). True
    // when the points are now more than one step apart, so that ShowPoints
    // follows; otherwise nothing is redrawn although the point has moved.
    bool moveArrow(MeanRateArrow arrow);
    // One tick of B's approach: B moves by approachStep towards A. False once
    // the step is 0 (B within 0.0001 of A), or too small to move B at all (B
    // far from 0): the approach is over and B has not moved.
    bool approachTick();

    // The zoom about A. Restore puts back the frame held since the first zoom
    // and then holds none. Enlarge and Reduce first hold the frame (unless one
    // is held), then centre it on A with half (Enlarge, only while the width
    // is at least 0.04) or twice (Reduce) the width and height, each rounded
    // to single precision first. A frame outside ±kFrameLimit is refused.
    // Returns whether frame changed; the caller redraws either way.
    bool zoom(MeanRateZoom command, CoordFrame &frame);
    bool zoomHeld() const { return zoomHeld_; }
    const CoordFrame &heldFrame() const { return heldFrame_; }

    long double ax() const { return ax_; }
    long double ay() const { return ay_; }
    long double bx() const { return bx_; }
    long double by() const { return by_; }
    // The last step by which a point moved (arrow or approach).
    float moveStep() const { return moveStep_; }

  private:
    std::optional<long double> f(long double x);

    const Document *doc_ = nullptr;
    GraphView view_;
    std::optional<Program> f_;
    long double ax_ = 0, ay_ = 0, bx_ = 0, by_ = 0;
    float moveStep_ = 0;
    bool zoomHeld_ = false;
    CoordFrame heldFrame_{};
    MeanRateTexts texts_;
};

// AskPoints' question for one point, repeated until the value is accepted:
// ask(retry) shows the prompt (retry: after a rejected value) and returns the
// raw answer, "" when the keyboard was cancelled; an empty answer stands for
// "0". False when a cancelled prompt's "0" is rejected too: the user gave up
// (a function undefined at 0, or nowhere, must not trap the user in the
// question).
bool askPoint(MeanRate &rate, MeanRatePoint which, const std::function<std::string(bool retry)> &ask);

} // namespace gq
