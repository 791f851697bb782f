// The budgets that keep every formula and every drawing within bounded time
// and memory, whatever a typed text or a shared file holds.
//
// Formula budget. Preparing one formula — parsing it with the definitions it
// refers to, expanding its sums, simplifying, the canonical form, its
// derivatives and its text — runs inside a FormulaBudget. Every node made and
// every node a pass visits costs a unit of work; the formula may hold at most
// kFormulaNodeBudget nodes at any moment and spend at most kFormulaWorkBudget
// units. Once either is passed the budget is spent: the passes stop growing
// trees and return at once, and the formula is refused as too complex
// (engineState().tooComplex, parseOK false). Nothing half-built is handed
// on: a parse or derivative that ran out returns null, and sum expansion
// leaves a formula that is undefined everywhere.
//
// Scopes nest: each public pass opens one, so that a pass called on its own
// is bounded too, and a caller that prepares a formula in several passes
// opens one around them all, so that they share one budget.
//
// Evaluation budget. A Program costs its evaluationCost units per
// evaluation. Inside an EvaluationBudget, an evaluation that would spend
// more units than are left is refused: it reports an undefined value
// without computing anything. Redrawing installs one per item and one for
// the whole picture, so that no item, and no document, can keep the window
// waiting however often its plotter samples.
#pragma once

#include "engine/engine_state.h"

#include <cstddef>
#include <cstdint>

namespace gq
{

struct ExprNode;

// Why 50,000 nodes: the largest formulas a class meets are sums of a few
// thousand terms (a Fourier series with a thousand terms is about 7,000
// nodes) and ten thousand terms of a one-letter summand (20,000 nodes);
// typed formulas and their derivatives stay below a thousand. A tree of
// 50,000 nodes takes about 5 MB and one evaluation of it well under a
// millisecond at typical operations.
inline constexpr std::size_t kFormulaNodeBudget = 50'000;
// Why 1,500,000 units: one unit (a node made or visited) takes 5 to 40 ns,
// so a formula that spends its budget is refused within about 30 ms, and a
// formula text of 1,000 bytes is parsed, expanded, simplified,
// canonicalised and differentiated, or refused, within the 100 ms the
// keyboard may take; the six benchmark formulas need a few hundred units.
inline constexpr std::size_t kFormulaWorkBudget = 1'500'000;

// Refuses the formula being prepared (refuseFormula) when one evaluation of
// tree would cost more than kFormulaEvaluationBudget. Returns whether it fits.
bool fitsEvaluationBudget(const ExprNode *tree);

// Opens a formula budget on this thread; the outermost scope starts a fresh
// one (and clears tooComplex), and its end sets tooComplex and parseOK false
// when the budget was spent.
class FormulaBudget
{
  public:
    FormulaBudget();
    ~FormulaBudget();
    FormulaBudget(const FormulaBudget &) = delete;
    FormulaBudget &operator=(const FormulaBudget &) = delete;
};

// A part of preparing a formula that may give up without refusing the
// formula (the presentation of a derivative's text): while the scope lives,
// the formula budget stops the part after at most `units` further units of
// work (fewer when less is left). What the part spent stays charged; running
// out inside the scope spends the formula budget only for the part, whose
// passes then stop as they do for any formula: spent() tells the part to
// give up, and once the scope ends the formula goes on as before.
class FormulaBudgetShare
{
  public:
    explicit FormulaBudgetShare(std::size_t units);
    ~FormulaBudgetShare();
    FormulaBudgetShare(const FormulaBudgetShare &) = delete;
    FormulaBudgetShare &operator=(const FormulaBudgetShare &) = delete;
    // Whether the part has run out of its share (or the formula of its budget).
    bool spent() const;

  private:
    FormulaBudget scope_;
    std::size_t held_ = 0; // units of the budget kept out of the part's reach
    bool spentBefore_ = false;
};

// Whether the formula being prepared has run past its budget. Always false
// outside a FormulaBudget.
inline bool formulaBudgetSpent()
{
    return engineState().budget.formulaSpent;
}

// Charges units of work to the formula being prepared (nothing outside a
// FormulaBudget) and marks the budget spent once the work or the size
// passes its limit.
inline void spendFormulaWork(std::size_t units)
{
    EngineState &state = engineState();
    BudgetState &b = state.budget;
    if (b.formulaScopes == 0)
        return;
    b.work += units;
    if (b.work > kFormulaWorkBudget || state.liveNodes > b.nodeBase + kFormulaNodeBudget)
        b.formulaSpent = true;
}

// Refuses the formula being prepared as too complex, as running past the
// budget does (a sum whose bounds lie beyond what the budget could ever
// expand). Nothing outside a FormulaBudget.
inline void refuseFormula()
{
    BudgetState &b = engineState().budget;
    if (b.formulaScopes > 0)
        b.formulaSpent = true;
}

// Units one evaluation of a Program compiled from tree costs, so that units
// measure time: 1 for a number, a parameter or π, 2 for a variable and the
// arithmetic, 60 for a trigonometric function, 30 for any other operation
// that calls a library function (the other functions, powers), and for a
// factorial the multiplications it may need. A unit takes 1.5 to 5 ns on the
// development machine.
std::uint64_t evaluationCost(const ExprNode *tree);
// The units node alone adds to that (its operands not counted), for a
// builder that visits every node anyway.
std::uint64_t evaluationNodeCost(const ExprNode *node);

// The most one evaluation of a formula may cost. Why 150,000 units (under
// 0.75 ms): a curve sampled at every column of a 900-pixel graph then fits
// kItemEvaluationBudget, so that every formula the keyboard accepts is drawn
// whole. A Fourier series of a thousand terms costs about 70,000.
inline constexpr std::uint64_t kFormulaEvaluationBudget = 150'000;

// Why these: one item may spend what takes at most about 0.7 s at the
// slowest operations, a whole redraw about 1.2 s, so that an item is drawn
// within 1 s and a file read and drawn within 2 s. Typical items need a
// hundredth of it or less: a curve y = f(x) over 900 columns some 100,000
// units, the implicit tracer on sin(x)+sin(y)-1.5 a few million.
inline constexpr std::uint64_t kItemEvaluationBudget = 150'000'000;
inline constexpr std::uint64_t kRedrawEvaluationBudget = 250'000'000;

// Limits evaluations on this thread to units for the scope's duration (or
// to what an enclosing scope has left, if less). What the scope spends is
// charged to the enclosing scope when it ends.
class EvaluationBudget
{
  public:
    explicit EvaluationBudget(std::uint64_t units);
    ~EvaluationBudget();
    EvaluationBudget(const EvaluationBudget &) = delete;
    EvaluationBudget &operator=(const EvaluationBudget &) = delete;
    // Whether an evaluation in this scope was refused for want of units.
    bool spent() const { return engineState().budget.evaluationSpent; }

  private:
    std::uint64_t outerLeft_;
    std::uint64_t limit_;
    bool outerSpent_;
};

// Takes cost units for one evaluation: false when fewer are left, and the
// evaluation must then report an undefined value. Once one is refused, every
// later one in the scope is refused too, so that a drawing stops rather than
// going on with whatever cheaper formulas remain.
inline bool spendEvaluation(std::uint64_t cost)
{
    BudgetState &b = engineState().budget;
    if (b.evaluationLeft < cost) {
        b.evaluationLeft = 0;
        b.evaluationSpent = true;
        return false;
    }
    b.evaluationLeft -= cost;
    return true;
}

// Takes units that evaluations made elsewhere spent (another thread ran the
// same evaluations on a copy of the Programs), but only when that many are
// left: then the budget ends as it would after those evaluations, one by one,
// here. False, leaving the budget untouched, when fewer are left: some of
// them would have been refused here, and must be made here instead.
inline bool spendEvaluationsIfLeft(std::uint64_t units)
{
    BudgetState &b = engineState().budget;
    if (b.evaluationLeft < units)
        return false;
    b.evaluationLeft -= units;
    return true;
}

} // namespace gq
