// Evaluate: the operation nodes of a tree, laid out once in post-order
// through their next fields, are evaluated in a loop that carries the latest
// result in a register. Leaves are read where they are used.
//
// Why not a recursive walk: with 80-bit values every call costs stores and
// loads that stall (an 80-bit store is not forwarded to a later load), and
// the interpreter's own instructions separate the library calls of
// independent subexpressions so far that the processor cannot overlap them.
// So the loop dispatches once per node, on a kind laid in advance that names
// the operation and where its operands are, and each common kind has its own
// straight-line code (Step, instantiated per kind).
#include "engine/eval_operations.h"
#include "engine/evaluate.h"

#include <cstddef>
#include <cstring>
#include <iterator>

namespace gq
{

namespace
{
using namespace eval_detail;

// Parameters::value index of each parameter code 10001..10022.
struct ParamTable {
    int index[22];
    ParamTable()
    {
        for (int k = 0; k < 22; ++k)
            index[k] = paramIndex(OpLetterA + k);
    }
    int operator[](int k) const { return index[k]; }
};
const ParamTable kParamOfCode;

// Where an operand comes from. In post-order the step just before a node
// computed its right operand, or its left one when the right operand is a
// leaf or absent: that value is in the loop's register (Reg). A left
// operation followed by a right operation is read back from its node (Node),
// written long before.
enum class Src : uint8_t { None, Const, Leaf, Reg, Node };

// ExprNode::shape: the sources of the two operands.
constexpr uint8_t kLeftShift = 0, kRightShift = 3, kSrcMask = 7;

Src leftSrc(uint8_t shape)
{
    return static_cast<Src>((shape >> kLeftShift) & kSrcMask);
}
Src rightSrc(uint8_t shape)
{
    return static_cast<Src>((shape >> kRightShift) & kSrcMask);
}

// The loop's state: the latest result (in a register) and whether it was
// defined; and where the caller's x and y are.
struct Loop {
    long double value = 0;
    bool valid = true;
    const long double *x, *y;
    int8_t xSign; // the sign of x, for every x leaf
};

// ExprNode::needs: what is read of a node after the step that computes it,
// set when its parent (and grandparent) is laid. Writing an 80-bit value
// costs, so values are kept only where they are read again: by the parent
// (a left operand read back from its node) or by a power whose exponent is a
// fraction p/q (it reads p and q). A letter's sign is kept where its parent
// reads its zero flag. A bit left over from an earlier shape only costs a
// store.
constexpr uint8_t kValueForParent = 1, kValueForGrandparent = 2, kSignForParent = 4;
constexpr uint8_t kValueNeeded = kValueForParent | kValueForGrandparent;

// The operations that read their operands' zero flags.
constexpr bool readsOperandZero(int32_t op)
{
    constexpr uint32_t kMask = 1u << OpMultiply | 1u << OpDivide | 1u << OpPower | 1u << OpSin | 1u << OpTan |
                               1u << OpCosec | 1u << OpCotan | 1u << OpArctn | 1u << OpLog |
                               1u << OpBasedLog | 1u << OpSqrt | 1u << OpAbs | 1u << OpGaus;
    return static_cast<uint32_t>(op) < 32 && ((kMask >> op) & 1);
}

// Both flags of n with one store: a parent that reads both at once gets them
// forwarded only from a single store of both.
EVAL_INLINE void storeFlags(ExprNode *n, uint8_t zero, uint8_t pole)
{
    static_assert(offsetof(ExprNode, poleCross) == offsetof(ExprNode, zeroCross) + 1);
    const uint16_t both = static_cast<uint16_t>(zero | pole << 8);
    std::memcpy(&n->zeroCross, &both, sizeof both);
}

// The operations that compare the sign of their result with the sign of
// their previous result.
constexpr bool keepsSign(int32_t op)
{
    return op == OpAdd || op == OpSubtract || op == OpSin || op == OpCos || op == OpSinh;
}

// The operations that compare their result with their own previous value.
constexpr bool readsOwnValue(int32_t op)
{
    return op == OpSubtract || op == OpSgn || op == OpGaus;
}

// A letter. x, y and z keep their sign where the parent reads their zero
// flag, which tells of a sign change since the previous call; a letter keeps
// its value where a power reads it in a fraction exponent.
EVAL_INLINE long double evalLetter(ExprNode *n, const Loop &loop)
{
    const int32_t op = n->op;
    long double v;
    if (op >= OpX) {
        // x and y from the caller's arguments: reading back the variable table,
        // just written, would wait for that 80-bit store.
        v = op == OpX ? *loop.x : op == OpY ? *loop.y : engineState().variables.z;
        if (n->needs & kSignForParent) {
            int8_t s = op == OpX ? loop.xSign : static_cast<int8_t>(signOf(v));
            storeFlags(n, s * n->sign <= 0, 0);
            n->sign = s;
        }
    } else if (op == OpT) {
        v = engineState().variables.t;
    } else if (op >= OpLetterA && op <= OpLetterI) {
        v = engineState().variables.params.value[kParamOfCode[op - OpLetterA]];
    } else {
        return 0;
    }
    if (n->needs & kValueNeeded)
        n->value = v;
    return v;
}

EVAL_INLINE long double evalLeaf(ExprNode *n, const Loop &loop)
{
    storeFlags(n, 0, 0);
    if (n->op == OpConst || n->op == OpPi)
        return n->value;
    return evalLetter(n, loop);
}

inline bool isOperation(const ExprNode *n)
{
    return n && n->op < OpPi;
}

// The common operations with their common operand sources get their own
// code; everything else goes through the generic step.
#define EVAL_BINARY_SHAPES(X, op)                                                                            \
    X(op, Const, Leaf)                                                                                       \
    X(op, Const, Reg)                                                                                        \
    X(op, Leaf, Const) X(op, Leaf, Leaf) X(op, Leaf, Reg) X(op, Reg, Const) X(op, Reg, Leaf) X(op, Node, Reg)
#define EVAL_UNARY_SHAPES(X, op) X(op, None, Leaf) X(op, None, Reg)
#define EVAL_KINDS(X)                                                                                        \
    EVAL_BINARY_SHAPES(X, OpAdd)                                                                             \
    EVAL_BINARY_SHAPES(X, OpSubtract)                                                                        \
    EVAL_BINARY_SHAPES(X, OpMultiply)                                                                        \
    EVAL_BINARY_SHAPES(X, OpDivide)                                                                          \
    EVAL_BINARY_SHAPES(X, OpPower)                                                                           \
    EVAL_UNARY_SHAPES(X, OpNegate)                                                                           \
    EVAL_UNARY_SHAPES(X, OpSin)                                                                              \
    EVAL_UNARY_SHAPES(X, OpCos)                                                                              \
    EVAL_UNARY_SHAPES(X, OpTan)                                                                              \
    EVAL_UNARY_SHAPES(X, OpArctn)                                                                            \
    EVAL_UNARY_SHAPES(X, OpLog)                                                                              \
    EVAL_UNARY_SHAPES(X, OpExp)                                                                              \
    EVAL_UNARY_SHAPES(X, OpSqrt)                                                                             \
    EVAL_UNARY_SHAPES(X, OpAbs)                                                                              \
    EVAL_UNARY_SHAPES(X, OpSinh)                                                                             \
    EVAL_UNARY_SHAPES(X, OpCosh)

struct KindEntry {
    int32_t op;
    Src left, right;
};
#define EVAL_KIND_ENTRY(op, l, r) {op, Src::l, Src::r},
constexpr KindEntry kKinds[] = {{0, Src::None, Src::None}, EVAL_KINDS(EVAL_KIND_ENTRY)};
#undef EVAL_KIND_ENTRY
static_assert(std::size(kKinds) <= 256, "kinds are bytes");

// The kind of an operation node: its index in kKinds, or 0 (generic).
constexpr uint8_t kindOf(int32_t op, Src left, Src right)
{
    for (std::size_t k = 1; k < std::size(kKinds); ++k) {
        if (kKinds[k].op == op && kKinds[k].left == left && kKinds[k].right == right)
            return static_cast<uint8_t>(k);
    }
    return 0;
}

Src sourceOf(const ExprNode *operand, bool rightIsOperation, bool isLeft)
{
    if (!operand)
        return Src::None;
    if (operand->op == OpConst || operand->op == OpPi)
        return Src::Const;
    if (!isOperation(operand))
        return Src::Leaf;
    return isLeft && rightIsOperation ? Src::Node : Src::Reg;
}

// Lays node v: its operand sources and kind, and what v reads of its
// operands (their needs); v's own needs were set by its parent. Laying again
// a tree whose shape has not changed changes nothing that the next
// evaluation reads.
void layNode(ExprNode *v)
{
    ExprNode *l = v->left, *r = v->right;
    const bool rightIsOperation = isOperation(r);
    Src ls = sourceOf(l, rightIsOperation, true), rs = sourceOf(r, rightIsOperation, false);
    v->shape = static_cast<uint8_t>(static_cast<uint8_t>(ls) << kLeftShift | static_cast<uint8_t>(rs)
                                                                                 << kRightShift);
    v->kind = kindOf(v->op, ls, rs);
    for (ExprNode *operand : {l, r}) {
        if (!operand)
            continue;
        uint8_t needs = operand->needs & kValueForGrandparent;
        if (operand == l && ls == Src::Node)
            needs |= kValueForParent;
        if (!isOperation(operand)) {
            if (readsOperandZero(v->op))
                needs |= kSignForParent;
            // Numbers are read without touching their flags, and a letter's
            // pole flag is never set: clear them once.
            operand->zeroCross = operand->poleCross = 0;
        }
        operand->needs = needs;
    }
    // A number operand's class never changes (other operands' classes are
    // kept by the step).
    if (usesOperandPrevious(v->op) && rs == Src::Const)
        v->sign = operandClassOf(v->op, r->value);
    // A power reads the operands of a fraction in its exponent.
    if (v->op == OpPower && r && r->op == OpDivide) {
        for (ExprNode *part : {r->left, r->right})
            if (part)
                part->needs |= kValueForGrandparent;
    }
}

// Lays the post-order of the tree's operation nodes through their next
// fields, from root->threadStart to the root. No recursion and no memory: the
// pending nodes are a stack linked through the same next fields. The
// pre-order root, right, left is produced and reversed on the fly, which
// gives left, right, root.
//
// The root's own next field and needs stay as they were, so laying a subtree
// keeps the order of the tree around it intact (a subtree's post-order is a
// contiguous run of its tree's).
void layThread(ExprNode *root)
{
    ExprNode *const saved = root->next;
    ExprNode *stack = root, *head = nullptr;
    root->next = nullptr;
    while (stack) {
        ExprNode *v = stack;
        stack = v->next;
        v->next = head;
        head = v;
        layNode(v);
        if (isOperation(v->left)) {
            v->left->next = stack;
            stack = v->left;
        }
        if (isOperation(v->right)) {
            v->right->next = stack;
            stack = v->right;
        }
    }
    root->next = saved;
    root->threadStart = head;
    root->threadEpoch = engineState().treeShapeEpoch;
}

template <Src S> EVAL_INLINE long double fetch(ExprNode *operand, const Loop &reg, bool &ok)
{
    if constexpr (S == Src::Const)
        return operand->value;
    if constexpr (S == Src::Leaf)
        return evalLetter(operand, reg);
    if constexpr (S == Src::Reg) {
        ok = ok && reg.valid;
        return reg.value;
    }
    if constexpr (S == Src::Node) {
        ok = ok && operand->valid;
        return operand->value;
    }
    return 0;
}

// For the operations that compare their operand with the previous call: the
// class of the operand at the previous call (see logarithmClass and
// trigClass). A logarithm takes its operand's new class here, whenever the
// operand is defined (a based logarithm may be undefined for its base alone);
// the trigonometric functions leave theirs in the step's outcome.
template <int32_t Op> EVAL_INLINE int8_t previousClass(ExprNode *n, long double R, bool operandDefined)
{
    const int8_t previous = n->sign;
    if (isLogarithm(Op) && operandDefined)
        n->sign = logarithmClass(R);
    return previous;
}

// Where a leaf operand's value sits in memory, for passing it on to a library
// function without storing it again; null for parameters (single precision).
template <Src S> EVAL_INLINE const long double *memoryOf(const ExprNode *operand, const Loop &loop)
{
    if constexpr (S == Src::Const) {
        return &operand->value;
    } else if constexpr (S == Src::Leaf) {
        switch (operand->op) {
        case OpX:
            return loop.x;
        case OpY:
            return loop.y;
        case OpZ:
            return &engineState().variables.z;
        case OpT:
            return &engineState().variables.t;
        default:
            return nullptr;
        }
    }
    return nullptr;
}

// The end of a step: the result (if defined) becomes the node's value and
// the loop's register.
EVAL_INLINE void commit(int32_t op, ExprNode *n, long double result, const Outcome &out, bool computed,
                        Loop &reg)
{
    if (usesOperandPrevious(op) && !isLogarithm(op) && computed)
        n->sign = out.sign; // the signs of the operand's sine and cosine
    if (out.ok) {
        if (readsOwnValue(op) || (n->needs & kValueNeeded))
            n->value = result;
        if (keepsSign(op))
            n->sign = out.sign;
    }
    storeFlags(n, out.zero, out.pole);
    // Unconditionally: a register that is not valid is never read, and
    // keeping the old value alive across a library call would cost a spill.
    reg.value = result;
    n->valid = out.ok;
    reg.valid = out.ok;
}

// Every overflow stands for an infinite value; nothing undefined escapes.
// (Measured: comparing the magnitude is far cheaper here than testing
// result - result, whose subtraction delays the library calls around it.)
EVAL_INLINE long double finite(long double result, Outcome &out)
{
    if (__builtin_expect(!isFiniteValue(result), 0)) {
        if (std::isnan(result))
            return out.undefined();
        return result > 0 ? kBigValue : -kBigValue;
    }
    return result;
}

template <int32_t Op, Src LS, Src RS> EVAL_INLINE void step(ExprNode *n, Loop &reg)
{
    ExprNode *l = n->left, *r = n->right;
    Outcome out;
    int8_t previous = 0;
    long double R = fetch<RS>(r, reg, out.ok);
    if constexpr (usesOperandPrevious(Op))
        previous = previousClass<Op>(n, R, out.ok);
    long double L = fetch<LS>(l, reg, out.ok);
    long double result = 0;
    const bool computed = out.ok;
    if (computed)
        result = finite(compute(Op, n, l, r, L, R, memoryOf<RS>(r, reg), previous, out), out);
    commit(Op, n, result, out, computed, reg);
}

// Any operation with any operands.
EVAL_INLINE void genericStep(ExprNode *n, Loop &reg)
{
    ExprNode *l = n->left, *r = n->right;
    const uint8_t shape = n->shape;
    Outcome out;
    int8_t previous = 0;
    long double L = 0, R = 0;
    switch (rightSrc(shape)) {
    case Src::Reg:
        R = fetch<Src::Reg>(r, reg, out.ok);
        break;
    case Src::None:
        break;
    default:
        R = evalLeaf(r, reg);
        break;
    }
    if (usesOperandPrevious(n->op))
        previous =
            isLogarithm(n->op) ? previousClass<OpLog>(n, R, out.ok) : previousClass<OpTan>(n, R, out.ok);
    switch (leftSrc(shape)) {
    case Src::Reg:
        L = fetch<Src::Reg>(l, reg, out.ok);
        break;
    case Src::Node:
        L = fetch<Src::Node>(l, reg, out.ok);
        break;
    case Src::None:
        break;
    default:
        L = evalLeaf(l, reg);
        break;
    }
    long double result = 0;
    const bool computed = out.ok;
    if (computed)
        result = finite(compute(n->op, n, l, r, L, R, nullptr, previous, out), out);
    commit(n->op, n, result, out, computed, reg);
}

EVAL_INLINE long double runThread(ExprNode *root, const long double *x, const long double *y)
{
    Loop reg{0, true, x, y, static_cast<int8_t>(signOf(*x))};
    for (ExprNode *n = root->threadStart;; n = n->next) {
        switch (n->kind) {
#define EVAL_KIND_CASE(op, l, r)                                                                             \
    case kindOf(op, Src::l, Src::r):                                                                         \
        step<op, Src::l, Src::r>(n, reg);                                                                    \
        break;
            EVAL_KINDS(EVAL_KIND_CASE)
#undef EVAL_KIND_CASE
        case 0:
            genericStep(n, reg);
            break;
        default:
            __builtin_unreachable(); // kinds are laid by kindOf
        }
        if (n == root)
            break;
    }
    engineState().evalValid = reg.valid;
    return reg.valid ? reg.value : 0;
}
} // namespace

namespace
{
// *to = *from as bytes, not through the x87 unit, so that nothing waits for
// the caller's 80-bit store of the argument. The pointer is hidden from the
// optimiser, which would otherwise turn the copy back into a load and store.
EVAL_INLINE void copyBytes(long double *to, const long double *from)
{
    asm("" : "+r"(from));
    std::memcpy(to, from, sizeof *to);
}
} // namespace

long double evaluate(ExprNode *tree, long double x, long double y)
{
    copyBytes(&engineState().variables.x, &x);
    copyBytes(&engineState().variables.y, &y);
    if (!tree)
        return 0;
    if (!isOperation(tree)) {
        engineState().evalValid = true;
        return evalLeaf(tree, Loop{0, true, &x, &y, static_cast<int8_t>(signOf(x))});
    }
    if (tree->threadEpoch != engineState().treeShapeEpoch)
        layThread(tree);
    return runThread(tree, &x, &y);
}

} // namespace gq
