// Two documents drawn on two threads at once give exactly the pictures they
// give drawn one after the other: definitions, parameter values, the pixel
// scale, the outcome flags and every Program belong to the thread that draws.
#include "render/worker_pool.h"
#include "render_test_util.h"

#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace gq
{

namespace
{

const std::string kPiText = "\x83\xCE";

// Every item kind, drawn through definitions and parameters, so that a
// definition or a parameter value of the other document would change pixels.
// Both documents use the same texts; what the texts mean differs.
Document documentWithEveryKind(bool second)
{
    Document doc;
    doc.functionTexts[1] = second ? "sin(x)+b" : "x^3-3x";
    doc.functionTexts[2] = second ? "x/2" : "gaus(x)/2";
    doc.functionCount = 2;
    doc.constantTexts[1] = second ? "2" : "4";
    doc.constantTexts[2] = second ? "Q1-3" : "Q1/2";
    doc.constantCount = 2;
    doc.parameters['a'] = second ? -1.0f : 1.5f;
    doc.parameters['b'] = second ? 0.5f : 2.0f;
    doc.parameters['c'] = second ? 3.0f : 0.5f;
    doc.frame = second ? CoordFrame{-3, 7, -2, 4} : CoordFrame{};
    doc.showGrid = second ? 1 : 0;

    addItem(doc, KindExplicit, "F1(x)/(x-a)", "", "", "", rgbColour(0, 0, 0), 1);
    addItem(doc, KindDerivative, second ? "cos(x)/(x+1)-(sin(x)+0.5)/(x+1)^2" : "(2x^3+3x^2-3)/(x-1)^2", "",
            "", "", rgbColour(0, 0, 255));
    addItem(doc, KindImplicit, "x^2+y^2-Q1", "", "", "", rgbColour(0, 0, 128), 0, 2);
    addItem(doc, KindImplicit, "sin(x)+sin(y)-a/2", "", "", "", rgbColour(0, 128, 128));
    addItem(doc, KindParametric, "3cos(t)", "b*sin(3t)", "0", "2" + kPiText, rgbColour(128, 128, 0));
    addItem(doc, KindPolar, "1+b*cos(t)", "1+b*cos(t)", "0", "2" + kPiText, rgbColour(128, 0, 0), 0, 3);
    addItem(doc, KindPoint, "Q2", "a", "", "", rgbColour(0, 128, 0));
    addItem(doc, KindSegment, "-4", "-1", "c", "F2(c)", rgbColour(255, 0, 255));
    addItem(doc, KindExplicit, "tan(x)/c", "", "", "", rgbColour(128, 0, 128), 1);
    addItem(doc, KindExplicit, "F2(x)+sgn(x-c)", "", "", "", rgbColour(255, 128, 0));
    return doc;
}

struct Drawn {
    Canvas image{1, 1};
    PointTable points{};
};

// The full redraw, axes and text included.
Drawn draw(const Document &doc, int size)
{
    GraphRenderer renderer(size);
    renderer.redrawGraph(doc);
    return {renderer.graphImage(), renderer.points()};
}

// The items alone, on a canvas of their own, with the document's definitions,
// parameters and pixel scale installed as the renderer installs them.
Canvas drawItemsAlone(const Document &doc, int size)
{
    Canvas canvas(size, size);
    const GraphView view(doc.frame, size);
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    for (int i = 1; i <= doc.itemCount; ++i)
        drawItem(canvas, view, doc, i);
    return canvas;
}

constexpr int kSizeA = 640, kSizeB = 501;

// The premise of the tests below: every item shows, and drawn with the other
// document's definitions or parameter values a document looks different.
TEST(Threads, TheDocumentsShowEveryItemAndDependOnTheirOwnDefinitionsAndParameters)
{
    const Document a = documentWithEveryKind(false), b = documentWithEveryKind(true);
    for (const auto &[doc, size] : {std::pair{&a, kSizeA}, std::pair{&b, kSizeB}}) {
        const Canvas items = drawItemsAlone(*doc, size);
        for (int i = 1; i <= doc->itemCount; ++i)
            EXPECT_GT(countColour(items, doc->items[i].colour), 10) << "item " << i;
    }
    const Canvas alone = drawItemsAlone(a, kSizeA);
    Document borrowed = a;
    borrowed.functionTexts = b.functionTexts;
    borrowed.constantTexts = b.constantTexts;
    EXPECT_GT(differingPixels(alone, drawItemsAlone(borrowed, kSizeA)), 1000);
    borrowed = a;
    borrowed.parameters = b.parameters;
    EXPECT_GT(differingPixels(alone, drawItemsAlone(borrowed, kSizeA)), 1000);
}

TEST(Threads, TwoDocumentsDrawnAtOnceGiveThePicturesOfDrawingThemInTurn)
{
    const Document a = documentWithEveryKind(false), b = documentWithEveryKind(true);
    const Drawn aloneA = draw(a, kSizeA), aloneB = draw(b, kSizeB);

    constexpr int kRounds = 3;
    std::vector<Drawn> atOnceA(kRounds), atOnceB(kRounds);
    std::thread first([&] {
        for (Drawn &d : atOnceA)
            d = draw(a, kSizeA);
    });
    std::thread second([&] {
        for (Drawn &d : atOnceB)
            d = draw(b, kSizeB);
    });
    first.join();
    second.join();

    for (int round = 0; round < kRounds; ++round) {
        EXPECT_EQ(differingPixels(atOnceA[round].image, aloneA.image), 0) << "round " << round;
        EXPECT_EQ(differingPixels(atOnceB[round].image, aloneB.image), 0) << "round " << round;
        for (int i = 1; i <= kMaxItems; ++i) {
            const PointEntry &p = atOnceA[round].points[i], &q = aloneA.points[i];
            EXPECT_TRUE(p.defined == q.defined && p.p == q.p && p.q == q.q) << "item " << i;
            const PointEntry &r = atOnceB[round].points[i], &s = aloneB.points[i];
            EXPECT_TRUE(r.defined == s.defined && r.p == s.p && r.q == s.q) << "item " << i;
        }
    }
}

// The worker pool takes part of the tracer's work: with no workers, or with
// several, a redraw gives the same picture and points.
TEST(Threads, WorkersOfTheRedrawChangeNoPixel)
{
    WorkerPool &pool = WorkerPool::shared();
    const int workers = pool.workers();
    for (bool second : {false, true}) {
        const Document doc = documentWithEveryKind(second);
        pool.setWorkers(0);
        const Drawn alone = draw(doc, kSizeA);
        pool.setWorkers(3);
        const Drawn shared = draw(doc, kSizeA);
        EXPECT_EQ(differingPixels(shared.image, alone.image), 0);
        for (int i = 1; i <= kMaxItems; ++i) {
            const PointEntry &p = shared.points[i], &q = alone.points[i];
            EXPECT_TRUE(p.defined == q.defined && p.p == q.p && p.q == q.q) << "item " << i;
        }
    }
    pool.setWorkers(workers);
}

// The items alone on canvases of the threads' own, while the main thread
// parses and evaluates formulas with a parameter value of its own: nothing
// passes between the three threads' engine states.
TEST(Threads, ItemsDrawnAtOnceMatchAndTheCallersEngineStateStaysItsOwn)
{
    const Document a = documentWithEveryKind(false), b = documentWithEveryKind(true);
    const Canvas aloneA = drawItemsAlone(a, kSizeA), aloneB = drawItemsAlone(b, kSizeB);

    const VariableTable saved = engineState().variables;
    const long double xPerPixel = engineState().xPerPixel;
    engineState().variables.params['a'] = 7;
    Canvas atOnceA(1, 1), atOnceB(1, 1);
    std::thread first([&] { atOnceA = drawItemsAlone(a, kSizeA); });
    std::thread second([&] { atOnceB = drawItemsAlone(b, kSizeB); });
    long double sum = 0;
    bool allDefined = true;
    for (int k = 0; k < 2000; ++k) {
        engineState().evalValid = true;
        if (std::optional<Program> p = compileFormula("a*x+Sum(i=[1,3],i)"))
            sum += p->evaluate(k, 0);
        allDefined = allDefined && engineState().evalValid;
    }
    const bool definitions = engineState().definitions == nullptr;
    const float a7 = engineState().variables.params['a'];
    const long double scale = engineState().xPerPixel;
    first.join();
    second.join();
    engineState().variables = saved;

    EXPECT_EQ(differingPixels(atOnceA, aloneA), 0);
    EXPECT_EQ(differingPixels(atOnceB, aloneB), 0);
    EXPECT_TRUE(allDefined);
    EXPECT_EQ(sum, 7 * 1999.0L * 2000 / 2 + 6 * 2000);
    EXPECT_TRUE(definitions);
    EXPECT_EQ(a7, 7);
    EXPECT_EQ(scale, xPerPixel);
}

} // namespace

} // namespace gq
