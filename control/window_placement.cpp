#include "control/window_placement.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace gq
{

namespace
{
// Every 16 pixels across the screen is fine enough for the fallback: it only
// has to find where the least is covered.
constexpr int kGridStep = 16;

long long coveredArea(const QRect &rect, const std::vector<QRect> &others)
{
    long long area = 0;
    for (const QRect &o : others) {
        const QRect common = rect.intersected(o);
        if (!common.isEmpty())
            area += static_cast<long long>(common.width()) * common.height();
    }
    return area;
}

int distance(QPoint a, QPoint b)
{
    return std::abs(a.x() - b.x()) + std::abs(a.y() - b.y());
}
} // namespace

QPoint keepOnArea(QRect rect, QRect area)
{
    const auto along = [](int start, int length, int low, int span) {
        if (length >= span)
            return low;
        return std::clamp(start, low, low + span - length);
    };
    return {along(rect.left(), rect.width(), area.left(), area.width()),
            along(rect.top(), rect.height(), area.top(), area.height())};
}

QPoint placeWindow(const PlacementRequest &r)
{
    const auto onArea = [&](QPoint p) { return keepOnArea(QRect(p, r.size), r.available); };
    const QPoint wanted = onArea(r.wanted);
    if (r.userPlaced)
        return wanted;

    // In order of preference; the first that covers nothing wins.
    std::vector<QPoint> candidates{wanted};
    const int w = r.size.width(), h = r.size.height();
    for (const QRect &o : r.others) {
        const int right = o.right() + 1 + kWindowGap, left = o.left() - kWindowGap - w;
        const int below = o.bottom() + 1 + kWindowGap, above = o.top() - kWindowGap - h;
        for (QPoint p : {QPoint(right, wanted.y()), QPoint(right, o.top()), QPoint(left, wanted.y()),
                         QPoint(left, o.top()), QPoint(wanted.x(), below), QPoint(o.left(), below),
                         QPoint(wanted.x(), above), QPoint(o.left(), above)})
            candidates.push_back(onArea(p));
    }
    for (const QPoint &p : candidates)
        if (coveredArea(QRect(p, r.size), r.others) == 0)
            return p;

    // Nowhere clear: the place that covers the least, the nearest of those.
    QPoint best = wanted;
    long long bestArea = std::numeric_limits<long long>::max();
    const auto consider = [&](QPoint p) {
        const long long area = coveredArea(QRect(p, r.size), r.others);
        if (area < bestArea || (area == bestArea && distance(p, wanted) < distance(best, wanted))) {
            best = p;
            bestArea = area;
        }
    };
    for (const QPoint &p : candidates)
        consider(p);
    const QRect &a = r.available;
    for (int y = a.top(); y <= a.bottom(); y += kGridStep)
        for (int x = a.left(); x <= a.right(); x += kGridStep)
            consider(onArea(QPoint(x, y)));
    return best;
}

} // namespace gq
