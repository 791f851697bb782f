// World-coordinate drawing primitives shared by the plotters and the calculus
// tools. Each sets the pen colour and width itself.
//
// Coordinates are world values mapped through the view; any NaN coordinate
// makes a primitive draw nothing (it is never converted to a pixel).
#pragma once

#include "platform/canvas.h"
#include "render/graph_view.h"
#include <QString>
#include <cstdint>

namespace gq
{

// The pen of a curve drawn segment by segment. While the pen is up, the next
// segment only marks its end point and the curve starts afresh there: at the
// start of a curve, after an undefined stretch, and across a pole or jump
// between two samples.
struct Stroke {
    uint32_t colour = 0; // 0x00BBGGRR
    int width = 1;       // pixels
    bool up = true;
};

// One segment of a stroke. Pen down: moves to (x1, y1) and draws a line to
// (x2, y2) (end pixel excluded). Pen up: sets the single pixel (a dot of the
// canvas's pixel scale) at (x2, y2) and moves there. Leaves the pen as it was; the caller puts it down after
// the first point of a stroke.
void drawSegment(Canvas &canvas, const GraphView &view, const Stroke &stroke, long double x1, long double y1,
                 long double x2, long double y2);

// The whole straight line through two distinct world points, cut to the frame.
void drawClippedLine(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double x1,
                     long double y1, long double x2, long double y2);

// The line of slope m through (x0, y0), cut to the frame, as one segment of
// the stroke. An infinite or NaN slope draws nothing.
void drawLineThroughPoint(Canvas &canvas, const GraphView &view, const Stroke &stroke, long double x0,
                          long double y0, long double m);

// One pixel (a dot of the canvas's pixel scale) at a world point when the
// point lies inside the frame.
void plotDotIfInside(Canvas &canvas, const GraphView &view, uint32_t colour, long double x, long double y);

// A filled 4-pixel dot with a short label (font 9 pt in the colour): label to
// the upper right when placement is 1, centred above otherwise. Only the
// glyphs mark the graph; an empty text draws the dot alone. Sizes and
// offsets grow with the canvas's pixel scale.
void drawLabeledPoint(Canvas &canvas, const GraphView &view, int placement, uint32_t colour, long double x,
                      long double y, const QString &text);

} // namespace gq
