// Everything start-up makes, in its order: the main window, the program's
// other windows, and the keeping of the recovery file in a folder of the
// user's. The program and the tests that run it as the teacher would both
// start here.
#pragma once

#include "control/recovery_keeper.h"
#include "control/recovery_store.h"
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include <QString>

namespace gq
{

class RunningProgram
{
  public:
    // recoveryFolder: where this run keeps its recovery file and finds
    // those of runs that crashed (defaultRecoveryFolder() in the program).
    // answers (not owned), when given, answers every modal question in place
    // of the dialogs (tests).
    explicit RunningProgram(const QString &recoveryFolder, Questions *answers = nullptr);
    ~RunningProgram();
    RunningProgram(const RunningProgram &) = delete;
    RunningProgram &operator=(const RunningProgram &) = delete;

    MainWindow &graph() { return graph_; }
    ProgramWindows &windows() { return windows_; }
    RecoveryKeeper &recovery() { return keeper_; }

    // Shows the main window; once the event loop runs, offers the work of a
    // crashed run and then reads file ("" for none), so that any question,
    // message or the parameter window opens over the shown window.
    void start(const QString &file);

  private:
    RecoveryStore store_;
    MainWindow graph_;
    ProgramWindows windows_;
    RecoveryKeeper keeper_;
};

} // namespace gq
