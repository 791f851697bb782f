// Helpers for the calculus windows' tests: a main window with scripted
// questions and one registered function, synthesised mouse presses and
// pixel queries on the visible graph; timer ticks are timer_tick.h's.
#pragma once

#include "common/canvas_count.h"
#include "control/scripted_questions.h"
#include "windows/main_window.h"
#include "windows/recording_windows.h"
#include "windows/timer_tick.h"
#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace gq
{

// A mouse button going down or up in the middle of a widget, as the window
// system delivers it.
inline void mouse(QWidget *w, QEvent::Type type)
{
    ASSERT_NE(w, nullptr);
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
inline void press(QWidget *w)
{
    mouse(w, QEvent::MouseButtonPress);
}
inline void release(QWidget *w)
{
    mouse(w, QEvent::MouseButtonRelease);
}
inline void click(QWidget *w)
{
    press(w);
    release(w);
}

class CalculusWindowTest : public ::testing::Test
{
  protected:
    CalculusWindowTest()
    {
        g.setQuestions(&ask);
        g.setSecondaryWindows(&windows);
    }
    // A fresh list of one explicit function, drawn.
    void registerFunction(const char *formula)
    {
        ask.confirmAnswers = {true};
        ask.keyboardAnswers = {formula};
        ask.colourAnswers = {rgbColour(0, 0, 0)};
        g.registerNew(KindExplicit);
        g.showStandard();
    }
    template <class T> T *child(QWidget *window, const char *name)
    {
        T *w = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    const Canvas &visible() { return g.visibleGraph(); }
    int px(long double x) { return g.renderer().view().xToPixel(x); }
    int py(long double y) { return g.renderer().view().yToPixel(y); }
    // Pixels of the colour on the visible graph in a world rectangle.
    int count(uint32_t colour, long double xa, long double ya, long double xb, long double yb)
    {
        return countColour(visible(), colour, px(xa), py(yb), px(xb), py(ya));
    }

    ScriptedQuestions ask;
    RecordingWindows windows;
    MainWindow g;
};

} // namespace gq
