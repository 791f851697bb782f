#include "control/graph_export.h"

#include "platform/image_file.h"
#include <QFileInfo>
#include <algorithm>

namespace gq
{

namespace
{
constexpr GraphFileFormat kFormats[] = {
    {"ビットマップ (*.bmp)", "BMP", "bmp"},
    {"PNG画像 (*.png)", "PNG", "png"},
};

const GraphFileFormat &formatAt(int index)
{
    return kFormats[std::clamp(index, 0, static_cast<int>(std::size(kFormats)) - 1)];
}
} // namespace

std::span<const GraphFileFormat> graphFileFormats()
{
    return kFormats;
}

QStringList graphFileFilters()
{
    QStringList filters;
    for (const GraphFileFormat &f : kFormats)
        filters << QString::fromUtf8(f.filter);
    return filters;
}

QString graphFilePath(const GraphFileChoice &choice)
{
    if (choice.path.isEmpty())
        return {};
    const QString wanted = QString::fromLatin1(formatAt(choice.format).suffix);
    const QFileInfo info(choice.path);
    const QString suffix = info.suffix();
    if (suffix.compare(wanted, Qt::CaseInsensitive) == 0)
        return choice.path;
    for (const GraphFileFormat &f : kFormats)
        if (suffix.compare(QString::fromLatin1(f.suffix), Qt::CaseInsensitive) == 0)
            return choice.path.left(choice.path.size() - suffix.size()) + wanted;
    const bool endsInDot = choice.path.endsWith(QLatin1Char('.'));
    return choice.path + (endsInDot ? QString() : QStringLiteral(".")) + wanted;
}

QString saveGraphPicture(const QImage &picture, const GraphFileChoice &choice)
{
    const QString path = graphFilePath(choice);
    if (path.isEmpty())
        return {};
    return saveImageFile(picture.convertToFormat(QImage::Format_RGB888), path,
                         formatAt(choice.format).format);
}

} // namespace gq
