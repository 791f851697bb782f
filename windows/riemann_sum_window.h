// The integration navigator `integnavi` ("区分求積"), opened modally from the
// calculus menu: it asks for its interval on the formula keyboard, then shows
// the upper and lower sums, the trapezoid sum and Simpson's rule of the one
// explicit function with a variable number of strips, hatched over the graph.
// Everything it computes is in RiemannNavigator; the window shows it.
#pragma once

#include "tools/riemann_navigator.h"
#include "windows/press_and_hold.h"
#include <QDialog>
#include <QTimer>
#include <array>

class QLabel;
class QPushButton;

namespace gq
{

class MainWindow;
class RangeDialog;

class RiemannSumWindow : public QDialog
{
    Q_OBJECT
  public:
    // main and rangeDialog must outlive the window. A frame change in the
    // range dialog redraws the sum while the navigator is open.
    RiemannSumWindow(MainWindow &main, RangeDialog &rangeDialog, QWidget *parent);

    // The menu command: shows the window, asks for the interval, and runs it
    // modally until it closes. Returns at once when the interval was not
    // given.
    void run();
    // The first half of run without blocking: shows the window and asks for
    // the interval. False when the opening was abandoned; the window is then
    // closed again.
    bool begin();

    RiemannNavigator &navigator() { return navigator_; }
    // The graph was drawn anew (another size or frame): the sum follows it.
    void graphResized();

  protected:
    // Every way of closing (終了, Escape, the close box) ends the navigator,
    // and the graph shows the document again.
    void done(int result) override;

  private:
    void buildControls();
    void buildSumLine();
    // Read-outs, n, the error line and the cap note from the navigator.
    void showState();
    void changeRange();
    std::string askNumber(const QString &caption, const QString &message, bool &cancelled);

    MainWindow &main_;
    RangeDialog &rangeDialog_;
    RiemannNavigator navigator_;
    QLabel *interval_ = nullptr;     // Label9
    QLabel *divisions_ = nullptr;    // Panel1
    QLabel *error_ = nullptr;        // Label11
    QLabel *capNote_ = nullptr;      // shown while n is at its cap
    std::array<QLabel *, 5> sums_{}; // by SumKind: sumMax, sumMin, Label8, Label10
    QTimer timer_;                   // Timer1: 40 ms, runs while "増" or "減" is held
    PressAndHold hold_;
};

} // namespace gq
