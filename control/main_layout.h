// Where the main window's parts go for a given size: the item list panel at
// the left, the square graph at the right, the two status lines under it.
// A pure function of the sizes, so the layout can be checked without a
// window and changed (text size, screen scale) in one place.
#pragma once

#include <QRect>
#include <QSize>
#include <functional>

namespace gq
{

// The narrowest item list and the smallest graph the window allows, in
// pixels; minimumClientSize keeps both.
inline constexpr int kMinListWidth = 200;
inline constexpr int kMinGraphSize = 240;
// Space right of the graph's frame: its left edge is at width - graphSize - 10.
inline constexpr int kGraphRightMargin = 10;
// Space around and between the status lines.
inline constexpr int kStatusPadding = 4;

struct MainLayout {
    int graphSize = 1;  // side of the square graph picture
    QRect listPanel;    // the item list, full client height
    QRect graphFrame;   // graphSize + 1 square, its left edge at width - graphSize - 10
    QRect graphPicture; // inside graphFrame: graphSize square at (0, 1)
    QRect statusArea;   // under the frame, as wide as the graph
    QRect rangeLine;    // inside statusArea
    QRect paramLine;    // inside statusArea
};

// The room, in pixels, the range line and the parameter line need when a
// line is lineWidth pixels wide: never more for a wider line. Larger text
// wraps onto more lines in a narrow status area.
struct StatusLineHeights {
    int range = 0;
    int param = 0;
};
using StatusLineRoom = std::function<StatusLineHeights(int lineWidth)>;

// The layout of a client area of clientSize pixels (the window without its
// menu bar) in a window windowHeight pixels high. The graph's side is
// rnd(windowHeight * 10 / 12), as at start-up, but never more than leaves
// room for the two status lines below it (at the graph's width) and for a
// list kMinListWidth wide beside it; at least 1. From minimumClientSize on,
// the list, the frame and the status area do not overlap and the status
// lines fit in their area.
MainLayout computeMainLayout(QSize clientSize, int windowHeight, const StatusLineRoom &room);
// The same with status lines of lineHeight pixels at any width.
MainLayout computeMainLayout(QSize clientSize, int windowHeight, int lineHeight);

// The smallest client area at which the list keeps kMinListWidth, the graph
// kMinGraphSize and the status lines their room.
QSize minimumClientSize(const StatusLineRoom &room);
QSize minimumClientSize(int lineHeight);

} // namespace gq
