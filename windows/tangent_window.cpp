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
constexpr int kTop = 420; // below the main window's top

QColor qColour(uint32_t colour)
{
    return QColor::fromRgb(toQRgb(colour));
}

} // namespace

TangentWindow::TangentWindow(MainWindow &mainWindow) : QDialog(&mainWindow), main_(mainWindow)
{
    setObjectName(QStringLiteral("dtangent"));
    buildControls();
    setFixedSize(310, 180);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &TangentWindow::timerTicked);
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
    connect(leftArrow_, &QPushButton::clicked, this, [this] { arrowClicked(-1); });
    connect(rightArrow_, &QPushButton::clicked, this, [this] { arrowClicked(1); });

    // The legend: the violet line (painted) before "接線", the two dots.
    addLabel(this, "Label4", QStringLiteral("接線"), 78, 149, 32);
    QLabel *contact = addLabel(this, "setten", QStringLiteral("・"), 116, 149, 14);
    setTextColour(contact, QPalette::WindowText, qColour(kContactPointColour));
    addLabel(this, "Label5", QStringLiteral("接点"), 130, 149, 40);
    QLabel *slope = addLabel(this, "henkaritu", QStringLiteral("・"), 176, 149, 14);
    setTextColour(slope, QPalette::WindowText, qColour(kSlopePointColour));
    addLabel(this, "Label6", QStringLiteral("変化率"), 190, 149, 60);
}

void TangentWindow::run()
{
    if (!prepare())
        return;
    placeOverItemList(*this, main_, kTop);
    exec();
}

bool TangentWindow::prepare()
{
    timer_.stop();
    view_ = main_.renderer().view();
    work_.emplace(view_.graphSize(), view_.graphSize(), main_.renderer().pixelScale());
    // The previous position is the x of the program's latest evaluation.
    if (!run_.open(main_.doc(), view_, engineState().variables.x)) {
        work_.reset();
        return false;
    }
    traceBox_->setChecked(false);
    draw();
    return true;
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
    setTextColour(leftArrow_, QPalette::ButtonText, direction < 0 ? Qt::red : Qt::black);
    setTextColour(rightArrow_, QPalette::ButtonText, direction < 0 ? Qt::black : Qt::red);
    run_.move(direction);
    draw();
}

void TangentWindow::traceClicked()
{
    // Ticking starts the trace with the next move; unticking redraws the
    // graph without it (unless overlay display keeps the picture).
    if (traceBox_->isChecked())
        return;
    main_.redrawGraph();
    run_.advance();
    draw();
}

void TangentWindow::timerTicked()
{
    if (run_.tick())
        draw();
    if (!run_.running())
        timer_.stop();
}

void TangentWindow::draw()
{
    pointReadout_->setText(QString::fromStdString(run_.pointText()));
    slopeReadout_->setText(QString::fromStdString(run_.slopeText()));
    // A move may have ended the run at the frame's edge.
    if (!run_.running())
        timer_.stop();
    if (work_ &&
        drawTangentFrame(run_, main_.renderer().graphImage(), *work_, view_, traceBox_->isChecked())) {
        main_.visibleGraph().copyFrom(*work_);
        main_.refreshVisibleGraph();
    }
}

void TangentWindow::done(int result)
{
    timer_.stop();
    run_.close();
    work_.reset();
    main_.doc().overlayMode = 1;
    QDialog::done(result);
}

void TangentWindow::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(qColour(kTangentColour), 1));
    painter.drawLine(24, 158, 73, 158);
}

} // namespace gq
