#include "control/search_mode.h"

#include "control/range_steps.h"
#include "platform/sjis.h"
#include <algorithm>
#include <cmath>

namespace gq
{

const char *readoutPattern(long double s)
{
    if (s <= 0.00001L)
        return "0.00000";
    if (s <= 0.0001L)
        return "0.0000";
    if (s <= 0.001L)
        return "0.000";
    if (s <= 0.01L)
        return "0.00";
    if (s <= 0.1L)
        return "0.0";
    return "0";
}

QString readoutText(const GraphView &view, int px, int py)
{
    const std::string x = formatFixed(view.pixelToX(px), readoutPattern(view.xPerPixel()));
    const std::string y = formatFixed(view.pixelToY(py), readoutPattern(view.yPerPixel()));
    return QStringLiteral("( %1 , %2 )").arg(QString::fromStdString(x), QString::fromStdString(y));
}

int itemAtPixel(const Document &doc, const Canvas &picture, int graphSize, int px, int py)
{
    if (!(py > 10 && py < graphSize && px > 0 && px < graphSize))
        return 0;
    // A denser picture has a square of its pixels under the layout pixel;
    // the pointer is on a curve when any of them is the curve's.
    const double s = picture.pixelScale();
    const auto first = [s](int p) { return static_cast<int>(std::floor(p * s)); };
    const int count = std::clamp(doc.itemCount, 0, kMaxItems);
    for (int y = first(py); y < std::max(first(py) + 1, first(py + 1)); ++y)
        for (int x = first(px); x < std::max(first(px) + 1, first(px + 1)); ++x) {
            const uint32_t colour = picture.pixel(x, y);
            for (int i = 1; i <= count; ++i)
                if (doc.items[i].colour == colour)
                    return i;
        }
    return 0;
}

QString itemLabelText(const Item &item)
{
    const auto text = [&item](int n) { return sjisToQString(item.text[n]); };
    switch (item.kind) {
    case KindDerivative:
    case KindExplicit:
        return QStringLiteral("y=") + text(1);
    case KindImplicit:
        return text(1) + QStringLiteral("=0");
    case KindParametric:
        return QStringLiteral("x=") + text(1) + QStringLiteral(" , y=") + text(2);
    case KindPolar:
        return QStringLiteral("r=") + text(1);
    case KindPoint:
        return QStringLiteral("( ") + text(1) + QStringLiteral(" , ") + text(2) + QStringLiteral(" )");
    default:
        return {};
    }
}

bool clickZoom(CoordFrame &frame, const GraphView &view, int px, int py, ZoomButton button)
{
    const long double x = view.pixelToX(px), y = view.pixelToY(py);
    const long double w = frame.xmax - frame.xmin, h = frame.ymax - frame.ymin;
    CoordFrame centred{x - w / 2, x + w / 2, y - h / 2, y + h / 2};
    if (button != ZoomButton::Other)
        applyRangeStep(centred, button == ZoomButton::Left ? StepZoomIn : StepZoomOut);
    // A click near the edge of a wide frame may centre it past the limit;
    // only a zoom that brings it back inside is taken.
    if (!isValidFrame(centred) || centred == frame)
        return false;
    frame = centred;
    return true;
}

} // namespace gq
