#include "windows/definition_links.h"

bool RunDefinitionCommand(DefinitionContext &context, Tcorrectform &correctform, DefinitionCommand command)
{
    switch (command) {
    case DefinitionCommand::NewFunctions:
        return NewFunctions(context);
    case DefinitionCommand::AddFunction: // no drawn item can change
        AddFunction(context);
        return false;
    case DefinitionCommand::CorrectFunctions:
        correctform.Run(CorrectFunctions);
        return true;
    case DefinitionCommand::NewConstants:
        return NewConstants(context);
    case DefinitionCommand::AddConstant:
        AddConstant(context);
        return false;
    case DefinitionCommand::CorrectConstants:
        correctform.Run(CorrectConstants);
        return true;
    case DefinitionCommand::EraseAll:
        return EraseAllDefinitions(context);
    }
    return false;
}

void LinkDefinitionWindows(WindowLinks &links, Tcorrectform &correctform, DefinitionContext context,
                           std::function<void()> redrawGraph)
{
    links.openCorrection = [&correctform, redrawGraph](int mode) {
        correctform.Run(mode);
        if (redrawGraph)
            redrawGraph();
    };
    links.definitionCommand = [&correctform, context, redrawGraph](DefinitionCommand command) mutable {
        if (RunDefinitionCommand(context, correctform, command) && redrawGraph)
            redrawGraph();
    };
}
