// Press-and-hold buttons: one step per click, repeats while held.
#include "windows/press_and_hold.h"
#include "windows/timer_tick.h"
#include <QPushButton>
#include <gtest/gtest.h>

namespace gq
{

TEST(PressAndHold, AClickIsOneStepAndHoldingRepeatsOnTheTimerUntilRelease)
{
    QTimer timer;
    timer.setInterval(50);
    QPushButton up, down;
    PressAndHold hold(timer);
    int ups = 0, downs = 0;
    hold.add(&up, [&] { ++ups; });
    hold.add(&down, [&] { --downs; });

    up.click(); // press and release at once: one step, no repeating
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(timer.isActive());

    emit down.pressed();
    EXPECT_EQ(downs, -1);
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 50);
    for (int n = 0; n < 3; ++n)
        tick(timer); // the timer's ticks while held
    EXPECT_EQ(downs, -4);
    EXPECT_EQ(ups, 1) << "only the held button steps";
    emit down.released();
    EXPECT_FALSE(timer.isActive());
    tick(timer); // a tick already queued does nothing
    EXPECT_EQ(downs, -4);

    emit up.pressed();
    hold.stop(); // the window closes while held
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(hold.holding());
}

} // namespace gq
