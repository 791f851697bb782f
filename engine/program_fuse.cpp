// Fused operands: which value-only steps a parent computes in place, and the
// reordering that takes them out of the loop.
//
// Why: with 80-bit values each step costs a dispatch, and a left operand that
// is an operation followed by a right operand that is one too goes through
// memory (its slot), whose 80-bit store the later load must wait for. In
// x^2-3x+2 both the square and -3x become operands of the sum, so the sum is
// one step that reads x twice and keeps everything in registers.
#include "engine/program_fuse.h"

#include "engine/eval_code.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace gq::program_detail
{

using namespace eval_detail;

namespace
{
// The source a parent reads a fused operation k from, or Src::None when k
// cannot be fused: a value-only number times a letter or a value-only power
// of a letter by a number, whose value nothing else reads.
Src fusedSource(const Step &k)
{
    if (k.kind == 0 || kKinds[k.kind].flags || (k.needs & kValueForGrandparent))
        return Src::None;
    if (k.op == OpMultiply && k.shape == shapeOf(Src::Const, Src::Leaf))
        return Src::Scaled;
    if (k.op == OpPower && k.shape == shapeOf(Src::Leaf, Src::Const))
        return Src::LeafPower;
    return Src::None;
}

bool isOperationStep(const Step &s)
{
    return s.op != kBlankOp && isOperationCode(s.op);
}

// The source a sum or difference reads its operand from (source now, step
// operand) when it is computed in place: numbers, letters and the fusable
// operations above; Src::None for anything else.
Src pairOperandSource(Src now, const Step &operand)
{
    switch (now) {
    case Src::Const:
    case Src::Leaf:
    case Src::Scaled:
    case Src::LeafPower:
        return now;
    case Src::Reg:
    case Src::Slot:
        return fusedSource(operand);
    default:
        return Src::None;
    }
}

// Whether the sum or difference k can be computed in place by its parent
// (Src::Pair): its operands can, and nothing but the parent reads its value.
// Its flags need no step of their own: its operands never raise a pole, and
// its zero flag is computed in place where it is read.
bool fusablePair(const Step &k, Src &left, Src &right)
{
    if ((k.op != OpAdd && k.op != OpSubtract) || (k.needs & kValueForGrandparent))
        return false;
    left = pairOperandSource(leftSrc(k.shape), *k.leftCode);
    right = pairOperandSource(rightSrc(k.shape), *k.rightCode);
    return left != Src::None && right != Src::None;
}
} // namespace

void fuseOperands(std::vector<Step> &steps, std::vector<Slot> &slots, uint32_t &operations, uint32_t &root)
{
    const auto indexOf = [&](const Step *p) { return static_cast<uint32_t>(p - steps.data()); };
    // to[k]: where operation k goes; first 1 for the fused ones. On the
    // stack for the formulas people type (building must stay cheap).
    constexpr uint32_t kOnStack = 64;
    uint32_t small[kOnStack];
    std::vector<uint32_t> large(operations > kOnStack ? operations : 0);
    uint32_t *const to = operations > kOnStack ? large.data() : small;
    std::fill_n(to, operations, 0u);
    for (uint32_t k = 0; k < operations; ++k) {
        Step &v = steps[k];
        if (v.kind == 0)
            continue;
        const Step &l = *v.leftCode, &r = *v.rightCode;
        Src pairLeft[2], pairRight[2]; // the operands of a fused left and right pair
        // Sums are computed in place by the whole formula's operation alone:
        // such a formula becomes a single step (see eval_code.h).
        const auto fusable = [&](const Step &o, int side) {
            if (!isOperationStep(o))
                return Src::None;
            if (k == root && fusablePair(o, pairLeft[side], pairRight[side]))
                return Src::Pair;
            return fusedSource(o);
        };
        const Src lf = fusable(l, 0), rf = fusable(r, 1);
        if (lf == Src::None && rf == Src::None)
            continue;
        const bool flags = kKinds[v.kind].flags;
        const Src ls = leftSrc(v.shape), rs = rightSrc(v.shape);
        // Fuse both operands, or else the one whose shape has code. A left
        // operation whose right operand is fused is in the register.
        const Src leftIfRightFused = ls == Src::Slot ? Src::Reg : ls;
        uint8_t kind = 0;
        bool fuseLeft = false, fuseRight = false;
        if (lf != Src::None && rf != Src::None && (kind = kindOf(v.op, lf, rf, flags)) != 0) {
            fuseLeft = fuseRight = true;
        } else if (rf != Src::None && (kind = kindOf(v.op, leftIfRightFused, rf, flags)) != 0) {
            fuseRight = true;
        } else if (lf != Src::None && (kind = kindOf(v.op, lf, rs, flags)) != 0) {
            fuseLeft = true;
        } else {
            continue;
        }
        v.kind = kind;
        v.shape = shapeOf(fuseLeft ? lf : fuseRight ? leftIfRightFused : ls, fuseRight ? rf : rs);
        if (fuseRight && ls == Src::Slot) // the left operand stays in the register
            steps[indexOf(v.leftCode)].needs &= static_cast<uint8_t>(~kValueForParent);
        // A fused pair reads its own operands in place (which may not have
        // been fused before, for want of code for its shape).
        const auto fuse = [&](const Step &o, Src as, int side) {
            to[indexOf(&o)] = 1;
            if (as != Src::Pair)
                return;
            Step &pair = steps[indexOf(&o)];
            pair.shape = shapeOf(pairLeft[side], pairRight[side]);
            pair.form = pairFormOf(pairLeft[side], pairRight[side]);
            for (const Step *operand : {pair.leftCode, pair.rightCode})
                if (isOperationStep(*operand))
                    to[indexOf(operand)] = 1;
        };
        if (fuseLeft)
            fuse(l, lf, 0);
        if (fuseRight)
            fuse(r, rf, 1);
    }
    const uint32_t fusedCount = static_cast<uint32_t>(std::count(to, to + operations, 1u));
    if (fusedCount == 0)
        return;

    // The running steps first, in their order, then the fused ones; leaves
    // and the blank entry keep their places. A running step only moves
    // forward, so they move in place; the fused ones wait in a copy.
    // The waiting copies are raw bytes on the stack for the formulas people
    // type: constructing them first would cost as much as the copying.
    static_assert(std::is_trivially_copyable_v<Step> && std::is_trivially_copyable_v<Slot>);
    constexpr uint32_t kFusedOnStack = 16;
    alignas(Step) unsigned char smallSteps[kFusedOnStack * sizeof(Step)];
    alignas(Slot) unsigned char smallSlots[kFusedOnStack * sizeof(Slot)];
    std::vector<Step> largeSteps(fusedCount > kFusedOnStack ? fusedCount : 0);
    std::vector<Slot> largeSlots(largeSteps.size());
    unsigned char *const fusedSteps =
        fusedCount > kFusedOnStack ? reinterpret_cast<unsigned char *>(largeSteps.data()) : smallSteps;
    unsigned char *const fusedSlots =
        fusedCount > kFusedOnStack ? reinterpret_cast<unsigned char *>(largeSlots.data()) : smallSlots;
    const uint32_t firstFused = operations - fusedCount;
    uint32_t next = 0, nextFused = firstFused;
    for (uint32_t k = 0; k < operations; ++k) {
        if (to[k]) {
            std::memcpy(fusedSteps + (nextFused - firstFused) * sizeof(Step), &steps[k], sizeof(Step));
            std::memcpy(fusedSlots + (nextFused - firstFused) * sizeof(Slot), &slots[k], sizeof(Slot));
            to[k] = nextFused++;
        } else {
            to[k] = next++;
            if (to[k] != k) { // (a copy onto itself stalls on its own stores)
                steps[to[k]] = steps[k];
                slots[to[k]] = slots[k];
            }
        }
    }
    std::memcpy(&steps[next], fusedSteps, fusedCount * sizeof(Step));
    std::memcpy(&slots[next], fusedSlots, fusedCount * sizeof(Slot));
    // The operand pointers still name the old places.
    const auto moved = [&](uint32_t k) { return k < operations ? to[k] : k; };
    for (uint32_t k = 0; k < operations; ++k) {
        Step &s = steps[k];
        s.left = slots.data() + moved(static_cast<uint32_t>(s.left - slots.data()));
        s.right = slots.data() + moved(static_cast<uint32_t>(s.right - slots.data()));
        s.leftCode = steps.data() + moved(indexOf(s.leftCode));
        s.rightCode = steps.data() + moved(indexOf(s.rightCode));
    }
    root = moved(root);
    operations -= fusedCount;
}

} // namespace gq::program_detail
