#include "control/item_list_panel.h"

#include "control/definition_keys.h"
#include "model/definitions.h"
#include "platform/sjis.h"
#include <algorithm>

namespace
{
struct KindTexts {
    const char *name;
    const char *suffix;
    const char *label;
};
// Indexed by ItemKind.
constexpr KindTexts kKindTexts[] = {
    {"導 関 数", " y=df(x)/dx", "dy/dx="},        {"陽 関 数", " y=f(x)", "f(x)="},
    {"陰 関 数", " f(x,y)=0", "f(x,y)="},         {"媒介変数", " ｘ＝ｆ(ｔ),ｙ＝ｇ(ｔ)", "x ="},
    {"極方程式", "  r＝ｆ(ｔ)", " ｒ="},          {"点の座標", " (p,q)", "(p,q) ="},
    {"２点を結ぶ線分", "(p,q)-(r,s)", "(p,q) ="},
};

const KindTexts *TextsOf(uint8_t kind)
{
    return kind <= KindSegment ? &kKindTexts[kind] : nullptr;
}

QString PairText(const std::string &p, const std::string &q)
{
    return QStringLiteral("( ") + FormulaForDisplay(p) + QStringLiteral(" , ") + FormulaForDisplay(q) +
           QStringLiteral(" )");
}
} // namespace

QString KindName(uint8_t kind)
{
    const KindTexts *t = TextsOf(kind);
    return t ? QString::fromUtf8(t->name) : QString();
}

QString KindHeadingSuffix(uint8_t kind)
{
    const KindTexts *t = TextsOf(kind);
    return t ? QString::fromUtf8(t->suffix) : QString();
}

QString KindLabel(uint8_t kind)
{
    const KindTexts *t = TextsOf(kind);
    return t ? QString::fromUtf8(t->label) : QString();
}

QString FormulaForDisplay(const std::string &text)
{
    return SjisToQString(text);
}

void ItemListPainter::WriteAt(int x, const QString &text)
{
    surface_.DrawText(x, ListY, text);
}

void ItemListPainter::WrapText(const QString &text)
{
    const int width = surface_.Width();
    QString rest = text;
    // Iterative: each line takes at least one character, so a panel narrower
    // than a single character still ends.
    while (true) {
        if (rest.size() <= 1 || surface_.TextWidth(rest) <= width - 50) {
            WriteAt(40, rest);
            ListY += kListLineHeight;
            return;
        }
        qsizetype take = rest.size() - 1;
        while (take > 1 && surface_.TextWidth(rest.left(take)) > width - 60)
            --take;
        take = std::max<qsizetype>(take, 1);
        WriteAt(40, rest.left(take));
        ListY += kListLineHeight;
        rest = rest.mid(take);
    }
}

void ItemListPainter::RenderItemEntry(const Tfuncprop &item)
{
    ListY += kListLineHeight;
    surface_.SetTextColour(item.colour);
    WriteAt(1, KindName(item.kind) + KindHeadingSuffix(item.kind));
    ListY += kListLineHeight;
    WriteAt(1, KindLabel(item.kind));
    const auto rangeLine = [&] {
        WriteAt(1, QStringLiteral("tの範囲  : ") + FormulaForDisplay(item.text[3]) + QStringLiteral("≦t≦") +
                       FormulaForDisplay(item.text[4]));
        ListY += kListLineHeight;
    };
    switch (item.kind) {
    case KindParametric:
        WrapText(FormulaForDisplay(item.text[1]));
        WriteAt(1, QStringLiteral("y ="));
        WrapText(FormulaForDisplay(item.text[2]));
        rangeLine();
        break;
    case KindPolar:
        WrapText(FormulaForDisplay(item.text[1]));
        rangeLine();
        break;
    case KindPoint:
        WrapText(PairText(item.text[1], item.text[2]));
        break;
    case KindSegment:
        WrapText(PairText(item.text[1], item.text[2]));
        WriteAt(1, QStringLiteral("(r,s) ="));
        WrapText(PairText(item.text[3], item.text[4]));
        break;
    default:
        WrapText(FormulaForDisplay(item.text[1]));
        break;
    }
}

void ItemListPainter::RedrawItemList(const Document &doc)
{
    surface_.Clear();
    ListY = 0;
    surface_.SetTextColour(0);
    const std::vector<DefinitionListLine> definitions = DefinitionListLines(doc);
    for (const DefinitionListLine &line : definitions) {
        WriteAt(1, line.label);
        if (line.heading)
            ListY += kListLineHeight;
        else
            WrapText(FormulaForDisplay(line.formula));
    }
    if (!definitions.empty())
        surface_.DrawLine(0, ListY + 5, surface_.Width(), ListY + 5);
    const int items = std::clamp(doc.ItemCount, 0, kMaxItems);
    for (int i = 1; i <= items; ++i)
        RenderItemEntry(doc.ItemList[i]);
}
