#include "control/recovery_store.h"

#include "platform/text_file.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace gq
{

namespace
{
const QString kRecoverySuffix = QStringLiteral(".gtq");
const QString kLockSuffix = QStringLiteral(".lock");

QString lockFileOf(const QString &recoveryFile)
{
    return recoveryFile.left(recoveryFile.size() - kRecoverySuffix.size()) + kLockSuffix;
}

// A lock that counts as held for as long as its process lives, however old
// it is (the toolkit's default would take a lock untouched for 30 s as
// stale and so let a second instance take over a running one's file).
std::unique_ptr<QLockFile> tryLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

// Whether a live process holds the lock file at path. The toolkit's lock
// holds a lock of the system on the file for as long as it is locked, and
// the system lets it go when the process ends, however it ends. Asking the
// system matters when the process number written in the file now belongs
// to another program's run, or to this very one (after a power cut the
// computer starts afresh and hands out the same numbers again).
bool heldByALiveProcess(const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
#else
    Q_UNUSED(path);
    return true; // only the toolkit's own judgement, by the process number
#endif
}

// The lock of a session that has ended, now this session's; null while the
// session lives.
std::unique_ptr<QLockFile> claim(const QString &path)
{
    if (auto lock = tryLock(path))
        return lock;
    if (heldByALiveProcess(path))
        return nullptr;
    QLockFile(path).removeStaleLockFile();
    return tryLock(path);
}
} // namespace

QString defaultRecoveryFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    const QString state = QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation);
#else
    // This toolkit version names no state folder: the XDG rule itself.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QStringLiteral("/.local/state");
#endif
    return state + QStringLiteral("/graphotheque");
}

RecoveryStore::RecoveryStore(const QString &folder) : folder_(folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    // The process number and a random part: unique among the instances that
    // run at once and unlikely to meet a file left by an earlier one.
    const QString name = QStringLiteral("session-%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QString base = QDir(folder).filePath(name);
    lock_ = tryLock(base + kLockSuffix);
    if (!lock_)
        return;
    ownFile_ = base + kRecoverySuffix;
    worker_ = std::thread([this] { run(); });
}

RecoveryStore::~RecoveryStore()
{
    if (worker_.joinable()) {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        worker_.join();
    }
    claimed_.clear();
    lock_.reset();
}

void RecoveryStore::write(std::vector<std::string> lines)
{
    if (!usable())
        return;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        request_ = Request::Write;
        lines_ = std::move(lines);
    }
    wake_.notify_all();
}

void RecoveryStore::remove()
{
    if (!usable())
        return;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        request_ = Request::Remove;
        lines_.clear();
    }
    wake_.notify_all();
}

void RecoveryStore::waitIdle()
{
    std::unique_lock<std::mutex> guard(mutex_);
    idle_.wait(guard, [this] { return request_ == Request::None && !busy_; });
}

void RecoveryStore::run()
{
    std::unique_lock<std::mutex> guard(mutex_);
    for (;;) {
        wake_.wait(guard, [this] { return request_ != Request::None || stopping_; });
        if (request_ == Request::None)
            return; // stopping, nothing left to do
        const Request request = request_;
        std::vector<std::string> lines = std::move(lines_);
        request_ = Request::None;
        busy_ = true;
        guard.unlock();
        // A failure leaves the previous file (or none): a later change tries
        // again, and the work itself is never touched.
        if (request == Request::Write)
            saveTextLines(ownFile_, lines);
        else
            QFile::remove(ownFile_);
        guard.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

QStringList RecoveryStore::abandonedFiles()
{
    if (!usable())
        return {};
    QDir dir(folder_);
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*") + kRecoverySuffix}, QDir::Files, QDir::Time);
    QStringList found;
    for (const QFileInfo &file : files) {
        const QString path = file.absoluteFilePath();
        if (path == QFileInfo(ownFile_).absoluteFilePath())
            continue;
        if (claimed_.count(path)) {
            found << path;
            continue;
        }
        // A lock no live process holds: its run ended without removing the file.
        if (auto lock = claim(lockFileOf(path))) {
            claimed_[path] = std::move(lock);
            found << path;
        }
    }
    return found;
}

void RecoveryStore::removeAbandoned(const QString &path)
{
    auto it = claimed_.find(path);
    if (it == claimed_.end())
        return;
    QFile::remove(path);
    claimed_.erase(it); // unlocking removes the lock file
}

} // namespace gq
