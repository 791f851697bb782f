// The range line and the parameter line under the graph.
#include "document/graph_controller.h"
#include "engine/parse.h"
#include "scripted_questions.h"
#include <gtest/gtest.h>
#include <numbers>

namespace
{
float &Param(char letter)
{
    return VariableTable.param[ParamIndex(LetterCode(letter))];
}

class ParamLine : public ::testing::Test
{
  protected:
    ParamLine() : controller(doc, surface)
    {
        SetDefinitionSource(&doc);
        controller.SetQuestions(&ask);
        controller.ResetDocument();
    }
    ~ParamLine() override { SetDefinitionSource(nullptr); }
    void Add(uint8_t kind, std::initializer_list<const char *> texts)
    {
        Tfuncprop &item = doc.ItemList[++doc.ItemCount];
        ResetItem(item);
        item.kind = kind;
        int k = 1;
        for (const char *t : texts)
            item.text[k++] = t;
    }
    Document doc;
    RecordingSurface surface;
    ScriptedQuestions ask;
    GraphController controller;
};
} // namespace

TEST(FixedFormat, ThreeDecimalsRoundedWithOneIntegerDigit)
{
    EXPECT_EQ(FormatFixed3(-5), QStringLiteral("-5.000"));
    EXPECT_EQ(FormatFixed3(0.25L), QStringLiteral("0.250"));
    EXPECT_EQ(FormatFixed3(1.23456L), QStringLiteral("1.235"));
    EXPECT_EQ(FormatFixed3(-0.0001L), QStringLiteral("0.000"));
    EXPECT_EQ(FormatFixed3(10000), QStringLiteral("10000.000"));
}

TEST(RangeLine, DefaultFrame)
{
    EXPECT_EQ(RangeStatusText(CoordFrameRecord{}),
              QStringLiteral("x座標:  -5.000 ≦ｘ≦ 5.000        y座標:  -5.000≦ y ≦5.000"));
}

TEST(RangeLine, FollowsTheFrameWhenAsked)
{
    Document doc;
    RecordingSurface surface;
    GraphController controller(doc, surface);
    controller.ResetDocument();
    EXPECT_EQ(controller.RangeLine(), RangeStatusText(CoordFrameRecord{}));
    doc.CoordFrame = {-1.5L, 2, 0, 0.125L};
    controller.UpdateRangeStatus();
    EXPECT_EQ(controller.RangeLine(),
              QStringLiteral("x座標:  -1.500 ≦ｘ≦ 2.000        y座標:  0.000≦ y ≦0.125"));
}

TEST_F(ParamLine, DefaultsAreZeroExceptJAndN)
{
    EXPECT_EQ(Param('a'), 0.0f);
    EXPECT_EQ(Param('s'), 0.0f);
    EXPECT_EQ(Param('j'), 1.0f);
    EXPECT_EQ(Param('n'), 1.0f);
}

TEST_F(ParamLine, ListsUsedParametersInFixedOrderWithThetaAsMultipleOfPi)
{
    Param('a') = 1.5f;
    Param('n') = 3;
    Param('s') = static_cast<float>(std::numbers::pi / 2);
    Add(KindExplicit, {"n*x+\x83\xC6"});
    Add(KindImplicit, {"a*x-y"});
    controller.UpdateParamStatus();
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("a = 1.500 n = 3.000 θ= 0.500π "));
    EXPECT_TRUE(controller.Menus().kp2Enabled);
    EXPECT_EQ(doc.ItemList[1].usesParam, 1);
    EXPECT_EQ(doc.ItemList[2].usesParam, 1);
}

TEST_F(ParamLine, ItemsWithoutParametersDisableParameterDisplay)
{
    Add(KindExplicit, {"x^2"});
    doc.ItemList[1].usesParam = 1;
    controller.UpdateParamStatus();
    EXPECT_TRUE(controller.ParamLine().isEmpty());
    EXPECT_FALSE(controller.Menus().kp2Enabled);
    EXPECT_EQ(doc.ItemList[1].usesParam, 0);
}

TEST_F(ParamLine, OtherLettersCountButAreNotListed)
{
    Add(KindExplicit, {"k*x"});
    controller.UpdateParamStatus();
    EXPECT_TRUE(controller.ParamLine().isEmpty());
    EXPECT_TRUE(controller.Menus().kp2Enabled);
    EXPECT_TRUE(controller.UsedParams()[LetterCode('k') - 10000]);
}

TEST_F(ParamLine, WhichTextsAreSearchedDependsOnTheKind)
{
    // Explicit: only text[1]; a stray text[2] does not count.
    Add(KindExplicit, {"x", "b"});
    // Parametric: the bounds count.
    Add(KindParametric, {"t", "t", "0", "c"});
    // Polar: text[2] is a copy and not searched on its own.
    Add(KindPolar, {"t", "d", "0", "1"});
    // Segment: the last coordinate counts.
    Add(KindSegment, {"0", "0", "1", "f"});
    controller.UpdateParamStatus();
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("c = 0.000 f = 0.000 "));
    EXPECT_EQ(doc.ItemList[1].usesParam, 0);
    EXPECT_EQ(doc.ItemList[2].usesParam, 1);
    EXPECT_EQ(doc.ItemList[3].usesParam, 0);
    EXPECT_EQ(doc.ItemList[4].usesParam, 1);
}

TEST_F(ParamLine, EmptyListClearsTheLine)
{
    Add(KindExplicit, {"a*x"});
    controller.UpdateParamStatus();
    ASSERT_FALSE(controller.ParamLine().isEmpty());
    doc.ItemCount = 0;
    controller.UpdateParamStatus();
    EXPECT_TRUE(controller.ParamLine().isEmpty());
    EXPECT_FALSE(controller.Menus().kp2Enabled);
}

TEST_F(ParamLine, RegistrationUpdatesTheLine)
{
    ask.keyboardAnswers = {"a*x^2+b"};
    controller.NewRegistration(KindExplicit);
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("a = 0.000 b = 0.000 "));
}
