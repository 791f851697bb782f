// The window is not built yet: this stand-in holds its place.
#pragma once

#include "windows/shell_window.h"

namespace gq
{

// Parameter change.
class ParameterWindow : public ShellWindow
{
  public:
    explicit ParameterWindow(QWidget *w) : ShellWindow(w, "ParaChange", QStringLiteral("ParaChange")) {}
};

} // namespace gq
