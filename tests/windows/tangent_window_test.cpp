// The tangent window's wiring: the arrows, the automatic run on the window's
// timer, the trace box and what closing leaves behind. The run's steps and
// the drawing are the tangent tools' tests.
#include "common/canvas_count.h"
#include "tools/derivative_colours.h"
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include "windows/tangent_window.h"
#include "windows/timer_tick.h"
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
class TangentWindowTest : public ::testing::Test
{
  protected:
    TangentWindowTest()
    {
        Document &doc = graph.doc();
        doc.itemCount = 1;
        doc.items[1].kind = KindExplicit;
        doc.items[1].text[1] = "sin(x)";
        doc.items[1].colour = rgbColour(0, 128, 0);
        graph.updateMenus();
        graph.redrawGraph();
    }
    QPushButton *button(const char *name)
    {
        return window.findChild<QPushButton *>(QString::fromLatin1(name));
    }
    QString text(const char *name) { return window.findChild<QLabel *>(QString::fromLatin1(name))->text(); }
    QColor buttonText(const char *name) { return button(name)->palette().color(QPalette::ButtonText); }
    const Canvas &visible() { return graph.visibleGraph(); }
    const GraphView &view() { return graph.renderer().view(); }
    // P's pixel on the visible graph is blue, or its dot is just beside it.
    bool pointShownAt(long double x, long double y)
    {
        const int px = view().xToPixel(x), py = view().yToPixel(y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (visible().pixel(px + dx, py + dy) == kContactPointColour)
                    return true;
        return false;
    }

    MainWindow graph;
    TangentWindow window{graph};
};
} // namespace

TEST_F(TangentWindowTest, ArrowsMovePTurnTheirTextRedAndSetTheRunsDirection)
{
    ASSERT_TRUE(window.prepare());
    EXPECT_TRUE(pointShownAt(-5, std::sin(-5.0L))) << "P is shown at once";
    EXPECT_EQ(buttonText("Aright"), QColor(Qt::red)) << "start goes right";
    button("Aright")->click();
    const long double x = -5 + view().xPerPixel();
    EXPECT_EQ(window.tangentRun().x(), x);
    EXPECT_EQ(buttonText("Aright"), QColor(Qt::red));
    EXPECT_EQ(buttonText("Aleft"), QColor(Qt::black));
    const double xd = static_cast<double>(x);
    EXPECT_EQ(text("psescoodinate"), QString::asprintf("(%.4f , %.4f)", xd, std::sin(xd)));
    EXPECT_EQ(text("psesvalue"), QString::asprintf("%.4f", std::cos(xd)));
    EXPECT_TRUE(pointShownAt(x, std::sin(x)));

    button("Aleft")->click();
    EXPECT_EQ(buttonText("Aleft"), QColor(Qt::red));
    EXPECT_EQ(buttonText("Aright"), QColor(Qt::black));
    EXPECT_EQ(window.tangentRun().x(), -5);
    // At the edge: held there, and a run started now ends at once.
    button("start")->click();
    EXPECT_TRUE(window.timer().isActive());
    button("Aleft")->click();
    EXPECT_EQ(window.tangentRun().x(), -5);
    EXPECT_FALSE(window.timer().isActive());
}

TEST_F(TangentWindowTest, TheRunWithTheTraceLeavesTheSlopeOnTheGraphUntilUnticked)
{
    ASSERT_TRUE(window.prepare());
    button("Aright")->click();
    auto *trace = window.findChild<QCheckBox *>(QStringLiteral("zancheck"));
    trace->click();
    ASSERT_TRUE(trace->isChecked());
    button("start")->click();
    ASSERT_TRUE(window.timer().isActive());
    EXPECT_EQ(window.timer().interval(), 10);
    for (int n = 0; n < 320; ++n)
        tick(window.timer());
    EXPECT_TRUE(window.timer().isActive());
    button("stop")->click();
    EXPECT_FALSE(window.timer().isActive());
    const long double x = window.tangentRun().x();
    EXPECT_NEAR(static_cast<double>(x), -5 + 321 * 10.0 / graph.graphSize(), 1e-9) << "a pixel a tick";
    EXPECT_TRUE(pointShownAt(x, std::sin(x)));
    // cos(x) in rose on the stored graph, up to P, and shown.
    const Canvas &stored = graph.renderer().graphImage();
    EXPECT_EQ(stored.pixel(view().xToPixel(-2), view().yToPixel(std::cos(-2.0L))), kSlopeTraceColour);
    EXPECT_GT(countColour(visible(), kSlopeTraceColour), graph.graphSize() / 3);

    // Running on to the edge ends the run and stops the timer.
    button("start")->click();
    for (int n = 0; n < graph.graphSize() && window.timer().isActive(); ++n)
        tick(window.timer());
    EXPECT_FALSE(window.timer().isActive());
    EXPECT_EQ(window.tangentRun().x(), 5);

    // Unticking redraws the graph without the trace; P is shown again.
    trace->click();
    EXPECT_EQ(countColour(graph.renderer().graphImage(), kSlopeTraceColour), 0);
    EXPECT_EQ(countColour(visible(), kSlopeTraceColour), 0);
    EXPECT_TRUE(pointShownAt(5, std::sin(5.0L)));
}

TEST_F(TangentWindowTest, TheCalculusMenuOpensItModallyWithItsCaption)
{
    window.setObjectName(QStringLiteral("another"));
    ProgramWindows windows(graph);
    auto *dialog = graph.findChild<TangentWindow *>(QStringLiteral("dtangent"));
    ASSERT_NE(dialog, nullptr);
    bool shown = false;
    QTimer::singleShot(0, dialog, [&] {
        shown = dialog->isVisible() && dialog->isModal();
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("接線の傾きの変化"));
        dialog->findChild<QPushButton *>(QStringLiteral("Aright"))->click();
        dialog->close();
    });
    graph.menuAction(QStringLiteral("K6"))->trigger();
    EXPECT_TRUE(shown);
}

} // namespace gq
