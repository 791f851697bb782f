// Writing a picture to a file, whole or not at all.
#pragma once

#include <QImage>
#include <QString>

namespace gq
{

// Encodes picture in format ("BMP", "PNG", ...) and writes it to path
// atomically: a failure leaves any previous file at path as it was. Returns
// an empty string on success, otherwise a Japanese message naming the file.
QString saveImageFile(const QImage &picture, const QString &path, const char *format);

} // namespace gq
