#include "param_options.h"

#include "platform/number_text.h"
#include <cfloat>
#include <cmath>
#include <numbers>

namespace gq
{

namespace
{
const QString kOption = QStringLiteral("--param");
// j and n: single precision holds every integer up to here.
constexpr int kIntegerLimit = 16777216;

QString settingError(const QString &setting, const QString &why)
{
    return QStringLiteral("graphotheque-render: --param %1: %2").arg(setting, why);
}

// One NAME=VALUE; an empty text when it is good.
QString readSetting(const QString &setting, ParamSetting &out)
{
    const qsizetype equals = setting.indexOf(QLatin1Char('='));
    if (equals < 0)
        return settingError(setting, QStringLiteral("expected NAME=VALUE"));
    const QString name = setting.left(equals);
    const std::string text = setting.mid(equals + 1).toStdString();
    static const QStringList reals{"a", "b", "c", "d", "f"};
    if (name == QLatin1String("j") || name == QLatin1String("n")) {
        int value = 0;
        if (!parseInteger(text, value) || value < -kIntegerLimit || value > kIntegerLimit)
            return settingError(setting, QStringLiteral("%1 takes an integer from %2 to %3")
                                             .arg(name)
                                             .arg(-kIntegerLimit)
                                             .arg(kIntegerLimit));
        out = {name.at(0).toLatin1(), static_cast<float>(value)};
        return {};
    }
    const bool theta = name == QLatin1String("theta");
    if (!theta && !reals.contains(name))
        return settingError(
            setting, QStringLiteral("unknown parameter '%1' (a, b, c, d, f, j, n or theta)").arg(name));
    long double value = 0;
    if (!parseReal(text, value))
        return settingError(setting,
                            QStringLiteral("'%1' is not a number").arg(QString::fromStdString(text)));
    if (theta)
        value *= std::numbers::pi_v<long double>;
    // Parameters are held in single precision.
    if (!(std::fabs(value) <= FLT_MAX))
        return settingError(setting, QStringLiteral("the value does not fit in single precision"));
    out = {theta ? 's' : name.at(0).toLatin1(), static_cast<float>(value)};
    return {};
}
} // namespace

QString takeParamOptions(QStringList &args, std::vector<ParamSetting> &settings)
{
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString setting;
        if (args[i] == kOption) {
            if (i + 1 >= args.size())
                return QStringLiteral("graphotheque-render: --param needs NAME=VALUE");
            setting = args[++i];
        } else if (args[i].startsWith(kOption + QLatin1Char('='))) {
            setting = args[i].mid(kOption.size() + 1);
        } else {
            rest << args[i];
            continue;
        }
        ParamSetting read;
        if (QString error = readSetting(setting, read); !error.isEmpty())
            return error;
        settings.push_back(read);
    }
    args = rest;
    return {};
}

void applyParamSettings(const std::vector<ParamSetting> &settings, Parameters &values)
{
    for (const ParamSetting &s : settings)
        values[s.letter] = s.value;
}

} // namespace gq
