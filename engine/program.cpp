#include "engine/program.h"

#include "engine/budget.h"
#include "engine/evaluate.h"

namespace gq
{

Program::Program(const ExprNode *tree) : tree_(copyTree(tree)), cost_(gq::evaluationCost(tree)) {}

Program::Program(const Program &other) : tree_(copyTree(other.tree_.get())), cost_(other.cost_) {}

Program &Program::operator=(const Program &other)
{
    if (this != &other) {
        tree_.reset(copyTree(other.tree_.get()));
        cost_ = other.cost_;
    }
    return *this;
}

long double Program::evaluate(long double x, long double y)
{
    if (!spendEvaluation(cost_)) {
        EngineState &state = engineState();
        state.variables.x = x;
        state.variables.y = y;
        state.evalValid = false;
        return 0;
    }
    return gq::evaluate(tree_.get(), x, y);
}

} // namespace gq
