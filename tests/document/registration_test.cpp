// Registration of items through the main window's commands, with scripted
// keyboard, colour and confirmation answers.
#include "document/graph_controller.h"
#include "engine/differentiate.h"
#include "scripted_questions.h"
#include <gtest/gtest.h>

namespace
{
class Registration : public ::testing::Test
{
  protected:
    Registration() : controller(doc, surface)
    {
        controller.SetQuestions(&ask);
        controller.ResetDocument();
    }
    void Answer(std::initializer_list<const char *> answers)
    {
        for (const char *a : answers)
            ask.keyboardAnswers.push_back(a);
    }
    Document doc;
    RecordingSurface surface;
    ScriptedQuestions ask;
    GraphController controller;
};

constexpr uint32_t kRed = 255, kBlue = 16711680;
} // namespace

TEST_F(Registration, ExplicitFunctionIsAppendedWithItsColourAndAsymptoteMarking)
{
    Answer({"x^2-2"});
    ask.colourAnswers.push_back(kRed);
    controller.NewRegistration(KindExplicit);

    ASSERT_EQ(doc.ItemCount, 1);
    const Tfuncprop &item = doc.ItemList[1];
    EXPECT_EQ(item.kind, KindExplicit);
    EXPECT_EQ(item.text[1], "x^2-2");
    EXPECT_EQ(item.asymptote, 1);
    EXPECT_EQ(item.colour, kRed);
    EXPECT_FALSE(controller.ColourPanel().IsOffered(kRed));

    ASSERT_EQ(ask.keyboardRequests.size(), 1u);
    const KeyboardRequest &r = ask.keyboardRequests[0];
    EXPECT_EQ(r.caption, QStringLiteral("陽関数 y=f(x) : f(x)の入力"));
    EXPECT_EQ(r.layout, 1);
    EXPECT_TRUE(r.initialText.empty());
    EXPECT_TRUE(r.keysXYZ);
    EXPECT_TRUE(r.keysSgnGaus);
    EXPECT_TRUE(ask.confirmKinds.empty()) << "an empty list needs no confirmation";
}

TEST_F(Registration, ImplicitFunctionHasNoSgnGausKeysAndNoAsymptoteMarking)
{
    Answer({"x^2+y^2-4"});
    controller.NewRegistration(KindImplicit);
    ASSERT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(doc.ItemList[1].kind, KindImplicit);
    EXPECT_EQ(doc.ItemList[1].asymptote, 0);
    EXPECT_EQ(ask.keyboardRequests[0].caption, QStringLiteral("陰関数 f(x,y)=0 : f(x,y)の入力"));
    EXPECT_TRUE(ask.keyboardRequests[0].keysXYZ);
    EXPECT_FALSE(ask.keyboardRequests[0].keysSgnGaus);
}

TEST_F(Registration, ParametricCurveAsksTwoFormulasAndTwoBounds)
{
    Answer({"cos(t)", "sin(t)", "-1", "2\x83\xCE"});
    controller.NewRegistration(KindParametric);
    ASSERT_EQ(doc.ItemCount, 1);
    const Tfuncprop &item = doc.ItemList[1];
    EXPECT_EQ(item.kind, KindParametric);
    EXPECT_EQ(item.text[1], "cos(t)");
    EXPECT_EQ(item.text[2], "sin(t)");
    EXPECT_EQ(item.text[3], "-1");
    EXPECT_EQ(item.text[4], "2\x83\xCE");

    ASSERT_EQ(ask.keyboardRequests.size(), 4u);
    const QString captions[] = {QStringLiteral("媒介変数の　ｘ＝ｆ(ｔ)　の入力"),
                                QStringLiteral("媒介変数の　y＝ｇ(ｔ)　の入力"),
                                QStringLiteral("媒介変数の下限"), QStringLiteral("変数ｔの上限")};
    const int layouts[] = {1, 1, 0, 0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(ask.keyboardRequests[k].caption, captions[k]);
        EXPECT_EQ(ask.keyboardRequests[k].layout, layouts[k]);
        EXPECT_FALSE(ask.keyboardRequests[k].keysXYZ);
        EXPECT_FALSE(ask.keyboardRequests[k].keysSgnGaus);
        EXPECT_TRUE(ask.keyboardRequests[k].keyT);
    }
}

TEST_F(Registration, EmptyLowerBoundOfTBecomesZero)
{
    Answer({"cos(t)", "sin(t)", "", "3"});
    controller.NewRegistration(KindParametric);
    ASSERT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(doc.ItemList[1].text[3], "0");
    EXPECT_EQ(doc.ItemList[1].text[4], "3");
}

TEST_F(Registration, EmptyUpperBoundOfTCancelsTheRegistration)
{
    Answer({"cos(t)", "sin(t)", "-1", ""});
    controller.NewRegistration(KindParametric);
    EXPECT_EQ(doc.ItemCount, 0);
    EXPECT_EQ(ask.colourPanelOpenings, 0);
    EXPECT_FALSE(controller.Menus().addition);
}

TEST_F(Registration, CancelledFormulaStopsTheSequenceAtOnce)
{
    Answer({""});
    controller.NewRegistration(KindParametric);
    EXPECT_EQ(doc.ItemCount, 0);
    EXPECT_EQ(ask.keyboardRequests.size(), 1u);

    Answer({"1", ""});
    controller.NewRegistration(KindSegment);
    EXPECT_EQ(doc.ItemCount, 0);
    EXPECT_EQ(ask.keyboardRequests.size(), 3u);
    EXPECT_EQ(ask.colourPanelOpenings, 0);
}

TEST_F(Registration, PolarCurveStoresItsFormulaTwice)
{
    Answer({"1+cos(t)", "", "2\x83\xCE"});
    controller.NewRegistration(KindPolar);
    ASSERT_EQ(doc.ItemCount, 1);
    const Tfuncprop &item = doc.ItemList[1];
    EXPECT_EQ(item.kind, KindPolar);
    EXPECT_EQ(item.text[1], "1+cos(t)");
    EXPECT_EQ(item.text[2], "1+cos(t)");
    EXPECT_EQ(item.text[3], "0");
    EXPECT_EQ(ask.keyboardRequests[0].caption, QStringLiteral("極方程式　ｒ＝ｆ(ｔ)　の入力"));
    EXPECT_EQ(ask.keyboardRequests[1].caption, QStringLiteral("変数ｔの下限"));
    EXPECT_EQ(ask.keyboardRequests[2].caption, QStringLiteral("変数ｔの上限"));
}

TEST_F(Registration, PointCoordinatesOfferNeitherTNorIAndLaterFormulasGetThemBack)
{
    Answer({"1", "a"});
    controller.NewRegistration(KindPoint);
    ASSERT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(doc.ItemList[1].kind, KindPoint);
    EXPECT_EQ(doc.ItemList[1].text[1], "1");
    EXPECT_EQ(doc.ItemList[1].text[2], "a");
    for (const KeyboardRequest &r : ask.keyboardRequests) {
        EXPECT_FALSE(r.keyT);
        EXPECT_FALSE(r.keyI);
        EXPECT_FALSE(r.keysXYZ);
    }
    EXPECT_EQ(ask.keyboardRequests[0].caption, QStringLiteral("点 P(p,q): のｘ座標の入力"));
    EXPECT_EQ(ask.keyboardRequests[1].caption, QStringLiteral("点 P(p,q): のy座標の入力"));

    Answer({"x"});
    controller.AddRegistration(KindExplicit);
    EXPECT_TRUE(ask.keyboardRequests.back().keyT);
    EXPECT_TRUE(ask.keyboardRequests.back().keyI);
}

TEST_F(Registration, SegmentAsksFourCoordinatesWithoutTOrI)
{
    Answer({"0", "0", "1", "2"});
    controller.NewRegistration(KindSegment);
    ASSERT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(doc.ItemList[1].kind, KindSegment);
    EXPECT_EQ(doc.ItemList[1].text[4], "2");
    ASSERT_EQ(ask.keyboardRequests.size(), 4u);
    EXPECT_EQ(ask.keyboardRequests[2].caption, QStringLiteral("点 Q(p,q): のｘ座標の入力"));
    EXPECT_EQ(ask.keyboardRequests[3].caption, QStringLiteral("点 Q(p,q): のy座標の入力"));
    for (const KeyboardRequest &r : ask.keyboardRequests) {
        EXPECT_FALSE(r.keyT);
        EXPECT_FALSE(r.keyI);
    }
}

TEST_F(Registration, SgnGausKeysOfPointsFollowThePreviousRegistration)
{
    Answer({"x*y-1", "1", "2"});
    controller.NewRegistration(KindImplicit);
    controller.AddRegistration(KindPoint);
    EXPECT_FALSE(ask.keyboardRequests[1].keysSgnGaus);
    Answer({"x", "1", "2"});
    controller.AddRegistration(KindExplicit);
    controller.AddRegistration(KindPoint);
    EXPECT_TRUE(ask.keyboardRequests[4].keysSgnGaus);
}

TEST_F(Registration, DefinedFunctionAndConstantKeysFollowTheCounts)
{
    doc.DefFuncCount = 2;
    doc.DefFuncText[1] = "x";
    doc.DefFuncText[2] = "x^2";
    doc.DefConstCount = 1;
    doc.DefConstText[1] = "3";
    Answer({"F1(x)"});
    controller.NewRegistration(KindExplicit);
    EXPECT_EQ(ask.keyboardRequests[0].funcKeys, 2);
    EXPECT_EQ(ask.keyboardRequests[0].constKeys, 1);
}

TEST_F(Registration, NewRegistrationOverItemsAsksFirstAndCancelChangesNothing)
{
    Answer({"x", "x^2"});
    controller.NewRegistration(KindExplicit);
    controller.AddRegistration(KindExplicit);
    ASSERT_EQ(doc.ItemCount, 2);
    const auto requestsBefore = ask.keyboardRequests.size();

    ask.confirmAnswers.push_back(false);
    controller.NewRegistration(KindImplicit);
    EXPECT_EQ(ask.confirmKinds, std::vector<int>{WarnAllItems});
    EXPECT_EQ(doc.ItemCount, 2);
    EXPECT_EQ(doc.ItemList[2].text[1], "x^2");
    EXPECT_EQ(ask.keyboardRequests.size(), requestsBefore);
    EXPECT_FALSE(controller.ColourPanel().IsOffered(doc.ItemList[1].colour));
}

TEST_F(Registration, ConfirmedNewRegistrationStartsAFreshListWithAllColours)
{
    Answer({"x", "x^2"});
    ask.colourAnswers = {kRed, kBlue};
    controller.NewRegistration(KindExplicit);
    controller.AddRegistration(KindExplicit);

    ask.confirmAnswers.push_back(true);
    ask.colourAnswers.push_back(kRed);
    Answer({"x^3"});
    controller.NewRegistration(KindExplicit);
    ASSERT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(doc.ItemList[1].text[1], "x^3");
    EXPECT_EQ(doc.ItemList[1].colour, kRed);
    EXPECT_TRUE(controller.ColourPanel().IsOffered(kBlue));
}

TEST_F(Registration, CancelledNewRegistrationAfterConfirmationLeavesAnEmptyList)
{
    Answer({"x"});
    controller.NewRegistration(KindExplicit);
    ask.confirmAnswers.push_back(true);
    controller.NewRegistration(KindExplicit); // keyboard closed empty
    EXPECT_EQ(doc.ItemCount, 0);
    EXPECT_FALSE(controller.Menus().addition);
    EXPECT_TRUE(controller.ParamLine().isEmpty());
}

TEST_F(Registration, AdditionalRegistrationsGetDistinctColours)
{
    for (int i = 0; i < 10; ++i)
        ask.keyboardAnswers.push_back("x+" + std::to_string(i));
    controller.NewRegistration(KindExplicit);
    for (int i = 1; i < 10; ++i)
        controller.AddRegistration(KindExplicit);
    ASSERT_EQ(doc.ItemCount, 10);
    for (int i = 1; i <= 10; ++i)
        for (int k = i + 1; k <= 10; ++k)
            EXPECT_NE(doc.ItemList[i].colour, doc.ItemList[k].colour);
    EXPECT_FALSE(controller.Menus().addition);

    // No eleventh item, whatever calls the command.
    Answer({"x"});
    controller.AddRegistration(KindExplicit);
    EXPECT_EQ(doc.ItemCount, 10);
}

TEST_F(Registration, DerivativeOfTheOnlyExplicitFunctionIsAddedAsItemTwo)
{
    Answer({"x^3"});
    controller.NewRegistration(KindExplicit);
    ASSERT_TRUE(controller.Menus().defa);

    const auto requestsBefore = ask.keyboardRequests.size();
    controller.AddRegistration(KindDerivative);
    ParseOK = true;
    const std::string expected = DerivativeText("x^3", OpX);
    ASSERT_FALSE(expected.empty()) << "the differentiator is not available";
    ASSERT_EQ(doc.ItemCount, 2);
    EXPECT_EQ(doc.ItemList[2].kind, KindDerivative);
    EXPECT_EQ(doc.ItemList[2].text[1], expected);
    EXPECT_EQ(doc.ItemList[2].asymptote, 0);
    EXPECT_NE(doc.ItemList[2].colour, doc.ItemList[1].colour);
    EXPECT_EQ(ask.keyboardRequests.size(), requestsBefore) << "no keyboard for the derivative";
    EXPECT_FALSE(controller.Menus().defa);
    EXPECT_FALSE(controller.Menus().dif);
}

TEST_F(Registration, DerivativeIsRefusedUnlessTheListIsOneExplicitFunction)
{
    Answer({"x^2+y^2-1"});
    controller.NewRegistration(KindImplicit);
    controller.AddRegistration(KindDerivative);
    EXPECT_EQ(doc.ItemCount, 1);
}

TEST_F(Registration, NewEntryIsShownWhileItsColourIsChosen)
{
    class Peeking : public ScriptedQuestions
    {
      public:
        RecordingSurface *surface = nullptr;
        QStringList seen;
        uint32_t ChooseColour(ColourPanelState &panel) override
        {
            seen = surface->Lines();
            return ScriptedQuestions::ChooseColour(panel);
        }
    } peeking;
    peeking.surface = &surface;
    controller.SetQuestions(&peeking);
    peeking.keyboardAnswers = {"x^2"};
    controller.NewRegistration(KindExplicit);
    EXPECT_TRUE(peeking.seen.contains(QStringLiteral("1,15:陽 関 数 y=f(x)")))
        << peeking.seen.join(u'\n').toStdString();
    EXPECT_TRUE(peeking.seen.contains(QStringLiteral("40,30:x^2")));
}

TEST_F(Registration, WithoutDialogsEveryCommandIsCancelled)
{
    controller.SetQuestions(nullptr);
    controller.NewRegistration(KindExplicit);
    EXPECT_EQ(doc.ItemCount, 0);
}

TEST_F(Registration, IntervalBoundsAreAskedAsPlainNumbers)
{
    Answer({"", "3"});
    long double lower = -1, upper = -1;
    controller.AskIntervalBounds(lower, upper);
    ASSERT_EQ(ask.keyboardRequests.size(), 2u);
    EXPECT_EQ(ask.keyboardRequests[0].caption, QStringLiteral("区間の下限"));
    EXPECT_EQ(ask.keyboardRequests[1].caption, QStringLiteral("区間の上限"));
    EXPECT_EQ(ask.keyboardRequests[0].layout, 2);
    EXPECT_EQ(lower, 0.0L);
    EXPECT_EQ(upper, 3.0L);
}
