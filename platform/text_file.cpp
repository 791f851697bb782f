#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace gq
{

namespace
{
QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}
} // namespace

std::vector<std::string> splitTextLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        // A CR right before the terminator belongs to it. A CR at the very end
        // of an unterminated last line is a CR LF cut short: drop it as well.
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        lines.emplace_back(bytes, start, stop - start);
        start = next;
    }
    return lines;
}

TextFileRead readTextLines(const QString &path)
{
    TextFileRead result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("ファイルを開けません: %1").arg(fileName(path));
        return result;
    }
    // size() is 0 for pipes and similar; the read below is bounded anyway.
    if (file.size() > kMaxTextFileBytes) {
        result.error = QStringLiteral("ファイルが大きすぎます: %1").arg(fileName(path));
        return result;
    }
    // Read in pieces, so that the memory taken follows the file's size: a
    // single read of the largest size allowed would reserve all of it for
    // every file.
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(std::min<qint64>(file.size(), kMaxTextFileBytes) + 1));
    char piece[kPiece];
    for (;;) {
        const qint64 n = file.read(piece, kPiece);
        if (n < 0 || file.error() != QFileDevice::NoError) {
            result.error = QStringLiteral("ファイルを読み込めません: %1").arg(fileName(path));
            return result;
        }
        if (n == 0)
            break;
        if (bytes.size() + n > kMaxTextFileBytes) {
            result.error = QStringLiteral("ファイルが大きすぎます: %1").arg(fileName(path));
            return result;
        }
        bytes.append(piece, static_cast<qsizetype>(n));
    }
    result.lines = splitTextLines(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    result.ok = true;
    return result;
}

QString saveTextLines(const QString &path, const std::vector<std::string> &lines)
{
    for (const std::string &line : lines)
        if (line.find_first_of("\r\n") != std::string::npos)
            return QStringLiteral("改行を含む行は保存できません");

    QByteArray bytes;
    for (const std::string &line : lines) {
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes.append("\r\n", 2);
    }
    return saveFileBytes(path, bytes);
}

QString saveFileBytes(const QString &path, const QByteArray &bytes)
{
    // QSaveFile never falls back to writing the target in place (the direct
    // write fallback stays off), so an unwritable folder is an error rather
    // than a half-written file. The file is unbuffered on purpose: a buffered
    // QSaveFile (Qt 6.4) can meet a short write only while committing and then
    // still reports success, replacing the target with a cut-off file. Without
    // the buffer every short write shows here, before anything is committed.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QStringLiteral("ファイルを作成できません: %1").arg(fileName(path));
    qsizetype done = 0;
    while (done < bytes.size()) {
        qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            file.cancelWriting();
            return QStringLiteral("ファイルに書き込めません: %1").arg(fileName(path));
        }
        done += static_cast<qsizetype>(n);
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        return QStringLiteral("ファイルに書き込めません: %1").arg(fileName(path));
    return QString();
}

} // namespace gq
