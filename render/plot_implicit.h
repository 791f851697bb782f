// Implicit curves f(x, y) = 0.
#pragma once

#include "document/document.h"
#include "render/graph_view.h"
#include "ui/canvas.h"

// Draws item.text[1] = 0 in the item's colour and width.
void drawImplicitCurve(Canvas &canvas, const GraphView &view, const Tfuncprop &item);
