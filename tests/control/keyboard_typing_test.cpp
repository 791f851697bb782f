// What the physical keyboard may type into the formula keyboard's line.
#include "control/keyboard_typing.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
// Types each character of typed (UTF-8) in turn onto an empty line; returns
// the line, with refused characters left out.
std::string typed(const TypingRules &rules, const char *text)
{
    KeyboardLine line;
    for (char32_t c : QString::fromUtf8(text).toStdU32String())
        rules.type(line, c);
    return line.Text();
}

KeyboardRequest formula()
{
    return KeyboardRequest{};
}
} // namespace

TEST(KeyboardTyping, FormulasAreTypedCharacterByCharacter)
{
    const TypingRules rules(1, formula());
    EXPECT_EQ(typed(rules, "sin(2x)+1"), "sin(2x)+1");
    EXPECT_EQ(typed(rules, "x^2-3*x/4.5"), "x^2-3*x/4.5");
    EXPECT_EQ(typed(rules, "log2(x)+exp(-x)+arctn(x)+cosec(x)"), "log2(x)+exp(-x)+arctn(x)+cosec(x)");
    EXPECT_EQ(typed(rules, "Sum(i=[1,n],i^2)"), "Sum(i=[1,n],i^2)");
    EXPECT_EQ(typed(rules, "ax+bsin(x)"), "ax+bsin(x)") << "letters join into products";
    EXPECT_EQ(typed(rules, "3!"), "3!");
    EXPECT_EQ(typed(rules, "(d/dx)x^2"), "(d/dx)x^2");
}

TEST(KeyboardTyping, NothingIsTypedThatNoKeyInserts)
{
    const TypingRules rules(1, formula());
    // Spaces, comparison keys (never enabled), letters of no key word, and
    // words that only begin like a key's.
    EXPECT_EQ(typed(rules, " <>?&\"'"), "");
    EXPECT_EQ(typed(rules, "q"), "");
    EXPECT_EQ(typed(rules, "sn"), "s") << "s may start sin, but sn starts nothing";
    EXPECT_EQ(typed(rules, "si+"), "si") << "an unfinished word is finished before anything follows";
    EXPECT_EQ(typed(rules, "sum"), "s") << "the sum key writes Sum";
    EXPECT_EQ(typed(rules, "P"), "") << "P is how the parser spells π inside";
    EXPECT_EQ(typed(rules, "F1"), "1") << "F1 is off until a function is defined";
    EXPECT_EQ(typed(rules, "é"), "");
}

TEST(KeyboardTyping, DisabledKeysAreRefusedEvenInsideOtherWords)
{
    KeyboardRequest point; // the coordinates of a point: no x, y, z, t, i
    point.keysXYZ = false;
    point.keyT = point.keyI = false;
    const TypingRules rules(1, point);
    EXPECT_EQ(typed(rules, "x"), "");
    EXPECT_EQ(typed(rules, "(d/dx)"), "(d/d)") << "the derivative key's x is still key x";
    EXPECT_EQ(typed(rules, "2t+1"), "2t") << "t may begin tan, but nothing else can follow it";
    EXPECT_EQ(typed(rules, "exp(1)"), "exp(1)") << "the x of exp belongs to the word";
    EXPECT_EQ(typed(rules, "sqrt(2)"), "sqrt(2)");
    EXPECT_EQ(typed(rules, "expx"), "exp");

    KeyboardRequest implicit;
    implicit.keysSgnGaus = false;
    EXPECT_EQ(typed(TypingRules(1, implicit), "sgn(x)"), "s") << "g cannot follow s, nor ( an unfinished s";

    KeyboardRequest definitions;
    definitions.funcKeys = 2;
    definitions.constKeys = 1;
    definitions.funcKeyOff[1] = true;
    const TypingRules defined(1, definitions);
    EXPECT_EQ(typed(defined, "F1(x)+Q1"), "F1(x)+Q1");
    EXPECT_EQ(typed(defined, "F2"), "F");
    EXPECT_EQ(typed(defined, "Q2"), "Q");
}

TEST(KeyboardTyping, LayoutsLimitWhatCanBeTyped)
{
    // Number layout: parameters and the number pad, no variables or functions.
    const TypingRules number(0, formula());
    EXPECT_EQ(typed(number, "2a+θ"), "2a+\x83\xC6");
    EXPECT_EQ(typed(number, "x"), "");
    EXPECT_EQ(typed(number, "sin"), "n") << "only the parameter n";
    // Plain-number layout: the number pad only.
    const TypingRules plain(2, formula());
    EXPECT_EQ(typed(plain, "-1.5*(2+3)/4^2"), "-1.5*(2+3)/4^2");
    EXPECT_EQ(typed(plain, "a"), "");
    EXPECT_EQ(typed(plain, "π"), "\x83\xCE");
    EXPECT_EQ(typed(plain, "θ"), "");
    // Nothing at all before an opening.
    EXPECT_EQ(typed(TypingRules(), "1"), "");
}

TEST(KeyboardTyping, PiAndThetaAndFullWidthCharacters)
{
    const TypingRules rules(1, formula());
    EXPECT_EQ(typed(rules, "2pi"), "2\x83\xCE") << "p then i is π";
    EXPECT_EQ(typed(rules, "xpi"), "x\x83\xCE");
    EXPECT_EQ(typed(rules, "expi"), "expi") << "exp followed by the index i";
    EXPECT_EQ(typed(rules, "π+θ"), "\x83\xCE+\x83\xC6");
    EXPECT_EQ(typed(rules, "cos(2theta)"), "cos(2\x83\xC6)") << "the name theta is θ";
    EXPECT_EQ(typed(rules, "tan(theta)"), "tan(\x83\xC6)");
    EXPECT_EQ(typed(rules, "ｓｉｎ（２ｘ）＋１"), "sin(2x)+1") << "as an input method gives them";

    KeyboardRequest noT;
    noT.keyT = false;
    EXPECT_EQ(typed(TypingRules(2, noT), "pi"), "\x83\xCE") << "π is a number-pad key";
}

TEST(KeyboardTyping, TypingInsertsAtTheCaretAndLooksOnlyBeforeIt)
{
    const TypingRules rules(1, formula());
    KeyboardLine line;
    line.setText("sin()");
    line.setCaret(4);
    EXPECT_TRUE(rules.type(line, U'x'));
    EXPECT_EQ(line.Text(), "sin(x)");
    EXPECT_EQ(line.caret(), 5);
    line.setCaret(0);
    EXPECT_TRUE(rules.type(line, U'2'));
    EXPECT_EQ(line.Text(), "2sin(x)");
    line.setCaret(2); // between s and in
    EXPECT_FALSE(rules.type(line, U'z'));
    EXPECT_FALSE(rules.type(line, U'x')) << "sx is no word";
    EXPECT_EQ(line.Text(), "2sin(x)");

    // A word after π or θ starts afresh; the trail byte of π is not a letter.
    line.setText("\x83\xCE");
    EXPECT_TRUE(rules.type(line, U'x'));
    EXPECT_EQ(line.Text(), "\x83\xCEx");

    // A piece goes in whole or not at all.
    line.setText("");
    EXPECT_FALSE(rules.typeAll(line, U"2x<1"));
    EXPECT_EQ(line.Text(), "");
    EXPECT_TRUE(rules.typeAll(line, U"2x+1"));
    EXPECT_EQ(line.Text(), "2x+1");
}

} // namespace gq
