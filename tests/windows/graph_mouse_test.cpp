// The main window's graph under the mouse, with synthesised events on the
// real widgets: the search-mode read-out and click zoom, wheel zoom and drag
// panning in normal mode, and the layout after a resize.
#include "control/scripted_questions.h"
#include "control/status_lines.h"
#include "render/axes.h"
#include "windows/main_window.h"
#include "windows/recording_windows.h"
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
constexpr uint32_t kRed = 0x000000FF;

void mouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}
void move(QWidget *w, QPoint p, Qt::MouseButtons held = Qt::NoButton)
{
    mouse(w, QEvent::MouseMove, p, Qt::NoButton, held);
}
void press(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonPress, p, button, button);
}
void release(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonRelease, p, button, Qt::NoButton);
}
void wheel(QWidget *w, QPoint p, int delta)
{
    QWheelEvent e(QPointF(p), w->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

// Runs the event loop until the picture shows the document's frame: a drag
// step or a wheel turn redraws at the next frame of the screen.
bool waitForRedraw(MainWindow &g)
{
    QElapsedTimer clock;
    clock.start();
    while (!(g.renderer().view().frame() == g.doc().frame)) {
        if (clock.elapsed() > 2000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

class GraphMouse : public ::testing::Test
{
  protected:
    GraphMouse()
    {
        g.setQuestions(&ask);
        g.setSecondaryWindows(&windows);
        picture = g.findChild<QWidget *>(QStringLiteral("graphpaint"));
        readout = g.findChild<QLabel *>(QStringLiteral("Label6"));
        itemLabel = g.findChild<QLabel *>(QStringLiteral("Label7"));
        standard = g.findChild<QPushButton *>(QStringLiteral("standard"));
    }
    // The pixel of a world point in the current picture.
    QPoint pixelOf(long double x, long double y)
    {
        const GraphView &v = g.renderer().view();
        return QPoint(v.xToPixel(x), v.yToPixel(y));
    }
    // The x span; the steps work in single precision, so compare loosely.
    double span() { return static_cast<double>(g.doc().frame.xmax - g.doc().frame.xmin); }
    static double near(double v) { return 1e-5 * v; }
    long double centreX() { return (g.doc().frame.xmin + g.doc().frame.xmax) / 2; }
    // One pixel of the current picture, in world units.
    double pixel() { return static_cast<double>(g.renderer().view().xPerPixel()); }

    ScriptedQuestions ask;
    RecordingWindows windows;
    MainWindow g;
    QWidget *picture = nullptr;
    QLabel *readout = nullptr;
    QLabel *itemLabel = nullptr;
    QPushButton *standard = nullptr;
};
} // namespace

TEST_F(GraphMouse, SearchModeReadsOffCoordinatesAndTheItemUnderThePointer)
{
    ask.keyboardAnswers = {"x"};
    ask.colourAnswers = {kRed};
    g.registerNew(KindExplicit);
    g.showStandard();

    move(picture, pixelOf(1, 1));
    EXPECT_FALSE(readout->isVisible()) << "normal mode shows nothing";

    g.show();
    g.enterSearchMode();
    EXPECT_TRUE(standard->isVisible());
    // A point off the line: coordinates only.
    move(picture, pixelOf(1, -2));
    EXPECT_TRUE(readout->isVisible());
    EXPECT_EQ(readout->text(), QStringLiteral("( 1.0 , -2.0 )")) << "about 0.017 a pixel: one decimal";
    EXPECT_EQ(readout->pos(), pixelOf(1, -2) + QPoint(10, 20));
    EXPECT_FALSE(itemLabel->isVisible());
    EXPECT_EQ(picture->cursor().shape(), Qt::CrossCursor);

    // On the red line y = x: its formula, in red.
    const QPoint onLine = pixelOf(2, 2);
    ASSERT_EQ(g.visibleGraph().pixel(onLine.x(), onLine.y()), kRed);
    move(picture, onLine);
    EXPECT_TRUE(itemLabel->isVisible());
    EXPECT_EQ(itemLabel->text(), QStringLiteral("y=x"));
    EXPECT_EQ(itemLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(itemLabel->pos(), onLine + QPoint(10, -20));

    // Over the list both go, and the standard button too.
    move(g.findChild<QWidget *>(QStringLiteral("Text")), QPoint(50, 50));
    EXPECT_FALSE(readout->isVisible());
    EXPECT_FALSE(itemLabel->isVisible());
    EXPECT_FALSE(standard->isVisible());

    // Every command of the display menus hides the read-out first.
    move(picture, onLine);
    g.showStandard();
    EXPECT_FALSE(readout->isVisible());
    EXPECT_FALSE(itemLabel->isVisible());

    g.leaveSearchMode();
    EXPECT_FALSE(standard->isVisible());
    move(picture, onLine);
    EXPECT_FALSE(readout->isVisible());
}

TEST_F(GraphMouse, SearchModeClicksZoomAndTheStandardButtonRestoresTheEntryFrame)
{
    g.show();
    g.doc().frame = CoordFrame{-4, 6, -5, 5};
    g.frameChanged();
    g.enterSearchMode();

    // Left halves about the clicked point, right doubles, others only
    // re-centre; each is redrawn with its range line.
    const QPoint p = pixelOf(1, 1);
    press(picture, p);
    release(picture, p);
    EXPECT_NEAR(span(), 5, near(5));
    EXPECT_NEAR(static_cast<double>(centreX()), 1.0, 0.02);
    EXPECT_EQ(g.renderer().view().frame(), g.doc().frame) << "redrawn";
    EXPECT_EQ(g.rangeLineText(), rangeStatusText(g.doc().frame));
    press(picture, pixelOf(0, 0), Qt::RightButton);
    EXPECT_NEAR(span(), 10, near(10));
    press(picture, pixelOf(-1, 0), Qt::MiddleButton);
    EXPECT_NEAR(span(), 10, near(10));
    EXPECT_NEAR(static_cast<double>(centreX()), -1.0, 0.02);

    // The list hides the standard button; a click on the graph shows it again.
    move(g.findChild<QWidget *>(QStringLiteral("Text")), QPoint(5, 5));
    EXPECT_FALSE(standard->isVisible());
    press(picture, QPoint(100, 100), Qt::MiddleButton);
    EXPECT_TRUE(standard->isVisible());
    move(picture, QPoint(100, 100));
    EXPECT_TRUE(readout->isVisible());
    standard->click();
    EXPECT_EQ(g.doc().frame, (CoordFrame{-4, 6, -5, 5})) << "the frame of the moment search mode began";
    EXPECT_FALSE(readout->isVisible()) << "its coordinates were those of the old frame";
    EXPECT_TRUE(g.rangeLineText().startsWith(QStringLiteral("x座標:  -4.000 ≦ｘ≦ 6.000")));

    // With overlay display on, a click does nothing.
    g.showOverlaid();
    press(picture, pixelOf(1, 1));
    EXPECT_EQ(g.doc().frame, (CoordFrame{-4, 6, -5, 5}));
}

TEST_F(GraphMouse, WheelZoomsAboutThePointerInNormalModeOnly)
{
    g.show();
    const QPoint p = pixelOf(2, 1);
    wheel(picture, p, 120);
    EXPECT_NEAR(span(), 5, near(5));
    EXPECT_TRUE(waitForRedraw(g)) << "redrawn";
    EXPECT_NEAR(static_cast<double>(g.renderer().view().pixelToX(p.x())), 2.0, 2 * pixel())
        << "the point under the pointer stays";
    wheel(picture, p, 60);
    EXPECT_NEAR(span(), 5, near(5)) << "half a notch";
    wheel(picture, p, -300);
    EXPECT_NEAR(span(), 20, near(20)) << "the half notch kept, then two notches out";
    EXPECT_TRUE(waitForRedraw(g));

    // Not in search mode, nor while a window is open.
    const CoordFrame before = g.doc().frame;
    g.enterSearchMode();
    wheel(picture, p, 120);
    g.leaveSearchMode();
    QDialog tool(&g);
    tool.show();
    EXPECT_TRUE(g.toolWindowOpen());
    wheel(picture, p, 120);
    EXPECT_EQ(g.doc().frame, before);
    tool.hide();
    EXPECT_FALSE(g.toolWindowOpen());
    wheel(picture, p, 120);
    EXPECT_NEAR(span(), 10, near(10));
}

TEST_F(GraphMouse, DraggingMovesTheFrameAndRedrawsAsItGoes)
{
    g.show();
    const double unit = pixel();
    const int startAxis = g.renderer().view().xToPixel(0);
    const QPoint start(100, 100);
    press(picture, start);
    EXPECT_EQ(picture->cursor().shape(), Qt::ClosedHandCursor);
    move(picture, start + QPoint(60, -20), Qt::LeftButton);
    EXPECT_NEAR(static_cast<double>(g.doc().frame.xmin), -5 - 60 * unit, 1e-9);
    EXPECT_NEAR(static_cast<double>(g.doc().frame.ymin), -5 - 20 * unit, 1e-9);
    ASSERT_TRUE(waitForRedraw(g));
    // The y axis has moved with the pointer, 60 pixels to the right.
    const int axis = startAxis + 60;
    EXPECT_EQ(g.renderer().view().xToPixel(0), axis);
    EXPECT_EQ(g.visibleGraph().pixel(axis, g.graphSize() / 4), kAxisColour);
    EXPECT_EQ(g.rangeLineText(), rangeStatusText(g.doc().frame));
    release(picture, start + QPoint(60, -20));
    EXPECT_NE(picture->cursor().shape(), Qt::ClosedHandCursor);

    const CoordFrame dropped = g.doc().frame;
    move(picture, QPoint(10, 10));
    EXPECT_EQ(g.doc().frame, dropped) << "no button held: no drag";
    press(picture, start, Qt::RightButton);
    move(picture, start + QPoint(30, 30), Qt::RightButton);
    EXPECT_EQ(g.doc().frame, dropped) << "only the left button drags";
    release(picture, start + QPoint(30, 30), Qt::RightButton);

    // In search mode a press is a click zoom, never the start of a drag.
    g.enterSearchMode();
    press(picture, start);
    const CoordFrame zoomed = g.doc().frame;
    move(picture, start + QPoint(40, 0), Qt::LeftButton);
    EXPECT_EQ(g.doc().frame, zoomed);
    release(picture, start + QPoint(40, 0));
}

// Steps that arrive before the redraw of an earlier one are merged into it:
// one picture, at the last position, whatever the number of steps.
TEST_F(GraphMouse, DragStepsAndWheelTurnsBetweenTwoScreenFramesMakeOneRedrawAtTheLastPosition)
{
    g.show();
    ASSERT_TRUE(waitForRedraw(g));
    int redraws = 0;
    const auto present = g.renderer().hooks.present;
    g.renderer().hooks.present = [&](const Canvas &image) {
        ++redraws;
        present(image);
    };
    const QPoint start(100, 100);
    press(picture, start);
    for (int k = 1; k <= 20; ++k)
        move(picture, start + QPoint(3 * k, k), Qt::LeftButton);
    wheel(picture, start + QPoint(60, 20), 120);
    release(picture, start + QPoint(60, 20));
    EXPECT_EQ(redraws, 0) << "nothing drawn before the next frame";
    ASSERT_TRUE(waitForRedraw(g));
    for (int k = 0; k < 10; ++k) { // nothing more is pending
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(g.rangeLineText(), rangeStatusText(g.doc().frame));
    EXPECT_NEAR(span(), 5, near(5)) << "the wheel turn counted";
}

TEST_F(GraphMouse, TheWindowLaysItselfOutAgainWhenResized)
{
    g.show();
    const auto check = [this](const char *when) {
        SCOPED_TRACE(when);
        QWidget *list = g.findChild<QWidget *>(QStringLiteral("Text"));
        QWidget *frame = g.findChild<QWidget *>(QStringLiteral("graphframe"));
        QWidget *status = g.findChild<QWidget *>(QStringLiteral("status"));
        ASSERT_TRUE(list && frame && status);
        const QRect client = g.centralWidget()->rect();
        for (QWidget *w : {list, frame, status})
            EXPECT_TRUE(client.contains(w->geometry())) << w->objectName().toStdString();
        EXPECT_FALSE(list->geometry().intersects(frame->geometry()));
        EXPECT_EQ(picture->size(), QSize(g.graphSize(), g.graphSize())) << "square";
        EXPECT_EQ(g.visibleGraph().width(), g.graphSize());
        // The new picture is drawn: the y axis crosses its middle.
        const int axis = g.renderer().view().xToPixel(0);
        EXPECT_EQ(g.visibleGraph().pixel(axis, g.graphSize() / 4), kAxisColour);
    };
    check("start-up");
    const int startSize = g.graphSize();

    g.resize(1000, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(g.size(), QSize(1000, 700));
    EXPECT_LT(g.graphSize(), startSize);
    EXPECT_EQ(g.graphSize(), static_cast<int>(std::nearbyint(700 * 10.0 / 12.0)));
    check("1000 x 700");

    g.resize(10, 10);
    QCoreApplication::processEvents();
    EXPECT_GE(g.width(), g.minimumWidth());
    EXPECT_GE(g.minimumWidth(), 640);
    EXPECT_GE(g.minimumHeight(), 480);
    check("smallest");

    g.showMaximized();
    QCoreApplication::processEvents();
    check("maximised");
    g.showNormal();
    QCoreApplication::processEvents();
    check("restored");
}

} // namespace gq
