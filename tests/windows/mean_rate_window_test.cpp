// The mean-rate window's wiring: the questions for A and B, the read-outs,
// the arrows, B's approach on the window's timer and the zoom about A. The
// values, steps and drawing are the mean-rate tools' tests.
#include "common/canvas_count.h"
#include "control/scripted_questions.h"
#include "control/status_lines.h"
#include "tools/derivative_colours.h"
#include "windows/main_window.h"
#include "windows/mean_rate_window.h"
#include "windows/program_windows.h"
#include "windows/timer_tick.h"
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
class MeanRateWindowTest : public ::testing::Test
{
  protected:
    void setFunction(const char *f)
    {
        Document &doc = graph.doc();
        doc.itemCount = 1;
        doc.items[1].kind = KindExplicit;
        doc.items[1].text[1] = f;
        graph.updateMenus();
        graph.redrawGraph();
    }
    QPushButton *button(const char *name)
    {
        return window.findChild<QPushButton *>(QString::fromLatin1(name));
    }
    bool near(long double x, long double y, uint32_t colour)
    {
        const GraphView &v = graph.renderer().view();
        return colourNear(graph.visibleGraph(), v.xToPixel(x), v.yToPixel(y), colour);
    }

    ScriptedQuestions ask;
    MainWindow graph;
    MeanRateWindow window{graph, ask};
};
} // namespace

TEST_F(MeanRateWindowTest, AsksForAAndBThenShowsTheSecantAndTheReadouts)
{
    setFunction("x^2");
    ask.keyboardAnswers = {"1", "3"};
    ASSERT_TRUE(window.prepare());
    ASSERT_EQ(ask.keyboardRequests.size(), 2u);
    EXPECT_EQ(ask.keyboardRequests[0].caption, QStringLiteral("点Ａのｘ座標の入力"));
    EXPECT_EQ(ask.keyboardRequests[1].caption, QStringLiteral("点Ｂのｘ座標の入力"));
    EXPECT_EQ(ask.keyboardRequests[0].layout, 2);
    EXPECT_FALSE(window.timer().isActive());

    // Each read-out in its own label.
    EXPECT_EQ(window.readout("Acoodinate"), QStringLiteral("(1.00000 , 1.00000)"));
    EXPECT_EQ(window.readout("Bcoodinate"), QStringLiteral("(3.00000 , 9.00000)"));
    EXPECT_EQ(window.readout("yvalue"), QStringLiteral("8.00000"));
    EXPECT_EQ(window.readout("xvalue"), QStringLiteral("2.00000"));
    EXPECT_EQ(window.readout("heilabel"), QStringLiteral("4.0000"));
    // The secant y = 4x - 3 and A on the visible graph.
    EXPECT_TRUE(near(1, 1, kPointAColour));
    EXPECT_TRUE(near(0, -3, kSecantColour));
}

TEST_F(MeanRateWindowTest, ARejectedValueIsAskedAgainWithAMessage)
{
    setFunction("1/x");
    ask.keyboardAnswers = {"0", "-1", "2"};
    ASSERT_TRUE(window.prepare());
    ASSERT_EQ(ask.keyboardRequests.size(), 3u);
    EXPECT_TRUE(ask.keyboardRequests[0].message.isEmpty());
    EXPECT_EQ(ask.keyboardRequests[1].caption, QStringLiteral("点Ａのｘ座標の入力"));
    EXPECT_EQ(ask.keyboardRequests[1].message, QStringLiteral("違う値を入力してください"));
    EXPECT_TRUE(ask.keyboardRequests[2].message.isEmpty());
    window.done(0);

    // Cancelled where 0 is refused: the window does not open.
    ask.keyboardAnswers = {""};
    EXPECT_FALSE(window.prepare());
}

TEST_F(MeanRateWindowTest, StartBringsBToAOnTheTimer)
{
    setFunction("x^2");
    ask.keyboardAnswers = {"1", "3"};
    ASSERT_TRUE(window.prepare());
    button("limit")->click();
    ASSERT_TRUE(window.timer().isActive());
    EXPECT_EQ(window.timer().interval(), 10);
    tick(window.timer());
    EXPECT_EQ(window.readout("Bcoodinate").left(9), QStringLiteral("(2.90000 "));
    button("stop")->click();
    EXPECT_FALSE(window.timer().isActive());
    // Started again, the timer stops by itself once B has come to A.
    button("limit")->click();
    for (int ticks = 0; window.timer().isActive() && ticks < 1000; ++ticks)
        tick(window.timer());
    EXPECT_FALSE(window.timer().isActive());
    EXPECT_EQ(window.readout("heilabel"), QStringLiteral("2.0001"));
}

TEST_F(MeanRateWindowTest, EachArrowMovesItsPointAndTheReadoutsFollow)
{
    setFunction("x^2");
    ask.keyboardAnswers = {"0", "0.5"};
    ASSERT_TRUE(window.prepare());
    const struct {
        const char *arrow;
        int a, b; // the direction each point moved
    } arrows[] = {{"ARight", 1, 0}, {"ALeft", -1, 0}, {"BRight", 0, 1}, {"BLeft", 0, -1}};
    for (const auto &c : arrows) {
        const long double a = window.meanRate().ax(), b = window.meanRate().bx();
        const QString shown = window.readout(c.b ? "Bcoodinate" : "Acoodinate");
        button(c.arrow)->click();
        EXPECT_EQ((window.meanRate().ax() > a) - (window.meanRate().ax() < a), c.a) << c.arrow;
        EXPECT_EQ((window.meanRate().bx() > b) - (window.meanRate().bx() < b), c.b) << c.arrow;
        EXPECT_NE(window.readout(c.b ? "Bcoodinate" : "Acoodinate"), shown) << c.arrow;
    }
}

TEST_F(MeanRateWindowTest, ZoomAboutAAndRestore)
{
    setFunction("x^2");
    ask.keyboardAnswers = {"1", "3"};
    ASSERT_TRUE(window.prepare());
    button("large")->click();
    EXPECT_EQ(graph.doc().frame, (CoordFrame{-1.5L, 3.5L, -1.5L, 3.5L}));
    EXPECT_EQ(graph.renderer().view().frame(), graph.doc().frame);
    EXPECT_EQ(graph.rangeLineText(), rangeStatusText(graph.doc().frame));
    EXPECT_TRUE(near(1, 1, kPointAColour));
    button("smale")->click();
    EXPECT_EQ(graph.doc().frame, (CoordFrame{-4, 6, -4, 6}));
    button("hyoujyun")->click();
    EXPECT_EQ(graph.doc().frame, CoordFrame{});
    EXPECT_EQ(graph.renderer().view().frame(), CoordFrame{});
    EXPECT_TRUE(near(1, 1, kPointAColour));
}

TEST_F(MeanRateWindowTest, TheCalculusMenuAsksOnTheKeyboardThenOpensItModally)
{
    setFunction("x^2");
    window.setObjectName(QStringLiteral("another"));
    ProgramWindows windows(graph);
    auto *dialog = graph.findChild<MeanRateWindow *>(QStringLiteral("PMove"));
    auto *keyboard = graph.findChild<QDialog *>(QStringLiteral("keyfunc"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(keyboard, nullptr);
    const auto type = [keyboard](const char *key) {
        keyboard->findChild<QPushButton *>(QString::fromLatin1(key))->click();
        keyboard->findChild<QPushButton *>(QStringLiteral("syuu"))->click();
    };
    QStringList captions;
    bool shown = false;
    QTimer::singleShot(0, keyboard, [&] {
        captions << keyboard->windowTitle();
        type("n1");
        QTimer::singleShot(0, keyboard, [&] {
            captions << keyboard->windowTitle();
            type("n2");
            QTimer::singleShot(0, dialog, [&] {
                shown = dialog->isVisible() && dialog->isModal();
                EXPECT_EQ(dialog->windowTitle(), QStringLiteral("平均変化率の意味"));
                EXPECT_EQ(dialog->readout("heilabel"), QStringLiteral("3.0000"));
                dialog->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
            });
        });
    });
    graph.menuAction(QStringLiteral("K3"))->trigger();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("点Ａのｘ座標の入力"), QStringLiteral("点Ｂのｘ座標の入力")}));
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dialog->timer().isActive());
}

} // namespace gq
