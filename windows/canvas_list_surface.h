// The item list panel's picture: a Canvas the list is drawn on, the widget
// that shows it and the scroll area that lets a long list be read to its end.
#pragma once

#include "control/item_list_panel.h"
#include "platform/canvas.h"
#include <QScrollArea>
#include <QSize>
#include <QWidget>
#include <functional>

namespace gq
{

// The list is drawn in its own units (control/item_list_panel.h): at text
// scale s and pixel ratio r, one unit is s * r pixels of the picture, so the
// whole list, its font (10 points at the standard size) and its line spacing
// grow together and nothing that was apart at the standard size touches. The
// panel on screen is the picture's size divided by r.
class CanvasListSurface final : public ListSurface
{
  public:
    // A panel of width x height pixels of the screen's layout.
    CanvasListSurface(int width, int height);

    int width() const override;
    void clear() override;
    void setTextColour(uint32_t colour) override { canvas_.setFontColour(colour); }
    void drawText(int x, int y, const QString &text) override;
    int textWidth(const QString &text) const override;
    void drawLine(int x0, int y0, int x1, int y1) override;
    void listDrawn(int bottom) override;
    void entryAppended(int top, int bottom) override;

    // A new blank picture of another size (the panel was resized), in pixels
    // of the layout.
    void resize(int width, int height);
    // A new blank picture for text textScale times the standard size (1, 1.5,
    // 2) on a screen of pixelRatio picture pixels to a layout pixel.
    void setScales(double textScale, double pixelRatio);
    const Canvas &picture() const { return canvas_; }
    // The panel's size in pixels of the layout.
    QSize layoutSize() const { return {layoutWidth_, layoutHeight_}; }
    double pixelRatio() const { return pixelRatio_; }
    // The height, in pixels of the layout, that shows the whole list as last
    // drawn: the panel's height, or more when the list runs below it.
    int contentHeight() const { return contentHeight_; }
    // List units to pixels of the layout (a vertical position in the list).
    int toLayout(int units) const;

    // Called after every change of the picture (shows it on screen).
    std::function<void()> onChanged;
    // Called when a drawing of the list is complete: contentHeight is settled.
    std::function<void()> onDrawn;
    // Called after onDrawn when an entry was drawn after the list: the part
    // from top to bottom, in pixels of the layout, should be brought into view.
    std::function<void(int top, int bottom)> onAppended;

  private:
    void changed();
    void rebuild();
    void settle();
    // Makes the picture at least rows pixels high, keeping what is drawn.
    void ensureRows(int rows);
    int toPixels(int units) const;
    double unit() const { return textScale_ * pixelRatio_; }
    int layoutWidth_, layoutHeight_;
    double textScale_ = 1.0, pixelRatio_ = 1.0;
    Canvas canvas_;
    int drawnBottom_ = 0; // lowest picture row drawn on since the last clear
    int contentHeight_;
};

// The list panel: scrolls vertically when the list is longer than the panel
// is high, by its scroll bar, the mouse wheel and the keys (arrows, Page Up,
// Page Down, Home, End).
class ListScrollArea : public QScrollArea
{
    Q_OBJECT
  public:
    explicit ListScrollArea(QWidget *parent);
    // Scrolls as little as needed to show the rows top..bottom of the list
    // (the top wins when both do not fit).
    void reveal(int top, int bottom);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// Shows a canvas at its top-left corner; the canvas is not owned. A canvas of
// pixel ratio r (r picture pixels to a pixel of the widget) is shown at 1/r
// of its size, one picture pixel to a pixel of the screen when the screen has
// that ratio.
class CanvasView : public QWidget
{
    Q_OBJECT
  public:
    CanvasView(const Canvas *canvas, QWidget *parent);
    void setCanvas(const Canvas *canvas);
    void setPixelRatio(double ratio);

    // Mouse events with the widget's own pixel coordinates (those of the
    // layout, whatever the picture's pixel ratio).
    std::function<void(int x, int y)> onMouseMove;
    std::function<void(Qt::MouseButton button, int x, int y)> onMouseDown;
    std::function<void(Qt::MouseButton button, int x, int y)> onMouseUp;
    // Wheel rotation at (x, y): delta in eighths of a degree, positive away
    // from the user (120 is one notch).
    std::function<void(int x, int y, int delta)> onWheel;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

  private:
    const Canvas *canvas_;
    double pixelRatio_ = 1.0;
};

} // namespace gq
