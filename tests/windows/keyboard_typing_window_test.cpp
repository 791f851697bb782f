// The formula keyboard's line driven by the physical keyboard: key events
// synthesised on the real widget.
#include "windows/keyboard.h"
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
class KeyboardTyping : public ::testing::Test
{
  protected:
    QLineEdit *edit() { return kf.findChild<QLineEdit *>(QStringLiteral("Edit1")); }
    // One key press on the line, as the window system delivers it.
    void key(int code, const QString &text = QString(), Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
        QApplication::sendEvent(edit(), &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
        QApplication::sendEvent(edit(), &release);
    }
    // Each character of text (UTF-8) as its own key press.
    void type(const char *text)
    {
        for (QChar c : QString::fromUtf8(text)) {
            const int code = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - u'A') : Qt::Key_unknown;
            key(c.isLetter() && c.unicode() < 0x80 ? code : Qt::Key_unknown, QString(c),
                c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }
    FormulaKeyboard kf;
};
} // namespace

// What may be typed is the typing rules' tests; here that the line takes
// them from each opening's request and layout and shows what it holds.
TEST_F(KeyboardTyping, TypesWhatTheKeysOfThisOpeningCouldInsert)
{
    kf.prepare({});
    type("2x+pi?");
    EXPECT_EQ(kf.resultText(), "2x+\x83\xCE");
    EXPECT_EQ(edit()->text(), QString::fromUtf8("2x+π"));
    EXPECT_EQ(edit()->cursorPosition(), 4);

    KeyboardRequest point; // coordinates of a point
    point.keysXYZ = false;
    kf.prepare(point);
    type("2x");
    EXPECT_EQ(kf.resultText(), "2");

    KeyboardRequest plain;
    plain.layout = 2;
    kf.prepare(plain);
    type("a1.5");
    EXPECT_EQ(kf.resultText(), "1.5");
}

TEST_F(KeyboardTyping, EditingKeysMoveTheCaretAndDelete)
{
    kf.prepare({});
    type("x^2");
    key(Qt::Key_Home);
    EXPECT_EQ(kf.line().caret(), 0);
    type("3");
    key(Qt::Key_Right);
    key(Qt::Key_Delete);
    EXPECT_EQ(kf.resultText(), "3x2");
    key(Qt::Key_Backspace);
    EXPECT_EQ(kf.resultText(), "32");
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(kf.line().caret(), 0);
    key(Qt::Key_End);
    EXPECT_EQ(edit()->cursorPosition(), 2);
    type("π");
    key(Qt::Key_Backspace);
    EXPECT_EQ(kf.resultText(), "32") << "π goes as one character";
    key(Qt::Key_V, QString(), Qt::ControlModifier); // no pasting
    EXPECT_EQ(kf.resultText(), "32");
}

TEST_F(KeyboardTyping, AnInputMethodCommitsWholeOrNothing)
{
    kf.prepare({});
    QInputMethodEvent wide;
    wide.setCommitString(QString::fromUtf8("ｓｉｎ（ｘ）"));
    QApplication::sendEvent(edit(), &wide);
    EXPECT_EQ(kf.resultText(), "sin(x)");
    QInputMethodEvent japanese;
    japanese.setCommitString(QString::fromUtf8("＋あ"));
    QApplication::sendEvent(edit(), &japanese);
    EXPECT_EQ(kf.resultText(), "sin(x)");
}

TEST_F(KeyboardTyping, ReturnAcceptsWithTheParseCheckAndEscapeCancels)
{
    QTimer::singleShot(0, &kf, [this] {
        type("x+");
        key(Qt::Key_Return);
        EXPECT_TRUE(kf.isVisible()) << "refused by the parse check";
        EXPECT_EQ(kf.message(), QString::fromUtf8("式が間違っています2"));
        type("1");
        key(Qt::Key_Return);
    });
    EXPECT_EQ(kf.ask({}), "x+1");

    QTimer::singleShot(0, &kf, [this] {
        type("x");
        key(Qt::Key_Escape);
    });
    EXPECT_EQ(kf.ask({}), "");
    EXPECT_EQ(kf.result(), QDialog::Rejected);
}

} // namespace gq
