#include "engine/budget.h"

#include "engine/expr_tree.h"

#include <algorithm>
#include <vector>

namespace gq
{

FormulaBudget::FormulaBudget()
{
    EngineState &state = engineState();
    BudgetState &b = state.budget;
    if (b.formulaScopes++ > 0)
        return;
    b.nodeBase = state.liveNodes;
    b.work = 0;
    b.formulaSpent = false;
    state.tooComplex = false;
}

FormulaBudget::~FormulaBudget()
{
    EngineState &state = engineState();
    BudgetState &b = state.budget;
    if (--b.formulaScopes > 0 || !b.formulaSpent)
        return;
    b.formulaSpent = false;
    state.tooComplex = true;
    state.parseOK = false;
}

FormulaBudgetShare::FormulaBudgetShare(std::size_t units)
{
    BudgetState &b = engineState().budget;
    spentBefore_ = b.formulaSpent;
    const std::size_t left = b.work < kFormulaWorkBudget ? kFormulaWorkBudget - b.work : 0;
    held_ = left > units ? left - units : 0;
    b.work += held_;
}

FormulaBudgetShare::~FormulaBudgetShare()
{
    BudgetState &b = engineState().budget;
    b.work -= held_;
    // The part's trees are freed by now: only the part ran out.
    if (!spentBefore_)
        b.formulaSpent = false;
}

bool FormulaBudgetShare::spent() const
{
    return formulaBudgetSpent();
}

namespace
{
// The multiplications a factorial of n makes (the evaluator stops at the
// largest finite one).
std::uint64_t factorialCost(const ExprNode *operand)
{
    constexpr long double kLargest = 1754;
    if (!isConst(operand))
        return static_cast<std::uint64_t>(kLargest);
    const long double n = operand->value;
    return n > 1 ? static_cast<std::uint64_t>(std::min(n, kLargest)) : 1;
}

// Measured on the development machine: a unit is 1.5 to 5 ns whatever the
// mix of operations.
std::uint64_t nodeCost(const ExprNode *n)
{
    constexpr std::uint64_t kLibraryCall = 30;
    // The trigonometric functions reduce their argument first: beyond a
    // small angle they take twice as long as the others.
    constexpr std::uint64_t kTrigonometric = 60;
    switch (n->op) {
    case OpSin:
    case OpCos:
    case OpTan:
    case OpSec:
    case OpCosec:
    case OpCotan:
        return kTrigonometric;
    case OpX: // the variables and the operations that compare signs
    case OpY:
    case OpZ:
    case OpAdd:
    case OpSubtract:
    case OpMultiply:
    case OpDivide:
    case OpSgn:
    case OpGaus:
        return 2;
    case OpPower:
    case OpArctn:
    case OpLog:
    case OpExp:
    case OpSinh:
    case OpCosh:
    case OpBasedLog:
        return kLibraryCall;
    case OpFactorial:
        return factorialCost(n->left);
    default:
        return 1;
    }
}
} // namespace

std::uint64_t evaluationCost(const ExprNode *tree)
{
    // Without recursion: a tree handed to a Program may be as deep as the
    // budget allows.
    std::uint64_t cost = 0;
    std::vector<const ExprNode *> pending;
    if (tree)
        pending.push_back(tree);
    while (!pending.empty()) {
        const ExprNode *n = pending.back();
        pending.pop_back();
        cost += nodeCost(n);
        if (n->left)
            pending.push_back(n->left);
        if (n->right)
            pending.push_back(n->right);
    }
    return cost;
}

std::uint64_t evaluationNodeCost(const ExprNode *node)
{
    return nodeCost(node);
}

bool fitsEvaluationBudget(const ExprNode *tree)
{
    spendFormulaWork(treeSize(tree));
    if (evaluationCost(tree) <= kFormulaEvaluationBudget)
        return true;
    refuseFormula();
    return false;
}

EvaluationBudget::EvaluationBudget(std::uint64_t units)
{
    BudgetState &b = engineState().budget;
    outerLeft_ = b.evaluationLeft;
    outerSpent_ = b.evaluationSpent;
    limit_ = std::min(outerLeft_, units);
    b.evaluationLeft = limit_;
    b.evaluationSpent = false;
}

EvaluationBudget::~EvaluationBudget()
{
    BudgetState &b = engineState().budget;
    const std::uint64_t used = limit_ - b.evaluationLeft;
    const bool spentHere = b.evaluationSpent;
    b.evaluationLeft = outerLeft_ - used;
    // Running out here ran the enclosing budget out only if nothing was left
    // there either.
    b.evaluationSpent = outerSpent_ || (spentHere && limit_ == outerLeft_);
}

} // namespace gq
