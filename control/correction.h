// What the correction window does, without its widgets: it shows one
// registered item, defined function or defined constant at a time, edits its
// texts, colour, afterimage flag and pen width, and deletes it. The window
// forwards its clicks here; tests drive it with scripted answers.
#pragma once

#include "control/definition_commands.h"
#include "control/questions.h"
#include "model/document.h"
#include <QString>
#include <array>
#include <cstdint>
#include <string>

namespace gq
{

enum CorrectionMode : int {
    CorrectItems = 1,
    CorrectFunctions = 2,
    CorrectConstants = 3,
};

// The four text fields: equ1, equ2, Min, Max.
enum CorrectionField : int {
    FieldEqu1 = 1,
    FieldEqu2 = 2,
    FieldMin = 3,
    FieldMax = 4,
};

struct CorrectionFieldView {
    bool visible = false;
    bool editable = false;
    QString label;    // "式１", "式２", "範囲", "～", "式３", "式４"
    std::string text; // Shift-JIS formula text
};

// Everything the window shows for the current entry.
struct CorrectionView {
    int number = 0; // 1..count
    int count = 0;
    QString numberLabel;                         // Label7: "登録Ｎｏ.=  " + number
    QString kindLabel;                           // Label1: the kind name, "定義関数" or "定義定数"
    std::array<CorrectionFieldView, 5> fields{}; // 1..4 (0 unused)
    bool itemControls = false;                   // colour, "残像" and "ペンの太さ" (items only)
    uint32_t colour = 0;
    int zanIndex = 0;  // 0 "On", 1 "off"
    int penwIndex = 0; // pen width - 1
};

class CorrectionSession
{
  public:
    // The context's references must outlive the session.
    explicit CorrectionSession(DefinitionContext context);

    // Starts a session in mode 1..3 at number 1. False (and closed) when the
    // mode's list is empty.
    bool open(int mode);
    bool isOpen() const { return open_; }
    void close() { open_ = false; }
    int mode() const { return mode_; }
    int number() const { return number_; }
    int count() const; // size of the mode's list

    // The number spin control: clamped to 1..Count().
    void setNumber(int number);
    CorrectionView currentView() const;

    // A click on a text field: opens the keyboard with the field's text, its
    // caption and keys; stores the answer when it is valid (an empty answer,
    // a formula that does not parse or a definition referring to itself are
    // refused with the keyboard's message). True when the document changed.
    bool editField(int field);
    // The keyboard request of a field click (before any refusal).
    KeyboardRequest fieldRequest(int field) const;

    // The colour field: the item's colour is offered again, the user picks
    // one (possibly the same), the panel marks it taken.
    bool changeColour();
    void setAfterimage(int zanIndex); // 0 "On" -> 1, 1 "off" -> 0
    void setPenWidth(int penwIndex);  // 0..2 -> 1..3

    // The delete button: asks, then deletes the shown entry. Closes the
    // session when its list becomes empty.
    bool deleteCurrent();

  private:
    Item &shownItem() const;
    bool editItemField(int field);
    bool editDefinition();
    void listChanged();

    DefinitionContext ctx_;
    bool open_ = false;
    int mode_ = CorrectItems;
    int number_ = 1;
};

} // namespace gq
