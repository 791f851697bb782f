// The text of a derivative, as the derivative command registers it.
#include "engine/budget.h"
#include "engine/derivative_presentation.h"
#include "engine/differentiate.h"
#include "engine/formula.h"
#include "engine/parse.h"
#include "engine/print.h"
#include "engine/simplify.h"

#include <utility>
#include <vector>

namespace gq
{

namespace
{
enum class Attempt { Written, NotParsed, TooLarge };

// A derivative in the canonical form, and its text.
struct Written {
    Tree tree; // kept for the presentation
    std::string canonical;
    bool multipliedOut = true;
};

// Parses text, brings it into the canonical form (multiplying out or not),
// differentiates it by v and brings the result into the same form, within a
// formula budget of its own; keeps the result, and its text, in out (also a
// text too long to use: its presentation may be short enough).
Attempt writeDerivative(const std::string &text, int32_t v, bool multiplyOut, Written &out)
{
    out.multipliedOut = multiplyOut;
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
    out.tree = std::move(d);
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
    std::string canonical = first == Attempt::Written ? expanded.canonical : std::string();
    if (first == Attempt::TooLarge || expanded.canonical.size() > kLongDerivativeText) {
        const Attempt second = writeDerivative(text, v, false, factored);
        if (second == Attempt::Written && (canonical.empty() || factored.canonical.size() < canonical.size()))
            canonical = factored.canonical;
    }
    // Registered as a formula, the text must pass the check any formula
    // passes, and it reads back: the printer writes only what the parser
    // takes (a factorial of some letters excepted, which only a defined
    // constant can bring in).
    const FormulaCheck check = canonical.empty() ? FormulaCheck::TooComplex : checkFormula(canonical);
    if (check != FormulaCheck::Accepted) {
        state.parseOK = false;
        state.tooComplex = check == FormulaCheck::TooComplex;
        return {};
    }
    // The item shows the shortest presentation that passes the check too,
    // never longer than the canonical text. Each derivative written is
    // presented (in a formula budget of its own, as presentDerivative opens
    // one here): the multiplied-out one may collect into the shortest text
    // even where its canonical text was too long to use.
    std::vector<std::string> shown;
    for (const Written *w : {&expanded, &factored})
        if (w->tree)
            shown.push_back(presentDerivative(w->tree.get(), w->canonical, w->multipliedOut));
    if (shown.size() == 2 && shown[1].size() < shown[0].size())
        std::swap(shown[0], shown[1]);
    std::string out = canonical;
    for (const std::string &candidate : shown) {
        if (candidate.empty() || candidate.size() > canonical.size() || candidate == canonical)
            continue;
        if (checkFormula(candidate) == FormulaCheck::Accepted) {
            out = candidate;
            break;
        }
    }
    state.parseOK = true;
    state.tooComplex = false;
    if (canonicalText)
        *canonicalText = canonical;
    return out;
}

} // namespace gq
