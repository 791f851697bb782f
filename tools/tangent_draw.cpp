#include "tools/tangent_draw.h"

#include "render/primitives.h"
#include "tools/derivative_colours.h"

namespace gq
{

bool drawTangentFrame(TangentRun &run, Canvas &graphImage, Canvas &work, const GraphView &view,
                      TraceLayer *trace)
{
    if (!run.showable())
        return false;
    if (trace)
        trace->add(graphImage, view, {run.prevX(), run.prevSlope(), run.x(), run.slope(), run.traceBreak()});
    work.copyFrom(graphImage);
    run.noteFrameDrawn();
    drawTangentMarks(work, view, run);
    return true;
}

void drawTangentMarks(Canvas &work, const GraphView &view, const TangentRun &run)
{
    const long double x = run.x(), y = run.y(), m = run.slope();
    drawLabeledPoint(work, view, 1, kContactPointColour, x, y, QStringLiteral("P"));
    drawLabeledPoint(work, view, 1, kSlopePointColour, x, m, QString());
    if (view.isInFrame(x, y) || view.isInFrame(x, m))
        drawLineThroughPoint(work, view, Stroke{kTangentColour, 1, false}, x, y, run.shownSlope());
}

} // namespace gq
