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
    uint32_t fusedCount = 0;
    for (uint32_t k = 0; k < operations; ++k) {
        Step &v = steps[k];
        if (v.kind == 0)
            continue;
        const Step &l = *v.leftCode, &r = *v.rightCode;
        const Src lf = isOperationStep(l) ? fusedSource(l) : Src::None;
        const Src rf = isOperationStep(r) ? fusedSource(r) : Src::None;
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
        if (fuseLeft)
            to[indexOf(v.leftCode)] = 1;
        if (fuseRight)
            to[indexOf(v.rightCode)] = 1;
        fusedCount += fuseLeft + fuseRight;
    }
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
