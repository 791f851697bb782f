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

TEST(KeyboardInsertion, FunctionKeyLeavesCaretInsideParentheses)
{
    KeyboardLine line = Typed({"sin"});
    EXPECT_EQ(line.Text(), "sin()");
    EXPECT_EQ(line.Caret(), 4);
    line = Typed({"sin", "x"});
    EXPECT_EQ(line.Text(), "sin(x)");
    EXPECT_EQ(line.Caret(), 5);
}

TEST(KeyboardInsertion, SumKeyLeavesCaretAfterOpeningBracket)
{
    KeyboardLine line = Typed({"sum", "n1"});
    EXPECT_EQ(line.Text(), "Sum(i=[1,],)");
    EXPECT_EQ(line.Caret(), 8);
}

TEST(KeyboardInsertion, InsertsAtCaretInTheMiddle)
{
    KeyboardLine line;
    line.SetText("x+1");
    EXPECT_EQ(line.Caret(), 3);
    line.SetCaret(2);
    line.Insert("sqrt()", 5);
    EXPECT_EQ(line.Text(), "x+sqrt()1");
    EXPECT_EQ(line.Caret(), 7);
}

TEST(KeyboardInsertion, GreekKeysAreOneCharacter)
{
    KeyboardLine line = Typed({"n2", "pai", "sita"});
    EXPECT_EQ(line.Text(), "2" + kPi + kTheta);
    EXPECT_EQ(line.Length(), 3);
    EXPECT_EQ(line.Caret(), 3);
    EXPECT_EQ(line.CaretByte(), 5u);
}

TEST(KeyboardCaret, MovesOverPiAndThetaAsOneCharacter)
{
    KeyboardLine line;
    line.SetText(kPi + "+" + kTheta);
    line.CaretBack();
    EXPECT_EQ(line.CaretByte(), 3u);
    line.CaretBack();
    line.CaretBack();
    EXPECT_EQ(line.CaretByte(), 0u);
    line.CaretBack(); // stays at the start
    EXPECT_EQ(line.CaretByte(), 0u);
    line.CaretForward();
    EXPECT_EQ(line.CaretByte(), 2u);
    line.SetCaret(99);
    EXPECT_EQ(line.CaretByte(), 5u);
    line.CaretForward(); // stays at the end
    EXPECT_EQ(line.CaretByte(), 5u);
}

TEST(KeyboardDeletion, BackspaceAfterPiRemovesTheWholePi)
{
    KeyboardLine line = Typed({"n2", "pai"});
    line.DeleteBefore();
    EXPECT_EQ(line.Text(), "2");
    EXPECT_EQ(line.Caret(), 1);
}

TEST(KeyboardDeletion, DelBeforeThetaRemovesTheWholeTheta)
{
    KeyboardLine line;
    line.SetText(kTheta + "x");
    line.SetCaret(0);
    line.DeleteAfter();
    EXPECT_EQ(line.Text(), "x");
    EXPECT_EQ(line.Caret(), 0);
}

TEST(KeyboardDeletion, NothingToDeleteAtTheEnds)
{
    KeyboardLine line;
    line.SetText("ab");
    line.DeleteAfter();
    EXPECT_EQ(line.Text(), "ab");
    line.SetCaret(0);
    line.DeleteBefore();
    EXPECT_EQ(line.Text(), "ab");
    line.Clear();
    EXPECT_EQ(line.Text(), "");
    EXPECT_EQ(line.Caret(), 0);
}

TEST(KeyboardDeletion, TwoByteCharacterWithAsciiLookingTrailByteStaysWhole)
{
    // A pre-filled text may hold other Shift-JIS characters; "\x83\x5C" ends
    // in the byte of a backslash and must still go as one character.
    KeyboardLine line;
    line.SetText("x\x83\x5C");
    line.DeleteBefore();
    EXPECT_EQ(line.Text(), "x");
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
TEST(KeyboardClosingCheck, EmptyTextClosesAsCancel)
{
    EXPECT_EQ(CheckClosingText(""), ClosingCheck::Empty);
    EXPECT_EQ(ClosingMessage(ClosingCheck::Empty), QString());
}

TEST(KeyboardClosingCheck, ValidFormulasAreAccepted)
{
    EXPECT_EQ(CheckClosingText("sin(x)"), ClosingCheck::Accepted);
    EXPECT_EQ(CheckClosingText("2" + kPi + "*" + kTheta), ClosingCheck::Accepted);
    EXPECT_TRUE(ParseOK);
}

TEST(KeyboardClosingCheck, SyntaxErrorsFailTheCheckParse)
{
    EXPECT_EQ(CheckClosingText("x+"), ClosingCheck::CheckFailed);
    EXPECT_EQ(CheckClosingText("(x"), ClosingCheck::CheckFailed);
    EXPECT_EQ(ClosingMessage(ClosingCheck::CheckFailed), QString::fromUtf8("式が間違っています2"));
}

TEST(KeyboardClosingCheck, DivisionByConstantZeroFailsOnlyTheBuild)
{
    EXPECT_EQ(CheckClosingText("1/0"), ClosingCheck::BuildFailed);
    EXPECT_EQ(ClosingMessage(ClosingCheck::BuildFailed), QString::fromUtf8("式が間違っています1"));
    // A failed check leaves no stale failure for the next text.
    EXPECT_EQ(CheckClosingText("x"), ClosingCheck::Accepted);
}
