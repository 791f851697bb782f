#include "windows/dialog_questions.h"

#include "windows/colour_panel.h"
#include "windows/keyboard.h"
#include "windows/warning_dialog.h"
#include <QMessageBox>
#include <QPushButton>

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

SaveChangesAnswer DialogQuestions::askSaveChanges()
{
    QMessageBox box(QMessageBox::Question, QString(), saveChangesText(), QMessageBox::NoButton,
                    messageParent_);
    box.setObjectName(QStringLiteral("savechanges"));
    // The buttons carry object names so that tests can find and press them.
    QPushButton *save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("save"));
    QPushButton *discard = box.addButton(QStringLiteral("保存しない"), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("dontsave"));
    QPushButton *cancel = box.addButton(QStringLiteral("取消し"), QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChangesAnswer::Save;
    if (box.clickedButton() == discard)
        return SaveChangesAnswer::DontSave;
    return SaveChangesAnswer::Cancel;
}

RestoreAnswer DialogQuestions::askRestore()
{
    QMessageBox box(QMessageBox::Question, QString(), restoreText(), QMessageBox::NoButton, messageParent_);
    box.setObjectName(QStringLiteral("restore"));
    QPushButton *restore = box.addButton(QStringLiteral("復元"), QMessageBox::AcceptRole);
    restore->setObjectName(QStringLiteral("restore"));
    QPushButton *discard = box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("discard"));
    // Nothing is lost by a closed box: the work is offered again next time.
    QPushButton *later = box.addButton(QMessageBox::Cancel);
    later->hide();
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore)
        return RestoreAnswer::Restore;
    if (box.clickedButton() == discard)
        return RestoreAnswer::Discard;
    return RestoreAnswer::Keep;
}

QString restoreText()
{
    return QStringLiteral("前回終了時の作業を復元しますか");
}

QString saveChangesText()
{
    return QStringLiteral("登録した式の変更が保存されていません。保存しますか？");
}

} // namespace gq
