// The range line and the parameter line under the graph.
#include "controller_test.h"
#include "engine/parse.h"
#include <gtest/gtest.h>
#include <numbers>

namespace gq
{

namespace
{
class StatusLines : public ControllerTest
{
  protected:
    // texts: text[1], text[2], ... separated by '|'.
    Item &add(uint8_t kind, const char *texts)
    {
        Item &item = doc.items[++doc.itemCount];
        resetItem(item);
        item.kind = kind;
        int k = 1;
        for (const QByteArray &t : QByteArray(texts).split('|'))
            item.text[k++] = t.toStdString();
        return item;
    }
};
} // namespace

TEST(FixedFormat, ThreeDecimalsRoundedWithOneIntegerDigit)
{
    EXPECT_EQ(formatFixed3(1.23456L), QStringLiteral("1.235"));
    EXPECT_EQ(formatFixed3(-0.0001L), QStringLiteral("0.000"));
    EXPECT_EQ(formatFixed3(10000), QStringLiteral("10000.000"));
}

TEST_F(StatusLines, RangeLineFollowsTheFrameWhenAsked)
{
    EXPECT_EQ(controller.rangeLine(),
              QStringLiteral("x座標:  -5.000 ≦ｘ≦ 5.000        y座標:  -5.000≦ y ≦5.000"));
    doc.frame = {-1.5L, 2, 0, 0.125L};
    controller.updateRangeStatus();
    EXPECT_EQ(controller.rangeLine(),
              QStringLiteral("x座標:  -1.500 ≦ｘ≦ 2.000        y座標:  0.000≦ y ≦0.125"));
}

TEST_F(StatusLines, ParamLineListsUsedParametersInFixedOrderWithThetaAsMultipleOfPi)
{
    doc.parameters['a'] = 1.5f;
    doc.parameters['n'] = 3;
    doc.parameters['s'] = static_cast<float>(std::numbers::pi / 2);
    add(KindExplicit, "n*x+\x83\xC6");
    add(KindImplicit, "a*x-y");
    controller.updateParamStatus();
    EXPECT_EQ(controller.paramLine(), QStringLiteral("a = 1.500 n = 3.000 θ= 0.500π "));
    EXPECT_TRUE(controller.menus().parameterDisplayEnabled);
    EXPECT_EQ(doc.items[1].usesParam, 1);
    EXPECT_EQ(doc.items[2].usesParam, 1);
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
        doc.itemCount = 0;
        Item &item = add(c.kind, c.texts);
        item.usesParam = 1; // a stale mark is cleared
        controller.updateParamStatus();
        EXPECT_EQ(controller.paramLine(), QString::fromUtf8(c.line)) << c.texts;
        EXPECT_EQ(controller.menus().parameterDisplayEnabled, c.used) << c.texts;
        EXPECT_EQ(item.usesParam, c.used ? 1 : 0) << c.texts;
    }

    // An empty list clears the line: it would describe items that are gone.
    doc.itemCount = 0;
    controller.updateParamStatus();
    EXPECT_TRUE(controller.paramLine().isEmpty());
    EXPECT_FALSE(controller.menus().parameterDisplayEnabled);
}

TEST_F(StatusLines, RegistrationUpdatesTheParamLineWithEveryParameterAtItsStartValue)
{
    ask.keyboardAnswers = {"a*x^2+b+c+d+f+j*n+\x83\xC6"};
    controller.newRegistration(KindExplicit);
    EXPECT_EQ(controller.paramLine(), QStringLiteral("a = 0.000 b = 0.000 c = 0.000 d = 0.000 f = 0.000 "
                                                     "j = 1.000 n = 1.000 θ= 0.000π "));
}

} // namespace gq
