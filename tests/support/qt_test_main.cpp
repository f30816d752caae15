// main() for test programs that need a QApplication. Tests run headless:
// the offscreen platform is chosen unless the environment names another,
// since test programs are also started outside ctest's environment.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const auto dir = std::filesystem::temp_directory_path() / ("vx-runtime-" + std::to_string(::getuid()));
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
