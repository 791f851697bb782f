// The folder of recovery files and this run's own file in it. Every running
// instance of the program has a session of its own: a recovery file and a
// lock file of the same name, the lock held for as long as it runs. So two
// instances never write the same file, and a file whose lock no live
// process holds was left by a run that ended without a clean quit.
//
// Writing happens on a thread of the store's own, so that a slow disk never
// holds up the window: write hands over the lines and returns at once. The
// latest request wins (a write not yet begun is replaced by a newer write or
// by remove); every write is atomic, so the file always holds one whole
// document.
#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gq
{

// The folder of the recovery files in the user's state folder
// ($XDG_STATE_HOME, by default ~/.local/state, then "graphotheque").
QString defaultRecoveryFolder();

class RecoveryStore
{
  public:
    // Makes folder when it is missing and takes a new session in it. When
    // that fails the store is not usable and every call does nothing.
    explicit RecoveryStore(const QString &folder);
    // Finishes the request in hand, then gives the session (and any claimed
    // file still kept) up.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    bool usable() const { return static_cast<bool>(lock_); }
    const QString &folder() const { return folder_; }
    // This session's recovery file.
    const QString &ownFile() const { return ownFile_; }

    // Writes lines (each ended by CR LF) to the own file, in the background.
    void write(std::vector<std::string> lines);
    // Removes the own file, in the background, after any write before it.
    void remove();
    // Waits until every request has been carried out.
    void waitIdle();

    // The recovery files that ended runs left behind, newest first. Each is
    // claimed by this session (no other instance offers it) until it is
    // removed with removeAbandoned or the store ends.
    QStringList abandonedFiles();
    void removeAbandoned(const QString &path);

  private:
    enum class Request { None, Write, Remove };
    void run();

    QString folder_;
    QString ownFile_;
    std::unique_ptr<QLockFile> lock_;
    std::map<QString, std::unique_ptr<QLockFile>> claimed_; // abandoned file -> its lock

    std::mutex mutex_;
    std::condition_variable wake_; // a request or the end
    std::condition_variable idle_; // a request carried out
    Request request_ = Request::None;
    std::vector<std::string> lines_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace gq
