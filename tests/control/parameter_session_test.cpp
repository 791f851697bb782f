// The parameter window's behaviour: opening, the keys, afterimages and point
// loci, checked by the pixels of the stored image and of the visible picture.
#include "common/canvas_count.h"
#include "control/parameter_session.h"
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace gq
{

namespace
{
constexpr int kSize = 200; // default frame: 20 pixels a unit, origin at (100, 100)
constexpr uint32_t kRed = rgbColour(255, 0, 0);
constexpr uint32_t kBlue = rgbColour(0, 0, 255);
constexpr uint32_t kGreen = rgbColour(0, 160, 0);
constexpr uint32_t kBand = rgbColour(255, 255, 0);
const std::string kTheta = "\x83\xC6"; // θ in Shift-JIS

int countRow(const Canvas &c, int y, int x0, int x1, uint32_t colour)
{
    int n = 0;
    for (int x = x0; x <= x1; ++x)
        n += c.pixel(x, y) == colour;
    return n;
}

class ParameterSessionTest : public ::testing::Test
{
  protected:
    ParameterSessionTest()
    {
        renderer.hooks.present = [this](const Canvas &image) {
            ++presents;
            visible.copyFrom(image);
        };
        renderer.hooks.intervalActive = [this] { return intervalActive; };
        renderer.hooks.drawIntervalOverlay = [this](const Canvas &image) {
            ++overlays;
            visible.copyFrom(image);
            visible.setPixel(1, 1, kBand);
        };
        session.valuesChanged = [this] { ++valueChanges; };
        session.pictureChanged = [this] { ++pictures; };
    }

    int add(uint8_t kind, const std::string &t1, const std::string &t2, uint32_t colour,
            uint8_t afterimage = 1)
    {
        Item &item = doc.items[++doc.itemCount];
        item.kind = kind;
        item.text = {"", t1, t2, "", ""};
        item.colour = colour;
        item.afterimage = afterimage;
        return doc.itemCount;
    }
    void open() { session.open(scanUsedParams(doc)); }
    // Increment of a row in steps of width kStepWidths[index].
    void increment(ParamRow row, int index, int presses)
    {
        session.setStepWidthIndex(index);
        for (int k = 0; k < std::abs(presses); ++k)
            presses > 0 ? session.plus(row) : session.minus(row);
    }
    void steps(int n)
    {
        for (int k = 0; k < n; ++k)
            session.step();
    }
    int px(long double x) const { return renderer.view().xToPixel(x); }
    int py(long double y) const { return renderer.view().yToPixel(y); }
    const Canvas &stored() const { return renderer.graphImage(); }

    Document doc;
    GraphRenderer renderer{kSize};
    Canvas visible{kSize, kSize};
    ParameterSession session{doc, renderer, visible};
    bool intervalActive = false;
    int presents = 0, overlays = 0, valueChanges = 0, pictures = 0;
};
} // namespace

TEST_F(ParameterSessionTest, OpeningShowsTheUsedRowsDrawsTheBackgroundAndOneStep)
{
    add(KindExplicit, "a*x", "", kRed);
    add(KindPoint, "cos(" + kTheta + ")", "n", kBlue);
    add(KindExplicit, "-4", "", kGreen);
    session.setLocus(true);
    open();
    EXPECT_EQ(session.shownRowCount(), 3);
    EXPECT_TRUE(session.rowShown(RowA));
    EXPECT_TRUE(session.rowShown(RowN));
    EXPECT_TRUE(session.rowShown(RowTheta));
    EXPECT_FALSE(session.rowShown(RowB));
    EXPECT_FALSE(session.locusChecked()) << "the locus is off at every opening";
    EXPECT_FALSE(session.flags().locus);
    EXPECT_EQ(doc.overlayMode, 0);

    // The item without parameters is part of the stored background; the
    // moving ones are drawn on the visible picture only.
    EXPECT_TRUE(colourNear(stored(), px(0), py(-4), kGreen));
    EXPECT_EQ(countColour(stored(), kRed), 0);
    EXPECT_EQ(countColour(stored(), kBlue), 0);
    EXPECT_TRUE(colourNear(visible, px(2), py(0), kRed)) << "a = 0: the line y = 0";
    EXPECT_TRUE(colourNear(visible, px(1), py(1), kBlue)) << "the point (cos 0, n) = (1, 1)";
    EXPECT_TRUE(colourNear(visible, px(0), py(-4), kGreen));
    EXPECT_EQ(presents, 1);
    EXPECT_EQ(pictures, 1);

    session.setAfterimage(true);
    session.close();
    EXPECT_EQ(doc.overlayMode, 0) << "closing ends the overlay mode";
    open();
    EXPECT_EQ(doc.overlayMode, 1) << "the afterimage switch is kept between openings";
}

TEST_F(ParameterSessionTest, AStepMovesTheValuesRefreshesTheLineAndRedrawsOnlyTheVisiblePicture)
{
    add(KindExplicit, "a*x", "", kRed);
    open();
    increment(RowA, 2, 2);
    const int changes = valueChanges;
    session.step();
    EXPECT_EQ(doc.parameters['a'], 0.2f) << "two presses of ＋ then one step";
    EXPECT_EQ(session.valueText(RowA), QStringLiteral("0.200"));
    EXPECT_EQ(valueChanges, changes + 1);
    steps(4);
    EXPECT_EQ(doc.parameters['a'], 1.0f);
    EXPECT_TRUE(colourNear(visible, px(2), py(2), kRed));
    EXPECT_FALSE(colourNear(visible, px(2), py(1.6L), kRed, 2)) << "the previous position is gone";
    EXPECT_EQ(countColour(stored(), kRed), 0);
}

TEST_F(ParameterSessionTest, AfterimagesStayOnTheStoredImageOnlyForItemsWithTheirOwnFlag)
{
    add(KindExplicit, "a*x^2", "", kRed, 1);
    add(KindExplicit, "a*x+1", "", kBlue, 0); // its own 残像 is off
    add(KindExplicit, "-4", "", kGreen);
    open();
    session.setAfterimage(true);
    EXPECT_EQ(doc.overlayMode, 1);
    EXPECT_TRUE(session.flags().afterimageActive[1]);
    EXPECT_FALSE(session.flags().afterimageActive[2]);
    increment(RowA, 2, 5); // 0.5
    steps(2);              // a = 0.5, then 1

    // Both positions of the parabola stay on the stored image.
    EXPECT_TRUE(colourNear(stored(), px(2), py(2), kRed));
    EXPECT_TRUE(colourNear(stored(), px(2), py(4), kRed));
    EXPECT_TRUE(colourNear(visible, px(2), py(2), kRed));
    EXPECT_TRUE(colourNear(visible, px(2), py(4), kRed));
    // The line without its own flag still moves without traces.
    EXPECT_EQ(countColour(stored(), kBlue), 0);
    EXPECT_TRUE(colourNear(visible, px(-2), py(-1), kBlue));
    EXPECT_FALSE(colourNear(visible, px(-2), py(0), kBlue, 2));
    EXPECT_TRUE(colourNear(stored(), px(0), py(-4), kGreen));

    // Switched off, the afterimages disappear with a fresh background.
    session.setAfterimage(false);
    EXPECT_EQ(doc.overlayMode, 0);
    EXPECT_FALSE(session.flags().afterimageActive[1]);
    EXPECT_EQ(countColour(stored(), kRed), 0);
    EXPECT_TRUE(colourNear(visible, px(2), py(4), kRed));
    EXPECT_FALSE(colourNear(visible, px(2), py(2), kRed));
    EXPECT_TRUE(colourNear(stored(), px(0), py(-4), kGreen));
}

TEST_F(ParameterSessionTest, APointWhoseCoordinateGrowsLeavesAContinuousTrace)
{
    add(KindPoint, "a", "1", kRed);
    open();
    session.setLocus(true);
    increment(RowA, 2, 1);
    steps(30);
    EXPECT_EQ(doc.parameters['a'], 3.0f);
    EXPECT_EQ(countRow(stored(), py(1), px(0), px(3) - 1, kRed), px(3) - px(0)) << "no gap from 0 to 3";
    EXPECT_EQ(countRow(stored(), py(1), 0, px(0) - 1, kRed), 0);
    // The point itself is on the visible picture only.
    EXPECT_EQ(visible.pixel(px(3), py(1) - 1), kRed);
    EXPECT_NE(stored().pixel(px(3), py(1) - 1), kRed);
    EXPECT_EQ(countRow(visible, py(1), px(0), px(3) - 1, kRed), px(3) - px(0));

    // Switching the locus off clears the trace.
    session.setLocus(false);
    EXPECT_EQ(countColour(stored(), kRed), 0);
    EXPECT_TRUE(colourNear(visible, px(3), py(1), kRed));
}

TEST_F(ParameterSessionTest, APointMovingFromOutsideToOutsideTheFrameLeavesOnlyDots)
{
    doc.parameters['a'] = -6;
    add(KindPoint, "a", "1", kRed);
    open();
    session.setLocus(true);
    increment(RowA, 0, 1); // 10
    increment(RowA, 1, 2); // 12
    session.step();        // (-6, 1) to (6, 1): both outside
    EXPECT_EQ(doc.parameters['a'], 6.0f);
    EXPECT_EQ(countColour(stored(), kRed), 0) << "no line across the frame";

    session.zero(RowA);
    increment(RowA, 1, -2);
    session.step(); // (6, 1) to (4, 1): the new position is inside
    EXPECT_EQ(countRow(stored(), py(1), px(4) + 1, kSize - 1, kRed), kSize - 1 - px(4));
}

TEST_F(ParameterSessionTest, AnUndefinedPositionBreaksTheTrace)
{
    doc.parameters['a'] = 1;
    add(KindPoint, "sqrt(a)", "1", kRed);
    open();
    session.setLocus(true);
    increment(RowA, 1, -2);
    session.step(); // a = -1: no position
    EXPECT_EQ(countColour(stored(), kRed), 0);
    session.zero(RowA);
    increment(RowA, 1, 5);
    session.step(); // a = 4: (2, 1), a dot only
    EXPECT_EQ(countRow(stored(), py(1), px(1), px(2) - 1, kRed), 0)
        << "no line from the last defined position";
    EXPECT_EQ(stored().pixel(px(2), py(1)), kRed);
    session.step(); // a = 9: (3, 1), joined again
    EXPECT_EQ(countRow(stored(), py(1), px(2), px(3) - 1, kRed), px(3) - px(2));
}

TEST_F(ParameterSessionTest, ClearDrawsAStepWithoutALocus)
{
    doc.parameters['a'] = 2;
    add(KindPoint, "a", "1", kRed);
    open();
    session.setLocus(true);
    increment(RowA, 2, 5);
    steps(4); // 2 to 4
    EXPECT_EQ(countRow(stored(), py(1), px(2), px(4) - 1, kRed), px(4) - px(2));
    session.clear(RowA);
    EXPECT_EQ(doc.parameters['a'], 0.0f);
    EXPECT_EQ(countRow(stored(), py(1), px(0) + 1, px(2) - 1, kRed), 0) << "the jump leaves no trace";
    EXPECT_TRUE(colourNear(visible, px(0), py(1), kRed));
    EXPECT_TRUE(session.flags().locus) << "the locus is back on after the step";
    session.step(); // 0 to 0.5, traced again
    EXPECT_EQ(countRow(stored(), py(1), px(0), px(0.5L) - 1, kRed), px(0.5L) - px(0));
}

TEST_F(ParameterSessionTest, AllClearResetsEverything)
{
    add(KindPoint, "a", "j", kRed);
    add(KindExplicit, "a*x+" + kTheta, "", kBlue);
    open();
    session.setAfterimage(true);
    session.setLocus(true);
    increment(RowA, 2, 5);
    increment(RowJ, 2, 2);
    increment(RowTheta, 2, 1);
    steps(3);
    ASSERT_GT(countColour(stored(), kRed), 0);
    ASSERT_GT(countColour(stored(), kBlue), 0);

    session.allClear();
    EXPECT_EQ(doc.parameters, Parameters::defaults());
    EXPECT_EQ(session.steps().thetaMultiple(), 0.0L);
    for (int r = 0; r < kParamRowCount; ++r)
        EXPECT_EQ(session.steps().increment(static_cast<ParamRow>(r)), 0.0L);
    EXPECT_FALSE(session.afterimageChecked());
    EXPECT_FALSE(session.locusChecked());
    EXPECT_FALSE(session.flags().locus);
    EXPECT_FALSE(session.flags().afterimageActive[1]);
    EXPECT_EQ(doc.overlayMode, 0);
    EXPECT_EQ(countColour(stored(), kRed), 0);
    EXPECT_EQ(countColour(stored(), kBlue), 0);
    EXPECT_TRUE(colourNear(visible, px(0), py(1), kRed)) << "the point at (0, j = 1)";
}

TEST_F(ParameterSessionTest, APointOnTheUnitCircleTracesTheCircle)
{
    add(KindPoint, "cos(" + kTheta + ")", "sin(" + kTheta + ")", kRed);
    doc.frame = CoordFrame{-2, 2, -2, 2}; // 50 pixels a unit
    open();
    session.setLocus(true);
    increment(RowTheta, 3, 5); // 0.05π
    steps(40);
    EXPECT_EQ(session.valueText(RowTheta), QStringLiteral("2.000π"));
    for (int k = 0; k < 80; ++k) {
        const double t = k * std::numbers::pi / 40;
        EXPECT_TRUE(colourNear(stored(), px(std::cos(t)), py(std::sin(t)), kRed)) << "angle " << k << "π/40";
    }
    EXPECT_FALSE(colourNear(stored(), px(0), py(0), kRed, 10)) << "nothing inside the circle";
}

TEST_F(ParameterSessionTest, WhileAnIntervalIsActiveTheStepHandsTheStoredImageToTheOverlay)
{
    add(KindExplicit, "a", "", kRed);
    open();
    intervalActive = true;
    increment(RowA, 1, 2);
    const int plain = presents;
    session.step();
    EXPECT_EQ(overlays, 1);
    EXPECT_EQ(presents, plain);
    // The moving item is drawn over the overlay's picture.
    EXPECT_EQ(visible.pixel(1, 1), kBand);
    EXPECT_TRUE(colourNear(visible, px(1), py(2), kRed));
}

} // namespace gq
