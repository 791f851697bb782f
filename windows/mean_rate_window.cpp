#include "windows/mean_rate_window.h"

#include "control/document_history.h"
#include "tools/mean_rate_draw.h"
#include "windows/keyboard.h"
#include "windows/dialog_layout.h"
#include "windows/main_window.h"
#include <QLabel>
#include <QPushButton>

namespace gq
{

namespace
{
constexpr int kTickMs = 10;
constexpr int kArrowRepeatMs = 50; // an arrow held down
constexpr int kTop = 360; // below the main window's top
constexpr int kPlainNumberLayout = 2;

} // namespace

MeanRateWindow::MeanRateWindow(MainWindow &mainWindow, Questions &questions)
    : QDialog(&mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint), main_(mainWindow), questions_(questions),
      arrowHold_(arrowTimer_)
{
    setObjectName(QStringLiteral("PMove"));
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &MeanRateWindow::timerTicked);
    arrowTimer_.setInterval(kArrowRepeatMs);
    buildControls();
    setFixedSize(320, 312);
}

void MeanRateWindow::buildControls()
{
    addLabel(this, "Apoint", QStringLiteral("点Aの座標＝"), 8, 8, 90);
    addLabel(this, "Acoodinate", QString(), 100, 8, 210);
    addLabel(this, "Bpoint", QStringLiteral("点Bの座標＝"), 8, 30, 90);
    addLabel(this, "Bcoodinate", QString(), 100, 30, 210);
    addLabel(this, "yvariable", QStringLiteral("y座標の変化＝"), 8, 52, 100);
    addLabel(this, "yvalue", QString(), 110, 52, 200);
    addLabel(this, "xvariable", QStringLiteral("x座標の変化＝"), 8, 74, 100);
    addLabel(this, "xvalue", QString(), 110, 74, 200);

    // The mean rate as a fraction.
    addLabel(this, "xyheikin", QStringLiteral("平均変化率 ＝"), 8, 108, 86);
    addLabel(this, nullptr, QStringLiteral("yの値の変化"), 104, 96, 96);
    addLabel(this, "Label4", QStringLiteral("――――――"), 94, 108, 106);
    addLabel(this, nullptr, QStringLiteral("xの値の変化"), 104, 122, 96);
    addLabel(this, "Label3", QStringLiteral("＝"), 204, 108, 16);
    addLabel(this, "heilabel", QString(), 222, 108, 90);

    QLabel *approach = addLabel(this, "Label7", QStringLiteral("点Ｂを点Ａに近づける"), 8, 150, 170);
    setTextColour(approach, QPalette::WindowText, Qt::red);
    QPushButton *start = addButton(this, "limit", QStringLiteral("Start"), 180, 146);
    QPushButton *stop = addButton(this, "stop", QStringLiteral("Stop"), 246, 146);
    for (QPushButton *b : {start, stop})
        setTextColour(b, QPalette::ButtonText, Qt::darkGreen);
    connect(start, &QPushButton::clicked, this, &MeanRateWindow::startClicked);
    connect(stop, &QPushButton::clicked, this, &MeanRateWindow::stopClicked);

    const auto arrow = [this](const char *name, const QString &text, int x, int y, MeanRateArrow a) {
        arrowHold_.add(addButton(this, name, text, x, y), [this, a] { arrowClicked(a); });
    };
    addLabel(this, "Label1", QStringLiteral("点Ａを移動"), 8, 182, 90);
    arrow("ALeft", QStringLiteral("←"), 100, 178, MeanRateArrow::ALeft);
    arrow("ARight", QStringLiteral("→"), 166, 178, MeanRateArrow::ARight);
    addLabel(this, "Label2", QStringLiteral("点Ｂを移動"), 8, 212, 90);
    arrow("BLeft", QStringLiteral("←"), 100, 208, MeanRateArrow::BLeft);
    arrow("BRight", QStringLiteral("→"), 166, 208, MeanRateArrow::BRight);

    QLabel *zoom = addLabel(this, "Label6", QStringLiteral("座標変更"), 8, 244, 90);
    setTextColour(zoom, QPalette::WindowText, Qt::blue);
    const auto zoomButton = [this](const char *name, const QString &text, int x, int w, MeanRateZoom z) {
        connect(addButton(this, name, text, x, 240, w), &QPushButton::clicked, this,
                [this, z] { zoomClicked(z); });
    };
    zoomButton("large", QStringLiteral("拡大"), 100, 60, MeanRateZoom::Enlarge);
    zoomButton("smale", QStringLiteral("縮小"), 166, 60, MeanRateZoom::Reduce);
    zoomButton("hyoujyun", QStringLiteral("元に戻す"), 232, 80, MeanRateZoom::Restore);

    connect(addButton(this, "Button1", QStringLiteral("終了"), 232, 278, 80), &QPushButton::clicked, this,
            &QDialog::accept);
}

void MeanRateWindow::run()
{
    if (!prepare())
        return;
    placeOverItemList(*this, main_, kTop);
    exec();
}

bool MeanRateWindow::prepare()
{
    timer_.stop();
    const GraphView view = main_.renderer().view();
    work_.emplace(view.graphSize(), view.graphSize(), main_.renderer().pixelScale());
    const bool opened = rate_.open(main_.doc(), view);
    showTexts(); // blank until the points are given
    if (!opened || !askPoints()) {
        rate_.close();
        work_.reset();
        return false;
    }
    update();
    return true;
}

bool MeanRateWindow::askPoints()
{
    const auto ask = [this](const QString &prompt) {
        return [this, prompt](bool retry) {
            const QString message = retry ? QStringLiteral("違う値を入力してください") : QString();
            bool cancelled = false;
            std::string text = readNumber(questions_, prompt, kPlainNumberLayout, message, &cancelled);
            return cancelled ? std::string() : text;
        };
    };
    const GraphView &view = rate_.view();
    work_->copyFrom(main_.renderer().graphImage());
    if (!askPoint(rate_, MeanRatePoint::A, ask(QStringLiteral("点Ａのｘ座標の入力"))))
        return false;
    drawPointMark(*work_, view, rate_, MeanRatePoint::A);
    present();
    if (!askPoint(rate_, MeanRatePoint::B, ask(QStringLiteral("点Ｂのｘ座標の入力"))))
        return false;
    drawPointMark(*work_, view, rate_, MeanRatePoint::B);
    present();

    composeSecantFrame(rate_, main_.renderer().graphImage(), *work_, view);
    showReadouts();
    present();
    return true;
}

void MeanRateWindow::showPoints()
{
    // A point where f is undefined: nothing is redrawn, no message.
    if (!work_ || !rate_.showPoints())
        return;
    composeSecantFrame(rate_, main_.renderer().graphImage(), *work_, rate_.view());
    showReadouts();
    present();
}

void MeanRateWindow::graphResized()
{
    if (!work_ || !rate_.isOpen())
        return;
    const GraphView view = main_.renderer().view();
    work_.emplace(view.graphSize(), view.graphSize(), main_.renderer().pixelScale());
    rate_.setView(view);
    showPoints();
}

void MeanRateWindow::showReadouts()
{
    rate_.updateReadouts();
    showTexts();
}

void MeanRateWindow::showTexts()
{
    const MeanRateTexts &t = rate_.texts();
    const auto set = [this](const char *name, const std::string &text) {
        if (auto *label = findChild<QLabel *>(QString::fromLatin1(name)))
            label->setText(QString::fromStdString(text));
    };
    set("Acoodinate", t.a);
    set("Bcoodinate", t.b);
    set("yvalue", t.dy);
    set("xvalue", t.dx);
    set("heilabel", t.rate);
}

QString MeanRateWindow::readout(const char *name) const
{
    const QLabel *label = findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

void MeanRateWindow::present()
{
    main_.visibleGraph().copyFrom(*work_);
    main_.refreshVisibleGraph();
}

void MeanRateWindow::arrowClicked(MeanRateArrow arrow)
{
    if (rate_.isOpen() && rate_.moveArrow(arrow))
        showPoints();
}

void MeanRateWindow::startClicked()
{
    if (rate_.isOpen())
        timer_.start();
}

void MeanRateWindow::stopClicked()
{
    timer_.stop();
}

void MeanRateWindow::timerTicked()
{
    if (!rate_.isOpen() || !rate_.approachTick()) {
        timer_.stop();
        return;
    }
    showPoints();
}

void MeanRateWindow::zoomClicked(MeanRateZoom command)
{
    if (!rate_.isOpen())
        return;
    rate_.zoom(command, main_.doc().frame);
    main_.frameChanged();
    main_.recordStep(step_names::kRange);
    rate_.setView(main_.renderer().view());
    showPoints();
}

void MeanRateWindow::done(int result)
{
    timer_.stop();
    arrowHold_.stop();
    const bool wasOpen = rate_.isOpen();
    rate_.close();
    work_.reset();
    QDialog::done(result);
    // The secant and the points go with the window.
    if (wasOpen)
        main_.redrawGraph();
}

} // namespace gq
