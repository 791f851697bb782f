// Speed of the general tracer of implicit curves: the whole cell scan and
// every trace on a 900-pixel graph with the default frame, for the closed
// loops of sin x + sin y = 1.5 and the folium x³ + y³ = 3xy.
#include "engine/engine.h"
#include "render/implicit_internal.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace gq;

namespace
{

constexpr int kGraphSize = 900;
constexpr uint32_t kColour = rgbColour(0, 0, 255);

const char *const kFormulas[] = {"sin(x)+sin(y)-1.5", "x^3+y^3-3*x*y"};

Tree parse(const char *text)
{
    engineState().parseOK = true;
    Tree t(parseFormula(text, ParseBuild));
    if (!engineState().parseOK || !t) {
        std::fprintf(stderr, "cannot parse %s\n", text);
        std::abort();
    }
    return t;
}

int countColour(const Canvas &canvas)
{
    int n = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            n += canvas.pixel(x, y) == kColour;
    return n;
}

void BM_TraceImplicitGrid(benchmark::State &state)
{
    const char *text = kFormulas[state.range(0)];
    state.SetLabel(text);
    Tree F = parse(text);
    Tree fx(differentiate(F.get(), OpX)), fy(differentiate(F.get(), OpY));
    Program pF(F.get()), pFx(fx.get()), pFy(fy.get());
    const GraphView view(CoordFrame{}, kGraphSize);
    Canvas canvas(kGraphSize, kGraphSize);
    int traces = 0;
    for (auto _ : state) {
        canvas.clear();
        traces = traceImplicitGrid(canvas, view, kColour, 1, pF, pFx, pFy, F.get());
        benchmark::ClobberMemory();
    }
    // The timed work must have drawn the curve.
    const int pixels = countColour(canvas);
    if (traces < 1 || pixels < kGraphSize) {
        std::fprintf(stderr, "%s: %d traces, %d pixels\n", text, traces, pixels);
        std::abort();
    }
    state.counters["traces"] = traces;
    state.counters["pixels"] = pixels;
}
BENCHMARK(BM_TraceImplicitGrid)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
