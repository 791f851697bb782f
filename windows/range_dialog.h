// The window is not built yet: this stand-in holds its place.
#pragma once

#include "windows/shell_window.h"

namespace gq
{

// Range change.
class RangeDialog : public ShellWindow
{
  public:
    explicit RangeDialog(QWidget *w) : ShellWindow(w, "Hanichange", QStringLiteral("範囲変更")) {}
};

} // namespace gq
