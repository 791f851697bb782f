// Implicit curves f(x, y) = 0.
#pragma once

#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"

namespace gq
{

// Draws item.text[1] = 0 in the item's colour and width.
void drawImplicitCurve(Canvas &canvas, const GraphView &view, const Item &item);

} // namespace gq
