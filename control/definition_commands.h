// The commands of the "式定義" menu and the deletion of one definition from
// the correction window, driven through Questions so that tests script the
// answers. Each returns true when the document changed; the caller then
// updates the menus and redraws the item list.
#pragma once

#include "control/questions.h"
#include <QString>
#include "model/definitions.h"
#include "model/document.h"
#include <functional>

namespace gq
{

// The commands of the formula-definition menu.
enum class DefinitionCommand {
    NewFunctions,     // "新規" of functions
    AddFunction,      // "追加" of functions
    CorrectFunctions, // "訂正" of functions
    NewConstants,
    AddConstant,
    CorrectConstants,
    EraseAll, // "全削除"
};

struct DefinitionContext {
    Document &doc;
    ColourPanelState &panel; // colours of deleted items are offered again
    Questions &questions;
    // Redraws the list panel at once (before the keyboard opens, after a
    // deletion); may be empty.
    std::function<void()> listChanged;
    // Records one step of the history with its name after each command that
    // may have changed the document (the history ignores a command that did
    // not); may be empty.
    std::function<void(const QString &name)> stepDone;
};

// Calls ctx.stepDone when there is one.
void finishStep(DefinitionContext &ctx, const QString &name);

// The text as definition n of its kind would be stored (F<n> when prefix is
// 'F'): refused with the keyboard's message when it would not parse there,
// for instance because it refers to itself directly or through others.
QString checkDefinitionText(const Document &doc, char prefix, int n, const std::string &text);

// "追加" (DeffuncAClick / DefconstAClick): asks for F<count+1> (Q<count+1>);
// an empty answer adds nothing. Nothing happens at six definitions.
bool addFunction(DefinitionContext &ctx);
bool addConstant(DefinitionContext &ctx);

// "新規" (deffuncNClick / DefconstNClick): with definitions present asks
// first (kind 1 / 2), deletes them all with everything that uses them, then
// adds the first one.
bool newFunctions(DefinitionContext &ctx);
bool newConstants(DefinitionContext &ctx);

// "全削除" (EraseClick): asks (kind 6), then deletes every definition and every
// item that uses one.
bool eraseAllDefinitions(DefinitionContext &ctx);

// The delete button of the correction window: asks (kind 1 / 2), then deletes
// F<p> (Q<p>) with its whole cascade.
bool confirmDeleteFunction(DefinitionContext &ctx, int p);
bool confirmDeleteConstant(DefinitionContext &ctx, int p);

} // namespace gq
