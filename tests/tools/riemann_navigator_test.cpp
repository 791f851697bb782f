// The integration navigator: its prompts, read-outs and error line, and the
// strips it draws over the graph.
#include "tools/riemann_drawing.h"
#include "tools/riemann_navigator.h"
#include "tools/tools_test_util.h"
#include <deque>
#include <optional>
#include <vector>

namespace gq
{

namespace
{

struct Prompt {
    QString caption, message;
};

class NavigatorTest : public ToolsTest
{
  protected:
    // A navigator over the drawn document whose prompts take the scripted
    // answers (none left, or std::nullopt: cancelled).
    RiemannNavigator &navigator()
    {
        nav = std::make_unique<RiemannNavigator>(doc, *renderer, [this](const Canvas &c) {
            shown = c;
            ++presented;
        });
        return *nav;
    }
    bool open(std::deque<std::optional<std::string>> script)
    {
        answers = std::move(script);
        return navigator().open([this](const QString &caption, const QString &message, bool &cancelled) {
            prompts.push_back({caption, message});
            std::optional<std::string> a;
            if (!answers.empty()) {
                a = answers.front();
                answers.pop_front();
            }
            cancelled = !a || a->empty();
            return cancelled ? std::string("0") : *a;
        });
    }
    // Pixels of the colour inside the world rectangle [xa, xb] x [ya, yb] of
    // the picture.
    int count(const Canvas &c, uint32_t colour, long double xa, long double ya, long double xb,
              long double yb) const
    {
        return countColour(c, colour, view().xToPixel(xa), view().yToPixel(yb), view().xToPixel(xb),
                           view().yToPixel(ya));
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<Prompt> prompts;
    std::unique_ptr<RiemannNavigator> nav;
    Canvas shown{1, 1};
    int presented = 0;
};

} // namespace

TEST_F(NavigatorTest, AsksForBothBoundsAndAgainWhereTheFunctionIsUndefined)
{
    function("1/x");
    ASSERT_TRUE(open({"0", "0.1", "2"}));
    ASSERT_EQ(prompts.size(), 3u);
    EXPECT_EQ(prompts[0].caption, QStringLiteral("区間の下限"));
    EXPECT_TRUE(prompts[0].message.isEmpty());
    EXPECT_EQ(prompts[1].caption, QStringLiteral("区間の下限"));
    EXPECT_EQ(prompts[1].message, QStringLiteral("違う値を入力してください"));
    EXPECT_EQ(prompts[2].caption, QStringLiteral("区間の上限"));
    EXPECT_TRUE(prompts[2].message.isEmpty());
    EXPECT_EQ(nav->lower(), 0.1f);
    EXPECT_EQ(nav->upper(), 2.0f);
    EXPECT_EQ(nav->intervalText(), QStringLiteral("0.100≦ｘ≦2.000"));
    EXPECT_EQ(nav->divisions(), 2);
    EXPECT_EQ(nav->kind(), SumKind::None);
    // Each bound line is shown as soon as its bound is known: green up to
    // f(0.1) = 10 (beyond the frame), over the graph.
    EXPECT_EQ(presented, 2);
    EXPECT_GT(count(shown, kStripGreen, 0.05L, 0.5L, 0.15L, 4.5L), 50);
    EXPECT_GT(count(shown, kCurveColour, 1, 0.3L, 2, 1.1L), 0);
    // A text without a value is asked again too.
    function("x");
    prompts.clear();
    ASSERT_TRUE(open({"sqrt(-1)", "-1", "1"}));
    EXPECT_EQ(prompts.size(), 3u);
    EXPECT_EQ(prompts[1].message, QStringLiteral("違う値を入力してください"));
}

TEST_F(NavigatorTest, ACancelledPromptCountsAsZeroUnlessTheFunctionIsUndefinedThere)
{
    function("x^2");
    ASSERT_TRUE(open({std::nullopt, "1"}));
    EXPECT_EQ(nav->lower(), 0.0f);
    function("1/x");
    EXPECT_FALSE(open({std::nullopt})) << "asking again could never end";
    nav->close();
    EXPECT_EQ(doc.overlayMode, 0) << "closing leaves the display mode alone";
}

TEST_F(NavigatorTest, ReadoutsAreBlankUntilComputedInThisOpening)
{
    function("x^2");
    ASSERT_TRUE(open({"0", "1"}));
    for (SumKind kind : {SumKind::Upper, SumKind::Lower, SumKind::Trapezoid, SumKind::Simpson})
        EXPECT_EQ(nav->readout(kind), QString());
    nav->chooseSum(SumKind::Upper);
    nav->chooseSum(SumKind::Lower);
    nav->chooseSum(SumKind::Trapezoid);
    nav->chooseSum(SumKind::Simpson);
    EXPECT_EQ(nav->readout(SumKind::Upper), QStringLiteral("0.6250"));
    EXPECT_EQ(nav->readout(SumKind::Lower), QStringLiteral("0.1250"));
    EXPECT_EQ(nav->readout(SumKind::Trapezoid), QStringLiteral("0.3750"));
    EXPECT_EQ(nav->readout(SumKind::Simpson), QStringLiteral("0.3333"));

    nav->stepDivisions(true);
    EXPECT_EQ(nav->divisions(), 3);
    EXPECT_EQ(nav->readout(SumKind::Simpson), QStringLiteral("0.3333"));
    nav->chooseSum(SumKind::Trapezoid);
    EXPECT_EQ(nav->readout(SumKind::Trapezoid), QStringLiteral("0.3519"));
    nav->resetDivisions();
    EXPECT_EQ(nav->divisions(), 2);
    EXPECT_EQ(nav->readout(SumKind::Trapezoid), QStringLiteral("0.3750"));

    nav->close();
    ASSERT_TRUE(open({"0", "2"}));
    EXPECT_EQ(nav->readout(SumKind::Upper), QString()) << "no sum of another interval";
}

TEST_F(NavigatorTest, AnUndefinedPointInsideStopsTheSumUntilASumSucceeds)
{
    function("1/x");
    ASSERT_TRUE(open({"-1", "1"}));
    const int before = presented;
    nav->chooseSum(SumKind::Upper);
    EXPECT_EQ(nav->errorText(), QStringLiteral("区間内に定義出来ない点があります"));
    EXPECT_EQ(nav->readout(SumKind::Upper), QString());
    EXPECT_EQ(presented, before) << "the screen is left as it was";
    nav->stepDivisions(true); // n = 3 misses 0
    EXPECT_EQ(nav->divisions(), 3);
    EXPECT_NE(nav->readout(SumKind::Upper), QString());
    EXPECT_TRUE(nav->errorText().isEmpty());
    EXPECT_EQ(presented, before + 1);
    nav->resetDivisions();
    EXPECT_FALSE(nav->errorText().isEmpty());
    nav->close();
    ASSERT_TRUE(open({"1", "2"}));
    EXPECT_TRUE(nav->errorText().isEmpty());
}

TEST_F(NavigatorTest, HoldingIncreaseStopsAtTheCap)
{
    function("x^2");
    ASSERT_TRUE(open({"0", "1"}));
    nav->chooseSum(SumKind::Upper);
    int ticks = 0;
    while (!nav->atCap() && ticks < 1000) {
        nav->stepDivisions(true);
        ++ticks;
    }
    EXPECT_EQ(nav->divisions(), kMaxDivisions);
    EXPECT_LT(ticks, 100);
    nav->stepDivisions(true);
    EXPECT_EQ(nav->divisions(), kMaxDivisions);
    EXPECT_EQ(nav->readout(SumKind::Upper), QStringLiteral("0.3334"));
    nav->stepDivisions(false);
    EXPECT_FALSE(nav->atCap());
}

TEST_F(NavigatorTest, UpperSumStripsAreGreenAboveTheAxisAndRoseBelowIt)
{
    function("x");
    ASSERT_TRUE(open({"-2", "2"}));
    nav->stepDivisions(true);
    nav->stepDivisions(true);
    nav->chooseSum(SumKind::Upper); // four strips, heights -1, 0, 1, 2
    EXPECT_EQ(nav->readout(SumKind::Upper), QStringLiteral("2.0000"));
    EXPECT_GT(count(shown, kStripRose, -1.9L, -0.9L, -1.1L, -0.1L), 20);
    EXPECT_EQ(count(shown, kStripGreen, -1.9L, -0.9L, -1.1L, -0.1L), 0);
    EXPECT_GT(count(shown, kStripGreen, 1.1L, 0.1L, 1.9L, 1.9L), 40);
    EXPECT_EQ(count(shown, kStripRose, 1.1L, 0.1L, 1.9L, 1.9L), 0);
    // Nothing above the strips' tops: the hatch stays inside them.
    EXPECT_EQ(count(shown, kStripGreen, 0.1L, 1.1L, 0.9L, 4.9L), 0);
    EXPECT_EQ(count(shown, kStripGreen, -4.9L, 0.1L, -2.1L, 4.9L), 0);
    // The graph shows through the hatch.
    EXPECT_GT(count(shown, kCurveColour, 1.2L, 1.1L, 1.8L, 1.9L), 0);
}

TEST_F(NavigatorTest, TrapezoidsOfXOnMinusOneToOneAreOneRoseAndOneGreenTriangle)
{
    function("x");
    ASSERT_TRUE(open({"-1", "1"}));
    nav->chooseSum(SumKind::Trapezoid);
    EXPECT_EQ(nav->readout(SumKind::Trapezoid), QStringLiteral("0.0000"));
    // Below the axis left of 0: rose; above it right of 0: green.
    EXPECT_GT(count(shown, kStripRose, -0.8L, -0.7L, -0.2L, -0.25L), 10);
    EXPECT_GT(count(shown, kStripGreen, 0.2L, 0.25L, 0.8L, 0.7L), 10);
    EXPECT_EQ(count(shown, kStripGreen, -0.9L, -0.9L, -0.1L, -0.1L), 0);
    EXPECT_EQ(count(shown, kStripRose, 0.1L, 0.1L, 0.9L, 0.9L), 0);
    // The triangles end at the chord: above y = x on the left nothing.
    EXPECT_EQ(count(shown, kStripRose, -0.9L, 0.05L, -0.1L, 0.9L), 0);
}

TEST_F(NavigatorTest, SimpsonFillsThePiecesBetweenTheParabolasRootsInTheirOwnColours)
{
    function("x^2-1");
    ASSERT_TRUE(open({"-2", "2"}));
    nav->chooseSum(SumKind::Simpson);
    EXPECT_EQ(nav->readout(SumKind::Simpson), QStringLiteral("1.3333"));
    // Under the parabola, outside the roots: green hatch; between the roots,
    // below the axis: rose hatch.
    EXPECT_GT(count(shown, kStripGreen, -1.9L, 0.1L, -1.3L, 0.6L), 10);
    EXPECT_GT(count(shown, kStripGreen, 1.3L, 0.1L, 1.9L, 0.6L), 10);
    EXPECT_GT(count(shown, kStripRose, -0.8L, -0.6L, -0.2L, -0.1L), 10);
    EXPECT_GT(count(shown, kStripRose, 0.2L, -0.6L, 0.8L, -0.1L), 10);
    EXPECT_EQ(count(shown, kStripRose, -1.9L, 0.1L, -1.3L, 0.6L), 0);
    // Outside the parabola nothing is filled.
    EXPECT_EQ(count(shown, kStripGreen, -0.9L, 0.1L, 0.9L, 4.9L), 0);
    EXPECT_EQ(count(shown, kStripRose, -1.9L, -4.9L, 1.9L, -1.1L), 0);
}

TEST_F(NavigatorTest, NarrowSimpsonStripsGetTheirMidpointLinesInstead)
{
    function("x^2-1");
    ASSERT_TRUE(open({"-2", "2"}));
    nav->stepDivisions(true);
    for (int i = 0; i < 40; ++i) // n = 200: strips of 0.02, about a pixel
        nav->stepDivisions(true);
    nav->chooseSum(SumKind::Simpson);
    EXPECT_EQ(nav->readout(SumKind::Simpson), QStringLiteral("1.3333"));
    // Lines from the axis: green up at x = ±1.5, rose down at x = 0.
    EXPECT_TRUE(colourNear(shown, view().xToPixel(1.5L), view().yToPixel(0.6L), kStripGreen, 1));
    EXPECT_TRUE(colourNear(shown, view().xToPixel(0), view().yToPixel(-0.5L), kStripRose, 1));
}

TEST_F(NavigatorTest, AStripOutsideTheFrameCountsButIsNotDrawn)
{
    function("1");
    ASSERT_TRUE(open({"-10", "10"}));
    for (int i = 0; i < 3; ++i)
        nav->stepDivisions(true); // n = 5: [-10, -6] and [6, 10] lie outside
    ASSERT_EQ(nav->divisions(), 5);
    Program f = program("1");
    std::vector<bool> visible;
    riemannSum(f, SumKind::Simpson, -10, 10, 5, view().xPerPixel(),
               [&](const Strip &s) { visible.push_back(stripVisible(view(), s)); });
    EXPECT_EQ(visible, (std::vector<bool>{false, true, true, true, false}));

    for (SumKind kind : {SumKind::Upper, SumKind::Trapezoid, SumKind::Simpson}) {
        nav->chooseSum(kind);
        EXPECT_EQ(nav->readout(kind), QStringLiteral("20.0000"));
        // Only the band under y = 1 is hatched; nothing above it.
        EXPECT_GT(count(nav->workImage(), kStripGreen, -4.9L, 0.1L, 4.9L, 0.9L), 500);
        EXPECT_EQ(count(nav->workImage(), kStripGreen, -4.9L, 1.1L, 4.9L, 4.9L), 0);
    }
}

} // namespace gq

namespace gq
{

// Strips narrower than a pixel are merged into runs of their column before
// they are painted; the picture must be exactly the one that drawing every
// strip on its own gives.
TEST_F(NavigatorTest, MergedNarrowStripsPaintExactlyWhatEachStripWouldPaint)
{
    function("x^3-2x+1", CoordFrame{-2, 2.5L, -3, 6}, 300);
    EngineScope scope(&doc, doc.parameters, view().xPerPixel());
    Program f = program("x^3-2x+1");
    for (SumKind kind : {SumKind::Upper, SumKind::Lower, SumKind::Trapezoid, SumKind::Simpson}) {
        for (int n : {7, 150, 1000, kMaxDivisions}) {
            Canvas merged(300, 300), single(300, 300);
            const SumResult r = drawRiemannSum(merged, view(), f, kind, -1.9f, 2.2f, n);
            ASSERT_TRUE(r.defined);
            single.setBrushStyle(BrushStyle::DiagCross);
            for (long double x : {-1.9L, 2.2L})
                drawBoundLine(single, view(), x, f.evaluate(static_cast<float>(x), 0));
            riemannSum(f, kind, -1.9f, 2.2f, n, view().xPerPixel(),
                       [&](const Strip &s) { drawStrip(single, view(), kind, s); });
            int differing = 0;
            for (int y = 0; y < 300; ++y)
                for (int x = 0; x < 300; ++x)
                    differing += merged.pixel(x, y) != single.pixel(x, y);
            EXPECT_EQ(differing, 0) << "kind " << static_cast<int>(kind) << ", n = " << n;
            EXPECT_GT(countColour(merged, kStripGreen, 0, 0, 299, 299), 100);
        }
    }
}

} // namespace gq
