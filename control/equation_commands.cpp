#include "control/equation_commands.h"

#include "model/equation_file.h"
#include "model/text_check.h"

namespace gq
{

bool saveEquations(GraphController &controller, const QString &path)
{
    const QString error = saveEquationFile(path, controller.doc());
    if (error.isEmpty()) {
        controller.markUnmodified();
        controller.setDocumentPath(path);
        return true;
    }
    controller.ask().showMessage(error);
    return false;
}

namespace
{
// Puts a read file into the document, or reports why it could not be read.
LoadOutcome take(GraphController &controller, const QString &path, const LoadResult &result,
               QStringList *unparsable)
{
    switch (result.status) {
    case LoadResult::Loaded:
        applyEquationFile(result, controller.doc());
        controller.markUnmodified();
        controller.setDocumentPath(path);
        controller.recordStep(step_names::kRead);
        if (unparsable)
            *unparsable = unparsableTextLines(result);
        return LoadOutcome::Loaded;
    case LoadResult::NotEquationFile:
        return LoadOutcome::NotOurs;
    case LoadResult::Refused:
    case LoadResult::ReadError:
        break;
    }
    controller.ask().showMessage(result.message);
    return LoadOutcome::Failed;
}

// The refresh after a read (read: a file was taken).
ReadOutcome refresh(GraphController &controller, bool read, const QStringList &unparsable)
{
    ReadOutcome outcome;
    outcome.unparsable = unparsable;
    if (controller.refreshAfterLoad())
        outcome.next = AfterRead::OpenParameterWindow;
    else if (read)
        outcome.next = AfterRead::Redraw;
    return outcome;
}
} // namespace

LoadOutcome loadEquations(GraphController &controller, const QString &path, QStringList *unparsable)
{
    return take(controller, path, loadEquationFile(path), unparsable);
}

ReadOutcome readEquationsAndRefresh(GraphController &controller, const QString &path)
{
    QStringList unparsable;
    // A file that is not ours or that could not be read leaves the document
    // and its display exactly as they were.
    if (!path.isEmpty() && loadEquations(controller, path, &unparsable) != LoadOutcome::Loaded)
        return {};
    return refresh(controller, !path.isEmpty(), unparsable);
}

bool saveEquationsCommand(GraphController &controller, const EquationFileNames &names)
{
    const QString path = names.forSaving ? names.forSaving() : QString();
    return !path.isEmpty() && saveEquations(controller, path);
}

bool settleUnsavedChanges(GraphController &controller, const EquationFileNames &names)
{
    if (!controller.isModified())
        return true;
    switch (controller.ask().askSaveChanges()) {
    case SaveChangesAnswer::Save:
        return saveEquationsCommand(controller, names);
    case SaveChangesAnswer::DontSave:
        return true;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return false;
}

ReadOutcome readEquationsCommand(GraphController &controller, const EquationFileNames &names)
{
    if (!settleUnsavedChanges(controller, names))
        return {};
    const QString path = names.forReading ? names.forReading() : QString();
    return readEquationsAndRefresh(controller, path);
}

ReadOutcome openEquationsAtStart(GraphController &controller, const QString &path)
{
    if (path.isEmpty())
        return {};
    const LoadResult result = loadEquationFile(path);
    if (result.status == LoadResult::NotEquationFile) {
        controller.ask().showMessage(QStringLiteral("%1: %2").arg(path, notEquationFileMessage()));
        return {};
    }
    QStringList unparsable;
    if (take(controller, path, result, &unparsable) != LoadOutcome::Loaded)
        return {};
    return refresh(controller, true, unparsable);
}

QString notEquationFileMessage()
{
    return QStringLiteral("1行目: 式ファイルではありません");
}

} // namespace gq
