#include "windows/running_program.h"

#include <QTimer>

namespace gq
{

RunningProgram::RunningProgram(const QString &recoveryFolder, Questions *answers)
    : store_(recoveryFolder), windows_(graph_, answers), keeper_(graph_.controller(), store_)
{
    graph_.setRecovery(&keeper_);
}

RunningProgram::~RunningProgram()
{
    graph_.setRecovery(nullptr);
}

void RunningProgram::start(const QString &file)
{
    graph_.show();
    QTimer::singleShot(0, &graph_, [this, file] { graph_.startUp(file); });
}

} // namespace gq
