// The range line and the parameter line under the graph.
#include "control/graph_controller.h"
#include "control/scripted_questions.h"
#include "engine/parse.h"
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
    // texts: text[1], text[2], ... separated by '|'.
    Tfuncprop &Add(uint8_t kind, const char *texts)
    {
        Tfuncprop &item = doc.ItemList[++doc.ItemCount];
        ResetItem(item);
        item.kind = kind;
        int k = 1;
        for (const QByteArray &t : QByteArray(texts).split('|'))
            item.text[k++] = t.toStdString();
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
    Add(KindExplicit, "n*x+\x83\xC6");
    Add(KindImplicit, "a*x-y");
    controller.UpdateParamStatus();
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("a = 1.500 n = 3.000 θ= 0.500π "));
    EXPECT_TRUE(controller.Menus().kp2Enabled);
    EXPECT_EQ(doc.ItemList[1].usesParam, 1);
    EXPECT_EQ(doc.ItemList[2].usesParam, 1);
}

TEST_F(StatusLines, ParamLineListsTheParametersOfTheTextsSearchedForTheKind)
{
    struct Case {
        uint8_t kind;
        const char *texts, *line;
        bool used;
    } cases[] = {
        {KindImplicit, "a*x-y", "a = 0.000 ", true},
        {KindExplicit, "x^2", "", false},
        {KindExplicit, "k*x", "", true},                 // other letters count but are not listed
        {KindExplicit, "x|b", "", false},                // only text[1]
        {KindParametric, "t|t|0|c", "c = 0.000 ", true}, // the bounds count
        {KindPolar, "t|d|0|1", "", false},               // text[2] is a copy, not searched on its own
        {KindSegment, "0|0|1|f", "f = 0.000 ", true},    // the last coordinate counts
    };
    for (const Case &c : cases) {
        doc.ItemCount = 0;
        Tfuncprop &item = Add(c.kind, c.texts);
        item.usesParam = 1; // a stale mark is cleared
        controller.UpdateParamStatus();
        EXPECT_EQ(controller.ParamLine(), QString::fromUtf8(c.line)) << c.texts;
        EXPECT_EQ(controller.Menus().kp2Enabled, c.used) << c.texts;
        EXPECT_EQ(item.usesParam, c.used ? 1 : 0) << c.texts;
    }

    // An empty list clears the line: it would describe items that are gone.
    doc.ItemCount = 0;
    controller.UpdateParamStatus();
    EXPECT_TRUE(controller.ParamLine().isEmpty());
    EXPECT_FALSE(controller.Menus().kp2Enabled);
}

TEST_F(StatusLines, RegistrationUpdatesTheParamLineWithEveryParameterAtItsStartValue)
{
    ask.keyboardAnswers = {"a*x^2+b+c+d+f+j*n+\x83\xC6"};
    controller.NewRegistration(KindExplicit);
    EXPECT_EQ(controller.ParamLine(), QStringLiteral("a = 0.000 b = 0.000 c = 0.000 d = 0.000 f = 0.000 "
                                                     "j = 1.000 n = 1.000 θ= 0.000π "));
}
