// The pictures of the Riemann sums: bound lines and hatched strips drawn on a
// white work picture, which is then ANDed over the graph. Parts above the x
// axis are green, parts below rose.
#pragma once

#include "platform/canvas.h"
#include "render/graph_view.h"
#include "tools/column_runs.h"
#include "tools/riemann_sums.h"

namespace gq
{

inline constexpr uint32_t kStripGreen = rgbColour(0, 128, 64);
inline constexpr uint32_t kStripRose = rgbColour(255, 0, 128);

// The segment from (x, 0) to (x, y), width 1: green when y >= 0, rose below.
void drawBoundLine(Canvas &work, const GraphView &view, long double x, long double y);

// Whether a strip meets the frame's x range (only those are drawn).
bool stripVisible(const GraphView &view, const Strip &strip);

// The picture of one computed strip of the kind, when it is drawable and
// visible. Pen and brush share the colour; the brush is the diagonal cross-
// hatch and outlines are 1 pixel wide.
// - Upper and lower sums: the rectangle from the axis to the strip's height,
//   green when the height is above 0.
// - Trapezoid: the quadrilateral under the chord, split into two triangles of
//   their own colours where the chord crosses the axis.
// - Simpson: the outline of the region under the parabola as one path, then
//   its pieces between the parabola's roots flood-filled; a strip narrower
//   than four pixels gets only the line at its midpoint instead of a fill.
// With runs, a strip inside one pixel column is handed to them instead of
// being drawn at once (see ColumnRuns); the caller flushes them at the end.
void drawStrip(Canvas &work, const GraphView &view, SumKind kind, const Strip &strip,
               ColumnRuns *runs = nullptr);

// The navigator's whole drawing of a sum: work is cleared to white, the bound
// lines at a and b are drawn (when f exists there), then the sum is computed
// with every strip drawn. The caller installs the engine state.
SumResult drawRiemannSum(Canvas &work, const GraphView &view, Program &f, SumKind kind, long double a,
                         long double b, int n);

// The graph as the navigator shows it: graphImage with work ANDed over it.
Canvas sumPicture(const Canvas &graphImage, const Canvas &work);

} // namespace gq
