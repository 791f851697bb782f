#include "windows/canvas_list_surface.h"

#include <QMouseEvent>
#include <QPainter>

namespace
{
constexpr int kListFontSize = 10;
}

CanvasListSurface::CanvasListSurface(int width, int height) : canvas_(width, height)
{
    canvas_.setFontSize(kListFontSize);
}

void CanvasListSurface::Changed()
{
    if (OnChanged)
        OnChanged();
}

void CanvasListSurface::Clear()
{
    canvas_.clear();
    Changed();
}

void CanvasListSurface::DrawText(int x, int y, const QString &text)
{
    canvas_.textOut(x, y, text);
    Changed();
}

void CanvasListSurface::DrawLine(int x0, int y0, int x1, int y1)
{
    canvas_.setPenColour(kBlack);
    canvas_.setPenWidth(1);
    canvas_.setPenStyle(PenStyle::Solid);
    canvas_.moveTo(x0, y0);
    canvas_.lineTo(x1, y1);
    Changed();
}

void CanvasListSurface::Resize(int width, int height)
{
    Canvas fresh(width, height);
    fresh.setFontSize(kListFontSize);
    fresh.setFontColour(canvas_.fontColour());
    canvas_ = std::move(fresh);
    Changed();
}

CanvasView::CanvasView(const Canvas *canvas, QWidget *parent) : QWidget(parent), canvas_(canvas)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::SetCanvas(const Canvas *canvas)
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
    if (OnMouseMove) {
        const QPoint p = event->position().toPoint();
        OnMouseMove(p.x(), p.y());
    }
}

void CanvasView::mousePressEvent(QMouseEvent *event)
{
    if (OnMouseDown) {
        const QPoint p = event->position().toPoint();
        OnMouseDown(event->button(), p.x(), p.y());
    }
}
