// The modal questions that the document's flows ask the user: the formula
// keyboard, the colour panel, the confirmation dialog, messages, whether to
// save changes first and whether to restore the work of a run that crashed. The program answers
// them with the real dialogs (DialogQuestions); tests script the answers.
#pragma once

#include "model/colours.h"
#include <QString>
#include <array>
#include <cstdint>
#include <string>

namespace gq
{

// How the caller sets up one opening of the formula keyboard.
struct KeyboardRequest {
    QString caption;         // the prompt, shown as the window caption
    std::string initialText; // Shift-JIS formula text the line starts with
    int layout = 1;          // 0 number, 1 formula, 2 plain number
    bool keysXYZ = true;     // keys x, y, z
    bool keysSgnGaus = true; // keys sgn and gaus
    bool keyT = true, keyI = true, keyX = true;
    int funcKeys = 0;  // F1..funcKeys enabled
    int constKeys = 0; // Q1..constKeys enabled
    QString message;   // the message line at opening (usually empty)
    // Finer settings, neutral by default. Key x is enabled when keysXYZ and
    // keyX are both true; y and z likewise with keyY and keyZ. Key F<n> is
    // enabled when n <= funcKeys and funcKeyOff[n-1] is false; Q<n> likewise.
    bool keyY = true, keyZ = true;
    std::array<bool, 6> funcKeyOff{};
    std::array<bool, 6> constKeyOff{};
};

// Texts of the confirmation dialog by kind (1, 2, 3, 5, 6).
enum WarningKind : int {
    WarnFunctions = 1,
    WarnConstants = 2,
    WarnAllItems = 3,
    WarnCurrentItem = 5,
    WarnAllDefinitions = 6,
};

// The answers to the question asked before unsaved changes would be lost.
enum class SaveChangesAnswer {
    Save,     // "保存": save first, then go on
    DontSave, // "保存しない": go on without saving
    Cancel,   // "取消し" or a closed window: stop, everything stays as it was
};

// The answers to the question asked at start-up when the last run ended
// without a clean quit and left its work behind.
enum class RestoreAnswer {
    Restore, // "復元": open that work
    Discard, // "破棄": delete it
    Keep,    // a closed window: neither; it is offered again at the next start
};

class Questions
{
  public:
    virtual ~Questions() = default;
    // KeyboardResult: the text the user closed the keyboard with; "" = cancelled.
    virtual std::string askKeyboard(const KeyboardRequest &request) = 0;
    // chosenColour: one of the offered colours, which the panel marks taken.
    virtual uint32_t chooseColour(ColourPanelState &panel) = 0;
    // WarningAnswer: true for "了解", false for "取消し" or a closed window.
    virtual bool confirm(int warningKind) = 0;
    // A message box with one OK button (file errors and the like).
    virtual void showMessage(const QString &text) = 0;
    // The document has changes that are not saved: "保存", "保存しない" or "取消し".
    virtual SaveChangesAnswer askSaveChanges() = 0;
    // "前回終了時の作業を復元しますか": "復元", "破棄" or a closed window.
    virtual RestoreAnswer askRestore() = 0;
};

} // namespace gq
