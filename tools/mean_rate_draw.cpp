#include "tools/mean_rate_draw.h"

#include "render/primitives.h"
#include "tools/derivative_colours.h"

namespace gq
{

void drawPointMark(Canvas &work, const GraphView &view, const MeanRate &rate, MeanRatePoint which)
{
    if (which == MeanRatePoint::A)
        drawLabeledPoint(work, view, 1, kPointAColour, rate.ax(), rate.ay(), QStringLiteral("A"));
    else
        drawLabeledPoint(work, view, 1, kPointBColour, rate.bx(), rate.by(), QStringLiteral("B"));
}

void drawSecant(Canvas &work, const GraphView &view, const MeanRate &rate)
{
    // Through one point alone no line is the secant.
    if (rate.ax() != rate.bx())
        drawClippedLine(work, view, kSecantColour, 1, rate.ax(), rate.ay(), rate.bx(), rate.by());
    const bool aOnTheRight = rate.bx() <= rate.ax();
    drawLabeledPoint(work, view, aOnTheRight ? 1 : -1, kPointAColour, rate.ax(), rate.ay(),
                     QStringLiteral("A"));
    drawLabeledPoint(work, view, aOnTheRight ? -1 : 1, kPointBColour, rate.bx(), rate.by(),
                     QStringLiteral("B"));
}

void composeSecantFrame(const MeanRate &rate, const Canvas &graphImage, Canvas &work, const GraphView &view)
{
    work.copyFrom(graphImage);
    drawSecant(work, view, rate);
}

} // namespace gq
