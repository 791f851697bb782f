#include "control/main_layout.h"

#include <algorithm>
#include <cmath>

namespace gq
{

namespace
{
// The status area of a graph n pixels wide: its lines with padding above,
// between and below.
int lineWidthFor(int n)
{
    return std::max(1, n - 2 * kStatusPadding);
}

int statusHeight(const StatusLineHeights &h)
{
    return h.range + h.param + 3 * kStatusPadding;
}

StatusLineRoom constantRoom(int lineHeight)
{
    return [lineHeight](int) { return StatusLineHeights{lineHeight, lineHeight}; };
}
} // namespace

MainLayout computeMainLayout(QSize client, int windowHeight, const StatusLineRoom &room)
{
    const int width = std::max(0, client.width()), height = std::max(0, client.height());
    // rnd(H * 10 / 12), halves to even, as the start-up rule has it.
    const int preferred = static_cast<int>(std::nearbyint(windowHeight * 10.0 * (1.0 / 12.0)));
    const int byWidth = width - kMinListWidth - kGraphRightMargin;
    // A narrower graph may need taller status lines, which narrow it again:
    // from the widest the rules allow, each step is still at least the
    // widest that fits, so the first that fits is it.
    int n = std::max(1, std::min(preferred, byWidth));
    StatusLineHeights lines = room(lineWidthFor(n));
    for (int step = 0; step < 64; ++step) {
        const int fits = std::max(1, std::min(n, height - statusHeight(lines) - 2));
        if (fits == n)
            break;
        n = fits;
        lines = room(lineWidthFor(n));
    }

    MainLayout l;
    l.graphSize = n;
    const int left = std::max(0, width - n - kGraphRightMargin);
    l.graphFrame = QRect(left, 0, n + 1, n + 1);
    l.graphPicture = QRect(0, 1, n, n);
    l.statusArea = QRect(left, n + 2, n, std::max(0, height - n - 2));
    const int lineWidth = lineWidthFor(n);
    l.rangeLine = QRect(kStatusPadding, kStatusPadding, lineWidth, lines.range);
    l.paramLine = QRect(kStatusPadding, 2 * kStatusPadding + lines.range, lineWidth, lines.param);
    l.listPanel = QRect(0, 0, std::max(1, left), std::max(1, height));
    return l;
}

MainLayout computeMainLayout(QSize client, int windowHeight, int lineHeight)
{
    return computeMainLayout(client, windowHeight, constantRoom(lineHeight));
}

QSize minimumClientSize(const StatusLineRoom &room)
{
    return QSize(kMinListWidth + kMinGraphSize + kGraphRightMargin,
                 kMinGraphSize + 2 + statusHeight(room(lineWidthFor(kMinGraphSize))));
}

QSize minimumClientSize(int lineHeight)
{
    return minimumClientSize(constantRoom(lineHeight));
}

} // namespace gq
