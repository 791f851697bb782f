// Defined functions and constants: references, the deletion cascade with its
// renumbering, and the "式定義" commands.
#include "definitions_test_util.h"
#include "document/definition_commands.h"
#include "document/definition_links.h"
#include "document/definitions.h"
#include <gtest/gtest.h>

using namespace defs_test;
using Texts = std::vector<std::string>;

namespace
{
const std::string kPi = "\x83\xCE";

struct DefinitionsTest : ::testing::Test {
    Document doc;
    ColourPanelState panel;
    ScriptedAnswers answers;
    int listRedraws = 0;
    DefinitionContext ctx{doc, panel, answers, [this] { ++listRedraws; }};
};

bool MentionsPrefix(const Document &doc, char prefix)
{
    for (int i = 1; i <= doc.ItemCount; ++i)
        for (int k = 1; k <= 4; ++k)
            if (doc.ItemList[i].text[k].find(prefix) != std::string::npos)
                return true;
    for (const std::string &t : Functions(doc))
        if (t.find(prefix) != std::string::npos)
            return true;
    for (const std::string &t : Constants(doc))
        if (t.find(prefix) != std::string::npos)
            return true;
    return false;
}
} // namespace

TEST(FindReference, FirstOccurrenceOneBased)
{
    EXPECT_EQ(FindReference('F', 1, "F1(x)"), 1);
    EXPECT_EQ(FindReference('F', 2, "x+F1(x)*F2(x)+F2(1)"), 9);
    EXPECT_EQ(FindReference('Q', 3, "2*Q3"), 3);
    EXPECT_EQ(FindReference('F', 3, "2*Q3"), 0);
    EXPECT_EQ(FindReference('Q', 1, "Q12"), 1); // a plain text test
    EXPECT_EQ(FindReference('F', 1, "F"), 0);
    EXPECT_EQ(FindReference('F', 1, ""), 0);
    EXPECT_EQ(FindReference('F', 0, "F0"), 0);
    EXPECT_EQ(FindReference('F', 1, kPi + "F1(x)"), 3); // π counts as its two bytes
}

TEST(RenumberReferences, ClosesTheGapAboveTheDeletedNumber)
{
    std::string text = "F3(x)+Q4";
    RenumberReferences(text, 'F', 2);
    RenumberReferences(text, 'Q', 1);
    EXPECT_EQ(text, "F2(x)+Q3");

    text = "F4(F3(x))+F1(x)+F6(2)";
    RenumberReferences(text, 'F', 2);
    EXPECT_EQ(text, "F3(F2(x))+F1(x)+F5(2)");
}

TEST_F(DefinitionsTest, DeletingF1TakesItemOneAndItsDerivative)
{
    SetFunctions(doc, {"x^2"});
    AppendItem(doc, panel, KindExplicit, "F1(x)");
    AppendItem(doc, panel, KindDerivative, "2*x");
    AppendItem(doc, panel, KindImplicit, "x^2+y^2-1");
    AppendItem(doc, panel, KindPoint, "1", "2");
    DeleteFunction(doc, panel, 1);
    EXPECT_EQ(doc.DefFuncCount, 0);
    EXPECT_EQ(ItemTexts(doc), (Texts{"x^2+y^2-1", "1"}));
    EXPECT_EQ(doc.ItemList[1].kind, KindImplicit);
    EXPECT_TRUE(ColoursConsistent(doc, panel));
}

TEST_F(DefinitionsTest, LaterItemsAreTestedAfterADerivative)
{
    SetFunctions(doc, {"x^2", "x+1"});
    AppendItem(doc, panel, KindExplicit, "x^3");
    AppendItem(doc, panel, KindDerivative, "3*x^2");
    AppendItem(doc, panel, KindExplicit, "F1(x)+1");
    AppendItem(doc, panel, KindPoint, "1", "F1(2)");
    AppendItem(doc, panel, KindExplicit, "F2(x)");
    DeleteFunction(doc, panel, 1);
    EXPECT_EQ(ItemTexts(doc), (Texts{"x^3", "3*x^2", "F1(x)"}));
    EXPECT_TRUE(ColoursConsistent(doc, panel));
}

TEST_F(DefinitionsTest, DeletingF2OfThreeRenumbersF3Everywhere)
{
    SetFunctions(doc, {"x^2", "sin(x)", "F1(x)+1"});
    SetConstants(doc, {"F3(2)"});
    AppendItem(doc, panel, KindExplicit, "F3(x)");
    AppendItem(doc, panel, KindParametric, "F3(t)", "F1(t)", "0", "Q1");
    DeleteFunction(doc, panel, 2);
    EXPECT_EQ(Functions(doc), (Texts{"x^2", "F1(x)+1"}));
    EXPECT_EQ(Constants(doc), (Texts{"F2(2)"}));
    EXPECT_EQ(ItemTexts(doc), (Texts{"F2(x)", "F2(t)"}));
    EXPECT_EQ(doc.ItemList[2].text[4], "Q1");
}

TEST_F(DefinitionsTest, AdjacentItemsUsingQ1AreBothRemoved)
{
    SetConstants(doc, {"2", "3"});
    AppendItem(doc, panel, KindExplicit, "Q1*x");
    AppendItem(doc, panel, KindExplicit, "x+Q1");
    AppendItem(doc, panel, KindExplicit, "Q2*x");
    DeleteConstant(doc, panel, 1);
    EXPECT_EQ(ItemTexts(doc), (Texts{"Q1*x"}));
    EXPECT_EQ(Constants(doc), (Texts{"3"}));
    EXPECT_TRUE(ColoursConsistent(doc, panel));
}

TEST_F(DefinitionsTest, DeletingQ1RemovesAConstantBuiltOnIt)
{
    SetConstants(doc, {kPi, "Q1*2", "5"});
    AppendItem(doc, panel, KindExplicit, "Q3*x");
    DeleteConstant(doc, panel, 1);
    EXPECT_EQ(Constants(doc), (Texts{"5"}));
    EXPECT_EQ(ItemTexts(doc), (Texts{"Q1*x"}));
}

TEST_F(DefinitionsTest, ACascadedDefinitionIsItselfCascaded)
{
    // F3 uses F2 uses F1; each is used by an item, and Q1 uses F3.
    SetFunctions(doc, {"x^2", "F1(x)+1", "F2(x)*2", "cos(x)"});
    SetConstants(doc, {"F3(1)", "7"});
    AppendItem(doc, panel, KindExplicit, "F1(x)");
    AppendItem(doc, panel, KindExplicit, "F2(x)");
    AppendItem(doc, panel, KindExplicit, "F3(x)");
    AppendItem(doc, panel, KindExplicit, "Q1*x");
    AppendItem(doc, panel, KindExplicit, "F4(x)+Q2");
    DeleteFunction(doc, panel, 1);
    EXPECT_EQ(Functions(doc), (Texts{"cos(x)"}));
    EXPECT_EQ(Constants(doc), (Texts{"7"}));
    EXPECT_EQ(ItemTexts(doc), (Texts{"F1(x)+Q1"}));
    EXPECT_TRUE(ColoursConsistent(doc, panel));
}

TEST_F(DefinitionsTest, DeletingF2OfFourRenumbersDefinitionsToo)
{
    SetFunctions(doc, {"x", "x^2", "F1(x)*3", "F3(x)+F1(x)"});
    SetConstants(doc, {"F4(1)"});
    AppendItem(doc, panel, KindExplicit, "F4(x)");
    AppendItem(doc, panel, KindSegment, "F3(1)", "Q1", "F1(0)", "F4(2)");
    DeleteFunction(doc, panel, 2);
    EXPECT_EQ(Functions(doc), (Texts{"x", "F1(x)*3", "F2(x)+F1(x)"}));
    EXPECT_EQ(Constants(doc), (Texts{"F3(1)"}));
    EXPECT_EQ(ItemTexts(doc), (Texts{"F3(x)", "F2(1)"}));
    EXPECT_EQ(doc.ItemList[2].text[4], "F3(2)");
}

TEST_F(DefinitionsTest, DeletingAFunctionRemovesTheConstantsUsingIt)
{
    SetFunctions(doc, {"x+1", "x*2"});
    SetConstants(doc, {"F2(1)", "3", "Q2+F1(0)"});
    AppendItem(doc, panel, KindExplicit, "Q1*x");
    AppendItem(doc, panel, KindExplicit, "Q3+x");
    AppendItem(doc, panel, KindExplicit, "Q2");
    DeleteFunction(doc, panel, 2);
    EXPECT_EQ(Functions(doc), (Texts{"x+1"}));
    EXPECT_EQ(Constants(doc), (Texts{"3", "Q1+F1(0)"}));
    EXPECT_EQ(ItemTexts(doc), (Texts{"Q2+x", "Q1"}));
}

// Whatever is deleted, every remaining text still parses and keeps its value.
TEST_F(DefinitionsTest, EveryDeletionKeepsTheMeaningOfWhatRemains)
{
    const Texts functions = {"x^2", "F1(x)+Q1", "sin(x)", "F3(x)*F1(x)", "x-Q2", "F5(x)/2"};
    const Texts constants = {"3", "F3(1)", "Q1*2", "F4(2)+Q3", "5", "Q5-1"};
    const Texts items = {"F1(x)", "F2(x)", "F4(x)+Q4", "Q6*x", "F6(x)+Q3", "x+Q5", "F3(x)", "1"};
    for (char prefix : {'F', 'Q'}) {
        for (int p = 1; p <= 6; ++p) {
            Document d;
            ColourPanelState pan;
            SetFunctions(d, functions);
            SetConstants(d, constants);
            for (const std::string &t : items)
                AppendItem(d, pan, KindExplicit, t);
            std::map<uint32_t, long double> before; // by colour, which identifies an item
            for (int i = 1; i <= d.ItemCount; ++i) {
                bool valid = false;
                before[d.ItemList[i].colour] = ValueWith(d, d.ItemList[i].text[1], 0.7L, &valid);
                ASSERT_TRUE(valid) << d.ItemList[i].text[1];
            }
            if (prefix == 'F')
                DeleteFunction(d, pan, p);
            else
                DeleteConstant(d, pan, p);
            EXPECT_LT(d.DefFuncCount + d.DefConstCount, 12);
            for (int i = 1; i <= d.ItemCount; ++i) {
                bool valid = false;
                long double v = ValueWith(d, d.ItemList[i].text[1], 0.7L, &valid);
                EXPECT_TRUE(valid) << prefix << p << ": " << d.ItemList[i].text[1];
                EXPECT_NEAR(double(v), double(before[d.ItemList[i].colour]), 1e-12) << prefix << p;
            }
            for (int n = 1; n <= d.DefFuncCount; ++n) {
                bool valid = false;
                ValueWith(d, d.DefFuncText[n], 0.3L, &valid);
                EXPECT_TRUE(valid) << prefix << p << " F" << n << "=" << d.DefFuncText[n];
            }
            for (int n = 1; n <= d.DefConstCount; ++n) {
                bool valid = false;
                ValueWith(d, d.DefConstText[n], 0, &valid);
                EXPECT_TRUE(valid) << prefix << p << " Q" << n << "=" << d.DefConstText[n];
            }
            EXPECT_TRUE(ColoursConsistent(d, pan)) << prefix << p;
        }
    }
}

TEST_F(DefinitionsTest, DeleteAllFunctionsLeavesNoFunctionReference)
{
    SetFunctions(doc, {"x^2", "F1(x)+1"});
    SetConstants(doc, {"2", "F2(3)", "Q1+1"});
    AppendItem(doc, panel, KindExplicit, "F1(x)");
    AppendItem(doc, panel, KindDerivative, "2*x");
    AppendItem(doc, panel, KindExplicit, "Q2*x");
    AppendItem(doc, panel, KindExplicit, "Q3*x");
    DeleteAllFunctions(doc, panel);
    EXPECT_EQ(doc.DefFuncCount, 0);
    EXPECT_EQ(Constants(doc), (Texts{"2", "Q1+1"}));
    EXPECT_EQ(ItemTexts(doc), (Texts{"Q2*x"}));
    EXPECT_FALSE(MentionsPrefix(doc, 'F'));
    EXPECT_TRUE(ColoursConsistent(doc, panel));

    DeleteAllConstants(doc, panel);
    EXPECT_EQ(doc.DefConstCount, 0);
    EXPECT_EQ(doc.ItemCount, 0);
    EXPECT_TRUE(ColoursConsistent(doc, panel));
}

TEST(DefinitionMenus, FollowTheCounts)
{
    Document doc;
    DefinitionMenus m = DefinitionMenuVisibility(doc);
    EXPECT_FALSE(m.deffuncA || m.UFcorrect || m.DefconstA || m.UCcorrect);
    SetFunctions(doc, {"x"});
    SetConstants(doc, {"1", "2", "3", "4", "5", "6"});
    m = DefinitionMenuVisibility(doc);
    EXPECT_TRUE(m.deffuncA && m.UFcorrect);
    EXPECT_FALSE(m.DefconstA); // no seventh constant
    EXPECT_TRUE(m.UCcorrect);
}

TEST(DefinitionKeys, CorrectionOffersNoKeyThatCouldCloseACycle)
{
    Document doc;
    SetFunctions(doc, {"x", "Q1*x", "x+1"});
    SetConstants(doc, {"2", "F1(1)", "3"});
    KeyboardRequest f3 = CorrectFunctionRequest(doc, 3);
    EXPECT_EQ(f3.caption, QStringLiteral("定義関数 F3の訂正"));
    EXPECT_EQ(f3.initialText, "x+1");
    EXPECT_EQ(f3.funcKeys, 2);
    EXPECT_EQ(f3.constKeys, 3);
    EXPECT_FALSE(f3.constKeyOff[0]);
    EXPECT_TRUE(f3.constKeyOff[1]); // Q2 uses a function
    EXPECT_TRUE(f3.keysXYZ && f3.keyX);

    KeyboardRequest q2 = CorrectConstantRequest(doc, 2);
    EXPECT_EQ(q2.caption, QStringLiteral("定義定数 Q2の訂正"));
    EXPECT_EQ(q2.constKeys, 1);
    EXPECT_EQ(q2.funcKeys, 3);
    EXPECT_TRUE(q2.funcKeyOff[1]); // F2 uses a constant
    EXPECT_FALSE(q2.funcKeyOff[0] || q2.funcKeyOff[2]);
    EXPECT_FALSE(q2.keysXYZ && q2.keyX);
}

TEST(DefinitionList, HeadingsAndOneLinePerDefinition)
{
    Document doc;
    EXPECT_TRUE(DefinitionListLines(doc).empty());
    SetFunctions(doc, {"x^2", "sin(x)"});
    SetConstants(doc, {kPi});
    auto lines = DefinitionListLines(doc);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(lines[0].heading);
    EXPECT_EQ(lines[0].label, QStringLiteral("定義関数"));
    EXPECT_EQ(lines[2].label, QStringLiteral("F2(x)="));
    EXPECT_EQ(lines[2].formula, "sin(x)");
    EXPECT_EQ(lines[3].label, QStringLiteral("定義定数"));
    EXPECT_EQ(lines[4].label, QStringLiteral("Q1 ="));
    EXPECT_EQ(lines[4].formula, kPi);
}

TEST_F(DefinitionsTest, AddFunctionAsksWithItsCaptionAndKeys)
{
    SetConstants(doc, {"2"});
    answers.keyboard = {"x^2+Q1"};
    EXPECT_TRUE(AddFunction(ctx));
    ASSERT_EQ(answers.requests.size(), 1u);
    const KeyboardRequest &r = answers.requests[0];
    EXPECT_EQ(r.caption, QStringLiteral("関数　F1の入力"));
    EXPECT_EQ(r.layout, 1);
    EXPECT_TRUE(r.keysXYZ && r.keyX && r.keyY && r.keyI && r.keysSgnGaus);
    EXPECT_FALSE(r.keyZ || r.keyT);
    EXPECT_EQ(r.funcKeys, 0);
    EXPECT_EQ(r.constKeys, 1);
    EXPECT_EQ(Functions(doc), (Texts{"x^2+Q1"}));
    EXPECT_EQ(listRedraws, 1);

    answers.keyboard = {"F1(x)*2"};
    EXPECT_TRUE(AddFunction(ctx));
    EXPECT_EQ(answers.requests[1].caption, QStringLiteral("関数　F2の入力"));
    EXPECT_EQ(answers.requests[1].funcKeys, 1);
    EXPECT_EQ(doc.DefFuncCount, 2);

    EXPECT_FALSE(AddFunction(ctx)); // empty answer
    EXPECT_EQ(doc.DefFuncCount, 2);
}

TEST_F(DefinitionsTest, AddConstantHasNoVariableKeys)
{
    SetFunctions(doc, {"x+1"});
    answers.keyboard = {"F1(2)"};
    EXPECT_TRUE(AddConstant(ctx));
    const KeyboardRequest &r = answers.requests[0];
    EXPECT_EQ(r.caption, QStringLiteral("定数　Q1の入力"));
    EXPECT_FALSE(r.keysXYZ || r.keyT || r.keyI);
    EXPECT_TRUE(r.keysSgnGaus);
    EXPECT_EQ(r.funcKeys, 1);
    EXPECT_EQ(Constants(doc), (Texts{"F1(2)"}));
}

TEST_F(DefinitionsTest, NoSeventhDefinition)
{
    SetFunctions(doc, {"x", "x", "x", "x", "x", "x"});
    answers.keyboard = {"x"};
    EXPECT_FALSE(AddFunction(ctx));
    EXPECT_TRUE(answers.requests.empty());
    EXPECT_EQ(doc.DefFuncCount, 6);
}

TEST_F(DefinitionsTest, ADefinitionReferringToItselfIsRefused)
{
    // The keyboard's own check runs before the text is stored, so it cannot
    // see the cycle; storing it would leave F1 unusable.
    answers.keyboard = {"F1(x)+1", "x+1"};
    EXPECT_TRUE(AddFunction(ctx));
    ASSERT_EQ(answers.requests.size(), 2u);
    EXPECT_EQ(answers.requests[1].message, QStringLiteral("式が間違っています2"));
    EXPECT_EQ(answers.requests[1].initialText, "F1(x)+1");
    EXPECT_EQ(Functions(doc), (Texts{"x+1"}));
}

TEST_F(DefinitionsTest, NewWithoutDefinitionsAsksNoConfirmation)
{
    answers.keyboard = {"x^3"};
    EXPECT_TRUE(NewFunctions(ctx));
    EXPECT_TRUE(answers.confirmKinds.empty());
    EXPECT_EQ(Functions(doc), (Texts{"x^3"}));
}

TEST_F(DefinitionsTest, NewFunctionsCancelledChangesNothing)
{
    SetFunctions(doc, {"x^2"});
    AppendItem(doc, panel, KindExplicit, "F1(x)");
    answers.confirms = {false};
    EXPECT_FALSE(NewFunctions(ctx));
    EXPECT_EQ(answers.confirmKinds, (std::vector<int>{WarnFunctions}));
    EXPECT_TRUE(answers.requests.empty());
    EXPECT_EQ(doc.DefFuncCount, 1);
    EXPECT_EQ(doc.ItemCount, 1);
}

TEST_F(DefinitionsTest, NewFunctionsReplacesThemAndTheirItems)
{
    SetFunctions(doc, {"x^2", "x"});
    SetConstants(doc, {"F2(1)", "4"});
    AppendItem(doc, panel, KindExplicit, "F1(x)");
    AppendItem(doc, panel, KindExplicit, "Q2*x");
    answers.confirms = {true};
    answers.keyboard = {"cos(x)"};
    EXPECT_TRUE(NewFunctions(ctx));
    EXPECT_EQ(answers.requests[0].caption, QStringLiteral("関数　F1の入力"));
    EXPECT_EQ(answers.requests[0].constKeys, 1); // Q1 (was Q2) only
    EXPECT_EQ(Functions(doc), (Texts{"cos(x)"}));
    EXPECT_EQ(Constants(doc), (Texts{"4"}));
    EXPECT_EQ(ItemTexts(doc), (Texts{"Q1*x"}));
    EXPECT_TRUE(ColoursConsistent(doc, panel));

    // Confirmed but the new text cancelled: the old ones are gone anyway.
    answers.confirms = {true};
    EXPECT_TRUE(NewConstants(ctx));
    EXPECT_EQ(answers.confirmKinds.back(), WarnConstants);
    EXPECT_EQ(doc.DefConstCount, 0);
    EXPECT_EQ(doc.ItemCount, 0);
}

TEST_F(DefinitionsTest, EraseAllAsksAndLeavesOnlyIndependentItems)
{
    SetFunctions(doc, {"x^2"});
    SetConstants(doc, {"2"});
    AppendItem(doc, panel, KindExplicit, "F1(x)");
    AppendItem(doc, panel, KindExplicit, "x+1");
    answers.confirms = {false, true};
    EXPECT_FALSE(EraseAllDefinitions(ctx));
    EXPECT_EQ(doc.DefFuncCount, 1);
    EXPECT_TRUE(EraseAllDefinitions(ctx));
    EXPECT_EQ(answers.confirmKinds, (std::vector<int>{WarnAllDefinitions, WarnAllDefinitions}));
    EXPECT_EQ(doc.DefFuncCount + doc.DefConstCount, 0);
    EXPECT_EQ(ItemTexts(doc), (Texts{"x+1"}));
    DefinitionMenus m = DefinitionMenuVisibility(doc);
    EXPECT_FALSE(m.deffuncA || m.UFcorrect || m.DefconstA || m.UCcorrect);
    EXPECT_TRUE(DefinitionListLines(doc).empty());
}

TEST_F(DefinitionsTest, MenuCommandsRedrawTheGraphOnlyAfterADeletion)
{
    WindowLinks links;
    Tcorrectform correctform(ctx);
    int redraws = 0;
    LinkDefinitionWindows(links, correctform, ctx, [&redraws] { ++redraws; });
    ASSERT_TRUE(links.definitionCommand && links.openCorrection);

    answers.keyboard = {"x^2"};
    links.definitionCommand(DefinitionCommand::AddFunction);
    EXPECT_EQ(Functions(doc), (Texts{"x^2"}));
    EXPECT_EQ(redraws, 0);

    AppendItem(doc, panel, KindExplicit, "F1(x)");
    answers.confirms = {true};
    answers.keyboard = {"x"};
    links.definitionCommand(DefinitionCommand::NewFunctions);
    EXPECT_EQ(doc.ItemCount, 0);
    EXPECT_EQ(redraws, 1);

    answers.confirms = {false};
    links.definitionCommand(DefinitionCommand::EraseAll);
    EXPECT_EQ(redraws, 1);
    answers.confirms = {true};
    links.definitionCommand(DefinitionCommand::EraseAll);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(doc.DefFuncCount, 0);
}
