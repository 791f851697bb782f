#include "windows/press_and_hold.h"

#include <QAbstractButton>
#include <QTimer>

namespace gq
{

PressAndHold::PressAndHold(QTimer &timer, QObject *parent) : QObject(parent), timer_(timer)
{
    connect(&timer_, &QTimer::timeout, this, &PressAndHold::repeat);
}

void PressAndHold::add(QAbstractButton *button, std::function<void()> step)
{
    connect(button, &QAbstractButton::pressed, this, [this, step = std::move(step)] {
        if (!delaying_)
            period_ = timer_.interval();
        current_ = step;
        delaying_ = true;
        timer_.start(kRepeatDelay);
        step();
    });
    connect(button, &QAbstractButton::released, this, [this] { stop(); });
}

void PressAndHold::repeat()
{
    if (!current_) {
        timer_.stop();
        return;
    }
    if (delaying_) {
        // From here on the steps come at the window's own pace.
        delaying_ = false;
        timer_.setInterval(period_);
    }
    current_();
}

void PressAndHold::stop()
{
    timer_.stop();
    if (delaying_)
        timer_.setInterval(period_);
    delaying_ = false;
    current_ = nullptr;
}

} // namespace gq
