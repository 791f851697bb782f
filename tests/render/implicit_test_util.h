// Pixel checks for curve drawings: does a curve pass (within a pixel or two)
// through a world point, and does a region stay empty.
#pragma once

#include "render/graph_view.h"
#include "ui/canvas.h"
#include <cmath>
#include <cstdint>

namespace implicit_test
{

// True when some pixel within radius r (pixels, Euclidean) of the point's
// mapped pixel has the colour.
inline bool ColouredNear(const Canvas &canvas, const GraphView &view, long double x, long double y,
                         uint32_t colour, int r = 1)
{
    const int px = view.XToPixel(x), py = view.YToPixel(y);
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (dx * dx + dy * dy <= r * r && canvas.pixel(px + dx, py + dy) == colour)
                return true;
    return false;
}

// Pixels of the colour in the pixel rectangle [x0, x1] × [y0, y1] (inclusive).
inline int CountInRect(const Canvas &canvas, uint32_t colour, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += canvas.pixel(x, y) == colour;
    return n;
}

// Pixels of the colour in the world rectangle [xa, xb] × [ya, yb].
inline int CountInWorldRect(const Canvas &canvas, const GraphView &view, uint32_t colour, long double xa,
                            long double ya, long double xb, long double yb)
{
    return CountInRect(canvas, colour, view.XToPixel(xa), view.YToPixel(yb), view.XToPixel(xb),
                       view.YToPixel(ya));
}

inline int CountColour(const Canvas &canvas, uint32_t colour)
{
    return CountInRect(canvas, colour, 0, 0, canvas.width() - 1, canvas.height() - 1);
}

} // namespace implicit_test
