#include "windows/correction_window.h"

#include "control/keyboard_logic.h"
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace gq
{

namespace
{
const char *const kFieldNames[5] = {"", "equ1", "equ2", "Min", "Max"};

QString cssColour(uint32_t colour) // 0x00BBGGRR to #RRGGBB
{
    return QStringLiteral("#%1%2%3")
        .arg(colour & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}
} // namespace

CorrectionWindow::CorrectionWindow(DefinitionContext context, QWidget *parent)
    : QDialog(parent), session_(std::move(context))
{
    setObjectName(QStringLiteral("correctform"));
    setWindowTitle(QStringLiteral("訂正"));
    buildControls();
    setFixedSize(440, 270);
}

void CorrectionWindow::buildControls()
{
    numberLabel_ = new QLabel(this);
    numberLabel_->setObjectName(QStringLiteral("Label7"));
    numberLabel_->setGeometry(10, 10, 130, 22);
    numberSpin_ = new QSpinBox(this);
    numberSpin_->setObjectName(QStringLiteral("UpDown1"));
    numberSpin_->setToolTip(QStringLiteral("登録Ｎｏを変更します"));
    numberSpin_->setGeometry(140, 8, 60, 24);
    connect(numberSpin_, &QSpinBox::valueChanged, this, &CorrectionWindow::numberChanged);
    kindLabel_ = new QLabel(this);
    kindLabel_->setObjectName(QStringLiteral("Label1"));
    kindLabel_->setGeometry(220, 10, 210, 22);

    for (int f = FieldEqu1; f <= FieldMax; ++f) {
        const int y = 40 + (f - 1) * 30;
        fieldLabels_[f] = new QLabel(this);
        fieldLabels_[f]->setGeometry(10, y, 40, 24);
        auto *field = new QPushButton(this);
        field->setObjectName(QString::fromLatin1(kFieldNames[f]));
        field->setToolTip(QStringLiteral("クリックすると変更できます"));
        field->setStyleSheet(QStringLiteral("text-align: left; padding-left: 4px;"));
        field->setGeometry(50, y, 380, 24);
        connect(field, &QPushButton::clicked, this, [this, f] { fieldClicked(f); });
        fields_[f] = field;
    }

    colourLabel_ = new QLabel(QStringLiteral("色"), this);
    colourLabel_->setGeometry(10, 164, 30, 24);
    colourPanel_ = new QPushButton(this);
    colourPanel_->setObjectName(QStringLiteral("colorpanel"));
    colourPanel_->setToolTip(QStringLiteral("クリックして色を変更します"));
    colourPanel_->setGeometry(50, 164, 60, 24);
    connect(colourPanel_, &QPushButton::clicked, this, &CorrectionWindow::colourClicked);

    afterimageBox_ = new QGroupBox(QStringLiteral("残像"), this);
    afterimageBox_->setObjectName(QStringLiteral("Zan"));
    afterimageBox_->setToolTip(QStringLiteral("残像モード変更"));
    afterimageBox_->setGeometry(120, 150, 130, 50);
    afterimageGroup_ = new QButtonGroup(this);
    const char *zanItems[2] = {"On", "off"};
    for (int i = 0; i < 2; ++i) {
        auto *radio = new QRadioButton(QString::fromLatin1(zanItems[i]), afterimageBox_);
        radio->setGeometry(8 + i * 60, 22, 56, 22);
        afterimageGroup_->addButton(radio, i);
    }
    connect(afterimageGroup_, &QButtonGroup::idClicked, this, &CorrectionWindow::afterimageClicked);

    penWidthBox_ = new QGroupBox(QStringLiteral("ペンの太さ"), this);
    penWidthBox_->setObjectName(QStringLiteral("penw"));
    penWidthBox_->setToolTip(QStringLiteral("ペンの太さの変更"));
    penWidthBox_->setGeometry(260, 150, 170, 50);
    penWidthGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto *radio = new QRadioButton(QString::number(i + 1), penWidthBox_);
        radio->setGeometry(8 + i * 52, 22, 48, 22);
        penWidthGroup_->addButton(radio, i);
    }
    connect(penWidthGroup_, &QButtonGroup::idClicked, this, &CorrectionWindow::penWidthClicked);

    auto *del = new QPushButton(QStringLiteral("削除"), this);
    del->setObjectName(QStringLiteral("DelButton"));
    del->setToolTip(QStringLiteral("現在の登録番号の式を削除"));
    del->setGeometry(120, 220, 90, 30);
    connect(del, &QPushButton::clicked, this, &CorrectionWindow::deleteItemClicked);
    auto *end = new QPushButton(QStringLiteral("END"), this);
    end->setObjectName(QStringLiteral("endbutton"));
    end->setToolTip(QStringLiteral("訂正を終了します"));
    end->setGeometry(240, 220, 90, 30);
    connect(end, &QPushButton::clicked, this, &CorrectionWindow::finishButtonClicked);
}

bool CorrectionWindow::prepare(int mode)
{
    if (!session_.open(mode))
        return false;
    refresh();
    return true;
}

void CorrectionWindow::run(int mode)
{
    if (prepare(mode))
        exec();
}

void CorrectionWindow::refresh()
{
    if (!session_.isOpen()) {
        if (isVisible())
            accept();
        return;
    }
    const CorrectionView view = session_.currentView();
    refreshing_ = true;
    {
        QSignalBlocker block(numberSpin_);
        numberSpin_->setRange(1, std::max(view.count, 1));
        numberSpin_->setValue(view.number);
    }
    numberLabel_->setText(view.numberLabel);
    kindLabel_->setText(view.kindLabel);
    for (int f = FieldEqu1; f <= FieldMax; ++f) {
        const CorrectionFieldView &field = view.fields[f];
        fieldLabels_[f]->setVisible(field.visible);
        fieldLabels_[f]->setText(field.label);
        fields_[f]->setVisible(field.visible);
        fields_[f]->setEnabled(field.editable);
        fields_[f]->setText(formulaDisplayText(field.text));
    }
    colourLabel_->setVisible(view.itemControls);
    colourPanel_->setVisible(view.itemControls);
    colourPanel_->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid gray;").arg(cssColour(view.colour)));
    afterimageBox_->setVisible(view.itemControls);
    penWidthBox_->setVisible(view.itemControls);
    afterimageGroup_->button(view.zanIndex)->setChecked(true);
    penWidthGroup_->button(view.penwIndex)->setChecked(true);
    refreshing_ = false;
}

void CorrectionWindow::numberChanged(int number)
{
    if (refreshing_)
        return;
    session_.setNumber(number);
    refresh();
}

void CorrectionWindow::fieldClicked(int field)
{
    session_.editField(field);
    refresh();
}

void CorrectionWindow::colourClicked()
{
    session_.changeColour();
    refresh();
}

void CorrectionWindow::afterimageClicked(int index)
{
    if (!refreshing_)
        session_.setAfterimage(index);
}

void CorrectionWindow::penWidthClicked(int index)
{
    if (!refreshing_)
        session_.setPenWidth(index);
}

void CorrectionWindow::deleteItemClicked()
{
    session_.deleteCurrent();
    refresh();
}

void CorrectionWindow::finishButtonClicked()
{
    session_.close();
    accept();
}

} // namespace gq
