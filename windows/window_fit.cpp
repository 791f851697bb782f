#include "windows/window_fit.h"

#include "control/window_placement.h"
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace gq
{

namespace
{
// What the fitting keeps on each widget it changes: the design (as the
// window's own code last set it) and what was applied, so that a change the
// window makes later is taken as its new design.
const char *const kDesign = "gqFitDesign";
const char *const kApplied = "gqFitApplied";
const char *const kDesignFont = "gqFitDesignFont";
const char *const kAppliedFont = "gqFitAppliedFont";
const char *const kOwnFont = "gqFitOwnFont";
const char *const kDesignMin = "gqFitDesignMin";
const char *const kAppliedMin = "gqFitAppliedMin";
const char *const kDesignMax = "gqFitDesignMax";
const char *const kAppliedMax = "gqFitAppliedMax";
const char *const kScale = "gqFitScale";
const char *const kScrollBarName = "fitScrollBar";
// What the keeper keeps on each window: where it put it and what the user chose.
const char *const kGivenPlace = "gqGivenPlace";
const char *const kGivenSize = "gqGivenSize";
const char *const kUserPlace = "gqUserPlace";
const char *const kUserSize = "gqUserSize";

int rnd(double v)
{
    return static_cast<int>(std::lround(v));
}

// Edges scaled, so that controls that touched still touch.
QRect scaled(const QRect &r, double k)
{
    const int left = rnd(r.left() * k), top = rnd(r.top() * k);
    return {left, top, std::max(1, rnd((r.left() + r.width()) * k) - left),
            std::max(1, rnd((r.top() + r.height()) * k) - top)};
}

QSize scaled(QSize s, double k)
{
    return {std::max(1, rnd(s.width() * k)), std::max(1, rnd(s.height() * k))};
}

QScrollBar *fitScrollBar(const QWidget &window)
{
    return window.findChild<QScrollBar *>(QString::fromLatin1(kScrollBarName), Qt::FindDirectChildrenOnly);
}

// Widgets that place their own parts: those parts are left to them.
bool placesItsOwnParts(const QWidget *w)
{
    return qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QAbstractScrollArea *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractSlider *>(w);
}

// The controls of the window whose places and fonts are its design.
void collectControls(QWidget &parent, std::vector<QWidget *> &out)
{
    for (QWidget *c : parent.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (c->isWindow() || c->objectName().startsWith(QLatin1String("qt_")) ||
            c->objectName() == QLatin1String(kScrollBarName))
            continue;
        out.push_back(c);
        if (!placesItsOwnParts(c))
            collectControls(*c, out);
    }
}

// The design value of a widget's property pair: the stored design while the
// widget still shows what was applied, else what it shows now.
template <typename T> T designOf(const QWidget &w, const T &now, const char *design = kDesign,
                                 const char *applied = kApplied)
{
    const QVariant d = w.property(design), a = w.property(applied);
    if (d.isValid() && a.value<T>() == now)
        return d.value<T>();
    return now;
}

template <typename T> void remember(QWidget &w, const T &design, const T &applied, const char *designKey = kDesign,
                                    const char *appliedKey = kApplied)
{
    w.setProperty(designKey, QVariant::fromValue(design));
    w.setProperty(appliedKey, QVariant::fromValue(applied));
}

QPoint scaled(QPoint p, double k)
{
    return {rnd(p.x() * k), rnd(p.y() * k)};
}

// A fixed width or height that a layout keeps (a narrow button, say) scales
// with the rest.
void scaleLimits(QWidget &w, double k)
{
    const QSize designMin = designOf<QSize>(w, w.minimumSize(), kDesignMin, kAppliedMin);
    const QSize designMax = designOf<QSize>(w, w.maximumSize(), kDesignMax, kAppliedMax);
    const bool fixed = designMin.width() == designMax.width() || designMin.height() == designMax.height();
    if (!fixed || (k == 1.0 && !w.property(kDesignMin).isValid()))
        return;
    const auto limit = [k](int v) { return v >= QWIDGETSIZE_MAX ? v : rnd(v * k); };
    w.setMinimumSize(limit(designMin.width()), limit(designMin.height()));
    w.setMaximumSize(limit(designMax.width()), limit(designMax.height()));
    remember<QSize>(w, designMin, w.minimumSize(), kDesignMin, kAppliedMin);
    remember<QSize>(w, designMax, w.maximumSize(), kDesignMax, kAppliedMax);
}

void scaleFont(QWidget &w, double k)
{
    const bool known = w.property(kDesignFont).isValid();
    if (!known && k == 1.0)
        return;
    const bool changedSince = known && w.font() != w.property(kAppliedFont).value<QFont>();
    if (!known || changedSince) {
        w.setProperty(kDesignFont, w.font());
        w.setProperty(kOwnFont, w.testAttribute(Qt::WA_SetFont));
    }
    const QFont design = w.property(kDesignFont).value<QFont>();
    if (k == 1.0) {
        // Back to the design: a font the widget had of its own, or the
        // inherited one.
        w.setFont(w.property(kOwnFont).toBool() ? design : QFont());
    } else {
        QFont f = design;
        if (design.pointSizeF() > 0)
            f.setPointSizeF(design.pointSizeF() * k);
        else
            f.setPixelSize(std::max(1, rnd(design.pixelSize() * k)));
        w.setFont(f);
    }
    w.setProperty(kAppliedFont, w.font());
}

// Places and fonts of the window's controls at k times their design, the
// window's direct children offset upwards by scroll pixels.
void scaleControls(QWidget &window, double k, int scroll)
{
    std::vector<QWidget *> controls;
    collectControls(window, controls);
    scaleFont(window, k);
    // Where each control's design lies in the window: controls are scaled in
    // the window's frame, so that one that ends at its parent's edge still
    // does after rounding.
    std::map<const QWidget *, QPoint> origin{{&window, QPoint(0, 0)}};
    for (QWidget *c : controls) {
        if (c->testAttribute(Qt::WA_SetFont) || c->property(kDesignFont).isValid())
            scaleFont(*c, k);
        QWidget *parent = c->parentWidget();
        if (parent->layout()) {
            scaleLimits(*c, k); // its layout places it
            continue;
        }
        const QRect design = designOf<QRect>(*c, c->geometry());
        const auto known = origin.find(parent);
        const QPoint base = known != origin.end() ? known->second : QPoint(0, 0);
        origin[c] = base + design.topLeft();
        if (k == 1.0 && scroll == 0 && !c->property(kDesign).isValid())
            continue;
        QRect target = scaled(design.translated(base), k).translated(-scaled(base, k));
        if (parent == &window)
            target.translate(0, -scroll);
        c->setGeometry(target);
        remember<QRect>(*c, design, c->geometry());
    }
}

// A layout's spacing and margins scale with the window's fonts.
void scaleLayouts(QWidget &window, double k)
{
    const QList<QLayout *> layouts = window.findChildren<QLayout *>();
    // All designs first: a nested layout's spacing follows its parent's.
    for (QLayout *layout : layouts) {
        if (layout->property(kDesign).isValid() || k == 1.0)
            continue;
        const QMargins m = layout->contentsMargins();
        int horizontal = layout->spacing(), vertical = horizontal;
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            horizontal = grid->horizontalSpacing();
            vertical = grid->verticalSpacing();
        }
        layout->setProperty(kDesign, QRect(m.left(), m.top(), m.right(), m.bottom()));
        layout->setProperty(kDesignMin, QSize(horizontal, vertical));
    }
    for (QLayout *layout : layouts) {
        if (!layout->property(kDesign).isValid())
            continue;
        const QRect m = layout->property(kDesign).toRect();
        const QSize spacing = layout->property(kDesignMin).toSize();
        layout->setContentsMargins(rnd(m.left() * k), rnd(m.top() * k), rnd(m.width() * k), rnd(m.height() * k));
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            if (spacing.width() >= 0)
                grid->setHorizontalSpacing(rnd(spacing.width() * k));
            if (spacing.height() >= 0)
                grid->setVerticalSpacing(rnd(spacing.height() * k));
        } else if (spacing.width() >= 0) {
            layout->setSpacing(rnd(spacing.width() * k));
        }
    }
}

void setWindowSize(QWidget &window, QSize size)
{
    if (window.minimumSize() == window.maximumSize())
        window.setFixedSize(size);
    else
        window.resize(size);
}

void fitLaidOutWindow(QWidget &window, QSize room)
{
    // Fonts scaled until the layout's least size fits; the layout's own
    // spacing does not scale, so a few rounds may be needed. The window then
    // takes the room it has, as far as its layout lets it.
    QLayout &layout = *window.layout();
    double k = 1.0;
    scaleControls(window, k, 0);
    scaleLayouts(window, k);
    // Controls of a window not yet shown do not tell its layout that their
    // fonts changed.
    const auto relayout = [&] {
        for (QLayout *l : window.findChildren<QLayout *>())
            l->invalidate();
        layout.activate();
    };
    for (int round = 0; round < 10; ++round) {
        relayout();
        const QSize least = window.minimumSize().expandedTo(window.minimumSizeHint());
        if (least.width() <= room.width() && least.height() <= room.height())
            break;
        k *= std::min(room.width() / double(least.width()), room.height() / double(least.height())) * 0.98;
        scaleControls(window, k, 0);
        scaleLayouts(window, k);
    }
    relayout();
    if (window.minimumSize() != window.maximumSize()) {
        window.resize(window.size().boundedTo(room).expandedTo(window.minimumSize()));
        layout.setGeometry(window.rect()); // at once, shown or not
    }
    window.setProperty(kScale, k);
}
} // namespace

QRect availableAreaAt(QPoint point)
{
    const QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QMargins frameMarginsOf(const QWidget &window, const QWidget *like)
{
    const QRect frame = window.frameGeometry(), client = window.geometry();
    const QMargins own(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                       frame.bottom() - client.bottom());
    if (!own.isNull() || !like || like == &window)
        return own;
    return frameMarginsOf(*like, nullptr);
}

double windowScale(const QWidget &window)
{
    const QVariant k = window.property(kScale);
    return k.isValid() ? k.toDouble() : 1.0;
}

void fitWindowToRoom(QWidget &window, QSize room)
{
    room = room.expandedTo(QSize(1, 1));
    if (window.layout()) {
        fitLaidOutWindow(window, room);
        return;
    }
    const QSize design = designOf<QSize>(window, window.size());
    const bool wasScaled = window.property(kScale).isValid();
    const bool fits = design.width() <= room.width() && design.height() <= room.height();
    QScrollBar *bar = fitScrollBar(window);
    if (fits && !wasScaled)
        return; // the common case: nothing of the window is touched

    double k = 1.0;
    bool scrolls = false;
    if (!fits) {
        k = std::min(room.width() / double(design.width()), room.height() / double(design.height()));
        if (k < kMinLegibleScale) {
            // Legible text and a scroll bar; the width still has to fit.
            const int barWidth = bar ? bar->sizeHint().width() : QScrollBar(Qt::Vertical).sizeHint().width();
            k = std::min(kMinLegibleScale, (room.width() - barWidth) / double(design.width()));
            k = std::max(k, 0.05);
            scrolls = rnd(design.height() * k) > room.height();
        }
    }
    const QSize content = scaled(design, k);
    if (scrolls && !bar) {
        bar = new QScrollBar(Qt::Vertical, &window);
        bar->setObjectName(QString::fromLatin1(kScrollBarName));
        QObject::connect(bar, &QScrollBar::valueChanged, &window, [&window](int value) {
            scaleControls(window, windowScale(window), value);
        });
    }
    QSize size = content;
    if (scrolls) {
        const int barWidth = bar->sizeHint().width();
        size = QSize(content.width() + barWidth, room.height());
        const QSignalBlocker quiet(bar);
        bar->setRange(0, content.height() - size.height());
        bar->setPageStep(size.height());
        bar->setSingleStep(std::max(1, size.height() / 10));
        bar->setValue(0);
        bar->setGeometry(content.width(), 0, barWidth, size.height());
        bar->show();
        bar->raise();
    } else if (bar) {
        const QSignalBlocker quiet(bar);
        bar->setValue(0);
        bar->hide();
    }
    window.setProperty(kScale, k);
    scaleControls(window, k, 0);
    setWindowSize(window, size);
    remember<QSize>(window, design, window.size());
    if (k == 1.0 && !scrolls) {
        // Back at its own size: nothing of the fitting is left on it.
        window.setProperty(kScale, QVariant());
    }
}

// --------------------------------------------------------------- WindowKeeper

WindowKeeper::WindowKeeper(QWidget &mainWindow) : main_(mainWindow)
{
    qApp->installEventFilter(this);
}

WindowKeeper::~WindowKeeper()
{
    qApp->removeEventFilter(this);
}

bool WindowKeeper::kept(const QWidget &window) const
{
    if (&window == &main_ || !window.isWindow())
        return false;
    const Qt::WindowType type = window.windowType();
    return type == Qt::Dialog || type == Qt::Window || type == Qt::Tool;
}

bool WindowKeeper::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::ShowToParent && type != QEvent::Hide && type != QEvent::Wheel)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (type == QEvent::Wheel) {
        // Over a window that scrolls, the wheel scrolls it, unless the
        // control under the pointer uses the wheel itself.
        QWidget *window = widget->window();
        QScrollBar *bar = fitScrollBar(*window);
        if (!bar || !bar->isVisible() || placesItsOwnParts(widget) || widget == bar || !kept(*window))
            return false;
        scroll(*window, static_cast<QWheelEvent *>(event)->angleDelta().y());
        return true;
    }
    if (!kept(*widget) || event->spontaneous())
        return false;
    if (type == QEvent::Show)
        opening(*widget);
    else if (type == QEvent::ShowToParent) {
        // A window that moved itself while it was being shown is placed again.
        if (widget->pos() != widget->property(kGivenPlace).toPoint())
            place(*widget);
    } else
        closing(*widget);
    return false;
}

void WindowKeeper::scroll(QWidget &window, int delta)
{
    QScrollBar *bar = fitScrollBar(window);
    bar->setValue(bar->value() - delta * bar->singleStep() * 3 / 120);
}

void WindowKeeper::opening(QWidget &window)
{
    const QMargins frame = frameMarginsOf(window, &main_);
    const QVariant userPlace = window.property(kUserPlace);
    const QPoint where = userPlace.isValid() ? userPlace.toPoint() : window.pos();
    const QRect area = availableAreaAt(QRect(where, window.size()).center());
    const QSize room = area.size().shrunkBy(frame);
    const QVariant userSize = window.property(kUserSize);
    if (userSize.isValid() && window.minimumSize() != window.maximumSize())
        window.resize(userSize.toSize().boundedTo(room));
    fitWindowToRoom(window, room);
    place(window);
}

void WindowKeeper::place(QWidget &window)
{
    const QMargins frame = frameMarginsOf(window, &main_);
    const QVariant userPlace = window.property(kUserPlace);
    PlacementRequest request;
    request.size = window.size().grownBy(frame);
    request.userPlaced = userPlace.isValid();
    request.wanted = request.userPlaced ? userPlace.toPoint() : window.pos();
    request.available = availableAreaAt(QRect(request.wanted, request.size).center());
    for (QWidget *other : QApplication::topLevelWidgets())
        if (other != &window && other->isVisible() && kept(*other))
            request.others.push_back(other->frameGeometry());
    const QPoint at = placeWindow(request);
    window.move(at);
    window.setProperty(kGivenPlace, at);
    window.setProperty(kGivenSize, window.size());
}

void WindowKeeper::closing(QWidget &window)
{
    // A place or size other than the one given was the user's choice.
    const QVariant given = window.property(kGivenPlace);
    if (given.isValid() && window.pos() != given.toPoint())
        window.setProperty(kUserPlace, window.pos());
    const QVariant givenSize = window.property(kGivenSize);
    if (givenSize.isValid() && window.minimumSize() != window.maximumSize() && window.size() != givenSize.toSize())
        window.setProperty(kUserSize, window.size());
}

} // namespace gq
