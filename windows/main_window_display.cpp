// The main window's text size for a projector and the density of its graph
// picture. 表示 → 文字の大きさ offers 標準, 大 and 特大: the item list, the
// two status lines and the graph's tick labels grow by textScale (1, 1.5, 2),
// the list and the labels with all their spacing, the status lines wrapped in
// room for two lines each; the layout then gives the graph what is left, so
// nothing overlaps. The choice is stored with the user's settings, never in
// an equation file. On a screen of a device pixel ratio above 1 the graph
// and the list are drawn with the screen's own pixels.
//
// The window fits its screen: it opens on the screen's free area (or where
// it was last, where that fits), its least size is never more than the
// screen has, and below the size at which everything stays legible the
// client area scrolls. The parts of the window are placed here too.
#include "control/display_settings.h"
#include "control/main_layout.h"
#include "control/status_lines.h"
#include "control/window_placement.h"
#include "windows/main_window.h"
#include "windows/window_fit.h"
#include <QActionGroup>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <numbers>
#include <algorithm>
#include <cmath>

namespace gq
{

namespace
{
// 96 dots per inch, the resolution of a picture at pixel ratio 1.
constexpr int kDotsPerMeter = 3780;
// The smallest window: the list, a readable graph and both status lines.
const QSize kMinWindowSize(640, 480);

struct SizeEntry {
    TextSize size;
    const char *name;
    const char *caption;
};
constexpr SizeEntry kSizeEntries[] = {
    {TextSize::Standard, "textStandard", "標準(&N)"},
    {TextSize::Large, "textLarge", "大(&L)"},
    {TextSize::ExtraLarge, "textExtraLarge", "特大(&X)"},
};
} // namespace

void MainWindow::buildDisplayMenu()
{
    QMenu *display = addSubmenu(nullptr, "hyouji", QStringLiteral("表示(&V)"));
    QMenu *sizes = addSubmenu(display, "mojisize", QStringLiteral("文字の大きさ(&T)"));
    auto *group = new QActionGroup(sizes);
    for (const SizeEntry &e : kSizeEntries) {
        QAction *action = addItem(sizes, e.name, QString::fromUtf8(e.caption));
        action->setCheckable(true);
        action->setChecked(e.size == textSize_);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, size = e.size] { setTextSize(size); });
    }
}

void MainWindow::setTextSize(TextSize size)
{
    storeTextSize(size);
    if (size == textSize_)
        return;
    textSize_ = size;
    applyTextSize();
}

void MainWindow::applyTextSize()
{
    for (const SizeEntry &e : kSizeEntries)
        if (QAction *action = menuAction(QString::fromLatin1(e.name)))
            action->setChecked(e.size == textSize_);
    const double scale = textScale(textSize_);
    listSurface_.setScales(scale, pixelRatio_);

    QFont font = statusFont_;
    if (statusFont_.pointSizeF() > 0)
        font.setPointSizeF(statusFont_.pointSizeF() * scale);
    else
        font.setPixelSize(static_cast<int>(std::nearbyint(statusFont_.pixelSize() * scale)));
    // The lines wrap where the layout gives them the room of more than one
    // (wrapStatusLines).
    for (QLabel *line : {rangeLine_, paramLine_})
        line->setFont(font);
    renderer_->options.tickLabels = textSize_;

    updateMinimumSize();
    const int before = graphSize_;
    layoutClientArea();
    controller_.redrawItemList();
    // The tick labels change even where the graph keeps its size.
    if (graphSize_ == before)
        resizeGraph(graphSize_);
}

int MainWindow::statusOneLine() const
{
    const QFontMetrics metrics(rangeLine_->font());
    return metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::TextWordWrap,
                                QStringLiteral("x座標"))
        .height();
}

QSize MainWindow::clientSize() const
{
    if (isVisible())
        return client_->size();
    // Before the window is shown its central widget has not been placed yet.
    const int menu = menuBar()->heightForWidth(width());
    return QSize(width(), height() - (menu > 0 ? menu : menuBar()->sizeHint().height()))
        .expandedTo(client_->minimumSize());
}

void MainWindow::layoutClientArea()
{
    if (!client_ || laying_)
        return;
    laying_ = true;
    const MainLayout l =
        computeMainLayout(clientSize(), height(), [this](int width) { return statusLineRoom(width); });
    listScroll_->setGeometry(l.listPanel);
    graphFrame_->setGeometry(l.graphFrame);
    graphWidget_->setGeometry(l.graphPicture);
    statusArea_->setGeometry(l.statusArea);
    rangeLine_->setGeometry(l.rangeLine);
    paramLine_->setGeometry(l.paramLine);
    wrapStatusLines();
    // A screen of another density: both pictures are made again for it.
    const double ratio = pixelRatioOverride_ > 0 ? pixelRatioOverride_ : screenPixelRatio();
    const bool newRatio = ratio != pixelRatio_;
    if (newRatio) {
        pixelRatio_ = ratio;
        listSurface_.setScales(textScale(textSize_), ratio);
        listPanel_->setPixelRatio(ratio);
    }
    // The list's picture leaves room at the right for the scroll bar a long
    // list brings, so that the bar never covers the text nor changes the
    // wrapping when it comes and goes.
    const QSize list(std::max(1, l.listPanel.width() - listScroll_->verticalScrollBar()->sizeHint().width()),
                     l.listPanel.height());
    if (newRatio || listSurface_.layoutSize() != list) {
        listSurface_.resize(list.width(), list.height());
        controller_.redrawItemList();
    }
    fitListPicture();
    if (newRatio || l.graphSize != graphSize_)
        resizeGraph(l.graphSize);
    laying_ = false;
}

void MainWindow::fitListPicture()
{
    listPanel_->resize(listSurface_.layoutSize().width(), listSurface_.contentHeight());
    listScroll_->verticalScrollBar()->setSingleStep(listSurface_.toLayout(kListLineHeight));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The client area is sized by its scroll area.
    if (watched == client_ && event->type() == QEvent::Resize)
        layoutClientArea();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!placedOnScreen_) {
        placedOnScreen_ = true;
        keepOnScreen();
    }
}

StatusLineHeights MainWindow::statusLineRoom(int lineWidth) const
{
    // One line at the standard size, two at the larger ones; more where the
    // graph is too narrow for the text.
    const QFontMetrics metrics(rangeLine_->font());
    const int least =
        textSize_ == TextSize::Standard ? statusOneLine() : metrics.height() + metrics.lineSpacing();
    const auto room = [&](const QString &text) {
        const QRect wrapped = metrics.boundingRect(QRect(0, 0, std::max(1, lineWidth), 1 << 20),
                                                   Qt::AlignLeft | Qt::TextWordWrap, text);
        return std::max(wrapped.height(), least);
    };
    // The widest range line the frame allows, so that no range change moves
    // the graph; the parameters in use, each at a value as wide as a step
    // usually reaches.
    const CoordFrame widest{-9999.999L, -9999.999L, -9999.999L, -9999.999L};
    Parameters wide;
    wide.value.fill(-99.999f);
    wide['s'] = static_cast<float>(-99.999 * std::numbers::pi);
    return {room(rangeStatusText(widest)), room(paramStatusText(controller_.usedParams(), wide))};
}

void MainWindow::wrapStatusLines()
{
    for (QLabel *line : {rangeLine_, paramLine_}) {
        const bool wrap = line->height() > statusOneLine();
        line->setWordWrap(wrap);
        line->setAlignment(Qt::AlignLeft | (wrap ? Qt::AlignTop : Qt::AlignVCenter));
    }
}

void MainWindow::updateMinimumSize()
{
    const QSize minClient = minimumClientSize([this](int width) { return statusLineRoom(width); });
    client_->setMinimumSize(minClient);
    const QSize legible(std::max(kMinWindowSize.width(), minClient.width()),
                        std::max(kMinWindowSize.height(), minClient.height() + menuBar()->sizeHint().height()));
    const QSize room = availableAreaAt(geometry().center()).size().shrunkBy(frameMarginsOf(*this, nullptr));
    setMinimumSize(legible.boundedTo(room));
}

QRect MainWindow::startGeometry()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    const QRect area = primary ? primary->availableGeometry() : QRect(0, 0, 1024, 768);
    if (const std::optional<WindowPlace> place = storedMainWindowPlace())
        for (const QScreen *screen : QGuiApplication::screens())
            if (screen->availableGeometry().contains(place->geometry))
                return place->geometry;
    return area;
}

void MainWindow::keepOnScreen()
{
    if (const std::optional<WindowPlace> place = storedMainWindowPlace();
        place && place->maximized && place->geometry == geometry()) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    // The frame is known now: the least size leaves it room.
    updateMinimumSize();
    const QMargins frame = frameMarginsOf(*this, nullptr);
    const QRect area = availableAreaAt(geometry().center());
    const QRect outer = geometry().marginsAdded(frame);
    if (area.contains(outer))
        return;
    const QSize client = size().boundedTo(area.size().shrunkBy(frame));
    const QPoint corner = keepOnArea(QRect(outer.topLeft(), client.grownBy(frame)), area);
    setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), client));
}

double MainWindow::screenPixelRatio() const
{
    if (const QWindow *window = windowHandle())
        return window->devicePixelRatio();
    return devicePixelRatioF();
}

void MainWindow::setPixelRatioOverride(double ratio)
{
    pixelRatioOverride_ = ratio > 0 ? ratio : 0;
    layoutClientArea();
}

GraphView MainWindow::layoutView() const
{
    return GraphView(renderer_->view().frame(), graphSize_);
}

QImage MainWindow::exportedGraph() const
{
    const QImage &picture = visible_.image();
    if (picture.width() == graphSize_ && picture.height() == graphSize_)
        return picture;
    // One pixel of the denser picture for each pixel of the graph: the
    // colours stay exact (no blending), as the item read-out needs.
    QImage plain = picture.scaled(graphSize_, graphSize_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    plain.setDotsPerMeterX(kDotsPerMeter);
    plain.setDotsPerMeterY(kDotsPerMeter);
    return plain;
}

} // namespace gq
