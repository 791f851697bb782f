// Changing the coordinate frame: the fourteen step operations of the range
// dialog (also used by click-to-zoom and the mouse wheel), typed bounds, the
// standard range and the texts of the dialog's bound panels.
//
// Every function here either leaves the frame as it was or stores a frame
// that isValidFrame accepts.
#pragma once

#include "control/questions.h"
#include "model/document.h"
#include <QString>
#include <string>

namespace gq
{

// The step operations, by the codes the dialog's buttons carry.
enum RangeStep : int {
    StepXMinUp = 1,
    StepXMinDown = 2,
    StepXMaxUp = 3,
    StepXMaxDown = 4,
    StepYMinUp = 5,
    StepYMinDown = 6,
    StepYMaxUp = 7,
    StepYMaxDown = 8,
    StepLeft = 9, // the window moves left: both x bounds down
    StepRight = 10,
    StepUp = 11, // both y bounds up
    StepDown = 12,
    StepZoomOut = 13, // "縮小": both spans doubled about the centre
    StepZoomIn = 14,  // "拡大": both spans halved about the centre
};

// The smallest span a step may leave, in world units.
inline constexpr long double kMinStepSpan = 0.04L;

// One step of operation code (1..14) on frame, in single precision: the
// bounds are taken as 32-bit floats, a step is 5 % of the span, and when that
// step is 1 or more the bounds and the step are first rounded to whole
// numbers (halves to even), so that spans of 20 or more move by whole steps.
// The result is stored only when it keeps every bound within ±10000 (a bound
// may reach 10000 exactly) and both spans at 0.04 or more. Returns true when
// the frame was changed; an unknown code changes nothing.
bool applyRangeStep(CoordFrame &frame, int code);

// The four bounds a user can type, in the order of the dialog's panels.
enum class RangeBound { XMin, XMax, YMin, YMax };

// The keyboard's prompt for a bound: "ｘの下限", "ｘの上限", "ｙの下限", "ｙの上限".
QString boundPrompt(RangeBound bound);

// The rule for typed frames: xmin < xmax, ymin < ymax and every bound
// strictly inside ±10000 (typed 10000 is refused); no minimum span. NaN
// fails.
bool acceptsTypedFrame(const CoordFrame &frame);

// Replaces one bound of frame by value when the typed rule accepts the
// result. Returns true when the frame was changed.
bool applyTypedBound(CoordFrame &frame, RangeBound bound, long double value);

// Asks for one bound on the formula keyboard (plain-number layout, the
// bound's prompt) and applies it to doc.frame. The answer is evaluated as a
// number formula with the document's definitions and parameters (π and Q1..Q6
// are allowed). An empty answer (the user cancelled) and an answer that has no
// finite value leave the frame as it was. Returns true when the frame changed.
bool askRangeBound(Document &doc, Questions &questions, RangeBound bound);

// The standard range, -5..5 on both axes.
inline CoordFrame standardFrame()
{
    return CoordFrame{};
}

// The text of a bound's panel: "0.000" when the bound's axis spans less than
// 1, "0.00" below 10, "0.0" from 10 on.
std::string boundPanelText(long double value, long double span);

} // namespace gq
