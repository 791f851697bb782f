// The integration navigator's window: its opening, sum buttons, held
// division buttons, error line, range change and closing. The prompts, sums
// and strips are the navigator's tests.
#include "tools/riemann_drawing.h"
#include "windows/calculus_window_util.h"
#include "windows/range_dialog.h"
#include "windows/riemann_sum_window.h"
#include <QLabel>
#include <QPushButton>

namespace gq
{

namespace
{

class RiemannWindowTest : public CalculusWindowTest
{
  protected:
    ~RiemannWindowTest() override { window.hide(); }

    // Opens the window with the two bounds typed (without blocking).
    bool open(std::deque<std::string> answers)
    {
        ask.keyboardAnswers = std::move(answers);
        asked = ask.keyboardRequests.size();
        return window.begin();
    }
    QString text(const char *name) { return child<QLabel>(&window, name)->text(); }
    QPushButton *button(const char *name) { return child<QPushButton>(&window, name); }
    QTimer *timer() { return window.findChild<QTimer *>(QStringLiteral("Timer1")); }
    int green(long double xa, long double ya, long double xb, long double yb)
    {
        return count(kStripGreen, xa, ya, xb, yb);
    }

    RangeDialog range{g.doc(), ask, [this] { g.frameChanged(); }, &g};
    RiemannSumWindow window{g, range, &g};
    std::size_t asked = 0;
};

} // namespace

TEST_F(RiemannWindowTest, OpensWithItsOwnIntervalAndShowsEachSumInItsReadout)
{
    registerFunction("x^2");
    ASSERT_TRUE(open({"0", "1"}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isModal());
    EXPECT_EQ(ask.keyboardRequests.size(), asked + 2);
    EXPECT_EQ(text("Label9"), QStringLiteral("0.000≦ｘ≦1.000"));
    EXPECT_EQ(text("Panel1"), QStringLiteral("2"));
    for (const char *readout : {"sumMax", "sumMin", "Label8", "Label10"})
        EXPECT_EQ(text(readout), QString()) << "blank until computed";
    EXPECT_EQ(text("trapezoidcaption"), QStringLiteral("台形和"));
    EXPECT_EQ(text("simpsoncaption"), QStringLiteral("ｼﾝﾌﾟｿﾝ"));

    click(button("maxButton"));
    click(button("minButton"));
    click(button("polizoid"));
    click(button("sympson"));
    EXPECT_EQ(text("sumMax"), QStringLiteral("0.6250"));
    EXPECT_EQ(text("sumMin"), QStringLiteral("0.1250"));
    EXPECT_EQ(text("Label8"), QStringLiteral("0.3750"));
    EXPECT_EQ(text("Label10"), QStringLiteral("0.3333"));
    // Simpson's two strips are hatched green under the curve.
    EXPECT_GT(green(0.55L, 0.02L, 0.95L, 0.25L), 10);
    EXPECT_EQ(green(-4.5L, 0.1L, -0.1L, 4.5L), 0);
}

TEST_F(RiemannWindowTest, AnOpeningThatEndsOnACancelShowsNoWindow)
{
    registerFunction("1/x");
    EXPECT_FALSE(open({})) << "a cancel means 0, where 1/x is undefined";
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.navigator().isOpen());
}

TEST_F(RiemannWindowTest, HeldDivisionButtonsStepAtThePressAndEveryTickAndStopAtTheCap)
{
    registerFunction("x^2");
    ASSERT_TRUE(open({"0", "1"}));
    click(button("polizoid"));
    ASSERT_NE(timer(), nullptr);
    EXPECT_EQ(timer()->interval(), 40);
    press(button("incdiv"));
    EXPECT_EQ(text("Panel1"), QStringLiteral("3"));
    EXPECT_EQ(text("Label8"), QStringLiteral("0.3519"));
    tick(timer());
    EXPECT_EQ(text("Panel1"), QStringLiteral("4"));
    release(button("incdiv"));
    EXPECT_FALSE(timer()->isActive());
    click(button("decdiv"));
    EXPECT_EQ(text("Panel1"), QStringLiteral("3"));
    click(button("Button2"));
    EXPECT_EQ(text("Panel1"), QStringLiteral("2"));
    EXPECT_EQ(text("Label8"), QStringLiteral("0.3750"));

    auto *note = child<QLabel>(&window, "capnote");
    EXPECT_FALSE(note->isVisible());
    press(button("incdiv"));
    for (int i = 0; i < 90 && text("Panel1") != QStringLiteral("10000"); ++i)
        tick(timer());
    release(button("incdiv"));
    EXPECT_EQ(text("Panel1"), QStringLiteral("10000"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), QStringLiteral("分割数の上限は10000です"));
    click(button("decdiv"));
    EXPECT_EQ(text("Panel1"), QStringLiteral("9000"));
    EXPECT_FALSE(note->isVisible());
}

TEST_F(RiemannWindowTest, ARangeChangeRedrawsTheSumAndClosingTakesItOff)
{
    registerFunction("1");
    ASSERT_TRUE(open({"0", "2"}));
    click(button("polizoid"));
    EXPECT_GT(green(0.1L, 0.1L, 1.9L, 0.9L), 50);
    // 座標変更 opens the range dialog modally at the window's place; a frame
    // change there is followed by the sum.
    bool wasModal = false;
    QTimer::singleShot(0, &range, [&] {
        wasModal = range.isVisible() && range.isModal();
        g.doc().frame = CoordFrame{-1, 3, -1, 3};
        g.redrawGraph();
        emit range.rangeChanged();
        range.reject();
    });
    click(button("Button1"));
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(range.pos(), window.pos());
    EXPECT_GT(green(0.1L, 0.1L, 1.9L, 0.9L), 50);
    EXPECT_EQ(green(2.1L, 0.1L, 2.9L, 0.9L), 0);
    EXPECT_EQ(text("Label8"), QStringLiteral("2.0000"));

    window.findChild<QPushButton *>(QStringLiteral("syuuryou"))->click(); // 終了
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.navigator().isOpen());
    EXPECT_EQ(g.doc().overlayMode, 0);
    EXPECT_EQ(green(0.1L, 0.1L, 1.9L, 0.9L), 0) << "the strips go with the window";
    // Closed: a range change draws no sum.
    g.doc().frame = CoordFrame{};
    g.redrawGraph();
    emit range.rangeChanged();
    EXPECT_EQ(green(-4.5L, -4.5L, 4.5L, 4.5L), 0);
}

} // namespace gq
