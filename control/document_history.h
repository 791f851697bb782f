// The history of the document for 元に戻す and やり直し: every change of the
// document is one step holding the document before and after it. A caller
// makes a change and then calls record with the step's name; a change that
// is made of many small ones (a drag, a held button) is recorded once, at its
// end, so that one undo takes all of it back.
//
// The steps live on the toolkit's undo stack (QUndoStack, of Qt GUI: no
// widgets, and this library already links Qt GUI through platform/). A step
// keeps whole snapshots of the document, which is small (a few kilobytes);
// consecutive steps share the snapshot between them.
#pragma once

#include "model/document.h"
#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>

namespace gq
{

// Whether two documents hold the same content as far as a step goes: the
// items in use (all but the derived uses-parameter flag), the definitions in
// use, the frame, every parameter, grid and scale. The item being entered,
// the overlay mode and records past the counts are not content.
bool sameContent(const Document &a, const Document &b);

// Puts the content of from into doc (whole lists, including the records past
// the counts, so that a new registration undone brings back what it
// overwrote). The item being entered and the overlay mode stay.
void copyContent(Document &doc, const Document &from);

// A name for a change found only by comparing (the safety net for changes
// nobody named): "追加登録", "削除", "訂正", "式定義", "座標変更", "ﾊﾟﾗﾒﾀ変更",
// "格子表示" or "目盛非表示".
QString describeChange(const Document &before, const Document &after);

// The names of the steps (what 元に戻す and やり直し show after ": ").
namespace step_names
{
inline const QString kNewRegistration = QStringLiteral("新規登録");
inline const QString kAddRegistration = QStringLiteral("追加登録");
inline const QString kCorrection = QStringLiteral("訂正");
inline const QString kDeletion = QStringLiteral("削除");
inline const QString kFunctionDefinition = QStringLiteral("関数定義");
inline const QString kConstantDefinition = QStringLiteral("定数定義");
inline const QString kEraseDefinitions = QStringLiteral("全削除");
inline const QString kRead = QStringLiteral("式の読み込み");
inline const QString kRange = QStringLiteral("座標変更");
inline const QString kStandard = QStringLiteral("標準");
inline const QString kZoomIn = QStringLiteral("拡大");
inline const QString kZoomOut = QStringLiteral("縮小");
inline const QString kMove = QStringLiteral("移動");
inline const QString kParameters = QStringLiteral("ﾊﾟﾗﾒﾀ変更");
inline const QString kGrid = QStringLiteral("格子表示");
inline const QString kScale = QStringLiteral("目盛非表示");
} // namespace step_names

class DocumentHistory
{
  public:
    // The number of steps kept; older ones are forgotten.
    static constexpr int kStepLimit = 100;

    // doc is not owned and must outlive the history. The history starts
    // from doc as it is.
    explicit DocumentHistory(Document &doc);
    ~DocumentHistory();
    DocumentHistory(const DocumentHistory &) = delete;
    DocumentHistory &operator=(const DocumentHistory &) = delete;

    // Forgets every step: the document as it is now is the start.
    void startFrom();

    // One step named label when the document differs from the state of the
    // latest step (or of the start); nothing otherwise. Clears the steps to
    // redo. An empty label names the step by describeChange. Returns whether
    // a step was made.
    bool record(const QString &label);

    // Takes back the latest step (a change not yet recorded is recorded
    // first, so that it is what goes) / makes the next undone step again.
    // False when there is none.
    bool undo();
    bool redo();

    bool canUndo() const { return pending() || stack_.canUndo(); }
    bool canRedo() const { return !pending() && stack_.canRedo(); }
    // The name of the step undo / redo would take; empty when none.
    QString undoName() const;
    QString redoName() const;
    // The steps kept (undone ones included).
    int stepCount() const { return stack_.count(); }

    // Called after every record, undo, redo and startFrom that changed the
    // history (the edit menu and the recovery file follow it).
    std::function<void()> changed;

  private:
    class Step;
    bool pending() const { return !sameContent(doc_, *last_); }
    void apply(const std::shared_ptr<const Document> &state);
    void notify();

    Document &doc_;
    std::shared_ptr<const Document> last_; // the document as of the latest step
    QUndoStack stack_;
};

} // namespace gq
