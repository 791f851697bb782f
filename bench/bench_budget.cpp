// The formulas and files that once froze the program, through the whole
// pipeline: each must be refused (or prepared) and drawn within its target.
//
//   BM_Formula/N   the keyboard's closing check, the explicit plotter's
//                  preparation and the derivative command's text of one
//                  formula text (target: 100 ms together for up to 1,000 bytes)
//   BM_Item/N      a full redraw at GraphSize 900 of a document holding one
//                  item (target: 1 s)
//   BM_File/N      an equation file read (with the check of its texts) and
//                  drawn at GraphSize 900 (target: 2 s)
//
// The label of each run names the case and whether it was refused.
#include "engine/budget.h"
#include "engine/engine.h"
#include "model/equation_file.h"
#include "model/text_check.h"
#include "render/render.h"
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

using namespace gq;

namespace
{

std::string repeated(const std::string &s, int n, const std::string &separator = "")
{
    std::string r;
    for (int i = 0; i < n; ++i)
        r += (i ? separator : "") + s;
    return r;
}

std::string linearFactors(int n)
{
    std::string r;
    for (int i = 1; i <= n; ++i)
        r += "(x+" + std::to_string(i) + ")";
    return r;
}

struct Case {
    const char *name;
    std::string text;
};

// The categories of hostile formulas, and the six benchmark formulas.
const std::vector<Case> &formulaCases()
{
    static const std::vector<Case> cases = {
        {"sum bounds at 2^63", "Sum(i=[2^63-9,2^63-1],1)"},
        {"sum bounds at 10^30", "Sum(i=[10^30,10^30],i)"},
        {"20 sums of 10,000 terms", repeated("Sum(i=[1,10000],i*x)", 20, "+")},
        {"100 sums of 10,000 terms", repeated("Sum(i=[1,10000],i)", 100, "+")},
        {"8 sums of 10,000 terms", repeated("Sum(i=[1,10000],i*x)", 8, "+")},
        {"nested sums 100 x 100", "Sum(i=[1,100],Sum(j=[1,100],i*j*x))"},
        {"D, 150 x, (D^9(x^x))", "D" + std::string(150, 'x') + "(DDDDDDDDD(x^x))"},
        {"D, x written 3,000 times", "D" + std::string(3000, 'x')},
        {"x written 990 times", std::string(990, 'x')},
        {"ten markers D^10(x^x)", "DDDDDDDDDD(x^x)"},
        {"six markers D^6(x^x)", "DDDDDD(x^x)"},
        {"995 markers D^995(x^x)", std::string(995, 'D') + "(x^x)"},
        {"product of 8 linear factors", linearFactors(8)},
        {"product of 10 linear factors", linearFactors(10)},
        {"product of 20 linear factors", linearFactors(20)},
        {"product of 170 linear factors", linearFactors(170)},
        {"200 nested sines", repeated("sin(", 200) + "x" + std::string(200, ')')},
        {"power tower of 330 x", repeated("x", 330, "^")},
        {"x*(e)!", "x*(e)!"},
        {"x^2-3x+2", "x^2-3x+2"},
        {"sin(x)exp(-x^2/4)", "sin(x)exp(-x^2/4)"},
        {"sqrt(abs(x))+log(x^2+1)", "sqrt(abs(x))+log(x^2+1)"},
        {"(x^3-2x)/(x^2-1)", "(x^3-2x)/(x^2-1)"},
        {"asin(bx+c)+cos(3x)^2", "asin(bx+c)+cos(3x)^2"},
        {"1/(1+exp(-x))+sinh(x)/cosh(x)", "1/(1+exp(-x))+sinh(x)/cosh(x)"},
    };
    return cases;
}

void BM_Formula(benchmark::State &state)
{
    const Case &c = formulaCases()[static_cast<std::size_t>(state.range(0))];
    FormulaCheck check = FormulaCheck::Empty;
    bool derivative = false;
    for (auto _ : state) {
        check = checkFormula(c.text);
        Tree curve = parseCurveFormula(c.text);
        benchmark::DoNotOptimize(curve.get());
        engineState().parseOK = true;
        derivative = !derivativeText(c.text, OpX).empty();
    }
    const char *verdict = check == FormulaCheck::Accepted     ? "accepted"
                          : check == FormulaCheck::TooComplex ? "too complex"
                                                              : "invalid";
    state.SetLabel(std::string(c.name) + ": " + verdict + (derivative ? ", derivative" : ", no derivative"));
}
BENCHMARK(BM_Formula)->DenseRange(0, 24)->Unit(benchmark::kMillisecond);

Item item(uint8_t kind, std::vector<std::string> texts)
{
    Item it;
    it.kind = kind;
    for (std::size_t t = 0; t < texts.size() && t < 4; ++t)
        it.text[t + 1] = texts[t];
    return it;
}

// Items the keyboard accepts that cost the most to draw, and hostile ones
// from files.
const std::vector<std::pair<const char *, Item>> &itemCases()
{
    static const std::vector<std::pair<const char *, Item>> cases = {
        {"Fourier series of 2,000 terms", item(KindExplicit, {"Sum(i=[1,2000],sin(i*x)/i)"})},
        {"sum of 8 sums of 10,000 terms", item(KindExplicit, {repeated("Sum(i=[1,10000],i*x)", 8, "+")})},
        {"implicit: 60 sines of x and y", item(KindImplicit, {repeated("sin(x)+sin(y)", 30, "+") + "-10"})},
        {"implicit: sin(10x)+sin(10y)", item(KindImplicit, {"sin(10x)+sin(10y)"})},
        {"parametric: t over 0..10^6",
         item(KindParametric, {"Sum(i=[1,200],cos(i*t)/i)", "Sum(i=[1,200],sin(i*t)/i)", "0", "1000000"})},
        {"polar: t over 0..10^6", item(KindPolar, {"1+Sum(i=[1,300],cos(i*t)/i)", "", "0", "1000000"})},
        {"explicit: sqrt(sin(1000x))", item(KindExplicit, {"sqrt(sin(1000x))"})},
    };
    return cases;
}

void BM_Item(benchmark::State &state)
{
    const auto &[name, it] = itemCases()[static_cast<std::size_t>(state.range(0))];
    Document doc;
    doc.items[1] = it;
    if (doc.items[1].kind == KindPolar)
        doc.items[1].text[2] = doc.items[1].text[1];
    doc.itemCount = 1;
    GraphRenderer renderer(900);
    for (auto _ : state)
        renderer.redrawGraph(doc);
    state.SetLabel(name);
}
BENCHMARK(BM_Item)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// A file whose definitions build on each other and whose ten items are each
// as costly as a file can make them.
std::vector<std::string> hostileFile(bool accepted)
{
    std::vector<std::string> lines = {
        "[Graphotheque Data]", "-5", "5", "-5", "5", "1", "2", "3", "4", "5", "deffunc", "6"};
    if (accepted) {
        lines.push_back("Sum(i=[1,500],sin(i*x)/i)");
        for (int n = 2; n <= 6; ++n)
            lines.push_back("F" + std::to_string(n - 1) + "(x)+x");
    } else {
        lines.push_back("x+x+x+x");
        for (int n = 2; n <= 6; ++n)
            lines.push_back(repeated("F" + std::to_string(n - 1) + "(x)", 8, "+"));
    }
    lines.insert(lines.end(), {"defconst", "0", "10"});
    for (int i = 1; i <= 10; ++i) {
        const std::string f = accepted ? "F6(x)+" + std::to_string(i)
                                       : repeated("F6(F6(F6(x)))", 40, "*") + "+D" + std::string(150, 'x');
        const int kind = i % 2 ? KindExplicit : KindImplicit;
        lines.insert(lines.end(), {std::to_string(kind), kind == KindImplicit ? f + "-y^2" : f, "", "", "",
                                   "False", "True", "255", "1"});
    }
    return lines;
}

void BM_File(benchmark::State &state)
{
    const bool accepted = state.range(0) == 1;
    const std::vector<std::string> lines = hostileFile(accepted);
    GraphRenderer renderer(900);
    int reported = 0;
    for (auto _ : state) {
        LoadResult loaded = readEquationLines(lines);
        reported = static_cast<int>(unparsableTextLines(loaded).size());
        Document doc;
        applyEquationFile(loaded, doc);
        renderer.redrawGraph(doc);
    }
    state.SetLabel(accepted ? "ten costly items over heavy definitions" : "ten items too complex to draw");
    state.counters["texts_reported"] = reported;
}
BENCHMARK(BM_File)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace
