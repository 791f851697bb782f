// The pictures of the mean-rate demonstration, composed over the stored graph.
#pragma once

#include "platform/canvas.h"
#include "render/graph_view.h"
#include "tools/mean_rate.h"

namespace gq
{

// One point as AskPoints marks it once its abscissa is accepted: A in orange
// labelled "A", B in rose labelled "B", each label to the upper right.
void drawPointMark(Canvas &work, const GraphView &view, const MeanRate &rate, MeanRatePoint which);

// DrawSecant: the whole line through A and B cut to the frame (violet, width
// 1), then A and B with their labels; the point further right (A when
// BX <= AX) has its label to its upper right, the other centred above it.
// When A and B coincide there is no secant, only the points.
void drawSecant(Canvas &work, const GraphView &view, const MeanRate &rate);

// ShowPoints' picture: graphImage copied into work, then the secant.
void composeSecantFrame(const MeanRate &rate, const Canvas &graphImage, Canvas &work, const GraphView &view);

} // namespace gq
