// The window is not built yet: this stand-in holds its place.
#pragma once

#include "windows/shell_window.h"

namespace gq
{

// Riemann sums.
class RiemannSumWindow : public ShellWindow
{
  public:
    explicit RiemannSumWindow(QWidget *w) : ShellWindow(w, "integnavi", QStringLiteral("区分求積")) {}
};

} // namespace gq
