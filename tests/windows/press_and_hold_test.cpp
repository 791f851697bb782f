// Press-and-hold buttons on a simulated clock: a press of any ordinary length
// is one step; holding repeats, first after 300 ms, then at the window's own
// pace; the release stops it. Checked on every such button of the program's
// windows, as the mouse presses them.
#include "calculus_window_util.h"
#include "windows/interval_dialog.h"
#include "windows/mean_rate_window.h"
#include "windows/parameter_window.h"
#include "windows/press_and_hold.h"
#include "windows/range_dialog.h"
#include "windows/riemann_sum_window.h"
#include "windows/tangent_window.h"
#include <QPushButton>
#include <cmath>
#include <functional>
#include <memory>

namespace gq
{

namespace
{

// One press-and-hold button of a window that the fixture has opened.
struct HeldButton {
    QPushButton *button;
    QTimer *timer;
    std::function<long double()> value; // changes by the same amount each step
    std::function<void()> reset = [] {}; // back to where the steps are even
};

class PressTimingTest : public CalculusWindowTest
{
  protected:
    PressTimingTest()
    {
        registerFunction("a*x^2");
        g.doc().parameters['a'] = 1;
    }

    // Presses, holds for ms on the simulated clock, releases; the number of
    // steps taken, measured against one step of a plain click before.
    int stepsOfHold(const HeldButton &held, int ms)
    {
        SimulatedClock clock(*held.timer);
        held.reset();
        const long double start = held.value();
        press(held.button);
        clock.sync();
        const long double oneStep = held.value() - start;
        EXPECT_NE(oneStep, 0) << "the press itself takes a step";
        clock.advance(ms);
        release(held.button);
        clock.sync();
        const long double moved = held.value() - start;
        clock.advance(1000); // nothing more after the release
        EXPECT_EQ(held.value() - start, moved) << "steps after the release";
        EXPECT_EQ(held.timer->interval(), period_) << "the window's own pace is back";
        return static_cast<int>(std::lround(static_cast<double>(moved / oneStep)));
    }

    HeldButton open(const std::string &which)
    {
        const auto button = [](QWidget *w, const char *name) {
            return w->findChild<QPushButton *>(QString::fromLatin1(name));
        };
        if (which == "range") {
            auto *range = new RangeDialog(g.doc(), ask, [this] { g.frameChanged(); }, &g);
            period_ = 50;
            return {button(range, "rshift"), &range->stepTimer(), [this] { return g.doc().frame.xmin; }};
        }
        if (which == "interval") {
            auto *interval = new IntervalDialog(g, &g);
            g.interval().active = true;
            g.interval().lower = -1;
            g.interval().upper = 1;
            interval->selectStep(2);
            period_ = 50;
            return {button(interval, "RightButton"), interval->findChild<QTimer *>(QStringLiteral("Timer1")),
                    [this] { return g.interval().lower; }};
        }
        if (which == "parameters") {
            auto *parameters = new ParameterWindow(g);
            parameters->prepare(false);
            parameters->session().plus(RowA); // an increment of one step width
            period_ = ParameterWindow::kDrawInterval;
            return {button(parameters, "contdraw"), &parameters->drawTimer(),
                    [this] { return static_cast<long double>(g.doc().parameters['a']); }};
        }
        if (which == "riemann") {
            range_ = std::make_unique<RangeDialog>(g.doc(), ask, [] {}, &g);
            auto *riemann = new RiemannSumWindow(g, *range_, &g);
            ask.keyboardAnswers = {"0", "1"};
            EXPECT_TRUE(riemann->begin());
            period_ = 40;
            // The steps from 2 strips to the present number.
            const auto steps = [riemann] {
                int n = kInitialDivisions, count = 0;
                while (n < riemann->navigator().divisions() && count < 1000)
                    n = stepDivisions(n, true), ++count;
                return static_cast<long double>(count);
            };
            return {button(riemann, "incdiv"), riemann->findChild<QTimer *>(QStringLiteral("Timer1")), steps,
                    [riemann] { riemann->navigator().resetDivisions(); }};
        }
        if (which == "tangent") {
            auto *tangent = new TangentWindow(g);
            EXPECT_TRUE(tangent->prepare());
            period_ = 50;
            return {button(tangent, "Aright"), &tangent->arrowTimer(),
                    [tangent] { return tangent->tangentRun().x(); }};
        }
        auto *meanRate = new MeanRateWindow(g, ask);
        ask.keyboardAnswers = {"1", "3"};
        EXPECT_TRUE(meanRate->prepare());
        period_ = 50;
        return {button(meanRate, "ARight"), &meanRate->arrowTimer(),
                [meanRate] { return meanRate->meanRate().ax(); }};
    }

    int period_ = 0;
    std::unique_ptr<RangeDialog> range_;
};

} // namespace

TEST_F(PressTimingTest, AClickIsOneStepAndOnlyAHoldRepeatsAfterThreeHundredMilliseconds)
{
    // A hold of 1 s: the press, the first repetition at 300 ms, then one
    // every period until 1000 ms.
    for (const std::string window : {"range", "interval", "parameters", "riemann", "tangent", "mean rate"}) {
        SCOPED_TRACE(window);
        const HeldButton held = open(window);
        ASSERT_NE(held.button, nullptr);
        ASSERT_NE(held.timer, nullptr);
        for (int ms : {0, 40, 90, 120, 200, 290})
            EXPECT_EQ(stepsOfHold(held, ms), 1) << "a press of " << ms << " ms";
        EXPECT_EQ(stepsOfHold(held, 300), 2);
        EXPECT_EQ(stepsOfHold(held, 1000), 2 + (1000 - 300) / period_);
    }
}

TEST(PressAndHold, OnlyTheHeldButtonStepsAndClosingStopsIt)
{
    QTimer timer;
    timer.setInterval(50);
    QPushButton up, down;
    PressAndHold hold(timer);
    int ups = 0, downs = 0;
    hold.add(&up, [&] { ++ups; });
    hold.add(&down, [&] { --downs; });
    SimulatedClock clock(timer);

    emit down.pressed();
    clock.sync();
    clock.advance(400);
    EXPECT_EQ(downs, -4) << "at 0, 300, 350 and 400 ms";
    EXPECT_EQ(ups, 0);
    emit up.pressed(); // the other button while the first is still down
    clock.sync();
    clock.advance(100);
    EXPECT_EQ(ups, 1) << "a new press waits its own delay";
    EXPECT_EQ(downs, -4);

    hold.stop(); // the window closes while a button is held
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(hold.holding());
    EXPECT_EQ(timer.interval(), 50);
    tick(timer); // a tick already queued does nothing
    EXPECT_EQ(ups, 1);
}

} // namespace gq
