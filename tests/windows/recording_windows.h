// Secondary windows for tests: records what the main window asks for and
// runs the test's own reactions.
#pragma once

#include "windows/secondary_windows.h"

#include <functional>
#include <string>
#include <vector>

namespace gq
{

struct RecordingWindows : SecondaryWindows {
    std::vector<std::string> opened;
    std::function<void(bool afterLoad)> onParameterWindow;
    std::function<void()> onIntervalDialog;
    std::function<void(const Canvas &)> onIntervalOverlay;

    void showVersion() override { opened.push_back("version"); }
    void openRangeDialog() override { opened.push_back("range"); }
    void openParameterWindow(bool afterLoad) override
    {
        opened.push_back(afterLoad ? "parameters after load" : "parameters");
        if (onParameterWindow)
            onParameterWindow(afterLoad);
    }
    void openCorrection(int mode) override { opened.push_back("correct" + std::to_string(mode)); }
    void openMeanRate() override { opened.push_back("meanrate"); }
    void openTangent() override { opened.push_back("tangent"); }
    void openRiemannSums() override { opened.push_back("integ"); }
    void showIntervalDialog() override
    {
        opened.push_back("interval");
        if (onIntervalDialog)
            onIntervalDialog();
    }
    void closeIntervalDialog() override {}
    void graphResized() override {}
    void drawIntervalOverlay(const Canvas &graphImage) override
    {
        if (onIntervalOverlay)
            onIntervalOverlay(graphImage);
    }
    void runDefinitionCommand(DefinitionCommand) override { opened.push_back("definition"); }
};

} // namespace gq
