#include "platform/image_file.h"

#include "platform/text_file.h"
#include <QBuffer>

namespace gq
{

QString saveImageFile(const QImage &picture, const QString &path, const char *format)
{
    // Encoded in memory first: a picture that cannot be encoded never
    // replaces a file, and the bytes then go through the atomic save.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, format))
        return QStringLiteral("%1: 画像を作成できません").arg(path);
    return saveFileBytes(path, bytes);
}

} // namespace gq
