// Segment items (p, q)-(r, s), cut to the window.
#pragma once

#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"

namespace gq
{

struct WorldPoint {
    long double x = 0, y = 0;
};

// P inside the frame, Q outside: Q moved along the line PQ onto the window
// edge (the side of xmin or xmax towards Q, or ymin/ymax when the line leaves
// through the bottom or top).
WorldPoint clipSegmentEnd(const GraphView &view, WorldPoint inside, WorldPoint outside);

// Evaluates the four coordinates (stopping at the first undefined one, which
// draws nothing) and draws the segment: both ends inside with a mark at each,
// one inside clipped at the edge with a mark at the inside end, both outside
// as the part of the line inside the window without marks.
void drawSegmentItem(Canvas &canvas, const GraphView &view, const Item &item);

} // namespace gq
