// The main window's behaviour without its widgets: registration of items,
// the item list, the status lines and the menu state. The window forwards its
// menu clicks here and then shows what changed; tests drive it the same way
// with scripted answers.
#pragma once

#include "control/document_history.h"
#include "control/item_list_panel.h"
#include "control/menu_state.h"
#include "control/questions.h"
#include "control/status_lines.h"
#include "model/document.h"
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace gq
{

// Keyboard keys whose state carries over from one registration step to the
// next (a step that does not mention a key leaves it as the last step set it).
struct RegistrationKeys {
    bool xyz = true;
    bool sgnGaus = true;
    bool t = true;
    bool i = true;
};

class GraphController
{
  public:
    // doc and list are not owned and must outlive the controller.
    GraphController(Document &doc, ListSurface &list);

    // The modal questions (not owned). Until one is set every question is
    // answered as cancelled, so no command can change the document.
    void setQuestions(Questions *questions);
    Questions &ask();

    Document &doc() { return doc_; }
    ColourPanelState &colours() { return colourPanel_; }
    const MenuState &menus() const { return menus_; }
    MenuState &menus() { return menus_; }
    const UsedParamTable &usedParams() const { return usedParams_; }
    const QString &rangeLine() const { return rangeLine_; }
    const QString &paramLine() const { return paramLine_; }

    // Interval tool state shared with the graph drawing.
    bool &showMaxMin() { return *showMaxMin_; }
    void setShowMaxMinFlag(bool *flag) { showMaxMin_ = flag ? flag : &ownShowMaxMin_; }

    // Called after the menus or a status line changed (not after list drawing,
    // which the list surface reports itself).
    std::function<void()> onChange;

    // Document defaults of a fresh window: range -5..5, parameters 0 except
    // j = n = 1, every item record reset, no definitions, grid off, scale on.
    void resetDocument();

    // "新規登録": kind 1..6. Empties the list (after confirmation when it has
    // items) and registers one item of that kind.
    void newRegistration(ItemKind kind);
    // "追加登録": kind 0..6; kind 0 is the derivative of item 1.
    void addRegistration(ItemKind kind);
    // Appends currentItem after the user chose its colour.
    void commitItem();

    void redrawItemList();
    void updateMenus();
    void updateParamStatus();
    void updateRangeStatus();

    // Asks for a plain number (layout 0 or 2) with the current keys; returns
    // the raw answer ("" when cancelled) and stores "0" in number for it.
    std::string readNumber(const QString &prompt, int layout, std::string &number);

    // The interval command's two prompts; each answer is evaluated as a
    // constant formula. False when a bound could not be evaluated.
    bool askIntervalBounds(long double &lower, long double &upper);

    // The refresh after reading an equation file: list, menus, colours and
    // status lines follow the loaded document. Returns true when some item uses
    // a parameter (the parameter window should then be opened).
    bool refreshAfterLoad();

    // Draws the list and the status lines without changing anything.
    void showAll();

    // Unsaved changes. The document counts as modified when what an equation
    // file keeps of it (range, parameters a..f, definitions, items) differs
    // from the state last marked: after resetDocument, a save or a read.
    // Comparing the file's lines catches a change made by any window, even
    // one that knows nothing of this, and a change undone by hand is no
    // change; what a file does not keep (j, n, θ, grid) is never asked about.
    bool isModified() const;
    void markUnmodified();

    // Counts as modified whatever it holds, until the next save, read or
    // markUnmodified (a document restored after a crash).
    void markModified() { forcedModified_ = true; }

    // The file the document was last saved to or read from, as an absolute
    // path (a restored document is found from any folder); "" for none.
    const QString &documentPath() const { return documentPath_; }
    void setDocumentPath(const QString &path);

    // The history of the document (元に戻す, やり直し). Every command that
    // changes the document records its step; so does the window after a
    // change it makes itself (the frame, the parameters).
    DocumentHistory &history() { return history_; }
    bool recordStep(const QString &name) { return history_.record(name); }
    // 元に戻す / やり直し: the document takes the state before / after the
    // step, and the list, menus, colours and status lines follow it at once;
    // overlay display ends, as the graph is to be drawn afresh by the caller.
    // False when there was nothing to take back or make again.
    bool undo();
    bool redo();

    ItemListPainter &painter() { return painter_; }

  private:
    void refreshAfterStep();
    void changed();
    KeyboardRequest request(const QString &caption, int layout) const;
    std::string askFormula(const QString &caption);
    // Runs the prompts of one kind into currentItem; returns the raw result of
    // the last prompt that was shown ("" when the sequence was cancelled).
    std::string runInputSequence(ItemKind kind);
    void registerItem(ItemKind kind);

    Document &doc_;
    ItemListPainter painter_;
    Questions *questions_ = nullptr;
    ColourPanelState colourPanel_;
    MenuState menus_;
    UsedParamTable usedParams_{};
    QString rangeLine_;
    QString paramLine_;
    RegistrationKeys keys_;
    std::vector<std::string> savedLines_; // the file lines at the last mark
    bool savedLinesValid_ = false;        // false: the marked state could not be written
    bool forcedModified_ = false;
    QString documentPath_;
    DocumentHistory history_;
    bool ownShowMaxMin_ = false;
    bool *showMaxMin_ = &ownShowMaxMin_;
};

} // namespace gq
