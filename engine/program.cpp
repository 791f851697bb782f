// Building a Program: the tree's nodes are numbered (operations in post-order,
// then leaves, then the blank entry) and each operation is laid: where its
// operands' values come from, which specialised code runs it, and what of
// each node is read after its step (so that the evaluator writes nothing that
// is not read again).
#include "engine/program.h"

#include "engine/budget.h"
#include "engine/eval_code.h"
#include "engine/eval_operations.h"
#include "engine/eval_whole.h"
#include "engine/program_fuse.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gq
{

using namespace eval_detail;

namespace
{
struct Counts {
    uint32_t operations = 0, leaves = 0;
    std::uint64_t cost = 0; // of one evaluation (budget.h)
};

void countNodes(const ExprNode *n, Counts &counts)
{
    if (!n)
        return;
    counts.cost += evaluationNodeCost(n);
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
// ---- What is known of the flags. Which flags an operation can ever raise
// (from its operands' and its own), and which flags anything reads: the
// whole formula's (poleCrossed, zeroCrossed), and an operand's where its
// parent turns it into a flag that is read or into poleSeen. Where a step's
// flags are never raised or never read, its code need not compute them.

// The flags a node can ever raise.
struct MayRaise {
    bool zero = false, pole = false;
};

// The number exponent of a power step, if it has one.
bool numberExponent(const program_detail::Step &v, long double &e)
{
    if (!isNumberCode(v.rightCode->op))
        return false;
    e = v.right->value;
    return true;
}

MayRaise mayRaise(const program_detail::Step &v, MayRaise l, MayRaise r)
{
    switch (v.op) {
    case OpPower: {
        long double e;
        if (!numberExponent(v, e) || e < 0 || std::isnan(e))
            return {true, true};
        if (e == 0)
            return {};         // always 1
        return {true, l.pole}; // a base of 0 raises zero; otherwise the base's flags
    }
    case OpDivide:
        return {r.pole || l.zero, l.pole || r.zero};
    case OpMultiply:
        return {l.zero || r.zero, l.pole || r.pole};
    case OpSubtract:
    case OpAdd:
        return {true, l.pole || r.pole};
    case OpNegate:
    case OpFactorial:
    case OpSumTooLarge:
    case OpRangeI:
        return {};
    case OpSin:
    case OpCos:
    case OpSgn:
        return {true, false};
    case OpSec:
    case OpCosec:
        return {false, true};
    case OpArctn:
        return {r.zero, false};
    case OpExp:
    case OpCosh:
        return {false, r.pole};
    case OpSinh:
        return {true, r.pole};
    case OpSqrt:
    case OpAbs:
    case OpGaus:
        return r;
    default:
        return {true, true};
    }
}

MayRaise leafMayRaise(int32_t op)
{
    // x, y and z raise zero at a sign change (where their parent reads it).
    return {op == OpX || op == OpY || op == OpZ, false};
}

// Where an operation reads its operands' flags: for each of the left zero,
// left pole, right zero and right pole, the results it feeds.
inline constexpr uint8_t kToZero = 1, kToPole = 2, kToPoleSeen = 4;
struct FlagReads {
    uint8_t leftZero = 0, leftPole = 0, rightZero = 0, rightPole = 0;
};

FlagReads flagReads(int32_t op)
{
    constexpr uint8_t all = kToZero | kToPole | kToPoleSeen;
    switch (op) {
    case OpPower:
        return {all, kToZero | kToPole, 0, 0};
    case OpDivide:
        return {all, all, all, all};
    case OpMultiply:
        return {kToZero | kToPole, kToPole, kToZero | kToPole, kToPole};
    case OpSubtract:
        return {0, kToZero | kToPole, 0, kToZero | kToPole};
    case OpAdd:
        return {0, all, 0, all};
    case OpSin:
    case OpTan:
    case OpArctn:
        return {0, 0, kToZero, 0};
    case OpCosec:
    case OpCotan:
        return {0, 0, kToPole, 0};
    case OpLog:
    case OpBasedLog:
        return {0, 0, kToPole, kToPole};
    case OpExp:
    case OpSinh:
    case OpCosh:
        return {0, 0, 0, kToPole};
    case OpSqrt:
    case OpAbs:
    case OpGaus:
        return {0, 0, kToZero, kToPole};
    default:
        return {};
    }
}

// Whether a step may run the value-only code: an operation that has it,
// whose flags nobody reads or that never raises them, and that never sets
// poleSeen (a sum does when an operand's pole flag is up).
bool valueOnly(const program_detail::Step &v, MayRaise raises, bool zeroRead, bool poleRead)
{
    switch (v.op) {
    case OpPower: {
        long double e;
        if (!numberExponent(v, e) || !isIntegerValue(e) || e < 0)
            return false;
        break;
    }
    case OpAdd:
        if (raises.pole)
            return false;
        break;
    case OpSubtract:
    case OpMultiply:
    case OpNegate:
    case OpSin:
    case OpCos:
    case OpArctn:
    case OpExp:
    case OpSqrt:
    case OpAbs:
    case OpSinh:
    case OpCosh:
        break;
    default:
        return false;
    }
    return !(zeroRead && raises.zero) && !(poleRead && raises.pole);
}

// Lays the facts of every step (after lay): kinds with value-only code,
// Step::facts, the letters' signs kept only where their zero flag is read,
// and the exponents of small powers.
void layFlags(std::vector<program_detail::Step> &steps, uint32_t operations, uint32_t root)
{
    const std::size_t n = steps.size();
    // The facts of every node; on the stack for the formulas people type.
    struct Facts {
        MayRaise raises;
        uint8_t zeroRead, poleRead;
        uint8_t valueOnlyKind; // the value-only code the step runs (0: none)
    };
    constexpr std::size_t kOnStack = 64;
    Facts small[kOnStack]; // only the first n are used, and cleared below
    std::vector<Facts> large(n > kOnStack ? n : 0);
    Facts *const facts = n > kOnStack ? large.data() : small;
    std::fill_n(facts, n, Facts{});
    const auto raisesOf = [&](std::size_t k) -> MayRaise & { return facts[k].raises; };
    for (std::size_t k = operations; k + 1 < n; ++k)
        raisesOf(k) = leafMayRaise(steps[k].op);
    const auto indexOf = [&](const program_detail::Step *p) {
        return static_cast<std::size_t>(p - steps.data());
    };
    for (uint32_t k = 0; k < operations; ++k)
        raisesOf(k) =
            mayRaise(steps[k], raisesOf(indexOf(steps[k].leftCode)), raisesOf(indexOf(steps[k].rightCode)));
    const auto zeroRead = [&](std::size_t k) -> uint8_t & { return facts[k].zeroRead; };
    const auto poleRead = [&](std::size_t k) -> uint8_t & { return facts[k].poleRead; };
    zeroRead(root) = poleRead(root) = 1;
    for (uint32_t k = operations; k-- > 0;) {
        program_detail::Step &v = steps[k];
        // A step that runs its value-only code reads none of its operands'
        // flags (and its own reads are known here: its parent came first).
        if (valueOnly(v, raisesOf(k), zeroRead(k), poleRead(k)) &&
            (facts[k].valueOnlyKind = kindOf(v.op, leftSrc(v.shape), rightSrc(v.shape), false)) != 0)
            continue;
        const uint8_t fed = kToPoleSeen | (zeroRead(k) ? kToZero : 0) | (poleRead(k) ? kToPole : 0);
        const FlagReads reads = flagReads(v.op);
        const std::size_t l = indexOf(v.leftCode), r = indexOf(v.rightCode);
        zeroRead(l) |= (reads.leftZero & fed) != 0;
        poleRead(l) |= (reads.leftPole & fed) != 0;
        zeroRead(r) |= (reads.rightZero & fed) != 0;
        poleRead(r) |= (reads.rightPole & fed) != 0;
    }

    for (uint32_t k = 0; k < operations; ++k) {
        program_detail::Step &v = steps[k];
        const std::size_t l = indexOf(v.leftCode), r = indexOf(v.rightCode);
        if (!zeroRead(k))
            v.facts |= kZeroUnread;
        if (!raisesOf(l).pole && !raisesOf(r).pole)
            v.facts |= kOperandPolesClear;
        if (facts[k].valueOnlyKind != 0)
            v.kind = facts[k].valueOnlyKind;
        long double e;
        if (v.op == OpPower && numberExponent(v, e) && isIntegerValue(e) && e >= 2 && e <= 32)
            v.power = static_cast<uint8_t>(e);
    }
    // Only x, y and z keep a sign.
    for (std::size_t k = operations; k + 1 < n; ++k)
        if (!zeroRead(k) || steps[k].op < OpX)
            steps[k].needs &= static_cast<uint8_t>(~kSignForParent);
}
} // namespace

Program::Program(const ExprNode *tree)
{
    if (!tree)
        return;
    Counts counts;
    countNodes(tree, counts);
    cost_ = counts.cost; // what evaluationCost(tree) gives, without a walk of its own
    const uint32_t blank = counts.operations + counts.leaves;
    steps_.resize(blank + 1);
    slots_.resize(blank + 1);
    steps_[blank].op = program_detail::kBlankOp;
    operations_ = counts.operations;
    root_ = Numbering(steps_, slots_, counts.operations, blank).place(tree);
    for (uint32_t k = 0; k < operations_; ++k)
        lay(steps_, slots_, k);
    layFlags(steps_, operations_, root_);
    program_detail::fuseOperands(steps_, slots_, operations_, root_);
    if (operations_ == 1 && eval_detail::isWholeKind(steps_[0].kind))
        whole_ = eval_detail::wholeFormula(steps_[0].kind);
}

Program::Program(const Program &other)
    : steps_(other.steps_), slots_(other.slots_), operations_(other.operations_), root_(other.root_),
      cost_(other.cost_), whole_(other.whole_)
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
        whole_ = other.whole_;
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

bool Program::readsLetter(int32_t letter) const
{
    // Letters are leaves, after the operations and the fused ones.
    for (const program_detail::Step &step : steps_)
        if (step.op == letter)
            return true;
    return false;
}

void Program::relocateFrom(const Program &other)
{
    const auto slot = [&](program_detail::Slot *p) { return slots_.data() + (p - other.slots_.data()); };
    const auto code = [&](const program_detail::Step *p) {
        return steps_.data() + (p - other.steps_.data());
    };
    // Every operation, fused ones (behind the running steps) too; leaves and
    // the blank entry have no operands.
    for (program_detail::Step &step : steps_) {
        if (!step.leftCode)
            continue;
        step.left = slot(step.left);
        step.right = slot(step.right);
        step.leftCode = code(step.leftCode);
        step.rightCode = code(step.rightCode);
    }
}

} // namespace gq
