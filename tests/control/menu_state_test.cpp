// Which menus the main window shows for each size of the item list.
#include "control/definition_keys.h"
#include "control/menu_state.h"
#include <gtest/gtest.h>
#include <vector>

namespace gq
{

TEST(MenuVisibility, FollowsTheSizeOfTheListAndTheKindOfItemOne)
{
    struct Case {
        int count;
        uint8_t kind;
        bool maxMinBefore;
        bool addMenu, listMenus, calculus, maxMinAfter;
    };
    std::vector<Case> cases = {
        {0, KindExplicit, true, false, false, false, false}, // empty: nothing that needs items
        {1, KindExplicit, false, true, true, true, true}};   // one explicit function: calculus
    for (bool before : {false, true}) {
        // One item of another kind keeps calculus hidden and max/min as it was.
        for (uint8_t kind : {KindImplicit, KindParametric, KindPolar, KindPoint, KindSegment, KindDerivative})
            cases.push_back({1, kind, before, true, true, false, before});
        // A full list: no additional registration, max/min as it was.
        cases.push_back({10, KindExplicit, before, false, true, false, before});
    }
    for (int count = 2; count <= 9; ++count)
        cases.push_back({count, KindExplicit, true, true, true, false, false});

    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "count " << c.count << ", kind " << int(c.kind));
        Document doc;
        doc.itemCount = c.count;
        doc.items[1].kind = c.kind;
        // Start from the opposite of what is expected so every flag must be set.
        MenuState menus;
        menus.addMenu = !c.addMenu;
        menus.correctionMenu = menus.displayMenu = !c.listMenus;
        menus.calculusMenu = menus.derivativeEntry = !c.calculus;
        bool showMaxMin = c.maxMinBefore;
        updateMenuVisibility(doc, menus, showMaxMin);
        EXPECT_EQ(menus.addMenu, c.addMenu);
        EXPECT_EQ(menus.correctionMenu, c.listMenus);
        EXPECT_EQ(menus.displayMenu, c.listMenus);
        EXPECT_EQ(menus.calculusMenu, c.calculus);
        EXPECT_EQ(menus.derivativeEntry, c.calculus);
        EXPECT_EQ(showMaxMin, c.maxMinAfter);
    }
}

TEST(MenuVisibility, DefinitionMenusFollowTheCounts)
{
    Document doc;
    MenuState menus;
    updateDefinitionMenus(doc, menus);
    EXPECT_FALSE(menus.addFunctionEntry || menus.correctFunctionsEntry || menus.addConstantEntry ||
                 menus.correctConstantsEntry);

    doc.functionCount = 1;
    doc.constantCount = 6;
    updateDefinitionMenus(doc, menus);
    EXPECT_TRUE(menus.addFunctionEntry && menus.correctFunctionsEntry && menus.correctConstantsEntry);
    EXPECT_FALSE(menus.addConstantEntry) << "no seventh constant";
}

} // namespace gq
