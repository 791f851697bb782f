#include "windows/range_dialog.h"

#include "control/document_history.h"
#include "windows/press_and_hold.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace gq
{

namespace
{
constexpr int kStepInterval = 50;     // ms between repeated steps while held
constexpr int kStepButtonWidth = 36;  // "+" and "-"
constexpr int kArrowButtonWidth = 48; // the four move buttons

// A bound's panel: a sunken white field that opens the keyboard on a click.
const QString kPanelStyle = QStringLiteral("QPushButton { background: white; color: black; border: 1px inset "
                                           "gray; padding: 3px 8px; text-align: right; min-width: 96px; }");

// The step a step button makes, by its code.
QString stepName(int code)
{
    switch (code) {
    case StepZoomIn:
        return step_names::kZoomIn;
    case StepZoomOut:
        return step_names::kZoomOut;
    case StepLeft:
    case StepRight:
    case StepUp:
    case StepDown:
        return step_names::kMove;
    default:
        return step_names::kRange;
    }
}
} // namespace

RangeDialog::RangeDialog(Document &doc, Questions &questions, std::function<void()> redrawGraph,
                         QWidget *parent)
    : QDialog(parent), doc_(doc), questions_(questions), redrawGraph_(std::move(redrawGraph))
{
    setObjectName(QStringLiteral("Hanichange"));
    setWindowTitle(QStringLiteral("範囲変更"));
    timer_.setInterval(kStepInterval);
    hold_ = new PressAndHold(timer_, this);
    buildControls();
    showRangeValues();
}

RangeDialog::~RangeDialog() = default;

QPushButton *RangeDialog::addStepButton(const char *name, const QString &caption, int code)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    hold_->add(button, [this, code] { step(code); });
    connect(button, &QPushButton::released, this, [this, code] { emit changeFinished(stepName(code)); });
    return button;
}

QLayout *RangeDialog::buildBoundRows()
{
    auto *bounds = new QGridLayout;
    static const char *const kRowCaptions[] = {"xの下限", "xの上限", "yの下限", "yの上限"};
    for (int row = 0; row < 4; ++row) {
        auto *label = new QLabel(QString::fromUtf8(kRowCaptions[row]), this);
        label->setObjectName(QStringLiteral("Label%1").arg(row + 1));
        auto *panel = new QPushButton(this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(row + 1));
        panel->setStyleSheet(kPanelStyle);
        panel->setAutoDefault(false);
        connect(panel, &QPushButton::clicked, this, [this, row] { typeBound(static_cast<RangeBound>(row)); });
        panels_[row] = panel;
        const QByteArray up = "Button" + QByteArray::number(2 * row + 1);
        const QByteArray down = "Button" + QByteArray::number(2 * row + 2);
        QPushButton *plus = addStepButton(up.constData(), QStringLiteral("+"), 2 * row + 1);
        QPushButton *minus = addStepButton(down.constData(), QStringLiteral("-"), 2 * row + 2);
        plus->setFixedWidth(kStepButtonWidth);
        minus->setFixedWidth(kStepButtonWidth);
        bounds->addWidget(label, row, 0);
        bounds->addWidget(panel, row, 1);
        bounds->addWidget(plus, row, 2);
        bounds->addWidget(minus, row, 3);
    }
    return bounds;
}

QLayout *RangeDialog::buildMoveButtons()
{
    auto *move = new QGridLayout;
    auto *moveLabel = new QLabel(QStringLiteral("移動"), this);
    moveLabel->setObjectName(QStringLiteral("Label5"));
    move->addWidget(moveLabel, 0, 0, 1, 3, Qt::AlignLeft);
    const auto arrow = [this, move](const char *name, const QString &caption, int code, int row, int column) {
        QPushButton *b = addStepButton(name, caption, code);
        b->setFixedWidth(kArrowButtonWidth);
        move->addWidget(b, row, column);
    };
    arrow("upshift", QStringLiteral("↑"), StepUp, 1, 1);
    arrow("lshift", QStringLiteral("←"), StepLeft, 2, 0);
    arrow("rshift", QStringLiteral("→"), StepRight, 2, 2);
    arrow("downshift", QStringLiteral("↓"), StepDown, 3, 1);
    auto *zoom = new QVBoxLayout;
    zoom->addStretch();
    zoom->addWidget(addStepButton("smale", QStringLiteral("縮小"), StepZoomOut));
    zoom->addWidget(addStepButton("large", QStringLiteral("拡大"), StepZoomIn));
    auto *row = new QHBoxLayout;
    row->addLayout(move);
    row->addSpacing(16);
    row->addLayout(zoom);
    return row;
}

void RangeDialog::buildControls()
{
    gridBox_ = new QCheckBox(QStringLiteral("格子表示"), this);
    gridBox_->setObjectName(QStringLiteral("kousi"));
    connect(gridBox_, &QCheckBox::clicked, this, &RangeDialog::setGrid);
    scaleBox_ = new QCheckBox(QStringLiteral("目盛非表示"), this);
    scaleBox_->setObjectName(QStringLiteral("gaji"));
    connect(scaleBox_, &QCheckBox::clicked, this, &RangeDialog::setScaleHidden);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(gridBox_);
    boxes->addWidget(scaleBox_);

    standard_ = new QPushButton(QStringLiteral("標準"), this);
    standard_->setObjectName(QStringLiteral("hyoujyun"));
    standard_->setAutoDefault(false);
    connect(standard_, &QPushButton::clicked, this, &RangeDialog::restoreStandard);
    auto *end = new QPushButton(QStringLiteral("終了(&E)"), this);
    end->setObjectName(QStringLiteral("Button9"));
    end->setDefault(true);
    connect(end, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(standard_);
    buttons->addStretch();
    buttons->addWidget(end);

    auto *page = new QVBoxLayout(this);
    page->addLayout(buildBoundRows());
    page->addSpacing(8);
    page->addLayout(buildMoveButtons());
    page->addSpacing(8);
    page->addLayout(boxes);
    page->addLayout(buttons);
    page->setSizeConstraint(QLayout::SetFixedSize);
}

QString RangeDialog::panelText(int panel) const
{
    return (panel >= 1 && panel <= 4) ? panels_[panel - 1]->text() : QString();
}

void RangeDialog::showRangeValues()
{
    const CoordFrame &f = doc_.frame;
    const long double xSpan = f.xmax - f.xmin, ySpan = f.ymax - f.ymin;
    const long double values[] = {f.xmin, f.xmax, f.ymin, f.ymax};
    for (int i = 0; i < 4; ++i)
        panels_[i]->setText(QString::fromStdString(boundPanelText(values[i], i < 2 ? xSpan : ySpan)));
}

void RangeDialog::refreshAfterRangeChange()
{
    showRangeValues();
    if (redrawGraph_)
        redrawGraph_();
    emit rangeChanged();
}

void RangeDialog::step(int code)
{
    applyRangeStep(doc_.frame, code);
    refreshAfterRangeChange();
}

void RangeDialog::typeBound(RangeBound bound)
{
    askRangeBound(doc_, questions_, bound);
    refreshAfterRangeChange();
    emit changeFinished(step_names::kRange);
}

void RangeDialog::setGrid(bool shown)
{
    doc_.showGrid = shown ? 1 : 0;
    gridBox_->setChecked(shown);
    refreshAfterRangeChange();
    emit changeFinished(step_names::kGrid);
}

void RangeDialog::setScaleHidden(bool hidden)
{
    doc_.showScale = hidden ? 0 : 1;
    scaleBox_->setChecked(hidden);
    refreshAfterRangeChange();
    emit changeFinished(step_names::kScale);
}

void RangeDialog::restoreStandard()
{
    doc_.frame = standardFrame();
    refreshAfterRangeChange();
    emit changeFinished(step_names::kStandard);
}

void RangeDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    showRangeValues();
    // The boxes show the flags as they are (a loaded or reset document may
    // have changed them since the last opening).
    gridBox_->setChecked(doc_.showGrid == 1);
    scaleBox_->setChecked(doc_.showScale == 0);
}

void RangeDialog::hideEvent(QHideEvent *event)
{
    const bool held = hold_->holding();
    hold_->stop();
    if (held)
        emit changeFinished(QString());
    QDialog::hideEvent(event);
}

} // namespace gq
