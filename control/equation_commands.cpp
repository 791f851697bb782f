#include "control/equation_commands.h"

#include "model/equation_file.h"

namespace gq
{

bool saveEquations(GraphController &controller, const QString &path)
{
    const QString error = saveEquationFile(path, controller.doc());
    if (error.isEmpty())
        return true;
    controller.ask().showMessage(error);
    return false;
}

LoadOutcome loadEquations(GraphController &controller, const QString &path)
{
    const LoadResult result = loadEquationFile(path);
    switch (result.status) {
    case LoadResult::Loaded:
        applyEquationFile(result, controller.doc());
        return LoadOutcome::Loaded;
    case LoadResult::NotEquationFile:
        return LoadOutcome::NotOurs;
    case LoadResult::Refused:
    case LoadResult::ReadError:
        break;
    }
    controller.ask().showMessage(result.message);
    return LoadOutcome::Failed;
}

bool readEquationsAndRefresh(GraphController &controller, const QString &path)
{
    if (!path.isEmpty()) {
        // A file that is not ours or that could not be read leaves the
        // document and its display exactly as they were.
        if (loadEquations(controller, path) != LoadOutcome::Loaded)
            return false;
    }
    return controller.refreshAfterLoad();
}

} // namespace gq
