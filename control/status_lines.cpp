#include "control/status_lines.h"

#include "engine/expr_tree.h"
#include "engine/parse.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

QString FormatFixed3(long double value)
{
    if (!std::isfinite(value))
        return value != value ? QStringLiteral("NAN")
                              : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3Lf", value);
    QString text = QString::fromLatin1(buffer);
    // A value that rounds to zero is shown without a sign.
    if (text == QLatin1String("-0.000"))
        text = QStringLiteral("0.000");
    return text;
}

QString RangeStatusText(const CoordFrameRecord &frame)
{
    return QStringLiteral("x座標:  ") + FormatFixed3(frame.xmin) + QStringLiteral(" ≦ｘ≦ ") +
           FormatFixed3(frame.xmax) + QStringLiteral("        y座標:  ") + FormatFixed3(frame.ymin) +
           QStringLiteral("≦ y ≦") + FormatFixed3(frame.ymax);
}

namespace
{
// The texts of an item that are searched for parameter letters.
std::array<bool, 5> SearchedTexts(uint8_t kind)
{
    switch (kind) {
    case KindParametric:
    case KindPoint:
    case KindSegment:
        return {false, true, true, true, true};
    case KindPolar: // text[2] repeats text[1]
        return {false, true, false, true, true};
    default:
        return {false, true, false, false, false};
    }
}

void MarkLettersOf(const std::string &text, UsedParamTable &used, bool &itemUses)
{
    if (text.empty())
        return;
    // One parse per text, then a search per letter: the same answer as asking
    // FormulaUsesLeaf letter by letter, at a twentieth of the cost.
    ParseOK = true;
    Tree tree(ParseFormula(text, ParseBuild));
    if (!ParseOK || !tree)
        return;
    for (int32_t code = OpLetterA; code <= OpLetterA + 20; ++code)
        if (ContainsOp(tree.get(), code)) {
            used[code - 10000] = true;
            itemUses = true;
        }
}

float ParamValue(char letter)
{
    return VariableTable.param[ParamIndex(LetterCode(letter))];
}
} // namespace

UsedParamTable ScanUsedParams(Document &doc)
{
    UsedParamTable used{};
    const int count = std::clamp(doc.ItemCount, 0, kMaxItems);
    for (int i = 1; i <= count; ++i) {
        Tfuncprop &item = doc.ItemList[i];
        bool itemUses = false;
        const auto searched = SearchedTexts(item.kind);
        for (int k = 1; k <= 4; ++k)
            if (searched[k])
                MarkLettersOf(item.text[k], used, itemUses);
        item.usesParam = itemUses ? 1 : 0;
    }
    return used;
}

QString ParamStatusText(const UsedParamTable &used)
{
    QString line;
    for (char letter : {'a', 'b', 'c', 'd', 'f', 'j', 'n'})
        if (used[LetterCode(letter) - 10000])
            line += QChar::fromLatin1(letter) + QStringLiteral(" = ") + FormatFixed3(ParamValue(letter)) +
                    QLatin1Char(' ');
    if (used[OpLetterS - 10000]) {
        const long double multiple =
            static_cast<long double>(ParamValue('s')) / std::numbers::pi_v<long double>;
        line += QStringLiteral("θ= ") + FormatFixed3(multiple) + QStringLiteral("π ");
    }
    return line;
}

bool AnyParamUsed(const UsedParamTable &used)
{
    for (int i = 1; i <= 21; ++i)
        if (used[i])
            return true;
    return false;
}
