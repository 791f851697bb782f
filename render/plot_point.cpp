#include "render/plot_point.h"

#include "engine/engine.h"
#include <cmath>

namespace gq
{

void drawPointMark(Canvas &canvas, const GraphView &view, uint32_t penColour, uint32_t brushColour, int width,
                   long double x, long double y)
{
    if (std::isnan(x) || std::isnan(y))
        return;
    canvas.setBrushColour(brushColour);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setPenColour(penColour);
    canvas.setPenWidth(width);
    canvas.setPenStyle(PenStyle::Solid);
    const int px = view.xToPixel(x), py = view.yToPixel(y), r = canvas.scaled(2);
    canvas.ellipse(px - r, py - r, px + r, py + r);
}

void drawPointItem(Canvas &canvas, const GraphView &view, const Item &item, PointEntry *entry)
{
    long double p, q;
    const bool pd = formulaValue(item.text[1], p);
    const bool qd = formulaValue(item.text[2], q);
    if (pd && qd) {
        drawPointMark(canvas, view, item.colour, item.colour, item.penWidth, p, q);
        if (entry) {
            entry->p = p;
            entry->q = q;
        }
    }
    if (entry)
        entry->defined = pd && qd;
}

} // namespace gq
