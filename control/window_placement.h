// Where a window of the program opens on its screen: whole on the screen's
// free area, where it asks to be or where the user last left it, and clear of
// the program's other open windows where the screen has room. A pure function
// of rectangles, so the rule is checked without windows.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace gq
{

// Space left between a window and the one it is placed beside, in pixels.
inline constexpr int kWindowGap = 2;

struct PlacementRequest {
    QSize size;               // the window with its frame
    QPoint wanted;            // top-left of the frame where the window asks to be
    bool userPlaced = false;  // wanted is where the user left it: it is kept
    QRect available;          // the screen's free area (no task bar)
    std::vector<QRect> others; // frames of the program's other open windows
};

// The top-left of the frame. The window lies on the available area (from its
// top-left corner when it is larger). A place the user chose is kept, moved
// only as far as the area needs. Otherwise the wanted place is taken if it
// covers no other window; else the nearest place beside another window
// (right, then left), below it or above it that covers none; else the place
// that covers the least of them, so that their controls stay in view.
QPoint placeWindow(const PlacementRequest &request);

// rect moved (not resized) as little as needed to lie on area; when it is
// larger than area, its top-left corner is area's.
QPoint keepOnArea(QRect rect, QRect area);

} // namespace gq
