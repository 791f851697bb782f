// A stand-in for a window that is not built yet: it has its window name and
// caption, opens and closes, and does nothing else. Start-up creates it in its
// place so that the window order and the menu commands are complete.
#pragma once

#include <QDialog>
#include <QString>

namespace gq
{

class ShellWindow : public QDialog
{
  public:
    ShellWindow(QWidget *mainWindow, const char *name, const QString &caption) : QDialog(mainWindow)
    {
        setObjectName(QString::fromLatin1(name));
        setWindowTitle(caption);
        resize(320, 160);
    }
};

} // namespace gq
