// The window is not built yet: this stand-in holds its place.
#pragma once

#include "windows/shell_window.h"

namespace gq
{

// Tangent (caption set by the main window when it opens it).
class TangentWindow : public ShellWindow
{
  public:
    explicit TangentWindow(QWidget *w) : ShellWindow(w, "dtangent", QString()) {}
};

} // namespace gq
