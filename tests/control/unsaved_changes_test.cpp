// Unsaved changes: what counts as a change, and the question asked before
// the document is replaced or the program ends.
#include "control/correction.h"
#include "control/definition_commands.h"
#include "control/equation_commands.h"
#include "controller_test.h"
#include "platform/text_file.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
class UnsavedChanges : public ControllerTest
{
  protected:
    UnsavedChanges()
    {
        names.forSaving = [this] {
            ++saveDialogs;
            return saveAs;
        };
        names.forReading = [this] {
            ++openDialogs;
            return openPath;
        };
    }
    void registerExplicit(const char *formula) { registerItem(KindExplicit, {formula}); }

    EquationFileNames names;
    QString saveAs, openPath;
    int saveDialogs = 0, openDialogs = 0;
};
} // namespace

TEST_F(UnsavedChanges, EveryChangeOfWhatAFileKeepsCounts)
{
    EXPECT_FALSE(controller.isModified()) << "a fresh document";
    registerExplicit("x^2");
    EXPECT_TRUE(controller.isModified());
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));
    EXPECT_FALSE(controller.isModified());

    // Each change on its own, undone before the next.
    const auto changes = [&](const std::function<void()> &change, const std::function<void()> &undo) {
        change();
        EXPECT_TRUE(controller.isModified());
        undo();
        EXPECT_FALSE(controller.isModified()) << "undone by hand is no change";
    };
    changes([&] { doc.frame.xmax = 6; }, [&] { doc.frame.xmax = 5; });
    changes([&] { doc.parameters['a'] = 1.5f; }, [&] { doc.parameters['a'] = 0; });
    changes([&] { doc.parameters['f'] = -1; }, [&] { doc.parameters['f'] = 0; });
    changes([&] { doc.items[1].penWidth = 2; }, [&] { doc.items[1].penWidth = 1; });

    // Not kept in a file, so never asked about.
    doc.parameters['j'] = 3;
    doc.parameters['s'] = 1;
    doc.showGrid = 1;
    doc.overlayMode = 1;
    EXPECT_FALSE(controller.isModified());
}

TEST_F(UnsavedChanges, CorrectionsDeletionsAndDefinitionsCount)
{
    registerExplicit("x^2");
    registerExplicit("x+1");
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));
    DefinitionContext context{doc, controller.colours(), ask, {}, {}};
    CorrectionSession session(context);
    ASSERT_TRUE(session.open(CorrectItems));

    ask.keyboardAnswers = {"x^3"};
    EXPECT_TRUE(session.editField(FieldEqu1));
    EXPECT_TRUE(controller.isModified());
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));

    session.setAfterimage(1);
    EXPECT_TRUE(controller.isModified());
    session.setAfterimage(0);
    EXPECT_FALSE(controller.isModified());

    ask.confirmAnswers = {true};
    EXPECT_TRUE(session.deleteCurrent());
    EXPECT_TRUE(controller.isModified());
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));

    ask.keyboardAnswers = {"x^2+1"};
    EXPECT_TRUE(addFunction(context));
    EXPECT_TRUE(controller.isModified());
}

TEST_F(UnsavedChanges, ReadingClearsTheChanges)
{
    registerExplicit("x^2");
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));
    registerExplicit("x+1");
    EXPECT_TRUE(controller.isModified());
    EXPECT_EQ(readEquationsAndRefresh(controller, path("a.gtq")).next, AfterRead::Redraw);
    EXPECT_FALSE(controller.isModified());
    // A read that fails leaves the changes as they were.
    registerExplicit("x+1");
    EXPECT_EQ(readEquationsAndRefresh(controller, path("missing.gtq")).next, AfterRead::Nothing);
    EXPECT_TRUE(controller.isModified());
}

TEST_F(UnsavedChanges, NothingIsAskedWithoutChanges)
{
    EXPECT_TRUE(settleUnsavedChanges(controller, names));
    EXPECT_EQ(ask.saveChangesQuestions, 0);
    EXPECT_EQ(saveDialogs, 0);
}

TEST_F(UnsavedChanges, TheThreeAnswers)
{
    registerExplicit("x^2");
    const Document before = doc;

    // 取消し: stop, nothing written.
    ask.saveChangesAnswers = {SaveChangesAnswer::Cancel};
    EXPECT_FALSE(settleUnsavedChanges(controller, names));
    EXPECT_EQ(ask.saveChangesQuestions, 1);
    EXPECT_EQ(saveDialogs, 0);
    EXPECT_TRUE(controller.isModified());

    // 保存しない: go on, nothing written.
    ask.saveChangesAnswers = {SaveChangesAnswer::DontSave};
    EXPECT_TRUE(settleUnsavedChanges(controller, names));
    EXPECT_EQ(saveDialogs, 0);
    EXPECT_TRUE(controller.isModified());

    // 保存 with the file dialog cancelled: stop.
    ask.saveChangesAnswers = {SaveChangesAnswer::Save};
    EXPECT_FALSE(settleUnsavedChanges(controller, names));
    EXPECT_EQ(saveDialogs, 1);

    // 保存 into a folder that does not exist: the message, and stop.
    saveAs = path("no/such/folder/a.gtq");
    ask.saveChangesAnswers = {SaveChangesAnswer::Save};
    EXPECT_FALSE(settleUnsavedChanges(controller, names));
    EXPECT_EQ(ask.messages.size(), 1u);
    EXPECT_TRUE(controller.isModified());

    // 保存: written, then go on.
    saveAs = path("a.gtq");
    ask.saveChangesAnswers = {SaveChangesAnswer::Save};
    EXPECT_TRUE(settleUnsavedChanges(controller, names));
    EXPECT_FALSE(controller.isModified());
    EXPECT_TRUE(readTextLines(saveAs).ok);
    EXPECT_EQ(doc.items[1].text, before.items[1].text);
}

TEST_F(UnsavedChanges, ReadingOverChangesAsksFirst)
{
    registerExplicit("x^2");
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));
    registerExplicit("x+1");
    openPath = path("a.gtq");

    // 取消し: no open dialog, the document as it was.
    ask.saveChangesAnswers = {SaveChangesAnswer::Cancel};
    EXPECT_EQ(readEquationsCommand(controller, names).next, AfterRead::Nothing);
    EXPECT_EQ(openDialogs, 0);
    EXPECT_EQ(doc.itemCount, 2);

    // 保存: the changes go to another file first, then the read.
    saveAs = path("b.gtq");
    ask.saveChangesAnswers = {SaveChangesAnswer::Save};
    EXPECT_EQ(readEquationsCommand(controller, names).next, AfterRead::Redraw);
    EXPECT_EQ(openDialogs, 1);
    EXPECT_EQ(doc.itemCount, 1);
    EXPECT_TRUE(readTextLines(saveAs).ok);

    // Unchanged now: read again without a question.
    EXPECT_EQ(readEquationsCommand(controller, names).next, AfterRead::Redraw);
    EXPECT_EQ(ask.saveChangesQuestions, 2);
    EXPECT_EQ(openDialogs, 2);

    // 保存しない: read over the changes.
    registerExplicit("x+1");
    ask.saveChangesAnswers = {SaveChangesAnswer::DontSave};
    EXPECT_EQ(readEquationsCommand(controller, names).next, AfterRead::Redraw);
    EXPECT_EQ(doc.itemCount, 1);
}

} // namespace gq
