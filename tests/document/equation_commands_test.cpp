// The main window's file commands: writing and reading the equation file and
// the refresh after reading.
#include "document/equation_commands.h"
#include "engine/parse.h"
#include "scripted_questions.h"
#include "ui/text_file.h"
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
    void Write(const QString &path, const std::vector<std::string> &lines)
    {
        ASSERT_TRUE(SaveTextLines(path, lines).isEmpty());
    }
    void Register(ItemKind kind, std::initializer_list<const char *> answers)
    {
        for (const char *a : answers)
            ask.keyboardAnswers.push_back(a);
        if (doc.ItemCount == 0)
            controller.NewRegistration(kind);
        else
            controller.AddRegistration(kind);
    }

    QTemporaryDir dir;
    Document doc;
    RecordingSurface surface;
    ScriptedQuestions ask;
    GraphController controller;
};

// A complete file with one explicit item in red and the given first formula.
std::vector<std::string> OneItemFile(const std::string &formula)
{
    return {"[Graphotheque Data]",
            "-5",
            "5",
            "-5",
            "5",
            "0",
            "0",
            "0",
            "0",
            "0",
            "deffunc",
            "0",
            "defconst",
            "0",
            "1",
            "1",
            formula,
            "",
            "",
            "",
            "True",
            "True",
            "255",
            "1"};
}
} // namespace

TEST_F(EquationCommands, SavedDocumentReadsBackWithListMenusAndColours)
{
    Register(KindExplicit, {"x^2-2"});
    Register(KindPoint, {"1", "2"});
    const Tfuncprop first = doc.ItemList[1], second = doc.ItemList[2];
    doc.CoordFrame = {-2, 3, -1, 4};
    ASSERT_TRUE(SaveEquations(controller, Path("a.gtq")));

    controller.ResetDocument();
    ASSERT_EQ(doc.ItemCount, 0);
    EXPECT_FALSE(ReadEquationsAndRefresh(controller, Path("a.gtq")));
    ASSERT_EQ(doc.ItemCount, 2);
    EXPECT_EQ(doc.ItemList[1].text[1], first.text[1]);
    EXPECT_EQ(doc.ItemList[2].text[2], second.text[2]);
    EXPECT_EQ(doc.ItemList[2].colour, second.colour);
    EXPECT_EQ(doc.CoordFrame.xmax, 3.0L);
    EXPECT_EQ(controller.RangeLine(), RangeStatusText(doc.CoordFrame));
    EXPECT_TRUE(controller.Menus().addition);
    EXPECT_TRUE(controller.Menus().gshow);
    EXPECT_FALSE(controller.Menus().dif);
    EXPECT_FALSE(controller.ColourPanel().IsOffered(first.colour));
    EXPECT_FALSE(controller.ColourPanel().IsOffered(second.colour));
    EXPECT_TRUE(surface.Lines().contains(QStringLiteral("40,30:x^2-2")));
    EXPECT_TRUE(ask.messages.empty());
}

TEST_F(EquationCommands, ReadingReplacesTheColoursOfTheOldDocument)
{
    Register(KindExplicit, {"x"});
    ASSERT_EQ(doc.ItemList[1].colour, 0u);
    Write(Path("b.gtq"), OneItemFile("x^3"));
    ReadEquationsAndRefresh(controller, Path("b.gtq"));
    EXPECT_TRUE(controller.ColourPanel().IsOffered(0));
    EXPECT_FALSE(controller.ColourPanel().IsOffered(255));
    // One explicit function: the calculus menu and the derivative appear.
    EXPECT_TRUE(controller.Menus().dif);
    EXPECT_TRUE(controller.Menus().defa);
    EXPECT_TRUE(controller.ShowMaxMin());
}

TEST_F(EquationCommands, FileWithParametersAsksForTheParameterWindow)
{
    Write(Path("p.gtq"), OneItemFile("a*x^2"));
    EXPECT_TRUE(ReadEquationsAndRefresh(controller, Path("p.gtq")));
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("a = 0.000 "));
    EXPECT_TRUE(controller.Menus().kp2Enabled);
}

TEST_F(EquationCommands, BrokenFileIsReportedAndChangesNothing)
{
    Register(KindExplicit, {"x+1"});
    doc.CoordFrame = {-1, 1, -2, 2};
    const Document before = doc;
    const int clears = surface.clears;
    auto lines = OneItemFile("x^3");
    lines[2] = "five"; // xmax is not a number
    Write(Path("broken.gtq"), lines);

    EXPECT_EQ(LoadEquations(controller, Path("broken.gtq")), LoadOutcome::Failed);
    ASSERT_EQ(ask.messages.size(), 1u);
    EXPECT_FALSE(ask.messages[0].isEmpty());

    EXPECT_FALSE(ReadEquationsAndRefresh(controller, Path("broken.gtq")));
    EXPECT_EQ(ask.messages.size(), 2u);
    EXPECT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(doc.ItemList[1].text[1], "x+1");
    EXPECT_EQ(doc.CoordFrame.xmin, before.CoordFrame.xmin);
    EXPECT_EQ(doc.CoordFrame.ymax, before.CoordFrame.ymax);
    EXPECT_EQ(surface.clears, clears) << "the list is not redrawn";
}

TEST_F(EquationCommands, TruncatedFileChangesNothing)
{
    Register(KindExplicit, {"x+1"});
    auto lines = OneItemFile("x^3");
    lines.resize(lines.size() - 3);
    Write(Path("short.gtq"), lines);
    EXPECT_FALSE(ReadEquationsAndRefresh(controller, Path("short.gtq")));
    EXPECT_EQ(ask.messages.size(), 1u);
    EXPECT_EQ(doc.ItemList[1].text[1], "x+1");
}

TEST_F(EquationCommands, MissingFileIsReported)
{
    EXPECT_EQ(LoadEquations(controller, Path("absent.gtq")), LoadOutcome::Failed);
    EXPECT_EQ(ask.messages.size(), 1u);
}

TEST_F(EquationCommands, ForeignFileIsIgnoredSilently)
{
    Register(KindExplicit, {"x+1"});
    const int clears = surface.clears;
    Write(Path("other.gtq"), {"hello", "world"});
    EXPECT_EQ(LoadEquations(controller, Path("other.gtq")), LoadOutcome::NotOurs);
    EXPECT_FALSE(ReadEquationsAndRefresh(controller, Path("other.gtq")));
    EXPECT_TRUE(ask.messages.empty());
    EXPECT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(surface.clears, clears);
}

TEST_F(EquationCommands, CancelledOpenDialogStillRefreshes)
{
    Register(KindExplicit, {"b*x"});
    const int clears = surface.clears;
    EXPECT_TRUE(ReadEquationsAndRefresh(controller, QString()));
    EXPECT_EQ(surface.clears, clears + 1);
    EXPECT_EQ(doc.ItemCount, 1);
}

TEST_F(EquationCommands, SaveFailureIsReported)
{
    EXPECT_FALSE(SaveEquations(controller, Path("no/such/folder/x.gtq")));
    EXPECT_EQ(ask.messages.size(), 1u);
}
