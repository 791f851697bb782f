#include "engine/parse.h"

#include "engine/budget.h"
#include "engine/differentiate.h"
#include "engine/formula_text.h"
#include "engine/simplify.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace gq
{

namespace
{
// The parse flag and the bookkeeping that lasts across nested parses
// (definitions, sum bounds) are this thread's: see ParseContext. The nesting
// count bounds the recursion so that no text can exhaust the stack; a
// reference to a definition that is being expanded right now is a cycle.
// Each parse level costs a unit of the formula budget, so that even a check
// that builds nothing (definitions referred to over and over) is bounded.
bool &parseOk()
{
    return engineState().parseOK;
}
ParseContext &context()
{
    return engineState().parse;
}

// Longest formula text accepted. Far beyond anything typed on the keyboard;
// it keeps trees shallow enough for the recursive passes. A longer text, a
// deeper nesting or a deeper tree is refused as too complex, like a formula
// that runs past its budget.
constexpr std::size_t kMaxFormulaLength = 10000;
// Deepest tree a parse may return (definitions substituted into each other can
// deepen a tree beyond its text).
constexpr std::size_t kMaxTreeDepth = 5000;
// Units of the formula budget one parse costs besides its text and levels
// (the copies of its text and of a definition's).
constexpr std::size_t kParseOverhead = 16;

struct NestingGuard {
    NestingGuard()
    {
        spendFormulaWork(1);
        if (++context().nesting > kMaxParseNesting)
            refuseFormula(); // too deep for the recursive passes: too complex
        if (formulaBudgetSpent())
            parseOk() = false;
    }
    ~NestingGuard() { --context().nesting; }
};

struct ExpansionGuard {
    bool *flag;
    explicit ExpansionGuard(bool *f) : flag(f) { *flag = true; }
    ~ExpansionGuard() { *flag = false; }
};

Tree adopt(ExprNode *n)
{
    return Tree(n);
}

// One parse: the normalised text and a 1-based position. After an operand has
// been read, pos stands on its last character.
class Parser
{
  public:
    Parser(std::string text, int mode) : text_(std::move(text)), mode_(mode) {}

    Tree parseLevel(int level);
    long depth() const { return depth_; }

  private:
    char at(long p) const { return (p >= 1 && p <= last()) ? text_[p - 1] : '\0'; }
    int classAt(long p) const { return charClass(at(p)); }
    long last() const { return static_cast<long>(text_.size()); }
    bool fail()
    {
        parseOk() = false;
        return false;
    }

    bool stopCheck(int level);
    int readOperator();
    Tree parseOperand();
    Tree parseParenthesis();
    Tree parseLetter();
    Tree parseFunctionArgument(int32_t code);
    Tree parseBasedLog(const std::string &base);
    Tree parseNumber();
    Tree parseDerivative();
    Tree parseDefinedFunction();
    Tree parseDefinedConstant();
    Tree parseSum();
    Tree readRange(int32_t code);
    bool scanNumber(long double &value);
    Tree binary(int32_t op, Tree left, Tree right)
    {
        return adopt(makeBinaryNode(op, left.release(), right.release(), mode_));
    }

    std::string text_;
    int mode_;
    long pos_ = 1;
    long depth_ = 0;
};

Tree Parser::parseLevel(int level)
{
    if (!parseOk() || pos_ > last())
        return nullptr;
    NestingGuard guard;
    if (!parseOk())
        return nullptr;
    Tree left = parseOperand();
    if (!parseOk())
        return nullptr;
    while (pos_ < last()) {
        if (stopCheck(level))
            break;
        if (!parseOk())
            return nullptr;
        int op;
        if (context().impliedProduct) {
            pos_ += 1;
            op = OpMultiply;
        } else {
            op = readOperator();
            if (!parseOk())
                return nullptr;
        }
        Tree right = parseLevel(op);
        if (!parseOk())
            return nullptr;
        left = binary(op, std::move(left), std::move(right));
        if (formulaBudgetSpent()) {
            parseOk() = false;
            return nullptr;
        }
    }
    return left;
}

// Looks at the character after pos: true means the current level ends there.
bool Parser::stopCheck(int level)
{
    context().impliedProduct = false;
    int c = classAt(pos_ + 1);
    if (c == 0)
        return fail();
    if (c >= 7 && c <= 33) {
        context().impliedProduct = true;
        return false;
    }
    if (c >= 34)
        return fail();
    if (level <= c) {
        if (level == 6) { // the closing parenthesis of this level
            // A derivative marker outside any parenthesis ends at one that
            // closes nothing: a stray ")".
            if (depth_ == 0)
                return fail();
            depth_ -= 1;
            pos_ += 1;
        }
        return true;
    }
    return false;
}

int Parser::readOperator()
{
    int c1 = classAt(pos_ + 1);
    int c2 = classAt(pos_ + 2);
    if (c1 == 0 || pos_ + 2 > last() || c2 == 0) {
        fail();
        return 0;
    }
    bool accept = ((c1 >= 1 && c1 <= 3) && !(c2 >= 1 && c2 <= 6)) || c1 == 4 || c1 == 5;
    if (!accept) {
        fail();
        return 0;
    }
    pos_ += 2;
    return c1;
}

Tree Parser::parseOperand()
{
    if (pos_ > last()) {
        fail();
        return nullptr;
    }
    char ch = at(pos_);
    int c = charClass(ch);
    if (c == 0 || (c >= 1 && c <= 3) || c == 6) {
        fail();
        return nullptr;
    }
    if (c == 4) { // a leading minus is a product with -1
        pos_ += 1;
        if (pos_ > last()) {
            fail();
            return nullptr;
        }
        Tree operand = parseLevel(OpSubtract);
        if (!parseOk())
            return nullptr;
        return binary(OpMultiply, adopt(makeConstNode(-1, mode_)), std::move(operand));
    }
    if (c == 5) {
        pos_ += 1;
        if (pos_ > last()) {
            fail();
            return nullptr;
        }
        return parseLevel(OpAdd);
    }
    if (c == 7)
        return parseParenthesis();
    if (c >= 8 && c <= 33)
        return parseLetter();
    if (c == 34)
        return adopt(makePiNode(mode_));
    if (c >= 35 && c <= 45)
        return parseNumber();
    switch (ch) {
    case 'D':
        return parseDerivative();
    case 'F':
        return parseDefinedFunction();
    case 'Q':
        return parseDefinedConstant();
    case 'S':
        return parseSum();
    default:
        // Any other capital letter is no formula at all.
        fail();
        return nullptr;
    }
}

Tree Parser::parseParenthesis()
{
    depth_ += 1;
    pos_ += 1;
    if (pos_ > last()) { // "(" at the very end: no operand, never an empty one
        fail();
        return nullptr;
    }
    long start = pos_;
    Tree inner = parseLevel(6);
    if (!parseOk())
        return nullptr;
    if (at(pos_ + 1) != '!')
        return inner; // parentheses leave no node
    // Only an integer-valued text may carry a factorial.
    for (long p = start; p < pos_; ++p) {
        if (std::strchr("abcdfxyzt/.P", at(p))) {
            fail();
            return nullptr;
        }
    }
    pos_ += 1;
    return binary(OpFactorial, std::move(inner), nullptr);
}

Tree Parser::parseLetter()
{
    char ch = at(pos_);
    int next = classAt(pos_ + 1);
    enum { Variable, Factorial, Product, Function, BasedLog } what;
    FunctionName fn;
    if (pos_ == last() || (next >= 1 && next <= 6)) {
        what = Variable;
    } else if (at(pos_ + 1) == '!') {
        what = Factorial;
    } else if (next == 0) {
        fail();
        return nullptr;
    } else {
        fn = recogniseFunction(text_, static_cast<std::size_t>(pos_ - 1));
        what = fn.kind == FunctionName::Function   ? Function
               : fn.kind == FunctionName::BasedLog ? BasedLog
                                                   : Product;
    }
    switch (what) {
    case Function:
        pos_ = static_cast<long>(fn.afterParen) + 1;
        return parseFunctionArgument(fn.code);
    case BasedLog:
        pos_ = static_cast<long>(fn.afterParen) + 1;
        return parseBasedLog(fn.base);
    case Factorial:
        if (!std::strchr("ijklmn", ch)) {
            fail();
            return nullptr;
        }
        pos_ += 1;
        return binary(OpFactorial, adopt(makeLeafNode(letterCode(ch), mode_)), nullptr);
    case Product: {
        Tree leaf = adopt(makeLeafNode(letterCode(ch), mode_));
        pos_ += 1;
        Tree rest = parseLevel(OpMultiply);
        if (!parseOk())
            return nullptr;
        return binary(OpMultiply, std::move(leaf), std::move(rest));
    }
    case Variable:
    default:
        return adopt(makeLeafNode(letterCode(ch), mode_));
    }
}

// pos is on the first character after "(".
Tree Parser::parseFunctionArgument(int32_t code)
{
    depth_ += 1;
    Tree operand = parseLevel(6);
    if (!parseOk())
        return nullptr;
    if (pos_ == last() && at(pos_) != ')') {
        fail();
        return nullptr;
    }
    if (code == 0)
        return operand;
    return adopt(makeUnaryNode(code, operand.release(), mode_));
}

// log<base>(argument) is log(argument)/log(base).
Tree Parser::parseBasedLog(const std::string &baseText)
{
    Parser baseParser(baseText, mode_);
    Tree base = baseParser.parseLevel(7);
    if (!parseOk())
        return nullptr;
    Tree argument = parseFunctionArgument(0);
    if (!parseOk())
        return nullptr;
    return binary(OpDivide, adopt(makeUnaryNode(OpLog, argument.release(), mode_)),
                  adopt(makeUnaryNode(OpLog, base.release(), mode_)));
}

Tree Parser::parseNumber()
{
    long double value = 0;
    if (!scanNumber(value))
        return nullptr;
    Tree c = adopt(makeConstNode(value, mode_));
    if (context().impliedProduct) {
        pos_ += 1;
        Tree rest = parseLevel(OpMultiply);
        if (!parseOk())
            return nullptr;
        c = binary(OpMultiply, std::move(c), std::move(rest));
    }
    if (at(pos_ + 1) == '!') {
        if (value != std::trunc(value)) {
            fail();
            return nullptr;
        }
        c = binary(OpFactorial, std::move(c), nullptr);
        pos_ += 1;
    }
    return c;
}

// Reads the number starting at pos; leaves pos on its last character.
bool Parser::scanNumber(long double &value)
{
    context().impliedProduct = false;
    char first = at(pos_);
    if (pos_ == last()) {
        if (first == '.')
            return fail();
        value = first - '0';
        return true;
    }
    if (first == '0') {
        int next = classAt(pos_ + 1);
        if (next == 0 && at(pos_ + 1) != '!')
            return fail();
        if (next >= 7 && next <= 44) { // 05 reads as 0*5, 0x as 0*x
            value = 0;
            context().impliedProduct = true;
            return true;
        }
    }
    long end = pos_;
    int points = 0;
    for (long p = pos_;; ++p) {
        char ch = at(p);
        int c = charClass(ch);
        if (ch == '!') {
            end = p - 1;
            break;
        }
        if (c == 0)
            return fail();
        if (c >= 35 && c <= 45) {
            if (ch == '.' && ++points > 1)
                return fail();
            if (p == last()) {
                end = p;
                break;
            }
            continue;
        }
        end = p - 1;
        if (c >= 7)
            context().impliedProduct = true;
        break;
    }
    std::string digits = text_.substr(pos_ - 1, end - pos_ + 1);
    if (digits == ".")
        return fail();
    value = std::strtold(digits.c_str(), nullptr);
    if (!std::isfinite(value)) // hundreds of digits: no number the program can hold
        return fail();
    pos_ = end;
    return true;
}

// D differentiates everything up to the parenthesis that closes around it.
Tree Parser::parseDerivative()
{
    if (pos_ + 1 > last()) {
        fail();
        return nullptr;
    }
    pos_ += 1;
    Tree operand = parseLevel(6);
    if (!parseOk() || mode_ == ParseCheck)
        return nullptr;
    bool cutShort = false;
    Tree d = adopt(differentiate(operand.get(), OpX, &cutShort));
    if (cutShort || !d) {
        parseOk() = false;
        return nullptr;
    }
    return d;
}

Tree Parser::parseDefinedFunction()
{
    char digit = at(pos_ + 1);
    if (!(digit >= '1' && digit <= '6') || at(pos_ + 2) != '(' || pos_ + 3 > last()) {
        fail();
        return nullptr;
    }
    int n = digit - '0';
    pos_ += 3;
    Tree argument = parseFunctionArgument(0);
    if (!parseOk())
        return nullptr;
    std::string body = engineState().definitions ? engineState().definitions->functionText(n) : std::string();
    if (body.empty() || context().expandingF[n]) { // undefined, or defined through itself
        fail();
        return nullptr;
    }
    ExpansionGuard expanding(&context().expandingF[n]);
    ExprNode *def = parseFormula(body, mode_);
    if (!parseOk())
        return nullptr;
    if (mode_ != ParseCheck)
        replaceXByTree(def, argument.get());
    Tree result = adopt(def);
    if (formulaBudgetSpent()) { // the substitution stopped short
        parseOk() = false;
        return nullptr;
    }
    return result;
}

Tree Parser::parseDefinedConstant()
{
    char digit = at(pos_ + 1);
    if (!(digit >= '1' && digit <= '6')) {
        fail();
        return nullptr;
    }
    int n = digit - '0';
    pos_ += 1;
    std::string body = engineState().definitions ? engineState().definitions->constantText(n) : std::string();
    if (body.empty() || context().expandingQ[n]) {
        fail();
        return nullptr;
    }
    ExpansionGuard expanding(&context().expandingQ[n]);
    Tree value = adopt(parseFormula(body, mode_));
    if (!parseOk())
        return nullptr;
    return value;
}

// Sum(i=[lower,upper],summand)
Tree Parser::parseSum()
{
    if (text_.compare(pos_ - 1, 4, "Sum(") != 0) {
        fail();
        return nullptr;
    }
    pos_ += 4;
    const char *index = std::strchr("ijkl", at(pos_));
    if (at(pos_) == '\0' || !index) {
        fail();
        return nullptr;
    }
    int k = static_cast<int>(index - "ijkl") + 1;
    pos_ += 1;
    if (at(pos_) != '=') {
        fail();
        return nullptr;
    }
    pos_ += 1;
    Tree range = readRange(5000 + k);
    if (!parseOk())
        return nullptr;
    pos_ += 1;
    if (at(pos_) != ',') {
        fail();
        return nullptr;
    }
    pos_ += 1;
    depth_ += 1;
    Tree summand = parseLevel(6);
    if (!parseOk())
        return nullptr;
    return binary(OpSum, std::move(range), std::move(summand));
}

Tree Parser::readRange(int32_t code)
{
    if (at(pos_) != '[') { // a sum needs its range
        fail();
        return nullptr;
    }
    pos_ += 1;
    std::size_t from = static_cast<std::size_t>(pos_ - 1);
    std::size_t comma = text_.find(',', from);
    if (comma == std::string::npos || comma == from) {
        fail();
        return nullptr;
    }
    std::string lowerText = text_.substr(from, comma - from);
    Tree lower = adopt(parseFormula(lowerText, mode_));
    if (!parseOk())
        return nullptr;
    pos_ += static_cast<long>(lowerText.size()) + 1;
    from = static_cast<std::size_t>(pos_ - 1);
    std::size_t bracket = text_.find(']', from);
    if (bracket == std::string::npos || bracket == from) {
        fail();
        return nullptr;
    }
    std::string upperText = text_.substr(from, bracket - from);
    Tree upper = adopt(parseFormula(upperText, mode_));
    if (!parseOk())
        return nullptr;
    pos_ += static_cast<long>(upperText.size());
    return binary(code, std::move(lower), std::move(upper));
}

// Depth without recursion, so that a degenerate tree cannot exhaust the stack.
std::size_t depthExceeds(const ExprNode *tree, std::size_t limit)
{
    struct Entry {
        const ExprNode *node;
        std::size_t depth;
    };
    std::vector<Entry> stack;
    if (tree)
        stack.push_back({tree, 1});
    while (!stack.empty()) {
        Entry e = stack.back();
        stack.pop_back();
        if (e.depth > limit)
            return true;
        spendFormulaWork(1);
        if (e.node->left)
            stack.push_back({e.node->left, e.depth + 1});
        if (e.node->right)
            stack.push_back({e.node->right, e.depth + 1});
    }
    return false;
}
} // namespace

ExprNode *parseFormula(const std::string &text, int mode)
{
    if (text.empty())
        return nullptr;
    FormulaBudget budget;
    // Normalising and scanning the text costs in proportion to its length,
    // whether it is the formula itself or a definition it refers to.
    spendFormulaWork(kParseOverhead + text.size());
    if (text.size() > kMaxFormulaLength) {
        refuseFormula();
        parseOk() = false;
        return nullptr;
    }
    Parser parser(normaliseFormulaText(text), mode);
    Tree tree = parser.parseLevel(7);
    if (parser.depth() != 0)
        parseOk() = false;
    if (parseOk() && depthExceeds(tree.get(), kMaxTreeDepth))
        refuseFormula();
    if (parseOk()) {
        ExprNode *raw = tree.release();
        simplify(raw, mode);
        tree.reset(raw);
    }
    // A tree that ran past the budget is never handed on, even in part.
    if (!parseOk() || formulaBudgetSpent()) {
        parseOk() = false;
        return nullptr;
    }
    return tree.release();
}

} // namespace gq
