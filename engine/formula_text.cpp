#include "engine/formula_text.h"

#include <cstring>

namespace gq
{

namespace
{
const char *const kCharClass = "^/*-+)(abcdefghijklmnopqrstuvwxyzP1234567890.ABCDEFGHIJKLMNOQRSTUVWXYZ";

struct NamedFunction {
    const char *name;
    int32_t code;
};
const NamedFunction kFunctions[] = {
    {"sin", 8},    {"cos", 9},    {"tan", 10},  {"sec", 11},  {"cosec", 12},
    {"cotan", 13}, {"arctn", 14}, {"log", 15},  {"exp", 16},  {"sqrt", 17},
    {"abs", 18},   {"sgn", 19},   {"gaus", 20}, {"sinh", 21}, {"cosh", 22},
};

// Replaces every occurrence of from (scanning left to right, continuing at the
// same position after a replacement) by to.
void replaceAll(std::string &s, const std::string &from, const std::string &to)
{
    for (std::size_t p = 0; p < s.size(); ++p) {
        if (s.compare(p, from.size(), from) == 0)
            s.replace(p, from.size(), to);
    }
}
} // namespace

int charClass(char c)
{
    if (c == '\0')
        return 0;
    const char *p = std::strchr(kCharClass, c);
    return p ? static_cast<int>(p - kCharClass) + 1 : 0;
}

std::string normaliseFormulaText(const std::string &text)
{
    std::string s = text;
    // First pass: at each position π then "(d/dx)"; second pass: θ.
    for (std::size_t p = 0; p < s.size(); ++p) {
        if (s.compare(p, 2, kPiSjis) == 0)
            s.replace(p, 2, "P");
        if (s.compare(p, 6, "(d/dx)") == 0)
            s.replace(p, 6, "D");
    }
    replaceAll(s, kThetaSjis, "s");
    return s;
}

FunctionName recogniseFunction(const std::string &text, std::size_t pos)
{
    FunctionName r;
    std::string window = text.substr(pos, 10);
    std::size_t paren = window.find('(');
    if (paren == std::string::npos)
        return r;
    std::string name = window.substr(0, paren);
    for (const NamedFunction &f : kFunctions) {
        if (name == f.name) {
            r.kind = FunctionName::Function;
            r.code = f.code;
            r.afterParen = pos + paren + 1;
            return r;
        }
    }
    if (name.size() > 3 && name.compare(0, 3, "log") == 0) {
        r.kind = FunctionName::BasedLog;
        r.code = 23;
        r.base = name.substr(3);
        r.afterParen = pos + paren + 1;
    }
    return r;
}

const char *functionNameOf(int32_t code)
{
    for (const NamedFunction &f : kFunctions)
        if (f.code == code)
            return f.name;
    return nullptr;
}

} // namespace gq
