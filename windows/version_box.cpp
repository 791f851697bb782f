#include "windows/version_box.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace gq
{

VersionBox::VersionBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox1"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *name = new QLabel(QStringLiteral("graphoTheque"), this);
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    name->setFont(big);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("Version 3.211"), this), 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("学校教育用フリーウエア"), this), 0, Qt::AlignHCenter);
    auto *ok = new QPushButton(QStringLiteral("OK(&Y)"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

} // namespace gq
