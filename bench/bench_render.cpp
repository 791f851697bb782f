// Time of a full redraw of a busy document on a 900-pixel graph.
#include "engine/engine.h"
#include "render/render.h"
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace
{

const std::string kPi = "\x83\xCE";

void AddItem(Document &doc, uint8_t kind, const std::string &t1, const std::string &t2, const std::string &t3,
             const std::string &t4, uint32_t colour, uint8_t asymptote = 0)
{
    Tfuncprop &item = doc.ItemList[++doc.ItemCount];
    item.kind = kind;
    item.text = {"", t1, t2, t3, t4};
    item.colour = colour;
    item.asymptote = asymptote;
}

Document BusyDocument()
{
    Document doc;
    const std::string f = "1/(x^2-1)";
    AddItem(doc, KindExplicit, f, "", "", "", RGBColour(0, 0, 0), 1);
    ParseOK = true;
    std::string df = DerivativeText(f, OpX);
    if (!ParseOK || df.empty())
        df = "-2x/(x^2-1)^2";
    AddItem(doc, KindDerivative, df, "", "", "", RGBColour(0, 0, 255));
    AddItem(doc, KindImplicit, "x^2+y^2-4", "", "", "", RGBColour(0, 0, 128));
    AddItem(doc, KindImplicit, "sin(x)+sin(y)-1.5", "", "", "", RGBColour(0, 128, 128));
    AddItem(doc, KindParametric, "3cos(t)", "2sin(3t)", "0", "2" + kPi, RGBColour(128, 128, 0));
    AddItem(doc, KindPolar, "1+cos(t)", "1+cos(t)", "0", "2" + kPi, RGBColour(128, 0, 0));
    AddItem(doc, KindPoint, "1", "2", "", "", RGBColour(0, 128, 0));
    AddItem(doc, KindPoint, "-3", "P/2", "", "", RGBColour(255, 0, 0));
    AddItem(doc, KindSegment, "-4", "-1", "6", "3", RGBColour(255, 0, 255));
    AddItem(doc, KindExplicit, "tan(x)", "", "", "", RGBColour(128, 0, 128), 1);
    return doc;
}

void BM_RedrawBusyDocument(benchmark::State &state)
{
    const Document doc = BusyDocument();
    GraphRenderer renderer(900);
    for (auto _ : state)
        renderer.RedrawGraph(doc);
    int marked = 0;
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 900; ++x)
            marked += renderer.GraphImage().pixel(x, y) != kWhite;
    if (marked < 5000)
        state.SkipWithError("the redraw drew almost nothing");
    state.counters["marked_pixels"] = marked;
}
BENCHMARK(BM_RedrawBusyDocument)->Unit(benchmark::kMillisecond);

// One item of the busy document at a time (argument: its index), to see
// where a slow redraw spends its time.
void BM_RedrawSingleItem(benchmark::State &state)
{
    const Document busy = BusyDocument();
    Document doc;
    const int index = static_cast<int>(state.range(0));
    doc.ItemList[1] = busy.ItemList[index];
    if (index == 2) // the derivative needs its function as item 1
        doc.ItemList[1] = busy.ItemList[1], doc.ItemList[2] = busy.ItemList[2];
    doc.ItemCount = index == 2 ? 2 : 1;
    GraphRenderer renderer(900);
    for (auto _ : state)
        renderer.RedrawGraph(doc);
    state.SetLabel(busy.ItemList[index].text[1]);
}
BENCHMARK(BM_RedrawSingleItem)->DenseRange(1, 10)->Unit(benchmark::kMillisecond);

void BM_EmptyFrameWithGrid(benchmark::State &state)
{
    Document doc;
    doc.ShowGrid = 1;
    GraphRenderer renderer(900);
    for (auto _ : state)
        renderer.RedrawGraph(doc);
    if (renderer.GraphImage().pixel(450, 450) == kWhite)
        state.SkipWithError("no axes drawn");
}
BENCHMARK(BM_EmptyFrameWithGrid)->Unit(benchmark::kMillisecond);

void BM_ExplicitTangent(benchmark::State &state)
{
    Document doc;
    AddItem(doc, KindExplicit, "tan(x)", "", "", "", RGBColour(128, 0, 128), 1);
    doc.ShowScale = 0;
    GraphRenderer renderer(900);
    for (auto _ : state)
        renderer.RedrawGraph(doc);
}
BENCHMARK(BM_ExplicitTangent)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
