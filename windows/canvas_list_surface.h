// The item list panel's picture: a Canvas the list is drawn on, and the
// widget that shows it.
#pragma once

#include "control/item_list_panel.h"
#include "platform/canvas.h"
#include <QWidget>
#include <functional>

namespace gq
{

class CanvasListSurface final : public ListSurface
{
  public:
    CanvasListSurface(int width, int height);

    int width() const override { return canvas_.width(); }
    void clear() override;
    void setTextColour(uint32_t colour) override { canvas_.setFontColour(colour); }
    void drawText(int x, int y, const QString &text) override;
    int textWidth(const QString &text) const override { return canvas_.textWidth(text); }
    void drawLine(int x0, int y0, int x1, int y1) override;

    // A new blank picture of another size (the panel was resized).
    void resize(int width, int height);
    const Canvas &picture() const { return canvas_; }

    // Called after every change of the picture (shows it on screen).
    std::function<void()> onChanged;

  private:
    void changed();
    Canvas canvas_;
};

// Shows a canvas at its top-left corner; the canvas is not owned.
class CanvasView : public QWidget
{
    Q_OBJECT
  public:
    CanvasView(const Canvas *canvas, QWidget *parent);
    void setCanvas(const Canvas *canvas);

    // Mouse events with pixel coordinates of the picture.
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
};

} // namespace gq
