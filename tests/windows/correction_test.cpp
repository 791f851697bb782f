// The correction window: showing entries, editing every field, colours,
// deleting items and definitions, and the window forwarding its clicks.
#include "control/correction.h"
#include "control/definitions_test_util.h"
#include "model/equation_file.h"
#include "windows/correction_window.h"
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace gq
{

using namespace defs_test;

namespace
{
const std::string kPi = "\x83\xCE";
const QString kWrongFormula = QStringLiteral("式が間違っています2");

struct CorrectionTest : ::testing::Test {
    Document doc;
    ColourPanelState panel;
    ScriptedQuestions answers;
    int listRedraws = 0;
    CorrectionSession session{DefinitionContext{doc, panel, answers, [this] { ++listRedraws; }, {}}};

    const KeyboardRequest &asked(size_t i) const { return answers.keyboardRequests.at(i); }
};

// Deletes item `number` of the described items from the window: refused
// once, then confirmed. `shown` is the number shown afterwards, 0 when the
// window closed. Returns the document for further checks.
Document expectItemDeletion(const Texts &items, int number, const Texts &remaining, int shown)
{
    SCOPED_TRACE(::testing::PrintToString(items) + " delete " + std::to_string(number));
    Document doc;
    ColourPanelState panel;
    ScriptedQuestions answers;
    appendItems(doc, panel, items);
    CorrectionSession session{DefinitionContext{doc, panel, answers, {}, {}}};
    session.open(CorrectItems);
    session.setNumber(number);
    answers.confirmAnswers = {false, true};
    EXPECT_FALSE(session.deleteCurrent());
    EXPECT_EQ(described(doc), items);
    EXPECT_TRUE(session.deleteCurrent());
    EXPECT_EQ(answers.confirmKinds, (std::vector<int>{WarnCurrentItem, WarnCurrentItem}));
    EXPECT_EQ(described(doc), remaining);
    EXPECT_EQ(session.isOpen() ? session.number() : 0, shown);
    EXPECT_TRUE(coloursConsistent(doc, panel));
    return doc;
}
} // namespace

TEST_F(CorrectionTest, ShowsTheFieldsOfEachKind)
{
    EXPECT_FALSE(session.open(CorrectItems)); // an empty list does not open
    EXPECT_FALSE(session.open(CorrectFunctions) || session.isOpen());
    appendItems(doc, panel,
                {"T cos(t) sin(t) 0 2*" + kPi, "R 1+cos(t) 1+cos(t) 0 1", "P 1 2", "S 0 0 1 1", "D 2*x"});
    doc.items[3].afterimage = 0;
    doc.items[4].penWidth = 3;
    ASSERT_TRUE(session.open(CorrectItems));
    // Which of equ1, equ2, Min and Max each kind shows.
    for (const char *shown : {"1111", "1011", "1100", "1111", "1000"}) {
        const CorrectionView v = session.currentView();
        for (int f = FieldEqu1; f <= FieldMax; ++f)
            EXPECT_EQ(v.fields[f].visible, shown[f - 1] == '1') << v.number << " field " << f;
        EXPECT_TRUE(v.itemControls);
        EXPECT_EQ(v.colour, doc.items[v.number].colour);
        session.setNumber(v.number + 1);
    }
    EXPECT_EQ(session.number(), 5); // the spin control never leaves 1..count
    CorrectionView v = session.currentView();
    EXPECT_EQ(v.kindLabel, QStringLiteral("導 関 数"));
    EXPECT_FALSE(v.fields[FieldEqu1].editable);
    EXPECT_FALSE(session.editField(FieldEqu1)); // a derivative's text cannot be edited
    EXPECT_TRUE(answers.keyboardRequests.empty());
    session.setNumber(3);
    EXPECT_EQ(session.currentView().zanIndex, 1);
    session.setNumber(4);
    EXPECT_EQ(session.currentView().penwIndex, 2);
    session.setNumber(0);
    EXPECT_EQ(session.number(), 1);
}

// Each editable field shows its label and text; a click asks with its caption,
// layout and keys (every existing definition offered) and stores the answer.
TEST(CorrectionFields, LabelCaptionLayoutKeysAndStoredText)
{
    struct Case {
        uint8_t kind;
        int field;
        const char *label, *answer, *caption;
        int layout, xyz, sgnGaus, t; // expected key flags; -1 = not checked
    };
    for (const Case &c : {
             Case{KindExplicit, FieldEqu1, "式１", "x^3", "陽 関 数", 1, 1, 1, -1},
             Case{KindImplicit, FieldEqu1, "式１", "x+y", "陰 関 数", 1, 1, 0, -1},
             Case{KindParametric, FieldEqu1, "式１", "F1(t)", "媒介変数", 1, 0, 0, 1},
             Case{KindParametric, FieldEqu2, "式２", "t", "媒介変数の　y＝ｇ(ｔ)　の訂正", 1, 0, 0, 1},
             Case{KindParametric, FieldMin, "範囲", "-1", "範囲の下限の入力", 0, 0, 0, 1},
             Case{KindParametric, FieldMax, "～", "Q1", "範囲の上限の入力", 0, 0, 0, 1},
             Case{KindPolar, FieldEqu1, "式１", "2*sin(t)", "極方程式", 1, 0, 0, 1},
             Case{KindPolar, FieldMax, "～", "3", "範囲の上限の入力", 0, 0, 0, 1},
             Case{KindPoint, FieldEqu2, "式２", "6", "点のｙ座標の訂正", 1, 0, -1, 0},
             Case{KindSegment, FieldEqu2, "式２", "3", "点Ｐのｙ座標の訂正", 1, 0, 0, 1},
             Case{KindSegment, FieldMin, "式３", "4", "点Ｑのｘ座標の訂正", 1, 0, 0, 1},
             Case{KindSegment, FieldMax, "式４", "5", "点Ｑのｙ座標の訂正", 1, 0, 0, 1},
         }) {
        SCOPED_TRACE(c.caption);
        Document doc;
        ColourPanelState panel;
        ScriptedQuestions answers;
        setDefinitions(doc, {"x^2"}, {"2"});
        appendItem(doc, panel, kKindLetters[c.kind] + std::string(" 1 1 0 1"));
        const std::string before = doc.items[1].text[c.field];
        CorrectionSession session{DefinitionContext{doc, panel, answers, {}, {}}};
        ASSERT_TRUE(session.open(CorrectItems));
        const CorrectionFieldView shown = session.currentView().fields[c.field];
        EXPECT_EQ(shown.label, QString::fromUtf8(c.label));
        EXPECT_EQ(shown.text, before);
        if (c.field == FieldEqu1) {
            EXPECT_EQ(session.currentView().kindLabel, QString::fromUtf8(c.caption));
        }
        answers.keyboardAnswers = {c.answer};
        EXPECT_TRUE(session.editField(c.field));
        EXPECT_EQ(doc.items[1].text[c.field], c.answer);
        if (c.kind == KindPolar && c.field == FieldEqu1) { // a polar item keeps its formula twice
            EXPECT_EQ(doc.items[1].text[2], c.answer);
        }
        ASSERT_EQ(answers.keyboardRequests.size(), 1u);
        const KeyboardRequest &r = answers.keyboardRequests[0];
        EXPECT_EQ(r.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(r.initialText, before);
        EXPECT_EQ(r.layout, c.layout);
        EXPECT_TRUE(r.funcKeys == 1 && r.constKeys == 1);
        EXPECT_TRUE(c.xyz < 0 || r.keysXYZ == (c.xyz == 1));
        EXPECT_TRUE(c.sgnGaus < 0 || r.keysSgnGaus == (c.sgnGaus == 1));
        EXPECT_TRUE(c.t < 0 || r.keyT == (c.t == 1));
    }
}

// Editing item 1, or the function it uses, recomputes the derivative item.
TEST_F(CorrectionTest, EditsRecomputeTheDerivative)
{
    setDefinitions(doc, {"x^2"});
    appendItems(doc, panel, {"E x^2", "D " + derivativeText("x^2", OpX), "I x^2+y^2-1"});
    session.open(CorrectItems);
    answers.keyboardAnswers = {"F1(x)*x", "sin(x)"};
    EXPECT_TRUE(session.editField(FieldEqu1));
    EXPECT_EQ(described(doc), (Texts{"E F1(x)*x", "D 3*x^2", "I x^2+y^2-1"}));
    EXPECT_EQ(listRedraws, 1);
    session.open(CorrectFunctions);
    EXPECT_TRUE(session.editField(FieldEqu1));
    EXPECT_EQ(described(doc)[1], "D " + derivativeText("sin(x)*x", OpX));
}

TEST_F(CorrectionTest, AnEmptiedFormulaIsRefused)
{
    appendItem(doc, panel, "E x^2");
    session.open(CorrectItems);
    answers.keyboardAnswers = {"", "x+1"};
    EXPECT_TRUE(session.editField(FieldEqu1));
    EXPECT_EQ(asked(1).message, kWrongFormula);
    EXPECT_EQ(asked(1).initialText, "x^2");
    EXPECT_EQ(doc.items[1].text[1], "x+1");
    // Emptied twice, or closed with the text unchanged: the text stays.
    answers.keyboardAnswers = {"", ""};
    EXPECT_FALSE(session.editField(FieldEqu1));
    answers.keyboardAnswers = {"x+1"};
    EXPECT_FALSE(session.editField(FieldEqu1));
    EXPECT_EQ(doc.items[1].text[1], "x+1");
}

TEST_F(CorrectionTest, ADefinitionMayNotReferToItself)
{
    setDefinitions(doc, {"x^2", "F1(x)+1"}, {"2", "Q1+1"});
    ASSERT_TRUE(session.open(CorrectFunctions));
    CorrectionView v = session.currentView();
    EXPECT_EQ(v.kindLabel, QStringLiteral("定義関数"));
    EXPECT_FALSE(v.itemControls || v.fields[FieldEqu2].visible);
    // F1 through F2 back to F1, refused until the keyboard is emptied.
    answers.keyboardAnswers = {"F2(x)", "F1(x)", ""};
    EXPECT_FALSE(session.editField(FieldEqu1));
    EXPECT_EQ(asked(0).caption, QStringLiteral("定義関数 F1の訂正"));
    EXPECT_EQ(asked(1).message, kWrongFormula);
    EXPECT_EQ(asked(1).initialText, "F2(x)");
    EXPECT_EQ(asked(2).message, kWrongFormula);
    session.setNumber(2);
    answers.keyboardAnswers = {"F1(x)*2"};
    EXPECT_TRUE(session.editField(FieldEqu1));
    EXPECT_EQ(functionTextsOf(doc), (Texts{"x^2", "F1(x)*2"}));

    session.open(CorrectConstants);
    session.setNumber(2);
    answers.keyboardAnswers = {"Q2*2", "3"};
    answers.keyboardRequests.clear();
    EXPECT_TRUE(session.editField(FieldEqu1));
    EXPECT_EQ(asked(0).caption, QStringLiteral("定義定数 Q2の訂正"));
    EXPECT_EQ(asked(1).message, kWrongFormula);
    EXPECT_EQ(constantTextsOf(doc), (Texts{"2", "3"}));
}

TEST_F(CorrectionTest, ColourAfterimageAndPenWidth)
{
    appendItems(doc, panel, {"E x", "E 2*x"});
    const uint32_t first = doc.items[1].colour;
    session.open(CorrectItems);
    // A new colour, then its own colour again, then another item's colour,
    // which is never handed out.
    answers.colourAnswers = {255, 255, doc.items[2].colour};
    EXPECT_TRUE(session.changeColour());
    EXPECT_TRUE(panel.isOffered(first)); // the old colour is offered again
    EXPECT_FALSE(session.changeColour());
    session.changeColour();
    EXPECT_EQ(doc.items[1].colour, 255u);
    EXPECT_TRUE(coloursConsistent(doc, panel));
    EXPECT_GE(listRedraws, 3);

    session.setAfterimage(1);
    EXPECT_EQ(doc.items[1].afterimage, 0);
    session.setAfterimage(0);
    EXPECT_EQ(doc.items[1].afterimage, 1);
    session.setPenWidth(2);
    EXPECT_EQ(doc.items[1].penWidth, 3);
}

TEST(CorrectionDeletion, ItemsAndTheNumberShownAfterwards)
{
    expectItemDeletion({"E x"}, 1, {}, 0); // the only item: the window closes
    expectItemDeletion({"E x^2", "D 2*x", "I x^2+y^2-1"}, 1, {"I x^2+y^2-1"}, 1); // with its derivative
    expectItemDeletion({"E x^2", "D 2*x", "I x^2+y^2-1"}, 2, {"E x^2", "I x^2+y^2-1"}, 2);
    expectItemDeletion({"E x", "I x*y-1", "P 1 1", "E 2"}, 4, {"E x", "I x*y-1", "P 1 1"}, 3); // the new last
    // Only the pair: the list empties and both records are reset.
    Document pair = expectItemDeletion({"E x^2", "D 2*x"}, 1, {}, 0);
    EXPECT_TRUE(pair.items[2].kind == KindExplicit && pair.items[1].text[1].empty());
}

TEST_F(CorrectionTest, DeletingDefinitionsFromTheWindow)
{
    setDefinitions(doc, {"x^2", "x+1", "F2(x)*2"}, {"1"});
    appendItems(doc, panel, {"E F3(x)", "E F1(x)"});
    session.open(CorrectFunctions);
    session.setNumber(2);
    answers.confirmAnswers = {false, true, true, true};
    EXPECT_FALSE(session.deleteCurrent());
    EXPECT_EQ(doc.functionCount, 3);
    EXPECT_TRUE(session.deleteCurrent());
    EXPECT_EQ(functionTextsOf(doc), (Texts{"x^2"}));
    EXPECT_EQ(described(doc), (Texts{"E F1(x)"}));
    EXPECT_TRUE(session.isOpen() && session.number() == 1); // the function now at the number, clamped
    EXPECT_TRUE(session.deleteCurrent());
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(doc.itemCount, 0);
    EXPECT_TRUE(coloursConsistent(doc, panel));

    session.open(CorrectConstants);
    EXPECT_TRUE(session.deleteCurrent());
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(answers.confirmKinds,
              (std::vector<int>{WarnFunctions, WarnFunctions, WarnFunctions, WarnConstants}));
}

TEST_F(CorrectionTest, WindowShowsTheEntryAndForwardsClicks)
{
    appendItems(doc, panel, {"S 0 0 1 " + kPi, "E x"});
    CorrectionWindow form(DefinitionContext{doc, panel, answers, {}, {}});
    ASSERT_TRUE(form.prepare(CorrectItems));
    auto *max = form.findChild<QPushButton *>(QStringLiteral("Max"));
    auto *spin = form.findChild<QSpinBox *>(QStringLiteral("UpDown1"));
    ASSERT_TRUE(max && spin);
    EXPECT_EQ(max->text(), QStringLiteral("π"));
    answers.keyboardAnswers = {"2"};
    max->click();
    EXPECT_EQ(doc.items[1].text[4], "2");
    EXPECT_EQ(max->text(), QStringLiteral("2"));

    EXPECT_EQ(spin->maximum(), 2);
    spin->setValue(2);
    EXPECT_TRUE(max->isHidden());
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("Label7"))->text(), QStringLiteral("登録Ｎｏ.=  2"));
    answers.confirmAnswers = {true};
    form.findChild<QPushButton *>(QStringLiteral("DelButton"))->click();
    EXPECT_EQ(doc.itemCount, 1);
    EXPECT_EQ(spin->maximum(), 1);
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("２点を結ぶ線分"));
}

// Corrections and a cascade's renumbering leave a document that saves and
// reads back unchanged.
TEST_F(CorrectionTest, CorrectedDocumentReloadsUnchanged)
{
    setDefinitions(doc, {"x^2", "sin(x)", "F2(x)+F1(x)", "cos(x)"}, {kPi, "F3(1)", "Q1/2"});
    appendItems(doc, panel, {"E F1(x)", "D 2*x", "T F4(t) Q3*t 0 Q1", "R F3(t) F3(t) 0 1"});
    session.open(CorrectFunctions);
    answers.keyboardAnswers = {"x^3", "-1"};
    session.editField(FieldEqu1); // F1 := x^3, the derivative follows
    answers.confirmAnswers = {true};
    session.setNumber(2);
    session.deleteCurrent(); // F2, F3, Q2 and the polar item go
    session.open(CorrectItems);
    session.setNumber(3);
    session.editField(FieldMin);
    ASSERT_EQ(described(doc), (Texts{"E F1(x)", "D " + derivativeText("x^3", OpX), "T F2(t) Q2*t -1 Q1"}));

    std::vector<std::string> lines, again;
    QString error;
    ASSERT_TRUE(equationFileLines(doc, lines, error)) << error.toStdString();
    LoadResult loaded = readEquationLines(lines);
    ASSERT_TRUE(loaded.ok()) << loaded.message.toStdString();
    ASSERT_TRUE(equationFileLines(loaded.document, again, error));
    EXPECT_EQ(again, lines);
}

} // namespace gq
