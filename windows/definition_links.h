// The definition menu's commands with the correction window they may open.
#pragma once

#include "control/definition_commands.h"
#include "windows/correction_window.h"

namespace gq
{

// Runs one command of the "式定義" menu: the "新規", "追加" and "全削除" flows,
// and "訂正", which opens correctionWindow in function or constant mode. The main
// window updates its menus and list afterwards. True when a drawn item may
// have changed (a deletion or a correction).
bool runDefinitionCommand(DefinitionContext &context, CorrectionWindow &correctionWindow,
                          DefinitionCommand command);

} // namespace gq
