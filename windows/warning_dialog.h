// The confirmation dialog `warning`, asked before anything is deleted.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace gq
{

class ConfirmDialog : public QDialog
{
    Q_OBJECT
  public:
    explicit ConfirmDialog(QWidget *parent = nullptr);

    // The text shown for a WarningKind (1, 2, 3, 5, 6); "" for other kinds.
    static QString warningText(int kind);

    // Sets up one opening: the text of kind; WarningAnswer := false.
    void prepare(int kind);
    // Prepare, then show modally. Returns WarningAnswer: true only for
    // "了解"; "取消し", Escape and the close box answer false.
    bool ask(int kind);

    bool answer() const { return answer_; }
    QString Text() const;

    void yesClicked(); // "了解 (&Y)"
    void noClicked();  // "取消し (&N)"

  private:
    QLabel *text_ = nullptr;
    bool answer_ = false;
};

} // namespace gq
