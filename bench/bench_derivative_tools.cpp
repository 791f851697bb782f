// Time of one timer tick of the tangent and mean-rate demonstrations on a
// 900-pixel graph: the step and the frame composed over the stored graph.
// Each must stay well inside the 10 ms between ticks.
#include "render/redraw.h"
#include "tools/derivative_colours.h"
#include "tools/mean_rate_draw.h"
#include "tools/tangent_draw.h"
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace gq;

namespace
{

Document oneFunction(const char *f)
{
    Document doc;
    doc.itemCount = 1;
    doc.items[1].kind = KindExplicit;
    doc.items[1].text[1] = f;
    doc.items[1].colour = rgbColour(0, 128, 0);
    return doc;
}

// P runs along sin(x) with the trace box ticked; a run that reaches the edge
// starts again from the left.
void BM_TangentTickWithTrace(benchmark::State &state)
{
    const Document doc = oneFunction("sin(x)");
    GraphRenderer renderer(900);
    renderer.redrawGraph(doc);
    Canvas work(900, 900);
    TangentRun run;
    TraceLayer trace(kSlopeTraceColour);
    const auto restart = [&] {
        trace.clear();
        run.open(doc, renderer.view());
        run.move(1);
        run.start();
    };
    restart();
    int frames = 0;
    for (auto _ : state) {
        if (!run.running())
            restart();
        if (run.tick() && drawTangentFrame(run, renderer.graphImage(), work, renderer.view(), &trace))
            ++frames;
    }
    if (frames == 0)
        state.SkipWithError("no frame drawn");
}
BENCHMARK(BM_TangentTickWithTrace)->Unit(benchmark::kMillisecond);

// B approaches A on x^2 from 3 to 1; the approach starts again at its end.
void BM_ApproachTick(benchmark::State &state)
{
    const Document doc = oneFunction("x^2");
    GraphRenderer renderer(900);
    renderer.redrawGraph(doc);
    Canvas work(900, 900);
    MeanRate rate;
    rate.open(doc, renderer.view());
    rate.enterPoint(MeanRatePoint::A, "1");
    for (auto _ : state) {
        if (!rate.approachTick())
            rate.enterPoint(MeanRatePoint::B, "3");
        if (rate.showPoints()) {
            rate.updateReadouts();
            composeSecantFrame(rate, renderer.graphImage(), work, renderer.view());
        }
    }
}
BENCHMARK(BM_ApproachTick)->Unit(benchmark::kMillisecond);

} // namespace
