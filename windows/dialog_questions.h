// Answers the document's questions with the real dialogs, shown modally.
#pragma once

#include "control/questions.h"

class QWidget;
class Tclpanel;
class Tkeyfunc;
class Twarning;

class DialogQuestions : public Questions
{
  public:
    // The dialogs are not owned; they are created once at start-up and must
    // outlive this object. messageParent (may be null) owns message boxes.
    DialogQuestions(Tkeyfunc &keyboard, Tclpanel &colourPanel, Twarning &warning, QWidget *messageParent);

    std::string AskKeyboard(const KeyboardRequest &request) override;
    uint32_t ChooseColour(ColourPanelState &panel) override;
    bool Confirm(int warningKind) override;
    void ShowMessage(const QString &text) override;

  private:
    Tkeyfunc &keyboard_;
    Tclpanel &colourPanel_;
    Twarning &warning_;
    QWidget *messageParent_;
};
