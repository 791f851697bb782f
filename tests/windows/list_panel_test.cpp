// The item list panel drawn with the program's font: no label runs into its
// value, tested with the widest labels.
#include "control/item_list_panel.h"
#include "windows/canvas_list_surface.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
// Whether any pixel of columns x0..x1-1 in the text row at y is not white.
bool inked(const Canvas &c, int x0, int x1, int y)
{
    for (int py = y; py < y + kListLineHeight; ++py)
        for (int px = x0; px < x1; ++px)
            if (c.pixel(px, py) != kWhite)
                return true;
    return false;
}
} // namespace

TEST(ListPanel, ValuesStartAfterTheWidestLabel)
{
    CanvasListSurface surface(400, 300);
    ItemListPainter painter(surface);
    Document doc;
    doc.functionCount = 1;
    doc.functionTexts[1] = "x^2";
    doc.itemCount = 3;
    doc.items[1] = {.kind = KindImplicit, .text = {"", "x^2+y^2-1"}};
    doc.items[2] = {.kind = KindPoint, .text = {"", "1", "-1"}};
    doc.items[3] = {.kind = KindSegment, .text = {"", "0", "0", "1", "1"}};
    painter.redrawItemList(doc);
    const Canvas &c = surface.picture();
    const int column = painter.valueColumn();

    // Rows: F1 at 15; below the line at 35 each entry has a blank line and
    // its heading before the label: implicit at 60, point at 105, segment at
    // 150 and 165.
    struct Row {
        const char *label;
        int y;
    } rows[] = {{"F1(x)=", 15}, {"f(x,y)=", 60}, {"(p,q) =", 105}, {"(p,q) =", 150}, {"(r,s) =", 165}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.label);
        const int end = 1 + surface.textWidth(QString::fromUtf8(row.label));
        EXPECT_GE(column, end + kListLabelGap);
        EXPECT_TRUE(inked(c, end - 6, end, row.y)) << "the label reaches its end";
        EXPECT_FALSE(inked(c, end, column, row.y)) << "white between label and value";
        EXPECT_TRUE(inked(c, column, column + 12, row.y)) << "the value starts in the column";
    }

    // Short labels keep the described 40 pixels.
    doc.functionCount = 0;
    doc.itemCount = 1;
    doc.items[1] = {.kind = KindParametric, .text = {"", "cos(t)", "sin(t)", "0", "1"}};
    painter.redrawItemList(doc);
    EXPECT_EQ(painter.valueColumn(), kListValueColumn);
}

} // namespace gq
