// Helpers shared by the calculus tools' tests: a document of one explicit
// function drawn by the renderer, and pixel queries.
#pragma once

#include "common/canvas_count.h"
#include "engine/engine.h"
#include "render/redraw.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace gq
{

inline constexpr uint32_t kCurveColour = rgbColour(0, 0, 0);

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
