// One frame of the tangent demonstration, composed over the stored graph.
#pragma once

#include "platform/canvas.h"
#include "render/graph_view.h"
#include "render/trace_layer.h"
#include "tools/tangent_run.h"

namespace gq
{

// Draw: nothing unless the run is showable. Otherwise, with a trace, draws
// the piece of f' from the previous position to P in rose into graphImage
// and keeps it there (the trace becomes part of the stored graph and stays
// while P moves on, and across redraws); then copies graphImage into work and
// draws P (blue, labelled "P"), the slope point (X, f'(X)) (red) and, when
// either is inside the frame, the tangent of the shown slope through P
// (violet). Both canvases are view.graphSize() square; trace may be null (no
// trace). Returns whether it drew.
bool drawTangentFrame(TangentRun &run, Canvas &graphImage, Canvas &work, const GraphView &view,
                      TraceLayer *trace);

// The marks of P's frame on work (already holding the graph): P, the slope
// point and, when either is inside the frame, the tangent.
void drawTangentMarks(Canvas &work, const GraphView &view, const TangentRun &run);

} // namespace gq
