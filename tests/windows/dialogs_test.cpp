// The colour panel, the confirmation dialog and the dialog-backed questions.
#include "windows/colour_panel.h"
#include "windows/dialog_questions.h"
#include "windows/keyboard.h"
#include "windows/warning_dialog.h"
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
// In the order of kItemColours.
const char *const kSwatches[10] = {"paBlack",  "paBlue",  "paNavy", "PaTeal",    "PaOlive",
                                   "pamaroon", "PaGreen", "PaRed",  "PaFuchsia", "PaPurple"};

QPushButton *Button(QDialog &dialog, const char *name)
{
    auto *button = dialog.findChild<QPushButton *>(QString::fromLatin1(name));
    EXPECT_NE(button, nullptr) << name;
    return button;
}

int OfferedCount(const ColourPanelState &state)
{
    return static_cast<int>(std::count(state.offered.begin(), state.offered.end(), true));
}

class ColourPanel : public ::testing::Test
{
  protected:
    Tclpanel panel;
    ColourPanelState state;
};
} // namespace

TEST_F(ColourPanel, ShowsOnlyOfferedSwatchesInTheirColours)
{
    EXPECT_EQ(panel.objectName(), QStringLiteral("clpanel"));
    EXPECT_EQ(panel.windowTitle(), QString::fromUtf8("色の設定"));
    state.Take(255);
    state.Take(0);
    panel.Prepare(state);
    for (const char *name : kSwatches)
        EXPECT_EQ(Button(panel, name)->isHidden(), name == kSwatches[0] || name == kSwatches[7]) << name;
    EXPECT_EQ(panel.ChosenColor(), kNoColourChosen);
    // Stored values are 0x00BBGGRR: 16711680 is blue, 32896 olive.
    EXPECT_EQ(Button(panel, "paBlue")->grab().toImage().pixelColor(15, 15), QColor(0, 0, 255));
    EXPECT_EQ(Button(panel, "PaOlive")->grab().toImage().pixelColor(15, 15), QColor(128, 128, 0));
}

TEST_F(ColourPanel, OnlyAClickClosesItAndTakesTheColour)
{
    panel.Prepare(state);
    panel.show();
    panel.close();
    EXPECT_TRUE(panel.isVisible());
    panel.reject();
    EXPECT_TRUE(panel.isVisible());
    Button(panel, "PaGreen")->click();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.ChosenColor(), 32768u);
    EXPECT_FALSE(state.IsOffered(32768));
    EXPECT_EQ(OfferedCount(state), 9);

    for (int k = 0; k < 10; ++k) {
        ColourPanelState fresh;
        panel.Prepare(fresh);
        Button(panel, kSwatches[k])->click();
        EXPECT_EQ(panel.ChosenColor(), kItemColours[k]) << kSwatches[k];
    }
}

TEST_F(ColourPanel, NothingOfferedOffersAllAgainInsteadOfLockingUp)
{
    for (uint32_t colour : kItemColours)
        state.Take(colour);
    state.Take(12345); // not an item colour: ignored
    EXPECT_EQ(OfferedCount(state), 0);
    panel.Prepare(state);
    EXPECT_EQ(OfferedCount(state), 10);
    EXPECT_FALSE(Button(panel, "paBlack")->isHidden());
}

TEST_F(ColourPanel, ModalChooseReturnsThePick)
{
    state.Take(16711935);
    QTimer::singleShot(0, &panel, [this] { Button(panel, "paNavy")->click(); });
    EXPECT_EQ(panel.Choose(state), 8388608u);
    EXPECT_FALSE(state.IsOffered(8388608));
    EXPECT_FALSE(state.IsOffered(16711935));
    EXPECT_EQ(OfferedCount(state), 8);
}

TEST(WarningDialog, TextsCaptionAndButtons)
{
    Twarning warning;
    EXPECT_EQ(warning.objectName(), QStringLiteral("warning"));
    EXPECT_EQ(warning.windowTitle(), QStringLiteral("warning"));
    const char *const texts[] = {"",
                                 "定義関数および関連した表示式が削除されます",
                                 "定義定数および関連した表示式が削除されます",
                                 "表示式がすべて削除されます",
                                 "",
                                 "現在の表示式が削除されます",
                                 "定義式および関連した表示式が全て削除されます"};
    for (int kind = 1; kind <= 6; ++kind)
        EXPECT_EQ(Twarning::WarningText(kind), QString::fromUtf8(texts[kind])) << kind;
    warning.Prepare(WarnCurrentItem);
    EXPECT_EQ(warning.Text(), QString::fromUtf8(texts[5]));
    EXPECT_EQ(Button(warning, "YesButton")->text(), QString::fromUtf8("了解 (&Y)"));
    EXPECT_EQ(Button(warning, "NoButton")->text(), QString::fromUtf8("取消し (&N)"));
}

TEST(WarningDialog, AnswersByButtonAndClosedWindowIsCancel)
{
    Twarning warning;
    QPushButton *yes = Button(warning, "YesButton"), *no = Button(warning, "NoButton");
    QTimer::singleShot(0, &warning, [yes] { yes->click(); });
    EXPECT_TRUE(warning.Ask(WarnAllItems));
    QTimer::singleShot(0, &warning, [no] { no->click(); });
    EXPECT_FALSE(warning.Ask(WarnAllItems));
    // After a "yes", closing the window without a button must not repeat it.
    QTimer::singleShot(0, &warning, [yes] { yes->click(); });
    EXPECT_TRUE(warning.Ask(WarnFunctions));
    QTimer::singleShot(0, &warning, [&warning] { warning.close(); });
    EXPECT_FALSE(warning.Ask(WarnFunctions));
}

TEST(DialogQuestions, AnswersWithTheRealDialogs)
{
    Tkeyfunc keyboard;
    Tclpanel panel;
    Twarning warning;
    DialogQuestions questions(keyboard, panel, warning, nullptr);
    QTimer::singleShot(0, &keyboard, [&keyboard] {
        Button(keyboard, "x")->click();
        Button(keyboard, "syuu")->click();
    });
    EXPECT_EQ(questions.AskKeyboard(KeyboardRequest{}), "x");
    ColourPanelState state;
    QTimer::singleShot(0, &panel, [&panel] { Button(panel, "PaTeal")->click(); });
    EXPECT_EQ(questions.ChooseColour(state), 8421376u);
    QTimer::singleShot(0, &warning, [&warning] { warning.close(); });
    EXPECT_FALSE(questions.Confirm(WarnAllDefinitions));
}
