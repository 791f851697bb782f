// The mean-rate window `PMove` (caption set by the main window when it opens
// it; it stays on top): asks for the abscissas of A and B on the one explicit
// function, shows both points, the secant through them and the read-outs of
// the changes and of the mean rate of change, moves either point with the
// arrows, brings B towards A on the window's 10 ms timer, and zooms the graph
// about A. The arithmetic is MeanRate; this window forwards its clicks and
// ticks and shows the pictures on the main window's graph.
#pragma once

#include "control/questions.h"
#include "platform/canvas.h"
#include "tools/mean_rate.h"
#include "windows/press_and_hold.h"
#include <QDialog>
#include <QTimer>
#include <optional>

class QLabel;

namespace gq
{

class MainWindow;

class MeanRateWindow : public QDialog
{
    Q_OBJECT
  public:
    // mainWindow and questions (the formula keyboard for the abscissas) must
    // outlive the window.
    MeanRateWindow(MainWindow &mainWindow, Questions &questions);

    // Opens the window modally after asking for A and B; returns when it
    // closes. Does nothing when the formula cannot be used or the user gave
    // up on a point.
    void run();
    // What opening does before the window is shown: the questions for A and
    // B, then the secant and the read-outs. False as for run.
    bool prepare();

    // The graph was drawn anew at another size: the points and the secant
    // follow it.
    void graphResized();

    // Handlers of the controls.
    void arrowClicked(MeanRateArrow arrow); // each press, and while held
    void startClicked(); // "Start": B approaches A
    void stopClicked();
    void zoomClicked(MeanRateZoom command);
    void timerTicked();

    MeanRate &meanRate() { return rate_; }
    QTimer &timer() { return timer_; }
    QTimer &arrowTimer() { return arrowTimer_; }
    // The read-out labels: "Acoodinate", "Bcoodinate", "yvalue", "xvalue",
    // "heilabel".
    QString readout(const char *name) const;

    // Closing: the approach stops and the session ends; a zoom stays in
    // force, and the graph shows the document again.
    void done(int result) override;

  private:
    void buildControls();
    bool askPoints();
    void showPoints();
    void showReadouts(); // computed anew
    void showTexts();    // as the session holds them
    void present();

    MainWindow &main_;
    Questions &questions_;
    MeanRate rate_;
    QTimer timer_;      // B approaching A, 10 ms
    QTimer arrowTimer_; // an arrow held down
    PressAndHold arrowHold_;
    std::optional<Canvas> work_;
};

} // namespace gq
