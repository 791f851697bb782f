// The text of the item list panel: headings, labels, values and wrapping.
#include "document/item_list_panel.h"
#include "scripted_questions.h"
#include <gtest/gtest.h>

namespace
{
Tfuncprop Item(uint8_t kind, std::initializer_list<const char *> texts, uint32_t colour = 0)
{
    Tfuncprop item;
    item.kind = kind;
    int k = 1;
    for (const char *t : texts)
        item.text[k++] = t;
    item.colour = colour;
    return item;
}
} // namespace

TEST(ItemListPanel, ExplicitEntryHasABlankLineHeadingLabelAndValue)
{
    RecordingSurface surface;
    ItemListPainter painter(surface);
    painter.RenderItemEntry(Item(KindExplicit, {"x^2-2"}, 255));
    EXPECT_EQ(surface.Lines(), QStringList({QStringLiteral("1,15:陽 関 数 y=f(x)"),
                                            QStringLiteral("1,30:f(x)="), QStringLiteral("40,30:x^2-2")}));
    for (const auto &t : surface.texts)
        EXPECT_EQ(t.colour, 255u);
    EXPECT_EQ(painter.ListY, 45);
}

TEST(ItemListPanel, HeadingsAndLabelsOfEveryKind)
{
    const char *names[] = {"導 関 数", "陽 関 数", "陰 関 数",      "媒介変数",
                           "極方程式", "点の座標", "２点を結ぶ線分"};
    const char *suffixes[] = {" y=df(x)/dx", " y=f(x)", " f(x,y)=0",  " ｘ＝ｆ(ｔ),ｙ＝ｇ(ｔ)",
                              "  r＝ｆ(ｔ)", " (p,q)",  "(p,q)-(r,s)"};
    const char *labels[] = {"dy/dx=", "f(x)=", "f(x,y)=", "x =", " ｒ=", "(p,q) =", "(p,q) ="};
    for (uint8_t kind = 0; kind <= KindSegment; ++kind) {
        EXPECT_EQ(KindName(kind), QString::fromUtf8(names[kind]));
        EXPECT_EQ(KindHeadingSuffix(kind), QString::fromUtf8(suffixes[kind]));
        EXPECT_EQ(KindLabel(kind), QString::fromUtf8(labels[kind]));
    }
    EXPECT_TRUE(KindName(7).isEmpty());
}

TEST(ItemListPanel, ParametricEntryShowsBothFormulasAndTheRangeOfT)
{
    RecordingSurface surface;
    ItemListPainter painter(surface);
    painter.RenderItemEntry(Item(KindParametric, {"cos(t)", "sin(t)", "0", "2\x83\xCE"}));
    EXPECT_EQ(surface.Lines(),
              QStringList({QStringLiteral("1,15:媒介変数 ｘ＝ｆ(ｔ),ｙ＝ｇ(ｔ)"), QStringLiteral("1,30:x ="),
                           QStringLiteral("40,30:cos(t)"), QStringLiteral("1,45:y ="),
                           QStringLiteral("40,45:sin(t)"), QStringLiteral("1,60:tの範囲  : 0≦t≦2π")}));
    EXPECT_EQ(painter.ListY, 75);
}

TEST(ItemListPanel, PolarEntryShowsTheFormulaOnceAndTheRange)
{
    RecordingSurface surface;
    ItemListPainter painter(surface);
    painter.RenderItemEntry(Item(KindPolar, {"\x83\xC6*t", "\x83\xC6*t", "-1", "1"}));
    EXPECT_EQ(surface.Lines(),
              QStringList({QStringLiteral("1,15:極方程式  r＝ｆ(ｔ)"), QStringLiteral("1,30: ｒ="),
                           QStringLiteral("40,30:θ*t"), QStringLiteral("1,45:tの範囲  : -1≦t≦1")}));
}

TEST(ItemListPanel, PointAndSegmentShowCoordinatePairs)
{
    RecordingSurface surface;
    ItemListPainter painter(surface);
    painter.RenderItemEntry(Item(KindPoint, {"1", "a"}));
    painter.RenderItemEntry(Item(KindSegment, {"0", "0", "1", "2"}));
    EXPECT_EQ(
        surface.Lines(),
        QStringList({QStringLiteral("1,15:点の座標 (p,q)"), QStringLiteral("1,30:(p,q) ="),
                     QStringLiteral("40,30:( 1 , a )"), QStringLiteral("1,60:２点を結ぶ線分(p,q)-(r,s)"),
                     QStringLiteral("1,75:(p,q) ="), QStringLiteral("40,75:( 0 , 0 )"),
                     QStringLiteral("1,90:(r,s) ="), QStringLiteral("40,90:( 1 , 2 )")}));
}

TEST(ItemListPanel, LongFormulaWrapsOntoLinesFifteenPixelsApart)
{
    RecordingSurface surface; // 300 wide, 10 pixels a character
    ItemListPainter painter(surface);
    // 25 characters fit in 250 = 300 - 50; a wrapped line holds 24 (240 = 300 - 60).
    const QString fits(25, QLatin1Char('a'));
    painter.WrapText(fits);
    ASSERT_EQ(surface.texts.size(), 1u);
    EXPECT_EQ(surface.texts[0].text, fits);
    EXPECT_EQ(painter.ListY, 15);

    surface.Clear();
    painter.ListY = 0;
    QString longText;
    for (int i = 0; i < 60; ++i)
        longText += QChar(u'a' + i % 26);
    painter.WrapText(longText);
    ASSERT_EQ(surface.texts.size(), 3u);
    EXPECT_EQ(surface.texts[0].text, longText.left(24));
    EXPECT_EQ(surface.texts[1].text, longText.mid(24, 24));
    EXPECT_EQ(surface.texts[2].text, longText.mid(48));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(surface.texts[k].x, 40);
        EXPECT_EQ(surface.texts[k].y, 15 * k);
    }
    EXPECT_EQ(painter.ListY, 45);
}

TEST(ItemListPanel, WrappingNeverSplitsPiOrTheta)
{
    RecordingSurface surface;
    surface.width = 100; // 5 characters fit, 4 per wrapped line
    ItemListPainter painter(surface);
    std::string text;
    for (int i = 0; i < 7; ++i)
        text += "\x83\xCE";
    painter.WrapText(FormulaForDisplay(text));
    ASSERT_EQ(surface.texts.size(), 2u);
    EXPECT_EQ(surface.texts[0].text, QStringLiteral("ππππ"));
    EXPECT_EQ(surface.texts[1].text, QStringLiteral("πππ"));
}

TEST(ItemListPanel, NarrowPanelStillEnds)
{
    RecordingSurface surface;
    surface.width = 20;
    ItemListPainter painter(surface);
    painter.WrapText(QStringLiteral("abc"));
    EXPECT_EQ(surface.texts.size(), 3u);
    EXPECT_EQ(painter.ListY, 45);
}

TEST(ItemListPanel, DefinitionsComeFirstAndAreSeparatedByALine)
{
    Document doc;
    doc.DefFuncCount = 2;
    doc.DefFuncText[1] = "x^2";
    doc.DefFuncText[2] = "sin(x)";
    doc.DefConstCount = 1;
    doc.DefConstText[1] = "2\x83\xCE";
    doc.ItemCount = 1;
    doc.ItemList[1].text[1] = "F1(x)+Q1";
    doc.ItemList[1].colour = 128;
    RecordingSurface surface;
    surface.texts.push_back({0, 0, QStringLiteral("old"), 0});
    ItemListPainter painter(surface);
    painter.RedrawItemList(doc);
    EXPECT_EQ(surface.clears, 1);
    EXPECT_EQ(surface.Lines(),
              QStringList({QStringLiteral("1,0:定義関数"), QStringLiteral("1,15:F1(x)="),
                           QStringLiteral("40,15:x^2"), QStringLiteral("1,30:F2(x)="),
                           QStringLiteral("40,30:sin(x)"), QStringLiteral("1,45:定義定数"),
                           QStringLiteral("1,60:Q1 ="), QStringLiteral("40,60:2π"),
                           QStringLiteral("1,90:陽 関 数 y=f(x)"), QStringLiteral("1,105:f(x)="),
                           QStringLiteral("40,105:F1(x)+Q1")}));
    EXPECT_EQ(surface.lineYs, std::vector<int>{80});
    EXPECT_EQ(surface.texts[0].colour, 0u);
    EXPECT_EQ(surface.texts.back().colour, 128u);
}

TEST(ItemListPanel, EmptyDocumentLeavesAWhitePanel)
{
    Document doc;
    doc.ItemList[1].text[1] = "x"; // not in use
    RecordingSurface surface;
    ItemListPainter painter(surface);
    painter.RedrawItemList(doc);
    EXPECT_EQ(surface.clears, 1);
    EXPECT_TRUE(surface.texts.empty());
    EXPECT_TRUE(surface.lineYs.empty());
}
