// The formula keyboard's edit line and closing check, without the window.
#include "document/keyboard_logic.h"
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

TEST(KeyboardInsertion, KeysInsertAtTheCaretAndLeaveItWhereTheNextInputGoes)
{
    struct Case {
        std::initializer_list<const char *> keys;
        std::string text;
        int caret;
        size_t caretByte;
    } cases[] = {
        {{"sin"}, "sin()", 4, 4},                          // inside the parentheses
        {{"sin", "x"}, "sin(x)", 5, 5},                    //
        {{"sum", "n1"}, "Sum(i=[1,],)", 8, 8},             // after the opening bracket
        {{"n2", "pai", "sita"}, "2" + kPi + kTheta, 3, 5}, // Greek letters are one character
    };
    for (const Case &c : cases) {
        KeyboardLine line = Typed(c.keys);
        EXPECT_EQ(line.Text(), c.text) << *c.keys.begin();
        EXPECT_EQ(line.Caret(), c.caret) << *c.keys.begin();
        EXPECT_EQ(line.CaretByte(), c.caretByte) << *c.keys.begin();
    }
    EXPECT_EQ(Typed({"pai", "sita"}).Length(), 2);

    KeyboardLine line;
    line.SetText("x+1");
    EXPECT_EQ(line.Caret(), 3);
    line.SetCaret(2);
    line.Insert("sqrt()", 5);
    EXPECT_EQ(line.Text(), "x+sqrt()1");
    EXPECT_EQ(line.Caret(), 7);
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

TEST(KeyboardDisplay, ShowsGreekLetters)
{
    EXPECT_EQ(FormulaDisplayText("2" + kPi + "*" + kTheta), QString::fromUtf8("2π*θ"));
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
    EXPECT_EQ(ClosingMessage(ClosingCheck::Empty), QString());
    EXPECT_EQ(ClosingMessage(ClosingCheck::CheckFailed), QString::fromUtf8("式が間違っています2"));
    EXPECT_EQ(ClosingMessage(ClosingCheck::BuildFailed), QString::fromUtf8("式が間違っています1"));
}
