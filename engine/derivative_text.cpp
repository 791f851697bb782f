// The text of a derivative, as the derivative command registers it.
#include "engine/budget.h"
#include "engine/derivative_presentation.h"
#include "engine/differentiate.h"
#include "engine/formula.h"
#include "engine/parse.h"
#include "engine/print.h"
#include "engine/simplify.h"

#include <algorithm>
#include <vector>

namespace gq
{

namespace
{
enum class Attempt { Written, NotParsed, TooLarge };

// A derivative's text in the canonical form, and as the item shows it.
struct Written {
    std::string canonical, shown;
};

// Parses text, brings it into the canonical form (multiplying out or not),
// differentiates it by v and brings the result into the same form, within a
// formula budget of its own; writes the result into out, with its
// presentation.
Attempt writeDerivative(const std::string &text, int32_t v, bool multiplyOut, Written &out)
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
    out.canonical = treeToText(d.get());
    // Even a canonical text too long to use may be presented short enough
    // (a product of many sums multiplied out, then collected).
    out.shown = presentDerivative(d.get(), out.canonical, multiplyOut);
    return out.canonical.size() > kMaxDerivativeText ? Attempt::TooLarge : Attempt::Written;
}

// Why 400 bytes: a text that long no longer reads as a formula in the item
// list; multiplying out makes the derivative of a product of a few sums
// much longer than the derivative of the product as written.
constexpr std::size_t kLongDerivativeText = 400;
} // namespace

std::string derivativeText(const std::string &text, int32_t v, std::string *canonicalText)
{
    EngineState &state = engineState();
    if (canonicalText)
        canonicalText->clear();
    Written expanded, factored;
    const Attempt first = writeDerivative(text, v, true, expanded);
    if (first == Attempt::NotParsed) {
        state.parseOK = false;
        return {};
    }
    std::string canonical = expanded.canonical;
    std::vector<std::string> shown{expanded.shown};
    if (first == Attempt::TooLarge || expanded.canonical.size() > kLongDerivativeText) {
        const Attempt second = writeDerivative(text, v, false, factored);
        if (second == Attempt::Written &&
            (first == Attempt::TooLarge || factored.canonical.size() < expanded.canonical.size()))
            canonical = factored.canonical;
        else if (first == Attempt::TooLarge)
            canonical.clear();
        shown.push_back(factored.shown);
    }
    // Registered as a formula, the text must pass the check any formula
    // passes, and it reads back: the printer writes only what the parser
    // takes (a factorial of some letters excepted, which only a defined
    // constant can bring in). The item shows the shortest presentation that
    // does, never longer than the canonical text chosen above, which stays
    // where none does.
    std::stable_sort(shown.begin(), shown.end(),
                     [](const std::string &a, const std::string &b) { return a.size() < b.size(); });
    std::string out;
    FormulaCheck check = FormulaCheck::TooComplex;
    for (const std::string &candidate : shown) {
        if (canonical.empty() || candidate.empty() || candidate.size() > canonical.size() || candidate == canonical)
            continue;
        if ((check = checkFormula(candidate)) == FormulaCheck::Accepted) {
            out = candidate;
            break;
        }
    }
    if (out.empty()) {
        out = canonical;
        check = out.empty() ? FormulaCheck::TooComplex : checkFormula(out);
    }
    if (check != FormulaCheck::Accepted) {
        state.parseOK = false;
        state.tooComplex = check == FormulaCheck::TooComplex;
        return {};
    }
    state.parseOK = true;
    state.tooComplex = false;
    if (canonicalText)
        *canonicalText = canonical;
    return out;
}

} // namespace gq
