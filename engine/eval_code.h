// The encoding of a compiled Program's steps, shared by the builder
// (program.cpp) and the evaluator (eval_loop.cpp). Internal to the engine.
#pragma once

#include "engine/expr_tree.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace gq::eval_detail
{

// Where an operand comes from. Operations run in post-order, so the step just
// before an operation computed its right operand, or its left one when the
// right operand is a leaf or absent: that value is in the loop's register
// (Reg). A left operation followed by a right operation is read back from its
// slot (Slot), written long before. Numbers (and π) are Const, letters Leaf.
// Two small operations on leaves are computed where their parent reads them,
// with no step of their own (see program_fuse.cpp): a number times a letter
// (Scaled) and a letter to a number power 0, 1, 2, ... (LeafPower). A sum or
// difference of two such operands, numbers and letters is computed where its
// parent reads it too (Pair), with its zero flag where that is read.
enum class Src : uint8_t { None, Const, Leaf, Reg, Slot, Scaled, LeafPower, Pair };

// Step::shape: the sources of the two operands.
inline constexpr uint8_t kLeftShift = 0, kRightShift = 3, kSrcMask = 7;

constexpr uint8_t shapeOf(Src left, Src right)
{
    return static_cast<uint8_t>(static_cast<uint8_t>(left) << kLeftShift | static_cast<uint8_t>(right)
                                                                               << kRightShift);
}
constexpr Src leftSrc(uint8_t shape)
{
    return static_cast<Src>((shape >> kLeftShift) & kSrcMask);
}
constexpr Src rightSrc(uint8_t shape)
{
    return static_cast<Src>((shape >> kRightShift) & kSrcMask);
}

// Step::form of a sum computed in place (Src::Pair): the sources of its two
// operands, where they are among the common ones that have code of their own
// (1, 2, ...); 0 where the sources are read at run time.
struct PairForm {
    Src left, right;
};
inline constexpr PairForm kPairForms[] = {{Src::None, Src::None},
                                          {Src::LeafPower, Src::Scaled},
                                          {Src::LeafPower, Src::Const},
                                          {Src::Leaf, Src::Const},
                                          {Src::Scaled, Src::Const}};
constexpr uint8_t pairFormOf(Src left, Src right)
{
    for (std::size_t k = 1; k < std::size(kPairForms); ++k)
        if (kPairForms[k].left == left && kPairForms[k].right == right)
            return static_cast<uint8_t>(k);
    return 0;
}

// Step::needs: what is read of a node's slot after the step that computes
// it. Writing an 80-bit value costs, so values are kept only where they are
// read again: by the parent (a left operand read back from its slot) or by a
// power whose exponent is a fraction p/q (it reads p and q). A letter's sign
// is kept where its parent reads its zero flag.
inline constexpr uint8_t kValueForParent = 1, kValueForGrandparent = 2, kSignForParent = 4;
inline constexpr uint8_t kValueNeeded = kValueForParent | kValueForGrandparent;

// Step::facts: what the builder found out about the flags around a step.
// kZeroUnread: nothing reads this node's zero flag (it is not the whole
// formula, and its parent ignores it or only passes it on to flags nobody
// reads), so a sum or difference skips the comparison of signs that sets it.
// kOperandPolesClear: neither operand can ever raise its pole flag (numbers,
// letters, and operations on them that cannot make a pole).
inline constexpr uint8_t kZeroUnread = 1, kOperandPolesClear = 2;

// Operation codes below π are operations (functions, operators, sums and
// their ranges); π, numbers and letters are leaves.
constexpr bool isOperationCode(int32_t op)
{
    return op < OpPi;
}
constexpr bool isNumberCode(int32_t op)
{
    return op == OpConst || op == OpPi;
}

// The operations that read their operands' zero flags.
constexpr bool readsOperandZero(int32_t op)
{
    constexpr uint32_t kMask = 1u << OpMultiply | 1u << OpDivide | 1u << OpPower | 1u << OpSin | 1u << OpTan |
                               1u << OpCosec | 1u << OpCotan | 1u << OpArctn | 1u << OpLog |
                               1u << OpBasedLog | 1u << OpSqrt | 1u << OpAbs | 1u << OpGaus;
    return static_cast<uint32_t>(op) < 32 && ((kMask >> op) & 1);
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

// The common operations with their common operand sources get their own
// code; everything else goes through the generic step.
#define EVAL_BINARY_SHAPES(X, op)                                                                            \
    X(op, Const, Leaf)                                                                                       \
    X(op, Const, Reg)                                                                                        \
    X(op, Leaf, Const) X(op, Leaf, Leaf) X(op, Leaf, Reg) X(op, Reg, Const) X(op, Reg, Leaf) X(op, Slot, Reg)
#define EVAL_UNARY_SHAPES(X, op) X(op, None, Leaf) X(op, None, Reg)
// The same with fused operands (Scaled, LeafPower), in the shapes of
// polynomials and of functions of a multiple of x. (Few: each kind adds code
// to the evaluation loop, which must stay small enough for the caches.)
#define EVAL_FUSED_BINARY_SHAPES(X, op)                                                                      \
    X(op, LeafPower, Scaled) X(op, LeafPower, Const) X(op, Reg, Scaled) X(op, Reg, LeafPower)
#define EVAL_FUSED_UNARY_SHAPES(X, op) X(op, None, Scaled)
// The operations that compute a fused operand in place (program_fuse.cpp),
// with and without flags alike: their operands' steps compute values alone.
#define EVAL_FUSED_KINDS(X)                                                                                  \
    EVAL_FUSED_BINARY_SHAPES(X, OpAdd)                                                                       \
    EVAL_FUSED_BINARY_SHAPES(X, OpSubtract)                                                                  \
    EVAL_FUSED_UNARY_SHAPES(X, OpSin)                                                                        \
    EVAL_FUSED_UNARY_SHAPES(X, OpCos)                                                                        \
    EVAL_FUSED_UNARY_SHAPES(X, OpExp)
// Whole formulas of one operation on sums or differences computed in place
// (Pair): quotients and products of polynomials of two terms, a function of
// such a sum. With every operand computed in place such a formula is one
// step, which runs in a function of its own (eval_whole.cpp) and never in the
// loop: kinds added to the loop made all of its code slower. (A sum of a pair
// and a term is not among them: it was no faster as a whole than as two steps.)
#define EVAL_WHOLE_PRODUCT_SHAPES(X, op)                                                                     \
    X(op, Pair, Pair) X(op, Const, Pair) X(op, Leaf, Pair) X(op, Scaled, Pair) X(op, LeafPower, Pair)
#define EVAL_WHOLE_KINDS(X)                                                                                  \
    EVAL_WHOLE_PRODUCT_SHAPES(X, OpMultiply)                                                                 \
    EVAL_WHOLE_PRODUCT_SHAPES(X, OpDivide)                                                                   \
    X(OpDivide, Pair, Leaf) X(OpDivide, Pair, Const) X(OpPower, Pair, Const)                                 \
    X(OpSin, None, Pair) X(OpCos, None, Pair) X(OpSqrt, None, Pair) X(OpLog, None, Pair) X(OpAbs, None, Pair)
// The same whose flags are never raised (value-only code, as below).
#define EVAL_WHOLE_VALUE_KINDS(X) X(OpExp, None, Pair)
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
    EVAL_UNARY_SHAPES(X, OpCosh)                                                                             \
    EVAL_FUSED_KINDS(X)

// The same operations where nothing reads the flags they would set and they
// can set no pole (see valueOnly in program.cpp): their code computes the
// value alone. (A power qualifies only with a number exponent of 0, 1, 2, ...)
#define EVAL_VALUE_KINDS(X)                                                                                  \
    EVAL_BINARY_SHAPES(X, OpAdd)                                                                             \
    EVAL_BINARY_SHAPES(X, OpSubtract)                                                                        \
    EVAL_BINARY_SHAPES(X, OpMultiply)                                                                        \
    X(OpPower, Leaf, Const) X(OpPower, Reg, Const) X(OpPower, Slot, Const)                                   \
    EVAL_UNARY_SHAPES(X, OpNegate)                                                                           \
    EVAL_UNARY_SHAPES(X, OpSin)                                                                              \
    EVAL_UNARY_SHAPES(X, OpCos)                                                                              \
    EVAL_UNARY_SHAPES(X, OpArctn)                                                                            \
    EVAL_UNARY_SHAPES(X, OpExp)                                                                              \
    EVAL_UNARY_SHAPES(X, OpSqrt)                                                                             \
    EVAL_UNARY_SHAPES(X, OpAbs)                                                                              \
    EVAL_UNARY_SHAPES(X, OpSinh)                                                                             \
    EVAL_UNARY_SHAPES(X, OpCosh)                                                                             \
    EVAL_FUSED_KINDS(X)

struct KindEntry {
    int32_t op;
    Src left, right;
    bool flags; // false: the value-only code
};
#define EVAL_KIND_ENTRY(op, l, r) {op, Src::l, Src::r, true},
#define EVAL_VALUE_KIND_ENTRY(op, l, r) {op, Src::l, Src::r, false},
inline constexpr KindEntry kKinds[] = {{0, Src::None, Src::None, true}, EVAL_KINDS(EVAL_KIND_ENTRY)
                                           EVAL_VALUE_KINDS(EVAL_VALUE_KIND_ENTRY)
                                               EVAL_WHOLE_KINDS(EVAL_KIND_ENTRY)
                                                   EVAL_WHOLE_VALUE_KINDS(EVAL_VALUE_KIND_ENTRY)};
#undef EVAL_KIND_ENTRY
#undef EVAL_VALUE_KIND_ENTRY
static_assert(std::size(kKinds) <= 256, "kinds are bytes");

// The whole-formula kinds come last: kinds from here on never run in the loop.
#define EVAL_COUNT_KIND(op, l, r) +1
inline constexpr std::size_t kFirstWholeKind =
    std::size(kKinds) - (0 EVAL_WHOLE_KINDS(EVAL_COUNT_KIND) EVAL_WHOLE_VALUE_KINDS(EVAL_COUNT_KIND));
#undef EVAL_COUNT_KIND
constexpr bool isWholeKind(uint8_t kind)
{
    return kind >= kFirstWholeKind;
}

// The kind of an operation step: its index in kKinds, or 0 (generic).
// flags false asks for the value-only code, where there is one.
constexpr uint8_t findKind(int32_t op, Src left, Src right, bool flags = true)
{
    for (std::size_t k = 1; k < std::size(kKinds); ++k) {
        if (kKinds[k].op == op && kKinds[k].left == left && kKinds[k].right == right && kKinds[k].flags == flags)
            return static_cast<uint8_t>(k);
    }
    return 0;
}

// The same, looked up in a table made at compile time (building a Program
// asks for every step's kind).
inline constexpr int32_t kKindOps = 32, kSrcCount = 8;
struct KindTable {
    uint8_t kind[kKindOps][kSrcCount][kSrcCount][2] = {};
    constexpr KindTable()
    {
        for (std::size_t k = 1; k < std::size(kKinds); ++k)
            kind[kKinds[k].op][static_cast<int>(kKinds[k].left)][static_cast<int>(kKinds[k].right)]
                [kKinds[k].flags ? 1 : 0] = static_cast<uint8_t>(k);
    }
};
inline constexpr KindTable kKindTable;

constexpr uint8_t kindOf(int32_t op, Src left, Src right, bool flags = true)
{
    if (op < 0 || op >= kKindOps)
        return 0;
    return kKindTable.kind[op][static_cast<int>(left)][static_cast<int>(right)][flags ? 1 : 0];
}
static_assert(kindOf(OpAdd, Src::Reg, Src::Const) == findKind(OpAdd, Src::Reg, Src::Const));
static_assert(kindOf(OpCosh, Src::None, Src::Reg, false) == findKind(OpCosh, Src::None, Src::Reg, false));

} // namespace gq::eval_detail
