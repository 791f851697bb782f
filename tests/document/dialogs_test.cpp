// The colour panel, the confirmation dialog and the dialog-backed questions.
#include "document/colour_panel.h"
#include "document/dialog_questions.h"
#include "document/keyboard.h"
#include "document/warning_dialog.h"
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
const char *const kSwatches[10] = {"paBlack",  "paBlue",  "paNavy", "PaTeal",    "PaOlive",
                                   "pamaroon", "PaGreen", "PaRed",  "PaFuchsia", "PaPurple"};

QPushButton *Swatch(Tclpanel &panel, const char *name)
{
    auto *swatch = panel.findChild<QPushButton *>(QString::fromLatin1(name));
    EXPECT_NE(swatch, nullptr) << name;
    return swatch;
}

int OfferedCount(const ColourPanelState &state)
{
    return static_cast<int>(std::count(state.offered.begin(), state.offered.end(), true));
}
} // namespace

TEST(ColourPanelState, ResetTakeAndRelease)
{
    ColourPanelState state;
    for (uint32_t colour : kItemColours)
        state.Take(colour);
    EXPECT_EQ(OfferedCount(state), 0);
    state.Release(255);
    EXPECT_TRUE(state.IsOffered(255));
    EXPECT_EQ(OfferedCount(state), 1);
    state.Reset();
    EXPECT_EQ(OfferedCount(state), 10);
    state.Take(12345); // not an item colour
    EXPECT_EQ(OfferedCount(state), 10);
}

TEST(ColourPanel, ShowsOnlyOfferedSwatches)
{
    Tclpanel panel;
    EXPECT_EQ(panel.objectName(), QStringLiteral("clpanel"));
    EXPECT_EQ(panel.windowTitle(), QString::fromUtf8("色の設定"));
    ColourPanelState state;
    panel.Prepare(state);
    for (const char *name : kSwatches)
        EXPECT_FALSE(Swatch(panel, name)->isHidden()) << name;

    state.Take(255);
    state.Take(0);
    panel.Prepare(state);
    EXPECT_TRUE(Swatch(panel, "PaRed")->isHidden());
    EXPECT_TRUE(Swatch(panel, "paBlack")->isHidden());
    EXPECT_FALSE(Swatch(panel, "PaGreen")->isHidden());
    EXPECT_EQ(panel.ChosenColor(), kNoColourChosen);
}

TEST(ColourPanel, SwatchesShowTheirColours)
{
    Tclpanel panel;
    ColourPanelState state;
    panel.Prepare(state);
    // Stored values are 0x00BBGGRR: 255 is red, 16711680 blue, 32896 olive.
    EXPECT_EQ(Swatch(panel, "PaRed")->grab().toImage().pixelColor(15, 15), QColor(255, 0, 0));
    EXPECT_EQ(Swatch(panel, "paBlue")->grab().toImage().pixelColor(15, 15), QColor(0, 0, 255));
    EXPECT_EQ(Swatch(panel, "PaOlive")->grab().toImage().pixelColor(15, 15), QColor(128, 128, 0));
}

TEST(ColourPanel, ClickPicksAndTakesTheColour)
{
    Tclpanel panel;
    ColourPanelState state;
    panel.Prepare(state);
    panel.show();
    Swatch(panel, "PaGreen")->click();
    EXPECT_EQ(panel.ChosenColor(), 32768u);
    EXPECT_FALSE(state.IsOffered(32768));
    EXPECT_EQ(OfferedCount(state), 9);
    EXPECT_FALSE(panel.isVisible());
}

TEST(ColourPanel, RefusesToCloseWithoutAChoice)
{
    Tclpanel panel;
    ColourPanelState state;
    panel.Prepare(state);
    panel.show();
    panel.close();
    EXPECT_TRUE(panel.isVisible());
    panel.reject();
    EXPECT_TRUE(panel.isVisible());
    Swatch(panel, "PaPurple")->click();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.ChosenColor(), 8388736u);
}

TEST(ColourPanel, NothingOfferedOffersAllAgainInsteadOfLockingUp)
{
    Tclpanel panel;
    ColourPanelState state;
    for (uint32_t colour : kItemColours)
        state.Take(colour);
    panel.Prepare(state);
    EXPECT_EQ(OfferedCount(state), 10);
    EXPECT_FALSE(Swatch(panel, "paBlack")->isHidden());
}

TEST(ColourPanel, ModalChooseReturnsThePick)
{
    Tclpanel panel;
    ColourPanelState state;
    state.Take(16711935);
    QTimer::singleShot(0, &panel, [&panel] { Swatch(panel, "paNavy")->click(); });
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
    EXPECT_EQ(Twarning::WarningText(1), QString::fromUtf8("定義関数および関連した表示式が削除されます"));
    EXPECT_EQ(Twarning::WarningText(2), QString::fromUtf8("定義定数および関連した表示式が削除されます"));
    EXPECT_EQ(Twarning::WarningText(3), QString::fromUtf8("表示式がすべて削除されます"));
    EXPECT_EQ(Twarning::WarningText(5), QString::fromUtf8("現在の表示式が削除されます"));
    EXPECT_EQ(Twarning::WarningText(6), QString::fromUtf8("定義式および関連した表示式が全て削除されます"));
    EXPECT_EQ(Twarning::WarningText(4), QString());
    warning.Prepare(WarnCurrentItem);
    EXPECT_EQ(warning.Text(), QString::fromUtf8("現在の表示式が削除されます"));
    EXPECT_EQ(warning.findChild<QPushButton *>(QStringLiteral("YesButton"))->text(),
              QString::fromUtf8("了解 (&Y)"));
    EXPECT_EQ(warning.findChild<QPushButton *>(QStringLiteral("NoButton"))->text(),
              QString::fromUtf8("取消し (&N)"));
}

TEST(WarningDialog, AnswersByButtonAndClosedWindowIsCancel)
{
    Twarning warning;
    auto *yes = warning.findChild<QPushButton *>(QStringLiteral("YesButton"));
    auto *no = warning.findChild<QPushButton *>(QStringLiteral("NoButton"));
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
        keyboard.findChild<QPushButton *>(QStringLiteral("x"))->click();
        keyboard.findChild<QPushButton *>(QStringLiteral("syuu"))->click();
    });
    EXPECT_EQ(questions.AskKeyboard(KeyboardRequest{}), "x");

    ColourPanelState state;
    QTimer::singleShot(0, &panel, [&panel] { Swatch(panel, "PaTeal")->click(); });
    EXPECT_EQ(questions.ChooseColour(state), 8421376u);

    QTimer::singleShot(0, &warning, [&warning] { warning.close(); });
    EXPECT_FALSE(questions.Confirm(WarnAllDefinitions));
}
