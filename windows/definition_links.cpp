#include "windows/definition_links.h"

namespace gq
{

bool runDefinitionCommand(DefinitionContext &context, CorrectionWindow &correctionWindow,
                          DefinitionCommand command)
{
    switch (command) {
    case DefinitionCommand::NewFunctions:
        return newFunctions(context);
    case DefinitionCommand::AddFunction: // no drawn item can change
        addFunction(context);
        return false;
    case DefinitionCommand::CorrectFunctions:
        correctionWindow.run(CorrectFunctions);
        return true;
    case DefinitionCommand::NewConstants:
        return newConstants(context);
    case DefinitionCommand::AddConstant:
        addConstant(context);
        return false;
    case DefinitionCommand::CorrectConstants:
        correctionWindow.run(CorrectConstants);
        return true;
    case DefinitionCommand::EraseAll:
        return eraseAllDefinitions(context);
    }
    return false;
}

} // namespace gq
