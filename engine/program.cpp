// Building a Program: the tree's nodes are numbered (operations in post-order,
// then leaves, then the blank entry) and each operation is laid: where its
// operands' values come from, which specialised code runs it, and what of
// each node is read after its step (so that the evaluator writes nothing that
// is not read again).
#include "engine/program.h"

#include "engine/budget.h"
#include "engine/eval_code.h"
#include "engine/eval_operations.h"

namespace gq
{

using namespace eval_detail;

namespace
{
struct Counts {
    uint32_t operations = 0, leaves = 0;
};

void countNodes(const ExprNode *n, Counts &counts)
{
    if (!n)
        return;
    if (!isOperationCode(n->op)) {
        ++counts.leaves;
        return;
    }
    countNodes(n->left, counts);
    countNodes(n->right, counts);
    ++counts.operations;
}

// Numbers the nodes into steps and slots: operations from 0 in post-order,
// leaves from the first index after the operations; links each operation to
// its operands.
class Numbering
{
  public:
    Numbering(std::vector<program_detail::Step> &steps, std::vector<program_detail::Slot> &slots,
              uint32_t firstLeaf, uint32_t blank)
        : steps_(steps), slots_(slots), nextLeaf_(firstLeaf), blank_(blank)
    {
    }

    // The index of n (blank for null).
    uint32_t place(const ExprNode *n)
    {
        if (!n)
            return blank_;
        if (!isOperationCode(n->op)) {
            const uint32_t k = nextLeaf_++;
            steps_[k].op = n->op;
            slots_[k].value = n->value;
            return k;
        }
        const uint32_t left = place(n->left), right = place(n->right);
        const uint32_t k = nextOperation_++;
        program_detail::Step &step = steps_[k];
        step.op = n->op;
        step.left = &slots_[left];
        step.right = &slots_[right];
        step.leftCode = &steps_[left];
        step.rightCode = &steps_[right];
        return k;
    }

  private:
    std::vector<program_detail::Step> &steps_;
    std::vector<program_detail::Slot> &slots_;
    uint32_t nextOperation_ = 0, nextLeaf_, blank_;
};

Src sourceOf(const program_detail::Step &operand, bool rightIsOperation, bool isLeft)
{
    if (operand.op == program_detail::kBlankOp)
        return Src::None;
    if (isNumberCode(operand.op))
        return Src::Const;
    if (!isOperationCode(operand.op))
        return Src::Leaf;
    return isLeft && rightIsOperation ? Src::Slot : Src::Reg;
}

// Lays operation k: its kind and operand sources, what it reads of its
// operands (their needs), and the class of a number operand for the
// operations that compare their operand's class.
void lay(std::vector<program_detail::Step> &steps, std::vector<program_detail::Slot> &slots, uint32_t k)
{
    program_detail::Step &v = steps[k];
    program_detail::Step &l = steps[v.leftCode - steps.data()], &r = steps[v.rightCode - steps.data()];
    const bool rightIsOperation = r.op != program_detail::kBlankOp && isOperationCode(r.op);
    const Src ls = sourceOf(l, rightIsOperation, true), rs = sourceOf(r, rightIsOperation, false);
    v.shape = shapeOf(ls, rs);
    v.kind = kindOf(v.op, ls, rs);
    // The blank entry's needs stay 0: its slot is never written.
    if (ls == Src::Slot)
        l.needs |= kValueForParent;
    if (ls == Src::Leaf && readsOperandZero(v.op))
        l.needs |= kSignForParent;
    if (rs == Src::Leaf && readsOperandZero(v.op))
        r.needs |= kSignForParent;
    // A number operand's class never changes (other operands' classes are
    // kept by the step).
    if (usesOperandPrevious(v.op) && rs == Src::Const)
        slots[k].sign = operandClassOf(v.op, v.right->value);
    // A power reads the operands of a fraction in its exponent.
    if (v.op == OpPower && rightIsOperation && r.op == OpDivide) {
        for (const program_detail::Step *part : {r.leftCode, r.rightCode})
            if (part->op != program_detail::kBlankOp)
                steps[part - steps.data()].needs |= kValueForGrandparent;
    }
}
} // namespace

Program::Program(const ExprNode *tree) : cost_(gq::evaluationCost(tree))
{
    if (!tree)
        return;
    Counts counts;
    countNodes(tree, counts);
    const uint32_t blank = counts.operations + counts.leaves;
    steps_.resize(blank + 1);
    slots_.resize(blank + 1);
    steps_[blank].op = program_detail::kBlankOp;
    operations_ = counts.operations;
    root_ = Numbering(steps_, slots_, counts.operations, blank).place(tree);
    for (uint32_t k = 0; k < operations_; ++k)
        lay(steps_, slots_, k);
}

Program::Program(const Program &other)
    : steps_(other.steps_), slots_(other.slots_), operations_(other.operations_), root_(other.root_),
      cost_(other.cost_)
{
    relocateFrom(other);
}

Program &Program::operator=(const Program &other)
{
    if (this != &other) {
        steps_ = other.steps_;
        slots_ = other.slots_;
        operations_ = other.operations_;
        root_ = other.root_;
        cost_ = other.cost_;
        relocateFrom(other);
    }
    return *this;
}

bool Program::writesLetters() const
{
    for (uint32_t k = 0; k < operations_; ++k)
        if (steps_[k].op >= OpRangeI && steps_[k].op <= OpRangeL)
            return true;
    return false;
}

void Program::relocateFrom(const Program &other)
{
    const auto slot = [&](program_detail::Slot *p) { return slots_.data() + (p - other.slots_.data()); };
    const auto code = [&](const program_detail::Step *p) {
        return steps_.data() + (p - other.steps_.data());
    };
    for (uint32_t k = 0; k < operations_; ++k) {
        program_detail::Step &step = steps_[k];
        step.left = slot(step.left);
        step.right = slot(step.right);
        step.leftCode = code(step.leftCode);
        step.rightCode = code(step.rightCode);
    }
}

} // namespace gq
