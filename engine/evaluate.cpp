#include "engine/evaluate.h"

#include "engine/parse.h"

#include <cfloat>
#include <cmath>

bool EvalValid = true;
bool PoleSeen = false;
bool LogInRange = true;
long double XPerPixel = 10.0L / 640;

namespace
{
// Largest argument of exp that stays finite in 80-bit arithmetic.
constexpr long double kExpLimit = 11356.5L;
// Largest n whose factorial is finite in 80-bit arithmetic.
constexpr long double kFactorialLimit = 1754;
// Sums longer than this, or whose expansion would hold more nodes than
// kMaxSumNodes, are not expanded: they evaluate as undefined.
constexpr long kMaxSumTerms = 10000;
constexpr std::size_t kMaxSumNodes = 400000;
constexpr long double kExpUnderflowValue = 3.0E-4932L;

// VariableTable.param index of each parameter code 10001..10022.
struct ParamTable {
    int index[22];
    ParamTable()
    {
        for (int k = 0; k < 22; ++k)
            index[k] = ParamIndex(OpLetterA + k);
    }
    int operator[](int k) const { return index[k]; }
};
const ParamTable kParamOfCode;

inline int Sign(long double v)
{
    return (v > 0) - (v < 0);
}
inline bool SignChange(long double a, long double b)
{
    return Sign(a) * Sign(b) <= 0;
}

// base^n for an integer n >= 0 (as a non-negative integral long double).
// Small exponents multiply repeatedly; large ones square, so that
// x^1000000000 costs a few dozen multiplications.
long double IntegerPower(long double base, long double n)
{
    n = RoundHalfEven(n);
    if (n <= 0)
        return 1;
    if (n <= 32) {
        long double r = 1;
        for (int k = 0; k < static_cast<int>(n); ++k)
            r *= base;
        return r;
    }
    long double a = std::fabs(base);
    if (n >= 18446744073709551615.0L) {
        // Beyond 2^64 every long double integer is even.
        return a > 1 ? HUGE_VALL : (a == 1 ? 1.0L : 0.0L);
    }
    unsigned long long e = static_cast<unsigned long long>(n);
    long double r = 1, b = base;
    while (e) {
        if (e & 1)
            r *= b;
        e >>= 1;
        if (e)
            b *= b;
        if (std::isinf(r) || (r == 0 && base != 0))
            break;
    }
    return r;
}

inline long double PowerOf(long double base, long double e)
{
    return std::exp(e * std::log(std::fabs(base)));
}

inline bool DomainError()
{
    EvalValid = false;
    return false;
}

long double EvalNode(ExprNode *n, bool keepPrevious);

constexpr uint32_t Bit(int op)
{
    return 1u << op;
}
// Operations that compare their result with their own result at the previous
// call (x, y and z too).
constexpr uint32_t kUsesOwnPrevious =
    Bit(OpSubtract) | Bit(OpAdd) | Bit(OpSin) | Bit(OpCos) | Bit(OpSgn) | Bit(OpGaus) | Bit(OpSinh);
// Operations that compare their operand with its value at the previous call.
constexpr uint32_t kUsesOperandPrevious =
    Bit(OpTan) | Bit(OpSec) | Bit(OpCosec) | Bit(OpCotan) | Bit(OpLog) | Bit(OpBasedLog);

inline bool UsesOwnPrevious(int32_t op)
{
    return static_cast<uint32_t>(op) < 32 ? (kUsesOwnPrevious >> op) & 1 : (op >= OpX && op <= OpZ);
}
inline bool UsesOperandPrevious(int32_t op)
{
    return static_cast<uint32_t>(op) < 32 && ((kUsesOperandPrevious >> op) & 1);
}

// keepPrevious: someone reads this node's previous value (its parent, or the
// caller for the root). 80-bit stores are the dearest part of walking a tree,
// so the previous value is kept only where it is read.
inline long double EvalChild(ExprNode *child, bool keepPrevious)
{
    EvalValid = true;
    if (!child)
        return 0;
    // The commonest leaves, without a call.
    if (child->op == OpConst) {
        child->zeroCross = child->poleCross = 0;
        if (keepPrevious)
            child->previous = child->value;
        return child->value;
    }
    if (child->op == OpX) {
        long double v = VariableTable.x;
        child->poleCross = 0;
        child->zeroCross = SignChange(child->value, v);
        child->previous = child->value;
        child->value = v;
        return v;
    }
    return EvalNode(child, keepPrevious);
}

// The flags of a division, from the flags of its operands.
void DivisionFlags(ExprNode *n)
{
    const ExprNode *l = n->left, *r = n->right;
    bool lp = l && l->poleCross, rp = r && r->poleCross;
    bool lz = l && l->zeroCross, rz = r && r->zeroCross;
    bool z = false, p = false, seen = false;
    if (lp && rp) {
        seen = true;
    } else if (lp) {
        p = seen = true;
    } else if (rp) {
        z = seen = true;
    } else if (lz && rz) {
        seen = true;
    } else if (lz) {
        z = true;
    } else if (rz) {
        p = seen = true;
    }
    n->zeroCross = z;
    n->poleCross = p;
    if (seen)
        PoleSeen = true;
}

long double Power(ExprNode *n, long double L, long double R)
{
    const ExprNode *l = n->left;
    if (IsIntegerValue(R)) {
        if (R < 0) {
            // A zero of the base becomes a pole of the power.
            n->zeroCross = l && l->poleCross;
            n->poleCross = l && l->zeroCross;
            if (n->poleCross)
                PoleSeen = true;
            if (L == 0) {
                n->poleCross = true;
                PoleSeen = true;
                return DomainError();
            }
            return 1 / IntegerPower(L, -R);
        }
        if (R == 0)
            return 1;
        if (l) {
            n->zeroCross = l->zeroCross;
            n->poleCross = l->poleCross;
        }
        if (L == 0) {
            n->zeroCross = true;
            return 0;
        }
        return IntegerPower(L, R);
    }
    if (L < 0) {
        // An odd root of a negative number, written as a fraction p/q.
        const ExprNode *r = n->right;
        if (r && r->op == OpDivide && r->left && r->right && IsIntegerValue(r->left->value) &&
            IsIntegerValue(r->right->value) && std::fmod(RoundHalfEven(r->right->value), 2.0L) != 0) {
            long double v = PowerOf(L, R);
            return std::fmod(RoundHalfEven(r->left->value), 2.0L) == 0 ? v : -v;
        }
        return DomainError();
    }
    if (L == 0) {
        if (R > 0) {
            n->zeroCross = true;
            n->poleCross = false;
            return 0;
        }
        n->poleCross = true;
        PoleSeen = true;
        return DomainError();
    }
    if (l) {
        n->zeroCross = l->zeroCross;
        n->poleCross = l->poleCross;
    }
    return PowerOf(L, R);
}

long double Logarithm(ExprNode *n, long double R, long double prevArg, long double lnBase)
{
    const ExprNode *r = n->right;
    n->poleCross = r && (r->poleCross || r->zeroCross);
    if (R <= 0) {
        if (prevArg > 0)
            n->poleCross = true;
        return DomainError();
    }
    if (R == 1 || Sign(prevArg - 1) * Sign(R - 1) < 0)
        n->zeroCross = true;
    long double v = std::log(R) / lnBase;
    if (std::isinf(v)) {
        LogInRange = false;
        return v > 0 ? BigValue : -BigValue;
    }
    return v;
}

long double Factorial(long double L)
{
    if (L < 0)
        return DomainError();
    if (L == 0)
        return 1;
    long double n = RoundHalfEven(L);
    if (n > kFactorialLimit)
        return BigValue;
    long double r = 1;
    for (long double k = 2; k <= n; k += 1)
        r *= k;
    return r;
}

// prevArg, the right operand's value at the previous call, is read only by
// the operations that need it: reading it back right after the operand stored
// it stalls 80-bit loads.
inline long double PrevArg(const ExprNode *n)
{
    return n->right ? n->right->previous : 0;
}

long double Compute(ExprNode *n, long double L, long double R)
{
    const ExprNode *l = n->left, *r = n->right;
    const long double prevResult = n->previous;
    switch (n->op) {
    case OpPower:
        return Power(n, L, R);
    case OpDivide:
        DivisionFlags(n);
        if (R == 0) {
            PoleSeen = true;
            return DomainError();
        }
        return L / R;
    case OpMultiply:
        n->zeroCross = (l && l->zeroCross) || (r && r->zeroCross);
        n->poleCross = (l && l->poleCross) || (r && r->poleCross);
        if (n->zeroCross && n->poleCross)
            n->poleCross = false;
        return L * R;
    case OpSubtract: {
        long double v = L - R;
        bool lp = l && l->poleCross, rp = r && r->poleCross;
        n->poleCross = lp || rp;
        if (lp && rp) {
            if (Sign(L) == Sign(R) && std::fabs(prevResult - v) < 1 / XPerPixel)
                n->poleCross = false;
        } else {
            n->zeroCross = SignChange(prevResult, v);
        }
        return v;
    }
    case OpAdd: {
        long double v = L + R;
        bool lp = l && l->poleCross, rp = r && r->poleCross;
        n->poleCross = lp || rp;
        if (n->poleCross)
            PoleSeen = true;
        if (lp && rp) {
            if (Sign(L) * Sign(R) < 0 && std::fabs(v) < 1 / XPerPixel) {
                n->poleCross = false;
                PoleSeen = false;
            }
        } else {
            n->zeroCross = SignChange(prevResult, v);
        }
        return v;
    }
    case OpNegate:
        return -R;
    case OpSin: {
        long double v = std::sin(R);
        n->zeroCross = (r && r->zeroCross) || SignChange(prevResult, v);
        return v;
    }
    case OpCos: {
        long double v = std::cos(R);
        n->zeroCross = SignChange(prevResult, v);
        return v;
    }
    case OpTan: {
        long double prevArg = PrevArg(n);
        long double s = std::sin(R), c = std::cos(R);
        n->zeroCross = r && r->zeroCross;
        if (c == 0)
            return DomainError();
        if (SignChange(std::cos(prevArg), c)) {
            n->poleCross = true;
            PoleSeen = true;
        }
        if (SignChange(std::sin(prevArg), s))
            n->zeroCross = true;
        long double v = s / c;
        if (v != 0 && std::fabs(v) < LDBL_MIN)
            return 0; // underflow
        return v;
    }
    case OpSec: {
        long double prevArg = PrevArg(n);
        long double c = std::cos(R);
        if (c == 0)
            return DomainError();
        if (SignChange(std::cos(prevArg), c)) {
            n->poleCross = true;
            PoleSeen = true;
        }
        return 1 / c;
    }
    case OpCosec:
    case OpCotan: {
        long double prevArg = PrevArg(n);
        long double s = std::sin(R);
        n->poleCross = r && r->zeroCross;
        if (s == 0)
            return DomainError();
        if (SignChange(std::sin(prevArg), s)) {
            n->poleCross = true;
            PoleSeen = true;
        }
        if (n->op == OpCosec)
            return 1 / s;
        long double c = std::cos(R);
        if (Sign(std::cos(prevArg)) * Sign(c) < 0)
            n->zeroCross = true;
        return c / s;
    }
    case OpArctn:
        n->zeroCross = r && r->zeroCross;
        return std::atan(R);
    case OpLog:
        return Logarithm(n, R, PrevArg(n), 1);
    case OpBasedLog:
        if (L <= 0 || L == 1)
            return DomainError();
        return Logarithm(n, R, PrevArg(n), std::log(L));
    case OpExp: {
        n->poleCross = r && r->poleCross;
        if (R > kExpLimit)
            return BigValue;
        long double v = std::exp(R);
        if (v < LDBL_MIN)
            return kExpUnderflowValue;
        return v;
    }
    case OpSqrt:
        if (r) {
            n->zeroCross = r->zeroCross;
            n->poleCross = r->poleCross;
        }
        if (R < 0)
            return DomainError();
        return std::sqrt(R);
    case OpAbs:
        if (r) {
            n->zeroCross = r->zeroCross;
            n->poleCross = r->poleCross;
        }
        return std::fabs(R);
    case OpSgn: {
        long double v = Sign(R);
        if (R == 0)
            n->zeroCross = true;
        if (v != prevResult)
            PoleSeen = true;
        return v;
    }
    case OpGaus: {
        if (r) {
            n->zeroCross = r->zeroCross;
            n->poleCross = r->poleCross;
        }
        long double v = GaussFloor(R);
        if (v != prevResult)
            PoleSeen = true;
        return v;
    }
    case OpSinh: {
        // (e^R - e^-R)/2, by the library for accuracy near 0 and for speed
        n->poleCross = r && r->poleCross;
        long double v = std::sinh(R);
        n->zeroCross = SignChange(prevResult, v);
        return v;
    }
    case OpCosh:
        n->poleCross = r && r->poleCross;
        return std::cosh(R);
    case OpFactorial:
        return Factorial(L);
    case OpSumTooLarge:
        return DomainError();
    case OpRangeI:
        VariableTable.param[ParamIndex(OpLetterI)] = 1;
        return 1;
    case OpPi:
    case OpConst:
        return n->value;
    case OpT:
        return VariableTable.t;
    case OpX:
    case OpY:
    case OpZ: {
        long double v = n->op == OpX ? VariableTable.x : n->op == OpY ? VariableTable.y : VariableTable.z;
        n->zeroCross = SignChange(prevResult, v);
        return v;
    }
    default:
        if (n->op >= OpLetterA && n->op <= OpLetterI)
            return VariableTable.param[kParamOfCode[n->op - OpLetterA]];
        return 0; // unexpanded sums and unknown codes
    }
}

long double EvalNode(ExprNode *n, bool keepPrevious)
{
    n->zeroCross = n->poleCross = 0;
    long double L = EvalChild(n->left, false);
    bool leftValid = EvalValid;
    long double R = EvalChild(n->right, UsesOperandPrevious(n->op));
    EvalValid = leftValid && EvalValid;
    if (!EvalValid)
        return 0;
    if (keepPrevious || UsesOwnPrevious(n->op))
        n->previous = n->value;
    long double result = Compute(n, L, R);
    if (!EvalValid)
        return 0;
    // Every overflow stands for an infinite value; nothing undefined escapes.
    // (x - x is 0 for every finite x and NaN otherwise: one cheap test.)
    if (__builtin_expect(!(result - result == 0), 0)) {
        if (std::isnan(result)) {
            EvalValid = false;
            return 0;
        }
        result = result > 0 ? BigValue : -BigValue;
    }
    n->value = result;
    return result;
}

long double TermSize(const ExprNode *n)
{
    return static_cast<long double>(TreeSize(n));
}

// Index letter of a range code 5001..5004 (i, j, k, l).
int32_t IndexLeaf(int32_t rangeCode)
{
    static const int32_t leaves[] = {OpLetterI, LetterCode('j'), LetterCode('k'), LetterCode('l')};
    return leaves[rangeCode - OpRangeI];
}
} // namespace

long double Evaluate(ExprNode *tree, long double x, long double y)
{
    VariableTable.x = x;
    VariableTable.y = y;
    if (!tree)
        return 0;
    return EvalNode(tree, true);
}

void ExpandSums(ExprNode *&ref)
{
    if (!ref)
        return;
    ExpandSums(ref->left);
    ExpandSums(ref->right);
    if (ref->op != OpSum)
        return;
    ExprNode *range = ref->left;
    if (!range || range->op < OpRangeI || range->op > OpRangeL)
        return;
    bool savedValid = EvalValid;
    EvalValid = true;
    long double lo = RoundHalfEven(Evaluate(range->left, 0, 0));
    bool valid = EvalValid;
    EvalValid = true;
    long double hi = RoundHalfEven(Evaluate(range->right, 0, 0));
    valid = valid && EvalValid;
    EvalValid = savedValid;
    if (valid && hi < lo)
        return; // an empty sum stays and evaluates to 0
    ExprNode *parent = ref->parent;
    const ExprNode *summand = ref->right;
    long double terms = hi - lo + 1;
    if (!valid || terms > kMaxSumTerms || terms * TermSize(summand) > kMaxSumNodes) {
        // Too long to expand (or bounds undefined): undefined, never a hang.
        FreeTree(ref);
        ref = MakeLeafNode(OpSumTooLarge);
        ref->parent = parent;
        return;
    }
    int32_t index = IndexLeaf(range->op);
    long first = static_cast<long>(lo), last = static_cast<long>(hi);
    ExprNode *s = CopyTree(summand);
    ReplaceLeafByInteger(s, first, index);
    for (long k = first + 1; k <= last; ++k) {
        ExprNode *t = CopyTree(summand);
        ReplaceLeafByInteger(t, k, index);
        s = MakeBinaryNode(OpAdd, s, t, ParseBuild);
    }
    FreeTree(ref);
    ref = s;
    if (ref)
        ref->parent = parent;
}

long double EvaluateFormulaText(const std::string &text, long double x)
{
    Tree tree(ParseFormula(text, ParseBuild));
    if (!ParseOK)
        return 0;
    return Evaluate(tree.get(), x, 0);
}

long double EvaluateFormulaTextWithSums(const std::string &text, long double x)
{
    ExprNode *raw = ParseFormula(text, ParseBuild);
    if (!ParseOK)
        return 0;
    ExpandSums(raw);
    Tree tree(raw);
    return Evaluate(tree.get(), x, 0);
}

Tree ParseForEvaluation(const std::string &text)
{
    ParseOK = true;
    ExprNode *tree = ParseFormula(text, ParseBuild);
    if (!ParseOK || !tree) {
        FreeTree(tree);
        return nullptr;
    }
    ExpandSums(tree);
    return Tree(tree);
}

bool FormulaValue(const std::string &text, long double &value)
{
    ParseOK = true;
    EvalValid = true;
    value = EvaluateFormulaText(text, 0);
    return ParseOK && EvalValid && std::isfinite(value);
}

int SignOf(long double v)
{
    return Sign(v);
}

// Rounding by adding and removing 2^63: exact, halves to even in the default
// rounding mode, and much cheaper than the library's nearbyint on 80-bit values
// (which saves and restores the floating-point environment).
long double RoundHalfEven(long double v)
{
    constexpr long double kTwo63 = 9223372036854775808.0L;
    if (!(std::fabs(v) < kTwo63))
        return v; // already integral, or not a number
    long double big = v < 0 ? -kTwo63 : kTwo63;
    return (v + big) - big; // the sum keeps 64 bits, so it rounds to an integer
}

bool IsIntegerValue(long double v)
{
    return std::isfinite(v) && v == RoundHalfEven(v);
}

// The Gauss bracket: the greatest integer not above v.
long double GaussFloor(long double v)
{
    return std::floor(v);
}

void SwapValues(long double &a, long double &b)
{
    long double t = a;
    a = b;
    b = t;
}

void SwapValues(int &a, int &b)
{
    int t = a;
    a = b;
    b = t;
}

void LineIntersection(long double m1, long double b1, long double m2, long double b2, long double &x,
                      long double &y)
{
    x = (b2 - b1) / (m1 - m2);
    y = (m1 * b2 - b1 * m2) / (m1 - m2);
}
