// Helpers shared by the renderer tests: a document to fill with items and
// pixel queries on the drawn picture, in pixel or world coordinates.
#pragma once

#include "engine/engine.h"
#include "render/render.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

inline constexpr uint32_t kCurve = RGBColour(0, 128, 0);
inline constexpr uint32_t kOther = RGBColour(128, 0, 128);

// Whether some pixel within r (Chebyshev distance) of (x, y) has the colour.
inline bool Near(const Canvas &c, int x, int y, uint32_t colour, int r = 1)
{
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (c.pixel(x + dx, y + dy) == colour)
                return true;
    return false;
}

// The same around the pixel of a world point.
inline bool NearWorld(const Canvas &c, const GraphView &v, long double x, long double y,
                      uint32_t colour = kCurve, int r = 1)
{
    return Near(c, v.XToPixel(x), v.YToPixel(y), colour, r);
}

// Pixels of the colour in the rectangle x0..x1, y0..y1 (inclusive).
inline int CountIn(const Canvas &c, uint32_t colour, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += c.pixel(x, y) == colour;
    return n;
}

inline int CountAll(const Canvas &c, uint32_t colour)
{
    return CountIn(c, colour, 0, 0, c.width() - 1, c.height() - 1);
}

class RenderTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        VariableTable = VariableTableRecord{};
        PoleSeen = false;
        EvalValid = true;
    }
    void TearDown() override { SetDefinitionSource(nullptr); }

    // Appends an item; returns its index.
    int Add(uint8_t kind, const std::string &t1, const std::string &t2 = "", const std::string &t3 = "",
            const std::string &t4 = "", uint32_t colour = kCurve, uint8_t asymptote = 0, uint8_t width = 1)
    {
        Tfuncprop &item = doc.ItemList[++doc.ItemCount];
        item.kind = kind;
        item.text = {"", t1, t2, t3, t4};
        item.colour = colour;
        item.asymptote = asymptote;
        item.penWidth = width;
        return doc.ItemCount;
    }
    int AddExplicit(const std::string &f, uint32_t colour = kCurve)
    {
        return Add(KindExplicit, f, "", "", "", colour, 1);
    }
    // Draws the document alone on a fresh canvas of the given size.
    const Canvas &Draw(int size = 640)
    {
        renderer = std::make_unique<GraphRenderer>(size);
        renderer->RedrawGraph(doc);
        return renderer->GraphImage();
    }
    const GraphView &View() const { return renderer->view(); }
    bool NearW(long double x, long double y, int r = 1, uint32_t colour = kCurve) const
    {
        return NearWorld(renderer->GraphImage(), View(), x, y, colour, r);
    }
    // Pixels of the curve colour in the world rectangle [xa, xb] × [ya, yb].
    int CountW(long double xa, long double ya, long double xb, long double yb) const
    {
        return CountIn(renderer->GraphImage(), kCurve, View().XToPixel(xa), View().YToPixel(yb),
                       View().XToPixel(xb), View().YToPixel(ya));
    }

    Document doc;
    std::unique_ptr<GraphRenderer> renderer;
};
