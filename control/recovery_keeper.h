// Keeps the recovery file in step with the document. After every change the
// document is written (in the background, see RecoveryStore); while changes
// keep coming it is written at most every 2 s, and a check every 2 s catches
// a change still in progress (a drag, a held button). A document without
// unsaved changes needs no recovery: its file is removed instead, so undoing
// back to the saved state, a save and a read all leave none. A clean quit
// removes it for good.
#pragma once

#include "control/equation_commands.h"
#include "control/graph_controller.h"
#include "control/recovery_store.h"
#include <QElapsedTimer>
#include <QTimer>
#include <string>
#include <vector>

namespace gq
{

class RecoveryKeeper
{
  public:
    static constexpr int kMinInterval = 2000; // ms between two writes

    // Neither is owned; both must outlive the keeper.
    RecoveryKeeper(GraphController &controller, RecoveryStore &store);
    RecoveryKeeper(const RecoveryKeeper &) = delete;
    RecoveryKeeper &operator=(const RecoveryKeeper &) = delete;

    // After a change of the document (or of its saved state): brings the
    // file up to date now, or as soon as 2 s have passed since the last write.
    void documentChanged();
    // Brings the file up to date at once.
    void updateNow();
    // A clean quit: the file goes and nothing is written any more.
    void finish();

    RecoveryStore &store() { return store_; }

  private:
    GraphController &controller_;
    RecoveryStore &store_;
    QTimer delay_; // the write held back by the 2 s spacing
    QTimer check_; // every 2 s: a change nobody announced
    QElapsedTimer sinceWrite_;
    std::vector<std::string> written_; // the lines of the file; empty: no file
    bool finished_ = false;
};

// What start-up found of an earlier run.
struct RecoveryOffer {
    bool restored = false; // the document now holds the restored work
    ReadOutcome read;      // the picture and messages, as after a read
};

// At start-up: for each file an ended run left behind, newest first, asks
// "前回終了時の作業を復元しますか". "復元" makes that work the document
// (modified, under its file name when it had one, the history starting
// there), writes this run's recovery file and removes the old one; no
// further file is offered then. "破棄" removes the file. A file that cannot
// be read is reported as an unreadable equation file is, and removed. A
// closed question leaves the file for the next start.
RecoveryOffer offerRecovery(GraphController &controller, RecoveryKeeper &keeper);

} // namespace gq
