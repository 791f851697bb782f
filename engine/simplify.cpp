#include "engine/simplify.h"
// placeholder: filled by the simplification work
void Simplify(ExprNode *&, int) {}
void ReduceFraction(ExprNode *&, int) {}
ExprNode *CanonicaliseTree(ExprNode *&ref) { return ref; }
