#include "windows/canvas_list_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace gq
{

namespace
{
constexpr int kListFontSize = 10;
}

CanvasListSurface::CanvasListSurface(int width, int height)
    : layoutWidth_(std::max(1, width)), layoutHeight_(std::max(1, height)),
      canvas_(layoutWidth_, layoutHeight_)
{
    canvas_.setFontSize(kListFontSize);
}

void CanvasListSurface::changed()
{
    if (onChanged)
        onChanged();
}

int CanvasListSurface::toPixels(int units) const
{
    return static_cast<int>(std::nearbyint(units * unit()));
}

int CanvasListSurface::width() const
{
    return static_cast<int>(std::floor(canvas_.width() / unit()));
}

int CanvasListSurface::textWidth(const QString &text) const
{
    // Rounded up: text measured to fit in its units always fits in pixels.
    return static_cast<int>(std::ceil(canvas_.textWidth(text) / unit()));
}

void CanvasListSurface::clear()
{
    canvas_.clear();
    changed();
}

void CanvasListSurface::drawText(int x, int y, const QString &text)
{
    canvas_.textOut(toPixels(x), toPixels(y), text);
    changed();
}

void CanvasListSurface::drawLine(int x0, int y0, int x1, int y1)
{
    canvas_.setPenColour(kBlack);
    canvas_.setPenWidth(1);
    canvas_.setPenStyle(PenStyle::Solid);
    canvas_.moveTo(toPixels(x0), toPixels(y0));
    canvas_.lineTo(toPixels(x1), toPixels(y1));
    changed();
}

void CanvasListSurface::rebuild()
{
    const auto pixels = [this](int n) {
        return std::max(1, static_cast<int>(std::nearbyint(n * pixelRatio_)));
    };
    Canvas fresh(pixels(layoutWidth_), pixels(layoutHeight_), unit());
    fresh.setFontSize(kListFontSize);
    fresh.setFontColour(canvas_.fontColour());
    canvas_ = std::move(fresh);
    changed();
}

void CanvasListSurface::resize(int width, int height)
{
    layoutWidth_ = std::max(1, width);
    layoutHeight_ = std::max(1, height);
    rebuild();
}

void CanvasListSurface::setScales(double textScale, double pixelRatio)
{
    textScale_ = textScale;
    pixelRatio_ = pixelRatio;
    rebuild();
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

void CanvasView::setPixelRatio(double ratio)
{
    pixelRatio_ = ratio > 0 ? ratio : 1.0;
    update();
}

void CanvasView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // White where the picture does not reach (all of it when there is none);
    // the picture itself is opaque.
    const QImage *image = canvas_ ? &canvas_->image() : nullptr;
    const QRectF covered = image ? QRectF(0, 0, image->width() / pixelRatio_, image->height() / pixelRatio_)
                                 : QRectF();
    if (!covered.contains(QRectF(rect())))
        painter.fillRect(rect(), Qt::white);
    if (!image)
        return;
    if (pixelRatio_ == 1.0) {
        painter.drawImage(0, 0, *image);
        return;
    }
    // On a screen of this ratio the picture's pixels are the screen's own.
    painter.drawImage(covered, *image);
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
