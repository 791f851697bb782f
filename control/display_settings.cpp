#include "control/display_settings.h"

#include <QSettings>
#include <QString>

namespace gq
{

namespace
{
const QString kTextSizeKey = QStringLiteral("display/textSize");
const QString kGeometryKey = QStringLiteral("mainWindow/geometry");
const QString kMaximizedKey = QStringLiteral("mainWindow/maximized");

QSettings settings()
{
    return QSettings(QStringLiteral("Graphotheque"), QStringLiteral("Graphotheque"));
}
} // namespace

TextSize storedTextSize()
{
    const QString name = settings().value(kTextSizeKey).toString();
    return textSizeNamed(name.toStdString()).value_or(TextSize::Standard);
}

void storeTextSize(TextSize size)
{
    QSettings s = settings();
    s.setValue(kTextSizeKey, QString::fromLatin1(textSizeName(size)));
    s.sync();
}

std::optional<WindowPlace> storedMainWindowPlace()
{
    const QSettings s = settings();
    const QRect geometry = s.value(kGeometryKey).toRect();
    if (!geometry.isValid() || geometry.isEmpty())
        return std::nullopt;
    return WindowPlace{geometry, s.value(kMaximizedKey).toBool()};
}

void storeMainWindowPlace(QRect geometry, bool maximized)
{
    QSettings s = settings();
    s.setValue(kGeometryKey, geometry);
    s.setValue(kMaximizedKey, maximized);
    s.sync();
}

} // namespace gq
