// The main window's file commands without their file dialogs: writing the
// document to an equation file, reading one into it, and the question asked
// before unsaved changes would be lost.
#pragma once

#include "control/graph_controller.h"
#include <QString>
#include <QStringList>
#include <functional>

namespace gq
{

// Writes the document and the parameters a, b, c, d, f to path. A failure is
// reported through the controller's questions; returns false then. Success
// marks the document unmodified, with path as its file.
bool saveEquations(GraphController &controller, const QString &path);

enum class LoadOutcome {
    Loaded,  // the document now holds the file
    NotOurs, // the first line is not the file marker: nothing changed, nothing said
    Failed,  // the file is broken or unreadable: a message was shown, nothing changed
};

// Reads the equation file at path into the controller's document. Only a
// file read completely and found sound replaces the document (marks it
// unmodified, with path as its file, and is one step of the history);
// otherwise it stays exactly as it was. Texts that do not parse
// do not stop the reading: their lines, one "N行目: 式が正しくありません" each,
// go to *unparsable when given.
LoadOutcome loadEquations(GraphController &controller, const QString &path,
                          QStringList *unparsable = nullptr);

// What the window does after a read.
enum class AfterRead {
    Nothing,             // nothing was read: the picture stays as it is
    Redraw,              // a file was read: redraw the graph
    OpenParameterWindow, // the document uses parameters: the parameter window opens and draws
};

// What a read leaves to the window: the picture, and the lines of the file
// whose formulas do not parse ("N行目: 式が正しくありません" each), which the
// window shows in one message over the new picture, before the parameter
// window opens.
struct ReadOutcome {
    AfterRead next = AfterRead::Nothing;
    QStringList unparsable;
    QString message() const { return unparsable.join(QLatin1Char('\n')); } // "" when all parse
};

// The whole read command after its open dialog: reads path (an empty path
// means the dialog was cancelled), then refreshes the list, menus, colours and
// status lines as after every read.
ReadOutcome readEquationsAndRefresh(GraphController &controller, const QString &path);

// Where file names come from: the file dialogs in the program, a script in
// tests. Each returns the chosen path, or "" when the user cancelled.
struct EquationFileNames {
    std::function<QString()> forSaving;  // save dialog, filter "数式 (*.gtq)"
    std::function<QString()> forReading; // open dialog, same filter
};

// "登録した式の保存": asks for a file name and writes. True when written.
bool saveEquationsCommand(GraphController &controller, const EquationFileNames &names);

// Before the document is replaced or the program ends. When the document has
// unsaved changes, asks "保存" / "保存しない" / "取消し"; "保存" asks for a file
// name and writes. True when the caller may go on: nothing to save, "保存しない",
// or saved. False when everything is to stay as it was: "取消し", the file
// dialog cancelled, or the save failed (its message was shown).
bool settleUnsavedChanges(GraphController &controller, const EquationFileNames &names);

// "式の読み込み": settles unsaved changes first (a cancel there ends the
// command with nothing done), then asks for a file and reads it.
ReadOutcome readEquationsCommand(GraphController &controller, const EquationFileNames &names);

// A file named on the command line, read at start-up with the same checks as
// the read command. Unlike the menu, a file that is not an equation file is
// reported ("1行目: 式ファイルではありません"): the user asked for that file.
ReadOutcome openEquationsAtStart(GraphController &controller, const QString &path);

// The message for a file whose first line is not the equation-file marker.
QString notEquationFileMessage();

} // namespace gq
