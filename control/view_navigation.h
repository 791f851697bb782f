// Moving about the graph with the mouse in normal mode: the wheel zooms about
// the point under the pointer, a drag with the left button moves the frame.
// Both keep the frame within ±10000 by the same rules as the range dialog.
#pragma once

#include "model/document.h"
#include "render/graph_view.h"

namespace gq
{

// The wheel rotation of one notch, in the toolkit's units (eighths of a
// degree).
inline constexpr int kWheelNotch = 120;

// One wheel notch at the pixel (px, py) of view: the spans change as one
// "拡大" (zoomIn) or "縮小" step of the range dialog would change them,
// and the frame is placed so that the world point under the pointer stays
// under it. A frame that would pass ±10000 is moved back inside (the step
// already keeps the spans small enough). Returns true when frame changed;
// a step the dialog would refuse changes nothing.
bool wheelZoom(CoordFrame &frame, const GraphView &view, int px, int py, bool zoomIn);

// The frame of a drag that started on view's frame and has moved the pointer
// by (dx, dy) pixels: the world point under the pointer follows it. Spans
// stay those of view; a frame that would pass ±10000 stops at the limit.
CoordFrame pannedFrame(const GraphView &start, int dx, int dy);

// Moves frame, spans kept, so that no bound passes ±10000 (a frame that
// passes the limit on one side stops at it). Returns false, leaving frame as
// it was, when the result is still not a valid frame (a span above 20000).
bool shiftIntoLimits(CoordFrame &frame);

// Wheel rotation to steps: adds delta (toolkit units) to the rotation kept
// in remainder and returns how many whole notches it makes, positive for
// rotation away from the user (zoom in); what is left stays in remainder.
int wheelNotches(int &remainder, int delta);

} // namespace gq
