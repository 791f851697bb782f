// A trace a tool leaves on the graph (the rose graph of the slope that the
// tangent tool draws as P moves): its segments in world coordinates, in the
// order they were drawn. The main window keeps it across redraws until the
// document or the frame changes, so that a redraw for any other reason (a
// resize, another tool opening) draws it again instead of losing it.
#pragma once

#include "platform/canvas.h"
#include "render/graph_view.h"
#include <cstddef>
#include <vector>

namespace gq
{

struct TraceSegment {
    long double x1, y1, x2, y2;
    bool penUp; // a pole or jump lay between the two ends: only the end's dot
};

class TraceLayer
{
  public:
    // At most this many segments are kept (a run takes one a pixel column;
    // this is hundreds of full runs). Further segments are still drawn by
    // the tool but not kept.
    static constexpr std::size_t kMaxSegments = 1u << 20;

    explicit TraceLayer(uint32_t colour = 0) : colour_(colour) {}

    // Draws one segment onto canvas in view and keeps it.
    void add(Canvas &canvas, const GraphView &view, const TraceSegment &segment);
    // Draws every kept segment, oldest first, exactly as add drew them.
    void draw(Canvas &canvas, const GraphView &view) const;
    void clear() { segments_.clear(); }
    bool empty() const { return segments_.empty(); }
    std::size_t size() const { return segments_.size(); }

  private:
    void drawOne(Canvas &canvas, const GraphView &view, const TraceSegment &segment) const;

    uint32_t colour_;
    std::vector<TraceSegment> segments_;
};

} // namespace gq
