#include "control/definition_commands.h"

#include "control/definition_keys.h"
#include "control/document_history.h"
#include "control/formula_edit.h"
#include <algorithm>

namespace gq
{

namespace
{
void listChanged(DefinitionContext &ctx)
{
    if (ctx.listChanged)
        ctx.listChanged();
}

bool addDefinition(DefinitionContext &ctx, char prefix)
{
    const bool function = prefix == kFunctionPrefix;
    int &count = function ? ctx.doc.functionCount : ctx.doc.constantCount;
    if (count >= kMaxDefinitions)
        return false;
    const int n = count + 1;
    KeyboardRequest request = function ? addFunctionRequest(ctx.doc) : addConstantRequest(ctx.doc);
    auto text = askUntilAccepted(ctx.questions, request, true, [&](const std::string &answer) {
        return checkDefinitionText(ctx.doc, prefix, n, answer);
    });
    if (!text)
        return false;
    (function ? ctx.doc.functionTexts : ctx.doc.constantTexts)[n] = *text;
    count = n;
    listChanged(ctx);
    return true;
}

bool newDefinitions(DefinitionContext &ctx, char prefix)
{
    const bool function = prefix == kFunctionPrefix;
    bool changed = false;
    if ((function ? ctx.doc.functionCount : ctx.doc.constantCount) > 0) {
        if (!ctx.questions.confirm(function ? WarnFunctions : WarnConstants))
            return false;
        if (function)
            deleteAllFunctions(ctx.doc, ctx.panel);
        else
            deleteAllConstants(ctx.doc, ctx.panel);
        changed = true;
        listChanged(ctx);
    }
    return addDefinition(ctx, prefix) || changed;
}

const QString &definitionStep(char prefix)
{
    return prefix == kFunctionPrefix ? step_names::kFunctionDefinition : step_names::kConstantDefinition;
}

// A command and its step: the deletions of "新規" and the definition it
// adds are one step.
bool asStep(DefinitionContext &ctx, bool changed, const QString &name)
{
    finishStep(ctx, name);
    return changed;
}
} // namespace

void finishStep(DefinitionContext &ctx, const QString &name)
{
    if (ctx.stepDone)
        ctx.stepDone(name);
}

QString checkDefinitionText(const Document &doc, char prefix, int n, const std::string &text)
{
    if (n < 1 || n > kMaxDefinitions)
        return wrongFormulaMessage();
    Document trial = doc;
    if (prefix == kFunctionPrefix) {
        trial.functionTexts[n] = text;
        trial.functionCount = std::max(trial.functionCount, n);
    } else {
        trial.constantTexts[n] = text;
        trial.constantCount = std::max(trial.constantCount, n);
    }
    // Parsed as the body of the definition, a reference to itself (through
    // any chain) meets the parser's cycle check.
    return checkWithDefinitions(trial, text);
}

bool addFunction(DefinitionContext &ctx)
{
    return asStep(ctx, addDefinition(ctx, kFunctionPrefix), definitionStep(kFunctionPrefix));
}
bool addConstant(DefinitionContext &ctx)
{
    return asStep(ctx, addDefinition(ctx, kConstantPrefix), definitionStep(kConstantPrefix));
}
bool newFunctions(DefinitionContext &ctx)
{
    return asStep(ctx, newDefinitions(ctx, kFunctionPrefix), definitionStep(kFunctionPrefix));
}
bool newConstants(DefinitionContext &ctx)
{
    return asStep(ctx, newDefinitions(ctx, kConstantPrefix), definitionStep(kConstantPrefix));
}

bool eraseAllDefinitions(DefinitionContext &ctx)
{
    if (!ctx.questions.confirm(WarnAllDefinitions))
        return false;
    deleteAllFunctions(ctx.doc, ctx.panel);
    deleteAllConstants(ctx.doc, ctx.panel);
    listChanged(ctx);
    return asStep(ctx, true, step_names::kEraseDefinitions);
}

bool confirmDeleteFunction(DefinitionContext &ctx, int p)
{
    if (p < 1 || p > ctx.doc.functionCount || !ctx.questions.confirm(WarnFunctions))
        return false;
    deleteFunction(ctx.doc, ctx.panel, p);
    listChanged(ctx);
    return asStep(ctx, true, step_names::kDeletion);
}

bool confirmDeleteConstant(DefinitionContext &ctx, int p)
{
    if (p < 1 || p > ctx.doc.constantCount || !ctx.questions.confirm(WarnConstants))
        return false;
    deleteConstant(ctx.doc, ctx.panel, p);
    listChanged(ctx);
    return asStep(ctx, true, step_names::kDeletion);
}

} // namespace gq
