#include "display_options.h"

#include "platform/number_text.h"

namespace gq
{

namespace
{
const QString kTextSize = QStringLiteral("--text-size");
const QString kPixelRatio = QStringLiteral("--pixel-ratio");
constexpr double kMaxPixelRatio = 4;

QString optionError(const QString &option, const QString &why)
{
    return QStringLiteral("graphotheque-render: %1: %2").arg(option, why);
}

QString readTextSize(const QString &value, DisplayOptions &options)
{
    const std::optional<TextSize> size = textSizeNamed(value.toStdString());
    if (!size)
        return optionError(kTextSize,
                           QStringLiteral("unknown size '%1' (standard, large or extra-large)").arg(value));
    options.textSize = *size;
    return {};
}

QString readPixelRatio(const QString &value, DisplayOptions &options)
{
    long double ratio = 0;
    if (!parseReal(value.toStdString(), ratio) || !(ratio >= 1 && ratio <= kMaxPixelRatio))
        return optionError(kPixelRatio, QStringLiteral("'%1' is not a number from 1 to 4").arg(value));
    options.pixelRatio = static_cast<double>(ratio);
    return {};
}
} // namespace

QString displayOptionsUsage()
{
    return QStringLiteral(
               "  --text-size SIZE   tick labels standard, large (1.5 times) or extra-large (twice)\n"
               "  --pixel-ratio R    R picture pixels to a pixel of the graph, R from 1 to 4: the\n"
               "                     picture is N times R square (at most %1), pens and text grow\n")
        .arg(4096);
}

QString takeDisplayOptions(QStringList &args, DisplayOptions &options)
{
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool textSize = arg == kTextSize || arg.startsWith(kTextSize + QLatin1Char('='));
        const bool pixelRatio = arg == kPixelRatio || arg.startsWith(kPixelRatio + QLatin1Char('='));
        if (!textSize && !pixelRatio) {
            rest << arg;
            continue;
        }
        const QString &option = textSize ? kTextSize : kPixelRatio;
        QString value;
        if (arg == option) {
            if (i + 1 >= args.size())
                return optionError(option, QStringLiteral("a value is missing"));
            value = args[++i];
        } else {
            value = arg.mid(option.size() + 1);
        }
        if (QString error = textSize ? readTextSize(value, options) : readPixelRatio(value, options);
            !error.isEmpty())
            return error;
    }
    args = rest;
    return {};
}

} // namespace gq
