#include "windows/tangent_window.h"

#include "tools/derivative_colours.h"
#include "tools/tangent_draw.h"
#include "windows/dialog_layout.h"
#include "windows/main_window.h"
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace gq
{

namespace
{
constexpr int kTickMs = 10;
constexpr int kArrowRepeatMs = 50; // an arrow held down
constexpr int kTop = 420; // below the main window's top

QColor qColour(uint32_t colour)
{
    return QColor::fromRgb(toQRgb(colour));
}

} // namespace

TangentWindow::TangentWindow(MainWindow &mainWindow)
    : QDialog(&mainWindow), main_(mainWindow), arrowHold_(arrowTimer_)
{
    setObjectName(QStringLiteral("dtangent"));
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &TangentWindow::timerTicked);
    arrowTimer_.setInterval(kArrowRepeatMs);
    buildControls();
    setFixedSize(310, 210);
}

void TangentWindow::buildControls()
{
    addLabel(this, "pses", QStringLiteral("接点の座標＝"), 8, 8, 100);
    pointReadout_ = addLabel(this, "psescoodinate", QString::fromStdString(run_.pointText()), 110, 8, 190);
    addLabel(this, "ptang", QStringLiteral("変化率の値＝"), 8, 32, 100);
    slopeReadout_ = addLabel(this, "psesvalue", QString::fromStdString(run_.slopeText()), 110, 32, 190);

    traceBox_ = new QCheckBox(QStringLiteral("変化率のグラフ表示"), this);
    traceBox_->setObjectName(QStringLiteral("zancheck"));
    traceBox_->setGeometry(8, 58, 250, 22);
    // clicked, not toggled: unticking on opening is no user change.
    connect(traceBox_, &QCheckBox::clicked, this, &TangentWindow::traceClicked);

    addLabel(this, "Label2", QStringLiteral("自動移動"), 8, 88, 80);
    connect(addButton(this, "start", QStringLiteral("start"), 90, 84), &QPushButton::clicked, this,
            &TangentWindow::startClicked);
    connect(addButton(this, "stop", QStringLiteral("stop"), 156, 84), &QPushButton::clicked, this,
            &TangentWindow::stopClicked);
    addLabel(this, "Label1", QStringLiteral("接点の移動"), 8, 118, 80);
    leftArrow_ = addButton(this, "Aleft", QStringLiteral("←"), 90, 114);
    rightArrow_ = addButton(this, "Aright", QStringLiteral("→"), 156, 114);
    arrowHold_.add(leftArrow_, [this] { arrowClicked(-1); });
    arrowHold_.add(rightArrow_, [this] { arrowClicked(1); });

    // The legend: the violet line (painted) before "接線", the two dots.
    addLabel(this, "Label4", QStringLiteral("接線"), 78, 149, 32);
    QLabel *contact = addLabel(this, "setten", QStringLiteral("・"), 116, 149, 14);
    setTextColour(contact, QPalette::WindowText, qColour(kContactPointColour));
    addLabel(this, "Label5", QStringLiteral("接点"), 130, 149, 40);
    QLabel *slope = addLabel(this, "henkaritu", QStringLiteral("・"), 176, 149, 14);
    setTextColour(slope, QPalette::WindowText, qColour(kSlopePointColour));
    addLabel(this, "Label6", QStringLiteral("変化率"), 190, 149, 60);

    QPushButton *finish = addButton(this, "syuuryou", QStringLiteral("終了"), 236, 176, 66);
    connect(finish, &QPushButton::clicked, this, &QDialog::accept);
}

void TangentWindow::run()
{
    if (!prepare()) {
        // The formula itself was checked before: its derivative is what failed.
        main_.controller().ask().showMessage(QStringLiteral("導関数の式が複雑すぎます"));
        return;
    }
    placeOverItemList(*this, main_, kTop);
    exec();
}

bool TangentWindow::prepare()
{
    timer_.stop();
    view_ = main_.renderer().view();
    work_.emplace(view_.graphSize(), view_.graphSize(), main_.renderer().pixelScale());
    if (!run_.open(main_.doc(), view_)) {
        work_.reset();
        return false;
    }
    traceBox_->setChecked(false);
    showDirection();
    draw(false);
    return true;
}

void TangentWindow::graphResized()
{
    if (!work_)
        return;
    view_ = main_.renderer().view();
    work_.emplace(view_.graphSize(), view_.graphSize(), main_.renderer().pixelScale());
    run_.setView(view_);
    draw(false);
}

void TangentWindow::showDirection()
{
    // The arrow of the direction that start will take is red.
    const bool left = run_.direction() < 0;
    setTextColour(leftArrow_, QPalette::ButtonText, left ? Qt::red : Qt::black);
    setTextColour(rightArrow_, QPalette::ButtonText, left ? Qt::black : Qt::red);
}

void TangentWindow::startClicked()
{
    run_.start();
    if (run_.running())
        timer_.start();
}

void TangentWindow::stopClicked()
{
    run_.stop();
    timer_.stop();
}

void TangentWindow::arrowClicked(int direction)
{
    run_.move(direction);
    showDirection();
    draw();
}

void TangentWindow::traceClicked()
{
    // Ticking starts the trace with the next move; unticking removes it
    // (unless overlay display keeps the picture).
    if (traceBox_->isChecked())
        return;
    main_.keptTrace().clear();
    main_.redrawGraph();
    run_.advance();
    draw(false);
}

void TangentWindow::timerTicked()
{
    if (run_.tick())
        draw();
    if (!run_.running())
        timer_.stop();
}

void TangentWindow::draw(bool extendTrace)
{
    pointReadout_->setText(QString::fromStdString(run_.pointText()));
    slopeReadout_->setText(QString::fromStdString(run_.slopeText()));
    // A move may have ended the run at the frame's edge.
    if (!run_.running())
        timer_.stop();
    TraceLayer *trace = extendTrace && traceBox_->isChecked() ? &main_.keptTrace() : nullptr;
    if (work_ && drawTangentFrame(run_, main_.renderer().graphImage(), *work_, view_, trace)) {
        main_.visibleGraph().copyFrom(*work_);
        main_.refreshVisibleGraph();
    }
}

void TangentWindow::done(int result)
{
    timer_.stop();
    arrowHold_.stop();
    const bool wasOpen = run_.isOpen();
    run_.close();
    work_.reset();
    QDialog::done(result);
    // P and the tangent go with the window; the trace stays.
    if (wasOpen)
        main_.redrawGraph();
}

void TangentWindow::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(qColour(kTangentColour), 1));
    painter.drawLine(24, 158, 73, 158);
}

} // namespace gq
