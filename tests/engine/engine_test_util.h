// Helpers shared by the engine tests.
#pragma once

#include "engine/engine.h"
#include <cmath>
#include <map>
#include <string>

inline constexpr long double kPiValue = 3.14159265358979323846264338327950288L;

// Parses text in build mode; ok tells whether the parse succeeded.
inline Tree ParseText(const std::string &text, bool *ok = nullptr)
{
    ParseOK = true;
    Tree t(ParseFormula(text, ParseBuild));
    if (ok)
        *ok = ParseOK;
    return t;
}

inline bool Accepts(const std::string &text)
{
    ParseOK = true;
    Tree check(ParseFormula(text, ParseCheck));
    if (!ParseOK)
        return false;
    Tree built(ParseFormula(text, ParseBuild));
    return ParseOK;
}

// Value of a formula at (x, y) with sums expanded; valid reports EvalValid.
inline long double ValueOf(const std::string &text, long double x = 0, long double y = 0, bool *valid = nullptr)
{
    ParseOK = true;
    ExprNode *raw = ParseFormula(text, ParseBuild);
    if (!ParseOK) {
        if (valid)
            *valid = false;
        return 0;
    }
    ExpandSums(raw);
    Tree t(raw);
    EvalValid = true;
    long double v = Evaluate(t.get(), x, y);
    if (valid)
        *valid = EvalValid;
    return v;
}

// Definitions for tests: F1..F6 and Q1..Q6 by number.
struct TestDefinitions : DefinitionSource {
    std::map<int, std::string> f, q;
    TestDefinitions() { SetDefinitionSource(this); }
    ~TestDefinitions() override { SetDefinitionSource(nullptr); }
    std::string FunctionText(int n) const override
    {
        auto it = f.find(n);
        return it == f.end() ? std::string() : it->second;
    }
    std::string ConstantText(int n) const override
    {
        auto it = q.find(n);
        return it == q.end() ? std::string() : it->second;
    }
};
