// Scripted answers and document builders for the definition and correction
// tests.
#pragma once

#include "document/document.h"
#include "document/questions.h"
#include "engine/engine.h"
#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace defs_test
{

// Answers the questions from scripts and records what was asked. An exhausted
// keyboard script answers "" (cancel), an exhausted confirmation script "no",
// an exhausted colour script the first offered colour.
class ScriptedAnswers : public Questions
{
  public:
    std::deque<std::string> keyboard;
    std::deque<uint32_t> colours;
    std::deque<bool> confirms;
    std::vector<KeyboardRequest> requests;
    std::vector<int> confirmKinds;
    std::vector<QString> messages;

    std::string AskKeyboard(const KeyboardRequest &request) override
    {
        requests.push_back(request);
        if (keyboard.empty())
            return {};
        std::string answer = keyboard.front();
        keyboard.pop_front();
        return answer;
    }
    uint32_t ChooseColour(ColourPanelState &panel) override
    {
        uint32_t colour = kNoColourChosen;
        if (!colours.empty()) {
            colour = colours.front();
            colours.pop_front();
        } else {
            for (uint32_t c : kItemColours)
                if (panel.IsOffered(c)) {
                    colour = c;
                    break;
                }
        }
        panel.Take(colour);
        return colour;
    }
    bool Confirm(int warningKind) override
    {
        confirmKinds.push_back(warningKind);
        if (confirms.empty())
            return false;
        bool answer = confirms.front();
        confirms.pop_front();
        return answer;
    }
    void ShowMessage(const QString &text) override { messages.push_back(text); }
};

// Appends an item with the next free colour, which the panel marks taken.
inline Tfuncprop &AppendItem(Document &doc, ColourPanelState &panel, uint8_t kind, const std::string &t1,
                             const std::string &t2 = {}, const std::string &t3 = {},
                             const std::string &t4 = {})
{
    Tfuncprop &item = doc.ItemList[++doc.ItemCount];
    ResetItem(item);
    item.kind = kind;
    item.text = {std::string(), t1, t2, t3, t4};
    for (uint32_t c : kItemColours)
        if (panel.IsOffered(c)) {
            item.colour = c;
            panel.Take(c);
            break;
        }
    return item;
}

inline void SetFunctions(Document &doc, const std::vector<std::string> &texts)
{
    doc.DefFuncCount = static_cast<int>(texts.size());
    for (int n = 1; n <= kMaxDefinitions; ++n)
        doc.DefFuncText[n] = n <= doc.DefFuncCount ? texts[n - 1] : std::string();
}

inline void SetConstants(Document &doc, const std::vector<std::string> &texts)
{
    doc.DefConstCount = static_cast<int>(texts.size());
    for (int n = 1; n <= kMaxDefinitions; ++n)
        doc.DefConstText[n] = n <= doc.DefConstCount ? texts[n - 1] : std::string();
}

inline std::vector<std::string> ItemTexts(const Document &doc)
{
    std::vector<std::string> texts;
    for (int i = 1; i <= doc.ItemCount; ++i)
        texts.push_back(doc.ItemList[i].text[1]);
    return texts;
}

inline std::vector<std::string> Functions(const Document &doc)
{
    return {doc.DefFuncText.begin() + 1, doc.DefFuncText.begin() + 1 + doc.DefFuncCount};
}

inline std::vector<std::string> Constants(const Document &doc)
{
    return {doc.DefConstText.begin() + 1, doc.DefConstText.begin() + 1 + doc.DefConstCount};
}

// Value of a formula at x with doc's definitions; valid reports whether it
// parsed and evaluated.
inline long double ValueWith(const Document &doc, const std::string &text, long double x, bool *valid)
{
    const DefinitionSource *previous = CurrentDefinitionSource();
    SetDefinitionSource(&doc);
    ParseOK = true;
    Tree tree(ParseFormula(text, ParseBuild));
    long double value = 0;
    *valid = ParseOK && tree;
    if (*valid) {
        EvalValid = true;
        value = Evaluate(tree.get(), x, 0);
        *valid = EvalValid;
    }
    SetDefinitionSource(previous);
    return value;
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
