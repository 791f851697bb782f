// graphotheque-render: what the output file's extension asks for, and the
// notes on texts of the input that cannot be drawn.
#pragma once

#include "model/equation_file.h"
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace gq
{

// The image format that path's extension names, among those Qt can write
// (bmp, png, jpg, jpeg, ppm, ...; case does not matter), as Qt names it;
// empty when there is no extension or Qt cannot write that format.
QByteArray outputFormatFor(const QString &path);

// One note per text of a read file that does not parse, in line order:
// "INPUT: N行目: 式が正しくありません". The rest of the document is still drawn.
QStringList unparsableTextNotes(const QString &input, const LoadResult &loaded);

} // namespace gq
