#include "ui/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
using Lines = std::vector<std::string>;

std::string ReadBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

TEST(SplitTextLines, AcceptsCrLfAndLf)
{
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\r\n"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\n\nb"), (Lines{"a", "", "", "b"}));
}

TEST(SplitTextLines, LastLineWithoutTerminatorCounts)
{
    EXPECT_EQ(SplitTextLines("x\r\ny"), (Lines{"x", "y"}));
    EXPECT_EQ(SplitTextLines("x\r\ny\r"), (Lines{"x", "y"}));
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(SplitTextLines("\r\n"), Lines{""});
}

TEST(SplitTextLines, KeepsBytesInsideLines)
{
    // A CR inside a line is not a line end; Shift-JIS and NUL bytes pass.
    std::string bytes("a\rb\n\x83\xCE\0z\r\n", 10);
    Lines lines = SplitTextLines(bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "a\rb");
    EXPECT_EQ(lines[1], std::string("\x83\xCE\0z", 4));
}

TEST(TextFile, SaveEndsEveryLineWithCrLfAndReadsBack)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("t.txt"));
    Lines lines{"first", "", "\x83\xC6=1"};
    ASSERT_EQ(SaveTextLines(path, lines), QString());
    EXPECT_EQ(ReadBytes(path), "first\r\n\r\n\x83\xC6=1\r\n");
    TextFileRead back = ReadTextLines(path);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.lines, lines);
}

TEST(TextFile, SaveReplacesTheOldFileWithoutLeftovers)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("t.txt"));
    ASSERT_EQ(SaveTextLines(path, Lines(50, "a long old line")), QString());
    ASSERT_EQ(SaveTextLines(path, Lines{"new"}), QString());
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("t.txt")});
}

TEST(TextFile, LineBreakInsideALineIsRefusedBeforeWriting)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("t.txt"));
    ASSERT_EQ(SaveTextLines(path, Lines{"old"}), QString());
    EXPECT_FALSE(SaveTextLines(path, Lines{"a\nb"}).isEmpty());
    EXPECT_FALSE(SaveTextLines(path, Lines{"a\rb"}).isEmpty());
    EXPECT_EQ(ReadBytes(path), "old\r\n");
}

TEST(TextFile, ErrorsAreReported)
{
    QTemporaryDir dir;
    TextFileRead missing = ReadTextLines(dir.filePath(QStringLiteral("missing.txt")));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("missing.txt")));

    TextFileRead folder = ReadTextLines(dir.path());
    EXPECT_FALSE(folder.ok);

    // The target is a folder: nothing can replace it.
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    EXPECT_FALSE(SaveTextLines(dir.filePath(QStringLiteral("sub")), Lines{"x"}).isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("sub"))).isDir());
}

TEST(TextFile, OversizedFileIsRefused)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("big.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(kMaxTextFileBytes + 1)); // sparse, costs no disk
    f.close();
    TextFileRead r = ReadTextLines(path);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}
} // namespace

namespace
{
TEST(TextFile, SaveFileBytesWritesBytesExactly)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("b.bin"));
    QByteArray bytes("\0\r\n\xFF", 4);
    ASSERT_EQ(SaveFileBytes(path, bytes), QString());
    EXPECT_EQ(ReadBytes(path), std::string(bytes.constData(), 4));
}
} // namespace
