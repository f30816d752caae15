#include <gtest/gtest.h>

#include <QApplication>

#include "shell/main_window.h"

namespace vx {
namespace {

TEST(MainWindowTest, CaptionAndClientSize) {
    Twnd_vx_Main window;
    window.show();
    EXPECT_EQ(window.windowTitle(), "Vantrix");
    EXPECT_EQ(window.width(), 475);
    EXPECT_EQ(window.height(), 429);
}

}  // namespace
}  // namespace vx
