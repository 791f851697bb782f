// Helpers shared by the renderer tests: a document to fill with items and
// pixel queries on the drawn picture, in pixel or world coordinates.
#pragma once

#include "common/canvas_count.h"
#include "engine/engine.h"
#include "render/render.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace gq
{

inline constexpr uint32_t kCurve = rgbColour(0, 128, 0);
inline constexpr uint32_t kOther = rgbColour(128, 0, 128);

// The same around the pixel of a world point.
inline bool nearWorld(const Canvas &c, const GraphView &v, long double x, long double y,
                      uint32_t colour = kCurve, int r = 1)
{
    return colourNear(c, v.xToPixel(x), v.yToPixel(y), colour, r);
}

// Appends an item to doc; returns its index.
inline int addItem(Document &doc, uint8_t kind, const std::string &t1, const std::string &t2 = "",
                   const std::string &t3 = "", const std::string &t4 = "", uint32_t colour = kCurve,
                   uint8_t asymptote = 0, uint8_t width = 1)
{
    Item &item = doc.items[++doc.itemCount];
    item.kind = kind;
    item.text = {"", t1, t2, t3, t4};
    item.colour = colour;
    item.asymptote = asymptote;
    item.penWidth = width;
    return doc.itemCount;
}

class RenderTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        engineState().variables = VariableTable{};
        engineState().poleSeen = false;
        engineState().evalValid = true;
    }

    // Appends an item; returns its index.
    int add(uint8_t kind, const std::string &t1, const std::string &t2 = "", const std::string &t3 = "",
            const std::string &t4 = "", uint32_t colour = kCurve, uint8_t asymptote = 0, uint8_t width = 1)
    {
        return addItem(doc, kind, t1, t2, t3, t4, colour, asymptote, width);
    }
    int addExplicit(const std::string &f, uint32_t colour = kCurve)
    {
        return add(KindExplicit, f, "", "", "", colour, 1);
    }
    // Draws the document alone on a fresh canvas of the given size.
    const Canvas &draw(int size = 640)
    {
        renderer = std::make_unique<GraphRenderer>(size);
        renderer->redrawGraph(doc);
        return renderer->graphImage();
    }
    const GraphView &view() const { return renderer->view(); }
    bool nearW(long double x, long double y, int r = 1, uint32_t colour = kCurve) const
    {
        return nearWorld(renderer->graphImage(), view(), x, y, colour, r);
    }
    // Pixels of the curve colour in the world rectangle [xa, xb] × [ya, yb].
    int countW(long double xa, long double ya, long double xb, long double yb) const
    {
        return countColour(renderer->graphImage(), kCurve, view().xToPixel(xa), view().yToPixel(yb),
                       view().xToPixel(xb), view().yToPixel(ya));
    }

    Document doc;
    std::unique_ptr<GraphRenderer> renderer;
};

} // namespace gq
