// The picture of the interval: the graph with a yellow cross-hatched band
// over [a, b], and the maximum and minimum marks of the one explicit function.
// The stored graph is never changed; the result is a new picture for the
// visible graph.
#pragma once

#include "model/document.h"
#include "model/interval_state.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include "tools/interval_scan.h"

namespace gq
{

inline constexpr uint32_t kBandColour = rgbColour(255, 255, 0);
inline constexpr uint32_t kRed = rgbColour(255, 0, 0);
inline constexpr uint32_t kBlue = rgbColour(0, 0, 255);

// The band over [a, b] (outline and diagonal cross-hatch in yellow, full
// height), ANDed with graphImage: the graph shows through, with yellow
// hatch lines inside the band. The result has graphImage's size.
Canvas drawIntervalBand(const Canvas &graphImage, const GraphView &view, long double a, long double b);

// The marks of a scan on the canvas: every maximum point a red dot with a
// blue line to the y axis, then every minimum point a blue dot with a red
// line to it, each list oldest first. A dot is the filled 4-pixel ellipse
// around the point's pixel; the line runs along the point's pixel row to the
// column of x = 0 (clamped 100 pixels outside the canvas when 0 is far
// outside the frame). Nothing is drawn unless the scan marked its points.
void drawExtremumMarks(Canvas &canvas, const GraphView &view, const Extrema &marks);

// Whether the maxima and minima are marked for this document: asked for, and
// the document is exactly one explicit function.
bool marksMaxMin(const Document &doc, const IntervalState &interval);

// The whole overlay: the band over [interval.lower, interval.upper] and, when
// marksMaxMin, the marks of item 1 (the scan is also returned in *marks when
// given). Installs the document's engine state for the scan itself.
Canvas drawIntervalOverlay(const Canvas &graphImage, const GraphView &view, const Document &doc,
                           const IntervalState &interval, Extrema *marks = nullptr);

} // namespace gq
