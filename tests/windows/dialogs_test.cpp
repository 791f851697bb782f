// The colour panel, the confirmation dialog and the dialog-backed questions.
#include "windows/colour_panel.h"
#include "windows/dialog_questions.h"
#include "windows/keyboard.h"
#include "windows/warning_dialog.h"
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
// In the order of kItemColours.
const char *const kSwatches[10] = {"paBlack",  "paBlue",  "paNavy", "PaTeal",    "PaOlive",
                                   "pamaroon", "PaGreen", "PaRed",  "PaFuchsia", "PaPurple"};

QPushButton *button(QDialog &dialog, const char *name)
{
    auto *button = dialog.findChild<QPushButton *>(QString::fromLatin1(name));
    EXPECT_NE(button, nullptr) << name;
    return button;
}

int offeredCount(const ColourPanelState &state)
{
    return static_cast<int>(std::count(state.offered.begin(), state.offered.end(), true));
}

class ColourPanelTest : public ::testing::Test
{
  protected:
    ColourPanel panel;
    ColourPanelState state;
};
} // namespace

TEST_F(ColourPanelTest, ShowsOnlyOfferedSwatchesInTheirColours)
{
    state.take(255);
    state.take(0);
    panel.prepare(state);
    for (const char *name : kSwatches)
        EXPECT_EQ(button(panel, name)->isHidden(), name == kSwatches[0] || name == kSwatches[7]) << name;
    EXPECT_EQ(panel.chosenColour(), kNoColourChosen);
    // Stored values are 0x00BBGGRR: 16711680 is blue, 32896 olive.
    EXPECT_EQ(button(panel, "paBlue")->grab().toImage().pixelColor(15, 15), QColor(0, 0, 255));
    EXPECT_EQ(button(panel, "PaOlive")->grab().toImage().pixelColor(15, 15), QColor(128, 128, 0));
}

TEST_F(ColourPanelTest, OnlyAClickClosesItAndTakesTheColour)
{
    panel.prepare(state);
    panel.show();
    panel.close();
    EXPECT_TRUE(panel.isVisible());
    panel.reject();
    EXPECT_TRUE(panel.isVisible());
    button(panel, "PaGreen")->click();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.chosenColour(), 32768u);
    EXPECT_FALSE(state.isOffered(32768));
    EXPECT_EQ(offeredCount(state), 9);

    for (int k = 0; k < 10; ++k) {
        ColourPanelState fresh;
        panel.prepare(fresh);
        button(panel, kSwatches[k])->click();
        EXPECT_EQ(panel.chosenColour(), kItemColours[k]) << kSwatches[k];
    }
}

TEST_F(ColourPanelTest, NothingOfferedOffersAllAgainInsteadOfLockingUp)
{
    for (uint32_t colour : kItemColours)
        state.take(colour);
    state.take(12345); // not an item colour: ignored
    EXPECT_EQ(offeredCount(state), 0);
    panel.prepare(state);
    EXPECT_EQ(offeredCount(state), 10);
    EXPECT_FALSE(button(panel, "paBlack")->isHidden());
}

TEST(WarningDialog, TheTextOfEachKind)
{
    ConfirmDialog warning;
    const char *const texts[] = {"",
                                 "定義関数および関連した表示式が削除されます",
                                 "定義定数および関連した表示式が削除されます",
                                 "表示式がすべて削除されます",
                                 "",
                                 "現在の表示式が削除されます",
                                 "定義式および関連した表示式が全て削除されます"};
    for (int kind = 1; kind <= 6; ++kind)
        EXPECT_EQ(ConfirmDialog::warningText(kind), QString::fromUtf8(texts[kind])) << kind;
    warning.prepare(WarnCurrentItem);
    EXPECT_EQ(warning.Text(), QString::fromUtf8(texts[5]));
}

TEST(WarningDialog, AnswersByButtonAndClosedWindowIsCancel)
{
    ConfirmDialog warning;
    QPushButton *yes = button(warning, "YesButton"), *no = button(warning, "NoButton");
    QTimer::singleShot(0, &warning, [yes] { yes->click(); });
    EXPECT_TRUE(warning.ask(WarnAllItems));
    QTimer::singleShot(0, &warning, [no] { no->click(); });
    EXPECT_FALSE(warning.ask(WarnAllItems));
    // After a "yes", closing the window without a button must not repeat it.
    QTimer::singleShot(0, &warning, [yes] { yes->click(); });
    EXPECT_TRUE(warning.ask(WarnFunctions));
    QTimer::singleShot(0, &warning, [&warning] { warning.close(); });
    EXPECT_FALSE(warning.ask(WarnFunctions));
}

TEST(DialogQuestions, AnswersWithTheRealDialogs)
{
    FormulaKeyboard keyboard;
    ColourPanel panel;
    ConfirmDialog warning;
    DialogQuestions questions(keyboard, panel, warning, nullptr);
    QTimer::singleShot(0, &keyboard, [&keyboard] {
        button(keyboard, "x")->click();
        button(keyboard, "syuu")->click();
    });
    EXPECT_EQ(questions.askKeyboard(KeyboardRequest{}), "x");
    ColourPanelState state;
    state.take(16711935);
    QTimer::singleShot(0, &panel, [&panel] { button(panel, "PaTeal")->click(); });
    EXPECT_EQ(questions.chooseColour(state), 8421376u);
    EXPECT_EQ(offeredCount(state), 8) << "the pick is taken from the offer";
    QTimer::singleShot(0, &warning, [&warning] { warning.close(); });
    EXPECT_FALSE(questions.confirm(WarnAllDefinitions));
}

TEST(DialogQuestions, UnsavedChangesAskSaveDontSaveOrCancel)
{
    FormulaKeyboard keyboard;
    ColourPanel panel;
    ConfirmDialog warning;
    DialogQuestions questions(keyboard, panel, warning, nullptr);
    // Presses a button of the question box once it is shown.
    const auto answerWith = [](const char *name) {
        QTimer::singleShot(0, [name] {
            QWidget *box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->objectName(), QStringLiteral("savechanges"));
            QStringList captions;
            for (const QPushButton *b : box->findChildren<QPushButton *>())
                captions << b->text();
            captions.sort();
            EXPECT_EQ(captions, QStringList({"保存", "保存しない", "取消し"}));
            if (name)
                box->findChild<QPushButton *>(QString::fromLatin1(name))->click();
            else
                box->close(); // the close box
        });
    };
    answerWith("save");
    EXPECT_EQ(questions.askSaveChanges(), SaveChangesAnswer::Save);
    answerWith("dontsave");
    EXPECT_EQ(questions.askSaveChanges(), SaveChangesAnswer::DontSave);
    answerWith("cancel");
    EXPECT_EQ(questions.askSaveChanges(), SaveChangesAnswer::Cancel);
    answerWith(nullptr);
    EXPECT_EQ(questions.askSaveChanges(), SaveChangesAnswer::Cancel);
    EXPECT_EQ(saveChangesText(), QStringLiteral("登録した式の変更が保存されていません。保存しますか？"));
}

} // namespace gq
