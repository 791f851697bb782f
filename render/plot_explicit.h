// The sampling plotter of explicit functions y = f(x) and derivatives, also
// used for solved branches of implicit curves (y = g(x), or x = g(y) with
// swap). One sample per pixel column (row), domain edges found by bisection,
// jumps drawn as runs to the window edge with an optional asymptote marker.
#pragma once

#include "engine/program.h"
#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include <string>

namespace gq
{

// Parses item.text[1] (check, then build), expands sums, simplifies and
// canonicalises, and plots it over the frame's x range (swap false) or y range
// (swap true) in the item's colour, width and asymptote flag. When
// derivativeBase is given the curve is drawn only where that formula (the
// text of the function that was differentiated) is defined. A formula that
// does not parse draws nothing.
void plotCurve(Canvas &canvas, const GraphView &view, const Item &item, bool swap,
               const std::string *derivativeBase = nullptr);

// The sampling loop on a prepared formula, over [lo, hi] of the swept variable: x when swap is false (the
// value is y, evaluated at (t, 0)), y when swap is true (the value is x, evaluated at (0, t)). Samples lo, lo
// + h, ... while below hi, h being one pixel. derivativeBase as above.
void plotCurveSamples(Canvas &canvas, const GraphView &view, uint32_t colour, Program &f, float lo, float hi,
                      bool asymptote, bool swap, const std::string *derivativeBase, int penWidth);

// Closes the gap between the last defined sample b (value v) and the edge of
// the domain towards the undefined side a: 16 bisections, then a segment from
// (b, v) to the last midpoint, its end pushed one pixel on in the direction
// the curve is heading.
void refineDomainEdge(Program &f, Canvas &canvas, const GraphView &view, uint32_t colour, long double a,
                      long double b, long double v, int width, bool swap);

// A jump between the abscissas xa and xb (values va, vb; prevDefined and
// curDefined tell which of them exist). Jump mode 1: each defined side runs
// to the window edge on the side of its sign (width 1). Mode 2 (outermost
// operation exp): no runs. With asymptote, a red dotted line across the whole
// canvas at the midpoint.
void drawJump(Canvas &canvas, const GraphView &view, bool asymptote, int jumpMode, long double xa,
              long double xb, long double va, long double vb, bool prevDefined, bool curDefined,
              uint32_t colour, bool swap);

} // namespace gq
