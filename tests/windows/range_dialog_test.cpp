// The range dialog's wiring: each button runs its step and redraws, repeats
// while held, typed bounds, the check boxes and the standard range, and its
// opening from the main window. The arithmetic is the range-step tests'.
#include "control/scripted_questions.h"
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include "windows/range_dialog.h"
#include "windows/timer_tick.h"
#include <QCheckBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
class RangeDialogTest : public ::testing::Test
{
  protected:
    RangeDialogTest() : dialog(doc, ask, [this] { events.push_back("redraw"); })
    {
        QObject::connect(&dialog, &RangeDialog::rangeChanged, [this] { events.push_back("changed"); });
    }
    QPushButton *button(const char *name)
    {
        auto *b = dialog.findChild<QPushButton *>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    QCheckBox *box(const char *name) { return dialog.findChild<QCheckBox *>(QString::fromLatin1(name)); }
    QStringList panels() const
    {
        return {dialog.panelText(1), dialog.panelText(2), dialog.panelText(3), dialog.panelText(4)};
    }

    Document doc;
    ScriptedQuestions ask;
    std::vector<std::string> events;
    RangeDialog dialog;
};
} // namespace

TEST_F(RangeDialogTest, AClickIsOneStepOfItsButtonThenARedraw)
{
    EXPECT_EQ(panels(), (QStringList{"-5.0", "5.0", "-5.0", "5.0"}));
    const char *const buttons[] = {"Button1", "Button2",   "Button3", "Button4", "Button5",
                                   "Button6", "Button7",   "Button8", "lshift",  "rshift",
                                   "upshift", "downshift", "smale",   "large"};
    for (int code = 1; code <= 14; ++code) {
        const char *name = buttons[code - 1];
        doc.frame = CoordFrame{};
        events.clear();
        button(name)->click();
        CoordFrame want;
        applyRangeStep(want, code);
        EXPECT_EQ(doc.frame, want) << name;
        EXPECT_EQ(events, (std::vector<std::string>{"redraw", "changed"})) << name;
        EXPECT_FALSE(dialog.stepTimer().isActive()) << name;
    }
    EXPECT_EQ(panels(), (QStringList{"-2.50", "2.50", "-2.50", "2.50"})) << "the panels follow";
}

TEST_F(RangeDialogTest, ClosingWhileAButtonIsHeldStopsTheRepeats)
{
    QPushButton *zoomIn = button("large");
    emit zoomIn->pressed();
    EXPECT_EQ(doc.frame.xmax, 2.5L) << "the press itself takes one step";
    dialog.show();
    dialog.hide();
    EXPECT_FALSE(dialog.stepTimer().isActive());
    tick(dialog.stepTimer());
    EXPECT_EQ(doc.frame.xmax, 2.5L) << "a tick already queued does nothing";
}

TEST_F(RangeDialogTest, EachPanelAsksForItsBoundAndShowsTheAnswer)
{
    const struct {
        const char *panel, *answer;
        CoordFrame want;
    } cases[] = {{"Panel1", "-4", CoordFrame{-4, 5, -5, 5}},
                 {"Panel2", "4.5", CoordFrame{-5, 4.5, -5, 5}},
                 {"Panel3", "-1", CoordFrame{-5, 5, -1, 5}},
                 {"Panel4", "60", CoordFrame{-5, 5, -5, 60}}};
    for (int i = 0; i < 4; ++i) {
        doc.frame = CoordFrame{};
        ask.keyboardAnswers = {cases[i].answer};
        button(cases[i].panel)->click();
        EXPECT_EQ(ask.keyboardRequests.back().caption, boundPrompt(static_cast<RangeBound>(i)));
        EXPECT_EQ(doc.frame, cases[i].want) << cases[i].panel;
        EXPECT_EQ(panels()[i].toDouble(), QString::fromLatin1(cases[i].answer).toDouble());
    }

    // A refused bound still redraws the unchanged frame.
    events.clear();
    ask.keyboardAnswers = {"10000"};
    button("Panel2")->click();
    EXPECT_EQ(doc.frame, (CoordFrame{-5, 5, -5, 60}));
    EXPECT_EQ(events, (std::vector<std::string>{"redraw", "changed"}));
}

TEST_F(RangeDialogTest, CheckBoxesAndTheStandardRange)
{
    box("kousi")->click();
    EXPECT_EQ(doc.showGrid, 1);
    box("gaji")->click();
    EXPECT_EQ(doc.showScale, 0);
    box("kousi")->click();
    box("gaji")->click();
    EXPECT_EQ(doc.showGrid, 0);
    EXPECT_EQ(doc.showScale, 1);
    EXPECT_EQ(events.size(), 8u) << "each change redraws";

    doc.frame = CoordFrame{-100, 300, 2, 3};
    button("hyoujyun")->click();
    EXPECT_EQ(doc.frame, CoordFrame{});
    EXPECT_EQ(panels(), (QStringList{"-5.0", "5.0", "-5.0", "5.0"}));

    // Opening shows the flags as they are now.
    doc.showGrid = 1;
    doc.showScale = 0;
    dialog.show();
    EXPECT_TRUE(box("kousi")->isChecked());
    EXPECT_TRUE(box("gaji")->isChecked());
    dialog.hide();
}

TEST(RangeDialogInProgram, OpenedFromTheMainWindowRedrawsTheGraphAndTheRangeLine)
{
    MainWindow graph;
    ProgramWindows windows(graph);
    auto *dialog = graph.findChild<RangeDialog *>(QStringLiteral("Hanichange"));
    ASSERT_NE(dialog, nullptr);
    int changes = 0;
    QObject::connect(dialog, &RangeDialog::rangeChanged, [&] { ++changes; });

    // Zoom in twice and leave with "終了" while the dialog is open.
    QTimer::singleShot(0, dialog, [dialog] {
        dialog->findChild<QPushButton *>(QStringLiteral("large"))->click();
        dialog->findChild<QPushButton *>(QStringLiteral("large"))->click();
        dialog->findChild<QPushButton *>(QStringLiteral("Button9"))->click();
    });
    graph.doc().overlayMode = 1;
    graph.changeRange();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(graph.doc().overlayMode, 0);
    EXPECT_EQ(graph.doc().frame, (CoordFrame{-1.25, 1.25, -1.25, 1.25}));
    EXPECT_EQ(graph.rangeLineText(),
              QStringLiteral("x座標:  -1.250 ≦ｘ≦ 1.250        y座標:  -1.250≦ y ≦1.250"));
    EXPECT_EQ(graph.renderer().view().frame(), graph.doc().frame) << "the graph was redrawn";
}

} // namespace gq
