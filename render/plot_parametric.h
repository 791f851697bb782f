// Parametric curves x = f(t), y = g(t) and polar curves r = f(t).
#pragma once

#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"

namespace gq
{

// Walks t from the smaller to the larger of the bounds text[3], text[4] with
// an adaptive step of about two pixel diagonals along the curve, the last
// point exactly on the upper bound. Each curve starts a fresh stroke; an
// undefined stretch or a pole lifts the pen. Writes t in the engine state. The walk
// ends after at most kMaxParametricSteps steps.
void plotParametric(Canvas &canvas, const GraphView &view, const Item &item);
// r = text[1] drawn as x = (r)*cos(t), y = (r)*sin(t); the item is not changed.
void plotPolar(Canvas &canvas, const GraphView &view, const Item &item);

inline constexpr long kMaxParametricSteps = 200000;

} // namespace gq
