#include "windows/canvas_list_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace gq
{

namespace
{
constexpr int kListFontSize = 10;
}

CanvasListSurface::CanvasListSurface(int width, int height) : canvas_(width, height)
{
    canvas_.setFontSize(kListFontSize);
}

void CanvasListSurface::changed()
{
    if (onChanged)
        onChanged();
}

void CanvasListSurface::clear()
{
    canvas_.clear();
    changed();
}

void CanvasListSurface::drawText(int x, int y, const QString &text)
{
    canvas_.textOut(x, y, text);
    changed();
}

void CanvasListSurface::drawLine(int x0, int y0, int x1, int y1)
{
    canvas_.setPenColour(kBlack);
    canvas_.setPenWidth(1);
    canvas_.setPenStyle(PenStyle::Solid);
    canvas_.moveTo(x0, y0);
    canvas_.lineTo(x1, y1);
    changed();
}

void CanvasListSurface::resize(int width, int height)
{
    Canvas fresh(width, height);
    fresh.setFontSize(kListFontSize);
    fresh.setFontColour(canvas_.fontColour());
    canvas_ = std::move(fresh);
    changed();
}

CanvasView::CanvasView(const Canvas *canvas, QWidget *parent) : QWidget(parent), canvas_(canvas)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::setCanvas(const Canvas *canvas)
{
    canvas_ = canvas;
    update();
}

void CanvasView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (canvas_)
        painter.drawImage(0, 0, canvas_->image());
}

void CanvasView::mouseMoveEvent(QMouseEvent *event)
{
    if (onMouseMove) {
        const QPoint p = event->position().toPoint();
        onMouseMove(p.x(), p.y());
    }
}

void CanvasView::mousePressEvent(QMouseEvent *event)
{
    if (onMouseDown) {
        const QPoint p = event->position().toPoint();
        onMouseDown(event->button(), p.x(), p.y());
    }
}

void CanvasView::mouseReleaseEvent(QMouseEvent *event)
{
    if (onMouseUp) {
        const QPoint p = event->position().toPoint();
        onMouseUp(event->button(), p.x(), p.y());
    }
}

void CanvasView::wheelEvent(QWheelEvent *event)
{
    if (!onWheel) {
        event->ignore();
        return;
    }
    const QPoint p = event->position().toPoint();
    onWheel(p.x(), p.y(), event->angleDelta().y());
}

} // namespace gq
