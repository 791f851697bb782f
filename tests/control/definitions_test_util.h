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

namespace gq
{

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
inline Item &appendItem(Document &doc, ColourPanelState &panel, const std::string &described)
{
    Item &item = doc.items[++doc.itemCount];
    resetItem(item);
    item.kind = static_cast<uint8_t>(kKindLetters.find(described[0]));
    std::istringstream words(described.substr(2));
    for (int k = 1; k <= 4 && words >> item.text[k]; ++k) {
    }
    for (uint32_t c : kItemColours)
        if (panel.isOffered(c)) {
            item.colour = c;
            panel.take(c);
            break;
        }
    return item;
}

inline void appendItems(Document &doc, ColourPanelState &panel, const Texts &items)
{
    for (const std::string &item : items)
        appendItem(doc, panel, item);
}

inline Texts described(const Document &doc)
{
    Texts items;
    for (int i = 1; i <= doc.itemCount; ++i) {
        std::string item(1, kKindLetters.at(doc.items[i].kind));
        for (int k = 1; k <= 4; ++k)
            item += " " + doc.items[i].text[k];
        items.push_back(item.erase(item.find_last_not_of(' ') + 1));
    }
    return items;
}

// Replaces both definition lists (texts above the counts are emptied).
inline void setDefinitions(Document &doc, const Texts &functions, const Texts &constants = {})
{
    doc.functionCount = static_cast<int>(functions.size());
    doc.constantCount = static_cast<int>(constants.size());
    for (int n = 1; n <= kMaxDefinitions; ++n) {
        doc.functionTexts[n] = n <= doc.functionCount ? functions[n - 1] : std::string();
        doc.constantTexts[n] = n <= doc.constantCount ? constants[n - 1] : std::string();
    }
}

inline Texts functionTextsOf(const Document &doc)
{
    return {doc.functionTexts.begin() + 1, doc.functionTexts.begin() + 1 + doc.functionCount};
}

inline Texts constantTextsOf(const Document &doc)
{
    return {doc.constantTexts.begin() + 1, doc.constantTexts.begin() + 1 + doc.constantCount};
}

// Value of a formula at x with doc's definitions; none when it does not parse
// or evaluate.
inline std::optional<long double> valueWith(const Document &doc, const std::string &text, long double x)
{
    EngineScope scope(&doc, doc.parameters);
    engineState().parseOK = engineState().evalValid = true;
    Tree tree(parseFormula(text, ParseBuild));
    Program f(tree.get());
    const long double value = engineState().parseOK && tree ? f.evaluate(x, 0) : 0;
    const bool valid = engineState().parseOK && tree && engineState().evalValid;
    return valid ? std::optional(value) : std::nullopt;
}

// Every item colour taken exactly once; every other colour offered.
inline ::testing::AssertionResult coloursConsistent(const Document &doc, const ColourPanelState &panel)
{
    for (uint32_t c : kItemColours) {
        int users = 0;
        for (int i = 1; i <= doc.itemCount; ++i)
            users += doc.items[i].colour == c;
        if (users > 1)
            return ::testing::AssertionFailure() << "colour " << c << " shared by " << users << " items";
        if ((users == 1) == panel.isOffered(c))
            return ::testing::AssertionFailure()
                   << "colour " << c << (users ? " used but offered" : " unused but not offered");
    }
    return ::testing::AssertionSuccess();
}

} // namespace defs_test

} // namespace gq
