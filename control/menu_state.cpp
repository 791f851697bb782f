#include "control/menu_state.h"

#include "control/definition_keys.h"
#include "model/definitions.h"

namespace gq
{

void updateMenuVisibility(const Document &doc, MenuState &menus, bool &showMaxMin)
{
    const int count = doc.itemCount;
    const bool oneExplicit = count == 1 && doc.items[1].kind == KindExplicit;
    if (count <= 0) {
        menus.addMenu = menus.correctionMenu = menus.displayMenu = false;
        showMaxMin = false;
    } else if (count < kMaxItems) {
        menus.addMenu = menus.correctionMenu = menus.displayMenu = true;
        if (count == 1) {
            if (oneExplicit)
                showMaxMin = true;
        } else {
            showMaxMin = false;
        }
    } else {
        // A full list: nothing more can be added.
        menus.addMenu = false;
        menus.correctionMenu = menus.displayMenu = true;
    }
    // The calculus menu and the derivative command exist only for a single
    // explicit function, whichever way the list got to its present state.
    menus.calculusMenu = menus.derivativeEntry = oneExplicit;
}

void updateDefinitionMenus(const Document &doc, MenuState &menus)
{
    const DefinitionMenus definitions = definitionMenuVisibility(doc);
    menus.addFunctionEntry = definitions.addFunctionEntry;
    menus.correctFunctionsEntry = definitions.correctFunctionsEntry;
    menus.addConstantEntry = definitions.addConstantEntry;
    menus.correctConstantsEntry = definitions.correctConstantsEntry;
}

} // namespace gq
