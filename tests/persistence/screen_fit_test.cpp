// A restored window's place fitted onto the screens of now.
#include <gtest/gtest.h>

#include "persistence/screen_fit.h"

namespace vx {
namespace {

TEST(ScreenFitTest, AFrameOffTheScreensIsMovedFullyOntoTheNearest) {
    const QRect left(0, 0, 1600, 870);        // 1600 x 900 less a 30-px panel
    const QRect right(1600, 0, 1280, 1024);   // a second monitor
    const struct {
        const char* name;
        QRect frame;
        std::vector<QRect> areas;
        QPoint expected;
    } cases[] = {
        {"on the screen stays", {895, 76, 500, 400}, {left}, {895, 76}},
        {"off right (saved at 96 DPI, restored at 120)", {895, 76, 875, 400}, {left}, {725, 76}},
        {"off bottom", {100, 700, 500, 400}, {left}, {100, 470}},
        {"negative", {-300, -50, 500, 400}, {left}, {0, 0}},
        {"larger than the screen keeps its corner on it", {-10, -10, 2000, 1000}, {left}, {0, 0}},
        {"on a monitor since unplugged", {2000, 300, 500, 400}, {left}, {1100, 300}},
        {"the monitor still there keeps it", {2000, 300, 500, 400}, {left, right}, {2000, 300}},
        {"across two monitors goes where most of it is", {1500, 100, 500, 400}, {left, right}, {1600, 100}},
        {"far away on no screen: the nearest", {5000, 5000, 300, 200}, {left, right}, {2580, 824}},
        {"no screens at all", {5000, 5000, 300, 200}, {}, {5000, 5000}},
    };
    for (const auto& c : cases) EXPECT_EQ(FitOntoScreens(c.frame, c.areas), c.expected) << c.name;
}

}  // namespace
}  // namespace vx
