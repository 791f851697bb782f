// Windows on a screen with little room: every dialog scaled down as a whole,
// or scrolled where scaling would leave its text too small, and back at its
// own size where it fits; a window the user moved opens there again; the main
// window's place is remembered between runs; a long item list scrolls.
#include "control/display_settings.h"
#include "control/scripted_questions.h"
#include "model/colours.h"
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include "windows/recording_windows.h"
#include "windows/window_fit.h"
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <map>

namespace gq
{

namespace
{
QRect freeArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Each control's place within its parent, up to the window.
bool insideWindow(const QWidget &window, const QWidget &control)
{
    for (const QWidget *c = &control; c != &window; c = c->parentWidget())
        if (!QRect(QPoint(0, 0), c->parentWidget()->size()).contains(c->geometry()))
            return false;
    return true;
}

QList<QWidget *> controls(const QWidget &window)
{
    QList<QWidget *> shown;
    for (QWidget *c : window.findChildren<QWidget *>())
        if (!c->isWindow() && c->isVisibleTo(&window) && c->objectName() != QLatin1String("fitScrollBar") &&
            !c->objectName().startsWith(QLatin1String("qt_"))) // a control's own parts are its own
            shown << c;
    return shown;
}

// Whether the control comes wholly into the window at some position of the
// window's scroll bar.
bool reachable(const QWidget &window, const QWidget &control, QScrollBar *bar)
{
    if (!bar || !bar->isVisibleTo(&window))
        return insideWindow(window, control);
    for (int value = bar->minimum();; value = std::min(bar->maximum(), value + bar->pageStep() / 4)) {
        bar->setValue(value);
        if (insideWindow(window, control))
            return true;
        if (value == bar->maximum())
            return false;
    }
}

std::map<QWidget *, QRect> places(const QWidget &window)
{
    std::map<QWidget *, QRect> at;
    for (QWidget *c : window.findChildren<QWidget *>())
        at[c] = c->geometry();
    return at;
}

Item explicitItem(const char *formula, uint32_t colour)
{
    Item item;
    item.kind = KindExplicit;
    item.text[1] = formula;
    item.colour = colour;
    return item;
}
} // namespace

TEST(WindowFit, EveryDialogScalesDownOrScrollsToItsRoomAndComesBackWhereItFits)
{
    MainWindow g;
    ProgramWindows windows(g);
    const QList<QDialog *> dialogs = g.findChildren<QDialog *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_GE(dialogs.size(), 11);
    for (QDialog *d : dialogs) {
        SCOPED_TRACE(d->objectName().toStdString());
        // Its own size, as its layout (if any) gives it.
        d->adjustSize();
        fitWindowToRoom(*d, d->size() + QSize(100, 100));
        const QSize own = d->size();
        const std::map<QWidget *, QRect> design = places(*d);
        const QFont font = d->font();
        struct Room {
            const char *what;
            QSize room;
            bool laidOutToo; // a window placed by its layout can do it too
        } rooms[] = {
            {"room to spare", own + QSize(100, 100), true},
            {"nine tenths: scaled down, legible", QSize(own.width() * 9 / 10, own.height() * 9 / 10), true},
            {"half the height: scrolls", QSize(own.width(), own.height() / 2), false},
            {"its own size again", own, true},
        };
        for (const Room &r : rooms) {
            SCOPED_TRACE(r.what);
            if (!r.laidOutToo && d->layout())
                continue;
            fitWindowToRoom(*d, r.room);
            EXPECT_LE(d->width(), r.room.width());
            EXPECT_LE(d->height(), r.room.height());
            EXPECT_GE(windowScale(*d), d->layout() ? 0.5 : kMinLegibleScale);
            auto *bar = d->findChild<QScrollBar *>(QStringLiteral("fitScrollBar"));
            for (QWidget *c : controls(*d))
                EXPECT_TRUE(reachable(*d, *c, bar))
                    << c->metaObject()->className() << " " << c->objectName().toStdString() << " "
                    << c->geometry().x() << "," << c->geometry().y() << " " << c->width() << "x" << c->height()
                    << " in " << c->parentWidget()->width() << "x" << c->parentWidget()->height();
        }
        // At its own size nothing of the fitting is left.
        EXPECT_EQ(d->size(), own);
        EXPECT_EQ(windowScale(*d), 1.0);
        EXPECT_EQ(d->font(), font);
        if (!d->layout()) {
            for (const auto &[w, r] : design)
                EXPECT_EQ(w->geometry(), r) << w->objectName().toStdString() << " " << w->metaObject()->className();
        }
    }
}

TEST(WindowKeeper, AWindowTheUserMovedOpensThereAgainWithinTheScreen)
{
    MainWindow g;
    ProgramWindows windows(g);
    g.show();
    auto *range = g.findChild<QDialog *>(QStringLiteral("Hanichange"));
    ASSERT_NE(range, nullptr);
    const QRect area = freeArea();
    struct Opening {
        QPoint userMovesTo; // where the user drags it while it is open
        QPoint opensAt;     // where it opens the next time
    } openings[] = {
        {{200, 150}, {200, 150}},
        // Dragged half off the screen: the next opening brings it back.
        {{area.right() - 50, area.bottom() - 50}, {}},
    };
    for (const Opening &o : openings) {
        QTimer::singleShot(0, range, [range, o] {
            range->move(o.userMovesTo);
            range->reject();
        });
        windows.openRangeDialog();
        QPoint seen;
        QTimer::singleShot(0, range, [range, &seen] {
            seen = range->pos();
            range->reject();
        });
        windows.openRangeDialog();
        if (!o.opensAt.isNull()) {
            EXPECT_EQ(seen, o.opensAt);
        }
        EXPECT_TRUE(area.contains(QRect(seen, range->frameGeometry().size())));
    }
}

TEST(MainWindowPlace, RememberedBetweenRunsAndRestoredOnlyWhereItFits)
{
    const QRect area = freeArea();
    const QRect inside(area.left() + 40, area.top() + 30, 700, 500);
    struct Case {
        const char *what;
        QRect stored; // empty: none
        QRect opens;
    } cases[] = {
        {"none stored: the free area", QRect(), area},
        {"stored and fits: restored", inside, inside},
        {"stored off every screen", QRect(area.right() + 500, 0, 700, 500), area},
        {"stored larger than the screen", QRect(0, 0, area.width() + 400, area.height() + 400), area},
    };
    for (const Case &c : cases) {
        storeMainWindowPlace(c.stored, false);
        MainWindow g;
        EXPECT_EQ(g.geometry(), c.opens) << c.what;
    }
    // Closing stores where the window is.
    storeMainWindowPlace(QRect(), false);
    {
        MainWindow g;
        g.show();
        g.setGeometry(inside);
        g.close();
    }
    ASSERT_TRUE(storedMainWindowPlace().has_value());
    EXPECT_EQ(storedMainWindowPlace()->geometry, inside);
    EXPECT_FALSE(storedMainWindowPlace()->maximized);
    storeMainWindowPlace(QRect(), false);
}

TEST(ItemListScroll, ALongListScrollsByKeysAndWheelAndShowsTheEntryBeingRegistered)
{
    storeMainWindowPlace(QRect(), false);
    storeTextSize(TextSize::ExtraLarge);
    ScriptedQuestions ask;
    RecordingWindows windows;
    MainWindow g;
    g.setQuestions(&ask);
    g.setSecondaryWindows(&windows);
    g.show();
    g.doc().itemCount = 9;
    for (int i = 1; i <= 9; ++i)
        g.doc().items[i] = explicitItem("x^2+2*x-1", kItemColours[i]);
    g.updateMenus();
    g.redrawItemList();

    auto *list = g.findChild<QScrollArea *>(QStringLiteral("TextScroll"));
    ASSERT_NE(list, nullptr);
    QScrollBar *bar = list->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "nine entries at 特大 do not fit";
    EXPECT_EQ(list->widget()->width(), list->viewport()->width() - (bar->isVisible() ? 0 : bar->sizeHint().width()))
        << "the text leaves the bar its room";
    const auto key = [&](int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(list, &press);
        return bar->value();
    };
    EXPECT_EQ(key(Qt::Key_End), bar->maximum());
    EXPECT_EQ(key(Qt::Key_Home), 0);
    EXPECT_EQ(key(Qt::Key_Down), bar->singleStep());
    EXPECT_GT(key(Qt::Key_PageDown), bar->singleStep());
    key(Qt::Key_Home);
    // The wheel over the list's picture is left to the list, which scrolls
    // (the window system's wheel events go on to the parent; a test's do not).
    QWidget *picture = g.findChild<QWidget *>(QStringLiteral("Text"));
    const auto wheel = [&](QWidget *over) {
        QWheelEvent turn(QPointF(20, 20), over->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &turn);
        return turn.isAccepted();
    };
    EXPECT_FALSE(wheel(picture));
    wheel(list->viewport());
    EXPECT_GT(bar->value(), 0);

    // The tenth entry is drawn at the end before its colour is chosen, and
    // comes into view for the choice.
    key(Qt::Key_Home);
    int shownWhileChoosing = -1;
    ask.onColour = [&] { shownWhileChoosing = bar->value(); };
    ask.keyboardAnswers = {"x"};
    g.registerAdditional(KindExplicit);
    EXPECT_EQ(g.doc().itemCount, 10);
    EXPECT_EQ(shownWhileChoosing, bar->maximum());
    storeTextSize(TextSize::Standard);
}

} // namespace gq
