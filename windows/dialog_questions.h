// Answers the document's questions with the real dialogs, shown modally.
#pragma once

#include "control/questions.h"
#include <QString>

class QWidget;

namespace gq
{

class ColourPanel;
class FormulaKeyboard;
class ConfirmDialog;

class DialogQuestions : public Questions
{
  public:
    // The dialogs are not owned; they are created once at start-up and must
    // outlive this object. messageParent (may be null) owns message boxes.
    DialogQuestions(FormulaKeyboard &keyboard, ColourPanel &colourPanel, ConfirmDialog &warning,
                    QWidget *messageParent);

    std::string askKeyboard(const KeyboardRequest &request) override;
    uint32_t chooseColour(ColourPanelState &panel) override;
    bool confirm(int warningKind) override;
    void showMessage(const QString &text) override;
    // A message box with "保存", "保存しない" and "取消し"; Escape and the close
    // box answer "取消し".
    SaveChangesAnswer askSaveChanges() override;
    // A message box with "復元" and "破棄"; Escape and the close box leave
    // the work for the next start.
    RestoreAnswer askRestore() override;

  private:
    FormulaKeyboard &keyboard_;
    ColourPanel &colourPanel_;
    ConfirmDialog &warning_;
    QWidget *messageParent_;
};

// The text of the save question.
QString saveChangesText();
// The text of the question at start-up after a crash.
QString restoreText();

} // namespace gq
