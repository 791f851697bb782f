// The range dialog: its controls, one step per click, repeats while held,
// typed bounds, the check boxes and the standard range, and its opening from
// the main window.
#include "control/scripted_questions.h"
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include "windows/range_dialog.h"
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
// One tick of the step timer, as the event loop delivers it.
void tick(QTimer &timer)
{
    QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
}

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

// The step buttons by name and the operation each one runs.
struct StepButton {
    const char *name;
    const char *caption;
    int code;
};
const StepButton kStepButtons[] = {
    {"Button1", "+", 1},   {"Button2", "-", 2},   {"Button3", "+", 3},  {"Button4", "-", 4},
    {"Button5", "+", 5},   {"Button6", "-", 6},   {"Button7", "+", 7},  {"Button8", "-", 8},
    {"lshift", "←", 9},    {"rshift", "→", 10},   {"upshift", "↑", 11}, {"downshift", "↓", 12},
    {"smale", "縮小", 13}, {"large", "拡大", 14},
};
} // namespace

TEST_F(RangeDialogTest, ControlsAndCaptions)
{
    EXPECT_EQ(dialog.objectName(), QStringLiteral("Hanichange"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("範囲変更"));
    const char *labels[] = {"xの下限", "xの上限", "yの下限", "yの上限", "移動"};
    for (int i = 0; i < 5; ++i) {
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("Label%1").arg(i + 1));
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->text(), QString::fromUtf8(labels[i]));
    }
    for (const StepButton &b : kStepButtons)
        EXPECT_EQ(button(b.name)->text(), QString::fromUtf8(b.caption)) << b.name;
    EXPECT_EQ(button("hyoujyun")->text(), QStringLiteral("標準"));
    EXPECT_EQ(button("Button9")->text(), QStringLiteral("終了(&E)"));
    EXPECT_EQ(box("kousi")->text(), QStringLiteral("格子表示"));
    EXPECT_EQ(box("gaji")->text(), QStringLiteral("目盛非表示"));
    EXPECT_EQ(panels(), (QStringList{"-5.0", "5.0", "-5.0", "5.0"})) << "spans of 10: one decimal";
    EXPECT_EQ(dialog.stepTimer().interval(), 50);
}

TEST_F(RangeDialogTest, AClickIsOneStepOfItsButtonThenARedraw)
{
    for (const StepButton &b : kStepButtons) {
        doc.frame = CoordFrame{};
        events.clear();
        button(b.name)->click();
        CoordFrame want;
        applyRangeStep(want, b.code);
        EXPECT_EQ(doc.frame, want) << b.name;
        EXPECT_EQ(events, (std::vector<std::string>{"redraw", "changed"})) << b.name;
        EXPECT_FALSE(dialog.stepTimer().isActive()) << b.name;
    }
    doc.frame = CoordFrame{};
    button("Button1")->click();
    EXPECT_EQ(panels(), (QStringList{"-4.50", "5.00", "-5.0", "5.0"})) << "x spans 9.5: two decimals";
    button("large")->click();
    EXPECT_EQ(doc.frame, (CoordFrame{-2.125, 2.625, -2.5, 2.5})) << "about the centre 0.25";
}

TEST_F(RangeDialogTest, HoldingRepeatsOnTheTimerUntilRelease)
{
    QPushButton *zoomIn = button("large");
    emit zoomIn->pressed();
    EXPECT_EQ(doc.frame.xmax, 2.5L) << "the press itself takes one step";
    EXPECT_TRUE(dialog.stepTimer().isActive());
    tick(dialog.stepTimer());
    tick(dialog.stepTimer());
    EXPECT_EQ(doc.frame.xmax, 0.625L);
    emit zoomIn->released();
    EXPECT_FALSE(dialog.stepTimer().isActive());
    tick(dialog.stepTimer());
    EXPECT_EQ(doc.frame.xmax, 0.625L) << "a tick already queued does nothing";

    // Held at the limit: the steps are refused, the graph is redrawn anyway.
    emit zoomIn->pressed();
    for (int i = 0; i < 10; ++i)
        tick(dialog.stepTimer());
    EXPECT_EQ(doc.frame.xmax - doc.frame.xmin, 10.0L / 128);
    events.clear();
    tick(dialog.stepTimer());
    EXPECT_EQ(events, (std::vector<std::string>{"redraw", "changed"}));

    // Closing the dialog while a button is held stops the repeats.
    dialog.show();
    dialog.hide();
    EXPECT_FALSE(dialog.stepTimer().isActive());
}

TEST_F(RangeDialogTest, TypedBoundsOnTheKeyboard)
{
    ask.keyboardAnswers = {"10000"};
    button("Panel2")->click();
    ASSERT_EQ(ask.keyboardRequests.size(), 1u);
    EXPECT_EQ(ask.keyboardRequests[0].caption, QStringLiteral("ｘの上限"));
    EXPECT_EQ(ask.keyboardRequests[0].layout, 2);
    EXPECT_EQ(doc.frame, CoordFrame{}) << "typed 10000 is refused";
    EXPECT_EQ(panels()[1], QStringLiteral("5.0"));
    EXPECT_EQ(events, (std::vector<std::string>{"redraw", "changed"})) << "redrawn anyway";

    ask.keyboardAnswers = {"-4.5"};
    button("Panel2")->click();
    EXPECT_EQ(doc.frame.xmax, -4.5L);
    EXPECT_EQ(panels(), (QStringList{"-5.000", "-4.500", "-5.0", "5.0"})) << "x spans 0.5 now";

    ask.keyboardAnswers = {"-4"};
    button("Panel1")->click();
    EXPECT_EQ(doc.frame.xmin, -5.0L) << "xmin not below xmax";
    ask.keyboardAnswers = {"60"};
    button("Panel4")->click();
    EXPECT_EQ(ask.keyboardRequests.back().caption, QStringLiteral("ｙの上限"));
    EXPECT_EQ(panels(), (QStringList{"-5.000", "-4.500", "-5.0", "60.0"}));
    ask.keyboardAnswers = {"-1"};
    button("Panel3")->click();
    EXPECT_EQ(ask.keyboardRequests.back().caption, QStringLiteral("ｙの下限"));
    EXPECT_EQ(doc.frame.ymin, -1.0L);
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
