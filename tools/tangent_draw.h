// One frame of the tangent demonstration, composed over the stored graph.
#pragma once

#include "platform/canvas.h"
#include "render/graph_view.h"
#include "tools/tangent_run.h"

namespace gq
{

// Draw: nothing unless the run is showable. Otherwise copies graphImage into
// work; with trace, draws the piece of f' from the previous position to P in
// rose and copies work back into graphImage, so that the trace becomes part
// of the stored graph and stays while P moves on; then P (blue, labelled
// "P"), the slope point (X, f'(X)) (red) and, when either is inside the
// frame, the tangent of the shown slope through P (violet). Both canvases
// are view.graphSize() square. Returns whether it drew.
bool drawTangentFrame(TangentRun &run, Canvas &graphImage, Canvas &work, const GraphView &view, bool trace);

} // namespace gq
