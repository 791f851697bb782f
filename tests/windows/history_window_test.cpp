// 編集 → 元に戻す / やり直し in the program's windows: the menu and its keys,
// the steps a teacher's actions make (a cascade of deletions, a drag, a
// held button), and the entries resting while another window or search
// mode has the graph.
#include "control/status_lines.h"
#include "windows/main_window.h"
#include "windows/parameter_window.h"
#include "windows/program_windows.h"
#include "windows/range_dialog.h"
#include "windows/timer_tick.h"
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

void mouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

class HistoryWindows : public ::testing::Test
{
  protected:
    HistoryWindows() : windows(graph) {}

    QAction *undo() const { return graph.menuAction(QStringLiteral("undo")); }
    QAction *redo() const { return graph.menuAction(QStringLiteral("redo")); }
    void addItem(const std::string &formula, uint32_t colour)
    {
        Item &item = graph.doc().items[++graph.doc().itemCount];
        item = {.kind = KindExplicit, .text = {"", formula}, .colour = colour};
    }
    // The colour of the graph where the curve of y = x + k passes at x = 1.
    uint32_t onLine(int k)
    {
        const GraphView &v = graph.renderer().view();
        return graph.visibleGraph().pixel(v.xToPixel(1), v.yToPixel(1 + k));
    }
    int steps() { return graph.controller().history().stepCount(); }

    MainWindow graph;
    ProgramWindows windows;
};
} // namespace

TEST_F(HistoryWindows, TheEditMenuFollowsFileWithKeysNoOtherMenuUses)
{
    const QList<QAction *> top = graph.menuBar()->actions();
    ASSERT_GE(top.size(), 2);
    EXPECT_EQ(top[0]->objectName(), QStringLiteral("File1"));
    EXPECT_EQ(top[1]->text(), QStringLiteral("編集(&U)"));
    QSet<QChar> mnemonics;
    for (const QAction *menu : top) {
        const qsizetype amp = menu->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << menu->text().toStdString();
        const QChar key = menu->text().at(amp + 1).toUpper();
        EXPECT_FALSE(mnemonics.contains(key)) << menu->text().toStdString();
        mnemonics.insert(key);
    }

    EXPECT_EQ(undo()->shortcuts(), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
    EXPECT_EQ(redo()->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    QSet<QKeySequence> keys;
    for (const QAction *action : graph.findChildren<QAction *>())
        for (const QKeySequence &key : action->shortcuts()) {
            EXPECT_FALSE(keys.contains(key)) << key.toString().toStdString();
            keys.insert(key);
        }

    EXPECT_EQ(undo()->text(), QStringLiteral("元に戻す"));
    EXPECT_FALSE(undo()->isEnabled());
    EXPECT_FALSE(redo()->isEnabled());
}

// A definition three items use, deleted in the correction window: one step
// that one 元に戻す takes back, with the graph, list and status lines.
TEST_F(HistoryWindows, ADeletedDefinitionComesBackWithTheItemsThatUseIt)
{
    graph.doc().functionCount = 1;
    graph.doc().functionTexts[1] = "x";
    addItem("F1(x)", kRed);
    addItem("F1(x)+1", kGreen);
    addItem("F1(x)+2", kBlue);
    addItem("a", rgbColour(0, 0, 128));
    graph.controller().refreshAfterLoad();
    graph.controller().history().startFrom();
    graph.showStandard();
    ASSERT_EQ(onLine(1), kGreen);
    const QString params = graph.paramLineText();

    QTimer::singleShot(0, &graph, [this] {
        auto *warning = graph.findChild<QDialog *>(QStringLiteral("warning"));
        QTimer::singleShot(0, warning,
                           [warning] { warning->findChild<QPushButton *>(QStringLiteral("YesButton"))->click(); });
        graph.findChild<QDialog *>(QStringLiteral("correctform"))
            ->findChild<QPushButton *>(QStringLiteral("DelButton"))
            ->click();
    });
    graph.menuAction(QStringLiteral("UFcorrect"))->trigger(); // 式定義 → 関数定義 → 訂正
    ASSERT_EQ(graph.doc().itemCount, 1);
    EXPECT_NE(onLine(1), kGreen);
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(undo()->text(), QStringLiteral("元に戻す: 削除"));
    ASSERT_TRUE(undo()->isEnabled());

    undo()->trigger();
    EXPECT_EQ(graph.doc().itemCount, 4);
    EXPECT_EQ(graph.doc().functionCount, 1);
    EXPECT_EQ(onLine(0), kRed);
    EXPECT_EQ(onLine(1), kGreen);
    EXPECT_EQ(onLine(2), kBlue);
    EXPECT_EQ(graph.paramLineText(), params);
    EXPECT_TRUE(graph.menuAction(QStringLiteral("UFcorrect"))->isVisible());
    EXPECT_EQ(redo()->text(), QStringLiteral("やり直し: 削除"));

    redo()->trigger();
    EXPECT_EQ(graph.doc().itemCount, 1);
    EXPECT_NE(onLine(1), kGreen);
    EXPECT_FALSE(redo()->isEnabled());
}

// A whole drag, a whole hold of a range button and of 描画: one step each.
TEST_F(HistoryWindows, WholeGesturesAreOneStepEach)
{
    addItem("a*x", kRed);
    graph.controller().refreshAfterLoad();
    graph.controller().history().startFrom();
    graph.show();
    auto *picture = graph.findChild<QWidget *>(QStringLiteral("graphpaint"));
    mouse(picture, QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    for (int x = 110; x <= 160; x += 10)
        mouse(picture, QEvent::MouseMove, QPoint(x, 120), Qt::NoButton, Qt::LeftButton);
    mouse(picture, QEvent::MouseButtonRelease, QPoint(160, 120), Qt::LeftButton, Qt::NoButton);
    const CoordFrame dragged = graph.doc().frame;
    ASSERT_FALSE(dragged == CoordFrame{});
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(undo()->text(), QStringLiteral("元に戻す: 移動"));

    auto *range = graph.findChild<RangeDialog *>(QStringLiteral("Hanichange"));
    auto *zoomIn = range->findChild<QPushButton *>(QStringLiteral("large"));
    emit zoomIn->pressed();
    for (int n = 0; n < 3; ++n)
        tick(range->stepTimer());
    emit zoomIn->released();
    EXPECT_EQ(steps(), 2);
    EXPECT_EQ(undo()->text(), QStringLiteral("元に戻す: 拡大"));

    auto *parameters = graph.findChild<ParameterWindow *>(QStringLiteral("ParaChange"));
    parameters->prepare(false);
    parameters->findChild<QPushButton *>(QStringLiteral("plus_a"))->click();
    auto *draw = parameters->findChild<QPushButton *>(QStringLiteral("contdraw"));
    emit draw->pressed();
    for (int n = 0; n < 24; ++n) // about a second at 40 ms
        tick(parameters->drawTimer());
    emit draw->released();
    ASSERT_NE(graph.doc().parameters['a'], 0.0f);
    EXPECT_EQ(steps(), 3);
    EXPECT_EQ(undo()->text(), QStringLiteral("元に戻す: ﾊﾟﾗﾒﾀ変更"));
    parameters->reject();
    EXPECT_EQ(steps(), 3) << "closing adds nothing";

    undo()->trigger();
    EXPECT_EQ(graph.doc().parameters['a'], 0.0f);
    EXPECT_FALSE(graph.paramLineText().contains(QStringLiteral("2.500")));
    undo()->trigger();
    EXPECT_EQ(graph.doc().frame, dragged);
    EXPECT_EQ(graph.rangeLineText(), rangeStatusText(dragged));
    undo()->trigger();
    EXPECT_EQ(graph.doc().frame, CoordFrame{});
    EXPECT_EQ(graph.rangeLineText(), rangeStatusText(CoordFrame{}));
    for (int n = 0; n < 3; ++n)
        redo()->trigger();
    EXPECT_NE(graph.doc().parameters['a'], 0.0f);
}

TEST_F(HistoryWindows, TheEntriesRestWhileSearchModeOrAToolWindowHasTheGraph)
{
    graph.show();
    graph.doc().frame.xmax = 9;
    graph.recordStep();
    ASSERT_TRUE(undo()->isEnabled());

    graph.enterSearchMode();
    EXPECT_FALSE(undo()->isEnabled());
    undo()->activate(QAction::Trigger); // the key would do nothing either
    graph.undoStep();
    EXPECT_EQ(graph.doc().frame.xmax, 9);
    graph.leaveSearchMode();
    EXPECT_TRUE(undo()->isEnabled());

    // The interval dialog stays open without blocking the window.
    graph.doc().itemCount = 1;
    graph.doc().items[1] = {.kind = KindExplicit, .text = {"", "x"}, .colour = kRed};
    windows.showIntervalDialog();
    emit graph.findChild<QMenu *>(QStringLiteral("edit"))->aboutToShow();
    EXPECT_FALSE(undo()->isEnabled());
    graph.undoStep();
    EXPECT_EQ(graph.doc().frame.xmax, 9);
}

} // namespace gq
