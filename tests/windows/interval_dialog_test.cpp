// The interval window: opened from the menu without blocking, its held
// buttons, its step choice and its maximum/minimum switch, and the band on
// every later redraw. The steps' arithmetic, the extrema and the drawing of
// the band and marks are the interval tools' tests.
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
        // As ProgramWindows links them (whose choice of the step on every
        // opening is checked in the program windows' test).
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
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(g.interval().active);
    EXPECT_EQ(text("intervallower"), QStringLiteral("-1.00"));
    EXPECT_EQ(text("intervalupper"), QStringLiteral("2.00"));
    EXPECT_TRUE(radio("zougenti", "0.1")->isChecked()) << "the step chosen on opening is shown";
    // One explicit function: the switch is shown, on.
    EXPECT_TRUE(child<QGroupBox>(&dialog, "MaxMIn")->isVisible());
    EXPECT_TRUE(radio("MaxMIn", "On")->isChecked());
    expectBand(-1, 2);
    EXPECT_EQ(visible().pixel(px(2), py(4)), kRed) << "the maximum (2, 4)";
}

// Each button moves its own bounds, by the step chosen.
TEST_F(IntervalDialogTest, EachButtonAndStepIsWired)
{
    registerFunction("x^2");
    setInterval("-1", "2");
    const struct {
        const char *button, *step, *lower, *upper;
    } cases[] = {{"lowerminus", "10", "-11.00", "2.00"},  {"upperplus", "1", "-11.00", "3.00"},
                 {"lowerplus", "0.01", "-10.99", "3.00"}, {"upperminus", "0.1", "-10.99", "2.90"},
                 {"RightButton", "1", "-9.99", "3.90"},   {"LeftButton", "0.05", "-10.04", "3.85"}};
    for (const auto &c : cases) {
        click(radio("zougenti", c.step));
        click(button(c.button));
        EXPECT_EQ(text("intervallower"), QString::fromLatin1(c.lower)) << c.button;
        EXPECT_EQ(text("intervalupper"), QString::fromLatin1(c.upper)) << c.button;
    }
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

    // Opening again asks nothing.
    const std::size_t asked = ask.keyboardRequests.size();
    g.setInterval();
    EXPECT_EQ(ask.keyboardRequests.size(), asked);
    click(button("syuuryou"));

    g.clearInterval();
    EXPECT_FALSE(g.interval().active);
    EXPECT_EQ(yellow(), 0);
    EXPECT_EQ(countColour(visible(), kRed, 0, 0, g.graphSize() - 1, g.graphSize() - 1), 0);
}

} // namespace gq
