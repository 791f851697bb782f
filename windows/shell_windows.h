// Stand-ins for the windows that are not built yet: each has its class name,
// window name and caption, opens and closes, and does nothing else. Start-up
// creates them in their places so the window order and the menu commands are
// complete; each is replaced by the real window when it exists.
#pragma once

#include <QDialog>
#include <QString>

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

// Range change.
class THanichange : public ShellWindow
{
  public:
    explicit THanichange(QWidget *w) : ShellWindow(w, "Hanichange", QStringLiteral("範囲変更")) {}
};

// Parameter change.
class TParaChange : public ShellWindow
{
  public:
    explicit TParaChange(QWidget *w) : ShellWindow(w, "ParaChange", QStringLiteral("ParaChange")) {}
};

// Mean rate of change (caption set by the main window when it opens it).
class TPMove : public ShellWindow
{
  public:
    explicit TPMove(QWidget *w) : ShellWindow(w, "PMove", QString()) {}
};

// Tangent (caption set by the main window when it opens it).
class Tdtangent : public ShellWindow
{
  public:
    explicit Tdtangent(QWidget *w) : ShellWindow(w, "dtangent", QString()) {}
};

// Interval setting: shown without blocking.
class Tkukansettei : public ShellWindow
{
  public:
    explicit Tkukansettei(QWidget *w) : ShellWindow(w, "kukansettei", QStringLiteral("区間設定"))
    {
        setModal(false);
    }
};

// Riemann sums.
class Tintegnavi : public ShellWindow
{
  public:
    explicit Tintegnavi(QWidget *w) : ShellWindow(w, "integnavi", QStringLiteral("区分求積")) {}
};
