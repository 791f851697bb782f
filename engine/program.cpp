#include "engine/program.h"

#include "engine/evaluate.h"

namespace gq
{

Program::Program(const ExprNode *tree) : tree_(copyTree(tree)) {}

Program::Program(const Program &other) : tree_(copyTree(other.tree_.get())) {}

Program &Program::operator=(const Program &other)
{
    if (this != &other)
        tree_.reset(copyTree(other.tree_.get()));
    return *this;
}

long double Program::evaluate(long double x, long double y)
{
    return gq::evaluate(tree_.get(), x, y);
}

} // namespace gq
