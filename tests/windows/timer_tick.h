// A window's timer driven by the test, as the event loop would drive it: the
// tests of press-and-hold buttons and timed runs step time this way, never by
// sleeping.
#pragma once

#include <QTimer>
#include <gtest/gtest.h>

namespace gq
{

// One tick, delivered at once.
inline void tick(QTimer &timer)
{
    QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
}

inline void tick(QTimer *timer)
{
    ASSERT_NE(timer, nullptr);
    tick(*timer);
}

// A timer on a simulated clock: advance(ms) delivers the ticks that would
// have come in that time, each at the interval the timer has when it is
// (re)started. Call sync() after anything that may start, stop or restart
// the timer outside a tick (a button pressed or released).
class SimulatedClock
{
  public:
    explicit SimulatedClock(QTimer &timer) : timer_(timer) {}

    void sync()
    {
        if (!timer_.isActive()) {
            active_ = false;
        } else if (!active_ || timer_.interval() != interval_) {
            active_ = true;
            interval_ = timer_.interval();
            due_ = now_ + interval_;
        }
    }

    void advance(int ms)
    {
        const long end = now_ + ms;
        sync();
        while (active_ && due_ <= end) {
            now_ = due_;
            tick(timer_);
            // A periodic timer starts its next interval at the tick, and a
            // new interval set during the tick restarts it from there.
            active_ = timer_.isActive();
            interval_ = timer_.interval();
            due_ = now_ + interval_;
        }
        now_ = end;
    }

    long now() const { return now_; }

  private:
    QTimer &timer_;
    long now_ = 0;
    bool active_ = false;
    int interval_ = 0;
    long due_ = 0;
};

} // namespace gq
