// A drag over the busy document in the main window, on a screen at device
// pixel ratio 2 (a 900-pixel graph drawn at 1800 pixels square): a recorded
// hand movement of 60 steps, one every 8 ms (a mouse reporting at 125 Hz),
// posted to the graph at those times from another thread as the window
// system would, while the window redraws. Reports the frames drawn per
// second from the first step to the last picture, how long after the last
// step that picture came, and checks that it shows the last position.
#include "busy_document.h"
#include "control/view_navigation.h"
#include "windows/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace gq;

namespace
{

constexpr int kSteps = 60;
constexpr int kStepMs = 8;
constexpr int kGraphSize = 900;

// The recorded movement: a sweep to the right and down with the small
// wobble of a hand, relative to where the button went down.
std::vector<QPoint> recordedDrag()
{
    std::vector<QPoint> path;
    for (int k = 0; k <= kSteps; ++k)
        path.emplace_back(static_cast<int>(std::lround(5 * k + 3 * std::sin(k / 5.0))),
                          static_cast<int>(std::lround(2 * k + 4 * std::sin(k / 7.0))));
    return path;
}

// Sizes the window so that its graph has kGraphSize layout pixels.
bool sizeGraph(MainWindow &g)
{
    for (int height = 900; height < 1600; ++height) {
        g.resize(height * 3 / 2, height);
        QCoreApplication::processEvents();
        if (g.graphSize() == kGraphSize)
            return true;
    }
    return false;
}

QMouseEvent *mouseEvent(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button,
                        Qt::MouseButtons held)
{
    return new QMouseEvent(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
}

void BM_DragBusyDocumentAtRatioTwo(benchmark::State &state)
{
    MainWindow g;
    g.show();
    g.setPixelRatioOverride(2.0);
    if (!sizeGraph(g)) {
        state.SkipWithError("cannot size the graph to 900 pixels");
        return;
    }
    QWidget *picture = g.findChild<QWidget *>(QStringLiteral("graphpaint"));
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> frames;
    const auto present = g.renderer().hooks.present;
    g.renderer().hooks.present = [&](const Canvas &image) {
        present(image);
        frames.push_back(Clock::now());
    };
    const std::vector<QPoint> path = recordedDrag();
    const QPoint start(300, 300);
    double fps = 0, lag = 0, drawn = 0;
    for (auto _ : state) {
        g.doc() = bench::busyDocument();
        g.frameChanged();
        const CoordFrame last = pannedFrame(GraphView(g.doc().frame, g.graphSize()), path.back().x(),
                                            path.back().y());
        QCoreApplication::sendEvent(
            picture, std::unique_ptr<QMouseEvent>(mouseEvent(picture, QEvent::MouseButtonPress, start,
                                                             Qt::LeftButton, Qt::LeftButton))
                         .get());
        frames.clear();
        // The window system's side: the steps at their times, whatever the
        // window is doing.
        std::vector<QMouseEvent *> steps;
        for (int k = 1; k <= kSteps; ++k)
            steps.push_back(mouseEvent(picture, QEvent::MouseMove, start + path[static_cast<std::size_t>(k)],
                                       Qt::NoButton, Qt::LeftButton));
        QMouseEvent *up =
            mouseEvent(picture, QEvent::MouseButtonRelease, start + path.back(), Qt::LeftButton, Qt::NoButton);
        const Clock::time_point begin = Clock::now();
        Clock::time_point lastStep;
        std::thread hand([&] {
            for (int k = 0; k < kSteps; ++k) {
                std::this_thread::sleep_until(begin + std::chrono::milliseconds(kStepMs * (k + 1)));
                QCoreApplication::postEvent(picture, steps[static_cast<std::size_t>(k)]);
            }
            lastStep = Clock::now();
            QCoreApplication::postEvent(picture, up);
        });
        // The window's side: its event loop, until the hand is done and the
        // picture shows the last position.
        QElapsedTimer limit;
        limit.start();
        bool handDone = false;
        while (limit.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
            if (!handDone && Clock::now() > begin + std::chrono::milliseconds(kStepMs * (kSteps + 1))) {
                hand.join();
                handDone = true;
            }
            if (handDone && g.renderer().view().frame() == last && g.doc().frame == last) {
                // Give a redraw still pending its chance, then stop.
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
                break;
            }
            QThread::usleep(200);
        }
        if (!handDone)
            hand.join();
        if (frames.empty() || !(g.renderer().view().frame() == last)) {
            state.SkipWithError("the picture does not show the last position");
            return;
        }
        const double seconds = std::chrono::duration<double>(frames.back() - begin).count();
        fps += static_cast<double>(frames.size()) / seconds;
        lag += std::chrono::duration<double, std::milli>(frames.back() - lastStep).count();
        drawn += static_cast<double>(frames.size());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["frames_per_second"] = fps / n;
    state.counters["frames"] = drawn / n;
    state.counters["last_picture_after_last_step_ms"] = lag / n;
}
BENCHMARK(BM_DragBusyDocumentAtRatioTwo)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
