// The double-precision estimate of a formula and its error bound.
//
// Each value on the stack carries e, a bound on its distance from the exact
// value of its subformula, valid both for the double value here and for the
// 80-bit value the Program computes (whose roundings are smaller). Rounding
// is counted as kU relative to the result (one unit of double rounding plus
// one of 80-bit rounding, with room to spare), the library's sine and cosine
// as kLibrary, and every operation adds kTiny for results that fall below the
// normal range of doubles. The bounds themselves are computed with rounding;
// the final widening by kWiden covers that for formulas of up to a million
// operations.
#include "engine/sign_estimate.h"

#include "engine/numbers.h"

#include <cmath>

namespace gq
{

namespace
{
// Deeper trees are not modelled: the estimate's stack is a fixed array.
constexpr int kMaxDepth = 48;
// Exponents of powers that the evaluator computes by repeated products.
constexpr int kMaxExponent = 32;
constexpr double kU = 0x1p-52;
constexpr double kLibrary = 0x1p-49; // 4 units in the last place, twice over
constexpr double kTiny = 0x1p-1000;
constexpr double kWiden = 1 + 0x1p-30;
// Values beyond this are not estimated: nothing near double overflow.
constexpr double kLimit = 0x1p+1000;

struct Bounded {
    double v, e;
};

// A long double as a double and the distance between the two.
Bounded fromLong(long double x)
{
    const double v = static_cast<double>(x);
    return {v, static_cast<double>(std::fabs(x - static_cast<long double>(v)))};
}

// Whether the processor has AVX (and with it vzeroupper). Read once, before
// main: cpu_init must run first in a static initialiser.
const bool kHasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();

// Marks the upper halves of the vector registers unused. Code elsewhere in
// the process (Qt fills a picture with AVX instructions) can leave them in
// use, and then, on some processors, every switch between this file's SSE
// instructions and the AVX instructions of the library's sin and cos costs
// dozens of nanoseconds: an estimate took 360 ns instead of 42, and the
// tracer became slower with the estimate than without it.
[[gnu::target("avx")]] void clearUpperVectorHalves()
{
    __builtin_ia32_vzeroupper();
}

// The same for a letter of the engine state, out of line: inlined, its 80-bit
// load was hoisted out of the estimate's loop, and the value was then stored
// and loaded again around every call of sin and cos.
[[gnu::noinline]] Bounded fromLetter(const long double *letter)
{
    return fromLong(*letter);
}

Bounded product(const Bounded &a, const Bounded &b)
{
    const double r = a.v * b.v;
    // For the 80-bit operands (each within e of the exact value, so within
    // 2e of the double one): |A·B − a·b| <= |a| eb + |b| ea + 3 ea eb.
    const double p = std::fabs(a.v) * b.e + std::fabs(b.v) * a.e + 3 * a.e * b.e;
    return {r, p + kU * (std::fabs(r) + p) + kTiny};
}
} // namespace

SignEstimate::SignEstimate(const ExprNode *tree)
{
    if (tree && !compile(tree, 1)) {
        code_.clear();
        trigonometric_ = false;
    }
}

bool SignEstimate::compile(const ExprNode *n, int depth)
{
    if (!n || depth > kMaxDepth)
        return false;
    Node node;
    node.op = n->op;
    switch (n->op) {
    case OpConst:
    case OpPi:
        if (!(std::fabs(n->value) < kLimit))
            return false;
        {
            const Bounded b = fromLong(n->value);
            node.value = b.v;
            node.error = b.e;
        }
        break;
    case OpX:
    case OpY:
    case OpZ:
    case OpT:
        break;
    case OpAdd:
    case OpSubtract:
    case OpMultiply:
    case OpDivide:
        if (!compile(n->left, depth + 1) || !compile(n->right, depth + 1))
            return false;
        break;
    case OpNegate:
    case OpAbs:
    case OpSin:
    case OpCos:
        if (!compile(n->right, depth + 1))
            return false;
        trigonometric_ = trigonometric_ || n->op == OpSin || n->op == OpCos;
        break;
    case OpPower: {
        const ExprNode *e = n->right;
        if (!e || e->op != OpConst || !isIntegerValue(e->value) || e->value < 0 || e->value > kMaxExponent)
            return false;
        if (!compile(n->left, depth + 1))
            return false;
        node.arg = static_cast<int32_t>(e->value);
        break;
    }
    default:
        node.arg = paramIndex(n->op);
        if (node.arg < 0)
            return false;
        break;
    }
    code_.push_back(node);
    return true;
}

bool SignEstimate::estimate(long double x, long double y, Range &range) const
{
    if (code_.empty())
        return false;
    if (kHasAvx)
        clearUpperVectorHalves();
    const VariableTable &letters = engineState().variables;
    // The value on top of the stack is kept apart (in registers): the others
    // go through memory only when a value is pushed over them.
    Bounded below[kMaxDepth + 1];
    Bounded top{0, 0};
    int depth = 0; // the values on the stack, top included
    const auto push = [&](const Bounded &b) {
        if (depth > 0)
            below[depth - 1] = top;
        top = b;
        ++depth;
    };
    // x and y as doubles once, so that no 80-bit value stays live in the loop.
    const Bounded bx = fromLong(x), by = fromLong(y);
    // Every intermediate value and bound stays far from overflow (NaN fails
    // the comparison too).
    bool inRange = true;
    for (const Node &n : code_) {
        switch (n.op) {
        case OpConst:
        case OpPi:
            push({n.value, n.error});
            continue;
        case OpX:
            push(bx);
            continue;
        case OpY:
            push(by);
            continue;
        case OpZ:
            push(fromLetter(&letters.z));
            continue;
        case OpT:
            push(fromLetter(&letters.t));
            continue;
        case OpAdd:
        case OpSubtract: {
            const Bounded &a = below[--depth - 1];
            const double r = n.op == OpAdd ? a.v + top.v : a.v - top.v;
            const double p = a.e + top.e;
            top = {r, p + kU * (std::fabs(r) + p) + kTiny};
            break;
        }
        case OpMultiply:
            --depth;
            top = product(below[depth - 1], top);
            break;
        case OpDivide: {
            const Bounded &a = below[--depth - 1];
            const Bounded b = top;
            // Only a divisor whose 80-bit value is surely not 0 (the
            // evaluation would report a pole there).
            const double bv = std::fabs(b.v);
            if (!(bv > 4 * b.e) || bv == 0)
                return false;
            // q bounds the quotient of any operands within their bounds.
            const double q = (std::fabs(a.v) + 2 * a.e) / (bv - 2 * b.e);
            const double p = (a.e + q * b.e) / (bv - 2 * b.e);
            top = {a.v / b.v, p + kU * (q + p) + kTiny};
            break;
        }
        case OpNegate:
            top.v = -top.v;
            continue;
        case OpAbs:
            top.v = std::fabs(top.v);
            continue;
        case OpSin:
        case OpCos: {
            // Both functions move by at most the distance of their arguments.
            const double r = n.op == OpSin ? std::sin(top.v) : std::cos(top.v);
            top = {r, top.e + kLibrary * (std::fabs(r) + top.e) + kTiny};
            break;
        }
        case OpPower: {
            if (n.arg == 0) {
                top = {1, 0};
                continue;
            }
            const Bounded base = top;
            for (int k = 1; k < n.arg; ++k)
                top = product(top, base);
            break;
        }
        default: // a parameter: a float, exact in a double
            push({static_cast<double>(letters.params.value[static_cast<std::size_t>(n.arg)]), 0});
            continue;
        }
        inRange = inRange && std::fabs(top.v) + top.e < kLimit;
    }
    if (!inRange || !(std::fabs(top.v) + top.e < kLimit))
        return false;
    // Both values lie within e of the exact one.
    range = {top.v, 2 * top.e * kWiden + kTiny};
    return true;
}

int SignEstimate::signAt(long double x, long double y) const
{
    Range r;
    if (!estimate(x, y, r) || !(std::fabs(r.value) > r.bound))
        return 0;
    return r.value > 0 ? 1 : -1;
}

} // namespace gq
