#include "windows/warning_dialog.h"

#include "control/questions.h"
#include <QLabel>
#include <QPushButton>

namespace gq
{

ConfirmDialog::ConfirmDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("warning"));
    setWindowTitle(QStringLiteral("warning"));
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("Label1"));
    text_->setAlignment(Qt::AlignCenter);
    text_->setGeometry(10, 16, 340, 24);

    auto *yes = new QPushButton(QStringLiteral("了解 (&Y)"), this);
    yes->setObjectName(QStringLiteral("YesButton"));
    yes->setGeometry(60, 56, 100, 28);
    connect(yes, &QPushButton::clicked, this, &ConfirmDialog::yesClicked);
    auto *no = new QPushButton(QStringLiteral("取消し (&N)"), this);
    no->setObjectName(QStringLiteral("NoButton"));
    no->setGeometry(200, 56, 100, 28);
    no->setDefault(true); // Return must not delete anything by accident
    connect(no, &QPushButton::clicked, this, &ConfirmDialog::noClicked);
    setFixedSize(360, 100);
}

QString ConfirmDialog::warningText(int kind)
{
    switch (kind) {
    case WarnFunctions:
        return QStringLiteral("定義関数および関連した表示式が削除されます");
    case WarnConstants:
        return QStringLiteral("定義定数および関連した表示式が削除されます");
    case WarnAllItems:
        return QStringLiteral("表示式がすべて削除されます");
    case WarnCurrentItem:
        return QStringLiteral("現在の表示式が削除されます");
    case WarnAllDefinitions:
        return QStringLiteral("定義式および関連した表示式が全て削除されます");
    default:
        return QString();
    }
}

void ConfirmDialog::prepare(int kind)
{
    // Starting from "no" makes every way out other than "了解" a cancel.
    answer_ = false;
    text_->setText(warningText(kind));
    if (QWidget *main = parentWidget())
        move(main->frameGeometry().center() - rect().center());
}

bool ConfirmDialog::ask(int kind)
{
    prepare(kind);
    exec();
    return answer_;
}

QString ConfirmDialog::Text() const
{
    return text_->text();
}

void ConfirmDialog::yesClicked()
{
    answer_ = true;
    accept();
}

void ConfirmDialog::noClicked()
{
    answer_ = false;
    reject();
}

} // namespace gq
