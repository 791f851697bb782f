// Time of a full redraw of a busy document on a 900-pixel graph (and on a
// graph of that size at device pixel ratio 2).
#include "busy_document.h"
#include "engine/engine.h"
#include "render/render.h"
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace gq;

namespace
{

using bench::addItem;
using bench::busyDocument;

void BM_RedrawBusyDocument(benchmark::State &state)
{
    const Document doc = busyDocument();
    GraphRenderer renderer(900);
    for (auto _ : state)
        renderer.redrawGraph(doc);
    int marked = 0;
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 900; ++x)
            marked += renderer.graphImage().pixel(x, y) != kWhite;
    if (marked < 5000)
        state.SkipWithError("the redraw drew almost nothing");
    state.counters["marked_pixels"] = marked;
}
BENCHMARK(BM_RedrawBusyDocument)->Unit(benchmark::kMillisecond);

// The same graph on a screen at device pixel ratio 2: 1800 pixels square,
// pens and text twice as large.
void BM_RedrawBusyDocumentAtRatioTwo(benchmark::State &state)
{
    const Document doc = busyDocument();
    GraphRenderer renderer(1800, 2.0);
    for (auto _ : state)
        renderer.redrawGraph(doc);
    if (renderer.graphImage().pixel(900, 900) == kInvalidColour)
        state.SkipWithError("no picture");
}
BENCHMARK(BM_RedrawBusyDocumentAtRatioTwo)->Unit(benchmark::kMillisecond);

// One item of the busy document at a time (first argument: its index), at
// pixel ratio 1 or 2 (second argument), to see where a slow redraw spends
// its time.
void BM_RedrawSingleItem(benchmark::State &state)
{
    const Document busy = busyDocument();
    Document doc;
    const int index = static_cast<int>(state.range(0));
    doc.items[1] = busy.items[index];
    if (index == 2) // the derivative needs its function as item 1
        doc.items[1] = busy.items[1], doc.items[2] = busy.items[2];
    doc.itemCount = index == 2 ? 2 : 1;
    const int ratio = static_cast<int>(state.range(1));
    GraphRenderer renderer(900 * ratio, ratio);
    for (auto _ : state)
        renderer.redrawGraph(doc);
    state.SetLabel(busy.items[index].text[1]);
}
BENCHMARK(BM_RedrawSingleItem)->ArgsProduct({benchmark::CreateDenseRange(1, 10, 1), {1, 2}})->Unit(benchmark::kMillisecond);

void BM_EmptyFrameWithGrid(benchmark::State &state)
{
    Document doc;
    doc.showGrid = 1;
    GraphRenderer renderer(900);
    for (auto _ : state)
        renderer.redrawGraph(doc);
    if (renderer.graphImage().pixel(450, 450) == kWhite)
        state.SkipWithError("no axes drawn");
}
BENCHMARK(BM_EmptyFrameWithGrid)->Unit(benchmark::kMillisecond);

void BM_ExplicitTangent(benchmark::State &state)
{
    Document doc;
    addItem(doc, KindExplicit, "tan(x)", "", "", "", rgbColour(128, 0, 128), 1);
    doc.showScale = 0;
    GraphRenderer renderer(900);
    for (auto _ : state)
        renderer.redrawGraph(doc);
}
BENCHMARK(BM_ExplicitTangent)->Unit(benchmark::kMillisecond);

} // namespace
