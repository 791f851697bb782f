// Stand-ins for the windows that are not built yet: each has its class name,
// window name and caption, opens and closes, and does nothing else. Start-up
// creates them in their places so the window order and the menu commands are
// complete; each is replaced by the real window when it exists.
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

// Range change.
class RangeDialog : public ShellWindow
{
  public:
    explicit RangeDialog(QWidget *w) : ShellWindow(w, "Hanichange", QStringLiteral("範囲変更")) {}
};

// Parameter change.
class ParameterWindow : public ShellWindow
{
  public:
    explicit ParameterWindow(QWidget *w) : ShellWindow(w, "ParaChange", QStringLiteral("ParaChange")) {}
};

// Mean rate of change (caption set by the main window when it opens it).
class MeanRateWindow : public ShellWindow
{
  public:
    explicit MeanRateWindow(QWidget *w) : ShellWindow(w, "PMove", QString()) {}
};

// Tangent (caption set by the main window when it opens it).
class TangentWindow : public ShellWindow
{
  public:
    explicit TangentWindow(QWidget *w) : ShellWindow(w, "dtangent", QString()) {}
};

// Interval setting: shown without blocking.
class IntervalDialog : public ShellWindow
{
  public:
    explicit IntervalDialog(QWidget *w) : ShellWindow(w, "kukansettei", QStringLiteral("区間設定"))
    {
        setModal(false);
    }
};

// Riemann sums.
class RiemannSumWindow : public ShellWindow
{
  public:
    explicit RiemannSumWindow(QWidget *w) : ShellWindow(w, "integnavi", QStringLiteral("区分求積")) {}
};

} // namespace gq
