// The file dialogs of the main window's file menu.
#pragma once

#include "control/equation_commands.h"
#include "control/graph_export.h"
#include <functional>

class QWidget;

namespace gq
{

// Save and open dialogs for equation files (filter "数式 (*.gtq)", default
// extension gtq), shown over parent. The save dialog starts at the file
// documentFile names, when it names one (the document's own file).
EquationFileNames equationFileDialogs(QWidget *parent, std::function<QString()> documentFile = {});

// The save dialog of "グラフを保存": one filter per offered picture format; the
// default extension follows the chosen filter.
GraphFileChoice askGraphFile(QWidget *parent);

} // namespace gq
