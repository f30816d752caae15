#include "own_display.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

namespace vx::test {

pid_t SpawnQuietly(const std::vector<std::string>& argv, const std::string& cwd) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::setpgid(0, 0);
    const char* log = std::getenv("VX_DESKTOP_LOG");
    const int out = ::open(log ? log : "/dev/null", O_RDWR | O_CREAT | O_APPEND, 0600);
    ::dup2(out, 1);
    ::dup2(out, 2);
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

int RunOnOwnDisplay(int argc, char** argv, const std::string& tag, const std::function<std::string()>& start,
                    const std::function<void()>& stop) {
    ::testing::InitGoogleTest(&argc, argv);
    const auto runtime = std::filesystem::temp_directory_path() / (tag + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // Discovery (--gtest_list_tests) needs no display.
    const std::string platform = ::testing::GTEST_FLAG(list_tests) ? "offscreen" : start();
    ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    stop();
    std::filesystem::remove_all(runtime);
    return result;
}

}  // namespace vx::test
