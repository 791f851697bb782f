// Helpers shared by the calculus tools' tests: a document of one explicit
// function drawn by the renderer, and pixel queries.
#pragma once

#include "engine/engine.h"
#include "render/redraw.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace gq
{

inline constexpr uint32_t kCurveColour = rgbColour(0, 0, 0);

// Pixels of the colour in the rectangle x0..x1, y0..y1 (inclusive).
inline int countColour(const Canvas &c, uint32_t colour, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += c.pixel(x, y) == colour;
    return n;
}

// Whether some pixel within r (Chebyshev distance) of (x, y) has the colour.
inline bool colourNear(const Canvas &c, int x, int y, uint32_t colour, int r = 1)
{
    return countColour(c, colour, x - r, y - r, x + r, y + r) > 0;
}

class ToolsTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        engineState().variables = VariableTable{};
        engineState().evalValid = true;
        engineState().poleSeen = false;
    }

    // The document becomes the one explicit function f, drawn in a frame.
    void function(const std::string &f, CoordFrame frame = {}, int size = 640)
    {
        doc.itemCount = 1;
        doc.items[1] = Item{};
        doc.items[1].kind = KindExplicit;
        doc.items[1].text[1] = f;
        doc.items[1].colour = kCurveColour;
        doc.frame = frame;
        renderer = std::make_unique<GraphRenderer>(size);
        renderer->redrawGraph(doc);
    }
    const GraphView &view() const { return renderer->view(); }
    const Canvas &graph() const { return renderer->graphImage(); }

    // A formula compiled as the tools compile it.
    static Program program(const std::string &text)
    {
        Tree tree = parseCurveFormula(text);
        EXPECT_TRUE(tree) << text;
        return Program(tree.get());
    }

    Document doc;
    std::unique_ptr<GraphRenderer> renderer;
};

} // namespace gq
