#include "control/range_steps.h"

#include "engine/engine_state.h"
#include "engine/formula.h"
#include "render/graph_view.h"
#include <cmath>

namespace gq
{

namespace
{
constexpr int kPlainNumberLayout = 2;

// The step of one axis: 5 % of the span. From a step of 1 on, the bounds and
// the step are whole numbers, so a wide frame keeps whole-number bounds.
float axisStep(float &lo, float &hi, float span)
{
    float step = static_cast<float>(0.05L * span);
    if (step >= 1) {
        lo = std::nearbyint(lo);
        hi = std::nearbyint(hi);
        step = std::nearbyint(step);
    }
    return step;
}

bool withinStepLimits(float a, float b, float c, float d)
{
    // The differences are taken in extended precision, as the bounds are
    // stored, so a span of exactly 0.04 in floats is not lost to rounding.
    const long double lo = -kFrameLimit, hi = kFrameLimit;
    return b <= hi && a >= lo && d <= hi && c >= lo && static_cast<long double>(b) - a >= kMinStepSpan &&
           static_cast<long double>(d) - c >= kMinStepSpan;
}
} // namespace

bool applyRangeStep(CoordFrame &frame, int code)
{
    float a = static_cast<float>(frame.xmin), b = static_cast<float>(frame.xmax);
    float c = static_cast<float>(frame.ymin), d = static_cast<float>(frame.ymax);
    const float cx = (a + b) * 0.5f, cy = (c + d) * 0.5f;
    const float w = b - a, h = d - c;
    const float sx = axisStep(a, b, w);
    const float sy = axisStep(c, d, h);

    switch (code) {
    case StepXMinUp:
        a += sx;
        break;
    case StepXMinDown:
        a -= sx;
        break;
    case StepXMaxUp:
        b += sx;
        break;
    case StepXMaxDown:
        b -= sx;
        break;
    case StepYMinUp:
        c += sy;
        break;
    case StepYMinDown:
        c -= sy;
        break;
    case StepYMaxUp:
        d += sy;
        break;
    case StepYMaxDown:
        d -= sy;
        break;
    case StepLeft:
        a -= sx;
        b -= sx;
        break;
    case StepRight:
        a += sx;
        b += sx;
        break;
    case StepUp:
        c += sy;
        d += sy;
        break;
    case StepDown:
        c -= sy;
        d -= sy;
        break;
    case StepZoomOut:
        a = cx - w;
        b = cx + w;
        c = cy - h;
        d = cy + h;
        break;
    case StepZoomIn:
        a = cx - w / 4;
        b = cx + w / 4;
        c = cy - h / 4;
        d = cy + h / 4;
        break;
    default:
        return false;
    }
    const CoordFrame stepped{a, b, c, d};
    if (!withinStepLimits(a, b, c, d) || !isValidFrame(stepped))
        return false;
    const bool changed = !(stepped == frame);
    frame = stepped;
    return changed;
}

QString boundPrompt(RangeBound bound)
{
    switch (bound) {
    case RangeBound::XMin:
        return QStringLiteral("ｘの下限");
    case RangeBound::XMax:
        return QStringLiteral("ｘの上限");
    case RangeBound::YMin:
        return QStringLiteral("ｙの下限");
    case RangeBound::YMax:
        break;
    }
    return QStringLiteral("ｙの上限");
}

bool acceptsTypedFrame(const CoordFrame &f)
{
    const long double lo = -kFrameLimit, hi = kFrameLimit;
    return f.xmax > f.xmin && f.ymax > f.ymin && f.xmin > lo && f.xmax < hi && f.ymin > lo && f.ymax < hi;
}

bool applyTypedBound(CoordFrame &frame, RangeBound bound, long double value)
{
    CoordFrame typed = frame;
    switch (bound) {
    case RangeBound::XMin:
        typed.xmin = value;
        break;
    case RangeBound::XMax:
        typed.xmax = value;
        break;
    case RangeBound::YMin:
        typed.ymin = value;
        break;
    case RangeBound::YMax:
        typed.ymax = value;
        break;
    }
    if (!acceptsTypedFrame(typed) || !isValidFrame(typed) || typed == frame)
        return false;
    frame = typed;
    return true;
}

bool askRangeBound(Document &doc, Questions &questions, RangeBound bound)
{
    KeyboardRequest request;
    request.caption = boundPrompt(bound);
    request.layout = kPlainNumberLayout;
    const std::string text = questions.askKeyboard(request);
    // An empty line is what a cancelled keyboard gives: taking it as 0 would
    // move a bound the user meant to leave alone.
    if (text.empty())
        return false;
    EngineScope scope(&doc, doc.parameters);
    long double value = 0;
    if (!formulaValue(text, value))
        return false;
    return applyTypedBound(doc.frame, bound, value);
}

std::string boundPanelText(long double value, long double span)
{
    const char *pattern = span < 1 ? "0.000" : (span < 10 ? "0.00" : "0.0");
    return formatFixed(value, pattern);
}

} // namespace gq
