// A crash as it happens in a classroom: the program is killed right after a
// change (SIGKILL, nothing of it runs any more), started again, and the
// teacher answers 復元. The document is the same, saved file for saved file.
// The program runs as a child process with its state and settings folders
// in a temporary folder of the test's own.
#include "control/recovery_file.h"
#include "platform/text_file.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
constexpr int kTimeout = 60000; // ms; a loaded machine may start slowly

class RecoveryAfterACrash : public ::testing::Test
{
  protected:
    RecoveryAfterACrash()
    {
        env.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    QString path(const char *name) const { return home.filePath(QString::fromLatin1(name)); }
    QString folder() const { return home.filePath(QStringLiteral("state/graphotheque")); }
    QStringList filesIn(const char *pattern) const
    {
        return QDir(folder()).entryList({QString::fromLatin1(pattern)}, QDir::Files);
    }
    void start(QProcess &child, const QStringList &args)
    {
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(GRAPHOTHEQUE_RECOVERY_CHILD), args);
        ASSERT_TRUE(child.waitForStarted(kTimeout));
    }
    // Runs the child to its end; its output.
    QString run(const QStringList &args)
    {
        QProcess child;
        start(child, args);
        EXPECT_TRUE(child.waitForFinished(kTimeout));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
        return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
    }
    // Whether the recovery file in the folder holds the document of expected.
    bool recovered(const std::vector<std::string> &expected) const
    {
        for (const QString &name : filesIn("*.gtq")) {
            TextFileRead read = readTextLines(QDir(folder()).filePath(name));
            if (read.ok && read.lines.size() == expected.size() + kRecoveryTrailerLines &&
                std::equal(expected.begin(), expected.end(), read.lines.begin()))
                return true;
        }
        return false;
    }

    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
};
} // namespace

TEST_F(RecoveryAfterACrash, KilledRightAfterAChangeTheWorkIsRestored)
{
    const std::string lesson = path("lesson.gtq").toStdString();
    ASSERT_TRUE(saveTextLines(path("lesson.gtq"),
                              {"[Graphotheque Data]", "-5", "5", "-5", "5", "0", "0", "0", "0", "0", "deffunc", "1",
                               "x^2", "defconst", "0", "1", "1", "F1(x)", "", "", "", "True", "True", "255", "1"})
                    .isEmpty());

    QProcess crashing;
    start(crashing, {QStringLiteral("crash"), path("lesson.gtq"), path("expected.gtq")});
    QElapsedTimer waited;
    waited.start();
    while (!crashing.canReadLine() && waited.elapsed() < kTimeout)
        crashing.waitForReadyRead(1000);
    ASSERT_EQ(crashing.readLine().trimmed(), QByteArray("ready"));
    const TextFileRead expected = readTextLines(path("expected.gtq"));
    ASSERT_TRUE(expected.ok);
    // The change reaches the disk on its own, with no clean end to help.
    while (!recovered(expected.lines) && waited.elapsed() < kTimeout)
        QThread::msleep(20);
    ASSERT_TRUE(recovered(expected.lines));
    ASSERT_EQ(::kill(static_cast<pid_t>(crashing.processId()), SIGKILL), 0);
    ASSERT_TRUE(crashing.waitForFinished(kTimeout));
    EXPECT_EQ(crashing.exitStatus(), QProcess::CrashExit);

    // 復元: the same document, modified, under its file name, grid and all.
    EXPECT_EQ(run({QStringLiteral("restore"), path("saved.gtq")}),
              QStringLiteral("questions=1 modified=1 grid=1 path=%1").arg(path("lesson.gtq")));
    QFile saved(path("saved.gtq")), wanted(path("expected.gtq"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly) && wanted.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), wanted.readAll());
    EXPECT_TRUE(filesIn("*.gtq").isEmpty()) << "saved and quit cleanly: nothing left to recover";
    EXPECT_TRUE(filesIn("*.lock").isEmpty());

    // The next start has nothing to ask.
    EXPECT_EQ(run({QStringLiteral("fresh")}), QStringLiteral("questions=0 modified=0 grid=0 path="));
}

} // namespace gq
