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

class StatusLines : public ::testing::Test
{
  protected:
    StatusLines() : controller(doc, surface)
    {
        SetDefinitionSource(&doc);
        controller.SetQuestions(&ask);
        controller.ResetDocument();
    }
    ~StatusLines() override { SetDefinitionSource(nullptr); }
    Tfuncprop &Add(uint8_t kind, std::initializer_list<const char *> texts)
    {
        Tfuncprop &item = doc.ItemList[++doc.ItemCount];
        ResetItem(item);
        item.kind = kind;
        int k = 1;
        for (const char *t : texts)
            item.text[k++] = t;
        return item;
    }
    Document doc;
    RecordingSurface surface;
    ScriptedQuestions ask;
    GraphController controller;
};
} // namespace

TEST(FixedFormat, ThreeDecimalsRoundedWithOneIntegerDigit)
{
    EXPECT_EQ(FormatFixed3(1.23456L), QStringLiteral("1.235"));
    EXPECT_EQ(FormatFixed3(-0.0001L), QStringLiteral("0.000"));
    EXPECT_EQ(FormatFixed3(10000), QStringLiteral("10000.000"));
}

TEST_F(StatusLines, RangeLineFollowsTheFrameWhenAsked)
{
    EXPECT_EQ(controller.RangeLine(),
              QStringLiteral("x座標:  -5.000 ≦ｘ≦ 5.000        y座標:  -5.000≦ y ≦5.000"));
    doc.CoordFrame = {-1.5L, 2, 0, 0.125L};
    controller.UpdateRangeStatus();
    EXPECT_EQ(controller.RangeLine(),
              QStringLiteral("x座標:  -1.500 ≦ｘ≦ 2.000        y座標:  0.000≦ y ≦0.125"));
}

TEST_F(StatusLines, ParamLineListsUsedParametersInFixedOrderWithThetaAsMultipleOfPi)
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

TEST_F(StatusLines, ParamLineEmptiesWhenNoItemUsesAParameter)
{
    Tfuncprop &item = Add(KindExplicit, {"a*x"});
    controller.UpdateParamStatus();
    ASSERT_EQ(item.usesParam, 1);
    item.text[1] = "x^2";
    controller.UpdateParamStatus();
    EXPECT_TRUE(controller.ParamLine().isEmpty());
    EXPECT_FALSE(controller.Menus().kp2Enabled);
    EXPECT_EQ(item.usesParam, 0);

    // Other letters count for the parameter display but are not listed.
    item.text[1] = "k*x";
    controller.UpdateParamStatus();
    EXPECT_TRUE(controller.ParamLine().isEmpty());
    EXPECT_TRUE(controller.Menus().kp2Enabled);
    EXPECT_TRUE(controller.UsedParams()[LetterCode('k') - 10000]);

    // An empty list clears the line.
    item.text[1] = "a*x";
    controller.UpdateParamStatus();
    doc.ItemCount = 0;
    controller.UpdateParamStatus();
    EXPECT_TRUE(controller.ParamLine().isEmpty());
    EXPECT_FALSE(controller.Menus().kp2Enabled);
}

TEST_F(StatusLines, WhichTextsAreSearchedDependsOnTheKind)
{
    Add(KindExplicit, {"x", "b"});             // only text[1]
    Add(KindParametric, {"t", "t", "0", "c"}); // the bounds count
    Add(KindPolar, {"t", "d", "0", "1"});      // text[2] is a copy, not searched on its own
    Add(KindSegment, {"0", "0", "1", "f"});    // the last coordinate counts
    controller.UpdateParamStatus();
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("c = 0.000 f = 0.000 "));
    EXPECT_EQ(doc.ItemList[1].usesParam, 0);
    EXPECT_EQ(doc.ItemList[2].usesParam, 1);
    EXPECT_EQ(doc.ItemList[3].usesParam, 0);
    EXPECT_EQ(doc.ItemList[4].usesParam, 1);
}

TEST_F(StatusLines, RegistrationUpdatesTheParamLineWithEveryParameterAtItsStartValue)
{
    ask.keyboardAnswers = {"a*x^2+b+c+d+f+j*n+\x83\xC6"};
    controller.NewRegistration(KindExplicit);
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("a = 0.000 b = 0.000 c = 0.000 d = 0.000 f = 0.000 "
                                                     "j = 1.000 n = 1.000 θ= 0.000π "));
}
