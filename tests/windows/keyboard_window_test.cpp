// The formula keyboard window driven through its buttons.
#include "control/scripted_questions.h"
#include "windows/keyboard.h"
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

namespace gq
{

namespace
{
class Keyboard : public ::testing::Test
{
  protected:
    QPushButton *keyButton(const char *name)
    {
        auto *key = kf.findChild<QPushButton *>(QString::fromLatin1(name));
        EXPECT_NE(key, nullptr) << name;
        return key;
    }
    void press(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            if (QPushButton *key = keyButton(name))
                key->click();
    }
    // Of the key names (separated by spaces), those shown or those enabled.
    std::string shownOf(const char *names) { return which(names, false); }
    std::string enabledOf(const char *names) { return which(names, true); }
    std::string which(const char *names, bool enabled)
    {
        QStringList out;
        for (const QString &name : QString::fromLatin1(names).split(u' '))
            if (QPushButton *key = keyButton(name.toLatin1().constData()))
                if (enabled ? key->isEnabled() : !key->isHidden())
                    out << name;
        return out.join(u' ').toStdString();
    }
    QLineEdit *edit() { return kf.findChild<QLineEdit *>(QStringLiteral("Edit1")); }
    FormulaKeyboard kf;
};
} // namespace

TEST_F(Keyboard, KeysEditTheLineAndTheCaretCanBePlacedInIt)
{
    kf.prepare({});
    press({"sin", "x", "Rshift", "add", "pai"});
    EXPECT_EQ(edit()->text(), QString::fromUtf8("sin(x)+π"));
    EXPECT_EQ(edit()->cursorPosition(), 8);
    EXPECT_EQ(kf.resultText(), "sin(x)+\x83\xCE");
    press({"Bs", "lshift", "Del"});
    EXPECT_EQ(kf.resultText(), "sin(x)");
    edit()->setCursorPosition(4);
    press({"n2"});
    EXPECT_EQ(kf.resultText(), "sin(2x)");
    press({"Ac"});
    EXPECT_EQ(kf.resultText(), "");
}

TEST_F(Keyboard, KeysInsertTheirTextsWithTheirCaretAdvance)
{
    struct Case {
        const char *key, *text;
        int caret;
    } cases[] = {
        // Keys whose text differs from their name, in each group of keys;
        // the comparison keys are never enabled.
        {"arctan", "arctn()", 6}, {"log", "log()", 4},       {"Uf3", "F3()", 3},      {"userC5", "Q5", 2},
        {"delivop", "(d/dx)", 6}, {"lkakko2", "[]", 1},      {"sita", "\x83\xC6", 1}, {"N7", "7", 1},
        {"qoutient", "/", 1},     {"sum", "Sum(i=[,],)", 7}, {"equal", "", 0},
    };
    for (const Case &c : cases) {
        KeyboardRequest request;
        request.funcKeys = request.constKeys = 6;
        kf.prepare(request);
        press({c.key});
        EXPECT_EQ(kf.resultText(), c.text) << c.key;
        EXPECT_EQ(kf.line().caret(), c.caret) << c.key;
    }
}

TEST_F(Keyboard, EachLayoutShowsItsKeysInsideItsWidth)
{
    const char *const keys = "n0 n5 pai Rkakko comma Bs Ac syuu Del a f sita j n lkakko2 kaijyou "
                             "x y z t i delivop sin sgn sqrt sinh small Uf1 sum";
    struct Case {
        int layout;
        const char *shown;
    } cases[] = {
        // Plain number: only the pad and the editing keys.
        {2, "n0 n5 pai Rkakko comma Bs Ac syuu Del"},
        // Number: adds the parameters.
        {0, "n0 n5 pai Rkakko comma Bs Ac syuu Del a f sita j n lkakko2 kaijyou"},
        // Formula: the variables and one function panel.
        {1,
         "n0 n5 pai Rkakko comma Bs Ac syuu Del a f sita j n lkakko2 kaijyou x y z t i delivop sin sgn sqrt "
         "small"},
    };
    for (const Case &c : cases) {
        KeyboardRequest request;
        request.layout = c.layout;
        kf.prepare(request);
        EXPECT_EQ(shownOf(keys), c.shown) << c.layout;
        for (const char *name : {"n0", "Del", "small"}) { // every shown key lies inside the window
            if (!keyButton(name)->isHidden()) {
                EXPECT_TRUE(kf.rect().contains(keyButton(name)->geometry())) << c.layout << " " << name;
            }
        }
        EXPECT_EQ(kf.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->isHidden(), c.layout != 1) << c.layout;
    }
}

TEST_F(Keyboard, TheSelectorSwitchesFunctionPanelsAndKeepsItsPosition)
{
    kf.prepare({});
    EXPECT_EQ(kf.panelPosition(), 1);
    kf.setPanelPosition(0);
    EXPECT_EQ(shownOf("Uf1 Uf6 userC6 sin sum gaus"), "Uf1 Uf6 userC6");
    kf.setPanelPosition(2);
    EXPECT_EQ(shownOf("Uf1 Uf6 userC6 sin sum gaus"), "sum gaus");
    kf.prepare({}); // another opening
    EXPECT_EQ(kf.panelPosition(), 2);
    EXPECT_EQ(shownOf("sin cotan"), "cotan");
}

TEST_F(Keyboard, DefinitionKeysFollowTheRequest)
{
    const char *const keys = "Uf1 Uf2 Uf3 Uf4 Uf5 Uf6 userC1 userC2 userC3 userC4 userC5 userC6";
    EXPECT_EQ(enabledOf(keys), "");
    KeyboardRequest request;
    request.funcKeys = 3;
    request.constKeys = 6;
    request.constKeyOff[1] = true; // Q2 refers to a function being corrected
    kf.prepare(request);
    kf.setPanelPosition(0);
    EXPECT_EQ(enabledOf(keys), "Uf1 Uf2 Uf3 userC1 userC3 userC4 userC5 userC6");
    press({"Uf4"});
    EXPECT_EQ(kf.resultText(), "") << "a disabled key inserts nothing";

    // The next opening that offers no definitions turns them off again.
    kf.prepare({});
    EXPECT_EQ(enabledOf(keys), "");
}

TEST_F(Keyboard, VariableAndFunctionSwitches)
{
    KeyboardRequest request;
    request.keysXYZ = request.keysSgnGaus = request.keyT = false;
    kf.prepare(request);
    EXPECT_EQ(enabledOf("x y z t sgn gaus i abs"), "i abs");

    request = {}; // a function definition: x and y, no z, no t
    request.keyZ = request.keyT = false;
    kf.prepare(request);
    EXPECT_EQ(enabledOf("x y z t small large"), "x y");
}

TEST_F(Keyboard, StartsFromTheCallersTextAndMessage)
{
    KeyboardRequest request;
    request.caption = QString::fromUtf8("陽関数 y=f(x) : f(x)の入力");
    request.message = QString::fromUtf8("違う値を入力してください");
    kf.prepare(request);
    press({"x", "add"});
    EXPECT_EQ(kf.windowTitle(), QString::fromUtf8("陽関数 y=f(x) : f(x)の入力"));
    EXPECT_EQ(kf.message(), QString::fromUtf8("違う値を入力してください"));

    // The next opening never sees the previous line or message.
    request = {};
    request.initialText = "x^2";
    kf.prepare(request);
    EXPECT_EQ(kf.resultText(), "x^2");
    EXPECT_EQ(kf.line().caret(), 3);
    EXPECT_EQ(kf.message(), QString());
}

// Which texts the closing check refuses, and with which message, is the
// keyboard-line tests'; here the window's reaction to a refusal.
TEST_F(Keyboard, RejectedFormulaKeepsTheWindowOpenUntilEmptiedOrClosed)
{
    kf.prepare({});
    kf.show();
    press({"x", "add", "syuu"});
    EXPECT_TRUE(kf.isVisible());
    EXPECT_EQ(kf.message(), QString::fromUtf8("式が間違っています2"));
    kf.close(); // the close box cancels whatever the line holds
    EXPECT_FALSE(kf.isVisible());
    EXPECT_EQ(kf.resultText(), "");
    // Only emptying the line lets the close key go.
    kf.prepare({});
    kf.show();
    press({"n1", "qoutient", "n0", "syuu", "Ac", "syuu"});
    EXPECT_FALSE(kf.isVisible());
    EXPECT_EQ(kf.result(), QDialog::Accepted);
}

TEST_F(Keyboard, ModalAskReturnsTheAcceptedText)
{
    QTimer::singleShot(0, &kf, [this] { press({"n2", "multi", "sita", "syuu"}); });
    EXPECT_EQ(kf.ask({}), "2*\x83\xC6");
    QTimer::singleShot(0, &kf, [this] {
        press({"n5"});
        kf.close();
    });
    EXPECT_EQ(kf.ask({}), "");
}

TEST_F(Keyboard, ReadNumberTakesAnEmptyAnswerAsZero)
{
    ScriptedQuestions ask;
    ask.keyboardAnswers = {"", "-1.5"};
    bool wasEmpty = false;
    EXPECT_EQ(readNumber(ask, QStringLiteral("prompt"), 2, QStringLiteral("msg"), &wasEmpty), "0");
    EXPECT_TRUE(wasEmpty);
    EXPECT_EQ(ask.keyboardRequests.at(0).caption, QStringLiteral("prompt"));
    EXPECT_EQ(ask.keyboardRequests.at(0).layout, 2);
    EXPECT_EQ(ask.keyboardRequests.at(0).message, QStringLiteral("msg"));
    EXPECT_EQ(readNumber(ask, QStringLiteral("prompt"), 0, QString(), &wasEmpty), "-1.5");
    EXPECT_FALSE(wasEmpty);
}

} // namespace gq
