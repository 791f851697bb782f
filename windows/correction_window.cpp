#include "windows/correction_window.h"

#include "control/keyboard_logic.h"
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace
{
const char *const kFieldNames[5] = {"", "equ1", "equ2", "Min", "Max"};

QString CssColour(uint32_t colour) // 0x00BBGGRR to #RRGGBB
{
    return QStringLiteral("#%1%2%3")
        .arg(colour & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}
} // namespace

Tcorrectform::Tcorrectform(DefinitionContext context, QWidget *parent)
    : QDialog(parent), session_(std::move(context))
{
    setObjectName(QStringLiteral("correctform"));
    setWindowTitle(QStringLiteral("訂正"));
    BuildControls();
    setFixedSize(440, 270);
}

void Tcorrectform::BuildControls()
{
    label7_ = new QLabel(this);
    label7_->setObjectName(QStringLiteral("Label7"));
    label7_->setGeometry(10, 10, 130, 22);
    upDown1_ = new QSpinBox(this);
    upDown1_->setObjectName(QStringLiteral("UpDown1"));
    upDown1_->setToolTip(QStringLiteral("登録Ｎｏを変更します"));
    upDown1_->setGeometry(140, 8, 60, 24);
    connect(upDown1_, &QSpinBox::valueChanged, this, &Tcorrectform::UpDown1Change);
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(220, 10, 210, 22);

    for (int f = FieldEqu1; f <= FieldMax; ++f) {
        const int y = 40 + (f - 1) * 30;
        fieldLabels_[f] = new QLabel(this);
        fieldLabels_[f]->setGeometry(10, y, 40, 24);
        auto *field = new QPushButton(this);
        field->setObjectName(QString::fromLatin1(kFieldNames[f]));
        field->setToolTip(QStringLiteral("クリックすると変更できます"));
        field->setStyleSheet(QStringLiteral("text-align: left; padding-left: 4px;"));
        field->setGeometry(50, y, 380, 24);
        connect(field, &QPushButton::clicked, this, [this, f] { FieldClick(f); });
        fields_[f] = field;
    }

    colourLabel_ = new QLabel(QStringLiteral("色"), this);
    colourLabel_->setGeometry(10, 164, 30, 24);
    colourPanel_ = new QPushButton(this);
    colourPanel_->setObjectName(QStringLiteral("colorpanel"));
    colourPanel_->setToolTip(QStringLiteral("クリックして色を変更します"));
    colourPanel_->setGeometry(50, 164, 60, 24);
    connect(colourPanel_, &QPushButton::clicked, this, &Tcorrectform::colorpanelClick);

    zan_ = new QGroupBox(QStringLiteral("残像"), this);
    zan_->setObjectName(QStringLiteral("Zan"));
    zan_->setToolTip(QStringLiteral("残像モード変更"));
    zan_->setGeometry(120, 150, 130, 50);
    zanGroup_ = new QButtonGroup(this);
    const char *zanItems[2] = {"On", "off"};
    for (int i = 0; i < 2; ++i) {
        auto *radio = new QRadioButton(QString::fromLatin1(zanItems[i]), zan_);
        radio->setGeometry(8 + i * 60, 22, 56, 22);
        zanGroup_->addButton(radio, i);
    }
    connect(zanGroup_, &QButtonGroup::idClicked, this, &Tcorrectform::ZanClick);

    penw_ = new QGroupBox(QStringLiteral("ペンの太さ"), this);
    penw_->setObjectName(QStringLiteral("penw"));
    penw_->setToolTip(QStringLiteral("ペンの太さの変更"));
    penw_->setGeometry(260, 150, 170, 50);
    penwGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto *radio = new QRadioButton(QString::number(i + 1), penw_);
        radio->setGeometry(8 + i * 52, 22, 48, 22);
        penwGroup_->addButton(radio, i);
    }
    connect(penwGroup_, &QButtonGroup::idClicked, this, &Tcorrectform::penwClick);

    auto *del = new QPushButton(QStringLiteral("削除"), this);
    del->setObjectName(QStringLiteral("DelButton"));
    del->setToolTip(QStringLiteral("現在の登録番号の式を削除"));
    del->setGeometry(120, 220, 90, 30);
    connect(del, &QPushButton::clicked, this, &Tcorrectform::DelButtonClick);
    auto *end = new QPushButton(QStringLiteral("END"), this);
    end->setObjectName(QStringLiteral("endbutton"));
    end->setToolTip(QStringLiteral("訂正を終了します"));
    end->setGeometry(240, 220, 90, 30);
    connect(end, &QPushButton::clicked, this, &Tcorrectform::endbuttonClick);
}

bool Tcorrectform::Prepare(int mode)
{
    if (!session_.Open(mode))
        return false;
    Refresh();
    return true;
}

void Tcorrectform::Run(int mode)
{
    if (Prepare(mode))
        exec();
}

void Tcorrectform::Refresh()
{
    if (!session_.IsOpen()) {
        if (isVisible())
            accept();
        return;
    }
    const CorrectionView view = session_.View();
    refreshing_ = true;
    {
        QSignalBlocker block(upDown1_);
        upDown1_->setRange(1, std::max(view.count, 1));
        upDown1_->setValue(view.number);
    }
    label7_->setText(view.numberLabel);
    label1_->setText(view.kindLabel);
    for (int f = FieldEqu1; f <= FieldMax; ++f) {
        const CorrectionFieldView &field = view.fields[f];
        fieldLabels_[f]->setVisible(field.visible);
        fieldLabels_[f]->setText(field.label);
        fields_[f]->setVisible(field.visible);
        fields_[f]->setEnabled(field.editable);
        fields_[f]->setText(FormulaDisplayText(field.text));
    }
    colourLabel_->setVisible(view.itemControls);
    colourPanel_->setVisible(view.itemControls);
    colourPanel_->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid gray;").arg(CssColour(view.colour)));
    zan_->setVisible(view.itemControls);
    penw_->setVisible(view.itemControls);
    zanGroup_->button(view.zanIndex)->setChecked(true);
    penwGroup_->button(view.penwIndex)->setChecked(true);
    refreshing_ = false;
}

void Tcorrectform::UpDown1Change(int number)
{
    if (refreshing_)
        return;
    session_.SetNumber(number);
    Refresh();
}

void Tcorrectform::FieldClick(int field)
{
    session_.EditField(field);
    Refresh();
}

void Tcorrectform::colorpanelClick()
{
    session_.ChangeColour();
    Refresh();
}

void Tcorrectform::ZanClick(int index)
{
    if (!refreshing_)
        session_.SetAfterimage(index);
}

void Tcorrectform::penwClick(int index)
{
    if (!refreshing_)
        session_.SetPenWidth(index);
}

void Tcorrectform::DelButtonClick()
{
    session_.DeleteCurrent();
    Refresh();
}

void Tcorrectform::endbuttonClick()
{
    session_.Close();
    accept();
}
