#include "document/definition_links.h"

void RunDefinitionCommand(DefinitionContext &context, Tcorrectform &correctform, DefinitionCommand command)
{
    switch (command) {
    case DefinitionCommand::NewFunctions:
        NewFunctions(context);
        break;
    case DefinitionCommand::AddFunction:
        AddFunction(context);
        break;
    case DefinitionCommand::CorrectFunctions:
        correctform.Run(CorrectFunctions);
        break;
    case DefinitionCommand::NewConstants:
        NewConstants(context);
        break;
    case DefinitionCommand::AddConstant:
        AddConstant(context);
        break;
    case DefinitionCommand::CorrectConstants:
        correctform.Run(CorrectConstants);
        break;
    case DefinitionCommand::EraseAll:
        EraseAllDefinitions(context);
        break;
    }
}

void LinkDefinitionWindows(WindowLinks &links, Tcorrectform &correctform, DefinitionContext context)
{
    links.openCorrection = [&correctform](int mode) { correctform.Run(mode); };
    links.definitionCommand = [&correctform, context](DefinitionCommand command) mutable {
        RunDefinitionCommand(context, correctform, command);
    };
}
