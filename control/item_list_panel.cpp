#include "control/item_list_panel.h"

#include "control/definition_keys.h"
#include "model/definitions.h"
#include "platform/sjis.h"
#include <algorithm>

namespace gq
{

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

const KindTexts *textsOf(uint8_t kind)
{
    return kind <= KindSegment ? &kKindTexts[kind] : nullptr;
}

QString pairText(const std::string &p, const std::string &q)
{
    return QStringLiteral("( ") + formulaForDisplay(p) + QStringLiteral(" , ") + formulaForDisplay(q) +
           QStringLiteral(" )");
}
} // namespace

QString kindName(uint8_t kind)
{
    const KindTexts *t = textsOf(kind);
    return t ? QString::fromUtf8(t->name) : QString();
}

QString kindHeadingSuffix(uint8_t kind)
{
    const KindTexts *t = textsOf(kind);
    return t ? QString::fromUtf8(t->suffix) : QString();
}

QString kindLabel(uint8_t kind)
{
    const KindTexts *t = textsOf(kind);
    return t ? QString::fromUtf8(t->label) : QString();
}

QString formulaForDisplay(const std::string &text)
{
    return sjisToQString(text);
}

void ItemListPainter::writeAt(int x, const QString &text)
{
    surface_.drawText(x, listY, text);
}

void ItemListPainter::wrapText(const QString &text)
{
    const int width = surface_.width();
    QString rest = text;
    // Iterative: each line takes at least one character, so a panel narrower
    // than a single character still ends.
    while (true) {
        if (rest.size() <= 1 || surface_.textWidth(rest) <= width - 50) {
            writeAt(40, rest);
            listY += kListLineHeight;
            return;
        }
        qsizetype take = rest.size() - 1;
        while (take > 1 && surface_.textWidth(rest.left(take)) > width - 60)
            --take;
        take = std::max<qsizetype>(take, 1);
        writeAt(40, rest.left(take));
        listY += kListLineHeight;
        rest = rest.mid(take);
    }
}

void ItemListPainter::renderItemEntry(const Item &item)
{
    listY += kListLineHeight;
    surface_.setTextColour(item.colour);
    writeAt(1, kindName(item.kind) + kindHeadingSuffix(item.kind));
    listY += kListLineHeight;
    writeAt(1, kindLabel(item.kind));
    const auto rangeLine = [&] {
        writeAt(1, QStringLiteral("tの範囲  : ") + formulaForDisplay(item.text[3]) + QStringLiteral("≦t≦") +
                       formulaForDisplay(item.text[4]));
        listY += kListLineHeight;
    };
    switch (item.kind) {
    case KindParametric:
        wrapText(formulaForDisplay(item.text[1]));
        writeAt(1, QStringLiteral("y ="));
        wrapText(formulaForDisplay(item.text[2]));
        rangeLine();
        break;
    case KindPolar:
        wrapText(formulaForDisplay(item.text[1]));
        rangeLine();
        break;
    case KindPoint:
        wrapText(pairText(item.text[1], item.text[2]));
        break;
    case KindSegment:
        wrapText(pairText(item.text[1], item.text[2]));
        writeAt(1, QStringLiteral("(r,s) ="));
        wrapText(pairText(item.text[3], item.text[4]));
        break;
    default:
        wrapText(formulaForDisplay(item.text[1]));
        break;
    }
}

void ItemListPainter::redrawItemList(const Document &doc)
{
    surface_.clear();
    listY = 0;
    surface_.setTextColour(0);
    const std::vector<DefinitionListLine> definitions = definitionListLines(doc);
    for (const DefinitionListLine &line : definitions) {
        writeAt(1, line.label);
        if (line.heading)
            listY += kListLineHeight;
        else
            wrapText(formulaForDisplay(line.formula));
    }
    if (!definitions.empty())
        surface_.drawLine(0, listY + 5, surface_.width(), listY + 5);
    const int items = std::clamp(doc.itemCount, 0, kMaxItems);
    for (int i = 1; i <= items; ++i)
        renderItemEntry(doc.items[i]);
}

} // namespace gq
