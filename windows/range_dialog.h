// The window is not built yet: this stand-in holds its place.
#pragma once

#include "windows/shell_window.h"

namespace gq
{

// Range change: opened modally with exec().
class RangeDialog : public ShellWindow
{
    Q_OBJECT
  public:
    explicit RangeDialog(QWidget *w) : ShellWindow(w, "Hanichange", QStringLiteral("範囲変更")) {}

  signals:
    // Emitted after every frame change the dialog applies, once the graph has
    // been redrawn.
    void rangeChanged();
};

} // namespace gq
