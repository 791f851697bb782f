#include "control/main_layout.h"

#include <algorithm>
#include <cmath>

namespace gq
{

namespace
{
// Two status lines with padding above, between and below.
int statusHeight(int lineHeight)
{
    return 2 * lineHeight + 3 * kStatusPadding;
}
} // namespace

MainLayout computeMainLayout(QSize client, int windowHeight, int lineHeight)
{
    const int width = std::max(0, client.width()), height = std::max(0, client.height());
    // rnd(H * 10 / 12), halves to even, as the start-up rule has it.
    const int preferred = static_cast<int>(std::nearbyint(windowHeight * 10.0 * (1.0 / 12.0)));
    const int byHeight = height - statusHeight(lineHeight) - 2;
    const int byWidth = width - kMinListWidth - kGraphRightMargin;
    const int n = std::max(1, std::min({preferred, byHeight, byWidth}));

    MainLayout l;
    l.graphSize = n;
    const int left = std::max(0, width - n - kGraphRightMargin);
    l.graphFrame = QRect(left, 0, n + 1, n + 1);
    l.graphPicture = QRect(0, 1, n, n);
    l.statusArea = QRect(left, n + 2, n, std::max(0, height - n - 2));
    const int lineWidth = std::max(1, n - 2 * kStatusPadding);
    l.rangeLine = QRect(kStatusPadding, kStatusPadding, lineWidth, lineHeight);
    l.paramLine = QRect(kStatusPadding, 2 * kStatusPadding + lineHeight, lineWidth, lineHeight);
    l.listPanel = QRect(0, 0, std::max(1, left), std::max(1, height));
    return l;
}

QSize minimumClientSize(int lineHeight)
{
    return QSize(kMinListWidth + kMinGraphSize + kGraphRightMargin,
                 kMinGraphSize + 2 + statusHeight(lineHeight));
}

} // namespace gq
