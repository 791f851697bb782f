// The program's windows as start-up creates them.
#include "windows/interval_dialog.h"
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace gq
{

TEST(ProgramWindows, CreatedOnceInTheirOrderAndLinkedToTheMainWindow)
{
    MainWindow graph;
    ProgramWindows windows(graph);
    QStringList names;
    for (const QDialog *d : graph.findChildren<QDialog *>(QString(), Qt::FindDirectChildrenOnly))
        names << d->objectName();
    EXPECT_EQ(names, (QStringList{"AboutBox1", "keyfunc", "Hanichange", "ParaChange", "clpanel", "PMove",
                                  "dtangent", "kukansettei", "integnavi", "correctform", "warning"}));

    // The interval dialog is shown without blocking, every opening with the
    // step 0.1.
    auto *interval = graph.findChild<IntervalDialog *>(QStringLiteral("kukansettei"));
    ASSERT_NE(interval, nullptr);
    for (int opening = 0; opening < 2; ++opening) {
        windows.showIntervalDialog();
        EXPECT_TRUE(interval->isVisible());
        EXPECT_FALSE(interval->isModal());
        EXPECT_EQ(interval->stepValue(), 0.1L);
        interval->selectStep(0);
        interval->hide();
    }
}

// Deleting an item in the correction window redraws the graph when the
// window closes: the picture never shows an item that is gone.
TEST(ProgramWindows, ADeletionIsRedrawnAtOnce)
{
    MainWindow graph;
    ProgramWindows windows(graph);
    graph.doc().itemCount = 1;
    graph.doc().items[1] = {.kind = KindExplicit, .text = {"", "1"}, .colour = 255};
    graph.updateMenus();
    graph.showStandard();
    const GraphView &view = graph.renderer().view();
    const int px = view.xToPixel(2), py = view.yToPixel(1);
    ASSERT_EQ(graph.visibleGraph().pixel(px, py), 255u);

    // 削除, then 了解 in the confirmation; the last item gone closes the window.
    QTimer::singleShot(0, &graph, [&graph] {
        auto *correction = graph.findChild<QDialog *>(QStringLiteral("correctform"));
        auto *warning = graph.findChild<QDialog *>(QStringLiteral("warning"));
        ASSERT_TRUE(correction && warning && correction->isVisible());
        QTimer::singleShot(0, warning, [warning] {
            warning->findChild<QPushButton *>(QStringLiteral("YesButton"))->click();
        });
        correction->findChild<QPushButton *>(QStringLiteral("DelButton"))->click();
    });
    graph.correctItems();
    EXPECT_EQ(graph.doc().itemCount, 0);
    EXPECT_NE(graph.visibleGraph().pixel(px, py), 255u);
}

} // namespace gq
