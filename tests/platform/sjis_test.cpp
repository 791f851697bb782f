#include "platform/sjis.h"

#include <gtest/gtest.h>

namespace gq
{

namespace
{

TEST(Sjis, PiThetaAndAsciiConvertBothWays)
{
    const std::string formula = "2\x83\xCE*sin(\x83\xC6)+a";
    EXPECT_EQ(sjisToQString(formula), QString::fromUtf8("2π*sin(θ)+a"));
    EXPECT_EQ(qStringToSjis(sjisToQString(formula)), formula);
    std::string ascii;
    for (int c = 1; c < 0x80; ++c)
        ascii.push_back(static_cast<char>(c));
    EXPECT_EQ(sjisToQString(ascii).size(), 0x7F);
    EXPECT_EQ(qStringToSjis(sjisToQString(ascii)), ascii);
}

TEST(Sjis, OtherBytesNeverBecomeFormulaCharacters)
{
    // Another Greek letter (α = 0x83 0xBF), a katakana pair, a stray byte and
    // a lead byte at the very end: one replacement per character.
    EXPECT_EQ(sjisToQString("x\x83\xBF\x82\xA0\x80y\x83"), QString::fromUtf8("x\uFFFD\uFFFD\uFFFDy\uFFFD"));
    EXPECT_EQ(sjisToQString("\xB1"), QString::fromUtf8("ｱ")); // half-width katakana: one byte each
}

TEST(Sjis, UnknownCharactersBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(qStringToSjis(QString::fromUtf8("x²+α")), "x?+?");
    EXPECT_EQ(qStringToSjis(QString::fromUtf8("a😀b")), "a?b");
    EXPECT_EQ(qStringToSjis(QString::fromUtf8("Π")), "?"); // capital pi is not π
}

} // namespace

} // namespace gq
