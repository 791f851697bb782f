// The window is not built yet: this stand-in holds its place.
#pragma once

#include "windows/shell_window.h"

namespace gq
{

// Mean rate of change (caption set by the main window when it opens it).
class MeanRateWindow : public ShellWindow
{
  public:
    explicit MeanRateWindow(QWidget *w) : ShellWindow(w, "PMove", QString()) {}
};

} // namespace gq
