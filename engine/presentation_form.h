// The algebraic form behind the presentation of a derivative's text
// (derivative_presentation.cpp, whose opening comment gives the rule about
// where a formula is defined): a sum of terms, each a number times integer
// powers of atoms, and what each rewrite takes away from the conditions
// under which the formula is defined. presentation_form.cpp reads trees into
// the form; presentation_rewrite.cpp holds the rewrites that may take a
// condition away and the implication that decides them. Internal to the
// engine.
#pragma once

#include "engine/expr_tree.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace gq::presentation
{

// A number: the exact fraction p/q (q > 0, lowest terms) while both parts
// fit, otherwise only its value.
struct Coef {
    long double value = 1;
    std::int64_t p = 1, q = 1;
    bool exact = true;
    bool decimal = false; // made from a number written with decimals

    static Coef of(long double v);
    Coef times(const Coef &o) const;
    Coef plus(const Coef &o) const;
    Coef inverse() const; // not of zero
    Coef power(int n) const;
    Coef negated() const { return times(of(-1)); }
    bool isZero() const { return exact ? p == 0 : value == 0; }
    bool isOne() const { return exact ? p == 1 && q == 1 : value == 1; }
    bool isNegative() const { return exact ? p < 0 : value < 0; }
};

struct Atom;

// A condition under which a text is defined. NonZero: the atom is not 0
// (it divides); NonNeg: not negative (a square root's operand); Positive
// (a logarithm's operand); Present: the atom itself must stay, its own
// conditions being too intricate to reason about (powers with exponents
// that are not integers, factorials, sums, based logarithms).
enum class Need { NonZero, NonNeg, Positive, Present };
struct Restriction {
    Need need;
    const Atom *atom;
    bool operator<(const Restriction &o) const;
    bool operator==(const Restriction &o) const = default;
};
using Restrictions = std::set<Restriction>;

// atom^exponent; kept > 0 writes atom^(exponent + kept)/atom^kept, so that
// the text stays undefined where the atom is 0 (exponent >= 0 then).
struct Factor {
    const Atom *atom;
    int exponent;
    int kept = 0;
};
// What a term lost when a factor's exponent rose from below 0 to 0 or more:
// the atom no longer divides (and, at 0, is gone with its own conditions).
struct Guard {
    const Atom *atom;
    Restrictions lost;
};
struct Term {
    Coef coef;
    std::vector<Factor> factors; // ordered by Atom::order
    std::vector<Guard> guards;
};
struct Expr {
    std::vector<Term> terms; // none: 0
};

enum class AtomKind {
    Letter,   // a parameter, π, y, z or t
    Variable, // x
    Group,    // a sum in parentheses (or, as a condition's subject, any expression)
    Call,     // a function of an expression
    Power,    // an expression to a power that is not an integer
    Opaque,   // anything else, written as it stands
};

struct Atom {
    AtomKind kind;
    int order; // first appearance
    std::string key;
    int32_t op = 0;    // Letter, Variable, Call: the node's code
    Expr inner;        // Group: the sum; Call: the argument; Power: the base
    Tree verbatim;     // Letter, Variable: the leaf; Power: the exponent; Opaque: the subtree
    Restrictions own;  // conditions of the atom and of what it contains
    const Atom *subject = nullptr; // Call: the atom for the argument (conditions name it)
    bool positive = false, nonNegative = false; // provably, wherever it is defined
};

// Builds and rewrites the form; owns every atom. Any step may fail (a shape
// the form does not cover, or limits passed); failed() then tells the
// caller to keep the text as it was.
class Algebra
{
  public:
    // distribute: a product of a term and a sum is multiplied out, as in the
    // canonical form that multiplies out; otherwise the sum stays a factor.
    explicit Algebra(bool distribute) : distribute_(distribute) {}

    // The form of tree, every rewrite done: like terms and factors
    // collected, square roots of squares taken where allowed, lost
    // conditions restored, terms in descending powers of x.
    Expr present(const ExprNode *tree);
    // The conditions of the form of tree before any collection (including
    // what merging factors took away): where that text is defined.
    Restrictions domainOf(const ExprNode *tree);

    Expr convert(const ExprNode *n);
    // Collects like terms; a group of like terms whose numbers cancel goes
    // only when context and the other terms keep its conditions.
    void collect(Expr &e, const Restrictions &context);
    // Restores, in each term, every lost condition that neither context nor
    // the text itself still imposes.
    void resolveGuards(Expr &e, const Restrictions &context);
    Term multiply(const Term &a, const Term &b);
    // The term for u^k, u a finished expression (a factor of a group atom
    // when u is a sum).
    Term powerOf(const Expr &u, int k);

    static void addRestrictions(const Term &t, Restrictions &into);
    static void addGuards(const Term &t, Restrictions &into);
    bool implied(const Restriction &r, const Restrictions &by) const;
    bool allImplied(const Restrictions &rs, const Restrictions &by) const;

    const Atom *groupAtom(const Expr &finished);
    // part times a^m, multiplied out when a is a sum of products of powers
    // (a polynomial); nothing past limit terms (failed() stays as it was).
    std::optional<Expr> multiplyOut(const Expr &part, const Atom *a, int m, std::size_t limit);
    // The form with every polynomial sum to a small power multiplied out and
    // collected; nothing when there is none or it grows past limit terms.
    std::optional<Expr> expanded(const Expr &e, std::size_t limit);

    static int degree(const Term &t); // the exponent of x
    // Descending powers of x (in order of appearance within one power), but
    // a positive term first rather than a minus sign: 1-x^2, not -x^2+1.
    void sortTerms(Expr &e) const;

    bool failed() const { return failed_; }
    void fail() { failed_ = true; }
    // Units of work spent (terms and nodes handled).
    void spend(std::size_t units);

  private:
    void finish(Expr &e);
    bool rewriteRoots(Expr &e);
    Expr product(Expr a, Expr b);
    Expr quotient(Expr a, Expr b);
    Expr raised(Expr a, int n);
    Term inverse(const Term &t);
    Term asFactor(Expr e); // a finished single term, or the group of a sum
    const Atom *intern(Atom &&a);
    const Atom *leafAtom(const ExprNode *n);
    const Atom *callAtom(int32_t op, Expr argument);
    const Atom *powerAtom(const ExprNode *n);
    const Atom *opaqueAtom(const ExprNode *n);
    const Atom *subjectOf(const Expr &e);
    std::string exprKey(const Expr &e) const;

    bool distribute_;
    bool failed_ = false;
    std::deque<Atom> atoms_;
    std::map<std::string, const Atom *> byKey_;
    std::map<const Atom *, const Atom *> rootOf_; // subject → its square root atom
};

bool exprPositive(const Expr &e);
bool exprNonNegative(const Expr &e);

} // namespace gq::presentation
