// The formula keyboard window driven through its buttons.
#include "document/keyboard.h"
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
QPushButton *Key(Tkeyfunc &kf, const char *name)
{
    auto *key = kf.findChild<QPushButton *>(QString::fromLatin1(name));
    EXPECT_NE(key, nullptr) << name;
    return key;
}

void Press(Tkeyfunc &kf, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        if (QPushButton *key = Key(kf, name))
            key->click();
}

bool Shown(Tkeyfunc &kf, const char *name)
{
    return !Key(kf, name)->isHidden();
}

KeyboardRequest Formula(const char *caption = "f(x)")
{
    KeyboardRequest request;
    request.caption = QString::fromUtf8(caption);
    return request;
}

// Scripted answers, to check what ReadNumber asks and returns.
struct ScriptedKeyboard : Questions {
    std::string answer;
    KeyboardRequest asked;
    std::string AskKeyboard(const KeyboardRequest &request) override
    {
        asked = request;
        return answer;
    }
    uint32_t ChooseColour(ColourPanelState &) override { return 0; }
    bool Confirm(int) override { return false; }
    void ShowMessage(const QString &) override {}
};
} // namespace

TEST(KeyboardWindow, KeysEditTheLineAndTheResult)
{
    Tkeyfunc kf;
    kf.Prepare(Formula());
    Press(kf, {"sin", "x", "Rshift", "add", "pai"});
    EXPECT_EQ(kf.Result(), "sin(x)+\x83\xCE");
    auto *edit = kf.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    EXPECT_EQ(edit->text(), QString::fromUtf8("sin(x)+π"));
    EXPECT_EQ(edit->cursorPosition(), 8);
    Press(kf, {"Bs", "lshift", "Del"});
    EXPECT_EQ(kf.Result(), "sin(x)");
    Press(kf, {"Ac"});
    EXPECT_EQ(kf.Result(), "");
}

TEST(KeyboardWindow, KeysInsertTheirTextsWithTheirCaretAdvance)
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
    Tkeyfunc kf;
    for (const Case &c : cases) {
        KeyboardRequest request = Formula();
        request.funcKeys = request.constKeys = 6;
        kf.Prepare(request);
        Press(kf, {c.key});
        EXPECT_EQ(kf.Result(), c.text) << c.key;
        EXPECT_EQ(kf.Line().Caret(), c.caret) << c.key;
    }
}

TEST(KeyboardWindow, CaptionsAndHints)
{
    Tkeyfunc kf;
    EXPECT_EQ(kf.objectName(), QStringLiteral("keyfunc"));
    EXPECT_EQ(Key(kf, "N7")->text(), QString::fromUtf8("７"));
    EXPECT_EQ(Key(kf, "n0")->text(), QString::fromUtf8("０"));
    EXPECT_EQ(Key(kf, "j")->text(), QString::fromUtf8("ｊ"));
    EXPECT_EQ(Key(kf, "arctan")->text(), QStringLiteral("arctn"));
    EXPECT_EQ(Key(kf, "syuu")->text(), QString::fromUtf8("終了"));
    EXPECT_EQ(Key(kf, "sita")->toolTip(), QString::fromUtf8("ラジアン型ﾊﾟﾗﾒﾀ"));
    EXPECT_EQ(Key(kf, "Uf1")->toolTip(), QString::fromUtf8("すでに登録してあるＦ１関数"));
    EXPECT_EQ(Key(kf, "log")->toolTip(),
              QString::fromUtf8("対数関数ｌｏｇ□（・・）　の定を入力可能、入力がなければ自然対数"));
    EXPECT_EQ(kf.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->toolTip(),
              QString::fromUtf8("関数を切り替えます"));
}

TEST(KeyboardLayouts, PlainNumberShowsOnlyPadAndEditingKeys)
{
    Tkeyfunc kf;
    KeyboardRequest request = Formula();
    request.layout = 2;
    kf.Prepare(request);
    EXPECT_EQ(kf.width(), 180);
    for (const char *name : {"n0", "pai", "Rkakko", "comma", "Bs", "Ac", "syuu"})
        EXPECT_TRUE(Shown(kf, name)) << name;
    for (const char *name : {"a", "sita", "x", "t", "delivop", "sin", "Uf1", "sum"})
        EXPECT_FALSE(Shown(kf, name)) << name;
    EXPECT_TRUE(kf.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->isHidden());
}

TEST(KeyboardLayouts, NumberLayoutAddsParameters)
{
    Tkeyfunc kf;
    KeyboardRequest request = Formula();
    request.layout = 0;
    kf.Prepare(request);
    EXPECT_EQ(kf.width(), 220);
    for (const char *name : {"n5", "a", "f", "sita", "j", "n", "lkakko2", "kaijyou", "Del"})
        EXPECT_TRUE(Shown(kf, name)) << name;
    for (const char *name : {"x", "i", "delivop", "sin", "small"})
        EXPECT_FALSE(Shown(kf, name)) << name;
}

TEST(KeyboardLayouts, FormulaLayoutShowsOneFunctionPanel)
{
    Tkeyfunc kf;
    kf.Prepare(Formula());
    EXPECT_EQ(kf.width(), 348);
    EXPECT_EQ(kf.PanelPosition(), 1);
    for (const char *name : {"x", "y", "z", "t", "i", "delivop", "a", "n9", "sin", "sgn", "sqrt"})
        EXPECT_TRUE(Shown(kf, name)) << name;
    EXPECT_FALSE(Shown(kf, "sinh"));
    EXPECT_FALSE(Shown(kf, "Uf1"));

    kf.SetPanelPosition(0);
    EXPECT_TRUE(Shown(kf, "Uf6"));
    EXPECT_TRUE(Shown(kf, "userC6"));
    EXPECT_FALSE(Shown(kf, "sin"));
    kf.SetPanelPosition(2);
    EXPECT_TRUE(Shown(kf, "sum"));
    EXPECT_TRUE(Shown(kf, "gaus"));
    EXPECT_FALSE(Shown(kf, "Uf1"));

    // The selector keeps its position for the next opening.
    kf.Prepare(Formula("g(x)"));
    EXPECT_EQ(kf.PanelPosition(), 2);
    EXPECT_TRUE(Shown(kf, "cotan"));
}

TEST(KeyboardKeys, DefinitionKeysFollowTheRequest)
{
    Tkeyfunc kf;
    kf.SetPanelPosition(0);
    for (int n = 1; n <= 6; ++n) {
        EXPECT_FALSE(Key(kf, ("Uf" + std::to_string(n)).c_str())->isEnabled()) << n;
        EXPECT_FALSE(Key(kf, ("userC" + std::to_string(n)).c_str())->isEnabled()) << n;
    }
    KeyboardRequest request = Formula();
    request.funcKeys = 3;
    request.constKeys = 6;
    request.constKeyOff[1] = true; // Q2 refers to a function being corrected
    kf.Prepare(request);
    EXPECT_TRUE(Key(kf, "Uf3")->isEnabled());
    EXPECT_FALSE(Key(kf, "Uf4")->isEnabled());
    EXPECT_TRUE(Key(kf, "userC1")->isEnabled());
    EXPECT_FALSE(Key(kf, "userC2")->isEnabled());
    EXPECT_TRUE(Key(kf, "userC6")->isEnabled());

    // A disabled key inserts nothing.
    Press(kf, {"Uf4"});
    EXPECT_EQ(kf.Result(), "");

    // The next opening that offers no definitions turns them off again.
    kf.Prepare(Formula());
    EXPECT_FALSE(Key(kf, "Uf1")->isEnabled());
}

TEST(KeyboardKeys, VariableAndFunctionSwitches)
{
    Tkeyfunc kf;
    KeyboardRequest request = Formula();
    request.keysXYZ = false;
    request.keysSgnGaus = false;
    request.keyT = false;
    kf.Prepare(request);
    for (const char *name : {"x", "y", "z", "t", "sgn", "gaus"})
        EXPECT_FALSE(Key(kf, name)->isEnabled()) << name;
    EXPECT_TRUE(Key(kf, "i")->isEnabled());
    EXPECT_TRUE(Key(kf, "abs")->isEnabled());

    request = Formula(); // a function definition: x and y, no z, no t
    request.keyZ = false;
    request.keyT = false;
    kf.Prepare(request);
    EXPECT_TRUE(Key(kf, "x")->isEnabled());
    EXPECT_TRUE(Key(kf, "y")->isEnabled());
    EXPECT_FALSE(Key(kf, "z")->isEnabled());
    EXPECT_FALSE(Key(kf, "t")->isEnabled());
    EXPECT_FALSE(Key(kf, "small")->isEnabled());
    EXPECT_FALSE(Key(kf, "large")->isEnabled());
}

TEST(KeyboardOpening, StartsFromTheCallersTextAndMessage)
{
    Tkeyfunc kf;
    KeyboardRequest request = Formula("陽関数 y=f(x) : f(x)の入力");
    request.message = QString::fromUtf8("違う値を入力してください");
    kf.Prepare(request);
    Press(kf, {"x", "add"});
    EXPECT_EQ(kf.windowTitle(), QString::fromUtf8("陽関数 y=f(x) : f(x)の入力"));
    EXPECT_EQ(kf.Message(), QString::fromUtf8("違う値を入力してください"));

    // The next opening never sees the previous line or message.
    request = Formula();
    request.initialText = "x^2";
    kf.Prepare(request);
    EXPECT_EQ(kf.Result(), "x^2");
    EXPECT_EQ(kf.Line().Caret(), 3);
    EXPECT_EQ(kf.Message(), QString());
}

TEST(KeyboardOpening, TypingOnTheLineChangesNothing)
{
    Tkeyfunc kf;
    kf.Prepare(Formula());
    Press(kf, {"n1", "add", "n2"});
    auto *edit = kf.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(edit, &letter);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(edit, &backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("1+2"));
    EXPECT_EQ(kf.Result(), "1+2");

    // Placing the caret on the line moves the insertion point.
    edit->setCursorPosition(1);
    Press(kf, {"n0"});
    EXPECT_EQ(kf.Result(), "10+2");
}

TEST(KeyboardClosing, EmptyLineClosesWithEmptyResult)
{
    Tkeyfunc kf;
    kf.Prepare(Formula());
    kf.show();
    Press(kf, {"syuu"});
    EXPECT_FALSE(kf.isVisible());
    EXPECT_EQ(kf.result(), QDialog::Accepted);
    EXPECT_EQ(kf.Result(), "");
    EXPECT_EQ(kf.Message(), QString());
}

TEST(KeyboardClosing, CloseBoxCancelsWhateverTheLineHolds)
{
    Tkeyfunc kf;
    KeyboardRequest request = Formula();
    request.initialText = "x+"; // not even a valid formula
    kf.Prepare(request);
    kf.show();
    kf.close();
    EXPECT_FALSE(kf.isVisible());
    EXPECT_EQ(kf.Result(), "");
}

// These need the real parser (with the closing simplification for 1/0).
TEST(KeyboardClosing, RejectedFormulaKeepsTheWindowOpen)
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
        Tkeyfunc kf;
        kf.Prepare(Formula());
        kf.show();
        Press(kf, c.keys);
        Press(kf, {"syuu"});
        EXPECT_TRUE(kf.isVisible()) << c.message;
        EXPECT_EQ(kf.Message(), QString::fromUtf8(c.message));
        // Only emptying the line lets it go.
        Press(kf, {"Ac", "syuu"});
        EXPECT_FALSE(kf.isVisible());
        EXPECT_EQ(kf.Result(), "");
    }
}

TEST(KeyboardClosing, ModalAskReturnsTheAcceptedText)
{
    Tkeyfunc kf;
    QTimer::singleShot(0, &kf, [&kf] { Press(kf, {"n2", "multi", "sita", "syuu"}); });
    EXPECT_EQ(kf.Ask(Formula()), "2*\x83\xC6");
    QTimer::singleShot(0, &kf, [&kf] {
        Press(kf, {"n5"});
        kf.close();
    });
    EXPECT_EQ(kf.Ask(Formula()), "");
}

TEST(KeyboardReadNumber, EmptyAnswerReadsAsZero)
{
    ScriptedKeyboard questions;
    bool wasEmpty = false;
    EXPECT_EQ(ReadNumber(questions, QStringLiteral("prompt"), 2, QStringLiteral("msg"), &wasEmpty), "0");
    EXPECT_TRUE(wasEmpty);
    EXPECT_EQ(questions.asked.layout, 2);
    EXPECT_EQ(questions.asked.caption, QStringLiteral("prompt"));
    EXPECT_EQ(questions.asked.message, QStringLiteral("msg"));
    EXPECT_EQ(questions.asked.initialText, "");

    questions.answer = "-1.5";
    EXPECT_EQ(ReadNumber(questions, QStringLiteral("prompt"), 0, QString(), &wasEmpty), "-1.5");
    EXPECT_FALSE(wasEmpty);
}
