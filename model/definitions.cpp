#include "model/definitions.h"

#include <algorithm>

namespace
{
std::string &DefText(Document &doc, char prefix, int n)
{
    return prefix == kFunctionPrefix ? doc.DefFuncText[n] : doc.DefConstText[n];
}

int &DefCount(Document &doc, char prefix)
{
    return prefix == kFunctionPrefix ? doc.DefFuncCount : doc.DefConstCount;
}

bool RefersToAny(const std::string &text, const DefinitionSet &set)
{
    for (int n = 1; n <= kMaxDefinitions; ++n) {
        if (set.func[n] && FindReference(kFunctionPrefix, n, text) > 0)
            return true;
        if (set.konst[n] && FindReference(kConstantPrefix, n, text) > 0)
            return true;
    }
    return false;
}

bool ItemRefersToAny(const Tfuncprop &item, const DefinitionSet &set)
{
    for (int k = 1; k <= 4; ++k)
        if (RefersToAny(item.text[k], set))
            return true;
    return false;
}

// Removes every item that refers to a definition of the set.
int RemoveItemsReferring(Document &doc, ColourPanelState &panel, const DefinitionSet &set)
{
    int removed = 0;
    int i = 1;
    while (i <= doc.ItemCount) {
        if (ItemRefersToAny(doc.ItemList[i], set))
            removed += RemoveItemWithDerivative(doc, panel, i); // test what moved in
        else
            ++i;
    }
    return removed;
}

// Takes definition n out of its list; later ones move down one place.
void EraseDefinition(Document &doc, char prefix, int n)
{
    int &count = DefCount(doc, prefix);
    for (int k = n; k < count; ++k)
        DefText(doc, prefix, k) = DefText(doc, prefix, k + 1);
    DefText(doc, prefix, count).clear();
    count -= 1;
}
} // namespace

int FindReference(char prefix, int n, const std::string &text)
{
    if (n < 1 || n > 9)
        return 0;
    const char digit = static_cast<char>('0' + n);
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == prefix && text[i + 1] == digit)
            return static_cast<int>(i) + 1;
    return 0;
}

bool ItemRefersTo(const Tfuncprop &item, char prefix, int n)
{
    for (int k = 1; k <= 4; ++k)
        if (FindReference(prefix, n, item.text[k]) > 0)
            return true;
    return false;
}

void RenumberReferences(std::string &text, char prefix, int n)
{
    // Ascending order is safe: once m-1 has no references left, turning m
    // into m-1 cannot merge two definitions.
    for (int m = std::max(n, 0) + 1; m <= 9; ++m) {
        int pos;
        while ((pos = FindReference(prefix, m, text)) > 0)
            text[pos] = static_cast<char>('0' + m - 1);
    }
}

void RenumberReferences(Document &doc, char prefix, int n)
{
    for (int i = 1; i <= doc.ItemCount; ++i)
        for (int k = 1; k <= 4; ++k)
            RenumberReferences(doc.ItemList[i].text[k], prefix, n);
    for (int k = 1; k <= doc.DefFuncCount; ++k)
        RenumberReferences(doc.DefFuncText[k], prefix, n);
    for (int k = 1; k <= doc.DefConstCount; ++k)
        RenumberReferences(doc.DefConstText[k], prefix, n);
}

void RemoveItem(Document &doc, ColourPanelState &panel, int p)
{
    if (p < 1 || p > doc.ItemCount)
        return;
    const uint32_t colour = doc.ItemList[p].colour;
    for (int i = p; i < doc.ItemCount; ++i)
        doc.ItemList[i] = doc.ItemList[i + 1];
    ResetItem(doc.ItemList[doc.ItemCount]);
    doc.ItemCount -= 1;
    bool stillUsed = false;
    for (int i = 1; i <= doc.ItemCount; ++i)
        stillUsed = stillUsed || doc.ItemList[i].colour == colour;
    if (!stillUsed)
        panel.Release(colour);
}

int RemoveItemWithDerivative(Document &doc, ColourPanelState &panel, int p)
{
    if (p < 1 || p > doc.ItemCount)
        return 0;
    const bool derivativeFollows = p == 1 && doc.ItemCount >= 2 && doc.ItemList[2].kind == KindDerivative;
    RemoveItem(doc, panel, p);
    if (!derivativeFollows)
        return 1;
    RemoveItem(doc, panel, 1); // the derivative has moved into place 1
    return 2;
}

int DeleteItemsUsing(Document &doc, ColourPanelState &panel, char prefix, int n)
{
    DefinitionSet set;
    if (n < 1 || n > kMaxDefinitions)
        return 0;
    (prefix == kFunctionPrefix ? set.func : set.konst)[n] = true;
    return RemoveItemsReferring(doc, panel, set);
}

DefinitionSet RemoveDefinitions(Document &doc, ColourPanelState &panel, const DefinitionSet &marked)
{
    DefinitionSet gone = marked;
    // A definition that refers to a removed one could no longer be parsed
    // (or would name a different definition after renumbering): remove it too.
    for (bool grew = true; grew;) {
        grew = false;
        for (int k = 1; k <= doc.DefFuncCount; ++k)
            if (!gone.func[k] && RefersToAny(doc.DefFuncText[k], gone))
                gone.func[k] = grew = true;
        for (int k = 1; k <= doc.DefConstCount; ++k)
            if (!gone.konst[k] && RefersToAny(doc.DefConstText[k], gone))
                gone.konst[k] = grew = true;
    }
    RemoveItemsReferring(doc, panel, gone);
    // Highest first, so that each renumbering sees the numbers still in place.
    for (int k = kMaxDefinitions; k >= 1; --k) {
        if (gone.func[k] && k <= doc.DefFuncCount) {
            EraseDefinition(doc, kFunctionPrefix, k);
            RenumberReferences(doc, kFunctionPrefix, k);
        }
        if (gone.konst[k] && k <= doc.DefConstCount) {
            EraseDefinition(doc, kConstantPrefix, k);
            RenumberReferences(doc, kConstantPrefix, k);
        }
    }
    return gone;
}

void DeleteFunction(Document &doc, ColourPanelState &panel, int p)
{
    if (p < 1 || p > doc.DefFuncCount)
        return;
    DefinitionSet set;
    set.func[p] = true;
    RemoveDefinitions(doc, panel, set);
}

void DeleteConstant(Document &doc, ColourPanelState &panel, int p)
{
    if (p < 1 || p > doc.DefConstCount)
        return;
    DefinitionSet set;
    set.konst[p] = true;
    RemoveDefinitions(doc, panel, set);
}

void DeleteAllFunctions(Document &doc, ColourPanelState &panel)
{
    DefinitionSet set;
    std::fill(set.func.begin() + 1, set.func.end(), true); // stray references to F4..F6 too
    RemoveDefinitions(doc, panel, set);
    doc.DefFuncCount = 0;
    for (std::string &text : doc.DefFuncText)
        text.clear();
}

void DeleteAllConstants(Document &doc, ColourPanelState &panel)
{
    DefinitionSet set;
    std::fill(set.konst.begin() + 1, set.konst.end(), true);
    RemoveDefinitions(doc, panel, set);
    doc.DefConstCount = 0;
    for (std::string &text : doc.DefConstText)
        text.clear();
}
