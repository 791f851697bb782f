// The main window's graph picture under the mouse. In search mode the
// pointer reads off world coordinates and the item under it, and a click
// zooms about the clicked point. In normal mode, while no other window is
// open, the wheel zooms about the pointer and a drag with the left button
// moves the frame.
//
// A drag step or a wheel turn changes the frame at once but redraws at the
// next frame of the screen: steps that arrive while a picture is being drawn
// only move the frame further, and the next picture shows where the hand is
// then. So the picture keeps up with the hand, at most one redraw a screen
// frame, and always ends on the last position.
#include "control/search_mode.h"
#include "control/view_navigation.h"
#include "windows/main_window.h"
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gq
{

namespace
{
ZoomButton zoomButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return ZoomButton::Left;
    case Qt::RightButton:
        return ZoomButton::Right;
    default:
        return ZoomButton::Other;
    }
}

// The label's place (x, y) from the pointer; a label that would run off the
// picture's right edge goes to the pointer's left, one that would run off the
// bottom or the top stays inside.
QPoint labelPlace(const QLabel *label, int pointerX, int x, int y, int graphSize)
{
    if (x + label->width() > graphSize)
        x = pointerX - 10 - label->width();
    y = std::clamp(y, 0, std::max(0, graphSize - label->height()));
    return QPoint(std::max(0, x), y);
}
} // namespace

void MainWindow::connectGraphMouse()
{
    mouseRedraw_ = new QTimer(this);
    mouseRedraw_->setSingleShot(true);
    connect(mouseRedraw_, &QTimer::timeout, this, [this] {
        mouseRedrawStart_.start();
        redrawGraph();
    });
    graphWidget_->onMouseMove = [this](int x, int y) { graphMouseMove(x, y); };
    graphWidget_->onMouseDown = [this](Qt::MouseButton button, int x, int y) {
        graphMouseDown(button, x, y);
    };
    graphWidget_->onMouseUp = [this](Qt::MouseButton button, int, int) { graphMouseUp(button); };
    graphWidget_->onWheel = [this](int x, int y, int delta) { graphWheel(x, y, delta); };
    listPanel_->onMouseMove = [this](int, int) { listMouseMove(); };
}

bool MainWindow::mouseNavigationAllowed() const
{
    // A new frame ends the overlay display, as the range dialog does.
    return !searchMode_ && !toolWindowOpen();
}

void MainWindow::showReadout(int x, int y)
{
    graphWidget_->setCursor(Qt::CrossCursor);
    readout_->hide();
    readout_->clear();
    readout_->setText(readoutText(layoutView(), x, y));
    readout_->adjustSize();
    readout_->move(labelPlace(readout_, x, x + 10, y + 20, graphSize_));
    readout_->show();

    const int item = itemAtPixel(document_, visible_, graphSize_, x, y);
    if (item == 0) {
        itemLabel_->hide();
        return;
    }
    const Item &found = document_.items[item];
    itemLabel_->setText(itemLabelText(found));
    QPalette palette = itemLabel_->palette();
    const QRgb rgb = qRgb(found.colour & 0xFF, (found.colour >> 8) & 0xFF, (found.colour >> 16) & 0xFF);
    palette.setColor(QPalette::WindowText, QColor(rgb));
    itemLabel_->setPalette(palette);
    itemLabel_->adjustSize();
    itemLabel_->move(labelPlace(itemLabel_, x, x + 10, y - 20, graphSize_));
    itemLabel_->show();
}

void MainWindow::graphMouseMove(int x, int y)
{
    if (searchMode_) {
        showReadout(x, y);
        return;
    }
    if (!drag_.active)
        return;
    if (!mouseNavigationAllowed()) {
        drag_.active = false;
        graphWidget_->unsetCursor();
        recordStep(step_names::kMove);
        return;
    }
    const CoordFrame moved = pannedFrame(drag_.start, x - drag_.x, y - drag_.y);
    if (moved == document_.frame)
        return;
    document_.frame = moved;
    requestMouseRedraw();
}

void MainWindow::requestMouseRedraw()
{
    // The document and the range line follow at once; only the picture waits.
    frameMoved();
    if (mouseRedraw_->isActive())
        return; // the pending redraw will show this frame
    const QScreen *where = screen();
    const qreal rate = where && where->refreshRate() > 1 ? where->refreshRate() : 60;
    const qint64 frame = static_cast<qint64>(std::ceil(1000 / rate));
    const qint64 since = mouseRedrawStart_.isValid() ? mouseRedrawStart_.elapsed() : frame;
    mouseRedraw_->start(static_cast<int>(std::clamp<qint64>(frame - since, 0, frame)));
}

void MainWindow::graphMouseDown(Qt::MouseButton button, int x, int y)
{
    if (searchMode_) {
        if (document_.overlayMode != 0)
            return;
        standard_->show();
        clickZoom(document_.frame, layoutView(), x, y, zoomButton(button));
        frameChanged();
        recordStep(button == Qt::LeftButton    ? step_names::kZoomIn
                   : button == Qt::RightButton ? step_names::kZoomOut
                                               : step_names::kRange);
        showReadout(x, y);
        return;
    }
    if (button != Qt::LeftButton || !mouseNavigationAllowed())
        return;
    drag_.active = true;
    drag_.x = x;
    drag_.y = y;
    drag_.start = GraphView(document_.frame, graphSize_);
    graphWidget_->setCursor(Qt::ClosedHandCursor);
}

void MainWindow::graphMouseUp(Qt::MouseButton button)
{
    if (button != Qt::LeftButton || !drag_.active)
        return;
    drag_.active = false;
    graphWidget_->unsetCursor();
    // The whole drag is one step.
    recordStep(step_names::kMove);
}

void MainWindow::graphWheel(int x, int y, int delta)
{
    if (!mouseNavigationAllowed()) {
        wheelRemainder_ = 0;
        return;
    }
    const int notches = wheelNotches(wheelRemainder_, delta);
    bool changed = false;
    // Each notch is a step of its own (a drag under way ends its step here).
    for (int i = 0; i < std::abs(notches); ++i)
        if (wheelZoom(document_.frame, GraphView(document_.frame, graphSize_), x, y, notches > 0)) {
            changed = true;
            recordStep(notches > 0 ? step_names::kZoomIn : step_names::kZoomOut);
        }
    if (!changed)
        return;
    requestMouseRedraw();
    if (drag_.active) {
        // A drag goes on from the zoomed frame.
        drag_.x = x;
        drag_.y = y;
        drag_.start = GraphView(document_.frame, graphSize_);
    }
}

void MainWindow::listMouseMove()
{
    if (!searchMode_)
        return;
    standard_->hide();
    hideReadout();
}

} // namespace gq
