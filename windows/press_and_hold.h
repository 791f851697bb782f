// The press-and-hold buttons of one window. A press takes one step at once;
// holding the button on repeats the step, first after kRepeatDelay (the
// toolkit's auto-repeat delay for buttons), then at the window timer's own
// interval; the release stops it. So a click of any ordinary length is
// exactly one step, and only a deliberate hold repeats.
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
    // Milliseconds from the press to the first repeated step.
    static constexpr int kRepeatDelay = 300;

    // timer is the window's own (not owned; it must outlive this object);
    // its interval is the repeat interval. While a button is held before its
    // first repetition the timer runs with kRepeatDelay instead; its own
    // interval is back in place from the first repetition on and after the
    // release.
    explicit PressAndHold(QTimer &timer, QObject *parent = nullptr);

    // step runs on the press and on every repetition while button is held.
    void add(QAbstractButton *button, std::function<void()> step);
    // Stops repeating (a window that closes while a button is held).
    void stop();
    bool holding() const { return static_cast<bool>(current_); }

  private:
    void repeat();

    QTimer &timer_;
    std::function<void()> current_;
    int period_ = 0;        // the timer's own interval
    bool delaying_ = false; // waiting for the first repetition
};

} // namespace gq
