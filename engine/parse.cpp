#include "engine/parse.h"
// placeholder until the parser lands
bool ParseOK = true;
bool ImplicitProduct = false;
static const DefinitionSource *g_source = nullptr;
void SetDefinitionSource(const DefinitionSource *s) { g_source = s; }
const DefinitionSource *CurrentDefinitionSource() { return g_source; }
ExprNode *ParseFormula(const std::string &, int) { return nullptr; }
