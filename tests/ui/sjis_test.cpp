#include "ui/sjis.h"

#include <gtest/gtest.h>

namespace
{
TEST(Sjis, PiAndThetaConvertBothWays)
{
    const std::string formula = "2\x83\xCE*sin(\x83\xC6)+a";
    QString shown = SjisToQString(formula);
    EXPECT_EQ(shown, QString::fromUtf8("2π*sin(θ)+a"));
    EXPECT_EQ(QStringToSjis(shown), formula);
}

TEST(Sjis, AsciiIsUnchanged)
{
    std::string all;
    for (int c = 1; c < 0x80; ++c)
        all.push_back(static_cast<char>(c));
    EXPECT_EQ(QStringToSjis(SjisToQString(all)), all);
    EXPECT_EQ(SjisToQString(all).size(), 0x7F);
}

TEST(Sjis, OtherBytesNeverBecomeFormulaCharacters)
{
    // Another Greek letter (α = 0x83 0xBF), a katakana pair, a stray byte and
    // a lead byte at the very end: one replacement per character.
    QString shown = SjisToQString("x\x83\xBF\x82\xA0\x80y\x83");
    EXPECT_EQ(shown, QString::fromUtf8("x\uFFFD\uFFFD\uFFFDy\uFFFD"));
    // Half-width katakana are single bytes with their own characters.
    EXPECT_EQ(SjisToQString("\xB1"), QString::fromUtf8("ｱ"));
}

TEST(Sjis, UnknownCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(QStringToSjis(QString::fromUtf8("x²+α")), "x?+?");
    EXPECT_EQ(QStringToSjis(QString::fromUtf8("a😀b")), "a?b"); // one per character
    EXPECT_EQ(QStringToSjis(QString::fromUtf8("Π")), "?");     // capital pi is not π
}
} // namespace
