// The interval window: opened from the menu without blocking, its held
// buttons, its step choice and its maximum/minimum switch, and the band on
// every later redraw.
#include "tools/interval_overlay.h"
#include "windows/calculus_window_util.h"
#include "windows/interval_dialog.h"
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace gq
{

namespace
{

class IntervalDialogTest : public CalculusWindowTest
{
  protected:
    IntervalDialogTest()
    {
        // As ProgramWindows links them.
        windows.onIntervalDialog = [this] {
            dialog.selectStep(2);
            dialog.show();
        };
        windows.onIntervalOverlay = [this](const Canvas &image) { dialog.drawOverlay(image); };
    }
    ~IntervalDialogTest() override { dialog.hide(); }

    // The menu command with the two bounds typed.
    void setInterval(const char *lower, const char *upper)
    {
        ask.keyboardAnswers = {lower, upper};
        g.setInterval();
    }
    QString text(const char *name) { return child<QLabel>(&dialog, name)->text(); }
    QPushButton *button(const char *name) { return child<QPushButton>(&dialog, name); }
    QRadioButton *radio(const char *group, const char *caption)
    {
        for (QRadioButton *r : child<QGroupBox>(&dialog, group)->findChildren<QRadioButton *>())
            if (r->text() == QString::fromLatin1(caption))
                return r;
        ADD_FAILURE() << caption;
        return nullptr;
    }
    int yellow() { return countColour(visible(), kBandColour, 0, 0, g.graphSize() - 1, g.graphSize() - 1); }
    // The band's hatch lies between these columns, and not outside them.
    void expectBand(long double a, long double b)
    {
        const int n = g.graphSize() - 1;
        EXPECT_GT(countColour(visible(), kBandColour, px(a) + 1, 0, px(b) - 2, n), 0);
        EXPECT_EQ(countColour(visible(), kBandColour, 0, 0, px(a) - 1, n), 0);
        EXPECT_EQ(countColour(visible(), kBandColour, px(b) + 1, 0, n, n), 0);
    }

    IntervalDialog dialog{g, &g};
};

} // namespace

TEST_F(IntervalDialogTest, TheMenuCommandAsksTheBoundsAndShowsTheBandWithItsMarks)
{
    registerFunction("x^2");
    setInterval("-1", "2");
    ASSERT_GE(ask.keyboardRequests.size(), 3u);
    EXPECT_EQ(ask.keyboardRequests[1].caption, QStringLiteral("区間の下限"));
    EXPECT_EQ(ask.keyboardRequests[2].caption, QStringLiteral("区間の上限"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("区間設定"));
    EXPECT_TRUE(g.interval().active);
    EXPECT_EQ(text("intervallower"), QStringLiteral("-1.00"));
    EXPECT_EQ(text("intervalupper"), QStringLiteral("2.00"));
    EXPECT_EQ(dialog.stepValue(), 0.1L);
    EXPECT_TRUE(radio("zougenti", "0.1")->isChecked());
    // One explicit function: the switch is shown, on.
    EXPECT_TRUE(child<QGroupBox>(&dialog, "MaxMIn")->isVisible());
    EXPECT_TRUE(radio("MaxMIn", "On")->isChecked());
    expectBand(-1, 2);
    EXPECT_EQ(visible().pixel(px(2), py(4)), kRed) << "the maximum (2, 4)";
    EXPECT_EQ(visible().pixel((px(2) + px(0)) / 2, py(4)), kBlue);
    EXPECT_GT(countColour(visible(), kBlue, px(0) - 3, py(0) - 2, px(0) + 3, py(0) + 1), 4) << "the vertex";
}

TEST_F(IntervalDialogTest, AHeldButtonStepsAtThePressAndAtEveryTickUntilReleased)
{
    registerFunction("x^2");
    setInterval("-1", "2");
    auto *timer = dialog.findChild<QTimer *>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 50);
    EXPECT_FALSE(timer->isActive());

    press(button("lowerplus"));
    EXPECT_EQ(g.interval().lower, -1 + 0.1L);
    EXPECT_TRUE(timer->isActive());
    for (int i = 0; i < 3; ++i)
        tick(timer);
    release(button("lowerplus"));
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(text("intervallower"), QStringLiteral("-0.60"));
    expectBand(-0.6L, 2);

    click(button("upperminus"));
    click(button("RightButton"));
    EXPECT_EQ(text("intervallower"), QStringLiteral("-0.50"));
    EXPECT_EQ(text("intervalupper"), QStringLiteral("2.00"));
    click(button("LeftButton"));
    click(button("lowerminus"));
    click(button("upperplus"));
    EXPECT_EQ(text("intervallower"), QStringLiteral("-0.70"));
    EXPECT_EQ(text("intervalupper"), QStringLiteral("2.00"));

    click(radio("zougenti", "10"));
    EXPECT_EQ(dialog.stepValue(), 10);
    click(button("RightButton"));
    EXPECT_EQ(text("intervallower"), QStringLiteral("9.30"));
    click(radio("zougenti", "0.01"));
    click(button("LeftButton"));
    EXPECT_EQ(text("intervalupper"), QStringLiteral("11.99"));
}

TEST_F(IntervalDialogTest, ShrinkingStopsOnceTheLowerBoundHasPassedTheUpper)
{
    registerFunction("x");
    setInterval("0.95", "1");
    press(button("lowerplus"));
    tick(dialog.findChild<QTimer *>(QStringLiteral("Timer1")));
    release(button("lowerplus"));
    EXPECT_EQ(text("intervallower"), QStringLiteral("1.05"));
    click(button("upperminus"));
    EXPECT_EQ(text("intervalupper"), QStringLiteral("1.00"));
}

TEST_F(IntervalDialogTest, TheSwitchTurnsTheMarksOffAndOnAndIsHiddenUnlessOneExplicitFunction)
{
    registerFunction("x^2");
    setInterval("-1", "2");
    click(radio("MaxMIn", "off"));
    EXPECT_FALSE(g.interval().showMaxMin);
    EXPECT_NE(visible().pixel(px(2), py(4)), kRed);
    expectBand(-1, 2);
    click(radio("MaxMIn", "On"));
    EXPECT_TRUE(g.interval().showMaxMin);
    EXPECT_EQ(visible().pixel(px(2), py(4)), kRed);
    dialog.hide();

    // Two items: no switch, no marks.
    ask.keyboardAnswers = {"x+1"};
    ask.colourAnswers = {rgbColour(0, 0, 128)};
    g.registerAdditional(KindExplicit);
    g.showStandard();
    g.setInterval(); // active: no questions
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(child<QGroupBox>(&dialog, "MaxMIn")->isVisible());
    EXPECT_EQ(countColour(visible(), kRed, 0, 0, g.graphSize() - 1, g.graphSize() - 1), 0);
}

TEST_F(IntervalDialogTest, FinishLeavesTheBandOnEveryRedrawUntilTheIntervalIsReleased)
{
    registerFunction("x^2");
    setInterval("-1", "2");
    click(radio("zougenti", "1"));
    click(button("syuuryou"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(g.interval().active);
    g.showStandard();
    expectBand(-1, 2);
    EXPECT_EQ(visible().pixel(px(2), py(4)), kRed);
    g.showOverlaid();
    expectBand(-1, 2);

    // Opening again asks nothing and starts from the step 0.1.
    const std::size_t asked = ask.keyboardRequests.size();
    g.setInterval();
    EXPECT_EQ(ask.keyboardRequests.size(), asked);
    EXPECT_EQ(dialog.stepValue(), 0.1L);
    click(button("syuuryou"));

    g.clearInterval();
    EXPECT_FALSE(g.interval().active);
    EXPECT_EQ(yellow(), 0);
    EXPECT_EQ(countColour(visible(), kRed, 0, 0, g.graphSize() - 1, g.graphSize() - 1), 0);
}

} // namespace gq
