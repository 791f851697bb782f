// The program's windows as start-up creates them.
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include <QDialog>
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

    // The interval dialog is shown without blocking.
    windows.showIntervalDialog();
    auto *interval = graph.findChild<QDialog *>(QStringLiteral("kukansettei"));
    ASSERT_NE(interval, nullptr);
    EXPECT_TRUE(interval->isVisible());
    EXPECT_FALSE(interval->isModal());
    interval->hide();
}

} // namespace gq
