// Where a window opens: whole on the free area, where it asks or where the
// user left it, beside or below the program's other open windows where there
// is room, else covering as little of them as it can.
#include "control/window_placement.h"
#include <gtest/gtest.h>

namespace gq
{

TEST(WindowPlacement, OnTheFreeAreaClearOfTheOtherWindowsWhereThereIsRoom)
{
    const QRect screen(0, 0, 1024, 768);
    const QRect interval(4, 300, 330, 210); // an open window at the left
    const QSize range(300, 330);
    struct Case {
        const char *what;
        PlacementRequest request;
        QPoint at;
    } cases[] = {
        {"alone, where it asks", {range, {4, 80}, false, screen, {}}, {4, 80}},
        {"alone, pushed up onto a low screen", {range, {4, 260}, false, QRect(0, 0, 800, 500), {}}, {4, 170}},
        {"alone, pushed left and up from the corner", {range, {900, 700}, false, screen, {}}, {724, 438}},
        {"larger than the area: from its top-left corner", {{1200, 900}, {50, 50}, false, screen, {}}, {0, 0}},
        {"a task bar at the top", {range, {4, 0}, false, QRect(0, 30, 1024, 738), {}}, {4, 30}},
        {"beside the other, at the height it asked for", {range, {4, 80}, false, screen, {interval}}, {336, 80}},
        {"the user's place is kept, even over another", {range, {10, 300}, true, screen, {interval}}, {10, 300}},
        {"the user's place is kept on the area", {range, {2000, 300}, true, screen, {interval}}, {724, 300}},
        // No room at the right: at the left of the other one.
        {"left of a window at the right", {range, {700, 80}, false, screen, {QRect(600, 0, 424, 768)}}, {298, 80}},
        // Neither side: below it.
        {"below a wide window", {range, {4, 10}, false, screen, {QRect(0, 0, 1024, 300)}}, {4, 302}},
        // Nowhere clear: as little covered as can be.
        {"nowhere clear", {QSize(600, 500), {0, 0}, false, QRect(0, 0, 800, 600), {QRect(0, 0, 400, 300)}},
         {200, 100}},
    };
    for (const Case &c : cases) {
        const QPoint at = placeWindow(c.request);
        EXPECT_EQ(at, c.at) << c.what;
        const QRect placed(at, c.request.size);
        if (c.request.size.width() <= c.request.available.width() &&
            c.request.size.height() <= c.request.available.height()) {
            EXPECT_TRUE(c.request.available.contains(placed)) << c.what;
        }
    }
}

} // namespace gq
