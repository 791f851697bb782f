#include "render_output.h"

#include "model/text_check.h"
#include <QFileInfo>
#include <QImageWriter>

namespace gq
{

QByteArray outputFormatFor(const QString &path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix.isEmpty() || !QImageWriter::supportedImageFormats().contains(suffix))
        return {};
    return suffix;
}

QStringList unparsableTextNotes(const QString &input, const LoadResult &loaded)
{
    QStringList notes;
    for (const QString &line : unparsableTextLines(loaded))
        notes << QStringLiteral("%1: %2").arg(input, line);
    return notes;
}

} // namespace gq
