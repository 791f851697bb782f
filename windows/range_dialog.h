// The range-change dialog "範囲変更": the four bounds of the coordinate frame
// in panels that a click lets the user type, "+"/"-" buttons for each bound,
// the move and zoom buttons, the grid and scale check boxes, "標準" and
// "終了". Every change redraws the graph at once. The arithmetic is in
// control/range_steps.h.
#pragma once

#include "control/questions.h"
#include "control/range_steps.h"
#include "model/document.h"
#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>

class QCheckBox;
class QLayout;
class QPushButton;

namespace gq
{

class PressAndHold;

class RangeDialog : public QDialog
{
    Q_OBJECT
  public:
    // doc: the document whose frame and display flags the dialog changes;
    // questions: the formula keyboard for typed bounds; redrawGraph: the
    // main window's range line and full redraw. All three must outlive the
    // dialog. Opened modally with exec().
    RangeDialog(Document &doc, Questions &questions, std::function<void()> redrawGraph,
                QWidget *parent = nullptr);
    ~RangeDialog() override;

    // The step buttons' repeat timer (50 ms, running only while one is held).
    QTimer &stepTimer() { return timer_; }
    // The text of bound panel 1..4 (xmin, xmax, ymin, ymax).
    QString panelText(int panel) const;
    // The standard button and the scale check box (the Riemann-sum window
    // switches them off while it opens the dialog).
    QPushButton *standardButton() const { return standard_; }
    QCheckBox *scaleBox() const { return scaleBox_; }

    // What the controls do, callable without clicking.
    void step(int code);
    void typeBound(RangeBound bound);
    void setGrid(bool shown);
    void setScaleHidden(bool hidden);
    void restoreStandard();

  signals:
    // After every change the dialog applies to the frame or the display
    // flags (steps, typed bounds, the check boxes, 標準), once the graph has
    // been redrawn; also after a refused step or typed bound, which redraws
    // the unchanged frame.
    void rangeChanged();
    // When a change is complete and makes one step of the history: a typed
    // bound, a check box, 標準, and a step button when it is released (a
    // whole press-and-hold is one step). name is the step's name; empty
    // when a hold was cut short by closing.
    void changeFinished(const QString &name);

  protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

  private:
    void buildControls();
    QLayout *buildBoundRows();
    QLayout *buildMoveButtons();
    QPushButton *addStepButton(const char *name, const QString &caption, int code);
    void showRangeValues();
    void refreshAfterRangeChange();

    Document &doc_;
    Questions &questions_;
    std::function<void()> redrawGraph_;
    QTimer timer_;
    PressAndHold *hold_ = nullptr;
    std::array<QPushButton *, 4> panels_{};
    QPushButton *standard_ = nullptr;
    QCheckBox *gridBox_ = nullptr;
    QCheckBox *scaleBox_ = nullptr;
};

} // namespace gq
