// Time of the calculus tools' work on a 900-pixel graph: one Riemann sum at
// the most strips, as the navigator computes and shows it, and the interval
// overlay with its maximum and minimum scan.
#include "engine/engine.h"
#include "render/redraw.h"
#include "tools/interval_overlay.h"
#include "tools/riemann_drawing.h"
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace gq;

namespace
{

constexpr int kGraphSize = 900;
const char *const kPolynomial = "x^3-2x+1";

Document oneFunction(const std::string &f)
{
    Document doc;
    doc.itemCount = 1;
    doc.items[1].kind = KindExplicit;
    doc.items[1].text[1] = f;
    return doc;
}

const char *kindName(SumKind kind)
{
    switch (kind) {
    case SumKind::Upper:
        return "upper";
    case SumKind::Lower:
        return "lower";
    case SumKind::Trapezoid:
        return "trapezoid";
    case SumKind::Simpson:
        return "simpson";
    case SumKind::None:
        break;
    }
    return "";
}

// One whole sum as "増" shows it at the cap: strips computed and drawn on the
// work picture, then laid over the graph. Argument: the kind.
void BM_SumAtCap(benchmark::State &state)
{
    const SumKind kind = static_cast<SumKind>(state.range(0));
    const Document doc = oneFunction(kPolynomial);
    GraphRenderer renderer(kGraphSize);
    renderer.redrawGraph(doc);
    EngineScope scope(&doc, doc.parameters, renderer.view().xPerPixel());
    Tree tree = parseCurveFormula(kPolynomial);
    Program f(tree.get());
    Canvas work(kGraphSize, kGraphSize);
    SumResult result;
    for (auto _ : state) {
        result = drawRiemannSum(work, renderer.view(), f, kind, -1.5f, 2.0f, kMaxDivisions);
        Canvas shown = sumPicture(renderer.graphImage(), work);
        benchmark::DoNotOptimize(shown);
    }
    if (!result.defined)
        state.SkipWithError("the sum met an undefined value");
    state.SetLabel(kindName(kind));
    state.counters["sum"] = static_cast<double>(result.sum);
}
BENCHMARK(BM_SumAtCap)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

// The same sums without drawing: the arithmetic's share.
void BM_SumArithmeticAtCap(benchmark::State &state)
{
    const SumKind kind = static_cast<SumKind>(state.range(0));
    const Document doc = oneFunction(kPolynomial);
    const GraphView view(CoordFrame{}, kGraphSize);
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    Tree tree = parseCurveFormula(kPolynomial);
    Program f(tree.get());
    for (auto _ : state)
        benchmark::DoNotOptimize(riemannSum(f, kind, -1.5f, 2.0f, kMaxDivisions, view.xPerPixel()));
    state.SetLabel(kindName(kind));
}
BENCHMARK(BM_SumArithmeticAtCap)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

// One tick of an interval button: the band and the marks of x^3-2x+1 over
// most of the frame.
void BM_IntervalOverlay(benchmark::State &state)
{
    const Document doc = oneFunction(kPolynomial);
    GraphRenderer renderer(kGraphSize);
    renderer.redrawGraph(doc);
    IntervalState interval;
    interval.active = interval.showMaxMin = true;
    interval.lower = -2;
    interval.upper = 2;
    Extrema marks;
    for (auto _ : state) {
        Canvas shown = drawIntervalOverlay(renderer.graphImage(), renderer.view(), doc, interval, &marks);
        benchmark::DoNotOptimize(shown);
    }
    if (marks.outcome != ScanOutcome::Marked)
        state.SkipWithError("nothing marked");
}
BENCHMARK(BM_IntervalOverlay)->Unit(benchmark::kMillisecond);

} // namespace
