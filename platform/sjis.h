// Conversion between the program's Shift-JIS formula texts and QString, for
// showing formulas and file names in windows.
//
// Formula texts are ASCII apart from π (bytes 0x83 0xCE, U+03C0) and θ (bytes
// 0x83 0xC6, U+03B8); those two convert both ways exactly. Anything else that
// is not ASCII is mapped so that it can never turn into a formula character:
//   bytes to QString: a single-byte half-width katakana (0xA1..0xDF) becomes
//     U+FF61..U+FF9F; any other two-byte character (lead 0x81..0x9F or
//     0xE0..0xFC followed by a byte) and any stray byte become U+FFFD, one per
//     character;
//   QString to bytes: any character other than ASCII, π and θ becomes "?",
//     which no formula accepts.
#pragma once

#include <QString>
#include <string>

namespace gq
{

QString sjisToQString(const std::string &bytes);
std::string qStringToSjis(const QString &text);

} // namespace gq
