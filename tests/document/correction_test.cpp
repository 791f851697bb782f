// The correction window: showing entries, editing every field, colours,
// deleting items and definitions, and the window forwarding its clicks.
#include "definitions_test_util.h"
#include "document/correction.h"
#include "document/correction_window.h"
#include "document/equation_file.h"
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace defs_test;
using Texts = std::vector<std::string>;

namespace
{
struct CorrectionTest : ::testing::Test {
    Document doc;
    ColourPanelState panel;
    ScriptedAnswers answers;
    int listRedraws = 0;
    CorrectionSession session{DefinitionContext{doc, panel, answers, [this] { ++listRedraws; }}};

    // x^2 with its derivative, then an implicit curve.
    void ExplicitWithDerivative()
    {
        AppendItem(doc, panel, KindExplicit, "x^2").asymptote = 1;
        AppendItem(doc, panel, KindDerivative, DerivativeText("x^2", OpX));
        AppendItem(doc, panel, KindImplicit, "x^2+y^2-1");
    }
};
} // namespace

TEST_F(CorrectionTest, EmptyListDoesNotOpen)
{
    EXPECT_FALSE(session.Open(CorrectItems));
    EXPECT_FALSE(session.IsOpen());
    EXPECT_FALSE(session.Open(CorrectFunctions));
    SetConstants(doc, {"2"});
    EXPECT_TRUE(session.Open(CorrectConstants));
    EXPECT_EQ(session.Count(), 1);
}

TEST_F(CorrectionTest, ShowsTheFieldsOfEachKind)
{
    AppendItem(doc, panel, KindParametric, "cos(t)", "sin(t)", "0", "2*\x83\xCE");
    AppendItem(doc, panel, KindPolar, "1+cos(t)", "1+cos(t)", "0", "1");
    AppendItem(doc, panel, KindPoint, "1", "2").afterimage = 0;
    AppendItem(doc, panel, KindSegment, "0", "0", "1", "1").penWidth = 3;
    AppendItem(doc, panel, KindDerivative, "2*x");
    ASSERT_TRUE(session.Open(CorrectItems));

    CorrectionView v = session.View();
    EXPECT_EQ(v.numberLabel, QStringLiteral("登録Ｎｏ.=  1"));
    EXPECT_EQ(v.kindLabel, QStringLiteral("媒介変数"));
    EXPECT_EQ(v.count, 5);
    EXPECT_EQ(v.fields[FieldEqu2].label, QStringLiteral("式２"));
    EXPECT_EQ(v.fields[FieldMin].label, QStringLiteral("範囲"));
    EXPECT_EQ(v.fields[FieldMax].label, QStringLiteral("～"));
    EXPECT_EQ(v.fields[FieldMax].text, "2*\x83\xCE");
    EXPECT_TRUE(v.itemControls);
    EXPECT_EQ(v.colour, doc.ItemList[1].colour);

    session.SetNumber(2);
    v = session.View();
    EXPECT_EQ(v.kindLabel, QStringLiteral("極方程式"));
    EXPECT_FALSE(v.fields[FieldEqu2].visible);
    EXPECT_TRUE(v.fields[FieldMin].visible && v.fields[FieldMax].visible);

    session.SetNumber(3);
    v = session.View();
    EXPECT_TRUE(v.fields[FieldEqu2].visible);
    EXPECT_FALSE(v.fields[FieldMin].visible);
    EXPECT_EQ(v.zanIndex, 1);

    session.SetNumber(4);
    v = session.View();
    EXPECT_EQ(v.fields[FieldMin].label, QStringLiteral("式３"));
    EXPECT_EQ(v.fields[FieldMax].label, QStringLiteral("式４"));
    EXPECT_EQ(v.penwIndex, 2);

    session.SetNumber(99); // the spin control never leaves 1..count
    v = session.View();
    EXPECT_EQ(v.number, 5);
    EXPECT_EQ(v.kindLabel, QStringLiteral("導 関 数"));
    EXPECT_TRUE(v.fields[FieldEqu1].visible);
    EXPECT_FALSE(v.fields[FieldEqu1].editable);
    EXPECT_FALSE(session.EditField(FieldEqu1));
    EXPECT_TRUE(answers.requests.empty());

    session.SetNumber(0);
    EXPECT_EQ(session.Number(), 1);
}

TEST_F(CorrectionTest, EditingItemOneRecomputesItsDerivative)
{
    ExplicitWithDerivative();
    session.Open(CorrectItems);
    answers.keyboard = {"x^3"};
    EXPECT_TRUE(session.EditField(FieldEqu1));
    const KeyboardRequest &r = answers.requests[0];
    EXPECT_EQ(r.caption, QStringLiteral("陽 関 数"));
    EXPECT_EQ(r.initialText, "x^2");
    EXPECT_EQ(r.layout, 1);
    EXPECT_TRUE(r.keysXYZ && r.keysSgnGaus);
    EXPECT_EQ(doc.ItemList[1].text[1], "x^3");
    EXPECT_EQ(doc.ItemList[2].text[1], DerivativeText("x^3", OpX));
    EXPECT_NE(doc.ItemList[2].text[1], DerivativeText("x^2", OpX));
    EXPECT_EQ(doc.ItemList[3].text[1], "x^2+y^2-1");
    EXPECT_EQ(listRedraws, 1);
}

TEST_F(CorrectionTest, EveryFieldOfAParametricItem)
{
    SetFunctions(doc, {"x^2"});
    SetConstants(doc, {"2"});
    AppendItem(doc, panel, KindParametric, "cos(t)", "sin(t)", "0", "1");
    session.Open(CorrectItems);
    answers.keyboard = {"F1(t)", "t", "-1", "Q1"};
    for (int f = FieldEqu1; f <= FieldMax; ++f)
        EXPECT_TRUE(session.EditField(f)) << f;
    EXPECT_EQ(doc.ItemList[1].text, (std::array<std::string, 5>{"", "F1(t)", "t", "-1", "Q1"}));
    ASSERT_EQ(answers.requests.size(), 4u);
    EXPECT_EQ(answers.requests[0].caption, QStringLiteral("媒介変数"));
    EXPECT_EQ(answers.requests[1].caption, QStringLiteral("媒介変数の　y＝ｇ(ｔ)　の訂正"));
    EXPECT_EQ(answers.requests[2].caption, QStringLiteral("範囲の下限の入力"));
    EXPECT_EQ(answers.requests[3].caption, QStringLiteral("範囲の上限の入力"));
    EXPECT_EQ(answers.requests[1].layout, 1);
    EXPECT_EQ(answers.requests[2].layout, 0);
    EXPECT_EQ(answers.requests[3].layout, 0);
    for (const KeyboardRequest &r : answers.requests) {
        EXPECT_FALSE(r.keysXYZ || r.keysSgnGaus);
        EXPECT_TRUE(r.keyT);
        EXPECT_EQ(r.funcKeys, 1);
        EXPECT_EQ(r.constKeys, 1);
    }
}

TEST_F(CorrectionTest, SegmentPointAndPolarFields)
{
    AppendItem(doc, panel, KindSegment, "0", "0", "1", "1");
    AppendItem(doc, panel, KindPoint, "1", "2");
    AppendItem(doc, panel, KindPolar, "1", "1", "0", "\x83\xCE");
    AppendItem(doc, panel, KindImplicit, "x*y-1");
    session.Open(CorrectItems);
    answers.keyboard = {"3", "4", "5", "6"};
    session.EditField(FieldEqu2);
    session.EditField(FieldMin);
    session.EditField(FieldMax);
    session.SetNumber(2);
    session.EditField(FieldEqu2);
    EXPECT_EQ(doc.ItemList[1].text, (std::array<std::string, 5>{"", "0", "3", "4", "5"}));
    EXPECT_EQ(doc.ItemList[2].text[2], "6");
    EXPECT_EQ(answers.requests[0].caption, QStringLiteral("点Ｐのｙ座標の訂正"));
    EXPECT_EQ(answers.requests[1].caption, QStringLiteral("点Ｑのｘ座標の訂正"));
    EXPECT_EQ(answers.requests[2].caption, QStringLiteral("点Ｑのｙ座標の訂正"));
    EXPECT_EQ(answers.requests[1].layout, 1);
    EXPECT_EQ(answers.requests[3].caption, QStringLiteral("点のｙ座標の訂正"));
    EXPECT_FALSE(answers.requests[3].keyT || answers.requests[3].keysXYZ);

    // A polar item keeps its formula twice.
    session.SetNumber(3);
    answers.keyboard = {"2*sin(t)"};
    EXPECT_TRUE(session.EditField(FieldEqu1));
    EXPECT_EQ(doc.ItemList[3].text[1], "2*sin(t)");
    EXPECT_EQ(doc.ItemList[3].text[2], "2*sin(t)");

    session.SetNumber(4);
    answers.keyboard = {"x+y"};
    session.EditField(FieldEqu1);
    EXPECT_EQ(answers.requests.back().caption, QStringLiteral("陰 関 数"));
    EXPECT_TRUE(answers.requests.back().keysXYZ);
    EXPECT_FALSE(answers.requests.back().keysSgnGaus);
}

TEST_F(CorrectionTest, AnEmptiedFormulaIsRefused)
{
    AppendItem(doc, panel, KindExplicit, "x^2");
    session.Open(CorrectItems);
    answers.keyboard = {"", "x+1"};
    EXPECT_TRUE(session.EditField(FieldEqu1));
    ASSERT_EQ(answers.requests.size(), 2u);
    EXPECT_EQ(answers.requests[1].message, QStringLiteral("式が間違っています2"));
    EXPECT_EQ(answers.requests[1].initialText, "x^2");
    EXPECT_EQ(doc.ItemList[1].text[1], "x+1");

    // Emptied twice, or closed with the text unchanged: the text stays.
    answers.keyboard = {"", ""};
    EXPECT_FALSE(session.EditField(FieldEqu1));
    answers.keyboard = {"x+1"};
    EXPECT_FALSE(session.EditField(FieldEqu1));
    EXPECT_EQ(doc.ItemList[1].text[1], "x+1");
}

TEST_F(CorrectionTest, ADefinitionMayNotReferToItself)
{
    SetFunctions(doc, {"x^2", "F1(x)+1"});
    ASSERT_TRUE(session.Open(CorrectFunctions));
    CorrectionView v = session.View();
    EXPECT_EQ(v.kindLabel, QStringLiteral("定義関数"));
    EXPECT_FALSE(v.itemControls);
    EXPECT_FALSE(v.fields[FieldEqu2].visible);

    // F1 through F2 back to F1.
    answers.keyboard = {"F2(x)", "F1(x)", ""};
    EXPECT_FALSE(session.EditField(FieldEqu1));
    EXPECT_EQ(answers.requests[0].caption, QStringLiteral("定義関数 F1の訂正"));
    EXPECT_EQ(answers.requests[1].message, QStringLiteral("式が間違っています2"));
    EXPECT_EQ(answers.requests[1].initialText, "F2(x)");
    EXPECT_EQ(answers.requests[2].message, QStringLiteral("式が間違っています2"));
    EXPECT_EQ(Functions(doc), (Texts{"x^2", "F1(x)+1"}));

    session.SetNumber(2);
    answers.keyboard = {"F1(x)*2"};
    EXPECT_TRUE(session.EditField(FieldEqu1));
    EXPECT_EQ(Functions(doc), (Texts{"x^2", "F1(x)*2"}));
}

TEST_F(CorrectionTest, ACorrectedConstantMayNotReferToItself)
{
    SetConstants(doc, {"2", "Q1+1"});
    session.Open(CorrectConstants);
    session.SetNumber(2);
    answers.keyboard = {"Q2*2", "3"};
    EXPECT_TRUE(session.EditField(FieldEqu1));
    EXPECT_EQ(answers.requests[0].caption, QStringLiteral("定義定数 Q2の訂正"));
    EXPECT_EQ(answers.requests[1].message, QStringLiteral("式が間違っています2"));
    EXPECT_EQ(Constants(doc), (Texts{"2", "3"}));
}

TEST_F(CorrectionTest, CorrectingADefinitionUpdatesTheDerivativeItem)
{
    SetFunctions(doc, {"x^2"});
    AppendItem(doc, panel, KindExplicit, "F1(x)");
    AppendItem(doc, panel, KindDerivative, "2*x");
    session.Open(CorrectFunctions);
    answers.keyboard = {"sin(x)"};
    EXPECT_TRUE(session.EditField(FieldEqu1));
    EXPECT_EQ(doc.DefFuncText[1], "sin(x)");
    EXPECT_EQ(doc.ItemList[2].text[1], DerivativeText("sin(x)", OpX));
}

TEST_F(CorrectionTest, ColourChangesKeepEveryColourUnique)
{
    AppendItem(doc, panel, KindExplicit, "x");
    AppendItem(doc, panel, KindExplicit, "2*x");
    const uint32_t first = doc.ItemList[1].colour;
    const uint32_t second = doc.ItemList[2].colour;
    session.Open(CorrectItems);

    answers.colours = {255};
    EXPECT_TRUE(session.ChangeColour());
    EXPECT_EQ(doc.ItemList[1].colour, 255u);
    EXPECT_TRUE(panel.IsOffered(first)); // the old colour is offered again
    EXPECT_TRUE(ColoursConsistent(doc, panel));

    answers.colours = {255}; // its own colour again
    EXPECT_FALSE(session.ChangeColour());
    EXPECT_EQ(doc.ItemList[1].colour, 255u);
    EXPECT_TRUE(ColoursConsistent(doc, panel));

    answers.colours = {second}; // another item's colour is never handed out
    session.ChangeColour();
    EXPECT_EQ(doc.ItemList[1].colour, 255u);
    EXPECT_TRUE(ColoursConsistent(doc, panel));
    EXPECT_GE(listRedraws, 3);
}

TEST_F(CorrectionTest, AfterimageAndPenWidth)
{
    AppendItem(doc, panel, KindExplicit, "x");
    session.Open(CorrectItems);
    session.SetAfterimage(1);
    EXPECT_EQ(doc.ItemList[1].afterimage, 0);
    session.SetAfterimage(0);
    EXPECT_EQ(doc.ItemList[1].afterimage, 1);
    session.SetPenWidth(2);
    EXPECT_EQ(doc.ItemList[1].penWidth, 3);
    EXPECT_EQ(session.View().penwIndex, 2);
}

TEST_F(CorrectionTest, DeletingTheOnlyItemClosesTheWindow)
{
    AppendItem(doc, panel, KindExplicit, "x");
    session.Open(CorrectItems);
    answers.confirms = {false};
    EXPECT_FALSE(session.DeleteCurrent());
    EXPECT_EQ(doc.ItemCount, 1);
    answers.confirms = {true};
    EXPECT_TRUE(session.DeleteCurrent());
    EXPECT_EQ(answers.confirmKinds, (std::vector<int>{WarnCurrentItem, WarnCurrentItem}));
    EXPECT_EQ(doc.ItemCount, 0);
    EXPECT_FALSE(session.IsOpen());
    EXPECT_TRUE(ColoursConsistent(doc, panel));
}

TEST_F(CorrectionTest, DeletingItemOneTakesItsDerivative)
{
    ExplicitWithDerivative();
    session.Open(CorrectItems);
    answers.confirms = {true};
    EXPECT_TRUE(session.DeleteCurrent());
    EXPECT_EQ(ItemTexts(doc), (Texts{"x^2+y^2-1"}));
    EXPECT_EQ(session.Number(), 1);
    EXPECT_TRUE(session.IsOpen());
    EXPECT_TRUE(ColoursConsistent(doc, panel));

    Document two;
    ColourPanelState pan;
    ScriptedAnswers yes;
    yes.confirms = {true};
    AppendItem(two, pan, KindExplicit, "x^2");
    AppendItem(two, pan, KindDerivative, "2*x");
    CorrectionSession s{DefinitionContext{two, pan, yes, {}}};
    s.Open(CorrectItems);
    EXPECT_TRUE(s.DeleteCurrent());
    EXPECT_EQ(two.ItemCount, 0);
    EXPECT_FALSE(s.IsOpen());
    EXPECT_EQ(two.ItemList[2].kind, KindExplicit); // records reset
    EXPECT_TRUE(two.ItemList[1].text[1].empty());
    EXPECT_TRUE(ColoursConsistent(two, pan));
}

TEST_F(CorrectionTest, DeletingTheDerivativeAloneOrTheLastItem)
{
    ExplicitWithDerivative();
    AppendItem(doc, panel, KindPoint, "1", "1");
    session.Open(CorrectItems);
    session.SetNumber(4);
    answers.confirms = {true, true};
    EXPECT_TRUE(session.DeleteCurrent());
    EXPECT_EQ(session.Number(), 3); // the new last item
    EXPECT_EQ(session.View().kindLabel, QStringLiteral("陰 関 数"));
    session.SetNumber(2);
    EXPECT_TRUE(session.DeleteCurrent());
    EXPECT_EQ(ItemTexts(doc), (Texts{"x^2", "x^2+y^2-1"}));
    EXPECT_EQ(session.Number(), 2);
    EXPECT_TRUE(ColoursConsistent(doc, panel));
}

TEST_F(CorrectionTest, DeletingDefinitionsFromTheWindow)
{
    SetFunctions(doc, {"x^2", "x+1", "F2(x)*2"});
    AppendItem(doc, panel, KindExplicit, "F3(x)");
    AppendItem(doc, panel, KindExplicit, "F1(x)");
    session.Open(CorrectFunctions);
    session.SetNumber(2);
    answers.confirms = {false};
    EXPECT_FALSE(session.DeleteCurrent());
    EXPECT_EQ(doc.DefFuncCount, 3);
    answers.confirms = {true};
    EXPECT_TRUE(session.DeleteCurrent());
    EXPECT_EQ(answers.confirmKinds.back(), WarnFunctions);
    EXPECT_EQ(Functions(doc), (Texts{"x^2"}));
    EXPECT_EQ(ItemTexts(doc), (Texts{"F1(x)"}));
    EXPECT_EQ(session.Number(), 1); // the function now at the number, clamped
    EXPECT_TRUE(session.IsOpen());
    answers.confirms = {true};
    EXPECT_TRUE(session.DeleteCurrent());
    EXPECT_FALSE(session.IsOpen());
    EXPECT_EQ(doc.ItemCount, 0);
    EXPECT_TRUE(ColoursConsistent(doc, panel));

    SetConstants(doc, {"1", "Q1+1"});
    session.Open(CorrectConstants);
    answers.confirms = {true};
    EXPECT_TRUE(session.DeleteCurrent());
    EXPECT_EQ(answers.confirmKinds.back(), WarnConstants);
    EXPECT_FALSE(session.IsOpen());
}

TEST_F(CorrectionTest, WindowShowsTheEntryAndForwardsClicks)
{
    AppendItem(doc, panel, KindSegment, "0", "0", "1", "\x83\xCE");
    AppendItem(doc, panel, KindExplicit, "x");
    Tcorrectform form(DefinitionContext{doc, panel, answers, {}});
    EXPECT_EQ(form.objectName(), QStringLiteral("correctform"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("訂正"));
    ASSERT_TRUE(form.Prepare(CorrectItems));
    auto *max = form.findChild<QPushButton *>(QStringLiteral("Max"));
    ASSERT_NE(max, nullptr);
    EXPECT_FALSE(max->isHidden());
    EXPECT_EQ(max->text(), QStringLiteral("π"));
    EXPECT_EQ(max->toolTip(), QStringLiteral("クリックすると変更できます"));

    answers.keyboard = {"2"};
    max->click();
    EXPECT_EQ(doc.ItemList[1].text[4], "2");
    EXPECT_EQ(max->text(), QStringLiteral("2"));

    auto *spin = form.findChild<QSpinBox *>(QStringLiteral("UpDown1"));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->maximum(), 2);
    spin->setValue(2);
    EXPECT_TRUE(max->isHidden());
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("Label7"))->text(), QStringLiteral("登録Ｎｏ.=  2"));

    answers.confirms = {true};
    form.findChild<QPushButton *>(QStringLiteral("DelButton"))->click();
    EXPECT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(spin->maximum(), 1);
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("２点を結ぶ線分"));
}

// Definitions, corrected items and deletions survive a save and a reload.
TEST_F(CorrectionTest, SavedDocumentReloadsToTheSameListAndDefinitions)
{
    SetFunctions(doc, {"x^2", "sin(x)", "F2(x)+F1(x)", "cos(x)"});
    SetConstants(doc, {"\x83\xCE", "F3(1)", "Q1/2"});
    AppendItem(doc, panel, KindExplicit, "F1(x)").asymptote = 1;
    AppendItem(doc, panel, KindDerivative, "2*x");
    AppendItem(doc, panel, KindParametric, "F4(t)", "Q3*t", "0", "Q1");
    AppendItem(doc, panel, KindPolar, "F3(t)", "F3(t)", "0", "1");
    AppendItem(doc, panel, KindSegment, "0", "Q2", "1", "1");
    AppendItem(doc, panel, KindPoint, "Q3", "1");

    DefinitionContext ctx{doc, panel, answers, {}};
    CorrectionSession functions(ctx);
    functions.Open(CorrectFunctions);
    answers.keyboard = {"x^3"};
    functions.EditField(FieldEqu1); // F1 := x^3, the derivative follows
    answers.confirms = {true};
    functions.SetNumber(2);
    functions.DeleteCurrent(); // F2, F3, Q2 and the polar and segment items go
    session.Open(CorrectItems);
    session.SetNumber(2);
    answers.keyboard = {"-1"};
    session.SetNumber(3);
    session.EditField(FieldMin);
    answers.colours = {255};
    session.ChangeColour();
    session.SetPenWidth(1);
    session.SetAfterimage(1);

    ASSERT_EQ(Functions(doc), (Texts{"x^3", "cos(x)"}));
    ASSERT_EQ(Constants(doc), (Texts{"\x83\xCE", "Q1/2"}));
    ASSERT_EQ(ItemTexts(doc), (Texts{"F1(x)", DerivativeText("x^3", OpX), "F2(t)", "Q2"}));

    std::vector<std::string> lines;
    QString error;
    ASSERT_TRUE(EquationFileLines(doc, VariableTable, lines, error)) << error.toStdString();
    LoadResult loaded = ReadEquationLines(lines);
    ASSERT_TRUE(loaded.ok()) << loaded.message.toStdString();
    const Document &back = loaded.document;
    EXPECT_EQ(Functions(back), Functions(doc));
    EXPECT_EQ(Constants(back), Constants(doc));
    ASSERT_EQ(back.ItemCount, doc.ItemCount);
    for (int i = 1; i <= doc.ItemCount; ++i) {
        const Tfuncprop &a = doc.ItemList[i], &b = back.ItemList[i];
        EXPECT_EQ(b.kind, a.kind) << i;
        EXPECT_EQ(b.text, a.text) << i;
        EXPECT_EQ(b.asymptote, a.asymptote) << i;
        EXPECT_EQ(b.afterimage, a.afterimage) << i;
        EXPECT_EQ(b.colour, a.colour) << i;
        EXPECT_EQ(b.penWidth, a.penWidth) << i;
    }
    EXPECT_EQ(back.ItemList[3].text[3], "-1");
    EXPECT_EQ(back.ItemList[3].colour, 255u);
    EXPECT_EQ(back.ItemList[3].penWidth, 2);
    EXPECT_EQ(back.ItemList[3].afterimage, 0);
}
