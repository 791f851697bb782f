#include "control/recovery_keeper.h"

#include "control/recovery_file.h"
#include "model/text_check.h"

namespace gq
{

RecoveryKeeper::RecoveryKeeper(GraphController &controller, RecoveryStore &store)
    : controller_(controller), store_(store)
{
    delay_.setSingleShot(true);
    QObject::connect(&delay_, &QTimer::timeout, [this] { updateNow(); });
    check_.setInterval(kMinInterval);
    QObject::connect(&check_, &QTimer::timeout, [this] { documentChanged(); });
    if (store_.usable())
        check_.start();
}

void RecoveryKeeper::documentChanged()
{
    if (finished_ || !store_.usable())
        return;
    const qint64 since = sinceWrite_.isValid() ? sinceWrite_.elapsed() : kMinInterval;
    if (since >= kMinInterval)
        updateNow();
    else if (!delay_.isActive())
        delay_.start(static_cast<int>(kMinInterval - since));
}

void RecoveryKeeper::updateNow()
{
    if (finished_ || !store_.usable())
        return;
    delay_.stop();
    std::vector<std::string> lines;
    QString error;
    // A document that cannot be written as a file keeps the last file that
    // could: the best there is to restore.
    if (controller_.isModified() &&
        !recoveryFileLines(controller_.doc(), controller_.documentPath(), lines, error))
        return;
    if (lines == written_)
        return;
    if (lines.empty())
        store_.remove();
    else
        store_.write(lines);
    written_ = std::move(lines);
    sinceWrite_.start();
}

void RecoveryKeeper::finish()
{
    if (finished_)
        return;
    finished_ = true;
    delay_.stop();
    check_.stop();
    store_.remove();
    store_.waitIdle();
}

RecoveryOffer offerRecovery(GraphController &controller, RecoveryKeeper &keeper)
{
    RecoveryOffer offer;
    RecoveryStore &store = keeper.store();
    for (const QString &path : store.abandonedFiles()) {
        const RecoveredDocument recovered = readRecoveryFile(path);
        if (!recovered.file.ok()) {
            const QString message = recovered.file.status == LoadResult::NotEquationFile
                                        ? QStringLiteral("%1: %2").arg(path, notEquationFileMessage())
                                        : recovered.file.message;
            controller.ask().showMessage(message);
            store.removeAbandoned(path);
            continue;
        }
        const RestoreAnswer answer = controller.ask().askRestore();
        if (answer == RestoreAnswer::Discard)
            store.removeAbandoned(path);
        if (answer != RestoreAnswer::Restore)
            continue;

        applyRecoveredDocument(recovered, controller.doc());
        controller.setDocumentPath(recovered.documentPath);
        controller.markModified();
        controller.history().startFrom();
        // The work is safe in this run's file before the old one goes.
        keeper.updateNow();
        store.waitIdle();
        store.removeAbandoned(path);

        offer.restored = true;
        offer.read.unparsable = unparsableTextLines(recovered.file);
        offer.read.next = controller.refreshAfterLoad() ? AfterRead::OpenParameterWindow : AfterRead::Redraw;
        break;
    }
    return offer;
}

} // namespace gq
