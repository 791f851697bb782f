// Pixel queries on a canvas, shared by every test that draws.
#pragma once

#include "platform/canvas.h"

namespace gq
{

// Pixels of the colour in the rectangle x0..x1, y0..y1 (inclusive).
inline int countColour(const Canvas &c, uint32_t colour, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += c.pixel(x, y) == colour;
    return n;
}

// Pixels of the colour in the whole canvas.
inline int countColour(const Canvas &c, uint32_t colour)
{
    return countColour(c, colour, 0, 0, c.width() - 1, c.height() - 1);
}

// Whether some pixel within r (Chebyshev distance) of (x, y) has the colour.
inline bool colourNear(const Canvas &c, int x, int y, uint32_t colour, int r = 1)
{
    return countColour(c, colour, x - r, y - r, x + r, y + r) > 0;
}

// The number of pixels in which two pictures differ (all of them when
// their sizes differ).
inline int differingPixels(const Canvas &a, const Canvas &b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace gq
