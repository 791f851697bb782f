#include "render/plot_segment.h"

#include "engine/engine.h"
#include "render/plot_point.h"
#include "render/primitives.h"
#include <cmath>

namespace gq
{

WorldPoint clipSegmentEnd(const GraphView &view, WorldPoint inside, WorldPoint outside)
{
    const WorldPoint &p = inside, &q = outside;
    if (p.x == q.x) // vertical: straight up or down to the edge
        return {p.x, q.y > p.y ? view.ymax() : view.ymin()};
    WorldPoint c;
    c.x = q.x < p.x ? view.xmin() : view.xmax();
    c.y = lineYAtX(c.x, p.x, p.y, q.x, q.y);
    if (c.y > view.ymax())
        return {lineXAtY(view.ymax(), p.x, p.y, q.x, q.y), view.ymax()};
    if (c.y < view.ymin())
        return {lineXAtY(view.ymin(), p.x, p.y, q.x, q.y), view.ymin()};
    return c;
}

void drawSegmentItem(Canvas &canvas, const GraphView &view, const Item &item)
{
    WorldPoint p, q;
    if (!formulaValue(item.text[1], p.x) || !formulaValue(item.text[2], p.y) ||
        !formulaValue(item.text[3], q.x) || !formulaValue(item.text[4], q.y))
        return;
    const bool pIn = view.isInFrame(p.x, p.y), qIn = view.isInFrame(q.x, q.y);
    enum { BothInside, OneInside, BothOutside } kind;
    if (p.x == q.x || p.y == q.y) {
        kind = BothInside; // axis-parallel segments are drawn whole, through the clamp
    } else if (pIn) {
        kind = qIn ? BothInside : OneInside;
    } else if (qIn) {
        std::swap(p, q);
        kind = OneInside;
    } else {
        kind = BothOutside;
    }
    const uint32_t c = item.colour;
    const int w = item.penWidth;
    const Stroke stroke{c, w, false};
    switch (kind) {
    case BothInside:
        drawSegment(canvas, view, stroke, p.x, p.y, q.x, q.y);
        drawPointMark(canvas, view, c, c, w, p.x, p.y);
        drawPointMark(canvas, view, c, c, w, q.x, q.y);
        break;
    case OneInside:
        q = clipSegmentEnd(view, p, q);
        drawSegment(canvas, view, stroke, p.x, p.y, q.x, q.y);
        drawPointMark(canvas, view, c, c, w, p.x, p.y);
        break;
    case BothOutside:
        if ((p.x < view.xmin() && q.x < view.xmin()) || (p.x > view.xmax() && q.x > view.xmax()) ||
            (p.y < view.ymin() && q.y < view.ymin()) || (p.y > view.ymax() && q.y > view.ymax()))
            break;
        drawClippedLine(canvas, view, c, w, p.x, p.y, q.x, q.y);
        break;
    }
}

} // namespace gq
