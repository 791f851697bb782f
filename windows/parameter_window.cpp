#include "windows/parameter_window.h"

#include "control/document_history.h"
#include "windows/main_window.h"
#include "windows/press_and_hold.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace gq
{

namespace
{
// Row geometry: the first row's top and the distance between rows.
constexpr int kFirstRowTop = 28;
constexpr int kRowPitch = 26;
constexpr int kRowHeight = 22;
constexpr int kWindowWidth = 356;
// Screens lower than this get the window moved up so that it fits.
constexpr int kLowScreen = 480;

// The letter of a row as the window writes it, and the suffix of its control
// names.
const char *const kRowCaptionLetters[kParamRowCount] = {"ａ", "ｂ", "ｃ", "ｄ", "ｆ", "ｊ", "ｎ", "θ"};
const char *const kRowNames[kParamRowCount] = {"a", "b", "c", "d", "f", "j", "n", "theta"};

QString rowName(const char *prefix, int row)
{
    return QString::fromLatin1(prefix) + QLatin1Char('_') + QString::fromLatin1(kRowNames[row]);
}

QLabel *panel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}
} // namespace

ParameterWindow::ParameterWindow(MainWindow &mainWindow)
    : QDialog(&mainWindow), main_(mainWindow),
      session_(mainWindow.doc(), mainWindow.renderer(), mainWindow.visibleGraph())
{
    setObjectName(QStringLiteral("ParaChange"));
    setWindowTitle(QStringLiteral("ParaChange"));
    session_.valuesChanged = [this] { main_.updateParamStatus(); };
    session_.pictureChanged = [this] { main_.refreshVisibleGraph(); };
    timer_.setInterval(kDrawInterval);
    hold_ = new PressAndHold(timer_, this);
    buildRows();
    buildBottom();
    layoutRows();
    refreshLabels();
}

ParameterWindow::~ParameterWindow() = default;

void ParameterWindow::buildRows()
{
    changeHeading_ = new QLabel(QStringLiteral("増 減"), this);
    changeHeading_->setAlignment(Qt::AlignCenter);
    changeHeading_->setGeometry(142, 6, 54, 18);
    incrementHeading_ = new QLabel(QStringLiteral("増減値"), this);
    incrementHeading_->setAlignment(Qt::AlignCenter);
    incrementHeading_->setGeometry(204, 6, 80, 18);

    for (int r = 0; r < kParamRowCount; ++r) {
        const auto row = static_cast<ParamRow>(r);
        const QString letter = QString::fromUtf8(kRowCaptionLetters[r]);
        Row &w = rows_[static_cast<std::size_t>(r)];
        w.caption = new QLabel(letter + QStringLiteral("="), this);
        w.value = panel(this, rowName("value", r));
        w.increment = panel(this, rowName("increment", r));
        const struct {
            const char *name, *caption;
            QString hint;
        } keys[4] = {
            {"plus", "＋", letter + QStringLiteral("の増減値を刻み幅だけ増やす")},
            {"minus", "－", letter + QStringLiteral("の増減値を刻み幅だけ減らす")},
            {"zero", "0", letter + QStringLiteral("の増減値０にする")},
            {"cl", "cl",
             letter + (isIntegerRow(row) ? QStringLiteral("の値を１にします")
                                         : QStringLiteral("の値を0にします"))},
        };
        for (int k = 0; k < 4; ++k) {
            auto *key = new QPushButton(QString::fromUtf8(keys[k].caption), this);
            key->setObjectName(rowName(keys[k].name, r));
            key->setToolTip(keys[k].hint);
            w.keys[static_cast<std::size_t>(k)] = key;
        }
        const auto after = [this](void (ParameterSession::*action)(ParamRow), ParamRow row) {
            return [this, action, row] {
                (session_.*action)(row);
                refreshLabels();
            };
        };
        connect(w.keys[0], &QPushButton::clicked, this, after(&ParameterSession::plus, row));
        connect(w.keys[1], &QPushButton::clicked, this, after(&ParameterSession::minus, row));
        connect(w.keys[2], &QPushButton::clicked, this, after(&ParameterSession::zero, row));
        connect(w.keys[3], &QPushButton::clicked, this, [this, row] { clearClicked(row); });
    }
}

void ParameterWindow::buildBottom()
{
    stepWidthBox_ = new QGroupBox(QStringLiteral("刻み幅"), this);
    stepWidthBox_->setObjectName(QStringLiteral("kizamichange"));
    stepWidthGroup_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(kStepWidths.size()); ++i) {
        auto *radio =
            new QRadioButton(QString::number(kStepWidths[static_cast<std::size_t>(i)]), stepWidthBox_);
        radio->setGeometry(8 + i * 66, 20, 62, 20);
        stepWidthGroup_->addButton(radio, i);
    }
    stepWidthGroup_->button(kDefaultStepWidthIndex)->setChecked(true);
    connect(stepWidthGroup_, &QButtonGroup::idClicked, this,
            [this](int i) { session_.setStepWidthIndex(i); });

    afterimage_ = new QCheckBox(QStringLiteral("残像表示"), this);
    afterimage_->setObjectName(QStringLiteral("Zan"));
    afterimage_->setToolTip(QStringLiteral("残像の設定"));
    connect(afterimage_, &QCheckBox::clicked, this, [this](bool on) { session_.setAfterimage(on); });
    locus_ = new QCheckBox(QStringLiteral("軌跡表示"), this);
    locus_->setObjectName(QStringLiteral("locus"));
    locus_->setToolTip(QStringLiteral("点の軌跡の設定"));
    connect(locus_, &QCheckBox::clicked, this, [this](bool on) { session_.setLocus(on); });

    allClear_ = new QPushButton(QStringLiteral("AC"), this);
    allClear_->setObjectName(QStringLiteral("AC"));
    allClear_->setToolTip(QStringLiteral("すべて初期値にする"));
    connect(allClear_, &QPushButton::clicked, this, &ParameterWindow::allClearClicked);
    draw_ = new QPushButton(QStringLiteral("描画"), this);
    draw_->setObjectName(QStringLiteral("contdraw"));
    draw_->setToolTip(QStringLiteral("クリックして表示、押したままで連続表示"));
    draw_->setAutoDefault(false);
    hold_->add(draw_, [this] { stepClicked(); });
    // A whole press-and-hold of 描画 is one step.
    connect(draw_, &QPushButton::released, this, [this] { main_.recordStep(step_names::kParameters); });
    finish_ = new QPushButton(QStringLiteral("終了"), this);
    finish_->setObjectName(QStringLiteral("syuu"));
    finish_->setToolTip(QStringLiteral("ﾊﾟﾗﾒﾀ表示終わり"));
    connect(finish_, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton *b : {allClear_, finish_})
        b->setAutoDefault(false);
}

void ParameterWindow::layoutRows()
{
    int top = kFirstRowTop;
    for (int r = 0; r < kParamRowCount; ++r) {
        Row &w = rows_[static_cast<std::size_t>(r)];
        const bool shown = session_.rowShown(static_cast<ParamRow>(r));
        for (QWidget *widget : {static_cast<QWidget *>(w.caption), static_cast<QWidget *>(w.value),
                                static_cast<QWidget *>(w.increment)})
            widget->setVisible(shown);
        for (QPushButton *key : w.keys)
            key->setVisible(shown);
        if (!shown)
            continue;
        w.caption->setGeometry(8, top, 28, kRowHeight);
        w.value->setGeometry(38, top, 96, kRowHeight);
        w.keys[0]->setGeometry(142, top, 26, kRowHeight);
        w.keys[1]->setGeometry(170, top, 26, kRowHeight);
        w.increment->setGeometry(204, top, 80, kRowHeight);
        w.keys[2]->setGeometry(290, top, 26, kRowHeight);
        w.keys[3]->setGeometry(318, top, 30, kRowHeight);
        top += kRowPitch;
    }
    const int bottom = top + 6;
    stepWidthBox_->setGeometry(8, bottom, kWindowWidth - 16, 46);
    afterimage_->setGeometry(8, bottom + 52, 110, 22);
    locus_->setGeometry(124, bottom + 52, 110, 22);
    allClear_->setGeometry(8, bottom + 80, 70, 30);
    draw_->setGeometry(98, bottom + 80, 150, 30);
    finish_->setGeometry(268, bottom + 80, 80, 30);
    setFixedSize(kWindowWidth, bottom + 120);
}

void ParameterWindow::place()
{
    // At the main window's left edge, under the item list's first entries.
    int left = main_.x() + 4;
    int top = main_.y() + 260;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        if (area.height() < kLowScreen)
            top = std::max(area.top(), area.bottom() + 1 - frameGeometry().height());
    }
    move(left, top);
}

void ParameterWindow::prepare(bool afterLoad)
{
    if (afterLoad)
        session_.resetIncrements();
    locus_->setChecked(false);
    session_.open(main_.controller().usedParams());
    layoutRows();
    refreshLabels();
    place();
}

void ParameterWindow::run(bool afterLoad)
{
    prepare(afterLoad);
    exec();
}

void ParameterWindow::graphResized()
{
    // A blank picture of the new size: the fixed items, then the moving ones.
    session_.drawBackground();
    session_.drawStep();
}

void ParameterWindow::done(int result)
{
    hold_->stop();
    main_.recordStep(step_names::kParameters); // a hold cut short by closing
    session_.close();
    QDialog::done(result);
}

void ParameterWindow::refreshLabels()
{
    for (int r = 0; r < kParamRowCount; ++r) {
        const auto row = static_cast<ParamRow>(r);
        rows_[static_cast<std::size_t>(r)].value->setText(session_.valueText(row));
        rows_[static_cast<std::size_t>(r)].increment->setText(session_.incrementText(row));
    }
    afterimage_->setChecked(session_.afterimageChecked());
    locus_->setChecked(session_.locusChecked());
}

void ParameterWindow::stepClicked()
{
    session_.step();
    refreshLabels();
}

void ParameterWindow::clearClicked(ParamRow row)
{
    session_.clear(row);
    refreshLabels();
    main_.recordStep(step_names::kParameters);
}

void ParameterWindow::allClearClicked()
{
    session_.allClear();
    refreshLabels();
    main_.recordStep(step_names::kParameters);
}

} // namespace gq
