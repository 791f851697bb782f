// The interval window `kukansettei` ("区間設定"): shown without blocking,
// it moves and resizes the interval of the main window with press-and-hold
// buttons, and switches the maximum and minimum marks. The band stays on the
// graph after the window closes, until the main window releases the interval.
#pragma once

#include "platform/canvas.h"
#include "tools/interval_scan.h"
#include "windows/press_and_hold.h"
#include <QDialog>
#include <QTimer>

class QButtonGroup;
class QGroupBox;
class QLabel;

namespace gq
{

class MainWindow;

class IntervalDialog : public QDialog
{
    Q_OBJECT
  public:
    // The bounds and switches are main's interval(); main must outlive the
    // window.
    IntervalDialog(MainWindow &main, QWidget *parent);

    // Chooses item index 0..4 of "増減値" (10, 1, 0.1, 0.05, 0.01). The
    // set-interval command chooses 2 at every opening.
    void selectStep(int index);
    long double stepValue() const { return stepValue_; }

    // Finishes a picture of the graph while the interval is active: the band
    // (and the marks) over graphImage, shown on the visible graph.
    void drawOverlay(const Canvas &graphImage);

  protected:
    // Showing the window puts the interval in force and draws it.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

  private:
    void buildControls();
    // One step of a held button: the bounds move, the read-outs and the band
    // follow.
    void step(IntervalAdjust mode);
    void showBounds();

    MainWindow &main_;
    long double stepValue_ = kIntervalSteps[0];
    QButtonGroup *steps_ = nullptr;
    QButtonGroup *maxMin_ = nullptr;
    QGroupBox *maxMinBox_ = nullptr;
    QLabel *lower_ = nullptr;
    QLabel *upper_ = nullptr;
    QTimer timer_; // Timer1: 50 ms, runs while a button is held
    PressAndHold hold_;
};

} // namespace gq
