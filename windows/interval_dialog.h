// The window is not built yet: this stand-in holds its place.
#pragma once

#include "windows/shell_window.h"

namespace gq
{

// Interval setting: shown without blocking.
class IntervalDialog : public ShellWindow
{
  public:
    explicit IntervalDialog(QWidget *w) : ShellWindow(w, "kukansettei", QStringLiteral("区間設定"))
    {
        setModal(false);
    }
};

} // namespace gq
