// The formula keyboard's edit line and closing check, without the window.
#include "control/keyboard_logic.h"
#include "engine/parse.h"
#include <gtest/gtest.h>

namespace
{
const std::string kPi = "\x83\xCE";
const std::string kTheta = "\x83\xC6";

KeyboardLine Typed(std::initializer_list<const char *> keys)
{
    KeyboardLine line;
    for (const char *name : keys) {
        const KeyDef *key = FindKey(name);
        EXPECT_NE(key, nullptr) << name;
        if (key)
            line.Insert(key->inserts, key->advance);
    }
    return line;
}
} // namespace

// Insertion through every key is tested on the keyboard window; here the
// byte and character positions around the two-byte Greek letters.
TEST(KeyboardInsertion, GreekKeysAreOneCharacterOfTwoBytes)
{
    KeyboardLine line = Typed({"n2", "pai", "sita"});
    EXPECT_EQ(line.Text(), "2" + kPi + kTheta);
    EXPECT_EQ(line.Length(), 3);
    EXPECT_EQ(line.Caret(), 3);
    EXPECT_EQ(line.CaretByte(), 5u);
    line.SetCaret(1);
    line.Insert("sqrt()", 5);
    EXPECT_EQ(line.Text(), "2sqrt()" + kPi + kTheta);
    EXPECT_EQ(line.Caret(), 6);
}

TEST(KeyboardCaret, MovesOverPiAndThetaAsOneCharacterAndStopsAtTheEnds)
{
    KeyboardLine line;
    line.SetText(kPi + "+" + kTheta);
    line.CaretBack();
    EXPECT_EQ(line.CaretByte(), 3u);
    line.CaretBack();
    line.CaretBack();
    EXPECT_EQ(line.CaretByte(), 0u);
    line.CaretBack();
    EXPECT_EQ(line.CaretByte(), 0u);
    line.CaretForward();
    EXPECT_EQ(line.CaretByte(), 2u);
    line.SetCaret(99);
    EXPECT_EQ(line.CaretByte(), 5u);
    line.CaretForward();
    EXPECT_EQ(line.CaretByte(), 5u);
}

TEST(KeyboardDeletion, RemovesWholeTwoByteCharactersAndNothingAtTheEnds)
{
    KeyboardLine line = Typed({"n2", "pai"});
    line.DeleteBefore();
    EXPECT_EQ(line.Text(), "2");
    EXPECT_EQ(line.Caret(), 1);

    line.SetText(kTheta + "x");
    line.SetCaret(0);
    line.DeleteAfter();
    EXPECT_EQ(line.Text(), "x");
    EXPECT_EQ(line.Caret(), 0);

    // A pre-filled text may hold other Shift-JIS characters; "\x83\x5C" ends
    // in the byte of a backslash and must still go as one character.
    line.SetText("x\x83\x5C");
    line.DeleteBefore();
    EXPECT_EQ(line.Text(), "x");

    line.SetText("ab");
    line.DeleteAfter();
    line.SetCaret(0);
    line.DeleteBefore();
    EXPECT_EQ(line.Text(), "ab");
    line.Clear();
    EXPECT_EQ(line.Text(), "");
    EXPECT_EQ(line.Caret(), 0);
}

TEST(KeyboardPlacement, BelowMainWindowTopByLayout)
{
    EXPECT_EQ(KeyboardPosition({100, 50}, 1, 768, 332), QPoint(104, 310));
    EXPECT_EQ(KeyboardPosition({100, 50}, 0, 768, 332), QPoint(104, 130));
    EXPECT_EQ(KeyboardPosition({100, 50}, 2, 768, 220), QPoint(104, 130));
    // On a low screen the bottom edge goes to 400.
    EXPECT_EQ(KeyboardPosition({0, 0}, 1, 400, 332), QPoint(4, 68));
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
    };
    for (const auto &[text, check] : cases)
        EXPECT_EQ(CheckClosingText(text), check) << text;
    EXPECT_EQ(ClosingMessage(ClosingCheck::Empty), QString()); // the failure messages: on the window
}
