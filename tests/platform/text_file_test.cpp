#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gq
{

namespace
{

using Lines = std::vector<std::string>;

TEST(SplitTextLines, CrLfOrLfEndLinesAndEverythingElseStays)
{
    EXPECT_EQ(splitTextLines("a\r\nb\nc\r\n"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitTextLines("a\r\n\r\n\nb"), (Lines{"a", "", "", "b"}));
    EXPECT_EQ(splitTextLines("x\r\ny"), (Lines{"x", "y"})); // the last line needs no terminator
    EXPECT_EQ(splitTextLines("x\r\ny\r"), (Lines{"x", "y"}));
    EXPECT_EQ(splitTextLines(""), Lines{});
    EXPECT_EQ(splitTextLines("\r\n"), Lines{""});
    // A CR inside a line is not a line end; Shift-JIS and NUL bytes pass.
    EXPECT_EQ(splitTextLines(std::string("a\rb\n\x83\xCE\0z\r\n", 10)),
              (Lines{"a\rb", std::string("\x83\xCE\0z", 4)}));
}

class TextFile : public ::testing::Test
{
  protected:
    std::string fileBytes() const
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        const QByteArray b = f.readAll();
        return std::string(b.constData(), static_cast<std::size_t>(b.size()));
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("t.txt"));
};

TEST_F(TextFile, SaveEndsEveryLineWithCrLfReadsBackAndReplacesWithoutLeftovers)
{
    ASSERT_EQ(saveTextLines(path, Lines(50, "a long old line")), QString());
    const Lines lines{"first", "", "\x83\xC6=1"};
    ASSERT_EQ(saveTextLines(path, lines), QString());
    EXPECT_EQ(fileBytes(), "first\r\n\r\n\x83\xC6=1\r\n");
    const TextFileRead back = readTextLines(path);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.lines, lines);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("t.txt")});
    const QByteArray bytes("\0\r\n\xFF", 4);
    ASSERT_EQ(saveFileBytes(path, bytes), QString());
    EXPECT_EQ(fileBytes(), std::string(bytes.constData(), 4));
}

TEST_F(TextFile, FailedSaveKeepsTheOldFile)
{
    ASSERT_EQ(saveTextLines(path, Lines{"old"}), QString());
    // A line break inside a line is refused before writing.
    EXPECT_FALSE(saveTextLines(path, Lines{"a\nb"}).isEmpty());
    EXPECT_FALSE(saveTextLines(path, Lines{"a\rb"}).isEmpty());
    EXPECT_EQ(fileBytes(), "old\r\n");
    // The target is a folder: nothing can replace it.
    const QString sub = dir.filePath(QStringLiteral("sub"));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    EXPECT_FALSE(saveTextLines(sub, Lines{"x"}).isEmpty());
    EXPECT_TRUE(QFileInfo(sub).isDir());
}

TEST_F(TextFile, ReadErrorsAreReported)
{
    const TextFileRead missing = readTextLines(dir.filePath(QStringLiteral("missing.txt")));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("missing.txt")));
    EXPECT_FALSE(readTextLines(dir.path()).ok);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(kMaxTextFileBytes + 1)); // sparse, costs no disk
    f.close();
    const TextFileRead big = readTextLines(path);
    EXPECT_FALSE(big.ok);
    EXPECT_FALSE(big.error.isEmpty());
}

TEST_F(TextFile, FilesAreReadWholeInPiecesUpToTheLimit)
{
    // Lines that cross the pieces the reader takes (64 KiB), CR LF split
    // between two of them included.
    Lines lines;
    for (int i = 0; i < 20000; ++i)
        lines.push_back(std::string(static_cast<std::size_t>(i % 37), 'x') + std::to_string(i));
    ASSERT_EQ(saveTextLines(path, lines), QString());
    ASSERT_GT(QFileInfo(path).size(), 3 * 65536);
    const TextFileRead read = readTextLines(path);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.lines, lines);
    // The largest file allowed is still read.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_TRUE(f.resize(kMaxTextFileBytes)); // zeros: a single line
    f.close();
    const TextFileRead largest = readTextLines(path);
    ASSERT_TRUE(largest.ok);
    ASSERT_EQ(largest.lines.size(), 1u);
    EXPECT_EQ(largest.lines[0].size(), static_cast<std::size_t>(kMaxTextFileBytes));
}

} // namespace

} // namespace gq
