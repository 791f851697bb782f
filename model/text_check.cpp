#include "model/text_check.h"

#include "engine/formula.h"
#include <algorithm>
#include <vector>

namespace gq
{

namespace
{
// The texts of each kind that its plotter parses. A polar item's text[2] is a
// copy of text[1] that nothing draws.
std::array<bool, 5> drawnTexts(uint8_t kind)
{
    switch (kind) {
    case KindParametric:
    case KindSegment:
        return {false, true, true, true, true};
    case KindPolar:
        return {false, true, false, true, true};
    case KindPoint:
        return {false, true, true, false, false};
    default:
        return {false, true, false, false, false};
    }
}

// Whether text t of an item of kind passes the check its plotter needs: the
// curves of parametric and polar items are differentiated by t, implicit
// curves by x and y; the bounds of t, coordinates and the other curves need
// no derivative.
bool itemTextPasses(uint8_t kind, int t, const std::string &text, bool *tooComplex)
{
    if ((kind == KindParametric && t <= 2) || (kind == KindPolar && t == 1))
        return formulaParses(text, tooComplex, {OpT});
    if (kind == KindImplicit)
        return formulaParses(text, tooComplex, {OpX, OpY});
    return formulaParses(text, tooComplex, {});
}
} // namespace

bool UnparsableTexts::itemFails(int i) const
{
    if (i < 1 || i > kMaxItems)
        return false;
    return std::any_of(item[i].begin(), item[i].end(), [](bool b) { return b; });
}

bool UnparsableTexts::any() const
{
    for (int i = 1; i <= kMaxItems; ++i)
        if (itemFails(i))
            return true;
    for (int n = 1; n <= kMaxDefinitions; ++n)
        if (function[n] || constant[n])
            return true;
    return false;
}

bool formulaParses(const std::string &text, bool *tooComplex, std::initializer_list<int32_t> derivatives)
{
    bool &parseOK = engineState().parseOK;
    const bool before = parseOK;
    const FormulaCheck check = checkFormula(text, derivatives);
    parseOK = before;
    if (tooComplex)
        *tooComplex = check == FormulaCheck::TooComplex;
    return check == FormulaCheck::Accepted;
}

UnparsableTexts findUnparsableTexts(const Document &doc)
{
    UnparsableTexts bad;
    EngineScope scope(&doc, doc.parameters);
    const int functions = std::clamp(doc.functionCount, 0, kMaxDefinitions);
    const int constants = std::clamp(doc.constantCount, 0, kMaxDefinitions);
    // A definition is checked as a formula on its own; the formulas that
    // use it are checked with it in place.
    for (int n = 1; n <= functions; ++n)
        bad.function[n] = !formulaParses(doc.functionTexts[n], &bad.tooComplex.function[n], {});
    for (int n = 1; n <= constants; ++n)
        bad.constant[n] = !formulaParses(doc.constantTexts[n], &bad.tooComplex.constant[n], {});
    const int items = std::clamp(doc.itemCount, 0, kMaxItems);
    for (int i = 1; i <= items; ++i) {
        const Item &item = doc.items[i];
        const std::array<bool, 5> drawn = drawnTexts(item.kind);
        for (int t = 1; t <= 4; ++t)
            bad.item[i][t] =
                drawn[t] && !itemTextPasses(item.kind, t, item.text[t], &bad.tooComplex.item[i][t]);
    }
    return bad;
}

QStringList unparsableTextLines(const LoadResult &loaded)
{
    if (!loaded.ok())
        return {};
    // The file's own parameter values: sum bounds may use them.
    Document doc = loaded.document;
    for (std::size_t k = 0; k < kFileParams.size(); ++k)
        doc.parameters[kFileParams[k]] = loaded.params[k];
    const UnparsableTexts bad = findUnparsableTexts(doc);
    const LoadResult::TextLines &at = loaded.textLines;
    std::vector<std::pair<int, bool>> lines; // line, too complex
    for (int n = 1; n <= kMaxDefinitions; ++n) {
        if (bad.function[n])
            lines.emplace_back(at.functions[n], bad.tooComplex.function[n]);
        if (bad.constant[n])
            lines.emplace_back(at.constants[n], bad.tooComplex.constant[n]);
    }
    for (int i = 1; i <= kMaxItems; ++i)
        for (int t = 1; t <= 4; ++t)
            if (bad.item[i][t])
                lines.emplace_back(at.items[i][t], bad.tooComplex.item[i][t]);
    std::sort(lines.begin(), lines.end());
    QStringList out;
    for (auto [line, tooComplex] : lines)
        out << (tooComplex ? QStringLiteral("%1行目: 式が複雑すぎます")
                           : QStringLiteral("%1行目: 式が正しくありません"))
                   .arg(line);
    return out;
}

} // namespace gq
