// The two file commands of the main window, without their file dialogs:
// writing the document to an equation file and reading one into it.
#pragma once

#include "control/graph_controller.h"
#include <QString>

namespace gq
{

// Writes the document and the parameters a, b, c, d, f to path. A failure is
// reported through the controller's questions; returns false then.
bool saveEquations(GraphController &controller, const QString &path);

enum class LoadOutcome {
    Loaded,  // the document now holds the file
    NotOurs, // the first line is not the file marker: nothing changed, nothing said
    Failed,  // the file is broken or unreadable: a message was shown, nothing changed
};

// Reads the equation file at path into the controller's document. Only a
// file read completely and found sound replaces the document; otherwise it
// stays exactly as it was.
LoadOutcome loadEquations(GraphController &controller, const QString &path);

// The whole read command after its open dialog: reads path (an empty path
// means the dialog was cancelled), then refreshes the list, menus, colours and
// status lines as after every read. Returns true when the refreshed document
// uses parameters, so the parameter window is to be opened.
bool readEquationsAndRefresh(GraphController &controller, const QString &path);

} // namespace gq
