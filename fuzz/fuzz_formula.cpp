// libFuzzer target: the formula pipeline on any text.
//
// The input is a formula text as the keyboard or a file could give it. The
// target runs what the program runs on a formula — the keyboard's check,
// the parse, evaluation at points, the derivatives by x and by y, the text
// of the tree and of each derivative parsed again, the canonical form, the
// derivative command's text and the implicit-curve algebra — and checks:
//
// - printing a tree and parsing the text again gives the same value at the
//   sample points, up to rounding: both undefined, or both defined and close
//   for the magnitude of the intermediate values and for the worst
//   cancellation in either tree (where an intermediate value is huge,
//   overflow and amplified rounding are no fault);
// - the text of a derivative of a formula that parses also parses (the
//   derivative command checks its own text as the keyboard would), and
//   its presentation has the canonical derivative's values and undefined
//   points;
// - evaluation never allocates, and one evaluation of a formula the budget
//   admits costs at most kFormulaEvaluationBudget units (and takes well
//   under the time that stands for);
// - everything ends: libFuzzer's -timeout and -rss_limit_mb catch a hang or
//   a runaway allocation, and AddressSanitizer a leak.
//
// A broken invariant aborts with a message naming it.
#include "engine/budget.h"
#include "engine/engine.h"
#include "engine/expand_sums.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sanitizer/allocator_interface.h>
#include <string>
#include <vector>

using namespace gq;

namespace
{

// Allocations counted while `counting` is set (malloc hooks of the
// sanitizer runtime).
bool counting = false;
std::size_t allocations = 0;
void onMalloc(const volatile void *, std::size_t)
{
    if (counting)
        ++allocations;
}
void onFree(const volatile void *) {}

[[noreturn]] void broken(const char *invariant, const std::string &text, const std::string &detail = "")
{
    std::fprintf(stderr, "\nINVARIANT BROKEN: %s\n  formula: %s\n  %s\n", invariant, text.c_str(),
                 detail.c_str());
    std::abort();
}

struct Sample {
    bool defined = false;
    long double value = 0;
    // The sum of the magnitudes of every defined intermediate value (the
    // value of each subtree): infinite when one is not finite, and unknown
    // (infinite) for trees too large to measure. Measured only when needed.
    long double scale = 0;
};

constexpr int kPoints = 5;
const long double kXs[kPoints] = {-2.3L, -0.7L, 0.4L, 1.9L, 3.1L};
// Trees with more nodes are only checked to parse again: measuring the
// intermediate values costs a compilation per subtree.
constexpr std::size_t kMeasuredNodes = 150;

void collect(const ExprNode *n, std::vector<const ExprNode *> &out)
{
    if (!n)
        return;
    collect(n->left, out);
    collect(n->right, out);
    out.push_back(n);
}

// The subtrees of a tree small enough to measure (each measure costs a
// compilation per subtree), or false for a larger one.
bool measuredSubtrees(const ExprNode *tree, std::vector<const ExprNode *> &out)
{
    if (treeSize(tree) > kMeasuredNodes)
        return false;
    collect(tree, out);
    return true;
}

// The value at x of the Program of n, with y = x/2 + 0.3.
Sample evaluateAt(Program &program, long double x)
{
    EngineState &state = engineState();
    state.evalValid = true;
    long double v = program.evaluate(x, x / 2 + 0.3L);
    return {state.evalValid && !std::isnan(v), v, 0};
}

// The values of a tree (sums expanded) at the sample points. Checks that
// evaluation allocates nothing and ends in time.
void sampleTree(const ExprNode *expanded, Sample (&out)[kPoints], const std::string &text)
{
    Program program(expanded);
    allocations = 0;
    counting = true;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPoints; ++i)
        out[i] = evaluateAt(program, kXs[i]);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    counting = false;
    if (allocations != 0)
        broken("evaluation allocated memory", text);
    // 5 evaluations of at most 150,000 units each take a few milliseconds,
    // even under the sanitizers; a second means a loop without bound.
    if (elapsed > std::chrono::seconds(1))
        broken("evaluation took far longer than its cost allows", text);
}

// The sum of the magnitudes of the defined values of every subtree at x:
// infinite when one is not finite, or when the tree is too large to
// measure (a compilation per subtree).
long double scaleAt(const ExprNode *expanded, long double x)
{
    std::vector<const ExprNode *> nodes;
    if (!measuredSubtrees(expanded, nodes))
        return HUGE_VALL;
    long double scale = 0;
    for (const ExprNode *n : nodes) {
        Program sub(n);
        const Sample v = evaluateAt(sub, x);
        if (v.defined)
            scale += std::isfinite(v.value) ? std::fabs(v.value) : HUGE_VALL;
    }
    return scale;
}

// Whether some power in the tree decides at x on the exact value of its
// exponent: a base of 0 or below with an exponent that is a whole number up
// to rounding. 0^y is 1 at y = 0, 0 for y > 0 and undefined for y < 0, and a
// negative base is defined at whole exponents only; an exponent that is a
// whole number only up to rounding (a derivative that cancels to 0) makes
// texts that group the same operations differently disagree at every x,
// which moving x does not undo. Trees too large to measure count as having
// one.
bool powerAtKnifeEdge(const ExprNode *expanded, long double x)
{
    std::vector<const ExprNode *> nodes;
    if (!measuredSubtrees(expanded, nodes))
        return true;
    for (const ExprNode *n : nodes) {
        if (n->op != OpPower || !n->left || !n->right)
            continue;
        Program base(n->left), exponent(n->right);
        const Sample b = evaluateAt(base, x);
        const Sample e = evaluateAt(exponent, x);
        if (b.defined && b.value <= 0 && e.defined &&
            std::fabs(e.value - std::nearbyint(e.value)) <= 1e-9L * (1 + std::fabs(e.value)))
            return true;
    }
    return false;
}

// The worst cancellation at x in the tree: over its sums, the largest ratio
// of the operands' magnitudes to the magnitude of the result (1 where none
// cancels; infinite for a sum that cancels to 0 exactly, and for trees too
// large to measure). A difference of nearly equal values keeps only the
// digits where they differ, so the relative rounding error of the result,
// and of all that divides or multiplies by it, grows by this ratio.
long double cancellationAt(const ExprNode *expanded, long double x)
{
    std::vector<const ExprNode *> nodes;
    if (!measuredSubtrees(expanded, nodes))
        return HUGE_VALL;
    long double worst = 1;
    for (const ExprNode *n : nodes) {
        if ((n->op != OpAdd && n->op != OpSubtract) || !n->left || !n->right)
            continue;
        Program left(n->left), right(n->right), whole(n);
        const Sample a = evaluateAt(left, x), b = evaluateAt(right, x), sum = evaluateAt(whole, x);
        const long double operands = std::fabs(a.value) + std::fabs(b.value);
        if (!a.defined || !b.defined || !sum.defined || !std::isfinite(operands) || operands == 0)
            continue;
        worst = std::max(worst, sum.value == 0 ? HUGE_VALL : operands / std::fabs(sum.value));
    }
    return worst;
}

// Values that differ by more than rounding at x.
bool differ(Sample a, const ExprNode *treeA, Sample b, const ExprNode *treeB, long double x)
{
    if (a.defined == b.defined && (!a.defined || std::fabs(a.value - b.value) <=
                                                     1e-12L * (1 + std::fabs(a.value) + std::fabs(b.value))))
        return false;
    constexpr long double kModerate = 1e12L;
    a.scale = scaleAt(treeA, x);
    b.scale = scaleAt(treeB, x);
    if (!(a.scale < kModerate && b.scale < kModerate))
        return false;
    if (powerAtKnifeEdge(treeA, x) || powerAtKnifeEdge(treeB, x))
        return false;
    const long double difference = std::fabs(a.value - b.value);
    if (a.defined == b.defined && difference <= 1e-9L * (1 + a.scale + b.scale))
        return false;
    // Rounding that a cancellation amplified (the 80-bit rounding unit is
    // about 1e-19; 1e-16 leaves room for what later operations add). Where
    // the cancellation leaves no digit at all, rounding may even decide
    // whether a later operation is defined.
    const long double cancellation = std::max(cancellationAt(treeA, x), cancellationAt(treeB, x));
    if (a.defined != b.defined)
        return cancellation < 1e15L;
    return difference > 1e-16L * cancellation * (std::fabs(a.value) + std::fabs(b.value));
}

// Values that differ by more than rounding, at x and next to it. Only where
// every intermediate value is moderate: beyond that, overflow is replaced by
// ±1E4932 and rounding is amplified, so texts that group the same operations
// differently (the printer writes a*(b*c) as a*b*c, read back as (a*b)*c)
// may rightly give different values. And only where the difference is not a
// knife edge: where an operation decides on an exact value (a negative base
// to an integer power, gaus at an integer, sgn at 0), the last bit of an
// intermediate value may decide, and next to x both agree again; a power of
// a base of 0 or below decides on its exponent's exact value wherever x is
// (powerAtKnifeEdge).
bool disagree(const Sample &a, const ExprNode *treeA, const Sample &b, const ExprNode *treeB, long double x)
{
    if (!differ(a, treeA, b, treeB, x))
        return false;
    Program pa(treeA), pb(treeB);
    for (long double nudge : {1e-9L, -2e-9L, 3e-9L}) {
        const long double near = x * (1 + nudge);
        if (!differ(evaluateAt(pa, near), treeA, evaluateAt(pb, near), treeB, near))
            return false;
    }
    return true;
}

// A copy of tree with its sums expanded, as the plotters evaluate it.
Tree expandedCopy(const ExprNode *tree)
{
    ExprNode *copy = copyTree(tree);
    expandSums(copy);
    return Tree(copy);
}

// Whether a printed text that the parser refuses is refused as a quotient
// by the constant 0 (it passes the check mode and fails the build mode) of a
// tree that is undefined at every sample point. The canonical form folds
// numbers the parser leaves alone (2^2, 0.5*4), so x/(0.5*4-2) is written
// x/(2-2), which the parser refuses as it refuses 1/0: that is the value of
// the tree, undefined everywhere, and no text could say it otherwise.
bool quotientByZero(const std::string &printed, const Sample (&values)[kPoints])
{
    for (const Sample &v : values)
        if (v.defined)
            return false;
    return checkFormula(printed) == FormulaCheck::BuildFailed;
}

// The text of tree parses again (unless it is too long or too complex to
// parse at all, or, for a canonical form, a quotient by zero as
// quotientByZero allows) and gives the same values.
void roundTrip(const ExprNode *tree, const std::string &text, const char *what, bool canonical = false)
{
    const std::string printed = treeToText(tree);
    EngineState &state = engineState();
    state.parseOK = true;
    Tree again(parseFormula(printed, ParseBuild));
    const bool parsed = state.parseOK, tooComplex = state.tooComplex; // expanding sums resets them
    const Tree treeA = expandedCopy(tree);
    Sample before[kPoints], after[kPoints];
    sampleTree(treeA.get(), before, text);
    if (!parsed) {
        if (tooComplex)
            return; // longer or deeper than any text the parser takes: refused, not wrong
        if (canonical && quotientByZero(printed, before))
            return;
        broken(what, text, "printed as: " + printed);
    }
    const Tree treeB = expandedCopy(again.get());
    sampleTree(treeB.get(), after, text);
    for (int i = 0; i < kPoints; ++i) {
        if (disagree(before[i], treeA.get(), after[i], treeB.get(), kXs[i])) {
            char detail[256];
            std::snprintf(detail, sizeof detail, "at x = %.2Lf: %s %.17Lg, read back %s %.17Lg", kXs[i],
                          before[i].defined ? "defined" : "undefined", before[i].value,
                          after[i].defined ? "defined" : "undefined", after[i].value);
            broken("printing and parsing again changes the value", text,
                   std::string(detail) + "\n  printed as: " + printed);
        }
    }
}

// The derivative command's text, as presented, is drawn by the plotter, has
// the value of the canonical derivative it replaces and is defined where it
// is. The canonical text is only read and simplified: the plotter's
// canonical form may multiply it out past the budget (which is why it was
// replaced).
void samePresentation(const std::string &shown, const std::string &canonical, const std::string &text)
{
    const Tree b = parseCurveFormula(shown);
    if (!b)
        broken("the plotter refuses the derivative's text the derivative command gave", text, shown);
    Tree a = parseForEvaluation(canonical);
    if (!a)
        return; // no reference (a quotient by a constant 0 the canonical form folded)
    ExprNode *raw = a.release();
    simplify(raw, ParseBuild);
    a.reset(raw);
    Sample before[kPoints], after[kPoints];
    sampleTree(a.get(), before, text);
    sampleTree(b.get(), after, text);
    for (int i = 0; i < kPoints; ++i) {
        if (disagree(before[i], a.get(), after[i], b.get(), kXs[i])) {
            char detail[256];
            std::snprintf(detail, sizeof detail, "at x = %.2Lf: %s %.17Lg, presented %s %.17Lg", kXs[i],
                          before[i].defined ? "defined" : "undefined", before[i].value,
                          after[i].defined ? "defined" : "undefined", after[i].value);
            broken("the presentation of a derivative changes its value", text,
                   std::string(detail) + "\n  canonical: " + canonical + "\n  presented: " + shown);
        }
    }
}

void checkTree(ExprNode *tree, const std::string &text)
{
    roundTrip(tree, text, "the text of a parsed formula does not parse");
    for (int32_t v : {OpX, OpY}) {
        bool cutShort = false;
        Tree d(differentiate(tree, v, &cutShort));
        if (!cutShort)
            roundTrip(d.get(), text, "the text of a derivative does not parse");
    }
    // The canonical form keeps the value.
    Tree canonical(copyTree(tree));
    {
        ExprNode *raw = canonical.release();
        canonicaliseTree(raw);
        canonical.reset(raw);
    }
    if (!engineState().tooComplex)
        roundTrip(canonical.get(), text, "the text of the canonical form does not parse", true);
    // The implicit-curve algebra on the formula as an equation f(x, y) = 0.
    Tree stripped(copyTree(tree));
    ExprNode *raw = stripped.release();
    stripRoot(raw);
    stripped.reset(raw);
    for (int selector : {DegreeXY, DegreeX, DegreeY})
        polynomialDegree(stripped.get(), selector);
    if (polynomialDegree(stripped.get(), DegreeY) == 2)
        Tree(quadraticRoot(stripped.get(), OpY, 1));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    Parameters &p = engineState().variables.params;
    p = Parameters::defaults();
    p['a'] = 1.5f, p['b'] = -0.75f, p['c'] = 2, p['d'] = 0.5f, p['f'] = 3, p['n'] = 4;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    // Formulas come from a single line of a file or the keyboard.
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (text.find_first_of("\r\n") != std::string::npos)
        return -1;
    const FormulaCheck check = checkFormula(text);
    // A formula refused as too complex goes no further in the program; the
    // plotters and the derivative command refuse it the same way (the tests
    // of the budget show that), so the target spends its time elsewhere.
    if (check == FormulaCheck::TooComplex)
        return 0;
    EngineState &state = engineState();
    state.parseOK = true;
    Tree tree(parseFormula(text, ParseBuild));
    if (state.parseOK && tree) {
        if (check == FormulaCheck::Accepted &&
            evaluationCost(expandedCopy(tree.get()).get()) > kFormulaEvaluationBudget)
            broken("an accepted formula costs more than the evaluation budget", text);
        checkTree(tree.get(), text);
    }
    state.parseOK = true;
    std::string canonical;
    const std::string derivative = derivativeText(text, OpX, &canonical);
    if (state.parseOK && derivative.empty())
        broken("the derivative command succeeds without a text", text);
    if (state.parseOK && derivative != canonical)
        samePresentation(derivative, canonical, text);
    return 0;
}
