// Document builders and checks for the definition and correction tests; the
// scripted answers are those of scripted_questions.h.
#pragma once

#include "control/scripted_questions.h"
#include "engine/engine.h"
#include "model/document.h"
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace defs_test
{
using Texts = std::vector<std::string>;

// Items are written as their kind letter and their texts separated by
// spaces, trailing empty texts left out: "E F1(x)", "P 1 2", "T cos(t) sin(t)
// 0 1". The letters by ItemKind: derivative, explicit, implicit, parametric
// (t), polar (r), point, segment.
inline const std::string kKindLetters = "DEITRPS";

// Appends the described item with the next free colour, which the panel
// marks taken.
inline Tfuncprop &AppendItem(Document &doc, ColourPanelState &panel, const std::string &described)
{
    Tfuncprop &item = doc.ItemList[++doc.ItemCount];
    ResetItem(item);
    item.kind = static_cast<uint8_t>(kKindLetters.find(described[0]));
    std::istringstream words(described.substr(2));
    for (int k = 1; k <= 4 && words >> item.text[k]; ++k) {
    }
    for (uint32_t c : kItemColours)
        if (panel.IsOffered(c)) {
            item.colour = c;
            panel.Take(c);
            break;
        }
    return item;
}

inline void AppendItems(Document &doc, ColourPanelState &panel, const Texts &items)
{
    for (const std::string &item : items)
        AppendItem(doc, panel, item);
}

inline Texts Described(const Document &doc)
{
    Texts items;
    for (int i = 1; i <= doc.ItemCount; ++i) {
        std::string item(1, kKindLetters.at(doc.ItemList[i].kind));
        for (int k = 1; k <= 4; ++k)
            item += " " + doc.ItemList[i].text[k];
        items.push_back(item.erase(item.find_last_not_of(' ') + 1));
    }
    return items;
}

// Replaces both definition lists (texts above the counts are emptied).
inline void SetDefinitions(Document &doc, const Texts &functions, const Texts &constants = {})
{
    doc.DefFuncCount = static_cast<int>(functions.size());
    doc.DefConstCount = static_cast<int>(constants.size());
    for (int n = 1; n <= kMaxDefinitions; ++n) {
        doc.DefFuncText[n] = n <= doc.DefFuncCount ? functions[n - 1] : std::string();
        doc.DefConstText[n] = n <= doc.DefConstCount ? constants[n - 1] : std::string();
    }
}

inline Texts Functions(const Document &doc)
{
    return {doc.DefFuncText.begin() + 1, doc.DefFuncText.begin() + 1 + doc.DefFuncCount};
}

inline Texts Constants(const Document &doc)
{
    return {doc.DefConstText.begin() + 1, doc.DefConstText.begin() + 1 + doc.DefConstCount};
}

// Value of a formula at x with doc's definitions; none when it does not parse
// or evaluate.
inline std::optional<long double> ValueWith(const Document &doc, const std::string &text, long double x)
{
    const DefinitionSource *previous = CurrentDefinitionSource();
    SetDefinitionSource(&doc);
    ParseOK = EvalValid = true;
    Tree tree(ParseFormula(text, ParseBuild));
    const long double value = ParseOK && tree ? Evaluate(tree.get(), x, 0) : 0;
    const bool valid = ParseOK && tree && EvalValid;
    SetDefinitionSource(previous);
    return valid ? std::optional(value) : std::nullopt;
}

// Every item colour taken exactly once; every other colour offered.
inline ::testing::AssertionResult ColoursConsistent(const Document &doc, const ColourPanelState &panel)
{
    for (uint32_t c : kItemColours) {
        int users = 0;
        for (int i = 1; i <= doc.ItemCount; ++i)
            users += doc.ItemList[i].colour == c;
        if (users > 1)
            return ::testing::AssertionFailure() << "colour " << c << " shared by " << users << " items";
        if ((users == 1) == panel.IsOffered(c))
            return ::testing::AssertionFailure()
                   << "colour " << c << (users ? " used but offered" : " unused but not offered");
    }
    return ::testing::AssertionSuccess();
}

} // namespace defs_test
