// The main window's file commands: writing and reading the equation file and
// the refresh after reading.
#include "control/equation_commands.h"
#include "control/scripted_questions.h"
#include "engine/parse.h"
#include "model/equation_file.h"
#include "platform/text_file.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class EquationCommands : public ::testing::Test
{
  protected:
    EquationCommands() : controller(doc, surface)
    {
        SetDefinitionSource(&doc);
        controller.SetQuestions(&ask);
        controller.ResetDocument();
    }
    ~EquationCommands() override { SetDefinitionSource(nullptr); }
    QString Path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString Write(const char *name, const std::vector<std::string> &lines)
    {
        EXPECT_TRUE(SaveTextLines(Path(name), lines).isEmpty());
        return Path(name);
    }
    void Register(ItemKind kind, std::initializer_list<const char *> answers)
    {
        ask.keyboardAnswers.insert(ask.keyboardAnswers.end(), answers.begin(), answers.end());
        doc.ItemCount == 0 ? controller.NewRegistration(kind) : controller.AddRegistration(kind);
    }

    QTemporaryDir dir;
    Document doc;
    RecordingSurface surface;
    ScriptedQuestions ask;
    GraphController controller;
};

// A complete file with one explicit item in red and the given formula.
std::vector<std::string> OneItemFile(const std::string &formula)
{
    Document doc;
    doc.ItemCount = 1;
    doc.ItemList[1] = {.text = {"", formula}, .asymptote = 1, .colour = 255};
    std::vector<std::string> lines;
    QString error;
    EXPECT_TRUE(EquationFileLines(doc, VariableTableRecord{}, lines, error));
    return lines;
}
} // namespace

// A saved document reads back with its list, range, menus and colours; a
// second file replaces it, colours included; a cancelled open dialog still
// refreshes.
TEST_F(EquationCommands, SaveReadAndReadAnother)
{
    Register(KindExplicit, {"x^2-2"});
    Register(KindPoint, {"1", "2"});
    const Tfuncprop first = doc.ItemList[1], second = doc.ItemList[2];
    doc.CoordFrame = {-2, 3, -1, 4};
    ASSERT_TRUE(SaveEquations(controller, Path("a.gtq")));
    controller.ResetDocument();
    EXPECT_FALSE(ReadEquationsAndRefresh(controller, Path("a.gtq")));
    ASSERT_EQ(doc.ItemCount, 2);
    EXPECT_EQ(doc.ItemList[1].text, first.text);
    EXPECT_EQ(doc.ItemList[2].text, second.text);
    EXPECT_EQ(doc.ItemList[2].colour, second.colour);
    EXPECT_EQ(controller.RangeLine(), RangeStatusText(CoordFrameRecord{-2, 3, -1, 4}));
    EXPECT_TRUE(controller.Menus().addition && controller.Menus().gshow && !controller.Menus().dif);
    const ColourPanelState &colours = controller.ColourPanel();
    EXPECT_FALSE(colours.IsOffered(first.colour) || colours.IsOffered(second.colour));
    EXPECT_TRUE(surface.Lines().contains(QStringLiteral("40,30:x^2-2")));

    // One explicit function using a: the parameter window is asked for, the
    // calculus menu and the derivative appear.
    EXPECT_TRUE(ReadEquationsAndRefresh(controller, Write("p.gtq", OneItemFile("a*x^2"))));
    EXPECT_TRUE(colours.IsOffered(first.colour) && colours.IsOffered(second.colour));
    EXPECT_FALSE(colours.IsOffered(255));
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("a = 0.000 "));
    EXPECT_TRUE(controller.Menus().kp2Enabled && controller.Menus().dif && controller.Menus().defa);
    EXPECT_TRUE(controller.ShowMaxMin());
    const int clears = surface.clears;
    EXPECT_TRUE(ReadEquationsAndRefresh(controller, QString())); // cancelled
    EXPECT_EQ(surface.clears, clears + 1);
    EXPECT_EQ(doc.ItemCount, 1);
    EXPECT_TRUE(ask.messages.empty());
}

// A broken, truncated or missing file is reported once per read; a foreign
// file is ignored silently. None changes the document or redraws the list.
// A failed save is reported too.
TEST_F(EquationCommands, UnreadableFilesChangeNothingAndFailuresAreReported)
{
    Register(KindExplicit, {"x+1"});
    doc.CoordFrame = {-1, 1, -2, 2};
    auto lines = OneItemFile("x^3");
    Write("short.gtq", {lines.begin(), lines.end() - 3});
    lines[2] = "five"; // xmax is not a number
    Write("broken.gtq", lines);
    Write("other.gtq", {"hello", "world"});
    const int clears = surface.clears;
    struct Case {
        const char *file;
        LoadOutcome outcome;
    };
    for (const Case &c : {Case{"broken.gtq", LoadOutcome::Failed}, Case{"short.gtq", LoadOutcome::Failed},
                          Case{"absent.gtq", LoadOutcome::Failed}, Case{"other.gtq", LoadOutcome::NotOurs}}) {
        SCOPED_TRACE(c.file);
        const std::size_t messages = ask.messages.size(), perRead = c.outcome == LoadOutcome::Failed;
        EXPECT_EQ(LoadEquations(controller, Path(c.file)), c.outcome);
        EXPECT_FALSE(ReadEquationsAndRefresh(controller, Path(c.file)));
        EXPECT_EQ(ask.messages.size(), messages + 2 * perRead);
        EXPECT_TRUE(!perRead || !ask.messages.back().isEmpty());
        EXPECT_TRUE(doc.ItemCount == 1 && doc.ItemList[1].text[1] == "x+1");
        EXPECT_TRUE(doc.CoordFrame.xmin == -1 && doc.CoordFrame.ymax == 2);
        EXPECT_EQ(surface.clears, clears) << "the list is not redrawn";
    }
    EXPECT_FALSE(SaveEquations(controller, Path("no/such/folder/x.gtq")));
    EXPECT_EQ(ask.messages.size(), 7u); // two for each failed read, one for the save
}
