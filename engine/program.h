// A formula compiled for evaluation: the value of a tree at (x, y) with the
// letters' current values, sample after sample, with undefined points and
// the poles and jumps between successive samples reported.
//
// A Program is built once from a tree and keeps what it needs of the previous
// sample (signs, classes of operands, the last value of each operation) to
// tell a pole or a jump between that sample and the next. It does not refer
// to the tree it was built from, which may be changed or freed afterwards.
// Copying a Program copies that memory too: the copy goes on from where the
// original was. Evaluation allocates nothing; building or copying a Program
// allocates its arrays.
//
// A Program belongs to one thread at a time; it reads and reports through the
// engine state of the thread that evaluates it.
#pragma once

#include "engine/expr_tree.h"

#include <cstdint>
#include <vector>

namespace gq
{

namespace program_detail
{
// The operation code of the blank entry: no node has it.
inline constexpr int32_t kBlankOp = -1;

struct Slot;

// The code of one node of the compiled formula. Operations come first, in the
// order they are evaluated (post-order: operands before the operation, so the
// last one is the whole formula); then the operations that their parents
// compute in place (fused, see program_fuse.h); then the leaves (numbers, π
// and letters);
// then one blank entry that stands for a missing operand. Only the evaluator
// (eval_loop.cpp) and the builder (program.cpp) read these fields.
//
// Operands are pointers into the Program's own arrays (a copy relocates
// them): the evaluator reaches an operand's state and code with one load each,
// as fast as through a tree's own pointers.
struct Step {
    Slot *left = nullptr, *right = nullptr; // the operands' slots (the blank one where there is none)
    const Step *leftCode = nullptr, *rightCode = nullptr; // and their steps
    int32_t op = 0;
    uint8_t kind = 0;  // the specialised code that runs the operation (0: generic)
    uint8_t shape = 0; // where the operands' values come from (see eval_code.h)
    uint8_t needs = 0; // what is read of this node's slot after its step (see eval_code.h)
    uint8_t facts = 0; // what is known of the flags around this step (see eval_code.h)
    uint8_t power = 0; // a power by the number 2..32: that exponent (0 otherwise)
    uint8_t form = 0;  // a sum computed in place: the code for its operands' sources (see eval_code.h)
};

// The state of one node, which the evaluation updates sample by sample. The
// blank entry's slot is never written: its flags stay clear.
//
// Trivial, so that the builder's value-initialised array of them is one
// clearing of memory: every field starts as 0 there.
struct Slot {
    // Numbers and π: their value. Operations and letters: the latest defined
    // value, kept only where something reads it again.
    long double value;
    // A zero or sign change, and a pole (infinite jump), between the previous
    // sample and the latest one. Adjacent: both are stored with one write.
    uint8_t zero, pole;
    uint8_t valid; // operations: the latest value was defined
    // The sign of the latest defined value; for tan, sec, cosec, cotan and
    // the logarithms the class of their operand at the latest sample instead
    // (see logarithmClass and trigClass in eval_operations.h).
    int8_t sign;
};

// The evaluation of a whole formula that is a single step of a kind that runs
// in a function of its own (eval_whole.cpp): its value at *x, *y.
using WholeFormula = long double (*)(Step *steps, Slot *slots, const long double *x, const long double *y);
} // namespace program_detail

class Program
{
  public:
    // The empty formula: evaluates to 0 and is always defined.
    Program() = default;
    // tree may be null (the empty formula).
    explicit Program(const ExprNode *tree);
    Program(const Program &other);
    Program &operator=(const Program &other);
    Program(Program &&) noexcept = default;
    Program &operator=(Program &&) noexcept = default;
    ~Program() = default;

    bool empty() const { return steps_.empty(); }
    // The operation code of the formula's outermost operation or leaf (0 when
    // empty).
    int32_t rootOp() const { return empty() ? 0 : steps_[root_].op; }

    // The value at (x, y) with the letters' values in this thread's engine
    // state; x and y are written there first. Reports through the engine
    // state: evalValid becomes false when the value is undefined (the result
    // is then 0); poleSeen becomes true when a pole or jump lay between the
    // previous sample and this one (and may be withdrawn for a jump of a sum
    // smaller than a pixel). The caller sets evalValid true first. Overflow
    // gives ±kBigValue. Each evaluation spends evaluationCost() units of the
    // evaluation budget (budget.h); one that finds too few left reports an
    // undefined value without computing.
    long double evaluate(long double x, long double y);
    // Units of the evaluation budget one evaluation costs.
    std::uint64_t evaluationCost() const { return cost_; }

    // Whether an evaluation writes a letter's value in the engine state (an
    // unexpanded sum's index range sets i): then evaluations on another
    // thread would not leave this thread's state as evaluating here does.
    bool writesLetters() const;
    // Whether the formula reads the letter of that code (OpX, OpY, ...):
    // where it does not (and writes no letter), its value does not change
    // with that letter.
    bool readsLetter(int32_t letter) const;

    // Whether the latest evaluation found a pole or jump of the whole formula
    // between the previous sample and this one.
    bool poleCrossed() const { return !empty() && slots_[root_].pole; }
    // Whether the latest evaluation found a zero or a sign change of the whole
    // formula between the previous sample and this one (as far as the
    // formula's operations tell one; a number or a letter alone never does).
    bool zeroCrossed() const { return !empty() && slots_[root_].zero; }

  private:
    // Points the operand pointers copied from other at this Program's arrays.
    void relocateFrom(const Program &other);

    // Indexed alike: steps_[k] is the code of node k, slots_[k] its state.
    std::vector<program_detail::Step> steps_;
    std::vector<program_detail::Slot> slots_;
    uint32_t operations_ = 0; // the number of operation steps that run (0: the formula is a leaf)
    uint32_t root_ = 0;       // the whole formula: the last operation, or the only leaf
    std::uint64_t cost_ = 0;  // units of the evaluation budget per evaluation
    program_detail::WholeFormula whole_ = nullptr; // the single step's own function, if it has one
};

} // namespace gq
