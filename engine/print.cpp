#include "engine/print.h"
// placeholder: filled by the printer work
std::string TreeToText(const ExprNode *) { return {}; }
std::string FormatConstant(long double) { return {}; }
