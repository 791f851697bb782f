// The main window's layout for any size: a square graph, the status lines
// under it, the list beside it, nothing overlapping.
#include "control/main_layout.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
constexpr int kLine = 17;
constexpr int kMenu = 25;

void expectSound(const MainLayout &l, QSize client)
{
    const QRect area(QPoint(0, 0), client);
    SCOPED_TRACE(testing::Message() << client.width() << " x " << client.height());
    EXPECT_EQ(l.graphPicture.size(), QSize(l.graphSize, l.graphSize)) << "square";
    EXPECT_TRUE(QRect(QPoint(0, 0), l.graphFrame.size()).contains(l.graphPicture));
    for (const QRect &r : {l.listPanel, l.graphFrame, l.statusArea})
        EXPECT_TRUE(area.contains(r)) << "inside the client area";
    EXPECT_FALSE(l.listPanel.intersects(l.graphFrame));
    EXPECT_FALSE(l.listPanel.intersects(l.statusArea));
    EXPECT_FALSE(l.graphFrame.intersects(l.statusArea));
    const QRect status(QPoint(0, 0), l.statusArea.size());
    EXPECT_TRUE(status.contains(l.rangeLine) && status.contains(l.paramLine)) << "both lines visible";
    EXPECT_FALSE(l.rangeLine.intersects(l.paramLine));
    EXPECT_GE(l.listPanel.width(), kMinListWidth);
    EXPECT_GE(l.graphSize, kMinGraphSize);
}
} // namespace

TEST(MainLayout, StartUpFillsTheScreenByTheHeightRule)
{
    // 1280 x 1024: GraphSize rnd(1024 * 10 / 12) = 853, left edge 1280 - 863.
    const MainLayout l = computeMainLayout(QSize(1280, 1024 - kMenu), 1024, kLine);
    EXPECT_EQ(l.graphSize, 853);
    EXPECT_EQ(l.graphFrame, QRect(417, 0, 854, 854));
    EXPECT_EQ(l.graphPicture, QRect(0, 1, 853, 853));
    EXPECT_EQ(l.statusArea, QRect(417, 855, 853, 1024 - kMenu - 855));
    EXPECT_EQ(l.listPanel, QRect(0, 0, 417, 1024 - kMenu));
    EXPECT_EQ(computeMainLayout(QSize(1024, 768 - kMenu), 768, kLine).graphSize, 640);
    // Halves to even: 759 * 10 / 12 = 632.5, 753 * 10 / 12 = 627.5.
    EXPECT_EQ(computeMainLayout(QSize(1024, 759 - kMenu), 759, kLine).graphSize, 632);
    EXPECT_EQ(computeMainLayout(QSize(1024, 753 - kMenu), 753, kLine).graphSize, 628);
}

TEST(MainLayout, EverySizeFromTheMinimumIsSound)
{
    const QSize min = minimumClientSize(kLine);
    const QSize sizes[] = {min,         {1000, 700 - kMenu}, {640, 480 - kMenu},  {1920, 1080 - kMenu},
                           {800, 1200}, {3000, 400},         {min.width(), 2000}, {2000, min.height()}};
    for (QSize client : sizes)
        expectSound(computeMainLayout(client, client.height() + kMenu, kLine), client);
}

TEST(MainLayout, TheGraphGivesWayToTheListAndTheStatusLines)
{
    // Tall and narrow: the list keeps its column.
    MainLayout l = computeMainLayout(QSize(700, 1400), 1425, kLine);
    EXPECT_EQ(l.graphSize, 700 - kMinListWidth - kGraphRightMargin);
    // Wide and low: the status lines keep their room.
    l = computeMainLayout(QSize(1600, 300), 300 + kMenu, kLine);
    EXPECT_LE(l.statusArea.bottom(), 299);
    EXPECT_GE(l.statusArea.height(), 2 * kLine + 12);
    // Larger text makes more room for the lines.
    const MainLayout big = computeMainLayout(QSize(1600, 300), 300 + kMenu, 2 * kLine);
    EXPECT_LT(big.graphSize, l.graphSize);
    EXPECT_GT(minimumClientSize(2 * kLine).height(), minimumClientSize(kLine).height());
}

TEST(MainLayout, WrappedStatusLinesTakeTheLargestGraphThatLeavesThemTheirRoom)
{
    // Each line holds text 600 pixels wide, on lines of 20 pixels.
    const StatusLineRoom wrapped = [](int width) {
        const int lines = (600 + width - 1) / width;
        return StatusLineHeights{20 * lines, 20 * lines};
    };
    for (QSize client : {QSize(1000, 500), QSize(1000, 400), QSize(700, 900)}) {
        const int windowHeight = client.height() + kMenu;
        const MainLayout l = computeMainLayout(client, windowHeight, wrapped);
        int largest = 1;
        const int preferred = static_cast<int>(std::nearbyint(windowHeight * 10.0 / 12.0));
        for (int n = 1; n <= std::min(preferred, client.width() - kMinListWidth - kGraphRightMargin); ++n) {
            const StatusLineHeights h = wrapped(std::max(1, n - 2 * kStatusPadding));
            if (n + 2 + h.range + h.param + 3 * kStatusPadding <= client.height())
                largest = n;
        }
        EXPECT_EQ(l.graphSize, largest) << client.width() << " x " << client.height();
        EXPECT_EQ(l.rangeLine.height(), wrapped(l.rangeLine.width()).range);
        EXPECT_LE(l.statusArea.top() + l.paramLine.bottom(), client.height() - 1) << "both lines shown";
    }
    EXPECT_EQ(minimumClientSize(wrapped).height(), kMinGraphSize + 2 + 2 * 60 + 3 * kStatusPadding);
}

} // namespace gq
