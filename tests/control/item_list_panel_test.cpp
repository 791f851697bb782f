// The text of the item list panel: headings, labels, values and wrapping.
#include "control/item_list_panel.h"
#include "control/scripted_questions.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
// texts: text[1], text[2], ... separated by '|'.
Item item(uint8_t kind, const char *texts, uint32_t colour = 0)
{
    Item item;
    item.kind = kind;
    item.colour = colour;
    int k = 1;
    for (const QByteArray &t : QByteArray(texts).split('|'))
        item.text[k++] = t.toStdString();
    return item;
}
} // namespace

TEST(ItemListPanel, EachKindHasABlankLineHeadingLabelsAndValues)
{
    struct Case {
        Item item;
        const char *lines; // "x,y:text" separated by '|'
        int listY;
    } cases[] = {
        // The value column starts 4 pixels after the label (10 pixels a
        // character here), never before x = 40.
        {item(KindExplicit, "x^2-2", 255), "1,15:陽 関 数 y=f(x)|1,30:f(x)=|55,30:x^2-2", 45},
        {item(KindImplicit, "x*y-1"), "1,15:陰 関 数 f(x,y)=0|1,30:f(x,y)=|75,30:x*y-1", 45},
        {item(KindDerivative, "3*x^2"), "1,15:導 関 数 y=df(x)/dx|1,30:dy/dx=|65,30:3*x^2", 45},
        {item(KindParametric, "cos(t)|sin(t)|0|2\x83\xCE"),
         "1,15:媒介変数 ｘ＝ｆ(ｔ),ｙ＝ｇ(ｔ)|1,30:x =|40,30:cos(t)|1,45:y =|40,45:sin(t)|1,60:tの範囲  : "
         "0≦t≦2π",
         75},
        // A polar curve shows its formula once.
        {item(KindPolar, "\x83\xC6*t|\x83\xC6*t|-1|1"),
         "1,15:極方程式  r＝ｆ(ｔ)|1,30: ｒ=|40,30:θ*t|1,45:tの範囲  : -1≦t≦1", 60},
        {item(KindPoint, "1|a"), "1,15:点の座標 (p,q)|1,30:(p,q) =|75,30:( 1 , a )", 45},
        {item(KindSegment, "0|0|1|2"),
         "1,15:２点を結ぶ線分(p,q)-(r,s)|1,30:(p,q) =|75,30:( 0 , 0 )|1,45:(r,s) =|75,45:( 1 , 2 )", 60},
    };
    for (const Case &c : cases) {
        RecordingSurface surface;
        ItemListPainter painter(surface);
        painter.renderItemEntry(c.item);
        EXPECT_EQ(surface.lines().join(u'|'), QString::fromUtf8(c.lines));
        EXPECT_EQ(painter.listY, c.listY) << c.lines;
        for (const auto &t : surface.texts)
            EXPECT_EQ(t.colour, c.item.colour);
    }
    EXPECT_TRUE(kindName(7).isEmpty());
}

TEST(ItemListPanel, InANarrowPanelHeadingsAndRangesWrapAfterABlankOrComma)
{
    struct Case {
        Item item;
        const char *lines;
        int listY;
    } cases[] = {
        {item(KindParametric, "cos(t)|sin(t)|0|2\x83\xCE"),
         "1,15:媒介変数 |1,30:ｘ＝ｆ(ｔ),|1,45:ｙ＝ｇ(ｔ)|1,60:x =|40,60:cos(t)|1,75:y =|40,75:sin(t)|"
         "1,90:tの範囲  : |1,105:0≦t≦2π",
         120},
        {item(KindExplicit, "x"), "1,15:陽 関 数 |1,30:y=f(x)|1,45:f(x)=|55,45:x", 60},
    };
    for (const Case &c : cases) {
        RecordingSurface surface;
        surface.panelWidth = 120; // 12 characters
        ItemListPainter painter(surface);
        painter.renderItemEntry(c.item);
        EXPECT_EQ(surface.lines().join(u'|'), QString::fromUtf8(c.lines));
        EXPECT_EQ(painter.listY, c.listY) << c.lines;
        for (const auto &t : surface.texts)
            EXPECT_LE(t.x + surface.textWidth(t.text), surface.panelWidth + 10) << t.text.toStdString();
        // The entry drawn after the list is reported, to be brought into view.
        EXPECT_EQ(surface.appended, (std::vector<std::pair<int, int>>{{0, c.listY}}));
    }
}

TEST(ItemListPanel, LongFormulaWrapsOntoLinesFifteenPixelsApart)
{
    RecordingSurface surface; // 300 wide, 10 pixels a character
    ItemListPainter painter(surface);
    // 25 characters fit in 250 = 300 - 50; a wrapped line holds 24 (240 = 300 - 60).
    const QString fits(25, QLatin1Char('a'));
    painter.wrapText(fits);
    EXPECT_EQ(surface.lines(), QStringList(QStringLiteral("40,0:") + fits));
    EXPECT_EQ(painter.listY, 15);

    surface.clear();
    painter.listY = 0;
    QString longText;
    for (int i = 0; i < 60; ++i)
        longText += QChar(u'a' + i % 26);
    painter.wrapText(longText);
    EXPECT_EQ(surface.lines(), QStringList({QStringLiteral("40,0:") + longText.left(24),
                                            QStringLiteral("40,15:") + longText.mid(24, 24),
                                            QStringLiteral("40,30:") + longText.mid(48)}));
    EXPECT_EQ(painter.listY, 45);

    // Pi is never split: 5 characters fit, 4 on a wrapped line; and a
    // panel too narrow for one character still ends.
    std::string pis;
    for (int i = 0; i < 7; ++i)
        pis += "\x83\xCE";
    surface.clear();
    surface.panelWidth = 100;
    painter.wrapText(formulaForDisplay(pis));
    EXPECT_EQ(surface.lines(), QStringList({QStringLiteral("40,45:ππππ"), QStringLiteral("40,60:πππ")}));
    surface.clear();
    surface.panelWidth = 20;
    painter.listY = 0;
    painter.wrapText(QStringLiteral("abc"));
    EXPECT_EQ(surface.texts.size(), 3u);
    EXPECT_EQ(painter.listY, 45);
}

TEST(ItemListPanel, DefinitionsComeFirstAndAreSeparatedByALine)
{
    Document doc;
    doc.functionCount = 2;
    doc.functionTexts[1] = "x^2";
    doc.functionTexts[2] = "sin(x)";
    doc.constantCount = 1;
    doc.constantTexts[1] = "2\x83\xCE";
    doc.itemCount = 1;
    doc.items[1] = item(KindExplicit, "F1(x)+Q1", 128);
    doc.items[2].text[1] = "x"; // not in use
    RecordingSurface surface;
    surface.texts.push_back({0, 0, QStringLiteral("old"), 0});
    ItemListPainter painter(surface);
    painter.redrawItemList(doc);
    EXPECT_EQ(surface.clears, 1);
    EXPECT_EQ(surface.lines().join(u'|'),
              QString::fromUtf8("1,0:定義関数|1,15:F1(x)=|65,15:x^2|1,30:F2(x)=|65,30:sin(x)|"
                                "1,45:定義定数|1,60:Q1 =|65,60:2π|"
                                "1,90:陽 関 数 y=f(x)|1,105:f(x)=|65,105:F1(x)+Q1"));
    EXPECT_EQ(surface.lineYs, std::vector<int>{80});
    EXPECT_EQ(surface.listBottom, 120) << "the whole list drawn";
    EXPECT_TRUE(surface.appended.empty());
    EXPECT_EQ(surface.texts[0].colour, 0u);
    EXPECT_EQ(surface.texts.back().colour, 128u);

    // An empty document leaves a white panel.
    doc.functionCount = doc.constantCount = doc.itemCount = 0;
    painter.redrawItemList(doc);
    EXPECT_EQ(surface.clears, 2);
    EXPECT_TRUE(surface.texts.empty());
    EXPECT_TRUE(surface.lineYs.empty());
}

TEST(ItemListPanel, TheValueColumnFollowsTheWidestLabelOfTheList)
{
    RecordingSurface surface; // 300 wide, 10 pixels a character
    ItemListPainter painter(surface);
    Document doc;
    doc.itemCount = 1;
    doc.items[1] = item(KindParametric, "cos(t)|sin(t)|0|1");
    painter.redrawItemList(doc);
    EXPECT_EQ(painter.valueColumn(), 40) << "labels of three characters fit before 40";

    // The widest labels: "f(x,y)=", "(p,q) =" and "(r,s) =" (7 characters).
    doc.itemCount = 3;
    doc.items[2] = item(KindImplicit, "x^2+y^2-1");
    doc.items[3] = item(KindSegment, "0|0|1|1");
    painter.redrawItemList(doc);
    EXPECT_EQ(painter.valueColumn(), 1 + 70 + kListLabelGap);
    for (const RecordingSurface::Text &t : surface.texts) {
        if (t.x > 1) {
            EXPECT_EQ(t.x, 75) << t.text.toStdString();
        }
    }

    // Every value of the list starts in the one column; wrapping keeps its
    // right margin (10 pixels, 20 for a piece of a wrapped line).
    doc.itemCount = 2;
    doc.items[1] = item(KindExplicit, std::string(40, 'x').c_str());
    painter.redrawItemList(doc);
    QStringList values;
    for (const RecordingSurface::Text &t : surface.texts)
        if (t.x > 1)
            values << QStringLiteral("%1:%2").arg(t.x).arg(t.text.size());
    EXPECT_EQ(values, QStringList({"75:20", "75:20", "75:9"})) << "20 = (300 - 20 - 75) / 10";

    // A preview entry widens the column for its own label.
    doc.itemCount = 0;
    painter.redrawItemList(doc);
    painter.renderItemEntry(item(KindPoint, "1|2"));
    EXPECT_EQ(surface.texts.back().x, 75);
}

TEST(ItemListPanel, TextsThatDoNotParseAreMarked)
{
    RecordingSurface surface;
    surface.panelWidth = 1000;
    ItemListPainter painter(surface);
    const TextMarks bad = {TextMark::None, TextMark::None, TextMark::Unparsable, TextMark::None, TextMark::TooComplex};
    painter.renderItemEntry(item(KindParametric, "t|t^^2|0|2+"), &bad);
    EXPECT_EQ(surface.lines().join(u'|'),
              QString::fromUtf8(
                  "1,15:媒介変数 ｘ＝ｆ(ｔ),ｙ＝ｇ(ｔ)|1,30:x =|40,30:t|1,45:y =|"
                  "40,45:t^^2（式が正しくありません）|1,60:tの範囲  : 0≦t≦2+（式が複雑すぎます）"));

    surface.clear();
    painter.listY = 0;
    const TextMarks second = {TextMark::None, TextMark::None, TextMark::None, TextMark::Unparsable, TextMark::None};
    painter.renderItemEntry(item(KindSegment, "0|0|(|1"), &second);
    EXPECT_TRUE(surface.lines().contains(QString::fromUtf8("75,45:( ( , 1 )（式が正しくありません）")));
    EXPECT_TRUE(surface.lines().contains(QString::fromUtf8("75,30:( 0 , 0 )")));
}

} // namespace gq
