// Which main-menu entries are shown, as plain flags the window applies to its
// actions. Kept apart from the widgets so the rules can be tested directly.
#pragma once

#include "control/definition_keys.h"
#include "model/document.h"

namespace gq
{

struct MenuState {
    // Registration and display menus, driven by the item count.
    bool addMenu = false;                 // "追加登録"
    bool correctionMenu = false;          // "訂正・削除"
    bool displayMenu = false;             // "グラフ表示"
    bool calculusMenu = false;            // "微分積分": only while the document is one explicit function
    bool derivativeEntry = false;         // "導関数" inside "追加登録", same rule as dif
    bool parameterDisplayEnabled = false; // "ﾊﾟﾗﾒﾀ表示": some item uses a parameter
    // Definition menus ("追加" is hidden again at six definitions).
    bool addFunctionEntry = false;
    bool correctFunctionsEntry = false;
    bool addConstantEntry = false;
    bool correctConstantsEntry = false;
};

// The registration menus for the current item count. showMaxMin is the
// interval tool's maximum/minimum switch, which follows the same rule: on for
// exactly one explicit function, off for none or several, left alone for one
// item of another kind and for a full list.
void updateMenuVisibility(const Document &doc, MenuState &menus, bool &showMaxMin);

// The definition menus as the definition counts imply.
void updateDefinitionMenus(const Document &doc, MenuState &menus);

} // namespace gq
