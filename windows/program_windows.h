// The program's windows besides the main window, created once at start-up in
// their fixed order and kept until the end: the version box, the formula
// keyboard, the range dialog, the parameter window, the colour panel, the
// mean-rate, tangent, interval and Riemann-sum windows, the correction window
// and the confirmation dialog. They answer the main window's questions and
// its requests to open them, and record the steps of the history their
// changes make (a change a window does not name is recorded when it closes).
#pragma once

#include "control/definition_commands.h"
#include "windows/colour_panel.h"
#include "windows/correction_window.h"
#include "windows/dialog_questions.h"
#include "windows/interval_dialog.h"
#include "windows/keyboard.h"
#include "windows/mean_rate_window.h"
#include "windows/parameter_window.h"
#include "windows/range_dialog.h"
#include "windows/riemann_sum_window.h"
#include "windows/secondary_windows.h"
#include "windows/tangent_window.h"
#include "windows/version_box.h"
#include "windows/warning_dialog.h"
#include "windows/window_fit.h"

class QApplication;

namespace gq
{

class MainWindow;

// The program's font: a face with the Japanese glyphs, at 10 points, when one
// is installed.
void useProgramFont(QApplication &app);

class ProgramWindows final : public SecondaryWindows
{
  public:
    // Creates the windows as children of mainWindow and makes them its
    // questions and secondary windows. mainWindow must outlive this object.
    // answers (not owned), when given, answers every modal question in place
    // of the keyboard, colour panel and confirmation dialog (tests script a
    // whole lesson this way).
    explicit ProgramWindows(MainWindow &mainWindow, Questions *answers = nullptr);
    ~ProgramWindows() override;
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    void showVersion() override;
    void openRangeDialog() override;
    void openParameterWindow(bool afterLoad) override;
    void openCorrection(int mode) override;
    void openMeanRate() override;
    void openTangent() override;
    void openRiemannSums() override;
    void showIntervalDialog() override;
    void closeIntervalDialog() override;
    void graphResized() override;
    void drawIntervalOverlay(const Canvas &graphImage) override;
    void runDefinitionCommand(DefinitionCommand command) override;

  private:
    // The questions of the mean-rate and correction windows go through the
    // dialogs created after them; they are bound in before any can be opened.
    struct LateQuestions : Questions {
        Questions *target = nullptr;
        std::string askKeyboard(const KeyboardRequest &r) override { return target->askKeyboard(r); }
        uint32_t chooseColour(ColourPanelState &p) override { return target->chooseColour(p); }
        bool confirm(int kind) override { return target->confirm(kind); }
        void showMessage(const QString &text) override { target->showMessage(text); }
        SaveChangesAnswer askSaveChanges() override { return target->askSaveChanges(); }
        RestoreAnswer askRestore() override { return target->askRestore(); }
    };

    MainWindow &main_;
    // Keeps every window it opens on the screen, clear of the others.
    WindowKeeper keeper_;
    LateQuestions late_;
    DefinitionContext definitions_;
    // In the order of creation.
    VersionBox versionBox_;
    FormulaKeyboard keyboard_;
    RangeDialog rangeDialog_;
    ParameterWindow parameterWindow_;
    ColourPanel colourPanel_;
    MeanRateWindow meanRateWindow_;
    TangentWindow tangentWindow_;
    IntervalDialog intervalDialog_;
    RiemannSumWindow riemannSumWindow_;
    CorrectionWindow correctionWindow_;
    ConfirmDialog confirmDialog_;
    DialogQuestions questions_;
};

} // namespace gq
