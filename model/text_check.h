// The formula texts of a document that do not parse. The keyboard never lets
// such a text into the document, but an equation file may hold one (written
// by hand or by another version): the file is still read whole, the texts are
// kept as they are, and the program names and marks them instead of drawing
// nothing without a word.
#pragma once

#include "model/document.h"
#include "model/equation_file.h"
#include <QString>
#include <QStringList>
#include <array>
#include <initializer_list>

namespace gq
{

// Which texts fail, by their place in the document (index 0 unused).
struct UnparsableTexts {
    std::array<std::array<bool, 5>, kMaxItems + 1> item{}; // item[i][t]: text[t] of item i
    std::array<bool, kMaxDefinitions + 1> function{};      // F1..F6
    std::array<bool, kMaxDefinitions + 1> constant{};      // Q1..Q6
    // Of the failing texts, those that parse but are too complex to prepare
    // (the formula budget, engine/budget.h); same places.
    struct {
        std::array<std::array<bool, 5>, kMaxItems + 1> item{};
        std::array<bool, kMaxDefinitions + 1> function{};
        std::array<bool, kMaxDefinitions + 1> constant{};
    } tooComplex;

    bool itemFails(int i) const;
    bool any() const;
};

// Whether text passes the keyboard's closing check (checkFormula in
// engine/formula.h: it parses in check mode and in build mode and, with the
// derivatives by the given leaf codes, fits the formula budget) with the
// definitions and parameters installed by the caller. An empty text does not
// pass. Leaves engineState().parseOK as it was; *tooComplex (when given)
// tells whether a failure was the budget's.
bool formulaParses(const std::string &text, bool *tooComplex = nullptr,
                   std::initializer_list<int32_t> derivatives = {OpX, OpY, OpT});

// Checks every text the document draws, with its own definitions and
// parameters installed: F1..F<count>, Q1..Q<count>, and of items
// 1..itemCount the texts their kind draws (text[1]; for parametric curves and
// segments text[1..4]; for polar curves text[1], text[3] and text[4]; for
// points text[1..2]), each with the derivatives its plotter takes. A text
// that refers to a definition that does not parse fails too.
UnparsableTexts findUnparsableTexts(const Document &doc);

// For a loaded file: "N行目: 式が正しくありません" for every line whose text does
// not parse, "N行目: 式が複雑すぎます" for every line whose formula is too
// complex, in line order. Empty when every text passes or the file was not
// loaded.
QStringList unparsableTextLines(const LoadResult &loaded);

} // namespace gq
