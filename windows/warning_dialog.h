// The confirmation dialog `warning`, asked before anything is deleted.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class Twarning : public QDialog
{
    Q_OBJECT
  public:
    explicit Twarning(QWidget *parent = nullptr);

    // The text shown for a WarningKind (1, 2, 3, 5, 6); "" for other kinds.
    static QString WarningText(int kind);

    // Sets up one opening: the text of kind; WarningAnswer := false.
    void Prepare(int kind);
    // Prepare, then show modally. Returns WarningAnswer: true only for
    // "了解"; "取消し", Escape and the close box answer false.
    bool Ask(int kind);

    bool Answer() const { return answer_; }
    QString Text() const;

    void YesClick(); // "了解 (&Y)"
    void NoClick();  // "取消し (&N)"

  private:
    QLabel *text_ = nullptr;
    bool answer_ = false;
};
