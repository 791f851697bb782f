#include "render/trace_layer.h"

#include "render/primitives.h"

namespace gq
{

void TraceLayer::drawOne(Canvas &canvas, const GraphView &view, const TraceSegment &segment) const
{
    const Stroke stroke{colour_, 1, segment.penUp};
    drawSegment(canvas, view, stroke, segment.x1, segment.y1, segment.x2, segment.y2);
}

void TraceLayer::add(Canvas &canvas, const GraphView &view, const TraceSegment &segment)
{
    drawOne(canvas, view, segment);
    if (segments_.size() < kMaxSegments)
        segments_.push_back(segment);
}

void TraceLayer::draw(Canvas &canvas, const GraphView &view) const
{
    for (const TraceSegment &segment : segments_)
        drawOne(canvas, view, segment);
}

} // namespace gq
