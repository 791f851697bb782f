// The formula keyboard window `keyfunc`: an on-screen keyboard with an edit
// line that only its keys can change. Every formula and number the user
// enters comes through it. The editing and the closing check live in
// keyboard_logic.h; this window shows them and forwards clicks.
#pragma once

#include "control/keyboard_logic.h"
#include "control/keyboard_typing.h"
#include "control/questions.h"
#include <QDialog>
#include <QLineEdit>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QSpinBox;

namespace gq
{

// The edit line: shows the text and the caret and lets the caret be placed
// with the mouse. It never edits itself: keys go to onKey and text from an
// input method to onText, which decide what happens; pasting is refused.
class CaretLine : public QLineEdit
{
    Q_OBJECT
  public:
    explicit CaretLine(QWidget *parent);

    // A key press; true when it was handled. Unhandled keys (Return, Escape)
    // go on to the dialog.
    std::function<bool(QKeyEvent *event)> onKey;
    // Text an input method commits.
    std::function<void(const QString &text)> onText;

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class FormulaKeyboard : public QDialog
{
    Q_OBJECT
  public:
    // mainWindow (may be null) is the window the keyboard is placed against.
    explicit FormulaKeyboard(QWidget *mainWindow = nullptr);

    // Sets up one opening: caption, line (request.initialText, caret at its
    // end), layout, enabled keys and message line. The function-panel
    // selector keeps the position it had at the last closing.
    void prepare(const KeyboardRequest &request);
    // Prepare, then show modally. Returns KeyboardResult: the accepted text,
    // or "" when the user closed with an empty line or cancelled (close box,
    // Escape).
    std::string ask(const KeyboardRequest &request);

    // KeyboardResult: the line after the latest key; "" after a cancel.
    const std::string &resultText() const { return result_; }
    const KeyboardLine &line() const { return line_; }
    int currentLayout() const { return layout_; }
    QString message() const;
    int panelPosition() const;
    void setPanelPosition(int position); // 0..2, as a click on the selector

    // Handlers of the keys; the buttons call them.
    void insertKey(const KeyDef &key); // a key that inserts text
    void caretLeftClicked();
    void caretRightClicked();
    void backspaceClicked();
    void deleteClicked();
    void clearClicked();
    // Accept: runs the closing check; closes unless the text is rejected.
    void finishClicked();
    void functionPanelChanged(int position);
    // The physical keyboard in the line: Backspace, Delete, ←, →, Home and
    // End edit; a typed character is inserted when a key of this opening
    // could insert it (TypingRules), and refused otherwise. False for the keys
    // the dialog handles (Return accepts with the parse check, Escape cancels).
    bool lineKeyPressed(QKeyEvent *event);
    void lineTextTyped(const QString &text);

    // Cancel: the result is "" whatever the line holds.
    void reject() override;

  private:
    void buildKeys();
    void applyLayout(); // size, reachable keys and place of the window
    void showReachableKeys();
    void showLine(); // line_ to the widget, result_ := text
    void lineCaretMoved(int oldPosition, int newPosition);

    KeyboardLine line_;
    TypingRules typing_; // what the physical keyboard may type in this opening
    std::string result_;
    int layout_ = 1;
    QLabel *messageLabel_ = nullptr; // message line
    CaretLine *edit_ = nullptr;
    QSpinBox *functionPanelSpin_ = nullptr;
    std::vector<std::pair<const KeyDef *, QPushButton *>> keys_;
    bool showing_ = false; // showLine is moving the widget's caret
};

// Asks for a plain number: layout 0 or 2, caption prompt, empty line, message
// line message. Returns the typed text, or "0" when it was empty (then
// *wasEmpty, if given, is set true, so a caller can tell a cancel apart).
std::string readNumber(Questions &questions, const QString &prompt, int layout,
                       const QString &message = QString(), bool *wasEmpty = nullptr);

} // namespace gq
