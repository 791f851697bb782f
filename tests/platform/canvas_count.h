// Pixel counts on a canvas, shared by the canvas tests.
#pragma once

#include "platform/canvas.h"

namespace gq
{

// Pixels of the colour in x0..x1, y0..y1 (inclusive).
inline int countIn(const Canvas &c, uint32_t colour, int x0, int y0, int x1, int y1)
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
    return countIn(c, colour, 0, 0, c.width() - 1, c.height() - 1);
}

} // namespace gq
