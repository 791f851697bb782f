#include "render/primitives.h"

#include <cmath>

namespace gq
{

namespace
{

bool anyNaN(long double a, long double b)
{
    return std::isnan(a) || std::isnan(b);
}

} // namespace

void drawSegment(Canvas &canvas, const GraphView &view, const Stroke &stroke, long double x1, long double y1,
                 long double x2, long double y2)
{
    canvas.setPenWidth(stroke.width);
    canvas.setPenColour(stroke.colour);
    canvas.setPenStyle(PenStyle::Solid);
    if (anyNaN(x2, y2))
        return;
    const int px2 = view.xToPixel(x2), py2 = view.yToPixel(y2);
    if (stroke.up) {
        canvas.dot(px2, py2, stroke.colour);
        canvas.moveTo(px2, py2);
        return;
    }
    if (anyNaN(x1, y1))
        return;
    canvas.moveTo(view.xToPixel(x1), view.yToPixel(y1));
    canvas.lineTo(px2, py2);
}

void drawClippedLine(Canvas &canvas, const GraphView &view, uint32_t colour, int width, long double x1,
                     long double y1, long double x2, long double y2)
{
    if (anyNaN(x1, y1) || anyNaN(x2, y2))
        return;
    long double sx, sy, ex, ey;
    if (x1 == x2) {
        sx = x1, sy = view.ymax(), ex = x2, ey = view.ymin();
    } else if (y1 == y2) {
        sx = view.xmax(), sy = y1, ex = view.xmin(), ey = y2;
    } else {
        // Each end starts on the left or right edge and slides along the line
        // onto the top or bottom edge when it lies above or below the frame.
        auto cut = [&](long double x, long double &cx, long double &cy) {
            cx = x;
            cy = lineYAtX(x, x1, y1, x2, y2);
            if (cy > view.ymax()) {
                cx = lineXAtY(view.ymax(), x1, y1, x2, y2);
                cy = view.ymax();
            } else if (cy < view.ymin()) {
                cx = lineXAtY(view.ymin(), x1, y1, x2, y2);
                cy = view.ymin();
            }
        };
        cut(view.xmin(), sx, sy);
        cut(view.xmax(), ex, ey);
    }
    drawSegment(canvas, view, Stroke{colour, width, false}, sx, sy, ex, ey);
}

void drawLineThroughPoint(Canvas &canvas, const GraphView &view, const Stroke &stroke, long double x0,
                          long double y0, long double m)
{
    if (anyNaN(x0, y0) || !std::isfinite(m))
        return;
    if (m == 0) {
        drawSegment(canvas, view, stroke, view.xmin(), y0, view.xmax(), y0);
        return;
    }
    auto end = [&](long double x, long double &ex, long double &ey) {
        ex = x;
        ey = y0 + m * (x - x0);
        if (ey > view.ymax()) {
            ey = view.ymax();
            ex = x0 + (ey - y0) / m;
        } else if (ey < view.ymin()) {
            ey = view.ymin();
            ex = x0 + (ey - y0) / m;
        }
    };
    long double sx, sy, ex, ey;
    end(view.xmin(), sx, sy);
    end(view.xmax(), ex, ey);
    drawSegment(canvas, view, stroke, sx, sy, ex, ey);
}

void plotDotIfInside(Canvas &canvas, const GraphView &view, uint32_t colour, long double x, long double y)
{
    if (view.isInFrame(x, y))
        canvas.dot(view.xToPixel(x), view.yToPixel(y), colour);
}

void drawLabeledPoint(Canvas &canvas, const GraphView &view, int placement, uint32_t colour, long double x,
                      long double y, const QString &text)
{
    if (anyNaN(x, y))
        return;
    // The label's own small picture, as dense as the graph's.
    const int side = canvas.scaled(16);
    Canvas label(side, side, canvas.pixelScale());
    label.setFontSize(9);
    label.setFontColour(colour);
    label.textOut(0, 0, text);

    const int px = view.xToPixel(x), py = view.yToPixel(y), r = canvas.scaled(2);
    canvas.setPenColour(colour);
    canvas.setPenWidth(1);
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushColour(colour);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.ellipse(px - r, py - r, px + r, py + r);
    canvas.floodFill(px, py, colour, FillMode::Surface);
    // The label's white background must not cover the graph: only its glyphs
    // darken what lies below.
    const int left = placement == 1 ? px : px - canvas.scaled(8);
    canvas.copyRect(left, py - canvas.scaled(15), label, 0, 0, side, side, CopyMode::And);
}

} // namespace gq
