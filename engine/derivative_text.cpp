// The text of a derivative, as the derivative command registers it.
#include "engine/budget.h"
#include "engine/differentiate.h"
#include "engine/formula.h"
#include "engine/parse.h"
#include "engine/print.h"
#include "engine/simplify.h"

namespace gq
{

namespace
{
enum class Attempt { Written, NotParsed, TooLarge };

// Parses text, brings it into the canonical form (multiplying out or not),
// differentiates it by v and brings the result into the same form, within a
// formula budget of its own; writes the result into out.
Attempt writeDerivative(const std::string &text, int32_t v, bool multiplyOut, std::string &out)
{
    EngineState &state = engineState();
    FormulaBudget budget;
    state.parseOK = true;
    Tree tree(parseFormula(text, ParseBuild));
    if (!state.parseOK || !tree)
        return formulaBudgetSpent() ? Attempt::TooLarge : Attempt::NotParsed;
    auto canonical = [multiplyOut](Tree &t) {
        ExprNode *raw = t.release();
        if (multiplyOut)
            canonicaliseTree(raw);
        else
            canonicaliseWithoutMultiplyingOut(raw);
        t.reset(raw);
    };
    canonical(tree);
    Tree d(differentiate(tree.get(), v));
    if (d)
        canonical(d);
    if (!d || formulaBudgetSpent())
        return Attempt::TooLarge;
    out = treeToText(d.get());
    return out.size() > kMaxDerivativeText ? Attempt::TooLarge : Attempt::Written;
}

// Why 400 bytes: a text that long no longer reads as a formula in the item
// list; multiplying out makes the derivative of a product of a few sums
// much longer than the derivative of the product as written.
constexpr std::size_t kLongDerivativeText = 400;
} // namespace

std::string derivativeText(const std::string &text, int32_t v)
{
    EngineState &state = engineState();
    std::string expanded, factored;
    const Attempt first = writeDerivative(text, v, true, expanded);
    if (first == Attempt::NotParsed) {
        state.parseOK = false;
        return {};
    }
    std::string out = expanded;
    if (first == Attempt::TooLarge || expanded.size() > kLongDerivativeText) {
        const Attempt second = writeDerivative(text, v, false, factored);
        if (second == Attempt::Written && (first == Attempt::TooLarge || factored.size() < expanded.size()))
            out = factored;
        else if (first == Attempt::TooLarge)
            out.clear();
    }
    // Registered as a formula, the text must pass the check any formula
    // passes, and it reads back: the printer writes only what the parser
    // takes (a factorial of some letters excepted, which only a defined
    // constant can bring in).
    const FormulaCheck check = out.empty() ? FormulaCheck::TooComplex : checkFormula(out);
    if (check != FormulaCheck::Accepted) {
        state.parseOK = false;
        state.tooComplex = check == FormulaCheck::TooComplex;
        return {};
    }
    state.parseOK = true;
    state.tooComplex = false;
    return out;
}

} // namespace gq
