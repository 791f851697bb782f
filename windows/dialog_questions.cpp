#include "windows/dialog_questions.h"

#include "windows/colour_panel.h"
#include "windows/keyboard.h"
#include "windows/warning_dialog.h"
#include <QMessageBox>

namespace gq
{

DialogQuestions::DialogQuestions(FormulaKeyboard &keyboard, ColourPanel &colourPanel, ConfirmDialog &warning,
                                 QWidget *messageParent)
    : keyboard_(keyboard), colourPanel_(colourPanel), warning_(warning), messageParent_(messageParent)
{
}

std::string DialogQuestions::askKeyboard(const KeyboardRequest &request)
{
    return keyboard_.ask(request);
}

uint32_t DialogQuestions::chooseColour(ColourPanelState &panel)
{
    return colourPanel_.choose(panel);
}

bool DialogQuestions::confirm(int warningKind)
{
    return warning_.ask(warningKind);
}

void DialogQuestions::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, messageParent_);
    box.exec();
}

} // namespace gq
