#include "engine/parse.h"

#include "engine/differentiate.h"
#include "engine/formula_text.h"
#include "engine/simplify.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

bool ParseOK = true;
bool ImplicitProduct = false;

namespace
{
const DefinitionSource *g_source = nullptr;
// Nesting of parse routines across nested parses (definitions, sum bounds):
// bounds the recursion so that no text can exhaust the stack.
int g_nesting = 0;
// Definitions being expanded right now: a reference to one of them is a cycle.
bool g_expandingF[7] = {}; // index 1..6
bool g_expandingQ[7] = {};

// Longest formula text accepted. Far beyond anything typed on the keyboard;
// it keeps trees shallow enough for the recursive passes.
constexpr std::size_t kMaxFormulaLength = 10000;
// Deepest tree a parse may return (definitions substituted into each other can
// deepen a tree beyond its text).
constexpr std::size_t kMaxTreeDepth = 5000;

struct NestingGuard {
    NestingGuard()
    {
        if (++g_nesting > kMaxParseNesting)
            ParseOK = false;
    }
    ~NestingGuard() { --g_nesting; }
};

struct ExpansionGuard {
    bool *flag;
    explicit ExpansionGuard(bool *f) : flag(f) { *flag = true; }
    ~ExpansionGuard() { *flag = false; }
};

Tree Adopt(ExprNode *n)
{
    return Tree(n);
}

// One parse: the normalised text and a 1-based position. After an operand has
// been read, pos stands on its last character.
class Parser
{
  public:
    Parser(std::string text, int mode) : text_(std::move(text)), mode_(mode) {}

    Tree ParseLevel(int level);
    long depth() const { return depth_; }

  private:
    char At(long p) const { return (p >= 1 && p <= Last()) ? text_[p - 1] : '\0'; }
    int ClassAt(long p) const { return CharClass(At(p)); }
    long Last() const { return static_cast<long>(text_.size()); }
    bool Fail()
    {
        ParseOK = false;
        return false;
    }

    bool StopCheck(int level);
    int ReadOperator();
    Tree ParseOperand();
    Tree ParseParenthesis();
    Tree ParseLetter();
    Tree ParseFunctionArgument(int32_t code);
    Tree ParseBasedLog(const std::string &base);
    Tree ParseNumber();
    Tree ParseDerivative();
    Tree ParseDefinedFunction();
    Tree ParseDefinedConstant();
    Tree ParseSum();
    Tree ReadRange(int32_t code);
    bool ScanNumber(long double &value);
    Tree Binary(int32_t op, Tree left, Tree right)
    {
        return Adopt(MakeBinaryNode(op, left.release(), right.release(), mode_));
    }

    std::string text_;
    int mode_;
    long pos_ = 1;
    long depth_ = 0;
};

Tree Parser::ParseLevel(int level)
{
    if (!ParseOK || pos_ > Last())
        return nullptr;
    NestingGuard guard;
    if (!ParseOK)
        return nullptr;
    Tree left = ParseOperand();
    if (!ParseOK)
        return nullptr;
    while (pos_ < Last()) {
        if (StopCheck(level))
            break;
        if (!ParseOK)
            return nullptr;
        int op;
        if (ImplicitProduct) {
            pos_ += 1;
            op = OpMultiply;
        } else {
            op = ReadOperator();
            if (!ParseOK)
                return nullptr;
        }
        Tree right = ParseLevel(op);
        if (!ParseOK)
            return nullptr;
        left = Binary(op, std::move(left), std::move(right));
        if (TreeBudgetExceeded()) {
            ParseOK = false;
            return nullptr;
        }
    }
    return left;
}

// Looks at the character after pos: true means the current level ends there.
bool Parser::StopCheck(int level)
{
    ImplicitProduct = false;
    int c = ClassAt(pos_ + 1);
    if (c == 0)
        return Fail();
    if (c >= 7 && c <= 33) {
        ImplicitProduct = true;
        return false;
    }
    if (c >= 34)
        return Fail();
    if (level <= c) {
        if (level == 6) { // the closing parenthesis of this level
            depth_ -= 1;
            pos_ += 1;
        }
        return true;
    }
    return false;
}

int Parser::ReadOperator()
{
    int c1 = ClassAt(pos_ + 1);
    int c2 = ClassAt(pos_ + 2);
    if (c1 == 0 || pos_ + 2 > Last() || c2 == 0) {
        Fail();
        return 0;
    }
    bool accept = ((c1 >= 1 && c1 <= 3) && !(c2 >= 1 && c2 <= 6)) || c1 == 4 || c1 == 5;
    if (!accept) {
        Fail();
        return 0;
    }
    pos_ += 2;
    return c1;
}

Tree Parser::ParseOperand()
{
    if (pos_ > Last()) {
        Fail();
        return nullptr;
    }
    char ch = At(pos_);
    int c = CharClass(ch);
    if (c == 0 || (c >= 1 && c <= 3) || c == 6) {
        Fail();
        return nullptr;
    }
    if (c == 4) { // a leading minus is a product with -1
        pos_ += 1;
        if (pos_ > Last()) {
            Fail();
            return nullptr;
        }
        Tree operand = ParseLevel(OpSubtract);
        if (!ParseOK)
            return nullptr;
        return Binary(OpMultiply, Adopt(MakeConstNode(-1, mode_)), std::move(operand));
    }
    if (c == 5) {
        pos_ += 1;
        if (pos_ > Last()) {
            Fail();
            return nullptr;
        }
        return ParseLevel(OpAdd);
    }
    if (c == 7)
        return ParseParenthesis();
    if (c >= 8 && c <= 33)
        return ParseLetter();
    if (c == 34)
        return Adopt(MakePiNode(mode_));
    if (c >= 35 && c <= 45)
        return ParseNumber();
    switch (ch) {
    case 'D':
        return ParseDerivative();
    case 'F':
        return ParseDefinedFunction();
    case 'Q':
        return ParseDefinedConstant();
    case 'S':
        return ParseSum();
    default:
        // Any other capital letter is no formula at all.
        Fail();
        return nullptr;
    }
}

Tree Parser::ParseParenthesis()
{
    depth_ += 1;
    pos_ += 1;
    long start = pos_;
    Tree inner = ParseLevel(6);
    if (!ParseOK)
        return nullptr;
    if (At(pos_ + 1) != '!')
        return inner; // parentheses leave no node
    // Only an integer-valued text may carry a factorial.
    for (long p = start; p < pos_; ++p) {
        if (std::strchr("abcdfxyzt/.P", At(p))) {
            Fail();
            return nullptr;
        }
    }
    pos_ += 1;
    return Binary(OpFactorial, std::move(inner), nullptr);
}

Tree Parser::ParseLetter()
{
    char ch = At(pos_);
    int next = ClassAt(pos_ + 1);
    enum { Variable, Factorial, Product, Function, BasedLog } what;
    FunctionName fn;
    if (pos_ == Last() || (next >= 1 && next <= 6)) {
        what = Variable;
    } else if (At(pos_ + 1) == '!') {
        what = Factorial;
    } else if (next == 0) {
        Fail();
        return nullptr;
    } else {
        fn = RecogniseFunction(text_, static_cast<std::size_t>(pos_ - 1));
        what = fn.kind == FunctionName::Function   ? Function
               : fn.kind == FunctionName::BasedLog ? BasedLog
                                                   : Product;
    }
    switch (what) {
    case Function:
        pos_ = static_cast<long>(fn.afterParen) + 1;
        return ParseFunctionArgument(fn.code);
    case BasedLog:
        pos_ = static_cast<long>(fn.afterParen) + 1;
        return ParseBasedLog(fn.base);
    case Factorial:
        if (!std::strchr("ijklmn", ch)) {
            Fail();
            return nullptr;
        }
        pos_ += 1;
        return Binary(OpFactorial, Adopt(MakeLeafNode(LetterCode(ch), mode_)), nullptr);
    case Product: {
        Tree leaf = Adopt(MakeLeafNode(LetterCode(ch), mode_));
        pos_ += 1;
        Tree rest = ParseLevel(OpMultiply);
        if (!ParseOK)
            return nullptr;
        return Binary(OpMultiply, std::move(leaf), std::move(rest));
    }
    case Variable:
    default:
        return Adopt(MakeLeafNode(LetterCode(ch), mode_));
    }
}

// pos is on the first character after "(".
Tree Parser::ParseFunctionArgument(int32_t code)
{
    depth_ += 1;
    Tree operand = ParseLevel(6);
    if (!ParseOK)
        return nullptr;
    if (pos_ == Last() && At(pos_) != ')') {
        Fail();
        return nullptr;
    }
    if (code == 0)
        return operand;
    return Adopt(MakeUnaryNode(code, operand.release(), mode_));
}

// log<base>(argument) is log(argument)/log(base).
Tree Parser::ParseBasedLog(const std::string &baseText)
{
    Parser baseParser(baseText, mode_);
    Tree base = baseParser.ParseLevel(7);
    if (!ParseOK)
        return nullptr;
    Tree argument = ParseFunctionArgument(0);
    if (!ParseOK)
        return nullptr;
    return Binary(OpDivide, Adopt(MakeUnaryNode(OpLog, argument.release(), mode_)),
                  Adopt(MakeUnaryNode(OpLog, base.release(), mode_)));
}

Tree Parser::ParseNumber()
{
    long double value = 0;
    if (!ScanNumber(value))
        return nullptr;
    Tree c = Adopt(MakeConstNode(value, mode_));
    if (ImplicitProduct) {
        pos_ += 1;
        Tree rest = ParseLevel(OpMultiply);
        if (!ParseOK)
            return nullptr;
        c = Binary(OpMultiply, std::move(c), std::move(rest));
    }
    if (At(pos_ + 1) == '!') {
        if (value != std::trunc(value)) {
            Fail();
            return nullptr;
        }
        c = Binary(OpFactorial, std::move(c), nullptr);
        pos_ += 1;
    }
    return c;
}

// Reads the number starting at pos; leaves pos on its last character.
bool Parser::ScanNumber(long double &value)
{
    ImplicitProduct = false;
    char first = At(pos_);
    if (pos_ == Last()) {
        if (first == '.')
            return Fail();
        value = first - '0';
        return true;
    }
    if (first == '0') {
        int next = ClassAt(pos_ + 1);
        if (next == 0 && At(pos_ + 1) != '!')
            return Fail();
        if (next >= 7 && next <= 44) { // 05 reads as 0*5, 0x as 0*x
            value = 0;
            ImplicitProduct = true;
            return true;
        }
    }
    long end = pos_;
    int points = 0;
    for (long p = pos_;; ++p) {
        char ch = At(p);
        int c = CharClass(ch);
        if (ch == '!') {
            end = p - 1;
            break;
        }
        if (c == 0)
            return Fail();
        if (c >= 35 && c <= 45) {
            if (ch == '.' && ++points > 1)
                return Fail();
            if (p == Last()) {
                end = p;
                break;
            }
            continue;
        }
        end = p - 1;
        if (c >= 7)
            ImplicitProduct = true;
        break;
    }
    std::string digits = text_.substr(pos_ - 1, end - pos_ + 1);
    if (digits == ".")
        return Fail();
    value = std::strtold(digits.c_str(), nullptr);
    if (!std::isfinite(value)) // hundreds of digits: no number the program can hold
        return Fail();
    pos_ = end;
    return true;
}

// D differentiates everything up to the parenthesis that closes around it.
Tree Parser::ParseDerivative()
{
    if (pos_ + 1 > Last()) {
        Fail();
        return nullptr;
    }
    pos_ += 1;
    Tree operand = ParseLevel(6);
    if (!ParseOK || mode_ == ParseCheck)
        return nullptr;
    Tree d = Adopt(Differentiate(operand.get(), OpX));
    if (TreeBudgetExceeded()) {
        ParseOK = false;
        return nullptr;
    }
    return d;
}

Tree Parser::ParseDefinedFunction()
{
    char digit = At(pos_ + 1);
    if (!(digit >= '1' && digit <= '6') || At(pos_ + 2) != '(' || pos_ + 3 > Last()) {
        Fail();
        return nullptr;
    }
    int n = digit - '0';
    pos_ += 3;
    Tree argument = ParseFunctionArgument(0);
    if (!ParseOK)
        return nullptr;
    std::string body = g_source ? g_source->FunctionText(n) : std::string();
    if (body.empty() || g_expandingF[n]) { // undefined, or defined through itself
        Fail();
        return nullptr;
    }
    ExpansionGuard expanding(&g_expandingF[n]);
    ExprNode *def = ParseFormula(body, mode_);
    if (!ParseOK)
        return nullptr;
    if (mode_ != ParseCheck)
        ReplaceXByTree(def, argument.get());
    Tree result = Adopt(def);
    if (TreeBudgetExceeded()) {
        ParseOK = false;
        return nullptr;
    }
    return result;
}

Tree Parser::ParseDefinedConstant()
{
    char digit = At(pos_ + 1);
    if (!(digit >= '1' && digit <= '6')) {
        Fail();
        return nullptr;
    }
    int n = digit - '0';
    pos_ += 1;
    std::string body = g_source ? g_source->ConstantText(n) : std::string();
    if (body.empty() || g_expandingQ[n]) {
        Fail();
        return nullptr;
    }
    ExpansionGuard expanding(&g_expandingQ[n]);
    Tree value = Adopt(ParseFormula(body, mode_));
    if (!ParseOK)
        return nullptr;
    return value;
}

// Sum(i=[lower,upper],summand)
Tree Parser::ParseSum()
{
    if (text_.compare(pos_ - 1, 4, "Sum(") != 0) {
        Fail();
        return nullptr;
    }
    pos_ += 4;
    const char *index = std::strchr("ijkl", At(pos_));
    if (At(pos_) == '\0' || !index) {
        Fail();
        return nullptr;
    }
    int k = static_cast<int>(index - "ijkl") + 1;
    pos_ += 1;
    if (At(pos_) != '=') {
        Fail();
        return nullptr;
    }
    pos_ += 1;
    Tree range = ReadRange(5000 + k);
    if (!ParseOK)
        return nullptr;
    pos_ += 1;
    if (At(pos_) != ',') {
        Fail();
        return nullptr;
    }
    pos_ += 1;
    depth_ += 1;
    Tree summand = ParseLevel(6);
    if (!ParseOK)
        return nullptr;
    return Binary(OpSum, std::move(range), std::move(summand));
}

Tree Parser::ReadRange(int32_t code)
{
    if (At(pos_) != '[') { // a sum needs its range
        Fail();
        return nullptr;
    }
    pos_ += 1;
    std::size_t from = static_cast<std::size_t>(pos_ - 1);
    std::size_t comma = text_.find(',', from);
    if (comma == std::string::npos || comma == from) {
        Fail();
        return nullptr;
    }
    std::string lowerText = text_.substr(from, comma - from);
    Tree lower = Adopt(ParseFormula(lowerText, mode_));
    if (!ParseOK)
        return nullptr;
    pos_ += static_cast<long>(lowerText.size()) + 1;
    from = static_cast<std::size_t>(pos_ - 1);
    std::size_t bracket = text_.find(']', from);
    if (bracket == std::string::npos || bracket == from) {
        Fail();
        return nullptr;
    }
    std::string upperText = text_.substr(from, bracket - from);
    Tree upper = Adopt(ParseFormula(upperText, mode_));
    if (!ParseOK)
        return nullptr;
    pos_ += static_cast<long>(upperText.size());
    return Binary(code, std::move(lower), std::move(upper));
}

// Depth without recursion, so that a degenerate tree cannot exhaust the stack.
std::size_t DepthExceeds(const ExprNode *tree, std::size_t limit)
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
        if (e.node->left)
            stack.push_back({e.node->left, e.depth + 1});
        if (e.node->right)
            stack.push_back({e.node->right, e.depth + 1});
    }
    return false;
}
} // namespace

void SetDefinitionSource(const DefinitionSource *source)
{
    g_source = source;
}
const DefinitionSource *CurrentDefinitionSource()
{
    return g_source;
}

ExprNode *ParseFormula(const std::string &text, int mode)
{
    if (text.empty())
        return nullptr;
    if (text.size() > kMaxFormulaLength) {
        ParseOK = false;
        return nullptr;
    }
    Parser parser(NormaliseFormulaText(text), mode);
    Tree tree = parser.ParseLevel(7);
    if (parser.depth() != 0)
        ParseOK = false;
    if (ParseOK && DepthExceeds(tree.get(), kMaxTreeDepth))
        ParseOK = false;
    if (ParseOK) {
        ExprNode *raw = tree.release();
        Simplify(raw, mode);
        tree.reset(raw);
    }
    if (!ParseOK || TreeBudgetExceeded()) {
        ParseOK = false;
        return nullptr;
    }
    return tree.release();
}
