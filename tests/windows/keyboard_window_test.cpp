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

namespace
{
class Keyboard : public ::testing::Test
{
  protected:
    QPushButton *Key(const char *name)
    {
        auto *key = kf.findChild<QPushButton *>(QString::fromLatin1(name));
        EXPECT_NE(key, nullptr) << name;
        return key;
    }
    void Press(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            if (QPushButton *key = Key(name))
                key->click();
    }
    // Of the key names (separated by spaces), those shown or those enabled.
    std::string ShownOf(const char *names) { return Which(names, false); }
    std::string EnabledOf(const char *names) { return Which(names, true); }
    std::string Which(const char *names, bool enabled)
    {
        QStringList out;
        for (const QString &name : QString::fromLatin1(names).split(u' '))
            if (QPushButton *key = Key(name.toLatin1().constData()))
                if (enabled ? key->isEnabled() : !key->isHidden())
                    out << name;
        return out.join(u' ').toStdString();
    }
    QLineEdit *Edit() { return kf.findChild<QLineEdit *>(QStringLiteral("Edit1")); }
    Tkeyfunc kf;
};
} // namespace

TEST_F(Keyboard, KeysEditTheLineAndTypingOnItOnlyPlacesTheCaret)
{
    kf.Prepare({});
    Press({"sin", "x", "Rshift", "add", "pai"});
    EXPECT_EQ(Edit()->text(), QString::fromUtf8("sin(x)+π"));
    EXPECT_EQ(Edit()->cursorPosition(), 8);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(Edit(), &letter);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(Edit(), &backspace);
    EXPECT_EQ(Edit()->text(), QString::fromUtf8("sin(x)+π"));
    EXPECT_EQ(kf.Result(), "sin(x)+\x83\xCE");
    Press({"Bs", "lshift", "Del"});
    EXPECT_EQ(kf.Result(), "sin(x)");
    Edit()->setCursorPosition(4);
    Press({"n2"});
    EXPECT_EQ(kf.Result(), "sin(2x)");
    Press({"Ac"});
    EXPECT_EQ(kf.Result(), "");
}

TEST_F(Keyboard, KeysInsertTheirTextsWithTheirCaretAdvance)
{
    struct Case {
        const char *key, *text;
        int caret;
    } cases[] = {
        {"arctan", "arctn()", 6}, {"cosec", "cosec()", 6},  {"cotan", "cotan()", 6},
        {"sec", "sec()", 4},      {"gaus", "gaus()", 5},    {"sinh", "sinh()", 5},
        {"sqrt", "sqrt()", 5},    {"log", "log()", 4},      {"Uf3", "F3()", 3},
        {"userC5", "Q5", 2},      {"delivop", "(d/dx)", 6}, {"lkakko2", "[]", 1},
        {"sita", "\x83\xC6", 1},  {"N7", "7", 1},           {"j", "j", 1},
        {"kaijyou", "!", 1},      {"qoutient", "/", 1},     {"sum", "Sum(i=[,],)", 7},
        {"equal", "", 0},         {"cup", "", 0},
    };
    for (const Case &c : cases) {
        KeyboardRequest request;
        request.funcKeys = request.constKeys = 6;
        kf.Prepare(request);
        Press({c.key});
        EXPECT_EQ(kf.Result(), c.text) << c.key;
        EXPECT_EQ(kf.Line().Caret(), c.caret) << c.key;
    }
}

TEST_F(Keyboard, CaptionsAndHints)
{
    EXPECT_EQ(kf.objectName(), QStringLiteral("keyfunc"));
    const char *const texts[][2] = {
        {"N7", "７"}, {"n0", "０"}, {"j", "ｊ"}, {"arctan", "arctn"}, {"syuu", "終了"}};
    for (const auto &[name, text] : texts)
        EXPECT_EQ(Key(name)->text(), QString::fromUtf8(text)) << name;
    EXPECT_EQ(Key("sita")->toolTip(), QString::fromUtf8("ラジアン型ﾊﾟﾗﾒﾀ"));
    EXPECT_EQ(Key("Uf1")->toolTip(), QString::fromUtf8("すでに登録してあるＦ１関数"));
    EXPECT_EQ(Key("log")->toolTip(),
              QString::fromUtf8("対数関数ｌｏｇ□（・・）　の定を入力可能、入力がなければ自然対数"));
    EXPECT_EQ(kf.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->toolTip(),
              QString::fromUtf8("関数を切り替えます"));
}

TEST_F(Keyboard, EachLayoutHasItsWidthAndKeys)
{
    const char *const keys = "n0 n5 pai Rkakko comma Bs Ac syuu Del a f sita j n lkakko2 kaijyou "
                             "x y z t i delivop sin sgn sqrt sinh small Uf1 sum";
    struct Case {
        int layout, width;
        const char *shown;
    } cases[] = {
        // Plain number: only the pad and the editing keys.
        {2, 180, "n0 n5 pai Rkakko comma Bs Ac syuu Del"},
        // Number: adds the parameters.
        {0, 220, "n0 n5 pai Rkakko comma Bs Ac syuu Del a f sita j n lkakko2 kaijyou"},
        // Formula: the variables and one function panel.
        {1, 348,
         "n0 n5 pai Rkakko comma Bs Ac syuu Del a f sita j n lkakko2 kaijyou x y z t i delivop sin sgn sqrt "
         "small"},
    };
    for (const Case &c : cases) {
        KeyboardRequest request;
        request.layout = c.layout;
        kf.Prepare(request);
        EXPECT_EQ(kf.width(), c.width) << c.layout;
        EXPECT_EQ(ShownOf(keys), c.shown) << c.layout;
        EXPECT_EQ(kf.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->isHidden(), c.layout != 1) << c.layout;
    }
}

TEST_F(Keyboard, TheSelectorSwitchesFunctionPanelsAndKeepsItsPosition)
{
    kf.Prepare({});
    EXPECT_EQ(kf.PanelPosition(), 1);
    kf.SetPanelPosition(0);
    EXPECT_EQ(ShownOf("Uf1 Uf6 userC6 sin sum gaus"), "Uf1 Uf6 userC6");
    kf.SetPanelPosition(2);
    EXPECT_EQ(ShownOf("Uf1 Uf6 userC6 sin sum gaus"), "sum gaus");
    kf.Prepare({}); // another opening
    EXPECT_EQ(kf.PanelPosition(), 2);
    EXPECT_EQ(ShownOf("sin cotan"), "cotan");
}

TEST_F(Keyboard, DefinitionKeysFollowTheRequest)
{
    const char *const keys = "Uf1 Uf2 Uf3 Uf4 Uf5 Uf6 userC1 userC2 userC3 userC4 userC5 userC6";
    EXPECT_EQ(EnabledOf(keys), "");
    KeyboardRequest request;
    request.funcKeys = 3;
    request.constKeys = 6;
    request.constKeyOff[1] = true; // Q2 refers to a function being corrected
    kf.Prepare(request);
    kf.SetPanelPosition(0);
    EXPECT_EQ(EnabledOf(keys), "Uf1 Uf2 Uf3 userC1 userC3 userC4 userC5 userC6");
    Press({"Uf4"});
    EXPECT_EQ(kf.Result(), "") << "a disabled key inserts nothing";

    // The next opening that offers no definitions turns them off again.
    kf.Prepare({});
    EXPECT_EQ(EnabledOf(keys), "");
}

TEST_F(Keyboard, VariableAndFunctionSwitches)
{
    KeyboardRequest request;
    request.keysXYZ = request.keysSgnGaus = request.keyT = false;
    kf.Prepare(request);
    EXPECT_EQ(EnabledOf("x y z t sgn gaus i abs"), "i abs");

    request = {}; // a function definition: x and y, no z, no t
    request.keyZ = request.keyT = false;
    kf.Prepare(request);
    EXPECT_EQ(EnabledOf("x y z t small large"), "x y");
}

TEST_F(Keyboard, StartsFromTheCallersTextAndMessage)
{
    KeyboardRequest request;
    request.caption = QString::fromUtf8("陽関数 y=f(x) : f(x)の入力");
    request.message = QString::fromUtf8("違う値を入力してください");
    kf.Prepare(request);
    Press({"x", "add"});
    EXPECT_EQ(kf.windowTitle(), QString::fromUtf8("陽関数 y=f(x) : f(x)の入力"));
    EXPECT_EQ(kf.Message(), QString::fromUtf8("違う値を入力してください"));

    // The next opening never sees the previous line or message.
    request = {};
    request.initialText = "x^2";
    kf.Prepare(request);
    EXPECT_EQ(kf.Result(), "x^2");
    EXPECT_EQ(kf.Line().Caret(), 3);
    EXPECT_EQ(kf.Message(), QString());
}

// These need the real parser (with the closing simplification for 1/0).
TEST_F(Keyboard, RejectedFormulaKeepsTheWindowOpenUntilEmptiedOrClosed)
{
    struct Case {
        std::initializer_list<const char *> keys;
        const char *message;
    } cases[] = {
        {{"x", "add"}, "式が間違っています2"},
        {{"lkakko", "x"}, "式が間違っています2"},
        {{"n1", "qoutient", "n0"}, "式が間違っています1"},
    };
    for (const Case &c : cases) {
        kf.Prepare({});
        kf.show();
        Press(c.keys);
        Press({"syuu"});
        EXPECT_TRUE(kf.isVisible()) << c.message;
        EXPECT_EQ(kf.Message(), QString::fromUtf8(c.message));
        kf.close(); // the close box cancels whatever the line holds
        EXPECT_FALSE(kf.isVisible());
        EXPECT_EQ(kf.Result(), "");
    }
    // Only emptying the line lets the close key go.
    kf.Prepare({});
    kf.show();
    Press({"n1", "qoutient", "n0", "syuu", "Ac", "syuu"});
    EXPECT_FALSE(kf.isVisible());
    EXPECT_EQ(kf.result(), QDialog::Accepted);
}

TEST_F(Keyboard, ModalAskReturnsTheAcceptedText)
{
    QTimer::singleShot(0, &kf, [this] { Press({"n2", "multi", "sita", "syuu"}); });
    EXPECT_EQ(kf.Ask({}), "2*\x83\xC6");
    QTimer::singleShot(0, &kf, [this] {
        Press({"n5"});
        kf.close();
    });
    EXPECT_EQ(kf.Ask({}), "");
}

TEST_F(Keyboard, ReadNumberTakesAnEmptyAnswerAsZero)
{
    ScriptedQuestions ask;
    ask.keyboardAnswers = {"", "-1.5"};
    bool wasEmpty = false;
    EXPECT_EQ(ReadNumber(ask, QStringLiteral("prompt"), 2, QStringLiteral("msg"), &wasEmpty), "0");
    EXPECT_TRUE(wasEmpty);
    EXPECT_EQ(ask.keyboardRequests.at(0).caption, QStringLiteral("prompt"));
    EXPECT_EQ(ask.keyboardRequests.at(0).layout, 2);
    EXPECT_EQ(ask.keyboardRequests.at(0).message, QStringLiteral("msg"));
    EXPECT_EQ(ReadNumber(ask, QStringLiteral("prompt"), 0, QString(), &wasEmpty), "-1.5");
    EXPECT_FALSE(wasEmpty);
}
