// Defined functions and constants: references, the deletion cascade with its
// renumbering, and the "式定義" commands.
#include "control/definition_commands.h"
#include "control/definition_keys.h"
#include "control/definitions_test_util.h"
#include "model/definitions.h"
#include "windows/definition_links.h"
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace gq
{

using namespace defs_test;

namespace
{
const std::string kPi = "\x83\xCE";

struct DefinitionsTest : ::testing::Test {
    Document doc;
    ColourPanelState panel;
    ScriptedQuestions answers;
    int listRedraws = 0;
    DefinitionContext ctx{doc, panel, answers, [this] { ++listRedraws; }, {}};
};

// Deletes `what` ("F2", "Q1", or "F*" / "Q*" for all of a kind) and compares
// what remains; the colours of removed items must be offered again.
void expectCascade(const char *name, const Texts &functions, const Texts &constants, const Texts &items,
                   const std::string &what, const Texts &wantFunctions, const Texts &wantConstants,
                   const Texts &wantItems)
{
    SCOPED_TRACE(name);
    Document doc;
    ColourPanelState panel;
    setDefinitions(doc, functions, constants);
    appendItems(doc, panel, items);
    const bool all = what[1] == '*';
    if (what[0] == 'F')
        all ? deleteAllFunctions(doc, panel) : deleteFunction(doc, panel, what[1] - '0');
    else
        all ? deleteAllConstants(doc, panel) : deleteConstant(doc, panel, what[1] - '0');
    EXPECT_EQ(functionTextsOf(doc), wantFunctions);
    EXPECT_EQ(constantTextsOf(doc), wantConstants);
    EXPECT_EQ(described(doc), wantItems);
    EXPECT_TRUE(coloursConsistent(doc, panel));
}
} // namespace

TEST(DefinitionReferences, FirstOccurrenceAndRenumbering)
{
    EXPECT_EQ(findReference('F', 1, "F1(x)"), 1);
    EXPECT_EQ(findReference('F', 2, "x+F1(x)*F2(x)+F2(1)"), 9);
    EXPECT_EQ(findReference('F', 3, "2*Q3"), 0);
    EXPECT_EQ(findReference('Q', 1, "Q12"), 1); // a plain text test
    EXPECT_EQ(findReference('F', 1, "F"), 0);
    EXPECT_EQ(findReference('F', 0, "F0"), 0);
    EXPECT_EQ(findReference('F', 1, kPi + "F1(x)"), 3); // π counts as its two bytes

    std::string text = "F3(x)+Q4";
    renumberReferences(text, 'F', 2);
    renumberReferences(text, 'Q', 1);
    EXPECT_EQ(text, "F2(x)+Q3");
    text = "F4(F3(x))+F3(1)+F1(x)+F6(2)"; // every occurrence
    renumberReferences(text, 'F', 2);
    EXPECT_EQ(text, "F3(F2(x))+F2(1)+F1(x)+F5(2)");
}

// Deleting a definition removes the items and definitions that use it,
// cascades through removed definitions and closes the numbering everywhere.
TEST(DefinitionCascade, RemovesUsersAndRenumbersTheRest)
{
    expectCascade("F1 takes item 1 and its derivative, nothing else", {"x^2"}, {},
                  {"E F1(x)", "D 2*x", "I x^2+y^2-1", "P 1 2"}, "F1", {}, {}, {"I x^2+y^2-1", "P 1 2"});
    expectCascade("items after a derivative are tested too", {"x^2", "x+1"}, {},
                  {"E x^3", "D 3*x^2", "E F1(x)+1", "P 1 F1(2)", "E F2(x)"}, "F1", {"x+1"}, {},
                  {"E x^3", "D 3*x^2", "E F1(x)"});
    expectCascade("F2 of three renumbers F3 in every text", {"x^2", "sin(x)", "F1(x)+1"}, {"F3(2)"},
                  {"E F3(x)", "T F3(t) F1(t) 0 Q1"}, "F2", {"x^2", "F1(x)+1"}, {"F2(2)"},
                  {"E F2(x)", "T F2(t) F1(t) 0 Q1"});
    expectCascade("F2 of four renumbers definitions and later texts", {"x", "x^2", "F1(x)*3", "F3(x)+F1(x)"},
                  {"F4(1)"}, {"E F4(x)", "S F3(1) Q1 F1(0) F4(2)"}, "F2", {"x", "F1(x)*3", "F2(x)+F1(x)"},
                  {"F3(1)"}, {"E F3(x)", "S F2(1) Q1 F1(0) F3(2)"});
    expectCascade("a function takes the constants using it", {"x+1", "x*2"}, {"F2(1)", "3", "Q2+F1(0)"},
                  {"E Q1*x", "E Q3+x", "E Q2"}, "F2", {"x+1"}, {"3", "Q1+F1(0)"}, {"E Q2+x", "E Q1"});
    expectCascade("a removed definition is itself cascaded", {"x^2", "F1(x)+1", "F2(x)*2", "cos(x)"},
                  {"F3(1)", "7"}, {"E F1(x)", "E F2(x)", "E F3(x)", "E Q1*x", "E F4(x)+Q2"}, "F1", {"cos(x)"},
                  {"7"}, {"E F1(x)+Q1"});
    expectCascade("two adjacent items using Q1 both go", {}, {"2", "3"}, {"E Q1*x", "E x+Q1", "E Q2*x"}, "Q1",
                  {}, {"3"}, {"E Q1*x"});
    expectCascade("Q1 takes a constant built on it", {}, {kPi, "Q1*2", "5"}, {"E Q3*x"}, "Q1", {}, {"5"},
                  {"E Q1*x"});
    expectCascade("all functions", {"x^2", "F1(x)+1"}, {"2", "F2(3)", "Q1+1"},
                  {"E F1(x)", "D 2*x", "E Q2*x", "E Q3*x"}, "F*", {}, {"2", "Q1+1"}, {"E Q2*x"});
    expectCascade("all constants", {"x"}, {"2", "Q1+1"}, {"E Q2*x", "E F1(x)"}, "Q*", {"x"}, {}, {"E F1(x)"});
}

// Whatever is deleted, every remaining text still parses and keeps its value.
TEST(DefinitionCascade, EveryDeletionKeepsTheMeaningOfWhatRemains)
{
    const Texts functions = {"x^2", "F1(x)+Q1", "sin(x)", "F3(x)*F1(x)", "x-Q2", "F5(x)/2"};
    const Texts constants = {"3", "F3(1)", "Q1*2", "F4(2)+Q3", "5", "Q5-1"};
    const Texts items = {"E F1(x)",    "E F2(x)", "E F4(x)+Q4", "E Q6*x",
                         "E F6(x)+Q3", "E x+Q5",  "E F3(x)",    "E 1"};
    for (char prefix : {'F', 'Q'})
        for (int p = 1; p <= 6; ++p) {
            SCOPED_TRACE(prefix + std::to_string(p));
            Document d;
            ColourPanelState pan;
            setDefinitions(d, functions, constants);
            appendItems(d, pan, items);
            std::map<uint32_t, long double> before; // by colour, which identifies an item
            for (int i = 1; i <= d.itemCount; ++i) {
                const auto value = valueWith(d, d.items[i].text[1], 0.7L);
                ASSERT_TRUE(value) << d.items[i].text[1];
                before[d.items[i].colour] = *value;
            }
            prefix == 'F' ? deleteFunction(d, pan, p) : deleteConstant(d, pan, p);
            EXPECT_LT(d.functionCount + d.constantCount, 12);
            for (int i = 1; i <= d.itemCount; ++i) // NaN when it no longer parses or evaluates
                EXPECT_NEAR(double(valueWith(d, d.items[i].text[1], 0.7L).value_or(std::nanl(""))),
                            double(before[d.items[i].colour]), 1e-12)
                    << d.items[i].text[1];
            for (const Texts &defs : {functionTextsOf(d), constantTextsOf(d)})
                for (const std::string &t : defs)
                    EXPECT_TRUE(valueWith(d, t, 0.3L)) << t;
            EXPECT_TRUE(coloursConsistent(d, pan));
        }
}

TEST(DefinitionKeys, CorrectionOffersNoKeyThatCouldCloseACycle)
{
    Document doc;
    setDefinitions(doc, {"x", "Q1*x", "x+1"}, {"2", "F1(1)", "3"});
    KeyboardRequest f3 = correctFunctionRequest(doc, 3);
    EXPECT_EQ(f3.initialText, "x+1");
    EXPECT_TRUE(f3.funcKeys == 2 && f3.constKeys == 3);
    EXPECT_EQ(f3.constKeyOff, (std::array<bool, 6>{false, true})); // Q2 uses a function
    EXPECT_TRUE(f3.keysXYZ && f3.keyX);
    KeyboardRequest q2 = correctConstantRequest(doc, 2);
    EXPECT_TRUE(q2.funcKeys == 3 && q2.constKeys == 1);
    EXPECT_EQ(q2.funcKeyOff, (std::array<bool, 6>{false, true})); // F2 uses a constant
    EXPECT_FALSE(q2.keysXYZ && q2.keyX);
}

TEST(DefinitionList, HeadingsAndOneLinePerDefinition)
{
    Document doc;
    EXPECT_TRUE(definitionListLines(doc).empty());
    setDefinitions(doc, {"x^2", "sin(x)"}, {kPi});
    auto lines = definitionListLines(doc);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(lines[0].heading && lines[3].heading);
    EXPECT_EQ(lines[0].label + lines[3].label, QStringLiteral("定義関数定義定数"));
    EXPECT_EQ(lines[2].label, QStringLiteral("F2(x)="));
    EXPECT_EQ(lines[2].formula, "sin(x)");
    EXPECT_EQ(lines[4].label, QStringLiteral("Q1 ="));
    EXPECT_EQ(lines[4].formula, kPi);
}

TEST_F(DefinitionsTest, AddAsksWithItsCaptionAndKeys)
{
    setDefinitions(doc, {}, {"2"});
    answers.keyboardAnswers = {"x^2+Q1", "F1(x)*2", "", "F2(2)"};
    EXPECT_TRUE(addFunction(ctx));
    const KeyboardRequest &r = answers.keyboardRequests[0];
    EXPECT_EQ(r.caption, QStringLiteral("関数　F1の入力"));
    EXPECT_EQ(r.layout, 1);
    EXPECT_TRUE(r.keysXYZ && r.keyX && r.keyY && r.keyI && r.keysSgnGaus);
    EXPECT_FALSE(r.keyZ || r.keyT);
    EXPECT_TRUE(r.funcKeys == 0 && r.constKeys == 1);
    EXPECT_EQ(listRedraws, 1);
    EXPECT_TRUE(addFunction(ctx));
    EXPECT_EQ(answers.keyboardRequests[1].caption, QStringLiteral("関数　F2の入力"));
    EXPECT_EQ(answers.keyboardRequests[1].funcKeys, 1);
    EXPECT_FALSE(addFunction(ctx)); // empty answer
    EXPECT_EQ(functionTextsOf(doc), (Texts{"x^2+Q1", "F1(x)*2"}));

    EXPECT_TRUE(addConstant(ctx));
    const KeyboardRequest &q = answers.keyboardRequests[3];
    EXPECT_EQ(q.caption, QStringLiteral("定数　Q2の入力"));
    EXPECT_FALSE(q.keysXYZ || q.keyT || q.keyI);
    EXPECT_TRUE(q.keysSgnGaus && q.funcKeys == 2 && q.constKeys == 1);
    EXPECT_EQ(constantTextsOf(doc), (Texts{"2", "F2(2)"}));

    // At six the add command is hidden and no seventh is even asked for.
    setDefinitions(doc, {"x", "x", "x", "x", "x", "x"}, {"1"});
    answers.keyboardAnswers = {"x"};
    EXPECT_FALSE(addFunction(ctx));
    EXPECT_EQ(answers.keyboardRequests.size(), 4u);
    EXPECT_EQ(doc.functionCount, 6);
    DefinitionMenus m = definitionMenuVisibility(doc);
    EXPECT_TRUE(m.correctFunctionsEntry && m.addConstantEntry && m.correctConstantsEntry);
    EXPECT_FALSE(m.addFunctionEntry);
}

TEST_F(DefinitionsTest, ADefinitionReferringToItselfIsRefused)
{
    // The keyboard's own check runs before the text is stored, so it cannot
    // see the cycle; storing it would leave F1 unusable.
    answers.keyboardAnswers = {"F1(x)+1", "x+1"};
    EXPECT_TRUE(addFunction(ctx));
    ASSERT_EQ(answers.keyboardRequests.size(), 2u);
    EXPECT_EQ(answers.keyboardRequests[1].message, QStringLiteral("式が間違っています2"));
    EXPECT_EQ(answers.keyboardRequests[1].initialText, "F1(x)+1");
    EXPECT_EQ(functionTextsOf(doc), (Texts{"x+1"}));
}

TEST_F(DefinitionsTest, NewAsksOnlyWhenThereAreDefinitionsThenReplacesThemAndTheirItems)
{
    answers.keyboardAnswers = {"x^2", "cos(x)"};
    EXPECT_TRUE(newFunctions(ctx)); // none yet: no question
    EXPECT_TRUE(answers.confirmKinds.empty());
    setDefinitions(doc, {"x^2", "x"}, {"F2(1)", "4"});
    appendItems(doc, panel, {"E F1(x)", "E Q2*x"});
    answers.confirmAnswers = {false, true, true};
    EXPECT_FALSE(newFunctions(ctx)); // cancelled: nothing changes
    EXPECT_EQ(answers.keyboardRequests.size(), 1u);
    EXPECT_EQ(functionTextsOf(doc), (Texts{"x^2", "x"}));
    EXPECT_EQ(doc.itemCount, 2);

    EXPECT_TRUE(newFunctions(ctx));
    EXPECT_EQ(answers.keyboardRequests[1].caption, QStringLiteral("関数　F1の入力"));
    EXPECT_EQ(answers.keyboardRequests[1].constKeys, 1); // Q1 (was Q2) only
    EXPECT_EQ(functionTextsOf(doc), (Texts{"cos(x)"}));
    EXPECT_EQ(constantTextsOf(doc), (Texts{"4"}));
    EXPECT_EQ(described(doc), (Texts{"E Q1*x"}));
    EXPECT_TRUE(coloursConsistent(doc, panel));
    // Confirmed but the new text cancelled: the old ones are gone anyway.
    EXPECT_TRUE(newConstants(ctx));
    EXPECT_EQ(answers.confirmKinds, (std::vector<int>{WarnFunctions, WarnFunctions, WarnConstants}));
    EXPECT_EQ(doc.constantCount + doc.itemCount, 0);
}

// The menu commands reach the definitions; only a deletion asks for a
// redraw. "全削除" asks, then leaves only the items that use no definition.
TEST_F(DefinitionsTest, MenuCommandsAndEraseAll)
{
    CorrectionWindow correctform(ctx);
    int redraws = 0;
    const auto command = [&](DefinitionCommand c) { redraws += runDefinitionCommand(ctx, correctform, c); };
    answers.keyboardAnswers = {"x^2", "x", "2"};
    answers.confirmAnswers = {true, false, true};
    command(DefinitionCommand::AddFunction);
    EXPECT_EQ(functionTextsOf(doc), (Texts{"x^2"}));
    EXPECT_EQ(redraws, 0);
    appendItem(doc, panel, "E F1(x)");
    command(DefinitionCommand::NewFunctions);
    EXPECT_EQ(doc.itemCount, 0);
    EXPECT_EQ(redraws, 1);

    command(DefinitionCommand::AddConstant);
    appendItems(doc, panel, {"E F1(x)+Q1", "E x+1"});
    command(DefinitionCommand::EraseAll); // refused
    EXPECT_EQ(doc.functionCount + doc.constantCount, 2);
    EXPECT_EQ(redraws, 1);
    command(DefinitionCommand::EraseAll);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(doc.functionCount + doc.constantCount, 0);
    EXPECT_EQ(described(doc), (Texts{"E x+1"}));
    EXPECT_EQ(answers.confirmKinds,
              (std::vector<int>{WarnFunctions, WarnAllDefinitions, WarnAllDefinitions}));
    DefinitionMenus m = definitionMenuVisibility(doc);
    EXPECT_FALSE(m.addFunctionEntry || m.correctFunctionsEntry || m.addConstantEntry ||
                 m.correctConstantsEntry);
    EXPECT_TRUE(definitionListLines(doc).empty());
}

} // namespace gq
