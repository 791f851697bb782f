#include "engine/print.h"

#include "engine/formula_text.h"
#include "engine/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace gq
{

namespace
{

bool opBetween(const ExprNode *n, int32_t lo, int32_t hi)
{
    return n && n->op >= lo && n->op <= hi;
}

bool isNegativeConst(const ExprNode *n)
{
    return isConst(n) && n->value < 0;
}

// Whether the text of n begins with "-", found without writing it: only the
// leftmost operand of a chain decides, so this walks down one spine.
bool leadsWithMinus(const ExprNode *n)
{
    while (n) {
        switch (n->op) {
        case OpConst:
            return n->value < 0;
        case OpNegate:
            return true;
        case OpMultiply:
            if (isConstValue(n->left, -1))
                return true;
            if (isConstValue(n->left, 1)) {
                if (opBetween(n->right, OpSubtract, OpNegate))
                    return false; // enclosed
                n = n->right;
            } else {
                if (opBetween(n->left, OpSubtract, OpAdd))
                    return false;
                n = n->left;
            }
            break;
        case OpDivide:
            if (opBetween(n->left, OpSubtract, OpAdd))
                return false;
            n = n->left;
            break;
        case OpSubtract:
        case OpAdd:
            n = n->left;
            break;
        default: // powers and factorials enclose a leading minus; calls and letters have none
            return false;
        }
    }
    return false;
}

// The text is produced from an explicit stack of pieces, so that no depth of
// tree (long sums after multiplying out) can exhaust the call stack.
class Writer
{
  public:
    std::string write(const ExprNode *root)
    {
        push(root);
        while (!pending_.empty()) {
            Piece p = std::move(pending_.back());
            pending_.pop_back();
            if (p.node)
                expand(p.node);
            else
                out_ += p.text;
        }
        return std::move(out_);
    }

  private:
    struct Piece {
        const ExprNode *node = nullptr; // a node still to write, or
        std::string text;               // literal text
    };

    // Pieces are queued in reverse: the last one queued is written first.
    void push(const ExprNode *n)
    {
        if (n)
            pending_.push_back({n, {}});
    }
    void push(std::string text) { pending_.push_back({nullptr, std::move(text)}); }

    // Queues n itself, or n in parentheses.
    void pushOperand(const ExprNode *n, bool enclose)
    {
        if (enclose)
            push(std::string(")"));
        push(n);
        if (enclose)
            push(std::string("("));
    }

    void binary(const ExprNode *n, bool encloseLeft, const char *op, bool encloseRight)
    {
        pushOperand(n->right, encloseRight);
        push(std::string(op));
        pushOperand(n->left, encloseLeft);
    }

    void expand(const ExprNode *n);
    void factorial(const ExprNode *operand);

    std::vector<Piece> pending_;
    std::string out_;
};

void Writer::expand(const ExprNode *n)
{
    const ExprNode *l = n->left;
    const ExprNode *r = n->right;
    switch (n->op) {
    case OpConst:
        out_ += formatConstant(n->value);
        return;
    case OpPi:
        out_ += kPiSjis;
        return;
    case OpLetterS:
        out_ += kThetaSjis;
        return;
    case OpPower:
        // "-2^x" would read back as -(2^x), and "x^-2" does not parse.
        binary(n, opBetween(l, OpDivide, OpNegate) || leadsWithMinus(l), "^",
               opBetween(r, OpPower, OpNegate) || leadsWithMinus(r));
        return;
    case OpDivide:
        binary(n, opBetween(l, OpSubtract, OpAdd), "/",
               opBetween(r, OpDivide, OpNegate) || leadsWithMinus(r));
        return;
    case OpMultiply: {
        bool encloseRight = opBetween(r, OpSubtract, OpNegate);
        if (isConstValue(l, -1)) {
            pushOperand(r, encloseRight || leadsWithMinus(r));
            push(std::string("-"));
        } else if (isConstValue(l, 1)) {
            pushOperand(r, encloseRight);
        } else {
            // "x*-y" does not parse.
            binary(n, opBetween(l, OpSubtract, OpAdd), "*", encloseRight || leadsWithMinus(r));
        }
        return;
    }
    case OpSubtract:
        binary(n, false, "-", opBetween(r, OpSubtract, OpNegate));
        return;
    case OpAdd: {
        // A negative right term brings its own minus sign: x-2, x-3*y.
        bool ownSign = isNegativeConst(r) || (r && r->op == OpMultiply && isNegativeConst(r->left));
        binary(n, false, ownSign ? "" : "+", false);
        return;
    }
    case OpNegate:
        pushOperand(r, opBetween(r, OpSubtract, OpNegate) || leadsWithMinus(r));
        push(std::string("-"));
        return;
    case OpBasedLog:
        // Written as the quotient the parser itself builds for a based logarithm.
        push(std::string("))"));
        push(l);
        push(std::string(")/log("));
        push(r);
        push(std::string("(log("));
        return;
    case OpFactorial:
        factorial(l);
        return;
    case OpSum: {
        char index = 'i';
        if (opBetween(l, OpRangeI, OpRangeL))
            index = "ijkl"[l->op - OpRangeI];
        push(std::string(")"));
        push(r);
        push(std::string("],"));
        if (l) {
            push(l->right);
            push(std::string(","));
            push(l->left);
        } else {
            push(std::string("0,0")); // an absent range has bounds that evaluate to 0
        }
        push(std::string("Sum(") + index + "=[");
        return;
    }
    default:
        break;
    }
    if (const char *name = functionNameOf(n->op)) {
        push(std::string(")"));
        push(r);
        push(std::string(name) + "(");
    } else if (char letter = letterOfCode(n->op)) {
        out_ += letter;
    }
}

// The parser takes "!" directly after an integer, after one of the letters
// i, j, k, l, m, n and after ")", and a parenthesised text only without the
// letters a, b, c, d, f, x, y, z, t, "/", "." and π. So a factorial of any
// other letter is enclosed, and so is anything else that is not a number.
// The factorial of a number is that of the number rounded (and undefined
// below 0), so a number that is not a whole one is written rounded, or as -1
// when negative: the same value in a text that reads back.
void Writer::factorial(const ExprNode *l)
{
    push(std::string("!"));
    if (isConst(l)) {
        long double v = l->value;
        if (v < 0) {
            if (!isIntegerValue(v))
                v = -1;
            push(std::string(")"));
            push(formatConstant(v));
            push(std::string("("));
        } else {
            push(formatConstant(isIntegerValue(v) ? v : roundHalfEven(v)));
        }
        return;
    }
    const char letter = letterOfCode(l ? l->op : 0);
    pushOperand(l, !(letter && std::strchr("ijklmn", letter)));
}

// Significant digits and decimal exponent of a positive finite value, the
// fewest (from 15 up) that strtold reads back as exactly the same value.
void shortestDigits(long double a, std::string &digits, int &exponent)
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

std::string treeToText(const ExprNode *tree)
{
    return Writer().write(tree);
}

std::string formatConstant(long double v)
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
    shortestDigits(std::fabs(v), digits, exponent);
    // Plain decimal notation only: the parser reads no exponent.
    int n = static_cast<int>(digits.size());
    if (exponent < 0)
        return sign + "0." + std::string(-exponent - 1, '0') + digits;
    if (exponent + 1 >= n)
        return sign + digits + std::string(exponent + 1 - n, '0');
    return sign + digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
}

} // namespace gq
