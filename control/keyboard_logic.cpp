#include "control/keyboard_logic.h"

#include "engine/formula.h"
#include <algorithm>
#include <array>
#include <cstring>

namespace gq
{

namespace
{
using G = KeyGroup;

// clang-format off
constexpr KeyDef kKeys[] = {
    // number pad
    {"N7", "７", "7", 1, "", G::NumberPad},
    {"n8", "８", "8", 1, "", G::NumberPad},
    {"n9", "９", "9", 1, "", G::NumberPad},
    {"lkakko", "（", "(", 1, "", G::NumberPad},
    {"Rkakko", "）", ")", 1, "", G::NumberPad},
    {"n4", "４", "4", 1, "", G::NumberPad},
    {"n5", "５", "5", 1, "", G::NumberPad},
    {"n6", "６", "6", 1, "", G::NumberPad},
    {"multi", "＊", "*", 1, "", G::NumberPad},
    {"qoutient", "／", "/", 1, "", G::NumberPad},
    {"n1", "１", "1", 1, "", G::NumberPad},
    {"n2", "２", "2", 1, "", G::NumberPad},
    {"n3", "３", "3", 1, "", G::NumberPad},
    {"add", "＋", "+", 1, "", G::NumberPad},
    {"sub", "－", "-", 1, "", G::NumberPad},
    {"n0", "０", "0", 1, "", G::NumberPad},
    {"piriod", "．", ".", 1, "", G::NumberPad},
    {"comma", ",", ",", 1, "", G::NumberPad},
    {"pai", "π", "\x83\xCE", 1, "", G::NumberPad},
    {"Power", "＾", "^", 1, "", G::NumberPad},
    // editing keys
    {"lshift", "←", "", 0, "カソールを前に移動", G::Editing},
    {"Rshift", "→", "", 0, "カソールの位置を後ろに移動", G::Editing},
    {"Bs", "BS", "", 0, "カソールの前の文字を消去します", G::Editing},
    {"Del", "Del", "", 0, "カソールの後ろの文字を消去します", G::Editing},
    {"Ac", "AC", "", 0, "すべて消去", G::Editing},
    {"syuu", "終了", "", 0, "", G::Editing},
    // parameters
    {"a", "a", "a", 1, "実数型ﾊﾟﾗﾒﾀ", G::Parameters},
    {"b", "b", "b", 1, "実数型ﾊﾟﾗﾒﾀ", G::Parameters},
    {"c", "c", "c", 1, "実数型ﾊﾟﾗﾒﾀ", G::Parameters},
    {"d", "d", "d", 1, "実数型ﾊﾟﾗﾒﾀ", G::Parameters},
    {"f", "f", "f", 1, "実数型ﾊﾟﾗﾒﾀ", G::Parameters},
    {"sita", "θ", "\x83\xC6", 1, "ラジアン型ﾊﾟﾗﾒﾀ", G::Parameters},
    {"j", "ｊ", "j", 1, "整数型ﾊﾟﾗﾒﾀ", G::Parameters},
    {"n", "n", "n", 1, "整数型ﾊﾟﾗﾒﾀ", G::Parameters},
    {"lkakko2", "[]", "[]", 1, "", G::Parameters},
    {"kaijyou", "!", "!", 1, "", G::Parameters},
    // variables, derivative, comparison and the keys that insert nothing
    {"x", "x", "x", 1, "実数型変数", G::Variables},
    {"y", "y", "y", 1, "実数型変数", G::Variables},
    {"z", "z", "z", 1, "実数型変数", G::Variables},
    {"t", "t", "t", 1, "媒介変数", G::Variables},
    {"i", "i", "i", 1, "整数型変数", G::Variables},
    {"delivop", "d/dx", "(d/dx)", 6, "", G::Derivative},
    {"small", "＜", "<", 1, "", G::Comparison},
    {"large", "＞", ">", 1, "", G::Comparison},
    {"equal", "＝", "", 0, "", G::Inert},
    {"cap", "∩", "", 0, "", G::Inert},
    {"cup", "∪", "", 0, "", G::Inert},
    // panel 1
    {"sin", "sin", "sin()", 4, "サイン関数", G::Panel1},
    {"cos", "cos", "cos()", 4, "コサイン関数", G::Panel1},
    {"tan", "tan", "tan()", 4, "タンジェント関数", G::Panel1},
    {"log", "log", "log()", 4,
     "対数関数ｌｏｇ□（・・）　の定を入力可能、入力がなければ自然対数", G::Panel1},
    {"exp", "exp", "exp()", 4, "指数関数", G::Panel1},
    {"sqrt", "sqrt", "sqrt()", 5, "平方根", G::Panel1},
    {"abs", "abs", "abs()", 4, "絶対値", G::Panel1},
    {"sgn", "sgn", "sgn()", 4, "符号関数", G::Panel1},
    // panel 2
    {"sinh", "sinh", "sinh()", 5, "ハイパボリックサイン関数", G::Panel2},
    {"cosh", "cosh", "cosh()", 5, "ハイパボリックコサイン", G::Panel2},
    {"arctan", "arctn", "arctn()", 6, "アークタンジェント関数", G::Panel2},
    {"cosec", "cosec", "cosec()", 6, "コセカント関数", G::Panel2},
    {"sec", "sec", "sec()", 4, "セカント関数", G::Panel2},
    {"cotan", "cotan", "cotan()", 6, "コタンジェント", G::Panel2},
    {"gaus", "gaus", "gaus()", 5, "ガウス記号", G::Panel2},
    {"sum", "Sum", "Sum(i=[,],)", 7, "シグマ", G::Panel2},
    // panel 0
    {"Uf1", "F1", "F1()", 3, "すでに登録してあるＦ１関数", G::Panel0},
    {"userC1", "Q1", "Q1", 2, "すでに登録してある定数Ｑ１", G::Panel0},
    {"Uf2", "F2", "F2()", 3, "すでに登録してあるＦ２関数", G::Panel0},
    {"userC2", "Q2", "Q2", 2, "すでに登録してある定数Ｑ２", G::Panel0},
    {"Uf3", "F3", "F3()", 3, "すでに登録してあるＦ３関数", G::Panel0},
    {"userC3", "Q3", "Q3", 2, "すでに登録してある定数Ｑ３", G::Panel0},
    {"Uf4", "F4", "F4()", 3, "すでに登録してあるＦ４関数", G::Panel0},
    {"userC4", "Q4", "Q4", 2, "すでに登録してある定数Ｑ４", G::Panel0},
    {"Uf5", "F5", "F5()", 3, "すでに登録してあるＦ５関数", G::Panel0},
    {"userC5", "Q5", "Q5", 2, "すでに登録してある定数Ｑ５", G::Panel0},
    {"Uf6", "F6", "F6()", 3, "すでに登録してあるＦ６関数", G::Panel0},
    {"userC6", "Q6", "Q6", 2, "すでに登録してある定数Ｑ６", G::Panel0},
};
// clang-format on

// Shift-JIS lead bytes; a lead byte and the byte after it form one character.
bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Number n of a key named prefix + n (n = 1..6), or 0.
int numberAfter(const char *name, const char *prefix)
{
    std::size_t len = std::strlen(prefix);
    if (std::strncmp(name, prefix, len) != 0 || name[len] < '1' || name[len] > '6' || name[len + 1] != '\0')
        return 0;
    return name[len] - '0';
}
} // namespace

std::span<const KeyDef> keyTable()
{
    return kKeys;
}

const KeyDef *findKey(std::string_view name)
{
    for (const KeyDef &key : kKeys)
        if (name == key.name)
            return &key;
    return nullptr;
}

int normalisedLayout(int layout)
{
    return (layout == 0 || layout == 2) ? layout : 1;
}

int layoutWidth(int layout)
{
    switch (normalisedLayout(layout)) {
    case 0:
        return 220;
    case 2:
        return 180;
    default:
        return 348;
    }
}

bool keyReachable(KeyGroup group, int layout, int panel)
{
    layout = normalisedLayout(layout);
    switch (group) {
    case G::NumberPad:
    case G::Editing:
        return true;
    case G::Parameters:
        return layout != 2;
    case G::Variables:
    case G::Derivative:
    case G::Comparison:
    case G::Inert:
        return layout == 1;
    case G::Panel0:
        return layout == 1 && panel == 0;
    case G::Panel1:
        return layout == 1 && panel == 1;
    case G::Panel2:
        return layout == 1 && panel == 2;
    }
    return false;
}

bool keyEnabled(const KeyDef &key, const KeyboardRequest &request)
{
    std::string_view name = key.name;
    if (key.group == G::Comparison)
        return false;
    if (name == "x")
        return request.keysXYZ && request.keyX;
    if (name == "y")
        return request.keysXYZ && request.keyY;
    if (name == "z")
        return request.keysXYZ && request.keyZ;
    if (name == "t")
        return request.keyT;
    if (name == "i")
        return request.keyI;
    if (name == "sgn" || name == "gaus")
        return request.keysSgnGaus;
    if (int n = numberAfter(key.name, "Uf"))
        return n <= request.funcKeys && !request.funcKeyOff[n - 1];
    if (int n = numberAfter(key.name, "userC"))
        return n <= request.constKeys && !request.constKeyOff[n - 1];
    return true;
}

QPoint keyboardPosition(QPoint mainTopLeft, int layout, int screenHeight, int windowHeight)
{
    int top = mainTopLeft.y() + (normalisedLayout(layout) == 1 ? 260 : 80);
    if (screenHeight < 480)
        top = 400 - windowHeight;
    return {mainTopLeft.x() + 4, top};
}

// --- edit line -------------------------------------------------------------

std::size_t KeyboardLine::nextBoundary(std::size_t byte) const
{
    if (byte >= text_.size())
        return text_.size();
    if (isLeadByte(static_cast<unsigned char>(text_[byte])) && byte + 1 < text_.size())
        return byte + 2;
    return byte + 1;
}

// Boundaries are found by walking from the start: a trail byte of a two-byte
// character can look like an ASCII or lead byte, so looking back from the
// caret alone could split a character.
std::size_t KeyboardLine::previousBoundary(std::size_t byte) const
{
    std::size_t previous = 0;
    for (std::size_t b = 0; b < byte; b = nextBoundary(b))
        previous = b;
    return previous;
}

void KeyboardLine::setText(const std::string &text)
{
    text_ = text;
    caret_ = text_.size();
}

int KeyboardLine::length() const
{
    int n = 0;
    for (std::size_t b = 0; b < text_.size(); b = nextBoundary(b))
        ++n;
    return n;
}

int KeyboardLine::caret() const
{
    int n = 0;
    for (std::size_t b = 0; b < caret_; b = nextBoundary(b))
        ++n;
    return n;
}

void KeyboardLine::setCaret(int characters)
{
    caret_ = 0;
    for (int i = 0; i < characters && caret_ < text_.size(); ++i)
        caret_ = nextBoundary(caret_);
}

void KeyboardLine::insert(const std::string &keyText, int advance)
{
    text_.insert(caret_, keyText);
    std::size_t end = caret_ + keyText.size();
    for (int i = 0; i < advance && caret_ < end; ++i)
        caret_ = nextBoundary(caret_);
}

void KeyboardLine::caretBack()
{
    caret_ = previousBoundary(caret_);
}

void KeyboardLine::caretForward()
{
    caret_ = nextBoundary(caret_);
}

void KeyboardLine::deleteBefore()
{
    std::size_t start = previousBoundary(caret_);
    text_.erase(start, caret_ - start);
    caret_ = start;
}

void KeyboardLine::deleteAfter()
{
    text_.erase(caret_, nextBoundary(caret_) - caret_);
}

void KeyboardLine::clear()
{
    text_.clear();
    caret_ = 0;
}

// --- closing check -----------------------------------------------------------

ClosingCheck checkClosingText(const std::string &text)
{
    switch (checkFormula(text)) {
    case FormulaCheck::Empty:
        return ClosingCheck::Empty;
    case FormulaCheck::Accepted:
        return ClosingCheck::Accepted;
    case FormulaCheck::CheckFailed:
        return ClosingCheck::CheckFailed;
    case FormulaCheck::BuildFailed:
        return ClosingCheck::BuildFailed;
    case FormulaCheck::TooComplex:
    default:
        return ClosingCheck::TooComplex;
    }
}

QString closingMessage(ClosingCheck check)
{
    switch (check) {
    case ClosingCheck::CheckFailed:
        return QStringLiteral("式が間違っています2");
    case ClosingCheck::BuildFailed:
        return QStringLiteral("式が間違っています1");
    case ClosingCheck::TooComplex:
        return QStringLiteral("式が複雑すぎます");
    default:
        return QString();
    }
}

QString formulaDisplayText(const std::string &text)
{
    QString shown;
    for (std::size_t b = 0; b < text.size(); ++b) {
        unsigned char c = static_cast<unsigned char>(text[b]);
        if (c < 0x80) {
            shown += QChar(c);
        } else if (isLeadByte(c) && b + 1 < text.size()) {
            std::string_view pair(text.data() + b, 2);
            shown += pair == kSjisPi ? QChar(0x03C0) : pair == kSjisTheta ? QChar(0x03B8) : QChar(0xFFFD);
            ++b;
        } else {
            shown += QChar(0xFFFD);
        }
    }
    return shown;
}

} // namespace gq
