// The history of the document: every command is one step, undo walks back
// through exactly the states the commands made and redo walks forward again,
// and the unsaved-changes state follows it.
#include "control/correction.h"
#include "control/definition_commands.h"
#include "control/equation_commands.h"
#include "control/parameter_steps.h"
#include "control/range_steps.h"
#include "control/view_navigation.h"
#include "controller_test.h"
#include "model/equation_file.h"
#include <QDir>
#include <gtest/gtest.h>
#include <random>

namespace gq
{

namespace
{
// The document as a saved file, and what a file does not keep.
std::string savedFile(const Document &doc)
{
    std::vector<std::string> lines;
    QString error;
    EXPECT_TRUE(equationFileLines(doc, lines, error)) << error.toStdString();
    std::string bytes;
    for (const std::string &line : lines)
        bytes += line + "\r\n";
    bytes += "grid " + std::to_string(doc.showGrid) + " scale " + std::to_string(doc.showScale);
    for (char letter : {'j', 'n', 's'})
        bytes += " " + std::to_string(doc.parameters[letter]);
    return bytes;
}

class History : public ControllerTest
{
  protected:
    History() : context{doc, controller.colours(), ask, {}, [this](const QString &name) { record(name); }} {}

    void record(const QString &name) { controller.recordStep(name); }
    QString undoName() { return controller.history().undoName(); }

    DefinitionContext context;

    // One command of a teacher's lesson, chosen by random; each makes at
    // most one step.
    void randomCommand()
    {
        switch (pick(9)) {
        case 0: // registration (new, added or the derivative)
            if (doc.itemCount == 1 && doc.items[1].kind == KindExplicit && pick(2) == 0) {
                controller.addRegistration(KindDerivative);
                break;
            }
            ask.confirmAnswers = {true};
            ask.keyboardAnswers = {formula()};
            pick(4) == 0 ? controller.newRegistration(KindExplicit)
                         : controller.addRegistration(pick(2) ? KindExplicit : KindImplicit);
            break;
        case 1: { // correction of a formula, the colour or the pen
            CorrectionSession session(context);
            if (!session.open(CorrectItems))
                break;
            session.setNumber(1 + pick(doc.itemCount));
            ask.keyboardAnswers = {formula()};
            if (pick(2))
                session.editField(FieldEqu1);
            else
                session.setPenWidth(pick(3));
            break;
        }
        case 2: { // deletion of an item or of a definition, with its cascade
            CorrectionSession session(context);
            const int mode = pick(2) ? CorrectItems : CorrectFunctions;
            if (!session.open(mode))
                break;
            session.setNumber(1 + pick(session.count()));
            ask.confirmAnswers = {true};
            session.deleteCurrent();
            break;
        }
        case 3: // definitions
            ask.confirmAnswers = {true};
            ask.keyboardAnswers = {pick(2) ? "x^2-1" : "2*x"};
            if (pick(5) == 0)
                eraseAllDefinitions(context);
            else
                pick(2) ? addFunction(context) : addConstant(context);
            break;
        case 4: // the range dialog's steps
            applyRangeStep(doc.frame, 1 + pick(14));
            record(step_names::kRange);
            break;
        case 5: // a wheel notch or a drag
            if (pick(2))
                wheelZoom(doc.frame, GraphView(doc.frame, 400), pick(400), pick(400), pick(2) == 0);
            else
                doc.frame = pannedFrame(GraphView(doc.frame, 400), pick(80) - 40, pick(80) - 40);
            record(step_names::kMove);
            break;
        case 6: { // the parameters: a hold of 描画 is many ticks, one step
            ParameterSteps steps;
            steps.plus(static_cast<ParamRow>(pick(kParamRowCount)));
            for (int tick = pick(5); tick >= 0; --tick)
                steps.step(doc.parameters);
            record(step_names::kParameters);
            break;
        }
        case 7: // the grid and scale switches
            (pick(2) ? doc.showGrid : doc.showScale) ^= 1;
            record(step_names::kGrid);
            break;
        case 8: // reading a file saved earlier in the lesson
            if (pick(2) || controller.documentPath().isEmpty())
                saveEquations(controller, path(pick(2) ? "a.gtq" : "b.gtq"));
            else
                readEquationsAndRefresh(controller, controller.documentPath());
            break;
        }
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, std::max(n, 1) - 1)(random_); }
    const char *formula()
    {
        static const char *const formulas[] = {"x^2", "sin(x)+a", "F1(x)", "x+Q1", "b*x-1", "x^2+y^2-4"};
        return formulas[pick(6)];
    }

    std::mt19937 random_;
};

} // namespace

// From any lesson, undo walks back through exactly the states the commands
// made, to the start, and redo walks forward again, to the end; compared as
// saved files, byte for byte.
TEST_F(History, UndoAllReturnsToTheStartAndRedoAllToTheEnd)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        controller.resetDocument();
        random_.seed(seed);
        std::vector<std::string> states{savedFile(doc)};
        for (int c = 0; c < 60; ++c) {
            const int before = controller.history().stepCount();
            randomCommand();
            ASSERT_LE(controller.history().stepCount(), before + 1) << "one command, at most one step";
            if (controller.history().stepCount() > before)
                states.push_back(savedFile(doc));
            else
                ASSERT_EQ(savedFile(doc), states.back()) << "a change that made no step";
        }
        ASSERT_GT(states.size(), 30u);
        for (std::size_t k = states.size() - 1; k > 0; --k) {
            ASSERT_TRUE(controller.undo());
            ASSERT_EQ(savedFile(doc), states[k - 1]) << "after undoing step " << k;
        }
        EXPECT_FALSE(controller.undo());
        for (std::size_t k = 1; k < states.size(); ++k) {
            ASSERT_TRUE(controller.redo());
            ASSERT_EQ(savedFile(doc), states[k]) << "after redoing step " << k;
        }
        EXPECT_FALSE(controller.redo());
    }
}

TEST_F(History, EachCommandNamesItsStep)
{
    const auto step = [&](const std::function<void()> &command, const char *name) {
        command();
        EXPECT_EQ(undoName(), QString::fromUtf8(name));
    };
    step([&] { registerItem(KindExplicit, {"x^2"}); }, "新規登録");
    step([&] { controller.addRegistration(KindDerivative); }, "追加登録");
    step(
        [&] {
            ask.keyboardAnswers = {"x^2+1"};
            addFunction(context);
        },
        "関数定義");
    step(
        [&] {
            CorrectionSession session(context);
            session.open(CorrectItems);
            session.setPenWidth(2);
        },
        "訂正");
    step(
        [&] {
            CorrectionSession session(context);
            session.open(CorrectItems);
            ask.confirmAnswers = {true};
            session.deleteCurrent();
        },
        "削除");
    step(
        [&] {
            saveEquations(controller, path("a.gtq"));
            registerItem(KindExplicit, {"x"});
            readEquationsAndRefresh(controller, path("a.gtq"));
        },
        "式の読み込み");
    // A change nobody named is named by what changed.
    step(
        [&] {
            doc.frame.xmax = 7;
            record({});
        },
        "座標変更");
    EXPECT_EQ(QStringLiteral("元に戻す: %1").arg(undoName()), QStringLiteral("元に戻す: 座標変更"));
}

// Deleting a definition removes every item that uses it: one step, and one
// undo brings the definition and all three items back.
TEST_F(History, ADeletionWithItsCascadeIsOneStep)
{
    ask.keyboardAnswers = {"x^2"};
    addFunction(context);
    registerItem(KindExplicit, {"F1(x)"});
    registerItem(KindExplicit, {"F1(x)+1"});
    registerItem(KindExplicit, {"x"});
    registerItem(KindExplicit, {"F1(x-2)"});
    const std::string before = savedFile(doc);
    const int steps = controller.history().stepCount();

    CorrectionSession session(context);
    ASSERT_TRUE(session.open(CorrectFunctions));
    ask.confirmAnswers = {true};
    ASSERT_TRUE(session.deleteCurrent());
    EXPECT_EQ(doc.itemCount, 1);
    EXPECT_EQ(doc.functionCount, 0);
    EXPECT_EQ(controller.history().stepCount(), steps + 1);
    EXPECT_EQ(undoName(), QStringLiteral("削除"));

    ASSERT_TRUE(controller.undo());
    EXPECT_EQ(savedFile(doc), before);
    EXPECT_EQ(controller.colours().isOffered(doc.items[2].colour), false) << "colours follow the items";
    EXPECT_TRUE(surface.lines().join('\n').contains(QStringLiteral("F1(x)="))) << "the list follows at once";
}

TEST_F(History, ANewChangeClearsRedoAndCancelledCommandsMakeNoStep)
{
    registerItem(KindExplicit, {"x"});
    registerItem(KindExplicit, {"x+1"});
    ASSERT_TRUE(controller.undo());
    EXPECT_TRUE(controller.history().canRedo());
    EXPECT_EQ(controller.history().redoName(), QStringLiteral("追加登録"));

    // Cancelled at the keyboard, refused at the confirmation: nothing changed.
    const int steps = controller.history().stepCount();
    controller.addRegistration(KindExplicit);
    controller.newRegistration(KindExplicit);
    EXPECT_EQ(controller.history().stepCount(), steps);
    EXPECT_TRUE(controller.history().canRedo());

    doc.frame.ymin = -7;
    record(step_names::kRange);
    EXPECT_FALSE(controller.history().canRedo());
    EXPECT_FALSE(controller.redo());
}

// A change in progress (a drag not yet released) is what an undo takes back.
TEST_F(History, AnUnrecordedChangeIsTakenBackFirst)
{
    registerItem(KindExplicit, {"x"});
    doc.frame.xmin = -9;
    EXPECT_EQ(undoName(), QStringLiteral("座標変更"));
    EXPECT_FALSE(controller.history().canRedo());
    ASSERT_TRUE(controller.undo());
    EXPECT_EQ(doc.frame, CoordFrame{});
    EXPECT_EQ(doc.itemCount, 1);
}

TEST_F(History, KeepsTheLatestHundredSteps)
{
    for (int k = 1; k <= 150; ++k) {
        doc.frame.xmax = 5 + k;
        record(step_names::kRange);
    }
    EXPECT_EQ(controller.history().stepCount(), DocumentHistory::kStepLimit);
    int undone = 0;
    while (controller.undo())
        ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(doc.frame.xmax, 5 + 50);
}

// Unsaved changes follow the history: back at the saved state the document
// is unchanged, and past it changed again.
TEST_F(History, UnsavedChangesFollowTheHistory)
{
    registerItem(KindExplicit, {"x^2"});
    ASSERT_TRUE(saveEquations(controller, path("a.gtq")));
    registerItem(KindExplicit, {"x"});
    EXPECT_TRUE(controller.isModified());
    ASSERT_TRUE(controller.undo());
    EXPECT_FALSE(controller.isModified());
    ASSERT_TRUE(controller.undo());
    EXPECT_TRUE(controller.isModified());
    ASSERT_TRUE(controller.redo());
    EXPECT_FALSE(controller.isModified());
    ASSERT_TRUE(controller.redo());
    EXPECT_TRUE(controller.isModified());

    // A document marked modified stays so whatever it holds, until saved.
    controller.markModified();
    ASSERT_TRUE(controller.undo());
    EXPECT_TRUE(controller.isModified());
    ASSERT_TRUE(saveEquations(controller, path("b.gtq")));
    EXPECT_FALSE(controller.isModified());
    EXPECT_EQ(controller.documentPath(), path("b.gtq"));
    // Kept whole, so that a restored document finds its file from anywhere.
    controller.setDocumentPath(QStringLiteral("lesson.gtq"));
    EXPECT_EQ(controller.documentPath(), QDir::current().absoluteFilePath(QStringLiteral("lesson.gtq")));
}

TEST(DocumentContent, WhatAStepComparesAndCopies)
{
    Document a;
    a.itemCount = 1;
    a.items[1].text[1] = "x";
    Document b = a;
    // Not content: derived flags, the item being entered, the overlay mode,
    // records past the count.
    b.items[1].usesParam = 1;
    b.currentItem.text[1] = "y";
    b.overlayMode = 1;
    b.items[5].text[1] = "z";
    EXPECT_TRUE(sameContent(a, b));

    const std::vector<std::function<void(Document &)>> changes = {
        [](Document &d) { d.items[1].colour = 255; },  [](Document &d) { d.itemCount = 0; },
        [](Document &d) { d.functionCount = 1; },     [](Document &d) { d.frame.ymax = 6; },
        [](Document &d) { d.parameters['j'] = 2; },   [](Document &d) { d.showGrid = 1; },
        [](Document &d) { d.showScale = 0; },
    };
    for (const auto &change : changes) {
        Document c = a;
        change(c);
        EXPECT_FALSE(sameContent(a, c));
        Document restored = c;
        restored.currentItem.text[1] = "kept";
        copyContent(restored, a);
        EXPECT_TRUE(sameContent(restored, a));
        EXPECT_EQ(restored.currentItem.text[1], "kept");
    }
}

} // namespace gq
