#include "windows/canvas_list_surface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace gq
{

namespace
{
constexpr int kListFontSize = 10;
// Rows added at a time when the list runs below the picture: ten lines.
constexpr int kGrowthLines = 10;
// Room under the list's last line, in list units.
constexpr int kBottomMargin = 5;
} // namespace

CanvasListSurface::CanvasListSurface(int width, int height)
    : layoutWidth_(std::max(1, width)), layoutHeight_(std::max(1, height)),
      canvas_(layoutWidth_, layoutHeight_), contentHeight_(layoutHeight_)
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

int CanvasListSurface::toLayout(int units) const
{
    return static_cast<int>(std::nearbyint(units * textScale_));
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
    drawnBottom_ = 0;
    const int panelRows = std::max(1, static_cast<int>(std::nearbyint(layoutHeight_ * pixelRatio_)));
    if (canvas_.height() > panelRows)
        rebuild(); // a shorter list gives the rows of a long one back
    else
        canvas_.clear();
    changed();
}

void CanvasListSurface::ensureRows(int rows)
{
    drawnBottom_ = std::max(drawnBottom_, rows);
    if (rows <= canvas_.height())
        return;
    Canvas taller(canvas_.width(), rows + toPixels(kGrowthLines * kListLineHeight), unit());
    taller.setFontSize(kListFontSize);
    taller.setFontColour(canvas_.fontColour());
    taller.copyRect(0, 0, canvas_, 0, 0, canvas_.width(), canvas_.height());
    canvas_ = std::move(taller);
}

void CanvasListSurface::drawText(int x, int y, const QString &text)
{
    const int top = toPixels(y);
    ensureRows(top + std::max(canvas_.textHeight(), toPixels(kListLineHeight)));
    canvas_.textOut(toPixels(x), top, text);
    changed();
}

void CanvasListSurface::drawLine(int x0, int y0, int x1, int y1)
{
    ensureRows(toPixels(std::max(y0, y1)) + 1);
    canvas_.setPenColour(kBlack);
    canvas_.setPenWidth(1);
    canvas_.setPenStyle(PenStyle::Solid);
    canvas_.moveTo(toPixels(x0), toPixels(y0));
    canvas_.lineTo(toPixels(x1), toPixels(y1));
    changed();
}

void CanvasListSurface::settle()
{
    const int drawn = static_cast<int>(std::ceil(drawnBottom_ / pixelRatio_));
    contentHeight_ = std::max(layoutHeight_, drawn > 0 ? drawn + toLayout(kBottomMargin) : 0);
    if (onDrawn)
        onDrawn();
}

void CanvasListSurface::listDrawn(int)
{
    settle();
}

void CanvasListSurface::entryAppended(int top, int bottom)
{
    settle();
    if (onAppended)
        onAppended(toLayout(top), toLayout(bottom) + toLayout(kBottomMargin));
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
    drawnBottom_ = 0;
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

ListScrollArea::ListScrollArea(QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);
}

void ListScrollArea::reveal(int top, int bottom)
{
    QScrollBar *bar = verticalScrollBar();
    const int shown = viewport()->height();
    int value = bar->value();
    if (bottom > value + shown)
        value = bottom - shown;
    if (top < value)
        value = top;
    bar->setValue(value);
}

void ListScrollArea::keyPressEvent(QKeyEvent *event)
{
    QScrollBar *bar = verticalScrollBar();
    if (event->key() == Qt::Key_Home) {
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        return;
    }
    if (event->key() == Qt::Key_End) {
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        return;
    }
    QScrollArea::keyPressEvent(event); // arrows, Page Up and Page Down
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
