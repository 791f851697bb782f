// The formula keyboard's edit line and closing check, without the window.
#include "control/keyboard_logic.h"
#include "engine/parse.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
const std::string kPi = "\x83\xCE";
const std::string kTheta = "\x83\xC6";

KeyboardLine typed(std::initializer_list<const char *> keys)
{
    KeyboardLine line;
    for (const char *name : keys) {
        const KeyDef *key = findKey(name);
        EXPECT_NE(key, nullptr) << name;
        if (key)
            line.insert(key->inserts, key->advance);
    }
    return line;
}
} // namespace

// Insertion through every key is tested on the keyboard window; here the
// byte and character positions around the two-byte Greek letters.
TEST(KeyboardInsertion, GreekKeysAreOneCharacterOfTwoBytes)
{
    KeyboardLine line = typed({"n2", "pai", "sita"});
    EXPECT_EQ(line.Text(), "2" + kPi + kTheta);
    EXPECT_EQ(line.length(), 3);
    EXPECT_EQ(line.caret(), 3);
    EXPECT_EQ(line.caretByte(), 5u);
    line.setCaret(1);
    line.insert("sqrt()", 5);
    EXPECT_EQ(line.Text(), "2sqrt()" + kPi + kTheta);
    EXPECT_EQ(line.caret(), 6);
}

TEST(KeyboardCaret, MovesOverPiAndThetaAsOneCharacterAndStopsAtTheEnds)
{
    KeyboardLine line;
    line.setText(kPi + "+" + kTheta);
    line.caretBack();
    EXPECT_EQ(line.caretByte(), 3u);
    line.caretBack();
    line.caretBack();
    EXPECT_EQ(line.caretByte(), 0u);
    line.caretBack();
    EXPECT_EQ(line.caretByte(), 0u);
    line.caretForward();
    EXPECT_EQ(line.caretByte(), 2u);
    line.setCaret(99);
    EXPECT_EQ(line.caretByte(), 5u);
    line.caretForward();
    EXPECT_EQ(line.caretByte(), 5u);
}

TEST(KeyboardDeletion, RemovesWholeTwoByteCharactersAndNothingAtTheEnds)
{
    KeyboardLine line = typed({"n2", "pai"});
    line.deleteBefore();
    EXPECT_EQ(line.Text(), "2");
    EXPECT_EQ(line.caret(), 1);

    line.setText(kTheta + "x");
    line.setCaret(0);
    line.deleteAfter();
    EXPECT_EQ(line.Text(), "x");
    EXPECT_EQ(line.caret(), 0);

    // A pre-filled text may hold other Shift-JIS characters; "\x83\x5C" ends
    // in the byte of a backslash and must still go as one character.
    line.setText("x\x83\x5C");
    line.deleteBefore();
    EXPECT_EQ(line.Text(), "x");

    line.setText("ab");
    line.deleteAfter();
    line.setCaret(0);
    line.deleteBefore();
    EXPECT_EQ(line.Text(), "ab");
    line.clear();
    EXPECT_EQ(line.Text(), "");
    EXPECT_EQ(line.caret(), 0);
}

TEST(KeyboardPlacement, BelowMainWindowTopByLayout)
{
    EXPECT_EQ(keyboardPosition({100, 50}, 1, 768, 332), QPoint(104, 310));
    EXPECT_EQ(keyboardPosition({100, 50}, 0, 768, 332), QPoint(104, 130));
    EXPECT_EQ(keyboardPosition({100, 50}, 2, 768, 220), QPoint(104, 130));
    // On a low screen the bottom edge goes to 400.
    EXPECT_EQ(keyboardPosition({0, 0}, 1, 400, 332), QPoint(4, 68));
}

// These need the real parser (with the closing simplification for 1/0).
TEST(KeyboardClosingCheck, SortsTextsIntoEmptyAcceptedAndFailed)
{
    const std::pair<std::string, ClosingCheck> cases[] = {
        {"", ClosingCheck::Empty},
        {"sin(x)", ClosingCheck::Accepted},
        {"2" + kPi + "*" + kTheta, ClosingCheck::Accepted},
        {"x+", ClosingCheck::CheckFailed},
        {"(x", ClosingCheck::CheckFailed},
        {"1/0", ClosingCheck::BuildFailed}, // division by constant zero fails only the build
        {"x", ClosingCheck::Accepted},      // no stale failure from the text before
        // Parses, but preparing it would pass the formula budget.
        {"DDDDDD(x^x)", ClosingCheck::TooComplex},
        {"Sum(i=[1,10000],i*x)+Sum(i=[1,10000],i*x)+Sum(i=[1,10000],i*x)", ClosingCheck::TooComplex},
        {"Sum(i=[2^63-9,2^63-1],1)", ClosingCheck::TooComplex},
        {"D" + std::string(150, 'x') + "(DDDDDDDDD(x^x))", ClosingCheck::TooComplex},
        {"sin(x)", ClosingCheck::Accepted},
    };
    for (const auto &[text, check] : cases)
        EXPECT_EQ(checkClosingText(text), check) << text;
    EXPECT_EQ(closingMessage(ClosingCheck::Empty), QString()); // the failure messages: on the window
    EXPECT_EQ(closingMessage(ClosingCheck::CheckFailed), QStringLiteral("式が間違っています2"));
    EXPECT_EQ(closingMessage(ClosingCheck::BuildFailed), QStringLiteral("式が間違っています1"));
    EXPECT_EQ(closingMessage(ClosingCheck::TooComplex), QStringLiteral("式が複雑すぎます"));
}

} // namespace gq
