// Axes, tick marks, grid and tick labels of the graph.
#pragma once

#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include "render/text_size.h"
#include <functional>

namespace gq
{

// Axis, tick and grid colour, RGB(128,128,255).
inline constexpr uint32_t kAxisColour = rgbColour(128, 128, 255);
// Asymptote marker colour, RGB(255,0,0).
inline constexpr uint32_t kAsymptoteColour = rgbColour(255, 0, 0);

// Recomputes the view for the document's frame and the canvas width (the
// canvas is square), calls
// updateRangeStatus when given, then draws onto the canvas: the dotted grid
// (showGrid 1) or the tick marks (showGrid 0), the axes that lie inside the
// frame, and the tick labels when showScale is 1. The labels are 8-point text
// at the standard size and textScale(labelSize) times as large (with their
// offsets from the axes) otherwise. Pixel lengths (ticks, label offsets) are
// those of a scale-1 canvas times the canvas's pixel scale. Returns the view.
GraphView drawAxes(Canvas &canvas, const Document &doc, const std::function<void()> &updateRangeStatus = {},
                   TextSize labelSize = TextSize::Standard);

} // namespace gq
