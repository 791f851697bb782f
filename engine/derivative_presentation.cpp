// The presentation of a derivative's text. The canonical form multiplies out
// and never collects, so the derivative of (x+1)(x-1) reads x+x-1+1; this
// pass writes 2*x. It reads the canonical derivative into a sum of terms,
// each a number times integer powers of atoms (letters, x, sums in
// parentheses, function calls, other powers), collects like terms and like
// factors, folds numbers exactly, and writes terms over the same
// denominator as one quotient whose numerator is collected in descending
// powers of x; it also tries one common denominator for the whole text and
// keeps the shorter. Numbers are written first, a negative one as a minus
// sign; a factor 1 and a term 0 are not written.
//
// Where the text is defined. The text must be undefined at exactly the
// points where the canonical derivative is: where something divides by 0,
// where a square root's operand is negative or a logarithm's is not
// positive, where tan or sec meets a zero of cos, cosec or cotan a zero of
// sin, and wherever a power with an exponent that is not an integer, a
// factorial, a finite sum or a based logarithm is undefined. Collecting can
// only remove such a condition, never add one, so the rule is:
//
//   A rewrite that removes a condition is made only where the rest of the
//   text still imposes it, or where it holds everywhere.
//
// - A divisor u cancels against u in the numerator (x*(1/x) → 1,
//   x^2/x → x) only when the text stays undefined at u = 0 without it:
//   u still divides elsewhere in the text, u is the operand of a logarithm
//   (log(u) needs u > 0) or of a square root that divides, or u is never
//   0 (a sum of even powers and positive numbers such as x^2+1, exp(…),
//   cosh(…), π). Otherwise one u stays above and below the line: the
//   derivative of x^2/x is written x/x, which is undefined at 0 as the
//   function is.
// - sqrt(u)^2 becomes u only when u is never negative (as x^2+1) or the
//   rest of the text is undefined wherever u < 0 (log(u), another
//   sqrt(u)); sqrt(u)^3 is always u*sqrt(u), the root staying.
// - Terms that cancel (1/x-1/x) are dropped only when the rest of the text
//   carries every condition they carry; otherwise they stay as written.
// - Powers with other exponents, factorials, sums and based logarithms are
//   kept whole wherever they appear, so their conditions never change.
// Every expression in the text (an argument, a sum in parentheses) keeps
// its own conditions by the same rule. Before a text is used, its
// conditions are read again from the text and compared with those of the
// canonical derivative, and both are evaluated at sample points (the text
// read and simplified as the plotter reads it): the same points undefined,
// the same values up to rounding. A text that fails either check, or is longer than the
// canonical text, is not used.
#include "engine/derivative_presentation.h"

#include "engine/budget.h"
#include "engine/expand_sums.h"
#include "engine/formula.h"
#include "engine/parse.h"
#include "engine/presentation_form.h"
#include "engine/print.h"
#include "engine/program.h"
#include "engine/simplify.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <tuple>
#include <vector>

namespace gq
{

namespace
{
using namespace presentation;

// Why 200,000 units: the derivatives of typed formulas need a few thousand
// (x/sqrt(x^2+1) 900, a product of five linear factors 7,000); the
// multiplied-out derivative of a product of ten linear factors, 18,000
// bytes of text, needs 70,000. Beyond, the text stays as it is.
constexpr std::size_t kPresentationWork = 200'000;
// Why 20,000 bytes: the multiplied-out derivative of a product of nine or
// ten linear factors (14,000 and 18,000 bytes) collects into a short text;
// longer ones, of more factors, are not multiplied out whole by the
// canonical form and collect into nothing shorter than the factored text,
// which only costs time (40 ms for twenty factors).
constexpr std::size_t kMaxPresentedText = 20'000;
// Deeper trees (not counting the terms of a sum) stay as they are: the pass
// recurses along the nesting.
constexpr int kMaxNesting = 150;
// A common denominator multiplied out into more terms is not tried.
constexpr std::size_t kMaxCommonTerms = 200;
// Where the texts are compared by value, and how closely: relative to the
// values, with room for the rounding of terms that cancel.
constexpr long double kSamples[] = {-4.1L, -2.6L, -2, -1.5L, -1, -0.55L, -0.2L, 0,
                                    0.35L, 0.5L,  1,  1.3L,  2,  2.7L,   3.6L};
constexpr long double kRelative = 1e-9L, kAbsolute = 1e-12L;

int nesting(const ExprNode *root)
{
    int deepest = 0;
    std::vector<std::pair<const ExprNode *, int>> pending{{root, 1}};
    while (!pending.empty()) {
        auto [n, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        const bool sum = n->op == OpAdd || n->op == OpSubtract;
        for (const ExprNode *c : {n->left, n->right})
            if (c)
                pending.push_back({c, depth + (sum && c == n->left && (c->op == OpAdd || c->op == OpSubtract) ? 0 : 1)});
    }
    return deepest;
}

int rank(const Atom *a)
{
    switch (a->kind) {
    case AtomKind::Letter:
        return 0;
    case AtomKind::Variable:
        return 1;
    case AtomKind::Group:
        return 2;
    default:
        return 3;
    }
}

// atom^power as written, in the order numbers, letters, x, sums, calls.
using Written = std::vector<std::pair<const Atom *, int>>;

Written inOrder(Written w)
{
    std::sort(w.begin(), w.end(), [](const auto &a, const auto &b) {
        return std::make_tuple(rank(a.first), a.first->order) < std::make_tuple(rank(b.first), b.first->order);
    });
    return w;
}

Written numeratorOf(const Term &t)
{
    Written w;
    for (const Factor &f : t.factors)
        if (int n = std::max(f.exponent, 0) + f.kept; n > 0)
            w.push_back({f.atom, n});
    return inOrder(std::move(w));
}

Written denominatorOf(const Term &t)
{
    Written w;
    for (const Factor &f : t.factors)
        if (int n = std::max(-f.exponent, 0) + f.kept; n > 0)
            w.push_back({f.atom, n});
    return inOrder(std::move(w));
}

ExprNode *number(long double v)
{
    return makeConstNode(v);
}

class Writer
{
  public:
    explicit Writer(Algebra &algebra) : algebra_(algebra) {}

    // The whole expression, terms over the same denominator as one quotient.
    ExprNode *expr(const Expr &e)
    {
        if (e.terms.empty())
            return number(0);
        std::vector<Written> keys;
        std::vector<std::vector<const Term *>> groups;
        for (const Term &t : e.terms) {
            Written den = denominatorOf(t);
            auto at = std::find(keys.begin(), keys.end(), den);
            if (at == keys.end()) {
                keys.push_back(std::move(den));
                groups.push_back({&t});
            } else {
                groups[static_cast<std::size_t>(at - keys.begin())].push_back(&t);
            }
        }
        ExprNode *sum = nullptr;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (groups[g].size() == 1 || keys[g].empty()) {
                for (const Term *t : groups[g]) {
                    bool negative = false;
                    ExprNode *tree = term(*t, negative);
                    sum = join(sum, tree, negative);
                }
                continue;
            }
            std::vector<Term> numerators;
            for (const Term *t : groups[g])
                numerators.push_back(numeratorPart(*t));
            bool negative = false;
            ExprNode *tree = quotient(numerators, keys[g], negative);
            sum = join(sum, tree, negative);
        }
        return sum;
    }

    // The whole expression over one common denominator, the numerator
    // multiplied out and collected; null when that is not one quotient.
    ExprNode *common(const Expr &e)
    {
        std::map<const Atom *, int> lcm;
        std::vector<Written> dens;
        for (const Term &t : e.terms) {
            dens.push_back(denominatorOf(t));
            for (auto [a, n] : dens.back())
                lcm[a] = std::max(lcm[a], n);
        }
        if (lcm.empty() || std::all_of(dens.begin(), dens.end(), [&](const Written &d) { return d == dens[0]; }))
            return nullptr;
        Expr numerator;
        for (std::size_t i = 0; i < e.terms.size(); ++i) {
            Expr part{{numeratorPart(e.terms[i])}};
            for (auto [a, n] : lcm) {
                const auto own = std::find_if(dens[i].begin(), dens[i].end(), [a = a](auto &d) { return d.first == a; });
                const int m = n - (own == dens[i].end() ? 0 : own->second);
                if (m <= 0)
                    continue;
                std::optional<Expr> grown = algebra_.multiplyOut(part, a, m, kMaxCommonTerms);
                if (!grown)
                    return nullptr;
                part = std::move(*grown);
            }
            numerator.terms.insert(numerator.terms.end(), part.terms.begin(), part.terms.end());
            if (numerator.terms.size() > kMaxCommonTerms || algebra_.failed())
                return nullptr;
        }
        Written den(lcm.begin(), lcm.end());
        den = inOrder(std::move(den));
        Restrictions context;
        for (auto [a, n] : den) {
            context.insert({Need::NonZero, a});
            context.insert(a->own.begin(), a->own.end());
        }
        algebra_.collect(numerator, context);
        if (numerator.terms.size() == 1) {
            // One term: cancel with the denominator, as any term.
            Term whole = numerator.terms[0];
            for (auto [a, n] : den)
                whole = algebra_.multiply(whole, Term{Coef::of(1), {Factor{a, -n}}, {}});
            Expr one{{whole}};
            algebra_.resolveGuards(one, {});
            bool negative = false;
            ExprNode *tree = term(one.terms[0], negative);
            return join(nullptr, tree, negative);
        }
        algebra_.resolveGuards(numerator, context);
        algebra_.sortTerms(numerator);
        if (numerator.terms.empty() || algebra_.failed())
            return nullptr;
        for (Term &t : numerator.terms)
            if (!denominatorOf(t).empty())
                return nullptr; // still a fraction inside
        bool negative = false;
        ExprNode *tree = quotient(numerator.terms, den, negative);
        return join(nullptr, tree, negative);
    }

  private:
    // The term without its denominator.
    static Term numeratorPart(const Term &t)
    {
        Term n{t.coef, {}, {}};
        for (const Factor &f : t.factors)
            if (int e = std::max(f.exponent, 0) + f.kept; e > 0)
                n.factors.push_back({f.atom, e});
        return n;
    }

    ExprNode *atom(const Atom *a)
    {
        switch (a->kind) {
        case AtomKind::Letter:
        case AtomKind::Variable:
        case AtomKind::Opaque:
            return copyTree(a->verbatim.get());
        case AtomKind::Group:
            return expr(a->inner);
        case AtomKind::Call:
            return makeUnaryNode(a->op, expr(a->inner));
        case AtomKind::Power:
            return makeBinaryNode(OpPower, expr(a->inner), copyTree(a->verbatim.get()));
        }
        return number(0);
    }

    ExprNode *chain(ExprNode *first, const Written &factors)
    {
        ExprNode *product = first;
        for (auto [a, n] : factors) {
            ExprNode *f = atom(a);
            if (n != 1)
                f = makeBinaryNode(OpPower, f, number(n));
            product = product ? makeBinaryNode(OpMultiply, product, f) : f;
        }
        return product;
    }

    // The numerator and denominator numbers of |c| (null for 1). A fraction
    // of decimals is written as the decimal it is.
    static std::pair<ExprNode *, ExprNode *> numbers(const Coef &c)
    {
        const long double magnitude = std::fabs(c.value);
        const bool tenths = c.exact && c.decimal && 1'000'000'000'000'000'000LL % c.q == 0;
        if (!c.exact || tenths)
            return {magnitude == 1 ? nullptr : number(magnitude), nullptr};
        const std::int64_t p = c.p < 0 ? -c.p : c.p;
        return {p == 1 ? nullptr : number(static_cast<long double>(p)),
                c.q == 1 ? nullptr : number(static_cast<long double>(c.q))};
    }

    // |t|, and whether t is negative.
    ExprNode *term(const Term &t, bool &negative)
    {
        negative = t.coef.isNegative();
        auto [above, below] = numbers(t.coef);
        ExprNode *num = chain(above, numeratorOf(t));
        ExprNode *den = chain(below, denominatorOf(t));
        if (!num)
            num = number(1);
        return den ? makeBinaryNode(OpDivide, num, den) : num;
    }

    // The sum of the terms over den (and the common denominator of their
    // fractions), with a minus sign in front when every term is negative.
    ExprNode *quotient(std::vector<Term> terms, const Written &den, bool &negative)
    {
        std::int64_t l = 1;
        const bool whole = std::all_of(terms.begin(), terms.end(),
                                       [](const Term &t) { return t.coef.exact && !t.coef.decimal; });
        for (const Term &t : terms) {
            if (!whole)
                break;
            const std::int64_t g = std::gcd(l, t.coef.q);
            if (__builtin_mul_overflow(l / g, t.coef.q, &l)) {
                l = 1;
                break;
            }
        }
        negative = std::all_of(terms.begin(), terms.end(), [](const Term &t) { return t.coef.isNegative(); });
        const Coef scale = Coef::of(negative ? -static_cast<long double>(l) : static_cast<long double>(l));
        ExprNode *sum = nullptr;
        for (Term &t : terms) {
            t.coef = t.coef.times(scale);
            bool minus = false;
            ExprNode *tree = term(t, minus);
            sum = join(sum, tree, minus);
        }
        ExprNode *under = chain(l == 1 ? nullptr : number(static_cast<long double>(l)), den);
        return makeBinaryNode(OpDivide, sum, under);
    }

    static ExprNode *join(ExprNode *sum, ExprNode *tree, bool negative)
    {
        if (negative)
            tree = makeBinaryNode(OpMultiply, number(-1), tree);
        return sum ? makeBinaryNode(OpAdd, sum, tree) : tree;
    }

    Algebra &algebra_;
};

// A tree ready to evaluate: the canonical derivative with its sums
// expanded, or a text as parsed, its sums expanded and simplified (as the
// plotter prepares it before the canonical form, which keeps the value and
// where it is defined, and which would multiply a factored text out again).
struct Evaluated {
    Tree tree;
    std::optional<Program> program;
    explicit Evaluated(const ExprNode *canonical) : tree(copyTree(canonical))
    {
        ExprNode *raw = tree.release();
        expandSums(raw);
        tree.reset(raw);
        program.emplace(tree.get());
    }
    explicit Evaluated(const std::string &text) : tree(parseForEvaluation(text))
    {
        if (!tree)
            return;
        ExprNode *raw = tree.release();
        simplify(raw, ParseBuild);
        tree.reset(raw);
        if (engineState().parseOK)
            program.emplace(tree.get());
    }
};

bool sameAtSamples(Evaluated &a, Evaluated &b)
{
    if (!a.program || !b.program)
        return false;
    EngineState &state = engineState();
    for (long double x : kSamples) {
        state.evalValid = true;
        const long double va = a.program->evaluate(x, 0);
        const bool da = state.evalValid;
        state.evalValid = true;
        const long double vb = b.program->evaluate(x, 0);
        const bool db = state.evalValid;
        if (da != db)
            return false;
        if (da && !(va == vb || std::fabs(va - vb) <= kRelative * (std::fabs(va) + std::fabs(vb)) + kAbsolute))
            return false;
    }
    return true;
}

// Whether the canonical derivative is one quotient (up to a number or a
// sign in front): its presentation then stays one quotient where it can.
bool isQuotient(const ExprNode *n)
{
    while (n && (n->op == OpNegate || (n->op == OpMultiply && isConst(n->left))))
        n = n->right;
    return n && n->op == OpDivide;
}

struct Candidate {
    std::string text;
    bool common;              // over one common denominator
    std::size_t position = 0; // the first of equally good ones is taken
};

// The chosen text, or canonicalText.
std::string attempt(const ExprNode *canonical, const std::string &canonicalText, bool multipliedOut)
{
    Algebra algebra(multipliedOut);
    const Restrictions domain = algebra.domainOf(canonical);
    const Expr form = algebra.present(canonical);
    if (algebra.failed())
        return canonicalText;
    std::vector<Candidate> candidates;
    Writer writer(algebra);
    const auto write = [&](const Expr &e) {
        candidates.push_back({treeToText(Tree(writer.expr(e)).get()), false});
        if (Tree common(writer.common(e)); common && !algebra.failed())
            candidates.push_back({treeToText(common.get()), true});
    };
    write(form);
    if (std::optional<Expr> grown = algebra.expanded(form, kMaxCommonTerms); grown && !algebra.failed())
        write(*grown);
    // The shortest; of a quotient, the shortest that is still one.
    const bool quotient = isQuotient(canonical);
    for (std::size_t i = 0; i < candidates.size(); ++i)
        candidates[i].position = i;
    std::sort(candidates.begin(), candidates.end(), [quotient](const Candidate &a, const Candidate &b) {
        return std::make_tuple(quotient && !a.common, a.text.size(), a.position) <
               std::make_tuple(quotient && !b.common, b.text.size(), b.position);
    });
    Evaluated reference(canonical);
    for (const Candidate &c : candidates) {
        const std::string &text = c.text;
        if (algebra.failed())
            break;
        if (text.size() > canonicalText.size() || text == canonicalText)
            continue;
        engineState().parseOK = true;
        Tree parsed(parseFormula(text, ParseBuild));
        if (!engineState().parseOK || !parsed)
            continue;
        const Restrictions written = algebra.domainOf(parsed.get());
        if (algebra.failed())
            break;
        if (!algebra.allImplied(domain, written) || !algebra.allImplied(written, domain))
            continue;
        Evaluated shown(text);
        if (sameAtSamples(reference, shown))
            return text;
    }
    return canonicalText;
}
} // namespace

std::string presentDerivative(const ExprNode *canonical, const std::string &canonicalText, bool multipliedOut)
{
    if (!canonical || canonicalText.empty() || canonicalText.size() > kMaxPresentedText ||
        nesting(canonical) > kMaxNesting)
        return canonicalText;
    EngineState &state = engineState();
    const bool parseOK = state.parseOK, evalValid = state.evalValid, poleSeen = state.poleSeen,
               tooComplex = state.tooComplex;
    std::string text;
    {
        FormulaBudgetShare share(kPresentationWork);
        text = share.spent() ? canonicalText : attempt(canonical, canonicalText, multipliedOut);
        if (share.spent())
            text = canonicalText;
    }
    state.parseOK = parseOK, state.evalValid = evalValid, state.poleSeen = poleSeen, state.tooComplex = tooComplex;
    return text;
}

} // namespace gq
