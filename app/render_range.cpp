#include "render_range.h"

#include "control/range_steps.h"
#include "engine/engine_state.h"
#include "engine/formula.h"
#include "platform/sjis.h"

namespace gq
{

namespace
{
const char *const kNames[] = {"XMIN", "XMAX", "YMIN", "YMAX"};

// A number formula may use parameters and constants, not the variables of
// curves, which would silently read as 0.
bool usesVariable(const std::string &text)
{
    for (int32_t op : {OpT, OpX, OpY, OpZ})
        if (formulaUsesLeaf(text, op))
            return true;
    return false;
}

QString shown(long double v)
{
    return QString::number(static_cast<double>(v), 'g', 15);
}
} // namespace

bool takeRangeOption(const QStringList &args, int &i, RangeTexts &texts)
{
    if (i + 4 >= args.size())
        return false;
    for (QString &text : texts)
        text = args[++i];
    return true;
}

std::optional<CoordFrame> evaluateRange(const RangeTexts &texts, const Document &doc, QString &error)
{
    EngineScope scope(&doc, doc.parameters);
    std::array<long double, 4> v{};
    for (int k = 0; k < 4; ++k) {
        const std::string text = qStringToSjis(texts[k].trimmed());
        if (text.empty() || usesVariable(text) || !formulaValue(text, v[k])) {
            error =
                QStringLiteral("--range: %1 \"%2\" is not a number").arg(QLatin1String(kNames[k]), texts[k]);
            return std::nullopt;
        }
    }
    for (int k = 0; k < 4; ++k)
        if (!(v[k] > -kFrameLimit && v[k] < kFrameLimit)) {
            error = QStringLiteral("--range: %1 = %2 is not strictly between -10000 and 10000")
                        .arg(QLatin1String(kNames[k]), shown(v[k]));
            return std::nullopt;
        }
    for (int k : {0, 2})
        if (!(v[k] < v[k + 1])) {
            error = QStringLiteral("--range: %1 = %2 is not below %3 = %4")
                        .arg(QLatin1String(kNames[k]), shown(v[k]), QLatin1String(kNames[k + 1]),
                             shown(v[k + 1]));
            return std::nullopt;
        }
    const CoordFrame frame{v[0], v[1], v[2], v[3]};
    // The checks above are the typed-bound rule, spelt out for the message.
    if (!acceptsTypedFrame(frame)) {
        error = QStringLiteral("--range: the frame is refused");
        return std::nullopt;
    }
    return frame;
}

} // namespace gq
