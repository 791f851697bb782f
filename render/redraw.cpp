#include "render/redraw.h"

#include "engine/budget.h"
#include "engine/engine_state.h"
#include "render/axes.h"
#include "render/plot_explicit.h"
#include "render/plot_implicit.h"
#include "render/plot_parametric.h"
#include "render/plot_segment.h"
#include <algorithm>

namespace gq
{

void drawItem(Canvas &canvas, const GraphView &view, const Document &doc, int index, PointTable *points)
{
    if (index < 1 || index > kMaxItems)
        return;
    const Item &item = doc.items[index];
    // However often its plotter samples, an item cannot keep the window
    // waiting: past its budget it draws no further.
    EvaluationBudget budget(kItemEvaluationBudget);
    switch (item.kind) {
    case KindDerivative:
        // The derivative always belongs to item 1.
        plotCurve(canvas, view, item, false, &doc.items[1].text[1]);
        break;
    case KindExplicit:
        plotCurve(canvas, view, item, false);
        break;
    case KindImplicit:
        drawImplicitCurve(canvas, view, item);
        break;
    case KindParametric:
        plotParametric(canvas, view, item);
        break;
    case KindPolar:
        plotPolar(canvas, view, item);
        break;
    case KindPoint:
        drawPointItem(canvas, view, item, points ? &(*points)[index] : nullptr);
        break;
    case KindSegment:
        drawSegmentItem(canvas, view, item);
        break;
    default:
        break; // an unknown kind draws nothing
    }
}

void drawItems(Canvas &canvas, const GraphView &view, const Document &doc, PointTable *points)
{
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    EvaluationBudget budget(kRedrawEvaluationBudget);
    const int count = std::clamp(doc.itemCount, 0, kMaxItems);
    for (int i = 1; i <= count; ++i)
        drawItem(canvas, view, doc, i, points);
}

GraphRenderer::GraphRenderer(int graphSize, double pixelScale)
    : image_(std::max(1, graphSize), std::max(1, graphSize), pixelScale), view_(CoordFrame{}, image_.width())
{
}

void GraphRenderer::resize(int graphSize, double pixelScale)
{
    const int n = std::max(1, graphSize);
    image_ = Canvas(n, n, pixelScale);
    view_ = GraphView(view_.frame(), n);
}

void GraphRenderer::redrawGraph(const Document &doc)
{
    if (doc.overlayMode != 1) {
        startPicture(doc);
    } else {
        // The picture is kept, but the mapping follows the current frame.
        view_ = GraphView(doc.frame, image_.width());
    }
    drawItems(image_, view_, doc, &points_);
    if (hooks.drawKept)
        hooks.drawKept(image_, view_);
    showPicture();
}

void GraphRenderer::startPicture(const Document &doc)
{
    image_.reset();
    view_ = drawAxes(image_, doc, hooks.updateRangeStatus, options.tickLabels);
}

void GraphRenderer::showPicture()
{
    if (hooks.intervalActive && hooks.intervalActive()) {
        if (hooks.drawIntervalOverlay)
            hooks.drawIntervalOverlay(image_);
    } else if (hooks.present) {
        hooks.present(image_);
    }
}

} // namespace gq
