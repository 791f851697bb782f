// Every window of the program on the screen it opens on, at any text size and
// scale factor: scaled down as a whole when it is larger than the screen's
// free area, made to scroll when even that would leave its text too small to
// read, and placed clear of the program's other open windows.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace gq
{

// A window is scaled down no further than this: its 10-point text then reads
// as 8 points. Below it, the window scrolls instead.
inline constexpr double kMinLegibleScale = 0.8;

// The free area (without task bars) of the screen at point, in the
// toolkit's device-independent pixels; the primary screen's when no screen
// is there.
QRect availableAreaAt(QPoint point);

// The window's frame around its client area: the window system's, once known,
// else the frame of like, else none.
QMargins frameMarginsOf(const QWidget &window, const QWidget *like);

// Makes window, a top-level window, fit room (its client area's free room,
// in pixels): at its own size when that fits; else its controls, their
// places and fonts scaled down together to fit, as far as kMinLegibleScale;
// beyond that its contents scroll vertically under a scroll bar at its right
// edge (and the width is scaled to fit, whatever it takes). A window whose
// controls are placed by a layout has its fonts scaled and the layout does the
// rest. The window's own later changes of size and of its controls' places
// are taken as the new design at the next call.
void fitWindowToRoom(QWidget &window, QSize room);

// The factor fitWindowToRoom last scaled the window by (1: its own size).
double windowScale(const QWidget &window);

// Installed for the whole application, it keeps every top-level window other
// than the main window on its screen as it opens: fitted to the free area
// (fitWindowToRoom), then placed where it asked to be, or where the user last
// left it, clear of the program's other open windows where there is room
// (control/window_placement.h). A window the user moved or resized keeps that
// place and size at its next opening, within the screen.
class WindowKeeper : public QObject
{
  public:
    explicit WindowKeeper(QWidget &mainWindow);
    ~WindowKeeper() override;
    WindowKeeper(const WindowKeeper &) = delete;
    WindowKeeper &operator=(const WindowKeeper &) = delete;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    bool kept(const QWidget &window) const;
    void opening(QWidget &window);
    void place(QWidget &window);
    void closing(QWidget &window);
    void scroll(QWidget &window, int delta);

    QWidget &main_;
};

} // namespace gq
