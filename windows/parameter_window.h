// The parameter window `ParaChange` (caption "ParaChange"): one row for each
// parameter the items use, with its value, its increment and the keys "＋",
// "－", "0" and "cl"; the step width "刻み幅"; "AC", "描画" (press and hold),
// "終了"; the options "残像表示" and "軌跡表示". The behaviour lives in
// ParameterSession; this window shows its texts and forwards the clicks.
#pragma once

#include "control/parameter_session.h"
#include <QDialog>
#include <QTimer>
#include <array>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace gq
{

class MainWindow;
class PressAndHold;

class ParameterWindow : public QDialog
{
    Q_OBJECT
  public:
    // Repeat interval of "描画" while it is held.
    static constexpr int kDrawInterval = 40; // ms

    // mainWindow must outlive the window.
    explicit ParameterWindow(MainWindow &mainWindow);
    ~ParameterWindow() override;

    // Opens the window modally and returns when it closes; after a file
    // load (afterLoad) the increments start from zero.
    void run(bool afterLoad);
    // What opening does, without showing the window: placement, rows, the
    // session's opening (background and first draw step), labels.
    void prepare(bool afterLoad);

    ParameterSession &session() { return session_; }
    // The graph was made anew at another size: the picture is drawn again.
    void graphResized();
    QTimer &drawTimer() { return timer_; }

  protected:
    // Every way of closing ends here: the held key stops, OverlayMode ends.
    void done(int result) override;

  private:
    struct Row {
        QLabel *caption = nullptr;
        QLabel *value = nullptr;
        QLabel *increment = nullptr;
        std::array<QPushButton *, 4> keys{}; // ＋ － 0 cl
    };

    void buildRows();
    void buildBottom();
    void layoutRows();
    void place();
    void refreshLabels();
    void stepClicked();
    void clearClicked(ParamRow row);
    void allClearClicked();

    MainWindow &main_;
    ParameterSession session_;
    QTimer timer_;
    PressAndHold *hold_ = nullptr;
    std::array<Row, kParamRowCount> rows_{};
    QLabel *changeHeading_ = nullptr;
    QLabel *incrementHeading_ = nullptr;
    QGroupBox *stepWidthBox_ = nullptr;
    QButtonGroup *stepWidthGroup_ = nullptr;
    QCheckBox *afterimage_ = nullptr;
    QCheckBox *locus_ = nullptr;
    QPushButton *allClear_ = nullptr;
    QPushButton *draw_ = nullptr;
    QPushButton *finish_ = nullptr;
};

} // namespace gq
