// Connects the main window's definition menu and correction commands to the
// definition commands and the correction window. Start-up calls this once
// after creating the windows.
#pragma once

#include "control/definition_commands.h"
#include "windows/correction_window.h"
#include "windows/window_links.h"

namespace gq
{

// Runs one command of the "式定義" menu: the "新規", "追加" and "全削除" flows,
// and "訂正", which opens correctform in function or constant mode. The main
// window updates its menus and list afterwards. True when a drawn item may
// have changed (a deletion or a correction).
bool runDefinitionCommand(DefinitionContext &context, CorrectionWindow &correctform,
                          DefinitionCommand command);

// Fills links.openCorrection and links.definitionCommand. The context's
// references and correctform must outlive the links. redrawGraph (may be
// empty) runs after the correction window closes and after a definition
// command that changed the document, so that the graph never shows an item
// that is gone or a formula as it was before a correction.
void linkDefinitionWindows(WindowLinks &links, CorrectionWindow &correctform, DefinitionContext context,
                           std::function<void()> redrawGraph);

} // namespace gq
