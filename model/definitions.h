// The defined functions F1..F6 and constants Q1..Q6: finding references to
// them, deleting them together with everything that depends on them, and
// closing the gaps in the numbering. Plain functions over the document.
//
// A text refers to F<n> (Q<n>) when it contains the letter followed by the
// digit n; formula texts have no other capital F or Q, and at most six
// definitions of a kind keep every number a single digit.
//
// Invariant kept by every deletion here: no item or definition text ever
// names a definition that is gone, or a different one than it named before.
#pragma once

#include "model/colours.h"
#include "model/document.h"
#include <QString>
#include <array>
#include <string>
#include <vector>

namespace gq
{

inline constexpr char kFunctionPrefix = 'F';
inline constexpr char kConstantPrefix = 'Q';

// 1-based position of the first prefix + digit n in text, or 0 when there is
// none. n outside 1..9 never matches.
int findReference(char prefix, int n, const std::string &text);
// Whether any of the item's texts 1..4 refers to the definition.
bool itemRefersTo(const Item &item, char prefix, int n);

// Closes the gap of the deleted definition n in one text: every prefix + m for
// m = n+1..6 becomes prefix + (m-1). References to n itself must be gone.
void renumberReferences(std::string &text, char prefix, int n);
// The same in every item text (items 1..itemCount) and every definition text.
void renumberReferences(Document &doc, char prefix, int n);

// Removes item p (1..itemCount): later items move down one place, the freed
// record is reset and itemCount drops by one. The item's colour is offered
// again unless a remaining item still has it. Out-of-range p does nothing.
void removeItem(Document &doc, ColourPanelState &panel, int p);

// Removes item p; when that was item 1 and item 2 is its derivative, the
// derivative goes too. Returns the number of items removed.
int removeItemWithDerivative(Document &doc, ColourPanelState &panel, int p);

// Removes every item that refers to the definition, testing the item that
// moves into a freed place next. When item 1 goes and item 2 is its
// derivative, the derivative goes with it; later items are tested as well.
// Returns the number of items removed.
int deleteItemsUsing(Document &doc, ColourPanelState &panel, char prefix, int n);

// A set of definitions by number (index 1..6; 0 unused).
struct DefinitionSet {
    std::array<bool, kMaxDefinitions + 1> func{};
    std::array<bool, kMaxDefinitions + 1> konst{};
};

// Removes the marked definitions and, repeatedly, every definition that refers
// to a removed one; then every item that refers to any removed definition
// (with the derivative rule of deleteItemsUsing); then closes the numbering
// gaps in all remaining texts. Returns the set actually removed.
DefinitionSet removeDefinitions(Document &doc, ColourPanelState &panel, const DefinitionSet &marked);

// One function / constant with its whole cascade (p = 1..count).
void deleteFunction(Document &doc, ColourPanelState &panel, int p);
void deleteConstant(Document &doc, ColourPanelState &panel, int p);
// Every function (constant), with the items and definitions that use them.
void deleteAllFunctions(Document &doc, ColourPanelState &panel);
void deleteAllConstants(Document &doc, ColourPanelState &panel);

} // namespace gq
