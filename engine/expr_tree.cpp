#include "engine/expr_tree.h"

#include "engine/parse.h"
#include "engine/simplify.h"

#include <cstring>

VariableTableRecord VariableTable;
uint64_t TreeShapeEpoch = 1;

namespace
{
std::size_t g_liveNodes = 0;

ExprNode *NewNode(int32_t op)
{
    ++g_liveNodes;
    TreeShapeChanged();
    ExprNode *n = new ExprNode;
    n->op = op;
    return n;
}
} // namespace

std::size_t LiveNodeCount()
{
    return g_liveNodes;
}

int32_t LetterCode(char c)
{
    if (c == '\0')
        return 0;
    const char *p = std::strchr(kLetterOrder, c);
    return p ? 10001 + static_cast<int32_t>(p - kLetterOrder) : 0;
}

int ParamIndexOfLetter(char c)
{
    if (c == '\0')
        return -1;
    const char *p = std::strchr(kParamOrder, c);
    return p ? static_cast<int>(p - kParamOrder) : -1;
}

int ParamIndex(int32_t op)
{
    return (op >= 10001 && op <= 10022) ? ParamIndexOfLetter(LetterOfCode(op)) : -1;
}

char LetterOfCode(int32_t op)
{
    return (op >= 10001 && op <= 10026) ? kLetterOrder[op - 10001] : '\0';
}

ExprNode *MakeBinaryNode(int32_t op, ExprNode *left, ExprNode *right, int mode)
{
    if (mode == ParseCheck)
        return nullptr;
    ExprNode *n = NewNode(op);
    n->left = left;
    n->right = right;
    if (left)
        left->parent = n;
    if (right)
        right->parent = n;
    return n;
}

ExprNode *MakeUnaryNode(int32_t op, ExprNode *operand, int mode)
{
    return MakeBinaryNode(op, nullptr, operand, mode);
}

ExprNode *MakeConstNode(long double x, int mode)
{
    if (mode == ParseCheck)
        return nullptr;
    ExprNode *n = NewNode(OpConst);
    n->value = n->previous = x;
    return n;
}

ExprNode *MakePiNode(int mode)
{
    if (mode == ParseCheck)
        return nullptr;
    ExprNode *n = NewNode(OpPi);
    n->value = n->previous = 3.14159265358979323846264338327950288L;
    return n;
}

ExprNode *MakeLeafNode(int32_t op, int mode)
{
    return mode == ParseCheck ? nullptr : NewNode(op);
}

ExprNode *CopyTree(const ExprNode *tree)
{
    if (!tree)
        return nullptr;
    ExprNode *l = CopyTree(tree->left);
    ExprNode *r = CopyTree(tree->right);
    ExprNode *n = NewNode(tree->op);
    n->value = tree->value;
    // A constant keeps its value in both fields, as a freshly built one does.
    // The sign field is what the evaluator compares the next result with.
    n->previous = (tree->op == OpConst || tree->op == OpPi) ? tree->value : 0;
    n->sign = tree->sign;
    n->left = l;
    n->right = r;
    if (l)
        l->parent = n;
    if (r)
        r->parent = n;
    return n;
}

void FreeTree(ExprNode *&ref)
{
    TreeShapeChanged();
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
            --g_liveNodes;
            node = next;
        }
    }
    ref = nullptr;
}

void RelinkParents(ExprNode *ref)
{
    TreeShapeGuard shapeChanges;
    if (!ref)
        return;
    RelinkParents(ref->left);
    RelinkParents(ref->right);
    ref->parent = nullptr;
    if (ref->left)
        ref->left->parent = ref;
    if (ref->right)
        ref->right->parent = ref;
}

bool ContainsOp(const ExprNode *tree, int32_t op)
{
    if (!tree)
        return false;
    return ContainsOp(tree->left, op) || ContainsOp(tree->right, op) || tree->op == op;
}

bool FormulaUsesLeaf(const std::string &text, int32_t op)
{
    if (text.empty())
        return false;
    ExprNode *tree = ParseFormula(text, ParseBuild);
    bool found = ContainsOp(tree, op);
    FreeTree(tree);
    return found;
}

void ReplaceLeafByInteger(ExprNode *&ref, long n, int32_t op)
{
    TreeShapeGuard shapeChanges;
    if (!ref)
        return;
    ReplaceLeafByInteger(ref->left, n, op);
    ReplaceLeafByInteger(ref->right, n, op);
    if (ref->op == op) {
        // A leaf becomes a constant in place: its parent link stays valid.
        FreeTree(ref->left);
        FreeTree(ref->right);
        ref->op = OpConst;
        ref->value = ref->previous = static_cast<long double>(n);
        ref->zeroCross = ref->poleCross = 0;
    }
}

void ReplaceLeafByZero(ExprNode *&ref, int32_t op)
{
    TreeShapeGuard shapeChanges;
    ReplaceLeafByInteger(ref, 0, op);
    Simplify(ref, ParseBuild);
}

void ReplaceXByTree(ExprNode *&ref, const ExprNode *arg)
{
    TreeShapeGuard shapeChanges;
    if (!ref || TreeBudgetExceeded())
        return;
    if (ref->op == OpX) {
        ExprNode *parent = ref->parent;
        FreeTree(ref);
        ref = CopyTree(arg);
        if (ref)
            ref->parent = parent;
        return;
    }
    ReplaceXByTree(ref->left, arg);
    ReplaceXByTree(ref->right, arg);
}

std::size_t TreeSize(const ExprNode *tree)
{
    return tree ? 1 + TreeSize(tree->left) + TreeSize(tree->right) : 0;
}

bool IsConst(const ExprNode *n)
{
    return n && n->op == OpConst;
}
bool IsConstValue(const ExprNode *n, long double v)
{
    return n && n->op == OpConst && n->value == v;
}
