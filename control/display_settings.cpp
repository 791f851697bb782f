#include "control/display_settings.h"

#include <QSettings>
#include <QString>

namespace gq
{

namespace
{
const QString kTextSizeKey = QStringLiteral("display/textSize");

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

} // namespace gq
