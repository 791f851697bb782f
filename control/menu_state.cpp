#include "control/menu_state.h"

#include "control/definition_keys.h"
#include "model/definitions.h"

void UpdateMenuVisibility(const Document &doc, MenuState &menus, bool &showMaxMin)
{
    const int count = doc.ItemCount;
    const bool oneExplicit = count == 1 && doc.ItemList[1].kind == KindExplicit;
    if (count <= 0) {
        menus.addition = menus.teisei = menus.gshow = false;
        showMaxMin = false;
    } else if (count < kMaxItems) {
        menus.addition = menus.teisei = menus.gshow = true;
        if (count == 1) {
            if (oneExplicit)
                showMaxMin = true;
        } else {
            showMaxMin = false;
        }
    } else {
        // A full list: nothing more can be added.
        menus.addition = false;
        menus.teisei = menus.gshow = true;
    }
    // The calculus menu and the derivative command exist only for a single
    // explicit function, whichever way the list got to its present state.
    menus.dif = menus.defa = oneExplicit;
}

void UpdateDefinitionMenus(const Document &doc, MenuState &menus)
{
    const DefinitionMenus definitions = DefinitionMenuVisibility(doc);
    menus.deffuncA = definitions.deffuncA;
    menus.UFcorrect = definitions.UFcorrect;
    menus.DefconstA = definitions.DefconstA;
    menus.UCcorrect = definitions.UCcorrect;
}
