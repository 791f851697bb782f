// What the formula keyboard does, without its window: the key table, which
// keys a layout reaches and a request enables, the edit line with its caret,
// and the parse check that decides whether the window may close.
//
// Texts are Shift-JIS bytes. Apart from π ("\x83\xCE") and θ ("\x83\xC6")
// the keys insert ASCII only; the caret counts π and θ as one character each.
#pragma once

#include "control/questions.h"
#include <QPoint>
#include <QString>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace gq
{

inline constexpr const char *kSjisPi = "\x83\xCE";
inline constexpr const char *kSjisTheta = "\x83\xC6";

enum class KeyGroup {
    NumberPad,  // digits, operators, point, comma, π, parentheses
    Parameters, // a b c d f θ j n, "[]" and "!"
    Variables,  // x y z t i
    Panel0,     // F1..F6 and Q1..Q6
    Panel1,     // sin cos tan log exp sqrt abs sgn
    Panel2,     // sinh cosh arctn cosec sec cotan gaus Sum
    Derivative, // d/dx
    Comparison, // < and >, never enabled
    Inert,      // "＝", "∩", "∪": present but insert nothing
    Editing,    // caret moves, deletion, clear and the accept key
};

// One key. Strings are static. caption and hint are UTF-8 (hint "" = none);
// inserts is Shift-JIS ("" for keys that insert nothing).
struct KeyDef {
    const char *name; // control name, also the widget's objectName
    const char *caption;
    const char *inserts;
    int advance; // characters the caret moves forward after inserting
    const char *hint;
    KeyGroup group;
};

// Every key of the window, in placement order.
std::span<const KeyDef> keyTable();
// The key of that control name, or null.
const KeyDef *findKey(std::string_view name);

// Layouts: 0 number, 1 formula, 2 plain number. Any other value is treated as 1.
int normalisedLayout(int layout);
// Window width in pixels: 220, 348, 180.
int layoutWidth(int layout);
// Whether a key of that group is shown in the layout; panel is the selector
// position 0..2, which picks the one function panel shown in layout 1.
bool keyReachable(KeyGroup group, int layout, int panel);
// Whether the request enables the key (keys without a switch are always on,
// the comparison keys never).
bool keyEnabled(const KeyDef &key, const KeyboardRequest &request);

// Top-left corner of the window: mainTopLeft + (4, 80), or + (4, 260) for the
// formula layout; on screens lower than 480 pixels moved so that the bottom
// edge (top + windowHeight) is at 400.
QPoint keyboardPosition(QPoint mainTopLeft, int layout, int screenHeight, int windowHeight);

// The edit line: a Shift-JIS text and a caret that always sits on a character
// boundary. Positions in the interface are in characters.
class KeyboardLine
{
  public:
    // Replaces the text; the caret goes to its end.
    void setText(const std::string &text);
    const std::string &Text() const { return text_; }
    int length() const;
    int caret() const;
    std::size_t caretByte() const { return caret_; }
    // Clamped to 0..Length().
    void setCaret(int characters);

    // Inserts keyText at the caret, then moves the caret forward by advance
    // characters (clamped to the end of the text).
    void insert(const std::string &keyText, int advance);
    void caretBack();
    void caretForward();
    void deleteBefore(); // the character before the caret; the caret moves back
    void deleteAfter();  // the character after the caret; the caret stays
    void clear();

  private:
    std::size_t nextBoundary(std::size_t byte) const;
    std::size_t previousBoundary(std::size_t byte) const;

    std::string text_;
    std::size_t caret_ = 0; // bytes
};

// The check run when the user accepts the text.
enum class ClosingCheck {
    Empty,       // nothing typed: the window closes and the caller sees a cancel
    Accepted,    // parses in check mode and in build mode, and fits the budget
    CheckFailed, // rejected by the check-mode parse
    BuildFailed, // passed the check but rejected by the build (e.g. 1/0)
    TooComplex,  // parses, but preparing it (sums, canonical form, derivatives)
                 // would pass the formula budget
};
// Parses in mode 1, then in mode 2, and prepares the formula as checkFormula
// (engine/formula.h) does, with the definitions and parameters installed.
ClosingCheck checkClosingText(const std::string &text);
// The message line's text for a failed check: "式が間違っています2",
// "式が間違っています1" or "式が複雑すぎます"; empty otherwise.
QString closingMessage(ClosingCheck check);

// Shift-JIS formula text to display text: π and θ become Greek letters,
// ASCII stays, any other byte becomes U+FFFD.
QString formulaDisplayText(const std::string &text);

} // namespace gq
