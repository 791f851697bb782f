#include "windows/press_and_hold.h"

#include <QAbstractButton>
#include <QTimer>

namespace gq
{

PressAndHold::PressAndHold(QTimer &timer, QObject *parent) : QObject(parent), timer_(timer)
{
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (current_)
            current_();
        else
            timer_.stop();
    });
}

void PressAndHold::add(QAbstractButton *button, std::function<void()> step)
{
    connect(button, &QAbstractButton::pressed, this, [this, step = std::move(step)] {
        current_ = step;
        timer_.start();
        step();
    });
    connect(button, &QAbstractButton::released, this, [this] { stop(); });
}

void PressAndHold::stop()
{
    timer_.stop();
    current_ = nullptr;
}

} // namespace gq
