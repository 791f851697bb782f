// Speed of the expression engine: Program::evaluate on six classroom formulas
// against the same formulas written directly in C++, and the cost of preparing
// a formula (parse, expand sums, simplify, canonicalise) and of compiling it.
#include "engine/engine.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace gq;

namespace
{
constexpr int kSamples = 1000;
constexpr long double kA = 1.5L, kB = 2, kC = 0.5L;

struct Formula {
    const char *text;
    long double (*direct)(long double x);
};

const Formula kFormulas[] = {
    {"x^2-3x+2", [](long double x) { return x * x - 3 * x + 2; }},
    {"sin(x)exp(-x^2/4)", [](long double x) { return std::sin(x) * std::exp(-x * x / 4); }},
    {"sqrt(abs(x))+log(x^2+1)", [](long double x) { return std::sqrt(std::fabs(x)) + std::log(x * x + 1); }},
    {"(x^3-2x)/(x^2-1)", [](long double x) { return (x * x * x - 2 * x) / (x * x - 1); }},
    // asin(bx+c) reads as a*sin(b*x+c): "asin" is no function name.
    {"asin(bx+c)+cos(3x)^2",
     [](long double x) {
         long double c3 = std::cos(3 * x);
         return kA * std::sin(kB * x + kC) + c3 * c3;
     }},
    {"1/(1+exp(-x))+sinh(x)/cosh(x)",
     [](long double x) { return 1 / (1 + std::exp(-x)) + std::sinh(x) / std::cosh(x); }},
};

std::vector<long double> samples()
{
    std::vector<long double> xs(kSamples);
    for (int k = 0; k < kSamples; ++k)
        xs[k] = -5 + 10.0L * k / (kSamples - 1);
    return xs;
}

void setParameters()
{
    engineState().variables.params['a'] = static_cast<float>(kA);
    engineState().variables.params['b'] = static_cast<float>(kB);
    engineState().variables.params['c'] = static_cast<float>(kC);
}

// The tree the plotters evaluate: parsed, sums expanded, simplified, canonical.
ExprNode *prepare(const char *text)
{
    engineState().parseOK = true;
    ExprNode *t = parseFormula(text, ParseBuild);
    if (!engineState().parseOK || !t) {
        std::fprintf(stderr, "cannot parse %s\n", text);
        std::abort();
    }
    expandSums(t);
    simplify(t, ParseBuild);
    return canonicaliseTree(t);
}

void checkAgreement(const Formula &f, Program program, const std::vector<long double> &xs)
{
    for (long double x : xs) {
        engineState().evalValid = true;
        long double e = program.evaluate(x, 0), d = f.direct(x);
        if (engineState().evalValid && std::fabs(e - d) > 1e-9L * (1 + std::fabs(d))) {
            std::fprintf(stderr, "%s disagrees at x=%Lg: %Lg vs %Lg\n", f.text, x, e, d);
            std::abort();
        }
    }
}

// Times one pass over the samples per iteration. Each input is read through a
// volatile, and the last pass's sum must equal a sum taken before timing, so
// the work can neither be optimised away nor go wrong unnoticed.
template <class Eval> void timePasses(benchmark::State &state, const char *label, Eval evalOne)
{
    const std::vector<long double> xs = samples();
    long double reference = 0;
    for (long double x : xs)
        reference += evalOne(x);
    long double pass = 0;
    for (auto _ : state) {
        pass = 0;
        for (long double x : xs) {
            volatile long double vx = x;
            pass += evalOne(vx);
        }
    }
    if (pass != reference) {
        std::fprintf(stderr, "%s: timed sum %Lg differs from %Lg\n", label, pass, reference);
        std::abort();
    }
    state.SetLabel(label);
    state.counters["ns_per_eval"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSamples,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Evaluate(benchmark::State &state)
{
    const Formula &f = kFormulas[state.range(0)];
    setParameters();
    Program program(Tree(prepare(f.text)).get());
    checkAgreement(f, program, samples());
    timePasses(state, f.text, [&](long double x) {
        engineState().evalValid = true;
        return program.evaluate(x, 0);
    });
}

void BM_Direct(benchmark::State &state)
{
    const Formula &f = kFormulas[state.range(0)];
    timePasses(state, f.text, f.direct);
}

// Both sides in turn, pass by pass, so that both see the same state of a
// shared machine (whose speed drifts over seconds); reports both times and
// their ratio.
void BM_Ratio(benchmark::State &state)
{
    const Formula &f = kFormulas[state.range(0)];
    setParameters();
    Program program(Tree(prepare(f.text)).get());
    const std::vector<long double> xs = samples();
    checkAgreement(f, program, xs);
    using Clock = std::chrono::steady_clock;
    Clock::duration engine{}, direct{};
    long double engineSum = 0, directSum = 0;
    // Each pass moves its samples by a hair, so that no argument comes back
    // in a later pass: the evaluator's table of recent sines and cosines
    // must not turn the repeated passes into lookups.
    long double shift = 0;
    for (auto _ : state) {
        engineSum = directSum = 0;
        shift += 1e-9L;
        const auto t0 = Clock::now();
        for (long double x : xs) {
            volatile long double vx = x + shift;
            engineState().evalValid = true;
            engineSum += program.evaluate(vx, 0);
        }
        const auto t1 = Clock::now();
        for (long double x : xs) {
            volatile long double vx = x + shift;
            directSum += f.direct(vx);
        }
        const auto t2 = Clock::now();
        engine += t1 - t0;
        direct += t2 - t1;
    }
    if (std::fabs(engineSum - directSum) > 1e-9L * (1 + std::fabs(directSum))) {
        std::fprintf(stderr, "%s: sums differ\n", f.text);
        std::abort();
    }
    const double evaluations = static_cast<double>(state.iterations()) * kSamples;
    const double e = std::chrono::duration<double, std::nano>(engine).count() / evaluations;
    const double d = std::chrono::duration<double, std::nano>(direct).count() / evaluations;
    state.counters["engine_ns"] = e;
    state.counters["direct_ns"] = d;
    state.counters["ratio"] = e / d;
    state.SetLabel(f.text);
}

void BM_Prepare(benchmark::State &state)
{
    const Formula &f = kFormulas[state.range(0)];
    std::size_t nodes = 0;
    for (auto _ : state) {
        Tree tree(prepare(f.text));
        nodes += treeSize(tree.get());
    }
    if (nodes == 0)
        std::abort();
    state.SetLabel(f.text);
}

void BM_Compile(benchmark::State &state)
{
    const Formula &f = kFormulas[state.range(0)];
    Tree tree(prepare(f.text));
    for (auto _ : state) {
        Program program(tree.get());
        benchmark::DoNotOptimize(program);
    }
    state.SetLabel(f.text);
}
} // namespace

BENCHMARK(BM_Evaluate)->DenseRange(0, 5);
BENCHMARK(BM_Direct)->DenseRange(0, 5);
BENCHMARK(BM_Ratio)->DenseRange(0, 5);
BENCHMARK(BM_Prepare)->DenseRange(0, 5);
BENCHMARK(BM_Compile)->DenseRange(0, 5);

BENCHMARK_MAIN();
