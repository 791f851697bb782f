#include "control/item_list_panel.h"

#include "control/definition_keys.h"
#include "model/definitions.h"
#include "model/text_check.h"
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

template <std::size_t N>
TextMark markOf(const std::array<bool, N> &fails, const std::array<bool, N> &tooComplex, int k)
{
    if (!fails[k])
        return TextMark::None;
    return tooComplex[k] ? TextMark::TooComplex : TextMark::Unparsable;
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

QString markText(TextMark mark)
{
    switch (mark) {
    case TextMark::Unparsable:
        return QStringLiteral("（式が正しくありません）");
    case TextMark::TooComplex:
        return QStringLiteral("（式が複雑すぎます）");
    case TextMark::None:
        break;
    }
    return QString();
}

void ItemListPainter::writeAt(int x, const QString &text)
{
    surface_.drawText(x, listY, text);
}

void ItemListPainter::makeRoomFor(const QString &label)
{
    valueColumn_ = std::max(valueColumn_, 1 + surface_.textWidth(label) + kListLabelGap);
}

void ItemListPainter::widenForItem(const Item &item)
{
    makeRoomFor(kindLabel(item.kind));
    if (item.kind == KindParametric)
        makeRoomFor(QStringLiteral("y ="));
    if (item.kind == KindSegment)
        makeRoomFor(QStringLiteral("(r,s) ="));
}

void ItemListPainter::wrapText(const QString &text)
{
    const int width = surface_.width();
    const int column = valueColumn_;
    QString rest = text;
    // Iterative: each line takes at least one character, so a panel narrower
    // than a single character still ends.
    while (true) {
        if (rest.size() <= 1 || surface_.textWidth(rest) <= width - 10 - column) {
            writeAt(column, rest);
            listY += kListLineHeight;
            return;
        }
        qsizetype take = rest.size() - 1;
        while (take > 1 && surface_.textWidth(rest.left(take)) > width - 20 - column)
            --take;
        take = std::max<qsizetype>(take, 1);
        writeAt(column, rest.left(take));
        listY += kListLineHeight;
        rest = rest.mid(take);
    }
}

void ItemListPainter::writeLines(int x, const QString &text)
{
    const int room = surface_.width() - x;
    QString rest = text;
    while (rest.size() > 1 && surface_.textWidth(rest) > room) {
        qsizetype take = rest.size() - 1;
        while (take > 1 && surface_.textWidth(rest.left(take)) > room)
            --take;
        // A heading reads better broken between its words than inside one.
        for (qsizetype at = take; at > 1; --at)
            if (rest[at - 1] == QLatin1Char(' ') || rest[at - 1] == QLatin1Char(',')) {
                take = at;
                break;
            }
        writeAt(x, rest.left(take));
        listY += kListLineHeight;
        rest = rest.mid(take);
        while (rest.size() > 1 && rest.front() == QLatin1Char(' '))
            rest.remove(0, 1);
    }
    writeAt(x, rest);
    listY += kListLineHeight;
}

void ItemListPainter::renderItemEntry(const Item &item, const TextMarks *marks)
{
    const int top = listY;
    drawEntry(item, marks);
    surface_.entryAppended(top, listY);
}

void ItemListPainter::drawEntry(const Item &item, const TextMarks *marks)
{
    widenForItem(item);
    // A pair shows one mark: its first text's that has one.
    const auto marked = [&](QString shown, std::initializer_list<int> fields) {
        for (int t : fields)
            if (marks && (*marks)[t] != TextMark::None)
                return shown + markText((*marks)[t]);
        return shown;
    };
    const auto formula = [&](int t) { return marked(formulaForDisplay(item.text[t]), {t}); };
    const auto pair = [&](int p, int q) { return marked(pairText(item.text[p], item.text[q]), {p, q}); };

    listY += kListLineHeight;
    surface_.setTextColour(item.colour);
    writeLines(1, kindName(item.kind) + kindHeadingSuffix(item.kind));
    writeAt(1, kindLabel(item.kind));
    const auto rangeLine = [&] {
        writeLines(1, QStringLiteral("tの範囲  : ") + formula(3) + QStringLiteral("≦t≦") + formula(4));
    };
    switch (item.kind) {
    case KindParametric:
        wrapText(formula(1));
        writeAt(1, QStringLiteral("y ="));
        wrapText(formula(2));
        rangeLine();
        break;
    case KindPolar:
        wrapText(formula(1));
        rangeLine();
        break;
    case KindPoint:
        wrapText(pair(1, 2));
        break;
    case KindSegment:
        wrapText(pair(1, 2));
        writeAt(1, QStringLiteral("(r,s) ="));
        wrapText(pair(3, 4));
        break;
    default:
        wrapText(formula(1));
        break;
    }
}

void ItemListPainter::redrawItemList(const Document &doc)
{
    surface_.clear();
    listY = 0;
    surface_.setTextColour(0);
    const std::vector<DefinitionListLine> definitions = definitionListLines(doc);
    const int items = std::clamp(doc.itemCount, 0, kMaxItems);
    const UnparsableTexts unparsable = findUnparsableTexts(doc);

    // One value column for the whole list, after its widest label.
    valueColumn_ = kListValueColumn;
    for (const DefinitionListLine &line : definitions)
        if (!line.heading)
            makeRoomFor(line.label);
    for (int i = 1; i <= items; ++i)
        widenForItem(doc.items[i]);

    for (const DefinitionListLine &line : definitions) {
        writeAt(1, line.label);
        if (line.heading) {
            listY += kListLineHeight;
            continue;
        }
        const bool function = line.prefix == kFunctionPrefix;
        const TextMark mark = function ? markOf(unparsable.function, unparsable.tooComplex.function, line.number)
                                       : markOf(unparsable.constant, unparsable.tooComplex.constant, line.number);
        wrapText(formulaForDisplay(line.formula) + markText(mark));
    }
    if (!definitions.empty())
        surface_.drawLine(0, listY + 5, surface_.width(), listY + 5);
    for (int i = 1; i <= items; ++i) {
        TextMarks marks{};
        for (int t = 1; t <= 4; ++t)
            marks[t] = markOf(unparsable.item[i], unparsable.tooComplex.item[i], t);
        drawEntry(doc.items[i], &marks);
    }
    surface_.listDrawn(listY);
}

QString unusableFunctionMessage(const Document &doc)
{
    if (doc.itemCount < 1)
        return QString();
    const UnparsableTexts unparsable = findUnparsableTexts(doc);
    const TextMark mark = markOf(unparsable.item[1], unparsable.tooComplex.item[1], 1);
    if (mark == TextMark::None)
        return QString();
    const Item &item = doc.items[1];
    return kindLabel(item.kind) + formulaForDisplay(item.text[1]) + markText(mark);
}

} // namespace gq
