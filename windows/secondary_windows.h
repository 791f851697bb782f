// The windows the main window opens but does not own: the version box, the
// range dialog, the parameter window, the correction window, the calculus
// windows and the definition commands that need the correction window.
// ProgramWindows implements it for the program; tests implement it to see
// what the main window asks for. Modal windows return when they close.
#pragma once

#include "control/definition_commands.h"

namespace gq
{

class Canvas;

class SecondaryWindows
{
  public:
    virtual ~SecondaryWindows() = default;

    virtual void showVersion() = 0;
    virtual void openRangeDialog() = 0;
    // afterLoad: a file was just read, so the increments start from zero.
    virtual void openParameterWindow(bool afterLoad) = 0;
    // mode 1 items, 2 defined functions, 3 defined constants.
    virtual void openCorrection(int mode) = 0;
    virtual void openMeanRate() = 0;    // caption "平均変化率の意味"
    virtual void openTangent() = 0;     // caption "接線の傾きの変化"
    virtual void openRiemannSums() = 0; // "区分求積"
    // Shows the interval dialog without blocking.
    virtual void showIntervalDialog() = 0;
    // Closes it (the interval was released).
    virtual void closeIntervalDialog() = 0;
    // Finishes a redraw while the interval is active: the band (and marks)
    // over the given picture, shown on the visible graph.
    virtual void drawIntervalOverlay(const Canvas &graphImage) = 0;
    // One command of the definition menu; the main window refreshes its
    // menus, list and graph afterwards.
    virtual void runDefinitionCommand(DefinitionCommand command) = 0;
    // The graph was made anew at another size while a window of the program
    // is open: the window draws what it shows on the graph again.
    virtual void graphResized() = 0;
};

} // namespace gq
