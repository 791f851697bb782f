#include "model/definitions.h"

#include <algorithm>

namespace gq
{

namespace
{
std::string &defText(Document &doc, char prefix, int n)
{
    return prefix == kFunctionPrefix ? doc.functionTexts[n] : doc.constantTexts[n];
}

int &defCount(Document &doc, char prefix)
{
    return prefix == kFunctionPrefix ? doc.functionCount : doc.constantCount;
}

bool refersToAny(const std::string &text, const DefinitionSet &set)
{
    for (int n = 1; n <= kMaxDefinitions; ++n) {
        if (set.func[n] && findReference(kFunctionPrefix, n, text) > 0)
            return true;
        if (set.konst[n] && findReference(kConstantPrefix, n, text) > 0)
            return true;
    }
    return false;
}

bool itemRefersToAny(const Item &item, const DefinitionSet &set)
{
    for (int k = 1; k <= 4; ++k)
        if (refersToAny(item.text[k], set))
            return true;
    return false;
}

// Removes every item that refers to a definition of the set.
int removeItemsReferring(Document &doc, ColourPanelState &panel, const DefinitionSet &set)
{
    int removed = 0;
    int i = 1;
    while (i <= doc.itemCount) {
        if (itemRefersToAny(doc.items[i], set))
            removed += removeItemWithDerivative(doc, panel, i); // test what moved in
        else
            ++i;
    }
    return removed;
}

// Takes definition n out of its list; later ones move down one place.
void eraseDefinition(Document &doc, char prefix, int n)
{
    int &count = defCount(doc, prefix);
    for (int k = n; k < count; ++k)
        defText(doc, prefix, k) = defText(doc, prefix, k + 1);
    defText(doc, prefix, count).clear();
    count -= 1;
}
} // namespace

int findReference(char prefix, int n, const std::string &text)
{
    if (n < 1 || n > 9)
        return 0;
    const char digit = static_cast<char>('0' + n);
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == prefix && text[i + 1] == digit)
            return static_cast<int>(i) + 1;
    return 0;
}

bool itemRefersTo(const Item &item, char prefix, int n)
{
    for (int k = 1; k <= 4; ++k)
        if (findReference(prefix, n, item.text[k]) > 0)
            return true;
    return false;
}

void renumberReferences(std::string &text, char prefix, int n)
{
    // Ascending order is safe: once m-1 has no references left, turning m
    // into m-1 cannot merge two definitions.
    for (int m = std::max(n, 0) + 1; m <= 9; ++m) {
        int pos;
        while ((pos = findReference(prefix, m, text)) > 0)
            text[pos] = static_cast<char>('0' + m - 1);
    }
}

void renumberReferences(Document &doc, char prefix, int n)
{
    for (int i = 1; i <= doc.itemCount; ++i)
        for (int k = 1; k <= 4; ++k)
            renumberReferences(doc.items[i].text[k], prefix, n);
    for (int k = 1; k <= doc.functionCount; ++k)
        renumberReferences(doc.functionTexts[k], prefix, n);
    for (int k = 1; k <= doc.constantCount; ++k)
        renumberReferences(doc.constantTexts[k], prefix, n);
}

void removeItem(Document &doc, ColourPanelState &panel, int p)
{
    if (p < 1 || p > doc.itemCount)
        return;
    const uint32_t colour = doc.items[p].colour;
    for (int i = p; i < doc.itemCount; ++i)
        doc.items[i] = doc.items[i + 1];
    resetItem(doc.items[doc.itemCount]);
    doc.itemCount -= 1;
    bool stillUsed = false;
    for (int i = 1; i <= doc.itemCount; ++i)
        stillUsed = stillUsed || doc.items[i].colour == colour;
    if (!stillUsed)
        panel.release(colour);
}

int removeItemWithDerivative(Document &doc, ColourPanelState &panel, int p)
{
    if (p < 1 || p > doc.itemCount)
        return 0;
    const bool derivativeFollows = p == 1 && doc.itemCount >= 2 && doc.items[2].kind == KindDerivative;
    removeItem(doc, panel, p);
    if (!derivativeFollows)
        return 1;
    removeItem(doc, panel, 1); // the derivative has moved into place 1
    return 2;
}

int deleteItemsUsing(Document &doc, ColourPanelState &panel, char prefix, int n)
{
    DefinitionSet set;
    if (n < 1 || n > kMaxDefinitions)
        return 0;
    (prefix == kFunctionPrefix ? set.func : set.konst)[n] = true;
    return removeItemsReferring(doc, panel, set);
}

DefinitionSet removeDefinitions(Document &doc, ColourPanelState &panel, const DefinitionSet &marked)
{
    DefinitionSet gone = marked;
    // A definition that refers to a removed one could no longer be parsed
    // (or would name a different definition after renumbering): remove it too.
    for (bool grew = true; grew;) {
        grew = false;
        for (int k = 1; k <= doc.functionCount; ++k)
            if (!gone.func[k] && refersToAny(doc.functionTexts[k], gone))
                gone.func[k] = grew = true;
        for (int k = 1; k <= doc.constantCount; ++k)
            if (!gone.konst[k] && refersToAny(doc.constantTexts[k], gone))
                gone.konst[k] = grew = true;
    }
    removeItemsReferring(doc, panel, gone);
    // Highest first, so that each renumbering sees the numbers still in place.
    for (int k = kMaxDefinitions; k >= 1; --k) {
        if (gone.func[k] && k <= doc.functionCount) {
            eraseDefinition(doc, kFunctionPrefix, k);
            renumberReferences(doc, kFunctionPrefix, k);
        }
        if (gone.konst[k] && k <= doc.constantCount) {
            eraseDefinition(doc, kConstantPrefix, k);
            renumberReferences(doc, kConstantPrefix, k);
        }
    }
    return gone;
}

void deleteFunction(Document &doc, ColourPanelState &panel, int p)
{
    if (p < 1 || p > doc.functionCount)
        return;
    DefinitionSet set;
    set.func[p] = true;
    removeDefinitions(doc, panel, set);
}

void deleteConstant(Document &doc, ColourPanelState &panel, int p)
{
    if (p < 1 || p > doc.constantCount)
        return;
    DefinitionSet set;
    set.konst[p] = true;
    removeDefinitions(doc, panel, set);
}

void deleteAllFunctions(Document &doc, ColourPanelState &panel)
{
    DefinitionSet set;
    std::fill(set.func.begin() + 1, set.func.end(), true); // stray references to F4..F6 too
    removeDefinitions(doc, panel, set);
    doc.functionCount = 0;
    for (std::string &text : doc.functionTexts)
        text.clear();
}

void deleteAllConstants(Document &doc, ColourPanelState &panel)
{
    DefinitionSet set;
    std::fill(set.konst.begin() + 1, set.konst.end(), true);
    removeDefinitions(doc, panel, set);
    doc.constantCount = 0;
    for (std::string &text : doc.constantTexts)
        text.clear();
}

} // namespace gq
