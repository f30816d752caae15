// main() of the desktop tests: a private X display with icewm and trayer,
// then the application on the xcb platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "desktop_session.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const auto runtime = std::filesystem::temp_directory_path() / ("vx-desktop-" + std::to_string(::getpid()));
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // Discovery (--gtest_list_tests) needs no display.
    const bool listing = ::testing::GTEST_FLAG(list_tests);
    const vx::test::TDesktop& desktop = listing ? vx::test::Desktop() : vx::test::StartDesktop(true);
    ::setenv("QT_QPA_PLATFORM", desktop.running ? "xcb" : "offscreen", 1);
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    vx::test::StopDesktop();
    std::filesystem::remove_all(runtime);
    return result;
}
