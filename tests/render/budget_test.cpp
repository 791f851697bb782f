// A redraw spends at most its evaluation budget: items past it are not
// drawn, however costly the formulas a document holds.
#include "render_test_util.h"

#include "engine/budget.h"

namespace gq
{

using RedrawBudget = RenderTest;

TEST_F(RedrawBudget, ItemsPastTheBudgetOfTheRedrawAreNotDrawn)
{
    // Each curve lies within a pixel of the line y = k and is as costly as
    // the keyboard accepts: on a 900-pixel graph one takes about half of the
    // redraw's budget.
    const uint32_t colours[] = {rgbColour(255, 0, 0), rgbColour(0, 0, 255), rgbColour(0, 160, 0)};
    for (int k = 1; k <= 3; ++k)
        add(KindExplicit, "Sum(i=[1,2000],sin(i*x)/i)/20000+" + std::to_string(k), "", "", "",
            colours[k - 1]);
    {
        std::optional<Program> p = compileFormula(doc.items[1].text[1]);
        ASSERT_TRUE(p);
        EXPECT_LE(p->evaluationCost(), kFormulaEvaluationBudget);
        EXPECT_GT(900 * p->evaluationCost(), kRedrawEvaluationBudget / 2);
    }
    const Canvas &c = draw(900);
    EXPECT_TRUE(nearW(-4.9L, 1, 1, colours[0]));
    EXPECT_TRUE(nearW(4.9L, 1, 1, colours[0])) << "the first item is drawn whole";
    EXPECT_TRUE(nearW(-4.9L, 2, 1, colours[1])) << "the second at least in part";
    EXPECT_EQ(countColour(c, colours[2]), 0) << "nothing is left for the third";
    // The next redraw has its budget afresh.
    doc.itemCount = 1;
    doc.items[1] = doc.items[3];
    draw(900); // before view(): a new drawing replaces the renderer
    EXPECT_TRUE(nearW(4.9L, 3, 1, colours[2]));
}

} // namespace gq
