// Expression trees: the node record, operation codes, the table of letter
// values and the tree operations shared by every engine pass.
//
// Ownership: every tree owns all of its nodes; a node is in exactly one tree.
// Trees are created by the constructors below (or by passes built on them) and
// released with freeTree, or held in a Tree (unique_ptr) for RAII.
#pragma once

#include "engine/engine_state.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace gq
{

// Operation codes. 1..7 are the positions of "^/*-+)(" in the character class
// string; 10001..10026 are 10000 + position of the letter in
// "abcdefghjklmnopqrsuvwitxyz".
enum OpCode : int32_t {
    OpPower = 1,
    OpDivide = 2,
    OpMultiply = 3,
    OpSubtract = 4,
    OpAdd = 5,
    OpNegate = 6,
    OpSin = 8,
    OpCos = 9,
    OpTan = 10,
    OpSec = 11,
    OpCosec = 12,
    OpCotan = 13,
    OpArctn = 14,
    OpLog = 15,
    OpExp = 16,
    OpSqrt = 17,
    OpAbs = 18,
    OpSgn = 19,
    OpGaus = 20,
    OpSinh = 21,
    OpCosh = 22,
    OpBasedLog = 23, // log of right to the base left
    OpFactorial = 1001,
    OpSum = 2001,         // left: index range node, right: summand
    OpSumTooLarge = 3001, // a finite sum too large to expand; evaluates as undefined
    OpRangeI = 5001,      // index ranges 5001..5004 for i, j, k, l: left lower, right upper
    OpRangeJ = 5002,
    OpRangeK = 5003,
    OpRangeL = 5004,
    OpPi = 9999,
    OpConst = 10000,
    OpLetterA = 10001, // a .. w: 10001..10021 (t left out), see letterCode
    OpLetterE = 10005,
    OpLetterS = 10018, // written θ by the user
    OpLetterI = 10022,
    OpT = 10023,
    OpX = 10024,
    OpY = 10025,
    OpZ = 10026,
};

// The letters in code order: code = 10000 + 1-based position.
inline constexpr const char *kLetterOrder = "abcdefghjklmnopqrsuvwitxyz";

// Leaf code of a lower-case letter, or 0 when c is not one.
int32_t letterCode(char c);
// The letter of a leaf code 10001..10026, or '\0'.
char letterOfCode(int32_t op);

struct ExprNode {
    int32_t op = 0;
    long double value = 0; // a number's value (numbers and π); 0 for other nodes
    ExprNode *parent = nullptr;
    ExprNode *left = nullptr;
    ExprNode *right = nullptr; // the only operand of one-operand functions and negation
};

// Index into Parameters::value of a parameter leaf code 10001..10022 (the
// code order puts i after w, the table keeps it alphabetical), or -1.
int paramIndex(int32_t op);

// 1 = check the syntax only (constructors allocate nothing and return null),
// 2 = build the tree. Any other value behaves as 2 in the constructors.
enum ParseMode : int { ParseCheck = 1, ParseBuild = 2 };

// Constructors. Each returns a new node, or null in check mode.
ExprNode *makeBinaryNode(int32_t op, ExprNode *left, ExprNode *right, int mode = ParseBuild);
ExprNode *makeUnaryNode(int32_t op, ExprNode *operand, int mode = ParseBuild);
ExprNode *makeConstNode(long double x, int mode = ParseBuild);
ExprNode *makePiNode(int mode = ParseBuild);
ExprNode *makeLeafNode(int32_t op, int mode = ParseBuild);

// Deep copy with op and value; the copy's root has no parent. Null copies to
// null.
ExprNode *copyTree(const ExprNode *tree);
// Releases the tree and sets the referring pointer to null.
void freeTree(ExprNode *&ref);
// Resets every parent link below ref; the root's parent becomes null.
void relinkParents(ExprNode *ref);
bool containsOp(const ExprNode *tree, int32_t op);
// Every node of code op becomes a constant n.
void replaceLeafByInteger(ExprNode *&ref, long n, int32_t op);
// Every x leaf is replaced by a fresh copy of arg (arg itself is not consumed).
void replaceXByTree(ExprNode *&ref, const ExprNode *arg);

// Number of nodes in the tree.
std::size_t treeSize(const ExprNode *tree);
bool isConst(const ExprNode *n); // a number node
bool isConstValue(const ExprNode *n, long double v);

// Nodes allocated and not yet freed on this thread.
inline std::size_t liveNodeCount()
{
    return engineState().liveNodes;
}

struct TreeDeleter {
    void operator()(ExprNode *n) const { freeTree(n); }
};
using Tree = std::unique_ptr<ExprNode, TreeDeleter>;

} // namespace gq
