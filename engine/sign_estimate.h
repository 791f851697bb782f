// A formula's value in double precision, with a bound on how far the value
// Program::evaluate computes for the same formula can lie from it.
//
// The tracer of implicit curves bisects towards the curve, and at most of its
// points it only asks which side of the curve they lie on: the sign of F.
// With the 80-bit library sine that costs a long argument reduction per
// call; in double precision the same sign comes many times cheaper, and where
// the estimate and its bound leave no doubt, it is the sign the 80-bit
// evaluation would give. Where they do (a point very close to the curve, an
// operation it does not model, a value out of double range) the caller
// evaluates the Program as before.
//
// The bound covers both computations: each differs from the formula's value
// in exact arithmetic (at the same x, y and letter values) by at most the
// accumulated rounding of its operations and of the library functions
// (taken as 4 units in the last place of sin and cos, in double and in 80-bit
// precision), so they differ from each other by at most twice that.
//
// Modelled: numbers, π, x, y, z, t, the parameters, + − × ÷ (a divisor that
// is surely not 0), negation, |·|, sin, cos, and powers by a number
// 0, 1, ..., 32. Such formulas are defined wherever a divisor is not 0 and
// nothing overflows, which the estimate checks.
#pragma once

#include "engine/expr_tree.h"

#include <cstdint>
#include <vector>

namespace gq
{

class SignEstimate
{
  public:
    // Tells nothing (modelled() is false).
    SignEstimate() = default;
    // For a tree with only the operations above; otherwise (or for null)
    // modelled() is false. The tree is not kept.
    explicit SignEstimate(const ExprNode *tree);

    bool modelled() const { return !code_.empty(); }
    // Whether the formula takes a sine or cosine: only then is the estimate
    // cheaper than the evaluation (whose sums and products of 80-bit values
    // cost no more than the estimate's own bookkeeping).
    bool saves() const { return trigonometric_; }

    // A value and a bound on |evaluated − value|, where evaluated is what
    // Program::evaluate(x, y) of the same tree gives with this thread's
    // letter values.
    struct Range {
        double value = 0, bound = 0;
    };
    // True with the range when the evaluation would surely give a defined,
    // finite value; false when the estimate cannot tell (not modelled, a
    // divisor too close to 0, a value beyond double range). Reads the
    // letters from this thread's engine state and changes nothing there: the
    // caller charges the budget, writes x and y, and reads no flags.
    bool estimate(long double x, long double y, Range &range) const;

    // The sign the evaluation would give (−1 or 1), or 0 when the estimate
    // cannot tell it (then the value may be 0, undefined or too close to 0).
    int signAt(long double x, long double y) const;

  private:
    struct Node {
        int32_t op = 0;
        int32_t arg = 0; // a parameter's index; a power's exponent
        // A number's value as a double, and that double's distance from it.
        double value = 0, error = 0;
    };
    bool compile(const ExprNode *n, int depth);

    std::vector<Node> code_; // post-order
    bool trigonometric_ = false;
};

} // namespace gq
