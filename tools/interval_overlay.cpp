#include "tools/interval_overlay.h"

#include "engine/engine_state.h"

namespace gq
{

Canvas drawIntervalBand(const Canvas &graphImage, const GraphView &view, long double a, long double b)
{
    const int size = graphImage.width();
    Canvas band(size, graphImage.height(), graphImage.pixelScale());
    band.setPenColour(kBandColour);
    band.setPenWidth(1);
    band.setPenStyle(PenStyle::Solid);
    band.setBrushColour(kBandColour);
    band.setBrushStyle(BrushStyle::DiagCross);
    band.rectangle(view.xToPixel(a), 0, view.xToPixel(b), size);
    // White AND anything is that thing: outside the band and between the
    // hatch lines the graph stays as it is.
    band.copyFrom(graphImage, CopyMode::And);
    return band;
}

namespace
{

void drawMarks(Canvas &canvas, const GraphView &view, const std::vector<ExtremumPoint> &points,
               uint32_t dotColour, uint32_t lineColour)
{
    const int axis = view.xToPixel(0);
    canvas.setPenWidth(1);
    canvas.setPenStyle(PenStyle::Solid);
    for (const ExtremumPoint &p : points) {
        const int px = view.xToPixel(p.x), py = view.yToPixel(p.y);
        canvas.setPenColour(lineColour);
        canvas.moveTo(px, py);
        canvas.lineTo(axis, py);
        // A solid dot: a hatched brush would leave the 2 x 2 centre of so
        // small a dot mostly unpainted.
        canvas.setPenColour(dotColour);
        canvas.setBrushColour(dotColour);
        canvas.setBrushStyle(BrushStyle::Solid);
        const int r = canvas.scaled(2);
        canvas.ellipse(px - r, py - r, px + r, py + r);
    }
}

} // namespace

void drawExtremumMarks(Canvas &canvas, const GraphView &view, const Extrema &marks)
{
    if (marks.outcome != ScanOutcome::Marked)
        return;
    drawMarks(canvas, view, marks.maxima, kRed, kBlue);
    drawMarks(canvas, view, marks.minima, kBlue, kRed);
}

bool marksMaxMin(const Document &doc, const IntervalState &interval)
{
    return interval.showMaxMin && doc.itemCount == 1 && doc.items[1].kind == KindExplicit;
}

Canvas drawIntervalOverlay(const Canvas &graphImage, const GraphView &view, const Document &doc,
                           const IntervalState &interval, Extrema *marks)
{
    Canvas picture = drawIntervalBand(graphImage, view, interval.lower, interval.upper);
    Extrema scan;
    if (marksMaxMin(doc, interval)) {
        EngineScope scope(&doc, doc.parameters, view.xPerPixel());
        scan = scanExtrema(doc.items[1].text[1], interval.lower, interval.upper, view);
        drawExtremumMarks(picture, view, scan);
    }
    if (marks)
        *marks = std::move(scan);
    return picture;
}

} // namespace gq
