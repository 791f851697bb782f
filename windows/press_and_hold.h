// The press-and-hold buttons of one window. A press takes one step at once
// and starts the window's timer; every tick takes another step of the button
// that is held; the release stops the timer. So a short click is exactly one
// step, and holding repeats at the timer's interval.
#pragma once

#include <QObject>
#include <functional>

class QAbstractButton;
class QTimer;

namespace gq
{

class PressAndHold : public QObject
{
    Q_OBJECT
  public:
    // timer is the window's own (not owned; it must outlive this object);
    // its interval is the repeat interval.
    explicit PressAndHold(QTimer &timer, QObject *parent = nullptr);

    // step runs on the press and on every tick while button is held.
    void add(QAbstractButton *button, std::function<void()> step);
    // Stops repeating (a window that closes while a button is held).
    void stop();
    bool holding() const { return static_cast<bool>(current_); }

  private:
    QTimer &timer_;
    std::function<void()> current_;
};

} // namespace gq
