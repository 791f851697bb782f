// A formula compiled for evaluation: the value of a tree at (x, y) with the
// letters' current values, sample after sample, with undefined points and
// the poles and jumps between successive samples reported.
//
// A Program is built once from a tree and keeps what it needs of the previous
// sample (signs, classes of operands, the last value of each operation) to
// tell a pole or a jump between that sample and the next. It does not refer
// to the tree it was built from, which may be changed or freed afterwards.
// Copying a Program copies that memory too: the copy goes on from where the
// original was. Evaluation allocates nothing.
#pragma once

#include "engine/expr_tree.h"

#include <cstdint>

namespace gq
{

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

    bool empty() const { return !tree_; }
    // The operation code of the formula's outermost operation or leaf (0 when
    // empty).
    int32_t rootOp() const { return tree_ ? tree_->op : 0; }

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

    // Whether the latest evaluation found a pole or jump of the whole formula
    // between the previous sample and this one.
    bool poleCrossed() const { return tree_ && tree_->poleCross; }

  private:
    Tree tree_;
    std::uint64_t cost_ = 0;
};

} // namespace gq
