// Wheel zoom about the pointer and drag panning in normal mode.
#include "control/range_steps.h"
#include "control/view_navigation.h"
#include <gtest/gtest.h>

namespace gq
{

TEST(WheelZoom, OneNotchIsOneDialogStepAboutThePointer)
{
    // At the centre a notch is exactly the dialog's zoom.
    const GraphView view(CoordFrame{}, 400);
    CoordFrame f;
    EXPECT_TRUE(wheelZoom(f, view, 200, 200, true));
    EXPECT_EQ(f, (CoordFrame{-2.5, 2.5, -2.5, 2.5}));
    f = CoordFrame{};
    EXPECT_TRUE(wheelZoom(f, view, 200, 200, false));
    EXPECT_EQ(f, (CoordFrame{-10, 10, -10, 10}));

    // Elsewhere the world point under the pointer stays under it.
    for (bool in : {true, false}) {
        f = CoordFrame{};
        ASSERT_TRUE(wheelZoom(f, view, 240, 100, in));
        const GraphView after(f, 400);
        EXPECT_NEAR(static_cast<double>(after.pixelToX(240)), 1.0, 1e-9) << in;
        EXPECT_NEAR(static_cast<double>(after.pixelToY(100)), 2.5, 1e-9) << in;
        EXPECT_EQ(f.xmax - f.xmin, in ? 5.0L : 20.0L);
    }
}

TEST(WheelZoom, KeepsTheDialogsLimits)
{
    // The smallest span: refused, nothing changes.
    CoordFrame f{0, 0.05L, 0, 0.05L};
    EXPECT_FALSE(wheelZoom(f, GraphView(f, 400), 100, 100, true));
    EXPECT_EQ(f, (CoordFrame{0, 0.05L, 0, 0.05L}));

    // Zooming out near the limit: the frame is moved back inside.
    f = CoordFrame{-5000, 5000, -5000, 5000};
    EXPECT_TRUE(wheelZoom(f, GraphView(f, 400), 300, 100, false));
    EXPECT_EQ(f, (CoordFrame{-10000, 10000, -10000, 10000}));
    EXPECT_FALSE(wheelZoom(f, GraphView(f, 400), 300, 100, false)) << "the dialog would refuse it too";
    EXPECT_TRUE(isValidFrame(f));
}

TEST(DragPan, TheWorldPointFollowsThePointer)
{
    const GraphView start(CoordFrame{}, 400); // 0.025 a pixel
    EXPECT_EQ(pannedFrame(start, 40, 0), (CoordFrame{-6, 4, -5, 5})) << "dragged right: the frame moves left";
    EXPECT_EQ(pannedFrame(start, 0, 40), (CoordFrame{-5, 5, -4, 6})) << "dragged down: the frame moves up";
    EXPECT_EQ(pannedFrame(start, 0, 0), CoordFrame{});

    // At the limit the frame stops there with its spans.
    const GraphView edge(CoordFrame{9000, 9990, -10, 10}, 100);
    EXPECT_EQ(pannedFrame(edge, -10, 0), (CoordFrame{9010, 10000, -10, 10}));
    const GraphView bottom(CoordFrame{0, 10, -9999, -9989}, 100);
    EXPECT_EQ(pannedFrame(bottom, 0, -50), (CoordFrame{0, 10, -10000, -9990}));
}

TEST(DragPan, ShiftIntoLimits)
{
    CoordFrame f{-10500, -500, 0, 1};
    EXPECT_TRUE(shiftIntoLimits(f));
    EXPECT_EQ(f, (CoordFrame{-10000, 0, 0, 1}));
    f = CoordFrame{-15000, 15000, 0, 1};
    EXPECT_FALSE(shiftIntoLimits(f)) << "wider than the limits allow";
    EXPECT_EQ(f, (CoordFrame{-15000, 15000, 0, 1}));
}

TEST(WheelZoom, NotchesFromWheelRotation)
{
    int rest = 0;
    EXPECT_EQ(wheelNotches(rest, 120), 1);
    EXPECT_EQ(wheelNotches(rest, -240), -2);
    EXPECT_EQ(wheelNotches(rest, 60), 0) << "half a notch of a fine wheel";
    EXPECT_EQ(wheelNotches(rest, 60), 1);
    EXPECT_EQ(rest, 0);
}

} // namespace gq
