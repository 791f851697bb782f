// Which menus the main window shows for each size of the item list.
#include "document/menu_state.h"
#include <gtest/gtest.h>

namespace
{
Document WithItems(int count, uint8_t firstKind = KindExplicit)
{
    Document doc;
    doc.ItemCount = count;
    doc.ItemList[1].kind = firstKind;
    return doc;
}
} // namespace

TEST(MenuVisibility, EmptyListHidesEverythingThatNeedsItems)
{
    MenuState menus;
    menus.addition = menus.teisei = menus.gshow = menus.dif = menus.defa = true;
    bool showMaxMin = true;
    UpdateMenuVisibility(WithItems(0), menus, showMaxMin);
    EXPECT_FALSE(menus.addition);
    EXPECT_FALSE(menus.teisei);
    EXPECT_FALSE(menus.gshow);
    EXPECT_FALSE(menus.dif);
    EXPECT_FALSE(menus.defa);
    EXPECT_FALSE(showMaxMin);
}

TEST(MenuVisibility, OneExplicitFunctionOpensTheCalculusMenu)
{
    MenuState menus;
    bool showMaxMin = false;
    UpdateMenuVisibility(WithItems(1), menus, showMaxMin);
    EXPECT_TRUE(menus.addition);
    EXPECT_TRUE(menus.teisei);
    EXPECT_TRUE(menus.gshow);
    EXPECT_TRUE(menus.dif);
    EXPECT_TRUE(menus.defa);
    EXPECT_TRUE(showMaxMin);
}

TEST(MenuVisibility, OneItemOfAnotherKindKeepsCalculusHiddenAndMaxMinAsItWas)
{
    for (uint8_t kind : {KindImplicit, KindParametric, KindPolar, KindPoint, KindSegment, KindDerivative}) {
        for (bool before : {false, true}) {
            MenuState menus;
            menus.dif = menus.defa = true; // e.g. item 1 was corrected to another kind
            bool showMaxMin = before;
            UpdateMenuVisibility(WithItems(1, kind), menus, showMaxMin);
            EXPECT_TRUE(menus.addition);
            EXPECT_TRUE(menus.teisei);
            EXPECT_TRUE(menus.gshow);
            EXPECT_FALSE(menus.dif) << int(kind);
            EXPECT_FALSE(menus.defa) << int(kind);
            EXPECT_EQ(showMaxMin, before);
        }
    }
}

TEST(MenuVisibility, SeveralItemsHideCalculusAndMaxMin)
{
    for (int count = 2; count <= 9; ++count) {
        MenuState menus;
        menus.dif = menus.defa = true;
        bool showMaxMin = true;
        UpdateMenuVisibility(WithItems(count), menus, showMaxMin);
        EXPECT_TRUE(menus.addition) << count;
        EXPECT_TRUE(menus.teisei) << count;
        EXPECT_TRUE(menus.gshow) << count;
        EXPECT_FALSE(menus.dif) << count;
        EXPECT_FALSE(menus.defa) << count;
        EXPECT_FALSE(showMaxMin) << count;
    }
}

TEST(MenuVisibility, FullListHidesAdditionalRegistration)
{
    MenuState menus;
    bool showMaxMin = false;
    UpdateMenuVisibility(WithItems(9), menus, showMaxMin);
    UpdateMenuVisibility(WithItems(10), menus, showMaxMin);
    EXPECT_FALSE(menus.addition);
    EXPECT_TRUE(menus.teisei);
    EXPECT_TRUE(menus.gshow);
    EXPECT_FALSE(menus.dif);
    EXPECT_FALSE(menus.defa);
    EXPECT_FALSE(showMaxMin);
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
    EXPECT_TRUE(menus.deffuncA);
    EXPECT_TRUE(menus.UFcorrect);
    EXPECT_FALSE(menus.DefconstA) << "no seventh constant";
    EXPECT_TRUE(menus.UCcorrect);
}
