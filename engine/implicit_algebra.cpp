#include "engine/implicit_algebra.h"
// placeholder: filled by the implicit algebra work
void StripRoot(ExprNode *&) {}
int PolynomialDegree(const ExprNode *, int) { return -1; }
ExprNode *QuadraticRoot(const ExprNode *, int32_t, int) { return nullptr; }
