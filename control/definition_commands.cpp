#include "control/definition_commands.h"

#include "control/definition_keys.h"
#include "control/formula_edit.h"
#include <algorithm>

namespace
{
void ListChanged(DefinitionContext &ctx)
{
    if (ctx.listChanged)
        ctx.listChanged();
}

bool AddDefinition(DefinitionContext &ctx, char prefix)
{
    const bool function = prefix == kFunctionPrefix;
    int &count = function ? ctx.doc.DefFuncCount : ctx.doc.DefConstCount;
    if (count >= kMaxDefinitions)
        return false;
    const int n = count + 1;
    KeyboardRequest request = function ? AddFunctionRequest(ctx.doc) : AddConstantRequest(ctx.doc);
    auto text = AskUntilAccepted(ctx.questions, request, true, [&](const std::string &answer) {
        return CheckDefinitionText(ctx.doc, prefix, n, answer);
    });
    if (!text)
        return false;
    (function ? ctx.doc.DefFuncText : ctx.doc.DefConstText)[n] = *text;
    count = n;
    ListChanged(ctx);
    return true;
}

bool NewDefinitions(DefinitionContext &ctx, char prefix)
{
    const bool function = prefix == kFunctionPrefix;
    bool changed = false;
    if ((function ? ctx.doc.DefFuncCount : ctx.doc.DefConstCount) > 0) {
        if (!ctx.questions.Confirm(function ? WarnFunctions : WarnConstants))
            return false;
        if (function)
            DeleteAllFunctions(ctx.doc, ctx.panel);
        else
            DeleteAllConstants(ctx.doc, ctx.panel);
        changed = true;
        ListChanged(ctx);
    }
    return AddDefinition(ctx, prefix) || changed;
}
} // namespace

QString CheckDefinitionText(const Document &doc, char prefix, int n, const std::string &text)
{
    if (n < 1 || n > kMaxDefinitions)
        return WrongFormulaMessage();
    Document trial = doc;
    if (prefix == kFunctionPrefix) {
        trial.DefFuncText[n] = text;
        trial.DefFuncCount = std::max(trial.DefFuncCount, n);
    } else {
        trial.DefConstText[n] = text;
        trial.DefConstCount = std::max(trial.DefConstCount, n);
    }
    // Parsed as the body of the definition, a reference to itself (through
    // any chain) meets the parser's cycle check.
    return CheckWithDefinitions(trial, text);
}

bool AddFunction(DefinitionContext &ctx)
{
    return AddDefinition(ctx, kFunctionPrefix);
}
bool AddConstant(DefinitionContext &ctx)
{
    return AddDefinition(ctx, kConstantPrefix);
}
bool NewFunctions(DefinitionContext &ctx)
{
    return NewDefinitions(ctx, kFunctionPrefix);
}
bool NewConstants(DefinitionContext &ctx)
{
    return NewDefinitions(ctx, kConstantPrefix);
}

bool EraseAllDefinitions(DefinitionContext &ctx)
{
    if (!ctx.questions.Confirm(WarnAllDefinitions))
        return false;
    DeleteAllFunctions(ctx.doc, ctx.panel);
    DeleteAllConstants(ctx.doc, ctx.panel);
    ListChanged(ctx);
    return true;
}

bool ConfirmDeleteFunction(DefinitionContext &ctx, int p)
{
    if (p < 1 || p > ctx.doc.DefFuncCount || !ctx.questions.Confirm(WarnFunctions))
        return false;
    DeleteFunction(ctx.doc, ctx.panel, p);
    ListChanged(ctx);
    return true;
}

bool ConfirmDeleteConstant(DefinitionContext &ctx, int p)
{
    if (p < 1 || p > ctx.doc.DefConstCount || !ctx.questions.Confirm(WarnConstants))
        return false;
    DeleteConstant(ctx.doc, ctx.panel, p);
    ListChanged(ctx);
    return true;
}
