// The rewrites of the presentation's form that decide what may be taken
// away: collecting like terms, square roots of squares, restoring lost
// conditions, and the implication between conditions that decides them
// (the rule is in derivative_presentation.cpp's opening comment).
#include "engine/presentation_form.h"

#include "engine/budget.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

namespace gq::presentation
{

void Algebra::sortTerms(Expr &e) const
{
    // By position within one power; not std::stable_sort, whose buffer the
    // sanitizer build of the standard library reports as freed the wrong way.
    std::vector<std::pair<int, std::size_t>> order; // -degree, position
    for (std::size_t i = 0; i < e.terms.size(); ++i)
        order.emplace_back(-degree(e.terms[i]), i);
    std::sort(order.begin(), order.end());
    std::vector<Term> sorted;
    sorted.reserve(order.size());
    for (const auto &o : order)
        sorted.push_back(std::move(e.terms[o.second]));
    e.terms = std::move(sorted);
    auto positive = std::find_if(e.terms.begin(), e.terms.end(), [](const Term &t) { return !t.coef.isNegative(); });
    if (positive != e.terms.end())
        std::rotate(e.terms.begin(), positive, positive + 1);
}

std::optional<Expr> Algebra::multiplyOut(const Expr &part, const Atom *a, int m, std::size_t limit)
{
    const bool polynomial = a->kind == AtomKind::Group &&
                            std::all_of(a->inner.terms.begin(), a->inner.terms.end(), [](const Term &t) {
                                return std::all_of(t.factors.begin(), t.factors.end(),
                                                   [](const Factor &f) { return f.exponent > 0 && !f.kept; });
                            });
    Expr out = part;
    if (!polynomial) {
        for (Term &t : out.terms)
            t = multiply(t, Term{Coef::of(1), {Factor{a, m}}, {}});
        return out;
    }
    for (int k = 0; k < m; ++k) {
        if (out.terms.size() * a->inner.terms.size() > limit)
            return std::nullopt;
        Expr next;
        for (const Term &t : out.terms)
            for (const Term &s : a->inner.terms)
                next.terms.push_back(multiply(t, s));
        out = std::move(next);
    }
    return out;
}

std::optional<Expr> Algebra::expanded(const Expr &e, std::size_t limit)
{
    // Why powers up to 4: (x+1)^2*(x-1) reads better as 3*x^2+2*x-1, while
    // higher powers multiplied out are seldom shorter.
    constexpr int kMaxPower = 4;
    Expr out;
    bool any = false;
    for (const Term &t : e.terms) {
        Expr part{{Term{t.coef, {}, {}}}};
        part.terms[0].guards = t.guards;
        std::vector<Factor> sums;
        for (const Factor &f : t.factors) {
            if (f.atom->kind == AtomKind::Group && f.exponent > 0 && f.exponent <= kMaxPower && !f.kept)
                sums.push_back(f);
            else
                part.terms[0].factors.push_back(f);
        }
        for (const Factor &f : sums) {
            std::optional<Expr> grown = multiplyOut(part, f.atom, f.exponent, limit);
            if (!grown)
                return std::nullopt;
            part = std::move(*grown);
            any = true;
        }
        out.terms.insert(out.terms.end(), part.terms.begin(), part.terms.end());
        if (out.terms.size() > limit)
            return std::nullopt;
    }
    if (!any)
        return std::nullopt;
    collect(out, {});
    resolveGuards(out, {});
    sortTerms(out);
    return out;
}

void Algebra::addRestrictions(const Term &t, Restrictions &into)
{
    for (const Factor &f : t.factors) {
        if (f.exponent < 0 || f.kept > 0)
            into.insert({Need::NonZero, f.atom});
        into.insert(f.atom->own.begin(), f.atom->own.end());
    }
}

void Algebra::addGuards(const Term &t, Restrictions &into)
{
    for (const Guard &g : t.guards)
        into.insert(g.lost.begin(), g.lost.end());
}

bool Algebra::implied(const Restriction &r, const Restrictions &by) const
{
    if (by.count(r))
        return true;
    const Atom *a = r.atom;
    const auto has = [&by](Need need, const Atom *atom) { return atom && by.count({need, atom}) > 0; };
    switch (r.need) {
    case Need::NonZero: {
        if (a->positive || has(Need::Positive, a))
            return true;
        // A square root is 0 exactly where its operand is.
        if (a->kind == AtomKind::Call && a->op == OpSqrt)
            return a->subject->positive || has(Need::NonZero, a->subject) || has(Need::Positive, a->subject);
        const auto root = rootOf_.find(a);
        return root != rootOf_.end() && has(Need::NonZero, root->second);
    }
    case Need::NonNeg:
        return a->nonNegative || has(Need::Positive, a);
    case Need::Positive:
        return a->positive ||
               ((a->nonNegative || has(Need::NonNeg, a)) && implied({Need::NonZero, a}, by));
    case Need::Present:
        break;
    }
    return false;
}

bool Algebra::allImplied(const Restrictions &rs, const Restrictions &by) const
{
    return std::all_of(rs.begin(), rs.end(), [&](const Restriction &r) { return implied(r, by); });
}

void Algebra::collect(Expr &e, const Restrictions &context)
{
    struct Like {
        Term sum;
        std::vector<Term> parts;
    };
    using Shape = std::vector<std::tuple<int, int, int>>;
    std::vector<Like> likes;
    std::map<Shape, std::size_t> index;
    for (Term &t : e.terms) {
        Shape shape;
        for (const Factor &f : t.factors)
            shape.emplace_back(f.atom->order, f.exponent, f.kept);
        auto [it, fresh] = index.emplace(std::move(shape), likes.size());
        if (fresh) {
            likes.push_back({t, {t}});
            continue;
        }
        Like &like = likes[it->second];
        like.sum.coef = like.sum.coef.plus(t.coef);
        like.sum.guards.insert(like.sum.guards.end(), t.guards.begin(), t.guards.end());
        like.parts.push_back(std::move(t));
    }
    spend(e.terms.size());
    // Terms that cancel go only where the rest of the text keeps their conditions.
    Restrictions kept = context;
    for (const Like &like : likes)
        if (!like.sum.coef.isZero())
            addRestrictions(like.sum, kept), addGuards(like.sum, kept);
    std::vector<bool> stays(likes.size(), true);
    for (std::size_t i = 0; i < likes.size(); ++i) {
        if (!likes[i].sum.coef.isZero())
            continue;
        Restrictions need;
        for (const Term &t : likes[i].parts)
            addRestrictions(t, need), addGuards(t, need);
        stays[i] = !allImplied(need, kept);
        if (stays[i])
            kept.insert(need.begin(), need.end());
    }
    Expr out;
    for (std::size_t i = 0; i < likes.size(); ++i) {
        if (!likes[i].sum.coef.isZero())
            out.terms.push_back(std::move(likes[i].sum));
        else if (stays[i])
            for (Term &t : likes[i].parts)
                out.terms.push_back(std::move(t));
    }
    e = std::move(out);
}

bool Algebra::rewriteRoots(Expr &e)
{
    bool changed = false;
    for (std::size_t ti = 0; ti < e.terms.size() && !failed_; ++ti) {
        for (int round = 0; round < 64; ++round) {
            Term &t = e.terms[ti];
            auto f = std::find_if(t.factors.begin(), t.factors.end(), [](const Factor &x) {
                return x.atom->kind == AtomKind::Call && x.atom->op == OpSqrt && std::abs(x.exponent) >= 2 &&
                       x.kept == 0;
            });
            if (f == t.factors.end())
                break;
            const Atom *root = f->atom;
            const int k = f->exponent / 2, rest = f->exponent % 2;
            Term without = t;
            without.factors.erase(without.factors.begin() + (f - t.factors.begin()));
            if (rest == 0 && !root->subject->nonNegative) {
                // sqrt(u)^2 is u only where u >= 0: the rest of the text must
                // be undefined wherever u < 0.
                Restrictions others;
                for (std::size_t tj = 0; tj < e.terms.size(); ++tj)
                    if (tj != ti)
                        addRestrictions(e.terms[tj], others), addGuards(e.terms[tj], others);
                addRestrictions(without, others), addGuards(without, others);
                if (!implied({Need::NonNeg, root->subject}, others)) {
                    // Left as it stands; later square roots of this term are not tried.
                    break;
                }
            }
            if (rest != 0)
                without.factors.insert(without.factors.begin() + (f - t.factors.begin()), Factor{root, rest});
            t = multiply(without, powerOf(root->inner, k));
            changed = true;
        }
    }
    return changed;
}

void Algebra::resolveGuards(Expr &e, const Restrictions &context)
{
    Restrictions have = context;
    for (const Term &t : e.terms)
        addRestrictions(t, have);
    for (Term &t : e.terms) {
        std::vector<Guard> guards = std::move(t.guards);
        t.guards.clear();
        for (const Guard &g : guards) {
            if (allImplied(g.lost, have))
                continue;
            // The atom goes back as atom/atom (or one more in numerator and
            // denominator), with every condition it brings.
            auto f = std::find_if(t.factors.begin(), t.factors.end(),
                                  [&](const Factor &x) { return x.atom == g.atom; });
            if (f == t.factors.end()) {
                auto at = std::find_if(t.factors.begin(), t.factors.end(),
                                       [&](const Factor &x) { return x.atom->order > g.atom->order; });
                t.factors.insert(at, Factor{g.atom, 0, 1});
            } else if (f->exponent >= 0) {
                f->kept = std::max(f->kept, 1);
            }
            have.insert({Need::NonZero, g.atom});
            have.insert(g.atom->own.begin(), g.atom->own.end());
        }
    }
}

void Algebra::finish(Expr &e)
{
    if (failed_)
        return;
    Restrictions before, after;
    for (const Term &t : e.terms)
        addRestrictions(t, before), addGuards(t, before);
    collect(e, {});
    if (rewriteRoots(e))
        collect(e, {});
    resolveGuards(e, {});
    sortTerms(e);
    for (const Term &t : e.terms)
        addRestrictions(t, after);
    // Every rewrite above keeps where the expression is defined; this says so.
    if (!allImplied(before, after) || !allImplied(after, before))
        fail();
}

Expr Algebra::present(const ExprNode *tree)
{
    Expr e = convert(tree);
    finish(e);
    return e;
}

Restrictions Algebra::domainOf(const ExprNode *tree)
{
    Restrictions r;
    for (const Term &t : convert(tree).terms)
        addRestrictions(t, r), addGuards(t, r);
    return r;
}

} // namespace gq::presentation
