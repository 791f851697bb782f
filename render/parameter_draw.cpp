#include "render/parameter_draw.h"

#include "engine/engine.h"
#include "render/primitives.h"
#include "render/redraw.h"
#include <algorithm>

namespace gq
{

namespace
{
int itemCount(const Document &doc)
{
    return std::clamp(doc.itemCount, 0, kMaxItems);
}

bool moves(const Item &item)
{
    return item.usesParam != 0;
}
} // namespace

void drawFixedItems(Canvas &stored, const GraphView &view, const Document &doc, PointTable &points)
{
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    for (int i = 1; i <= itemCount(doc); ++i)
        if (!moves(doc.items[i]))
            drawItem(stored, view, doc, i, &points);
}

void drawLocusSegment(Canvas &stored, const GraphView &view, const Document &doc, int index,
                      PointTable &points)
{
    if (index < 1 || index > kMaxItems)
        return;
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    const Item &item = doc.items[index];
    PointEntry &previous = points[static_cast<std::size_t>(index)];
    long double p = 0, q = 0;
    if (!formulaValue(item.text[1], p) || !formulaValue(item.text[2], q)) {
        previous.defined = false;
        return;
    }
    // A jump between two places outside the frame would otherwise draw a
    // line across it that the point never travelled; the pen-up segment sets
    // only the new position.
    const bool joined = previous.defined && (view.isInFrame(previous.p, previous.q) || view.isInFrame(p, q));
    const Stroke stroke{item.colour, item.penWidth, !joined};
    drawSegment(stored, view, stroke, previous.p, previous.q, p, q);
}

void drawAnimationStep(Canvas &stored, const GraphView &view, const Document &doc,
                       const AnimationFlags &flags, PointTable &points, const ShowStoredImage &show)
{
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    const int count = itemCount(doc);
    for (int i = 1; i <= count; ++i) {
        const Item &item = doc.items[i];
        if (flags.locus && item.kind == KindPoint)
            drawLocusSegment(stored, view, doc, i, points);
        if (moves(item) && flags.afterimageActive[static_cast<std::size_t>(i)])
            drawItem(stored, view, doc, i, &points);
    }
    Canvas &visible = show(stored);
    for (int i = 1; i <= count; ++i) {
        const Item &item = doc.items[i];
        const bool passing = moves(item) && !flags.afterimageActive[static_cast<std::size_t>(i)];
        if (passing || item.kind == KindPoint)
            drawItem(visible, view, doc, i, &points);
    }
}

} // namespace gq
