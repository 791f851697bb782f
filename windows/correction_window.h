// The correction window `correctform` (caption "訂正"): edits or deletes one
// registered item, defined function or defined constant at a time. The
// behaviour lives in CorrectionSession; this window shows its view and
// forwards the clicks.
#pragma once

#include "control/correction.h"
#include <QDialog>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace gq
{

class CorrectionWindow : public QDialog
{
    Q_OBJECT
  public:
    // The context's references must outlive the window.
    explicit CorrectionWindow(DefinitionContext context, QWidget *parent = nullptr);

    // Opens the window modally in mode 1 (items), 2 (functions) or 3
    // (constants) at number 1; returns when it closes. Does nothing when the
    // mode's list is empty.
    void run(int mode);
    // Prepares the window as Run does, without showing it. False when the
    // mode's list is empty.
    bool prepare(int mode);

    CorrectionSession &session() { return session_; }

    // Handlers of the controls.
    void numberChanged(int number);
    void fieldClicked(int field); // equ1, equ2, Min, Max
    void colourClicked();
    void afterimageClicked(int index); // 0 "On", 1 "off"
    void penWidthClicked(int index);   // 0..2
    void deleteItemClicked();
    void finishButtonClicked();

    // Shows the session's current entry; closes the window when the session
    // has ended (its list became empty).
    void refresh();

  private:
    void buildControls();

    CorrectionSession session_;
    QSpinBox *numberSpin_ = nullptr;
    QLabel *numberLabel_ = nullptr;
    QLabel *kindLabel_ = nullptr;
    std::array<QLabel *, 5> fieldLabels_{};
    std::array<QPushButton *, 5> fields_{};
    QLabel *colourLabel_ = nullptr;
    QPushButton *colourPanel_ = nullptr;
    QGroupBox *afterimageBox_ = nullptr;
    QButtonGroup *afterimageGroup_ = nullptr;
    QGroupBox *penWidthBox_ = nullptr;
    QButtonGroup *penWidthGroup_ = nullptr;
    bool refreshing_ = false; // control updates made by Refresh are not clicks
};

} // namespace gq
