#include "windows/dialog_questions.h"

#include "windows/colour_panel.h"
#include "windows/keyboard.h"
#include "windows/warning_dialog.h"
#include <QMessageBox>

DialogQuestions::DialogQuestions(Tkeyfunc &keyboard, Tclpanel &colourPanel, Twarning &warning,
                                 QWidget *messageParent)
    : keyboard_(keyboard), colourPanel_(colourPanel), warning_(warning), messageParent_(messageParent)
{
}

std::string DialogQuestions::AskKeyboard(const KeyboardRequest &request)
{
    return keyboard_.Ask(request);
}

uint32_t DialogQuestions::ChooseColour(ColourPanelState &panel)
{
    return colourPanel_.Choose(panel);
}

bool DialogQuestions::Confirm(int warningKind)
{
    return warning_.Ask(warningKind);
}

void DialogQuestions::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, messageParent_);
    box.exec();
}
