#include "engine/presentation_form.h"

#include "engine/budget.h"
#include "engine/formula_text.h"
#include "engine/numbers.h"
#include "engine/print.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

namespace gq::presentation
{

namespace
{
// Parts of exact numbers stay below 2^62, so that sums and products of two
// of them fit 128 bits.
constexpr std::int64_t kPartLimit = std::int64_t(1) << 62;
// Larger integer exponents are left to the form's Power atoms.
constexpr int kMaxExponent = 10000;
// Expressions with more terms are left as they are: collecting them would
// take longer than the text is worth.
constexpr std::size_t kMaxTerms = 5000;

using Wide = __int128;

// p/q in lowest terms with q > 0, when both parts fit.
bool reduced(Wide p, Wide q, Coef &out)
{
    if (q == 0)
        return false;
    if (q < 0)
        p = -p, q = -q;
    Wide a = p < 0 ? -p : p, b = q;
    while (b != 0) {
        const Wide t = a % b;
        a = b;
        b = t;
    }
    p /= a, q /= a; // a > 0: a is q when p is 0
    if (p >= kPartLimit || p <= -kPartLimit || q >= kPartLimit)
        return false;
    out.p = static_cast<std::int64_t>(p);
    out.q = static_cast<std::int64_t>(q);
    out.exact = true;
    out.value = static_cast<long double>(out.p) / static_cast<long double>(out.q);
    return true;
}

Coef inexact(long double v, bool decimal)
{
    Coef c;
    c.value = v;
    c.exact = false;
    c.p = 0;
    c.decimal = decimal;
    return c;
}

Term termOf(Coef c, std::vector<Factor> factors = {})
{
    Term t;
    t.coef = c;
    t.factors = std::move(factors);
    return t;
}

Expr single(const Atom *a)
{
    if (!a)
        return {};
    return Expr{{termOf(Coef::of(1), {Factor{a, 1}})}};
}

bool isOnly(const Expr &e, const Atom *&atom)
{
    if (e.terms.size() != 1)
        return false;
    const Term &t = e.terms[0];
    if (!t.coef.exact || !t.coef.isOne() || t.factors.size() != 1 || t.factors[0].exponent != 1 ||
        t.factors[0].kept != 0)
        return false;
    atom = t.factors[0].atom;
    return true;
}

bool termNonNegative(const Term &t)
{
    if (t.coef.isNegative() || t.coef.isZero())
        return false;
    return std::all_of(t.factors.begin(), t.factors.end(),
                       [](const Factor &f) { return f.atom->nonNegative || f.exponent % 2 == 0; });
}

bool termPositive(const Term &t)
{
    return termNonNegative(t) &&
           std::all_of(t.factors.begin(), t.factors.end(), [](const Factor &f) { return f.atom->positive; });
}
} // namespace

Coef Coef::of(long double v)
{
    Coef c;
    if (isIntegerValue(v) && std::fabs(v) < static_cast<long double>(kPartLimit)) {
        c.p = static_cast<std::int64_t>(v);
        c.q = 1;
        c.value = v;
        return c;
    }
    if (!isFiniteValue(v))
        return inexact(v, false);
    // A number with few decimals is the fraction it is written as: its sums
    // and products are exact, and written again it is as short as before.
    const std::string s = formatConstant(v);
    const std::size_t dot = s.find('.');
    const std::size_t decimals = dot == std::string::npos ? 0 : s.size() - dot - 1;
    if (dot == std::string::npos || s.size() > 19 || decimals > 18)
        return inexact(v, true);
    Wide p = std::strtoll((s.substr(0, dot) + s.substr(dot + 1)).c_str(), nullptr, 10);
    Wide q = 1;
    for (std::size_t i = 0; i < decimals; ++i)
        q *= 10;
    if (!reduced(p, q, c) || c.value != v)
        return inexact(v, true);
    c.decimal = true;
    return c;
}

Coef Coef::times(const Coef &o) const
{
    Coef r;
    const bool dec = decimal || o.decimal;
    if (!(exact && o.exact && reduced(Wide(p) * o.p, Wide(q) * o.q, r)))
        return inexact(value * o.value, dec);
    r.decimal = dec;
    return r;
}

Coef Coef::plus(const Coef &o) const
{
    Coef r;
    const bool dec = decimal || o.decimal;
    if (!(exact && o.exact && reduced(Wide(p) * o.q + Wide(o.p) * q, Wide(q) * o.q, r)))
        return inexact(value + o.value, dec);
    r.decimal = dec;
    return r;
}

Coef Coef::inverse() const
{
    Coef r;
    if (!(exact && reduced(q, p, r)))
        return inexact(1 / value, decimal);
    r.decimal = decimal;
    return r;
}

Coef Coef::power(int n) const
{
    const Coef base = n < 0 ? inverse() : *this;
    Coef r = of(1);
    for (int i = 0; i < std::abs(n); ++i)
        r = r.times(base);
    return r;
}

bool Restriction::operator<(const Restriction &o) const
{
    return std::make_tuple(static_cast<int>(need), atom->order) <
           std::make_tuple(static_cast<int>(o.need), o.atom->order);
}

bool exprNonNegative(const Expr &e)
{
    return std::all_of(e.terms.begin(), e.terms.end(), termNonNegative);
}

bool exprPositive(const Expr &e)
{
    return exprNonNegative(e) && std::any_of(e.terms.begin(), e.terms.end(), termPositive);
}

void Algebra::spend(std::size_t units)
{
    spendFormulaWork(units);
    if (formulaBudgetSpent())
        fail();
}

int Algebra::degree(const Term &t)
{
    for (const Factor &f : t.factors)
        if (f.atom->kind == AtomKind::Variable)
            return f.exponent;
    return 0;
}

std::string Algebra::exprKey(const Expr &e) const
{
    std::string key;
    for (const Term &t : e.terms) {
        key += key.empty() ? "" : "+";
        const Coef &c = t.coef;
        key += c.exact ? std::to_string(c.p) + "/" + std::to_string(c.q) : "~" + formatConstant(c.value);
        for (const Factor &f : t.factors)
            key += "*" + f.atom->key + "^" + std::to_string(f.exponent) + "~" + std::to_string(f.kept);
    }
    return key;
}

const Atom *Algebra::intern(Atom &&a)
{
    atoms_.push_back(std::move(a));
    Atom &stored = atoms_.back();
    stored.order = static_cast<int>(atoms_.size());
    byKey_[stored.key] = &stored;
    return &stored;
}

const Atom *Algebra::leafAtom(const ExprNode *n)
{
    std::string key = n->op == OpPi ? kPiSjis : n->op == OpLetterS ? kThetaSjis : std::string(1, letterOfCode(n->op));
    if (auto it = byKey_.find(key); it != byKey_.end())
        return it->second;
    Atom a;
    a.kind = n->op == OpX ? AtomKind::Variable : AtomKind::Letter;
    a.key = std::move(key);
    a.op = n->op;
    a.verbatim.reset(copyTree(n));
    a.positive = a.nonNegative = n->op == OpPi;
    return intern(std::move(a));
}

const Atom *Algebra::groupAtom(const Expr &finished)
{
    std::string key = "(" + exprKey(finished) + ")";
    if (auto it = byKey_.find(key); it != byKey_.end())
        return it->second;
    Atom a;
    a.kind = AtomKind::Group;
    a.key = std::move(key);
    a.inner = finished;
    for (const Term &t : finished.terms)
        addRestrictions(t, a.own);
    a.positive = exprPositive(finished);
    a.nonNegative = exprNonNegative(finished);
    return intern(std::move(a));
}

const Atom *Algebra::subjectOf(const Expr &e)
{
    const Atom *only = nullptr;
    return isOnly(e, only) ? only : groupAtom(e);
}

const Atom *Algebra::callAtom(int32_t op, Expr argument)
{
    std::string key = std::string(functionNameOf(op)) + "(" + exprKey(argument) + ")";
    if (auto it = byKey_.find(key); it != byKey_.end())
        return it->second;
    Atom a;
    a.kind = AtomKind::Call;
    a.key = std::move(key);
    a.op = op;
    for (const Term &t : argument.terms)
        addRestrictions(t, a.own);
    const Atom *subject = subjectOf(argument);
    a.subject = subject;
    const bool positiveArgument = exprPositive(argument);
    switch (op) {
    case OpLog:
        a.own.insert({Need::Positive, subject});
        break;
    case OpSqrt:
        a.own.insert({Need::NonNeg, subject});
        a.nonNegative = true;
        a.positive = positiveArgument;
        break;
    case OpTan:
    case OpSec:
        a.own.insert({Need::NonZero, callAtom(OpCos, argument)});
        break;
    case OpCosec:
    case OpCotan:
        a.own.insert({Need::NonZero, callAtom(OpSin, argument)});
        break;
    case OpExp:
    case OpCosh:
        a.positive = a.nonNegative = true;
        break;
    case OpAbs:
        a.nonNegative = true;
        break;
    default:
        break;
    }
    a.inner = std::move(argument);
    const Atom *made = intern(std::move(a));
    if (op == OpSqrt)
        rootOf_[subject] = made;
    return made;
}

const Atom *Algebra::powerAtom(const ExprNode *n)
{
    Expr base = present(n->left);
    // A fraction of integers keeps its shape (the power of a negative base
    // reads it), with the sign above the line: x^(-1/3), not x^(1/(-3)).
    Tree exponentTree(copyTree(n->right));
    ExprNode *e = exponentTree.get();
    if (e->op == OpDivide && isConst(e->left) && isConst(e->right) && e->right->value < 0)
        e->left->value = -e->left->value, e->right->value = -e->right->value;
    const std::string exponent = treeToText(e);
    std::string key = "(" + exprKey(base) + ")^(" + exponent + ")";
    if (failed_ || exponent.empty())
        return fail(), nullptr;
    if (auto it = byKey_.find(key); it != byKey_.end())
        return it->second;
    Atom a;
    a.kind = AtomKind::Power;
    a.key = std::move(key);
    a.verbatim = std::move(exponentTree);
    for (const Term &t : base.terms)
        addRestrictions(t, a.own);
    a.positive = exprPositive(base);
    a.nonNegative = exprNonNegative(base);
    a.inner = std::move(base);
    const Atom *made = intern(std::move(a));
    atoms_.back().own.insert({Need::Present, made});
    return made;
}

const Atom *Algebra::opaqueAtom(const ExprNode *n)
{
    const std::string text = treeToText(n);
    if (text.empty())
        return fail(), nullptr;
    std::string key = "{" + text + "}";
    if (auto it = byKey_.find(key); it != byKey_.end())
        return it->second;
    Atom a;
    a.kind = AtomKind::Opaque;
    a.key = std::move(key);
    a.verbatim.reset(copyTree(n));
    const Atom *made = intern(std::move(a));
    atoms_.back().own.insert({Need::Present, made});
    return made;
}

Term Algebra::multiply(const Term &a, const Term &b)
{
    Term r = termOf(a.coef.times(b.coef));
    r.guards = a.guards;
    r.guards.insert(r.guards.end(), b.guards.begin(), b.guards.end());
    // A factor that divided (a negative exponent, or one kept dividing) and
    // no longer does takes its condition into a guard.
    const auto put = [&](const Atom *atom, int exponent, bool divided) {
        if (std::abs(exponent) > kMaxExponent)
            fail();
        if (divided && exponent >= 0) {
            Guard g{atom, {{Need::NonZero, atom}}};
            if (exponent == 0)
                g.lost.insert(atom->own.begin(), atom->own.end());
            r.guards.push_back(std::move(g));
        }
        if (exponent != 0)
            r.factors.push_back({atom, exponent});
    };
    auto i = a.factors.begin(), j = b.factors.begin();
    while (i != a.factors.end() || j != b.factors.end()) {
        if (j == b.factors.end() || (i != a.factors.end() && i->atom->order < j->atom->order)) {
            put(i->atom, i->exponent, i->kept > 0), ++i;
        } else if (i == a.factors.end() || j->atom->order < i->atom->order) {
            put(j->atom, j->exponent, j->kept > 0), ++j;
        } else {
            put(i->atom, i->exponent + j->exponent, i->exponent < 0 || j->exponent < 0 || i->kept || j->kept);
            ++i, ++j;
        }
    }
    spend(r.factors.size() + 1);
    return r;
}

Term Algebra::inverse(const Term &t)
{
    Term r = termOf(t.coef.inverse());
    r.guards = t.guards;
    for (const Factor &f : t.factors) {
        if (f.exponent > 0 || f.kept > 0)
            r.factors.push_back({f.atom, -f.exponent, f.kept});
        else // a divisor no longer divides
            r.guards.push_back({f.atom, {{Need::NonZero, f.atom}}}), r.factors.push_back({f.atom, -f.exponent});
    }
    return r;
}

Term Algebra::asFactor(Expr e)
{
    finish(e);
    if (e.terms.empty())
        fail();
    if (failed_)
        return termOf(Coef::of(1));
    if (e.terms.size() == 1)
        return e.terms[0];
    return termOf(Coef::of(1), {Factor{groupAtom(e), 1}});
}

Term Algebra::powerOf(const Expr &u, int k)
{
    if (u.terms.size() != 1)
        return termOf(Coef::of(1), {Factor{groupAtom(u), k}});
    return raised(u, k).terms.at(0);
}

Expr Algebra::product(Expr a, Expr b)
{
    if (failed_ || a.terms.empty() || b.terms.empty())
        return fail(), Expr{};
    if (a.terms.size() == 1 && b.terms.size() == 1)
        return Expr{{multiply(a.terms[0], b.terms[0])}};
    if (a.terms.size() > 1 && b.terms.size() > 1) {
        const Term left = asFactor(std::move(a));
        return Expr{{multiply(left, asFactor(std::move(b)))}};
    }
    const bool leftSingle = a.terms.size() == 1;
    const Term t = leftSingle ? a.terms[0] : b.terms[0];
    Expr &sum = leftSingle ? b : a;
    const bool isNumber = std::all_of(t.factors.begin(), t.factors.end(),
                                      [](const Factor &f) { return f.exponent < 0; });
    if (!distribute_ && !isNumber)
        return Expr{{multiply(t, asFactor(std::move(sum)))}};
    Expr out;
    for (const Term &s : sum.terms)
        out.terms.push_back(leftSingle ? multiply(t, s) : multiply(s, t));
    return out;
}

Expr Algebra::quotient(Expr a, Expr b)
{
    if (failed_ || a.terms.empty() || b.terms.empty())
        return fail(), Expr{};
    const Term inv = inverse(b.terms.size() == 1 ? b.terms[0] : asFactor(std::move(b)));
    for (Term &t : a.terms)
        t = multiply(t, inv);
    return a;
}

Expr Algebra::raised(Expr a, int n)
{
    if (failed_ || a.terms.empty())
        return fail(), Expr{};
    const Term t = a.terms.size() == 1 ? a.terms[0] : asFactor(std::move(a));
    Term r = termOf(t.coef.power(n));
    r.guards = t.guards;
    for (const Factor &f : t.factors) {
        const long long e = static_cast<long long>(f.exponent) * n;
        if (std::abs(e) > kMaxExponent)
            return fail(), Expr{};
        if ((f.exponent < 0 || f.kept > 0) && e >= 0) // a divisor no longer divides
            r.guards.push_back({f.atom, {{Need::NonZero, f.atom}}});
        r.factors.push_back({f.atom, static_cast<int>(e)});
    }
    return Expr{{r}};
}

Expr Algebra::convert(const ExprNode *n)
{
    spend(1);
    if (failed_ || !n)
        return fail(), Expr{};
    switch (n->op) {
    case OpConst:
        if (!isFiniteValue(n->value))
            return fail(), Expr{};
        if (n->value == 0)
            return {};
        return Expr{{termOf(Coef::of(n->value))}};
    case OpAdd:
    case OpSubtract: {
        // Along the left spine without recursion: sums may be long.
        std::vector<std::pair<const ExprNode *, bool>> parts; // operand, subtracted
        const ExprNode *m = n;
        for (; m && (m->op == OpAdd || m->op == OpSubtract); m = m->left)
            parts.push_back({m->right, m->op == OpSubtract});
        parts.push_back({m, false});
        Expr sum;
        for (auto it = parts.rbegin(); it != parts.rend() && !failed_; ++it) {
            Expr e = convert(it->first);
            for (Term &t : e.terms) {
                if (it->second)
                    t.coef = t.coef.negated();
                sum.terms.push_back(std::move(t));
            }
            if (sum.terms.size() > kMaxTerms)
                fail();
        }
        return sum;
    }
    case OpNegate: {
        Expr e = convert(n->right);
        for (Term &t : e.terms)
            t.coef = t.coef.negated();
        return e;
    }
    case OpMultiply:
    case OpDivide: {
        // Left first: atoms are numbered in the order they appear.
        Expr left = convert(n->left);
        Expr right = convert(n->right);
        return n->op == OpMultiply ? product(std::move(left), std::move(right))
                                   : quotient(std::move(left), std::move(right));
    }
    case OpPower: {
        const ExprNode *r = n->right;
        if (isConst(r) && isIntegerValue(r->value) && r->value != 0 && std::fabs(r->value) <= kMaxExponent)
            return raised(convert(n->left), static_cast<int>(r->value));
        return single(powerAtom(n));
    }
    default:
        break;
    }
    if (n->op >= OpSin && n->op <= OpCosh && n->right)
        return single(callAtom(n->op, present(n->right)));
    if (n->op == OpPi || letterOfCode(n->op))
        return single(leafAtom(n));
    return single(opaqueAtom(n));
}

} // namespace gq::presentation
