// Line-oriented text files kept as bytes. The program's texts are Shift-JIS
// byte strings; no decoding happens here.
//
// Reading accepts lines ended by CR LF or by LF alone; the terminator is not
// part of the line, and a last line without terminator still counts. Writing
// ends every line with CR LF and is atomic: the lines go to a temporary file in
// the target's folder, which replaces the target only after everything has been
// written and flushed. A failed save leaves the previous file as it was.
//
// Errors are returned as short Japanese messages ready to be shown.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

namespace gq
{

// Files larger than this are refused when reading (no text file of the
// program comes close; it keeps a stray huge file from filling memory).
inline constexpr qint64 kMaxTextFileBytes = 16 * 1024 * 1024;

struct TextFileRead {
    bool ok = false;
    std::vector<std::string> lines; // without terminators; line n is lines[n - 1]
    QString error;                  // set when !ok
};

// Reads the whole file at path.
TextFileRead readTextLines(const QString &path);

// Splits bytes into lines by the reading rules above.
std::vector<std::string> splitTextLines(const std::string &bytes);

// Writes bytes atomically to path, as saveTextLines does (also used for
// pictures). Returns an empty string on success, otherwise the message.
QString saveFileBytes(const QString &path, const QByteArray &bytes);

// Writes lines (each followed by CR LF) atomically to path. Returns an empty
// string on success, otherwise the message. A line must not contain CR or LF;
// such input is refused before anything is written.
QString saveTextLines(const QString &path, const std::vector<std::string> &lines);

} // namespace gq
