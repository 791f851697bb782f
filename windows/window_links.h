// How the main window reaches the windows it opens but does not own. Start-up
// fills these in after creating the windows; a link left empty makes its
// command do nothing, so the program runs with any of them missing.
#pragma once

#include <functional>

class QDialog;

namespace gq
{

class Canvas;

// The commands of the formula-definition menu.
enum class DefinitionCommand {
    NewFunctions,     // "新規" of functions
    AddFunction,      // "追加" of functions
    CorrectFunctions, // "訂正" of functions
    NewConstants,
    AddConstant,
    CorrectConstants,
    EraseAll, // "全削除"
};

struct WindowLinks {
    QDialog *versionBox = nullptr; // shown modally by the version command
    // Modal windows; each returns when the window closes.
    std::function<void()> openRangeChange;
    // afterLoad: a file was just read, so the increments start from zero.
    std::function<void(bool afterLoad)> openParameterWindow;
    // mode 1 items, 2 defined functions, 3 defined constants.
    std::function<void(int mode)> openCorrection;
    std::function<void()> openMeanRate;    // caption "平均変化率の意味"
    std::function<void()> openTangent;     // caption "接線の傾きの変化"
    std::function<void()> openIntegration; // "区分求積"
    // Selects the step 0.1 and shows the interval window without blocking.
    std::function<void()> showIntervalWindow;
    // Finishes a redraw while the interval is active: the band (and marks)
    // over the given picture, shown on the visible graph.
    std::function<void(const Canvas &graphImage)> drawIntervalOverlay;
    // The definition menu's commands; the main window refreshes its menus and
    // list afterwards.
    std::function<void(DefinitionCommand)> definitionCommand;
};

} // namespace gq
