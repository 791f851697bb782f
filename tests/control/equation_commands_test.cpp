// The main window's file commands: writing and reading the equation file and
// the refresh after reading.
#include "control/equation_commands.h"
#include "controller_test.h"
#include "engine/parse.h"
#include "model/equation_file.h"
#include "platform/text_file.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
class EquationCommands : public ControllerTest
{
  protected:
    QString write(const char *name, const std::vector<std::string> &lines)
    {
        EXPECT_TRUE(saveTextLines(path(name), lines).isEmpty());
        return path(name);
    }

};

// A complete file with one explicit item in red and the given formula.
std::vector<std::string> oneItemFile(const std::string &formula)
{
    Document doc;
    doc.itemCount = 1;
    doc.items[1] = {.text = {"", formula}, .asymptote = 1, .colour = 255};
    std::vector<std::string> lines;
    QString error;
    EXPECT_TRUE(equationFileLines(doc, lines, error));
    return lines;
}
} // namespace

// A saved document reads back with its list, range, menus and colours; a
// second file replaces it, colours included; a cancelled open dialog still
// refreshes.
TEST_F(EquationCommands, SaveReadAndReadAnother)
{
    registerItem(KindExplicit, {"x^2-2"});
    registerItem(KindPoint, {"1", "2"});
    const Item first = doc.items[1], second = doc.items[2];
    doc.frame = {-2, 3, -1, 4};
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));
    controller.resetDocument();
    EXPECT_EQ(readEquationsAndRefresh(controller, path("a.gtq")).next, AfterRead::Redraw);
    ASSERT_EQ(doc.itemCount, 2);
    EXPECT_EQ(doc.items[1].text, first.text);
    EXPECT_EQ(doc.items[2].text, second.text);
    EXPECT_EQ(doc.items[2].colour, second.colour);
    EXPECT_EQ(controller.rangeLine(), rangeStatusText(CoordFrame{-2, 3, -1, 4}));
    EXPECT_TRUE(controller.menus().addMenu && controller.menus().displayMenu &&
                !controller.menus().calculusMenu);
    const ColourPanelState &colours = controller.colours();
    EXPECT_FALSE(colours.isOffered(first.colour) || colours.isOffered(second.colour));
    EXPECT_TRUE(surface.lines().contains(QStringLiteral("75,30:x^2-2"))) << "after the widest label, (p,q) =";

    // One explicit function using a: the parameter window is asked for (it
    // draws the picture), the calculus menu and the derivative appear.
    EXPECT_EQ(readEquationsAndRefresh(controller, write("p.gtq", oneItemFile("a*x^2"))).next,
              AfterRead::OpenParameterWindow);
    EXPECT_TRUE(colours.isOffered(first.colour) && colours.isOffered(second.colour));
    EXPECT_FALSE(colours.isOffered(255));
    EXPECT_EQ(controller.paramLine(), QStringLiteral("a = 0.000 "));
    EXPECT_TRUE(controller.menus().parameterDisplayEnabled && controller.menus().calculusMenu &&
                controller.menus().derivativeEntry);
    EXPECT_TRUE(controller.showMaxMin());
    const int clears = surface.clears;
    EXPECT_EQ(readEquationsAndRefresh(controller, QString()).next,
              AfterRead::OpenParameterWindow); // cancelled
    EXPECT_EQ(surface.clears, clears + 1);
    EXPECT_EQ(doc.itemCount, 1);
    EXPECT_TRUE(ask.messages.empty());
}

// A broken, truncated or missing file is reported once per read; a foreign
// file is ignored silently. None changes the document or redraws the list.
// A failed save is reported too.
TEST_F(EquationCommands, UnreadableFilesChangeNothingAndFailuresAreReported)
{
    registerItem(KindExplicit, {"x+1"});
    doc.frame = {-1, 1, -2, 2};
    auto lines = oneItemFile("x^3");
    write("short.gtq", {lines.begin(), lines.end() - 3});
    lines[2] = "five"; // xmax is not a number
    write("broken.gtq", lines);
    write("other.gtq", {"hello", "world"});
    const int clears = surface.clears;
    struct Case {
        const char *file;
        LoadOutcome outcome;
    };
    for (const Case &c : {Case{"broken.gtq", LoadOutcome::Failed}, Case{"short.gtq", LoadOutcome::Failed},
                          Case{"absent.gtq", LoadOutcome::Failed}, Case{"other.gtq", LoadOutcome::NotOurs}}) {
        SCOPED_TRACE(c.file);
        const std::size_t messages = ask.messages.size(), perRead = c.outcome == LoadOutcome::Failed;
        EXPECT_EQ(loadEquations(controller, path(c.file)), c.outcome);
        EXPECT_EQ(readEquationsAndRefresh(controller, path(c.file)).next, AfterRead::Nothing);
        EXPECT_EQ(ask.messages.size(), messages + 2 * perRead);
        EXPECT_TRUE(!perRead || !ask.messages.back().isEmpty());
        EXPECT_TRUE(doc.itemCount == 1 && doc.items[1].text[1] == "x+1");
        EXPECT_TRUE(doc.frame.xmin == -1 && doc.frame.ymax == 2);
        EXPECT_EQ(surface.clears, clears) << "the list is not redrawn";
    }
    EXPECT_FALSE(saveEquations(controller, path("no/such/folder/x.gtq")));
    EXPECT_EQ(ask.messages.size(), 7u); // two for each failed read, one for the save
}

} // namespace gq
