// Every window of the program on the screen this program runs on (its size
// and scale factor are set when the program starts, so screen_fit_test.cpp
// runs it once for each screen): at each text size, the main window with a
// full list and every other window, opened as the user opens them, lie on
// the screen's free area with every control inside its window, reachable by
// scrolling where a scroll area holds it, and no button covered; a window
// opened over another is placed clear of it where the screen has room; the
// list scrolls to its last item.
//
// Windows are found by walking all widgets, so a control added to any window
// is checked without a change here.
#include "control/display_settings.h"
#include "model/colours.h"
#include "windows/file_dialogs.h"
#include "windows/keyboard.h"
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace gq
{

namespace
{
constexpr uint32_t kLastItemColour = 0x000000FF; // red: the tenth item's

QString text(const QRect &r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QRect freeArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

bool isScrollContent(const QWidget *w)
{
    const QWidget *viewport = w->parentWidget();
    const auto *area = viewport ? qobject_cast<const QScrollArea *>(viewport->parentWidget()) : nullptr;
    return area && area->widget() == w;
}

// The program's windows besides the main window that are open now.
QList<QWidget *> openWindows(const QWidget &main)
{
    QList<QWidget *> open;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != &main && w->isVisible() && (w->windowType() == Qt::Dialog || w->windowType() == Qt::Window))
            open << w;
    return open;
}

// Where w lies, within its parents up to the window: every part of it can be
// seen, scrolling a scroll area where one holds it.
void expectWithinParents(QWidget &window, QWidget &w)
{
    for (QWidget *c = &w; c != &window; c = c->parentWidget()) {
        if (isScrollContent(c)) {
            // The scroll area reaches all of its content, if it may scroll
            // the way the content outgrows it.
            auto *area = static_cast<QScrollArea *>(c->parentWidget()->parentWidget());
            if (c->width() > area->viewport()->width()) {
                EXPECT_NE(area->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff)
                    << area->objectName().toStdString();
            }
            if (c->height() > area->viewport()->height()) {
                EXPECT_NE(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff)
                    << area->objectName().toStdString();
            }
            continue;
        }
        EXPECT_TRUE(QRect(QPoint(0, 0), c->parentWidget()->size()).contains(c->geometry()))
            << c->metaObject()->className() << " " << c->objectName().toStdString() << " "
            << text(c->geometry()).toStdString() << " outside " << c->parentWidget()->objectName().toStdString()
            << " " << text(c->parentWidget()->rect()).toStdString();
    }
}

// A button whose middle is not the button itself under the pointer cannot be
// clicked there.
void expectClickable(QWidget &window, QAbstractButton &button)
{
    const QPoint middle = button.mapTo(&window, button.rect().center());
    QWidget *hit = window.childAt(middle);
    while (hit && hit != &button && !qobject_cast<QAbstractButton *>(hit))
        hit = hit->parentWidget();
    EXPECT_EQ(hit, &button) << "covered: " << button.objectName().toStdString() << " "
                            << button.text().toStdString();
}

void expectFits(QWidget &window, const QWidget &main)
{
    SCOPED_TRACE(window.objectName().isEmpty() ? std::string(window.metaObject()->className())
                                               : window.objectName().toStdString());
    EXPECT_TRUE(freeArea().contains(window.frameGeometry()))
        << text(window.frameGeometry()).toStdString() << " on " << text(freeArea()).toStdString();
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (w->isWindow() || !w->isVisibleTo(&window))
            continue;
        expectWithinParents(window, *w);
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            expectClickable(window, *button);
        // A text has the room it needs: its lines, or its one line.
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty() && label->pixmap().isNull()) {
            const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                                : label->sizeHint().width() <= label->width() + 1;
            EXPECT_TRUE(fits) << "clipped text: " << label->objectName().toStdString() << " \""
                              << label->text().toStdString() << "\" " << label->width() << "x" << label->height()
                              << " needs " << label->sizeHint().width();
        }
    }
    // Windows open together do not cover each other where the screen has
    // room for both side by side or one above the other.
    const QRect mine = window.frameGeometry();
    for (QWidget *other : openWindows(main)) {
        const QRect theirs = other->frameGeometry();
        if (other == &window || !other->isVisible())
            continue;
        const bool room = freeArea().width() >= mine.width() + theirs.width() + 4 ||
                          freeArea().height() >= mine.height() + theirs.height() + 4;
        if (room) {
            EXPECT_FALSE(mine.intersects(theirs)) << "covers " << other->objectName().toStdString();
        }
    }
}

// Runs open, which opens windows modally one after another; each window that
// becomes the active modal one is handed to handle, which must close it (and
// may open others from it first).
void whileOpen(const std::function<void()> &open, const std::function<void(QWidget &)> &handle)
{
    std::vector<QWidget *> handling; // outer windows wait for the inner ones
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || std::find(handling.begin(), handling.end(), modal) != handling.end())
            return;
        handling.push_back(modal);
        handle(*modal);
        handling.pop_back();
    });
    poll.start();
    open();
}

Item item(uint8_t kind, std::initializer_list<const char *> texts, uint32_t colour)
{
    Item it;
    it.kind = kind;
    it.colour = colour;
    int k = 1;
    for (const char *t : texts)
        it.text[k++] = t;
    return it;
}

// Ten items that use every parameter, a definition of each kind.
void fillList(Document &doc)
{
    doc.functionCount = 1;
    doc.functionTexts[1] = "x^2";
    doc.constantCount = 1;
    doc.constantTexts[1] = "2";
    const char *pi2 = "2\x83\xCE", *theta = "\x83\xC6+t";
    const Item items[] = {
        item(KindExplicit, {"a*x^2+b"}, kItemColours[1]),
        item(KindExplicit, {"sin(c*x)+d"}, kItemColours[2]),
        item(KindImplicit, {"x^2+y^2-f"}, kItemColours[3]),
        item(KindParametric, {"cos(j*t)", "sin(n*t)", "0", pi2}, kItemColours[4]),
        item(KindPolar, {theta, theta, "0", pi2}, kItemColours[5]),
        item(KindPoint, {"1", "2"}, kItemColours[6]),
        item(KindSegment, {"0", "0", "1", "1"}, kItemColours[8]),
        item(KindExplicit, {"F1(x)+Q1"}, kItemColours[9]),
        item(KindExplicit, {"x^3-x"}, kItemColours[0]),
        item(KindExplicit, {"-x"}, kLastItemColour),
    };
    doc.itemCount = 10;
    for (int i = 0; i < 10; ++i)
        doc.items[i + 1] = items[i];
}

class ScreenFitProbe : public ::testing::TestWithParam<TextSize>
{
  protected:
    void SetUp() override
    {
        useProgramFont(*qApp);
        storeMainWindowPlace(QRect(), false);
        storeTextSize(GetParam());
        g = std::make_unique<MainWindow>();
        windows = std::make_unique<ProgramWindows>(*g);
        g->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        windows.reset();
        g.reset();
    }

    void show(Document doc)
    {
        g->doc() = doc;
        g->updateMenus();
        g->redrawItemList();
        g->showStandard();
        QApplication::processEvents();
    }

    // Checks the window, then closes it: the keyboard with its next answer
    // (or cancelled), the colour panel with a colour, the others cancelled.
    void check(QWidget &window)
    {
        checked << (window.objectName().isEmpty() ? QString::fromLatin1(window.metaObject()->className())
                                                  : window.objectName());
        expectFits(window, *g);
        if (auto *keyboard = qobject_cast<FormulaKeyboard *>(&window)) {
            const int panel = keyboard->panelPosition();
            for (int p = 0; p < 3; ++p) {
                SCOPED_TRACE(testing::Message() << "keyboard layout " << keyboard->currentLayout() << " panel " << p);
                keyboard->setPanelPosition(p);
                expectFits(window, *g);
            }
            keyboard->setPanelPosition(panel);
            if (answers.empty()) {
                keyboard->reject();
                return;
            }
            keyboard->lineTextTyped(QString::fromLatin1(answers.front()));
            answers.pop_front();
            keyboard->finishClicked();
            return;
        }
        if (window.objectName() == QLatin1String("clpanel")) {
            for (QAbstractButton *swatch : window.findChildren<QAbstractButton *>())
                if (swatch->isVisible()) {
                    swatch->click();
                    return;
                }
        }
        if (nested) {
            // A window opened from this one, over it.
            const std::function<void(QWidget &)> inner = std::exchange(nested, nullptr);
            inner(window);
        }
        static_cast<QDialog &>(window).reject();
    }
    void open(const std::function<void()> &opening)
    {
        whileOpen(opening, [this](QWidget &w) { check(w); });
    }
    // Opens the range dialog from window's button named name, checks it over
    // window and closes it.
    std::function<void(QWidget &)> rangeFrom(const char *name)
    {
        // A timer does not fire again while its handler runs: the inner
        // window gets a watch of its own.
        return [this, name](QWidget &window) {
            open([&] { window.findChild<QAbstractButton *>(QString::fromLatin1(name))->click(); });
        };
    }

    std::unique_ptr<MainWindow> g;
    std::unique_ptr<ProgramWindows> windows;
    std::deque<const char *> answers;
    std::function<void(QWidget &)> nested;
    QStringList checked; // the windows seen, by name
};
} // namespace

TEST_P(ScreenFitProbe, EveryWindowLiesOnTheScreenWithEveryControlReachable)
{
    SCOPED_TRACE(testing::Message() << text(freeArea()).toStdString() << " at scale "
                                    << qgetenv("QT_SCALE_FACTOR").toStdString() << ", text "
                                    << textSizeName(GetParam()));
    Document full;
    fillList(full);
    show(full);
    {
        SCOPED_TRACE("main window");
        expectFits(*g, *g);
        // Every menu on the bar, or behind its extension button where the
        // bar is too narrow for all of them.
        QMenuBar *menus = g->menuBar();
        const auto *more = menus->findChild<QWidget *>(QStringLiteral("qt_menubar_ext_button"));
        for (QAction *action : menus->actions()) {
            const QRect place = menus->actionGeometry(action);
            if (action->isVisible() && !(more && more->isVisible())) {
                EXPECT_TRUE(menus->rect().contains(place))
                    << action->text().toStdString() << " " << text(place).toStdString();
            }
        }
    }

    // The list to its end: End on the list shows the last item's last line.
    auto *list = g->findChild<QScrollArea *>(QStringLiteral("TextScroll"));
    ASSERT_NE(list, nullptr);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &end);
    QWidget *picture = list->widget();
    const int shownTop = list->verticalScrollBar()->value();
    const int shownBottom = shownTop + list->viewport()->height();
    const QImage drawn = picture->grab(QRect(0, shownTop, picture->width(), list->viewport()->height())).toImage();
    int lastRow = -1;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if ((drawn.pixel(x, y) & 0xFFFFFF) == 0xFF0000)
                lastRow = y;
    EXPECT_GE(lastRow, 0) << "the last item is in view after End";
    EXPECT_GE(shownBottom, picture->height()) << "scrolled to the end";
    // No item's text runs into the panel's right edge (a heading too wide
    // for the panel wraps).
    const QImage whole = picture->grab().toImage();
    for (int y = 0; y < whole.height(); ++y)
        for (int x = whole.width() - 2; x < whole.width(); ++x) {
            const QRgb c = whole.pixel(x, y) & 0xFFFFFF;
            EXPECT_TRUE(c == 0xFFFFFF || c == 0) << "ink at the edge, row " << y;
        }

    // The windows of the whole document.
    open([&] { windows->showVersion(); });
    for (int layout : {1, 0, 2})
        open([&] {
            KeyboardRequest request;
            request.layout = layout;
            request.funcKeys = request.constKeys = 6;
            g->controller().ask().askKeyboard(request);
        });
    open([&] {
        ColourPanelState colours;
        g->controller().ask().chooseColour(colours);
    });
    open([&] { g->controller().ask().confirm(WarnAllItems); });
    open([&] { g->controller().ask().showMessage(QStringLiteral("式が間違っています2")); });
    open([&] { g->controller().ask().askSaveChanges(); });
    open([&] { g->controller().ask().askRestore(); });
    nested = rangeFrom("Panel1"); // the keyboard over the range dialog
    open([&] { windows->openRangeDialog(); });
    open([&] { windows->openParameterWindow(false); });
    open([&] { windows->openCorrection(1); });
    open([&] { equationFileDialogs(g.get()).forSaving(); });
    open([&] { askGraphFile(g.get()); });

    // The calculus windows, on one explicit function.
    Document one;
    one.itemCount = 1;
    one.items[1] = item(KindExplicit, {"x^2-1"}, kItemColours[1]);
    show(one);
    answers = {"-1", "1"};
    open([&] { g->setInterval(); });
    auto *interval = g->findChild<QWidget *>(QStringLiteral("kukansettei"));
    ASSERT_TRUE(interval && interval->isVisible());
    expectFits(*interval, *g);
    open([&] { windows->openRangeDialog(); }); // over the interval window
    interval->hide();
    answers = {"0", "1"};
    open([&] { windows->openMeanRate(); });
    open([&] { windows->openTangent(); });
    answers = {"0", "1"};
    nested = rangeFrom("Button1"); // 座標変更 over the Riemann-sum window
    open([&] { windows->openRiemannSums(); });
    EXPECT_TRUE(answers.empty());
    checked.removeDuplicates();
    checked.sort();
    EXPECT_EQ(checked.join(u' ').toStdString(),
              "AboutBox1 Hanichange PMove ParaChange QFileDialog QMessageBox clpanel correctform dtangent "
              "integnavi keyfunc restore savechanges warning");
}

INSTANTIATE_TEST_SUITE_P(TextSizes, ScreenFitProbe,
                         ::testing::Values(TextSize::Standard, TextSize::Large, TextSize::ExtraLarge),
                         [](const testing::TestParamInfo<TextSize> &info) {
                             std::string name = textSizeName(info.param);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace gq
