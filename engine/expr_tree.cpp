#include "engine/expr_tree.h"

#include "engine/budget.h"

#include <cstring>

namespace gq
{

namespace
{
ExprNode *newNode(int32_t op)
{
    ++engineState().liveNodes;
    spendFormulaWork(1);
    ExprNode *n = new ExprNode;
    n->op = op;
    return n;
}
} // namespace

int32_t letterCode(char c)
{
    if (c == '\0')
        return 0;
    const char *p = std::strchr(kLetterOrder, c);
    return p ? 10001 + static_cast<int32_t>(p - kLetterOrder) : 0;
}

int paramIndex(int32_t op)
{
    return (op >= 10001 && op <= 10022) ? paramIndexOfLetter(letterOfCode(op)) : -1;
}

char letterOfCode(int32_t op)
{
    return (op >= 10001 && op <= 10026) ? kLetterOrder[op - 10001] : '\0';
}

ExprNode *makeBinaryNode(int32_t op, ExprNode *left, ExprNode *right, int mode)
{
    if (mode == ParseCheck)
        return nullptr;
    ExprNode *n = newNode(op);
    n->left = left;
    n->right = right;
    if (left)
        left->parent = n;
    if (right)
        right->parent = n;
    return n;
}

ExprNode *makeUnaryNode(int32_t op, ExprNode *operand, int mode)
{
    return makeBinaryNode(op, nullptr, operand, mode);
}

ExprNode *makeConstNode(long double x, int mode)
{
    if (mode == ParseCheck)
        return nullptr;
    ExprNode *n = newNode(OpConst);
    n->value = x;
    return n;
}

ExprNode *makePiNode(int mode)
{
    if (mode == ParseCheck)
        return nullptr;
    ExprNode *n = newNode(OpPi);
    n->value = 3.14159265358979323846264338327950288L;
    return n;
}

ExprNode *makeLeafNode(int32_t op, int mode)
{
    return mode == ParseCheck ? nullptr : newNode(op);
}

ExprNode *copyTree(const ExprNode *tree)
{
    if (!tree)
        return nullptr;
    ExprNode *l = copyTree(tree->left);
    ExprNode *r = copyTree(tree->right);
    ExprNode *n = newNode(tree->op);
    n->value = tree->value;
    n->left = l;
    n->right = r;
    if (l)
        l->parent = n;
    if (r)
        r->parent = n;
    return n;
}

void freeTree(ExprNode *&ref)
{
    // Iterative, by rotating left subtrees up, so that no tree depth can
    // exhaust the stack and no memory is needed to release a tree.
    ExprNode *node = ref;
    while (node) {
        if (node->left) {
            ExprNode *l = node->left;
            node->left = l->right;
            l->right = node;
            node = l;
        } else {
            ExprNode *next = node->right;
            delete node;
            --engineState().liveNodes;
            node = next;
        }
    }
    ref = nullptr;
}

void relinkParents(ExprNode *ref)
{
    if (!ref)
        return;
    relinkParents(ref->left);
    relinkParents(ref->right);
    ref->parent = nullptr;
    if (ref->left)
        ref->left->parent = ref;
    if (ref->right)
        ref->right->parent = ref;
}

bool containsOp(const ExprNode *tree, int32_t op)
{
    if (!tree)
        return false;
    return containsOp(tree->left, op) || containsOp(tree->right, op) || tree->op == op;
}

void replaceLeafByInteger(ExprNode *&ref, long n, int32_t op)
{
    if (!ref)
        return;
    replaceLeafByInteger(ref->left, n, op);
    replaceLeafByInteger(ref->right, n, op);
    if (ref->op == op) {
        // A leaf becomes a constant in place: its parent link stays valid.
        freeTree(ref->left);
        freeTree(ref->right);
        ref->op = OpConst;
        ref->value = static_cast<long double>(n);
    }
}

void replaceXByTree(ExprNode *&ref, const ExprNode *arg)
{
    // Every copy made once the budget is spent would be thrown away.
    if (!ref || formulaBudgetSpent())
        return;
    if (ref->op == OpX) {
        ExprNode *parent = ref->parent;
        freeTree(ref);
        ref = copyTree(arg);
        if (ref)
            ref->parent = parent;
        return;
    }
    replaceXByTree(ref->left, arg);
    replaceXByTree(ref->right, arg);
}

std::size_t treeSize(const ExprNode *tree)
{
    return tree ? 1 + treeSize(tree->left) + treeSize(tree->right) : 0;
}

bool isConst(const ExprNode *n)
{
    return n && n->op == OpConst;
}
bool isConstValue(const ExprNode *n, long double v)
{
    return n && n->op == OpConst && n->value == v;
}

} // namespace gq
