// Helpers shared by the tests of the tangent and mean-rate demonstrations: a
// document of one explicit function, views of chosen frames and pixel
// queries in world coordinates.
#pragma once

#include "common/canvas_count.h"
#include "engine/engine_state.h"
#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include <gtest/gtest.h>
#include <string>

namespace gq
{

// Whether some pixel within r of the world point has the colour.
inline bool nearWorldPoint(const Canvas &c, const GraphView &v, long double x, long double y, uint32_t colour,
                           int r = 1)
{
    return colourNear(c, v.xToPixel(x), v.yToPixel(y), colour, r);
}

class CalculusToolTest : public ::testing::Test
{
  protected:
    void SetUp() override { engineState().variables = VariableTable{}; }

    // The document becomes the one explicit function y = f.
    void setFunction(const std::string &f)
    {
        doc.itemCount = 1;
        doc.items[1] = Item{};
        doc.items[1].kind = KindExplicit;
        doc.items[1].text[1] = f;
    }
    static GraphView view(long double xmin, long double xmax, long double ymin, long double ymax,
                          int size = 640)
    {
        return GraphView(CoordFrame{xmin, xmax, ymin, ymax}, size);
    }

    Document doc;
};

} // namespace gq
