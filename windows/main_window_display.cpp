// The main window's text size for a projector and the density of its graph
// picture. 表示 → 文字の大きさ offers 標準, 大 and 特大: the item list, the
// two status lines and the graph's tick labels grow by textScale (1, 1.5, 2),
// the list and the labels with all their spacing, the status lines wrapped in
// room for two lines each; the layout then gives the graph what is left, so
// nothing overlaps. The choice is stored with the user's settings, never in
// an equation file. On a screen of a device pixel ratio above 1 the graph
// and the list are drawn with the screen's own pixels.
#include "control/display_settings.h"
#include "control/main_layout.h"
#include "control/status_lines.h"
#include "windows/main_window.h"
#include <QActionGroup>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>
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
// The range line's two halves, x and y, are apart by this run of blanks.
const QString kRangeHalves = QStringLiteral("        ");

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
    // Larger text wraps within the room of two lines instead of running off
    // the graph's width.
    const bool wrap = textSize_ != TextSize::Standard;
    for (QLabel *line : {rangeLine_, paramLine_}) {
        line->setFont(font);
        line->setWordWrap(wrap);
        line->setAlignment(Qt::AlignLeft | (wrap ? Qt::AlignTop : Qt::AlignVCenter));
    }
    renderer_->options.tickLabels = textSize_;

    updateMinimumSize();
    const int before = graphSize_;
    layoutClientArea();
    controller_.redrawItemList();
    // The tick labels change even where the graph keeps its size.
    if (graphSize_ == before)
        resizeGraph(graphSize_);
}

int MainWindow::statusLineHeight() const
{
    if (textSize_ == TextSize::Standard)
        return rangeLine_->sizeHint().height();
    const QFontMetrics metrics(rangeLine_->font());
    return metrics.height() + metrics.lineSpacing();
}

void MainWindow::updateMinimumSize()
{
    QSize minClient = minimumClientSize(statusLineHeight());
    if (textSize_ != TextSize::Standard) {
        // The graph, and so the status lines, must be wide enough for each
        // half of the widest range line on a line of its own.
        const QFontMetrics metrics(rangeLine_->font());
        const CoordFrame widest{-9999.999L, -9999.999L, -9999.999L, -9999.999L};
        int half = 0;
        for (const QString &part : rangeStatusText(widest).split(kRangeHalves, Qt::SkipEmptyParts))
            half = std::max(half, metrics.horizontalAdvance(part.trimmed()));
        const int graph = half + 2 * kStatusPadding + metrics.averageCharWidth();
        const int grow = std::max(0, graph - kMinGraphSize);
        minClient += QSize(grow, grow);
    }
    setMinimumSize(std::max(kMinWindowSize.width(), minClient.width()),
                   std::max(kMinWindowSize.height(), minClient.height() + menuBar()->sizeHint().height()));
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
