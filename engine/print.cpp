#include "engine/print.h"

#include "engine/formula_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{

bool OpBetween(const ExprNode *n, int32_t lo, int32_t hi)
{
    return n && n->op >= lo && n->op <= hi;
}

bool StartsWithMinus(const std::string &s)
{
    return !s.empty() && s[0] == '-';
}

std::string Wrap(const std::string &s)
{
    return "(" + s + ")";
}

bool IsNegativeConst(const ExprNode *n)
{
    return IsConst(n) && n->value < 0;
}

std::string Text(const ExprNode *n);

std::string PowerText(const ExprNode *n)
{
    std::string lt = Text(n->left);
    std::string rt = Text(n->right);
    // "-2^x" would read back as -(2^x), so a base written with a leading minus
    // is enclosed; an exponent with one must be, since "^-" does not parse.
    if (OpBetween(n->left, OpDivide, OpNegate) || StartsWithMinus(lt))
        lt = Wrap(lt);
    if (OpBetween(n->right, OpPower, OpNegate) || StartsWithMinus(rt))
        rt = Wrap(rt);
    return lt + "^" + rt;
}

std::string DivisionText(const ExprNode *n)
{
    std::string lt = Text(n->left);
    std::string rt = Text(n->right);
    if (OpBetween(n->left, OpSubtract, OpAdd))
        lt = Wrap(lt);
    if (OpBetween(n->right, OpDivide, OpNegate) || StartsWithMinus(rt))
        rt = Wrap(rt);
    return lt + "/" + rt;
}

std::string ProductText(const ExprNode *n)
{
    std::string rt = Text(n->right);
    if (OpBetween(n->right, OpSubtract, OpNegate))
        rt = Wrap(rt);
    if (IsConstValue(n->left, -1))
        return "-" + (StartsWithMinus(rt) ? Wrap(rt) : rt);
    if (IsConstValue(n->left, 1))
        return rt;
    std::string lt = Text(n->left);
    if (OpBetween(n->left, OpSubtract, OpAdd))
        lt = Wrap(lt);
    // "x*-y" does not parse.
    if (StartsWithMinus(rt))
        rt = Wrap(rt);
    return lt + "*" + rt;
}

std::string DifferenceText(const ExprNode *n)
{
    std::string rt = Text(n->right);
    if (OpBetween(n->right, OpSubtract, OpNegate))
        rt = Wrap(rt);
    return Text(n->left) + "-" + rt;
}

std::string SumText(const ExprNode *n)
{
    // A negative right term brings its own minus sign: x-2, x-3*y.
    const ExprNode *r = n->right;
    bool ownSign = IsNegativeConst(r) || (r && r->op == OpMultiply && IsNegativeConst(r->left));
    return Text(n->left) + (ownSign ? "" : "+") + Text(r);
}

std::string NegationText(const ExprNode *n)
{
    std::string rt = Text(n->right);
    if (OpBetween(n->right, OpSubtract, OpNegate) || StartsWithMinus(rt))
        rt = Wrap(rt);
    return "-" + rt;
}

std::string FactorialText(const ExprNode *n)
{
    // The parser takes "!" only after a number, a letter or ")", so anything
    // else (a function call, another factorial, a negative number) is enclosed.
    const ExprNode *l = n->left;
    std::string lt = Text(l);
    bool bare = l && (l->op >= OpConst && l->op <= OpZ) && !StartsWithMinus(lt);
    return (bare ? lt : Wrap(lt)) + "!";
}

std::string FiniteSumText(const ExprNode *n)
{
    const ExprNode *range = n->left;
    char index = 'i';
    std::string lower = "0", upper = "0"; // an absent range has bounds that evaluate to 0
    if (range) {
        if (range->op >= OpRangeI && range->op <= OpRangeL)
            index = "ijkl"[range->op - OpRangeI];
        lower = Text(range->left);
        upper = Text(range->right);
    }
    return std::string("Sum(") + index + "=[" + lower + "," + upper + "]," + Text(n->right) + ")";
}

std::string Text(const ExprNode *n)
{
    if (!n)
        return {};
    switch (n->op) {
    case OpConst:
        return FormatConstant(n->value);
    case OpPi:
        return kPiSjis;
    case OpLetterS:
        return kThetaSjis;
    case OpPower:
        return PowerText(n);
    case OpDivide:
        return DivisionText(n);
    case OpMultiply:
        return ProductText(n);
    case OpSubtract:
        return DifferenceText(n);
    case OpAdd:
        return SumText(n);
    case OpNegate:
        return NegationText(n);
    case OpBasedLog:
        // Written as the quotient the parser itself builds for a based logarithm.
        return "(log(" + Text(n->right) + ")/log(" + Text(n->left) + "))";
    case OpFactorial:
        return FactorialText(n);
    case OpSum:
        return FiniteSumText(n);
    default:
        break;
    }
    if (const char *name = FunctionNameOf(n->op))
        return std::string(name) + "(" + Text(n->right) + ")";
    if (char letter = LetterOfCode(n->op))
        return std::string(1, letter);
    return {};
}

// Significant digits and decimal exponent of a positive finite value, the
// fewest (from 15 up) that strtold reads back as exactly the same value.
void ShortestDigits(long double a, std::string &digits, int &exponent)
{
    char buf[64];
    for (int precision = 15; precision <= 21; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*Le", precision - 1, a);
        if (std::strtold(buf, nullptr) == a)
            break; // 21 digits always suffice for a 64-bit significand
    }
    std::string s(buf);
    std::size_t e = s.find('e');
    exponent = std::atoi(s.c_str() + e + 1);
    digits.clear();
    for (std::size_t i = 0; i < e; ++i)
        if (s[i] != '.')
            digits += s[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

} // namespace

std::string TreeToText(const ExprNode *tree)
{
    return Text(tree);
}

std::string FormatConstant(long double v)
{
    if (std::isnan(v))
        return "(0/0)"; // no number reads back as NaN; this text fails to parse
    if (v == 0)
        return "0";
    std::string sign = v < 0 ? "-" : "";
    if (std::isinf(v))
        return sign + "1" + std::string(4933, '0'); // reads back as infinity
    std::string digits;
    int exponent = 0;
    ShortestDigits(std::fabs(v), digits, exponent);
    // Plain decimal notation only: the parser reads no exponent.
    int n = static_cast<int>(digits.size());
    if (exponent < 0)
        return sign + "0." + std::string(-exponent - 1, '0') + digits;
    if (exponent + 1 >= n)
        return sign + digits + std::string(exponent + 1 - n, '0');
    return sign + digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
}
