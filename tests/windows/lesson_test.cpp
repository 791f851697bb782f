// Whole lessons on the real program windows: each row is a script of what a
// teacher does (register, read a file, open and close each tool, zoom, drag,
// resize, set and release the interval). After every step the graph must be
// the document drawn afresh, with what the user asked to keep (the slope's
// trace), and the visible picture that graph with the open tool's marks: no
// window may leave behind curves, read-outs or state of an earlier use.
#include "calculus_window_util.h"
#include "model/equation_file.h"
#include "tools/interval_overlay.h"
#include "tools/mean_rate_draw.h"
#include "tools/riemann_drawing.h"
#include "tools/tangent_draw.h"
#include "windows/mean_rate_window.h"
#include "windows/program_windows.h"
#include "windows/riemann_sum_window.h"
#include "windows/tangent_window.h"
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QWheelEvent>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gq
{

namespace
{

class Lesson;
struct Step {
    const char *what;
    std::function<void(Lesson &)> act;
};

class Lesson : public ::testing::Test
{
  protected:
    Lesson()
    {
        g.resize(1000, 740);
        g.show();
        QCoreApplication::processEvents();
        tangent = g.findChild<TangentWindow *>(QStringLiteral("dtangent"));
        meanRate = g.findChild<MeanRateWindow *>(QStringLiteral("PMove"));
        riemann = g.findChild<RiemannSumWindow *>(QStringLiteral("integnavi"));
        interval = g.findChild<QDialog *>(QStringLiteral("kukansettei"));
        graphWidget = g.findChild<QWidget *>(QStringLiteral("graphpaint"));
    }

  public:
    // --- what the teacher does
    void registerNew(const char *formula)
    {
        ask.confirmAnswers = {true};
        ask.keyboardAnswers = {formula};
        g.registerNew(KindExplicit);
    }
    void registerAnother(const char *formula)
    {
        ask.keyboardAnswers = {formula};
        g.registerAdditional(KindExplicit);
    }
    void readFile(const std::string &lines)
    {
        const QString path = dir.filePath(QStringLiteral("lesson%1.gtq").arg(++files));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(lines));
        file.close();
        ask.saveChangesAnswers = {SaveChangesAnswer::DontSave};
        g.setFileNames({[] { return QString(); }, [path] { return path; }}, nullptr);
        g.openDocument();
    }
    // Runs body once the modal window is open, checking the picture before
    // and after it, then closes the window with its 終了 button.
    void insideModal(QDialog *window, const std::function<void()> &body)
    {
        QTimer::singleShot(0, window, [this, window, body] {
            EXPECT_TRUE(window->isVisible());
            check("the tool opened");
            body();
            check("in the tool");
            const char *finish = window == meanRate ? "Button1" : "syuuryou";
            window->findChild<QPushButton *>(QString::fromLatin1(finish))->click();
        });
    }
    void runTangent(bool trace, int ticks, const std::function<void()> &more = [] {})
    {
        insideModal(tangent, [=, this] {
            if (trace)
                tangent->findChild<QCheckBox *>(QStringLiteral("zancheck"))->click();
            tangent->findChild<QPushButton *>(QStringLiteral("start"))->click();
            for (int n = 0; n < ticks && tangent->timer().isActive(); ++n)
                tick(tangent->timer());
            check("after the run");
            more();
        });
        g.showTangent();
    }
    void runMeanRate(const char *a, const char *b, const std::function<void()> &more = [] {})
    {
        ask.keyboardAnswers = {a, b};
        insideModal(meanRate, more);
        g.showMeanRate();
    }
    void runRiemann(const char *a, const char *b, const char *sum, const std::function<void()> &more = [] {})
    {
        ask.keyboardAnswers = {a, b};
        insideModal(riemann, [=, this] {
            riemann->findChild<QPushButton *>(QString::fromLatin1(sum))->click();
            check("the sum");
            more();
        });
        g.showRiemannSums();
    }
    void clickIn(QWidget *window, const char *button)
    {
        window->findChild<QPushButton *>(QString::fromLatin1(button))->click();
    }
    // A drag step or a wheel turn redraws at the next frame of the screen.
    void waitForMouseRedraw()
    {
        QElapsedTimer clock;
        clock.start();
        while (!(g.renderer().view().frame() == g.doc().frame) && clock.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
    }
    void wheel(int delta)
    {
        const QPointF at(graphWidget->width() / 3.0, graphWidget->height() / 2.0);
        QWheelEvent e(at, graphWidget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(graphWidget, &e);
        waitForMouseRedraw();
    }
    void drag(int dx, int dy)
    {
        const QPoint from(graphWidget->width() / 2, graphWidget->height() / 2);
        const auto send = [this](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent e(type, QPointF(p), graphWidget->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(graphWidget, &e);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, from + QPoint(dx, dy), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from + QPoint(dx, dy), Qt::LeftButton, Qt::NoButton);
        QCoreApplication::processEvents();
        waitForMouseRedraw();
    }
    void resizeTo(int width, int height)
    {
        const int before = g.graphSize();
        g.resize(width, height);
        QCoreApplication::processEvents();
        EXPECT_NE(g.graphSize(), before) << "the graph follows the window at once, whatever is open";
    }

    // --- what the picture must be
    // The document drawn afresh at the graph's size, with the kept trace.
    Canvas freshGraph()
    {
        GraphRenderer fresh(g.renderer().graphSize(), g.renderer().pixelScale());
        fresh.options = g.renderer().options;
        fresh.hooks.drawKept = [this](Canvas &c, const GraphView &v) { g.keptTrace().draw(c, v); };
        Document doc = g.doc();
        doc.overlayMode = 0;
        fresh.redrawGraph(doc);
        return fresh.graphImage();
    }
    // The fresh graph with what the open tool (or the interval) lays over
    // it; nothing when the tool's picture cannot be derived from the graph.
    std::optional<Canvas> expectedVisible(const Canvas &graph)
    {
        const GraphView &view = g.renderer().view();
        Canvas work = graph;
        if (tangent->isVisible()) {
            if (tangent->tangentRun().showable())
                drawTangentMarks(work, view, tangent->tangentRun());
            return work;
        }
        if (meanRate->isVisible()) {
            composeSecantFrame(meanRate->meanRate(), graph, work, view);
            return work;
        }
        if (riemann->isVisible()) {
            if (riemann->navigator().kind() == SumKind::None)
                return std::nullopt; // the bound lines, drawn on a copy of the graph
            return sumPicture(graph, riemann->navigator().workImage());
        }
        if (g.interval().active)
            return drawIntervalOverlay(graph, view, g.doc(), g.interval());
        return work;
    }
    static int differences(const Canvas &a, const Canvas &b)
    {
        if (a.width() != b.width() || a.height() != b.height())
            return -1;
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    }
    void check(const char *when)
    {
        SCOPED_TRACE(std::string(step) + ": " + when);
        const Canvas graph = freshGraph();
        EXPECT_EQ(g.graphSize() * g.pixelRatio(), graph.width()) << "the graph has the window's size";
        EXPECT_EQ(differences(g.renderer().graphImage(), graph), 0) << "the stored graph is the document";
        if (const std::optional<Canvas> visible = expectedVisible(graph)) {
            EXPECT_EQ(differences(g.visibleGraph(), *visible), 0) << "the visible graph";
        }
    }

    ScriptedQuestions ask;
    MainWindow g;
    ProgramWindows windows{g, &ask};
    TangentWindow *tangent = nullptr;
    MeanRateWindow *meanRate = nullptr;
    RiemannSumWindow *riemann = nullptr;
    QDialog *interval = nullptr;
    QWidget *graphWidget = nullptr;
    QTemporaryDir dir;
    int files = 0;
    const char *step = "";

    void run(const std::vector<Step> &steps)
    {
        for (const Step &s : steps) {
            step = s.what;
            SCOPED_TRACE(step);
            s.act(*this);
            check("done");
            if (HasFatalFailure())
                return;
        }
    }
};

// An equation file of one explicit function.
std::string oneFunctionFile(const char *formula)
{
    return std::string("[Graphotheque Data]\r\n-5\r\n5\r\n-5\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\ndeffunc\r\n0\r\n"
                       "defconst\r\n0\r\n1\r\n1\r\n") +
           formula + "\r\n\r\n\r\n\r\nFalse\r\nTrue\r\n255\r\n1\r\n";
}

} // namespace

TEST_F(Lesson, ATraceIsKeptUntilTheDocumentChangesAndNoToolLeavesCurvesBehind)
{
    run({
        {"register sqrt x", [](Lesson &l) { l.registerNew("sqrt(x)"); }},
        {"the tangent with its trace",
         [](Lesson &l) {
             l.runTangent(true, 2000);
             EXPECT_FALSE(l.g.keptTrace().empty()) << "the trace the user asked for stays";
             EXPECT_EQ(l.g.doc().overlayMode, 0) << "never switched on behind the user's back";
         }},
        {"a new registration drops it",
         [](Lesson &l) {
             l.registerNew("x^2");
             EXPECT_TRUE(l.g.keptTrace().empty());
         }},
        {"the mean rate, zoomed in",
         [](Lesson &l) {
             l.runMeanRate("1", "3", [&l] {
                 l.clickIn(l.meanRate, "large");
                 l.check("zoomed");
                 EXPECT_EQ(l.g.doc().frame.xmin, -1.5L);
             });
         }},
        {"the wheel zooms after the tool", [](Lesson &l) { l.wheel(120); }},
        {"the Riemann sums of sqrt x",
         [](Lesson &l) {
             l.registerNew("sqrt(x)");
             l.runRiemann("0", "4", "maxButton");
         }},
        {"then of sin x",
         [](Lesson &l) {
             l.registerNew("sin(x)");
             l.runRiemann("0", "3", "polizoid", [&l] { l.clickIn(l.riemann, "incdiv"); });
         }},
        {"a drag after the sums", [](Lesson &l) {
             const CoordFrame before = l.g.doc().frame;
             l.drag(40, 0);
             EXPECT_NE(l.g.doc().frame, before) << "the mouse works once no window is open";
         }},
    });
}

TEST_F(Lesson, TheIntervalLastsAsLongAsItsDocument)
{
    run({
        {"register x^2", [](Lesson &l) { l.registerNew("x^2"); }},
        {"set the interval",
         [](Lesson &l) {
             l.ask.keyboardAnswers = {"-1", "2"};
             l.g.setInterval();
             EXPECT_TRUE(l.interval->isVisible());
             EXPECT_TRUE(l.g.interval().showMaxMin) << "a single function has its marks";
         }},
        {"a second item, the window still open",
         [](Lesson &l) {
             l.registerAnother("x");
             EXPECT_TRUE(l.g.interval().active);
             EXPECT_FALSE(l.interval->findChild<QWidget *>(QStringLiteral("MaxMIn"))->isVisibleTo(l.interval))
                 << "the switch says what is drawn";
         }},
        {"release it",
         [](Lesson &l) {
             l.g.clearInterval();
             EXPECT_FALSE(l.interval->isVisible()) << "the window goes with the interval";
         }},
        {"standard display", [](Lesson &l) { l.g.showStandard(); }},
        {"a new interval on a new function",
         [](Lesson &l) {
             l.registerNew("x^3");
             l.ask.keyboardAnswers = {"0", "1"};
             l.g.setInterval();
             EXPECT_TRUE(l.g.interval().showMaxMin) << "on again after a release";
         }},
        {"read a file",
         [](Lesson &l) {
             l.readFile(oneFunctionFile("cos(x)"));
             EXPECT_FALSE(l.g.interval().active) << "a new document releases the interval";
             EXPECT_FALSE(l.interval->isVisible());
         }},
        {"an interval, then 新規登録",
         [](Lesson &l) {
             l.ask.keyboardAnswers = {"0", "1"};
             l.g.setInterval();
             l.registerNew("x");
             EXPECT_FALSE(l.g.interval().active);
         }},
    });
}

TEST_F(Lesson, ResizingRedrawsTheGraphTheToolsMarksAndTheTrace)
{
    run({
        {"register sin x", [](Lesson &l) { l.registerNew("sin(x)"); }},
        {"resize while the tangent runs",
         [](Lesson &l) {
             l.runTangent(true, 150, [&l] {
                 l.resizeTo(900, 660);
                 l.check("resized");
                 l.clickIn(l.tangent, "Aright");
                 l.check("moved on after the resize");
             });
         }},
        {"the trace after the resize", [](Lesson &l) { EXPECT_FALSE(l.g.keptTrace().empty()); }},
        {"resize once more", [](Lesson &l) { l.resizeTo(1100, 800); }},
        {"resize in the sums",
         [](Lesson &l) {
             l.runRiemann("-1", "2", "sympson", [&l] {
                 l.resizeTo(800, 620);
                 l.check("resized");
             });
         }},
        {"resize in the mean rate",
         [](Lesson &l) {
             l.runMeanRate("0", "1", [&l] {
                 l.resizeTo(1000, 740);
                 l.check("resized");
             });
         }},
    });
}

TEST_F(Lesson, OverlayIsTheUsersChoiceAndAFrameChangeEndsIt)
{
    run({
        {"register x^2, then overlay display",
         [](Lesson &l) {
             l.registerNew("x^2");
             l.g.showOverlaid();
             EXPECT_EQ(l.g.doc().overlayMode, 1);
         }},
        {"the wheel still zooms, and draws afresh",
         [](Lesson &l) {
             l.wheel(-120);
             EXPECT_EQ(l.g.doc().overlayMode, 0);
         }},
        {"a formula that does not parse",
         [](Lesson &l) {
             l.readFile(oneFunctionFile("x^^2"));
             l.ask.messages.clear();
             l.g.showTangent();
             l.g.showRiemannSums();
             l.g.showMeanRate();
             EXPECT_EQ(l.ask.messages, std::vector<QString>(3, QStringLiteral("f(x)=x^^2（式が正しくありません）")));
             EXPECT_FALSE(l.tangent->isVisible());
         }},
    });
}

// Each tool's read-outs on opening for a new function, after a use on an
// earlier one: computed for the new function, or blank where there is no
// value yet; nothing of the earlier use shows.
TEST_F(Lesson, EveryToolOpensWithReadOutsOfTheNewFunction)
{
    const auto text = [](QWidget *w, const char *name) {
        return w->findChild<QLabel *>(QString::fromLatin1(name))->text();
    };
    const auto arrowColour = [](QWidget *w, const char *name) {
        return w->findChild<QPushButton *>(QString::fromLatin1(name))->palette().color(QPalette::ButtonText);
    };
    struct Row {
        const char *tool, *earlier, *now;
        std::vector<std::pair<const char *, const char *>> readouts; // label, text on opening
    };
    const Row rows[] = {
        {"tangent", "1/x", "x/2", {{"psescoodinate", "(-5.0000 , -2.5000)"}, {"psesvalue", "0.5000"}}},
        {"tangent", "x^2", "sqrt(x-10)", {{"psescoodinate", ""}, {"psesvalue", ""}}},
        {"riemann", "sqrt(x)", "1/x",
         {{"sumMax", ""}, {"sumMin", ""}, {"Label8", ""}, {"Label10", ""}, {"Label11", ""},
          {"Label9", "-1.000≦ｘ≦1.000"}}},
        {"mean rate", "x^2", "x",
         {{"Acoodinate", "(2.00000 , 2.00000)"}, {"Bcoodinate", "(2.00000 , 2.00000)"}, {"heilabel", ""}}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.tool) + " on " + row.now);
        step = row.tool;
        registerNew(row.earlier);
        QDialog *window = nullptr;
        if (std::string(row.tool) == "tangent") {
            // Used on the earlier function: moved left, so the arrow of the
            // left is red.
            runTangent(false, 300, [this] { clickIn(tangent, "Aleft"); });
            window = tangent;
        } else if (std::string(row.tool) == "riemann") {
            runRiemann("0", "4", "maxButton");
            window = riemann;
        } else {
            runMeanRate("1", "3");
            window = meanRate;
        }
        registerNew(row.now);
        insideModal(window, [&] {
            for (const auto &[label, expected] : row.readouts)
                EXPECT_EQ(text(window, label), QString::fromUtf8(expected)) << label;
            if (window == tangent) {
                EXPECT_EQ(arrowColour(tangent, "Aright"), QColor(Qt::red)) << "start goes right";
                EXPECT_EQ(arrowColour(tangent, "Aleft"), QColor(Qt::black));
            }
        });
        if (window == tangent) {
            g.showTangent();
        } else if (window == riemann) {
            ask.keyboardAnswers = {"-1", "1"};
            g.showRiemannSums();
        } else {
            ask.keyboardAnswers = {"2", "2"};
            g.showMeanRate();
        }
    }

    // The error line of the sums goes once a sum succeeds.
    registerNew("1/x");
    ask.keyboardAnswers = {"-1", "1"};
    insideModal(riemann, [&] {
        clickIn(riemann, "polizoid"); // a strip ends at 0
        EXPECT_EQ(text(riemann, "Label11"), QStringLiteral("区間内に定義出来ない点があります"));
        EXPECT_EQ(text(riemann, "Label8"), QString());
        clickIn(riemann, "incdiv"); // three strips miss 0
        EXPECT_EQ(text(riemann, "Label11"), QString());
        EXPECT_EQ(text(riemann, "Label8"), QStringLiteral("0.0000"));
    });
    g.showRiemannSums();
}

} // namespace gq
