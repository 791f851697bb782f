#include "control/status_lines.h"

#include "engine/parse.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace gq
{

QString formatFixed3(long double value)
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

QString rangeStatusText(const CoordFrame &frame)
{
    return QStringLiteral("x座標:  ") + formatFixed3(frame.xmin) + QStringLiteral(" ≦ｘ≦ ") +
           formatFixed3(frame.xmax) + QStringLiteral("        y座標:  ") + formatFixed3(frame.ymin) +
           QStringLiteral("≦ y ≦") + formatFixed3(frame.ymax);
}

namespace
{
// The texts of an item that are searched for parameter letters.
std::array<bool, 5> searchedTexts(uint8_t kind)
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

void markLettersOf(const std::string &text, UsedParamTable &used, bool &itemUses)
{
    if (text.empty())
        return;
    // One parse per text, then a search per letter: the same answer as asking
    // formulaUsesLeaf letter by letter, at a twentieth of the cost.
    engineState().parseOK = true;
    Tree tree(parseFormula(text, ParseBuild));
    if (!engineState().parseOK || !tree)
        return;
    for (int32_t code = OpLetterA; code <= OpLetterA + 20; ++code)
        if (containsOp(tree.get(), code)) {
            used[code - 10000] = true;
            itemUses = true;
        }
}

} // namespace

UsedParamTable scanUsedParams(Document &doc)
{
    EngineScope scope(&doc);
    UsedParamTable used{};
    const int count = std::clamp(doc.itemCount, 0, kMaxItems);
    for (int i = 1; i <= count; ++i) {
        Item &item = doc.items[i];
        bool itemUses = false;
        const auto searched = searchedTexts(item.kind);
        for (int k = 1; k <= 4; ++k)
            if (searched[k])
                markLettersOf(item.text[k], used, itemUses);
        item.usesParam = itemUses ? 1 : 0;
    }
    return used;
}

QString paramStatusText(const UsedParamTable &used, const Parameters &params)
{
    QString line;
    for (char letter : {'a', 'b', 'c', 'd', 'f', 'j', 'n'})
        if (used[letterCode(letter) - 10000])
            line += QChar::fromLatin1(letter) + QStringLiteral(" = ") + formatFixed3(params[letter]) +
                    QLatin1Char(' ');
    if (used[OpLetterS - 10000]) {
        const long double multiple = static_cast<long double>(params['s']) / std::numbers::pi_v<long double>;
        line += QStringLiteral("θ= ") + formatFixed3(multiple) + QStringLiteral("π ");
    }
    return line;
}

bool anyParamUsed(const UsedParamTable &used)
{
    for (int i = 1; i <= 21; ++i)
        if (used[i])
            return true;
    return false;
}

} // namespace gq
