#include "windows/dialog_layout.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace gq
{

void setTextColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(role, colour);
    widget->setPalette(p);
}

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, int x, int y, int w)
{
    auto *label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, w, 20);
    return label;
}

QPushButton *addButton(QWidget *parent, const char *name, const QString &text, int x, int y, int w)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, w, 26);
    return button;
}

void placeOverItemList(QWidget &dialog, const QWidget &mainWindow, int top)
{
    const QPoint origin = mainWindow.frameGeometry().topLeft();
    int y = origin.y() + top;
    if (const QScreen *where = mainWindow.screen())
        y = std::max(0, std::min(y, where->availableGeometry().bottom() - dialog.frameGeometry().height()));
    dialog.move(origin.x() + 4, y);
}

} // namespace gq
