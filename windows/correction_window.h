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

class Tcorrectform : public QDialog
{
    Q_OBJECT
  public:
    // The context's references must outlive the window.
    explicit Tcorrectform(DefinitionContext context, QWidget *parent = nullptr);

    // Opens the window modally in mode 1 (items), 2 (functions) or 3
    // (constants) at number 1; returns when it closes. Does nothing when the
    // mode's list is empty.
    void Run(int mode);
    // Prepares the window as Run does, without showing it. False when the
    // mode's list is empty.
    bool Prepare(int mode);

    CorrectionSession &Session() { return session_; }

    // Handlers of the controls.
    void UpDown1Change(int number);
    void FieldClick(int field); // equ1, equ2, Min, Max
    void colorpanelClick();
    void ZanClick(int index);  // 0 "On", 1 "off"
    void penwClick(int index); // 0..2
    void DelButtonClick();
    void endbuttonClick();

    // Shows the session's current entry; closes the window when the session
    // has ended (its list became empty).
    void Refresh();

  private:
    void BuildControls();

    CorrectionSession session_;
    QSpinBox *upDown1_ = nullptr;
    QLabel *label7_ = nullptr;
    QLabel *label1_ = nullptr;
    std::array<QLabel *, 5> fieldLabels_{};
    std::array<QPushButton *, 5> fields_{};
    QLabel *colourLabel_ = nullptr;
    QPushButton *colourPanel_ = nullptr;
    QGroupBox *zan_ = nullptr;
    QButtonGroup *zanGroup_ = nullptr;
    QGroupBox *penw_ = nullptr;
    QButtonGroup *penwGroup_ = nullptr;
    bool refreshing_ = false; // control updates made by Refresh are not clicks
};
