#include "model/text_check.h"

#include "engine/parse.h"
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

bool formulaParses(const std::string &text)
{
    if (text.empty())
        return false;
    bool &parseOK = engineState().parseOK;
    const bool before = parseOK;
    parseOK = true;
    bool ok = false;
    {
        Tree checked(parseFormula(text, ParseCheck));
        if (parseOK) {
            Tree built(parseFormula(text, ParseBuild));
            ok = parseOK;
        }
    }
    parseOK = before;
    return ok;
}

UnparsableTexts findUnparsableTexts(const Document &doc)
{
    UnparsableTexts bad;
    EngineScope scope(&doc);
    const int functions = std::clamp(doc.functionCount, 0, kMaxDefinitions);
    const int constants = std::clamp(doc.constantCount, 0, kMaxDefinitions);
    for (int n = 1; n <= functions; ++n)
        bad.function[n] = !formulaParses(doc.functionTexts[n]);
    for (int n = 1; n <= constants; ++n)
        bad.constant[n] = !formulaParses(doc.constantTexts[n]);
    const int items = std::clamp(doc.itemCount, 0, kMaxItems);
    for (int i = 1; i <= items; ++i) {
        const std::array<bool, 5> drawn = drawnTexts(doc.items[i].kind);
        for (int t = 1; t <= 4; ++t)
            bad.item[i][t] = drawn[t] && !formulaParses(doc.items[i].text[t]);
    }
    return bad;
}

QStringList unparsableTextLines(const LoadResult &loaded)
{
    if (!loaded.ok())
        return {};
    const UnparsableTexts bad = findUnparsableTexts(loaded.document);
    const LoadResult::TextLines &at = loaded.textLines;
    std::vector<int> lines;
    for (int n = 1; n <= kMaxDefinitions; ++n) {
        if (bad.function[n])
            lines.push_back(at.functions[n]);
        if (bad.constant[n])
            lines.push_back(at.constants[n]);
    }
    for (int i = 1; i <= kMaxItems; ++i)
        for (int t = 1; t <= 4; ++t)
            if (bad.item[i][t])
                lines.push_back(at.items[i][t]);
    std::sort(lines.begin(), lines.end());
    QStringList out;
    for (int line : lines)
        out << QStringLiteral("%1行目: 式が正しくありません").arg(line);
    return out;
}

} // namespace gq
