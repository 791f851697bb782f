// The main window's history and recovery: the menu "編集" with 元に戻す and
// やり直し, the steps other windows record, and start-up with the work a
// crashed run left behind. The history itself is GraphController's
// (control/document_history.h), the recovery file RecoveryKeeper's.
#include "control/recovery_keeper.h"
#include "windows/main_window.h"
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace gq
{

namespace
{
const QString kUndo = QStringLiteral("元に戻す");
const QString kRedo = QStringLiteral("やり直し");

// "元に戻す: 削除", or the bare verb when there is nothing to name.
QString entryText(const QString &verb, const QString &step)
{
    return step.isEmpty() ? verb : verb + QStringLiteral(": ") + step;
}
} // namespace

void MainWindow::buildEditMenu()
{
    // After ﾌｧｲﾙ, where an edit menu is looked for. Its key U is free: the
    // other menus use F, R, C, G, I, E, D and V.
    QMenu *edit = addSubmenu(nullptr, "edit", QStringLiteral("編集(&U)"));
    QAction *undo = addItem(edit, "undo", kUndo);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo, &QAction::triggered, this, &MainWindow::undoStep);
    QAction *redo = addItem(edit, "redo", kRedo);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo, &QAction::triggered, this, &MainWindow::redoStep);
    // A dialog opened without blocking (the interval) changes nothing the
    // window is told about: the entries are brought up to date on opening.
    connect(edit, &QMenu::aboutToShow, this, &MainWindow::updateEditMenu);
    controller_.history().changed = [this] { historyChanged(); };
    updateEditMenu();
}

bool MainWindow::historyAvailable() const
{
    return !searchMode_ && !toolWindowOpen();
}

void MainWindow::updateEditMenu()
{
    QAction *undo = menuAction(QStringLiteral("undo"));
    QAction *redo = menuAction(QStringLiteral("redo"));
    if (!undo || !redo)
        return;
    const DocumentHistory &history = controller_.history();
    const bool available = historyAvailable();
    undo->setText(entryText(kUndo, history.undoName()));
    undo->setEnabled(available && history.canUndo());
    redo->setText(entryText(kRedo, history.redoName()));
    redo->setEnabled(available && history.canRedo());
}

void MainWindow::historyChanged()
{
    updateEditMenu();
    if (recovery_)
        recovery_->documentChanged();
}

void MainWindow::recordStep(const QString &name)
{
    controller_.recordStep(name);
    // Called as a tool window closes, too: the entries come back at once.
    updateEditMenu();
}

namespace
{
// Steps that put a new document in place of the old one, either way: the
// interval belongs to the document it was set on.
bool replacesDocument(const QString &step)
{
    return step == step_names::kNewRegistration || step == step_names::kRead;
}
} // namespace

void MainWindow::undoStep()
{
    if (!historyAvailable())
        return;
    // A drag in progress is part of the step it ends; the undo takes it back.
    drag_.active = false;
    hideReadout();
    const QString step = controller_.history().undoName();
    if (!controller_.undo())
        return;
    replacesDocument(step) ? documentReplaced() : documentChanged();
}

void MainWindow::redoStep()
{
    if (!historyAvailable())
        return;
    drag_.active = false;
    hideReadout();
    const QString step = controller_.history().redoName();
    if (!controller_.redo())
        return;
    replacesDocument(step) ? documentReplaced() : documentChanged();
}

void MainWindow::setRecovery(RecoveryKeeper *keeper)
{
    recovery_ = keeper;
}

void MainWindow::startUp(const QString &file)
{
    bool restored = false;
    if (recovery_) {
        const RecoveryOffer offer = offerRecovery(controller_, *recovery_);
        restored = offer.restored;
        followRead(offer.read);
    }
    if (file.isEmpty())
        return;
    // The command line's file would replace the restored work.
    if (restored && !settleUnsavedChanges(controller_, equationFileNames_))
        return;
    openAtStart(file);
}

} // namespace gq
