#include "tools/tangent_draw.h"

#include "render/primitives.h"
#include "tools/derivative_colours.h"

namespace gq
{

bool drawTangentFrame(TangentRun &run, Canvas &graphImage, Canvas &work, const GraphView &view, bool trace)
{
    if (!run.showable())
        return false;
    work.copyFrom(graphImage);
    if (trace) {
        const Stroke stroke{kSlopeTraceColour, 1, run.traceBreak()};
        drawSegment(work, view, stroke, run.prevX(), run.prevSlope(), run.x(), run.slope());
        graphImage.copyFrom(work);
    }
    run.noteFrameDrawn();
    const long double x = run.x(), y = run.y(), m = run.slope();
    drawLabeledPoint(work, view, 1, kContactPointColour, x, y, QStringLiteral("P"));
    drawLabeledPoint(work, view, 1, kSlopePointColour, x, m, QString());
    if (view.isInFrame(x, y) || view.isInFrame(x, m))
        drawLineThroughPoint(work, view, Stroke{kTangentColour, 1, false}, x, y, run.shownSlope());
    return true;
}

} // namespace gq
