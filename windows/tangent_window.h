// The tangent window `dtangent` (caption set by the main window when it opens
// it): the point of contact P moves along the one explicit function, step by
// step with the arrows or automatically on the window's 10 ms timer, with the
// tangent at P, the slope as a point and a read-out, and optionally the trace
// of the slope left on the graph. The run itself is TangentRun; this window
// forwards its clicks and ticks and shows the frames on the main window's
// graph.
#pragma once

#include "platform/canvas.h"
#include "tools/tangent_run.h"
#include "windows/press_and_hold.h"
#include <QDialog>
#include <QTimer>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace gq
{

class MainWindow;

class TangentWindow : public QDialog
{
    Q_OBJECT
  public:
    // mainWindow must outlive the window.
    explicit TangentWindow(MainWindow &mainWindow);

    // Opens the window modally on the main window's document and graph;
    // returns when it closes. Does nothing when the formula cannot be used.
    void run();
    // What opening does before the window is shown (P at the frame's left
    // edge, the trace box unticked, the first frame drawn). False when the
    // formula cannot be used.
    bool prepare();

    // The graph was drawn anew at another size: P, the tangent and the
    // steps follow it.
    void graphResized();

    // Handlers of the controls.
    void startClicked();
    void stopClicked();
    void arrowClicked(int direction); // -1 "←", +1 "→" (each press, and while held)
    void traceClicked();              // the trace box changed by the user
    void timerTicked();

    TangentRun &tangentRun() { return run_; }
    QTimer &timer() { return timer_; }
    QTimer &arrowTimer() { return arrowTimer_; }

    // Closing (終了, Escape, the close box): the timers stop, the session
    // ends, and the graph shows the document again, with the trace if one
    // was drawn.
    void done(int result) override;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void buildControls();
    void showDirection();
    // Shows the read-outs and the frame of P; extendTrace: with the trace
    // box ticked, the trace grows by the step P just took.
    void draw(bool extendTrace = true);

    MainWindow &main_;
    TangentRun run_;
    QTimer timer_;      // the automatic run, 10 ms
    QTimer arrowTimer_; // an arrow held down
    PressAndHold arrowHold_;
    GraphView view_;
    std::optional<Canvas> work_;
    QLabel *pointReadout_ = nullptr;
    QLabel *slopeReadout_ = nullptr;
    QCheckBox *traceBox_ = nullptr;
    QPushButton *leftArrow_ = nullptr;
    QPushButton *rightArrow_ = nullptr;
};

} // namespace gq
