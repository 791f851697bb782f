// Time of one step of the parameter animation on a 900-pixel graph: the
// values take their increments, then the draw step composes the stored image
// and the visible picture. The document has ten items, five of which use
// parameters (an explicit, an implicit, a parametric and a polar curve, and a
// point whose locus is on); the animation ticks every 40 ms.
#include "control/parameter_session.h"
#include "engine/engine.h"
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace gq;

namespace
{

const std::string kPi = "\x83\xCE";
const std::string kTheta = "\x83\xC6";

void addItem(Document &doc, uint8_t kind, const std::string &t1, const std::string &t2, const std::string &t3,
             const std::string &t4, uint32_t colour, uint8_t asymptote = 0)
{
    Item &item = doc.items[++doc.itemCount];
    item.kind = kind;
    item.text = {"", t1, t2, t3, t4};
    item.colour = colour;
    item.asymptote = asymptote;
}

// implicitText: the moving implicit curve.
Document animatedDocument(const std::string &implicitText)
{
    Document doc;
    // Moving.
    addItem(doc, KindExplicit, "a*x^2+b*x-2", "", "", "", rgbColour(255, 0, 0), 1);
    addItem(doc, KindImplicit, implicitText, "", "", "", rgbColour(0, 0, 128));
    addItem(doc, KindParametric, "3cos(t)", "2sin(n*t+" + kTheta + ")", "0", "2" + kPi,
            rgbColour(128, 128, 0));
    addItem(doc, KindPolar, "1+a*cos(t)", "1+a*cos(t)", "0", "2" + kPi, rgbColour(128, 0, 0));
    addItem(doc, KindPoint, "2cos(" + kTheta + ")", "2sin(" + kTheta + ")", "", "", rgbColour(0, 128, 0));
    // Still.
    addItem(doc, KindExplicit, "1/(x^2-1)", "", "", "", rgbColour(0, 0, 0), 1);
    addItem(doc, KindImplicit, "x^2+y^2-4", "", "", "", rgbColour(0, 128, 128));
    addItem(doc, KindPoint, "1", "2", "", "", rgbColour(0, 0, 255));
    addItem(doc, KindSegment, "-4", "-1", "6", "3", rgbColour(255, 0, 255));
    addItem(doc, KindExplicit, "tan(x)", "", "", "", rgbColour(128, 0, 128), 1);
    doc.parameters['a'] = 1;
    doc.parameters['b'] = 0.5f;
    doc.parameters['n'] = 2;
    return doc;
}

// Argument 0: moving items on the visible picture only; 1: afterimages on.
// At a pixel ratio of 2 the pictures have 1800 pixels a side.
void runSteps(benchmark::State &state, const std::string &implicitText, double ratio = 1)
{
    Document doc = animatedDocument(implicitText);
    const int side = static_cast<int>(900 * ratio);
    GraphRenderer renderer(side, ratio);
    Canvas visible(side, side, ratio);
    renderer.hooks.present = [&visible](const Canvas &image) { visible.copyFrom(image); };
    ParameterSession session(doc, renderer, visible);
    const UsedParamTable used = scanUsedParams(doc);
    int moving = 0;
    for (int i = 1; i <= doc.itemCount; ++i)
        moving += doc.items[i].usesParam;
    if (moving != 5)
        state.SkipWithError("the document should have five moving items");
    session.open(used);
    session.setLocus(true);
    if (state.range(0) == 1)
        session.setAfterimage(true);
    // θ goes round (the point and the parametric curve move); a, b and n
    // keep their values, so every step costs the same.
    session.setStepWidthIndex(3);
    session.plus(RowTheta);
    for (auto _ : state)
        session.step();
    state.counters["theta_pi"] = static_cast<double>(session.steps().thetaMultiple());
}

// A traced implicit curve (the folium x^3 + y^3 = 3axy).
void BM_ParameterStep(benchmark::State &state)
{
    runSteps(state, "x^3+y^3-3*a*x*y");
}
BENCHMARK(BM_ParameterStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A conic (an ellipse whose axis follows a).
void BM_ParameterStepConic(benchmark::State &state)
{
    runSteps(state, "x^2/(a+1)+y^2-4");
}
BENCHMARK(BM_ParameterStepConic)->Arg(0)->Unit(benchmark::kMillisecond);

// The folium on a screen at device pixel ratio 2.
void BM_ParameterStepAtRatioTwo(benchmark::State &state)
{
    runSteps(state, "x^3+y^3-3*a*x*y", 2);
}
BENCHMARK(BM_ParameterStepAtRatioTwo)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
