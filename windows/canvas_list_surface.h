// The item list panel's picture: a Canvas the list is drawn on, and the
// widget that shows it.
#pragma once

#include "control/item_list_panel.h"
#include "platform/canvas.h"
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

    // Called after every change of the picture (shows it on screen).
    std::function<void()> onChanged;

  private:
    void changed();
    void rebuild();
    int toPixels(int units) const;
    double unit() const { return textScale_ * pixelRatio_; }
    int layoutWidth_, layoutHeight_;
    double textScale_ = 1.0, pixelRatio_ = 1.0;
    Canvas canvas_;
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
