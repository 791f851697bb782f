#include "windows/interval_dialog.h"

#include "render/graph_view.h"
#include "tools/interval_overlay.h"
#include "windows/main_window.h"
#include <QButtonGroup>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace gq
{

namespace
{
constexpr int kRepeatMs = 50;

QString boundText(long double v)
{
    return QString::fromStdString(formatFixed(v, "0.00"));
}

QLabel *readout(QWidget *parent, const char *name, int x, int y)
{
    auto *label = new QLabel(QStringLiteral("0.0"), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(x, y, 80, 24);
    return label;
}
} // namespace

IntervalDialog::IntervalDialog(MainWindow &main, QWidget *parent)
    : QDialog(parent), main_(main), hold_(timer_)
{
    setObjectName(QStringLiteral("kukansettei"));
    setWindowTitle(QStringLiteral("区間設定"));
    setModal(false);
    timer_.setParent(this);
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(kRepeatMs);
    buildControls();
    setFixedSize(330, 206);
    selectStep(0);
    maxMin_->button(1)->setChecked(true);
}

void IntervalDialog::buildControls()
{
    auto *stepBox = new QGroupBox(QStringLiteral("増減値"), this);
    stepBox->setObjectName(QStringLiteral("zougenti"));
    stepBox->setGeometry(8, 4, 314, 48);
    steps_ = new QButtonGroup(this);
    const char *const stepCaptions[5] = {"10", "1", "0.1", "0.05", "0.01"};
    for (int i = 0; i < 5; ++i) {
        auto *radio = new QRadioButton(QString::fromLatin1(stepCaptions[i]), stepBox);
        radio->move(8 + i * 60, 20);
        radio->adjustSize();
        steps_->addButton(radio, i);
    }
    // Chosen by the user or by the program alike.
    connect(steps_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            stepValue_ = kIntervalSteps[id];
    });

    struct Held {
        const char *name, *caption;
        IntervalAdjust mode;
        int x, y;
    };
    static const Held held[] = {
        {"lowerplus", "+", IntervalAdjust::LowerPlus, 184, 60},
        {"lowerminus", "-", IntervalAdjust::LowerMinus, 220, 60},
        {"upperplus", "+", IntervalAdjust::UpperPlus, 184, 90},
        {"upperminus", "-", IntervalAdjust::UpperMinus, 220, 90},
        {"LeftButton", "←", IntervalAdjust::Left, 96, 122},
        {"RightButton", "→", IntervalAdjust::Right, 132, 122},
    };
    for (const Held &h : held) {
        auto *button = new QPushButton(QString::fromUtf8(h.caption), this);
        button->setObjectName(QString::fromLatin1(h.name));
        button->setGeometry(h.x, h.y, 32, 24);
        hold_.add(button, [this, mode = h.mode] { step(mode); });
    }

    auto *lowerLabel = new QLabel(QStringLiteral("区間の下限"), this);
    lowerLabel->setGeometry(8, 60, 84, 24);
    lower_ = readout(this, "intervallower", 96, 60);
    auto *upperLabel = new QLabel(QStringLiteral("区間の上限"), this);
    upperLabel->setGeometry(8, 90, 84, 24);
    upper_ = readout(this, "intervalupper", 96, 90);
    auto *moveLabel = new QLabel(QStringLiteral("区間移動"), this);
    moveLabel->setGeometry(8, 122, 84, 24);

    maxMinBox_ = new QGroupBox(QStringLiteral("最大最小表示"), this);
    maxMinBox_->setObjectName(QStringLiteral("MaxMIn"));
    maxMinBox_->setGeometry(8, 152, 180, 48);
    maxMin_ = new QButtonGroup(this);
    const char *const switchCaptions[2] = {"On", "off"};
    for (int i = 0; i < 2; ++i) {
        auto *radio = new QRadioButton(QString::fromLatin1(switchCaptions[i]), maxMinBox_);
        radio->move(8 + i * 80, 20);
        radio->adjustSize();
        maxMin_->addButton(radio, i);
    }
    connect(maxMin_, &QButtonGroup::idClicked, this, [this](int id) {
        main_.interval().showMaxMin = id == 0;
        drawOverlay(main_.renderer().graphImage());
    });

    auto *finish = new QPushButton(QStringLiteral("終了"), this);
    finish->setObjectName(QStringLiteral("syuuryou"));
    finish->setGeometry(232, 166, 90, 30);
    finish->setDefault(true);
    connect(finish, &QPushButton::clicked, this, &QDialog::accept);
}

void IntervalDialog::selectStep(int index)
{
    if (QAbstractButton *b = steps_->button(index))
        b->setChecked(true);
}

void IntervalDialog::showBounds()
{
    lower_->setText(boundText(main_.interval().lower));
    upper_->setText(boundText(main_.interval().upper));
}

void IntervalDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) // restored by the window system, not opened
        return;
    // Over the item list, beside the graph, below the formula keyboard.
    move(main_.geometry().topLeft() + QPoint(4, 300));
    main_.interval().active = true;
    showBounds();
    drawOverlay(main_.renderer().graphImage());
}

void IntervalDialog::hideEvent(QHideEvent *event)
{
    // A button still held when the window goes stops repeating.
    hold_.stop();
    QDialog::hideEvent(event);
}

void IntervalDialog::step(IntervalAdjust mode)
{
    adjustInterval(main_.interval(), mode, stepValue_);
    showBounds();
    drawOverlay(main_.renderer().graphImage());
}

void IntervalDialog::drawOverlay(const Canvas &graphImage)
{
    // The switch always says what is drawn: it exists for a single explicit
    // function only, and shows whether its marks are on.
    const Document &doc = main_.doc();
    const bool oneFunction = doc.itemCount == 1 && doc.items[1].kind == KindExplicit;
    maxMinBox_->setVisible(oneFunction);
    if (oneFunction)
        maxMin_->button(main_.interval().showMaxMin ? 0 : 1)->setChecked(true);
    const Canvas picture =
        drawIntervalOverlay(graphImage, main_.renderer().view(), main_.doc(), main_.interval());
    main_.visibleGraph().copyFrom(picture);
    main_.refreshVisibleGraph();
}

} // namespace gq
