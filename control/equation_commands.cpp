#include "control/equation_commands.h"

#include "model/equation_file.h"

bool SaveEquations(GraphController &controller, const QString &path)
{
    const QString error = SaveEquationFile(path, controller.Doc(), VariableTable);
    if (error.isEmpty())
        return true;
    controller.Ask().ShowMessage(error);
    return false;
}

LoadOutcome LoadEquations(GraphController &controller, const QString &path)
{
    const LoadResult result = LoadEquationFile(path);
    switch (result.status) {
    case LoadResult::Loaded:
        ApplyEquationFile(result, controller.Doc(), VariableTable);
        return LoadOutcome::Loaded;
    case LoadResult::NotEquationFile:
        return LoadOutcome::NotOurs;
    case LoadResult::Refused:
    case LoadResult::ReadError:
        break;
    }
    controller.Ask().ShowMessage(result.message);
    return LoadOutcome::Failed;
}

bool ReadEquationsAndRefresh(GraphController &controller, const QString &path)
{
    if (!path.isEmpty()) {
        // A file that is not ours or that could not be read leaves the
        // document and its display exactly as they were.
        if (LoadEquations(controller, path) != LoadOutcome::Loaded)
            return false;
    }
    return controller.RefreshAfterLoad();
}
