// Which menus the main window shows for each size of the item list.
#include "control/definition_keys.h"
#include "control/menu_state.h"
#include <gtest/gtest.h>
#include <vector>

TEST(MenuVisibility, FollowsTheSizeOfTheListAndTheKindOfItemOne)
{
    struct Case {
        int count;
        uint8_t kind;
        bool maxMinBefore;
        bool addition, listMenus, calculus, maxMinAfter;
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
        doc.ItemCount = c.count;
        doc.ItemList[1].kind = c.kind;
        // Start from the opposite of what is expected so every flag must be set.
        MenuState menus;
        menus.addition = !c.addition;
        menus.teisei = menus.gshow = !c.listMenus;
        menus.dif = menus.defa = !c.calculus;
        bool showMaxMin = c.maxMinBefore;
        UpdateMenuVisibility(doc, menus, showMaxMin);
        EXPECT_EQ(menus.addition, c.addition);
        EXPECT_EQ(menus.teisei, c.listMenus);
        EXPECT_EQ(menus.gshow, c.listMenus);
        EXPECT_EQ(menus.dif, c.calculus);
        EXPECT_EQ(menus.defa, c.calculus);
        EXPECT_EQ(showMaxMin, c.maxMinAfter);
    }
}

TEST(MenuVisibility, DefinitionMenusFollowTheCounts)
{
    Document doc;
    MenuState menus;
    UpdateDefinitionMenus(doc, menus);
    EXPECT_FALSE(menus.deffuncA || menus.UFcorrect || menus.DefconstA || menus.UCcorrect);

    doc.DefFuncCount = 1;
    doc.DefConstCount = 6;
    UpdateDefinitionMenus(doc, menus);
    EXPECT_TRUE(menus.deffuncA && menus.UFcorrect && menus.UCcorrect);
    EXPECT_FALSE(menus.DefconstA) << "no seventh constant";
}
