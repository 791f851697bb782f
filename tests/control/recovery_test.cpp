// The recovery file: what it holds, the sessions of running instances in its
// folder, when the keeper writes and removes it, and the offer at start-up.
#include "control/equation_commands.h"
#include "control/recovery_file.h"
#include "control/recovery_keeper.h"
#include "control/recovery_store.h"
#include "controller_test.h"
#include "platform/text_file.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSysInfo>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
std::vector<std::string> linesOf(const QString &path)
{
    TextFileRead read = readTextLines(path);
    return read.ok ? read.lines : std::vector<std::string>{};
}

QStringList recoveryFilesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.gtq")}, QDir::Files);
}

class Recovery : public ControllerTest
{
  protected:
    QString folder() const { return dir.filePath(QStringLiteral("state")); }
    // A recovery file as a crashed run leaves it: written by a session that
    // has ended without removing it.
    QString crashedRunFile(const Document &content, const QString &documentPath)
    {
        RecoveryStore crashed(folder());
        std::vector<std::string> lines;
        QString error;
        EXPECT_TRUE(recoveryFileLines(content, documentPath, lines, error));
        crashed.write(lines);
        crashed.waitIdle();
        return crashed.ownFile();
    }
};
} // namespace

TEST(RecoveryFile, KeepsTheDocumentItsFileAndWhatAFileDoesNot)
{
    Document doc;
    doc.itemCount = 1;
    doc.items[1] = {.kind = KindExplicit, .text = {"", "a*x^2"}, .colour = 255};
    doc.functionCount = 1;
    doc.functionTexts[1] = "x+1";
    doc.frame = {-2, 3.5L, -1, 1};
    doc.parameters['a'] = 1.5f;
    doc.parameters['j'] = 3;
    doc.parameters['s'] = 0.25f;
    doc.showGrid = 1;
    doc.showScale = 0;
    const QString file = QStringLiteral("/home/先生/授業 1/二次関数.gtq");

    std::vector<std::string> lines;
    QString error;
    ASSERT_TRUE(recoveryFileLines(doc, file, lines, error));
    std::vector<std::string> saved;
    ASSERT_TRUE(equationFileLines(doc, saved, error));
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), lines.begin())) << "an equation file first";

    const RecoveredDocument read = readRecoveryLines(lines);
    ASSERT_TRUE(read.file.ok());
    EXPECT_TRUE(read.hasTrailer);
    EXPECT_EQ(read.documentPath, file);
    Document restored;
    applyRecoveredDocument(read, restored);
    std::vector<std::string> again;
    ASSERT_TRUE(recoveryFileLines(restored, file, again, error));
    EXPECT_EQ(again, lines);
    EXPECT_EQ(restored.showGrid, 1);
    EXPECT_EQ(restored.parameters['s'], 0.25f);

    // An equation file reads it as it is; a broken trailer keeps the document.
    EXPECT_TRUE(readEquationLines(lines).ok());
    lines[lines.size() - 3] = "many";
    const RecoveredDocument broken = readRecoveryLines(lines);
    EXPECT_TRUE(broken.file.ok());
    EXPECT_FALSE(broken.hasTrailer);
    EXPECT_TRUE(broken.documentPath.isEmpty());
}

TEST_F(Recovery, EachRunningInstanceHasAFileOfItsOwn)
{
    RecoveryStore first(folder()), second(folder());
    ASSERT_TRUE(first.usable() && second.usable());
    EXPECT_NE(first.ownFile(), second.ownFile());
    first.write({"first"});
    second.write({"second"});
    first.waitIdle();
    second.waitIdle();
    EXPECT_EQ(linesOf(first.ownFile()), std::vector<std::string>{"first"});
    EXPECT_EQ(linesOf(second.ownFile()), std::vector<std::string>{"second"});
    // Neither offers the other's work while it runs, however long.
    EXPECT_TRUE(first.abandonedFiles().isEmpty());
    EXPECT_TRUE(second.abandonedFiles().isEmpty());

    // The latest request wins; a removal removes.
    first.write({"old"});
    first.write({"new"});
    first.waitIdle();
    EXPECT_EQ(linesOf(first.ownFile()), std::vector<std::string>{"new"});
    first.remove();
    first.waitIdle();
    EXPECT_FALSE(QFile::exists(first.ownFile()));

    // A folder that cannot be made: nothing kept, nothing fails.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    RecoveryStore nowhere(blocker.fileName() + QStringLiteral("/state"));
    EXPECT_FALSE(nowhere.usable());
    nowhere.write({"x"});
    EXPECT_TRUE(nowhere.abandonedFiles().isEmpty());
}

// After a power cut the computer starts afresh, and the program may well get
// the process number the crashed run had: that run's file is still offered.
TEST_F(Recovery, AFileOfAnEarlierRunWithThisProcessNumberIsOffered)
{
    Document work;
    const QString left = crashedRunFile(work, QString());
    // Its lock as the crashed run held it, with this process's number and name.
    QFile lock(left.chopped(4) + QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
               QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n');
    lock.close();

    RecoveryStore store(folder());
    EXPECT_EQ(store.abandonedFiles(), QStringList{QFileInfo(left).absoluteFilePath()});
}

TEST_F(Recovery, TheKeeperWritesChangesAndRemovesTheFileWhenNothingIsUnsaved)
{
    RecoveryStore store(folder());
    RecoveryKeeper keeper(controller, store);
    controller.history().changed = [&] { keeper.documentChanged(); };
    const auto written = [&] {
        store.waitIdle();
        return readRecoveryFile(store.ownFile());
    };

    registerItem(KindExplicit, {"x^2"});
    RecoveredDocument r = written();
    ASSERT_TRUE(r.file.ok()) << "written at once after the first change";
    EXPECT_EQ(r.file.document.items[1].text[1], "x^2");

    // Within 2 s of that write the next change waits, then follows.
    registerItem(KindExplicit, {"x+1"});
    EXPECT_EQ(written().file.document.itemCount, 1);
    QElapsedTimer waited;
    waited.start();
    while (written().file.document.itemCount != 2 && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(written().file.document.itemCount, 2);

    // Saved: nothing to recover.
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));
    keeper.updateNow();
    store.waitIdle();
    EXPECT_FALSE(QFile::exists(store.ownFile()));
    // Changed and undone back to the saved state: nothing either.
    registerItem(KindExplicit, {"x+2"});
    keeper.updateNow();
    EXPECT_TRUE(written().file.ok());
    ASSERT_TRUE(controller.undo());
    keeper.updateNow();
    store.waitIdle();
    EXPECT_FALSE(QFile::exists(store.ownFile()));

    // A clean quit removes it for good.
    registerItem(KindExplicit, {"x+3"});
    keeper.updateNow();
    keeper.finish();
    EXPECT_FALSE(QFile::exists(store.ownFile()));
    registerItem(KindExplicit, {"x+4"});
    keeper.updateNow();
    store.waitIdle();
    EXPECT_FALSE(QFile::exists(store.ownFile()));
}

TEST_F(Recovery, RestoreOpensTheWorkModifiedUnderItsFileName)
{
    Document work;
    work.itemCount = 1;
    work.items[1] = {.kind = KindExplicit, .text = {"", "a*x"}, .colour = 255};
    work.parameters['a'] = 2;
    work.showGrid = 1;
    const QString crashed = crashedRunFile(work, path("lesson.gtq"));

    RecoveryStore store(folder());
    RecoveryKeeper keeper(controller, store);
    ask.restoreAnswers = {RestoreAnswer::Restore};
    const RecoveryOffer offer = offerRecovery(controller, keeper);
    EXPECT_EQ(ask.restoreQuestions, 1);
    ASSERT_TRUE(offer.restored);
    EXPECT_EQ(offer.read.next, AfterRead::OpenParameterWindow) << "a*x uses a parameter";
    EXPECT_TRUE(sameContent(doc, work));
    EXPECT_TRUE(controller.isModified());
    EXPECT_EQ(controller.documentPath(), path("lesson.gtq"));
    EXPECT_FALSE(controller.history().canUndo()) << "the history starts at the restored work";
    EXPECT_FALSE(QFile::exists(crashed));
    EXPECT_EQ(recoveryFilesIn(folder()), QStringList{QFileInfo(store.ownFile()).fileName()})
        << "the work is in this run's file";
}

TEST_F(Recovery, DiscardKeepAndUnreadableFiles)
{
    Document work;
    work.frame.xmax = 8;
    const QString keptForLater = crashedRunFile(work, QString());
    const QString discarded = crashedRunFile(work, QString());
    // Newest first: the unreadable one is met first and reported.
    const QString unreadable = crashedRunFile(work, QString());
    ASSERT_TRUE(saveTextLines(unreadable, {kEquationFileMarker, "-5", "five"}).isEmpty());
    const auto age = [](const QString &file, int seconds) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds), QFileDevice::FileModificationTime);
    };
    age(keptForLater, 30);
    age(discarded, 20);

    {
        RecoveryStore store(folder());
        RecoveryKeeper keeper(controller, store);
        ask.restoreAnswers = {RestoreAnswer::Discard, RestoreAnswer::Keep};
        const RecoveryOffer offer = offerRecovery(controller, keeper);
        EXPECT_FALSE(offer.restored);
        ASSERT_EQ(ask.messages.size(), 1u);
        EXPECT_EQ(ask.messages[0], QStringLiteral("3行目: 数値ではありません"));
        EXPECT_EQ(ask.restoreQuestions, 2);
        EXPECT_FALSE(QFile::exists(unreadable));
        EXPECT_FALSE(QFile::exists(discarded));
        EXPECT_TRUE(QFile::exists(keptForLater));
        EXPECT_EQ(doc.frame, CoordFrame{}) << "nothing restored";
        EXPECT_FALSE(controller.isModified());
    }
    // Offered again at the next start.
    RecoveryStore next(folder());
    EXPECT_EQ(next.abandonedFiles(), QStringList{QFileInfo(keptForLater).absoluteFilePath()});
}

} // namespace gq
