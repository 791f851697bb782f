// What the definitions mean for the main window's controls: which entries of
// the "式定義" menu are shown, the keyboard requests of the definition
// commands, and the lines the list panel writes for the definitions.
#pragma once

#include "control/questions.h"
#include "model/definitions.h"
#include "model/document.h"
#include <QString>
#include <string>
#include <vector>

namespace gq
{

// The "式定義" menu entries that depend on the counts ("新規", "全削除" and
// the two submenus are always shown).
struct DefinitionMenus {
    bool addFunctionEntry = false;      // "追加" of functions: 1 <= functionCount <= 5
    bool correctFunctionsEntry = false; // "訂正" of functions: functionCount >= 1
    bool addConstantEntry = false;
    bool correctConstantsEntry = false;
};
DefinitionMenus definitionMenuVisibility(const Document &doc);

// The keyboard's F and Q keys following the definitions: F1..F<functionCount>
// and Q1..Q<constantCount> on, the rest off.
void offerDefinitionKeys(KeyboardRequest &request, const Document &doc);

// Keyboard requests of the definition commands, with their captions and keys.
KeyboardRequest addFunctionRequest(const Document &doc); // "関数　F<n>の入力"
KeyboardRequest addConstantRequest(const Document &doc); // "定数　Q<n>の入力"
// Correcting F<n>: F1..F(n-1), no Q key of a constant whose text has an "F",
// key x on. Correcting Q<n>: Q1..Q(n-1), no F key of a function whose text
// has a "Q", key x off. The line starts with the definition's text.
KeyboardRequest correctFunctionRequest(const Document &doc, int n);
KeyboardRequest correctConstantRequest(const Document &doc, int n);

// The lines the list panel writes above the items: a heading ("定義関数",
// "定義定数") and one line per definition ("F1(x)=", "Q1 =") followed by the
// formula wrapped in the value column.
struct DefinitionListLine {
    QString label;       // written at x = 1
    std::string formula; // Shift-JIS; empty for a heading
    bool heading = false;
    char prefix = 0; // of a definition: 'F' or 'Q'
    int number = 0;  // of a definition: 1..6
};
std::vector<DefinitionListLine> definitionListLines(const Document &doc);

} // namespace gq
