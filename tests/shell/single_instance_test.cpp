// One instance per user and settings file: in-process checks of the local
// socket hand-over, and the real program started twice.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "persistence/ini_storage.h"
#include "shell/settings_location.h"
#include "shell/single_instance.h"
#include "sysinfo/version_info.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// A first instance that claimed its settings file and counts the requests
// to come to the front.
class RunningInstanceTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    TSingleInstance first{file};
    int activations = 0;

    void SetUp() override {
        first.OnActivate = [this] { ++activations; };
        ASSERT_TRUE(first.Claim());
    }
};

TEST_F(RunningInstanceTest, ASecondClaimActivatesTheFirst) {
    TSingleInstance second(file);
    EXPECT_FALSE(second.Claim());
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));
    TSingleInstance otherFile(dir.file("portable/vantrix.ini"));
    EXPECT_TRUE(otherFile.Claim());  // another settings file is another instance
    EXPECT_EQ(activations, 1);
}

// Only this user may connect, and only the one line a later start sends
// (whole or in pieces) brings the window up; other talk is dropped.
TEST_F(RunningInstanceTest, OnlyTheUsersActivateLineActivates) {
    const std::string path = TSingleInstance::SocketName(file).toStdString();
    EXPECT_EQ(fs::status(path).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);

    const auto send = [&](std::initializer_list<std::string_view> pieces) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, path.size());
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        for (std::string_view piece : pieces) {
            EXPECT_EQ(::write(fd, piece.data(), piece.size()), static_cast<ssize_t>(piece.size()));
            QTest::qWait(20);
        }
        ::close(fd);
    };
    const struct {
        std::initializer_list<std::string_view> pieces;
        int activates;
    } cases[] = {
        {{"activate\n"}, 1},
        {{"acti", "vate", "\n"}, 1},
        {{"activate"}, 0},  // no line end before the client left
        {{"ACTIVATE\n"}, 0},
        {{"activate\nactivate\n"}, 0},
        {{std::string_view("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx")}, 0},
        {{}, 0},
    };
    int expected = 0;
    for (const auto& c : cases) {
        send(c.pieces);
        expected += c.activates;
        QTest::qWait(50);
        EXPECT_EQ(activations, expected) << *c.pieces.begin();
    }
    TSingleInstance second(file);
    EXPECT_FALSE(second.Claim());  // still listening after all that
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == expected + 1; }, 5000));
}

// Out of file descriptors the instance cannot take a later start's call:
// the call waits in the queue without keeping the loop busy, and is taken
// once descriptors are free again.
TEST_F(RunningInstanceTest, ACallWaitsOutAShortageOfDescriptors) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers' own checks need descriptors too";
#endif
    const std::string path = TSingleInstance::SocketName(file).toStdString();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int caller = ::socket(AF_UNIX, SOCK_STREAM, 0);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    std::vector<int> spare;  // every descriptor up to a limit just above those in use
    for (int fd; (fd = ::dup(0)) >= 0 && fd < 4096;) spare.push_back(fd);
    for (int fd : spare) ::close(fd);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(spare.empty() ? 0 : spare.back()) + 1;
    spare.clear();
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    for (int fd; (fd = ::dup(0)) >= 0;) spare.push_back(fd);

    const bool called = ::connect(caller, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                        ::write(caller, "activate\n", 9) == 9;
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    QTest::qWait(300);
    ::getrusage(RUSAGE_SELF, &after);
    const int early = activations;
    for (int fd : spare) ::close(fd);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_TRUE(called);
    EXPECT_EQ(early, 0);
    const auto cpuMs = [](const rusage& u) {
        return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
               static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
    };
    EXPECT_LT(cpuMs(after) - cpuMs(before), 150);  // not spinning on the waiting call
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));
    ::close(caller);
}

// A socket file left by an instance that crashed answers nobody: the next
// start takes it over instead of refusing to run.
TEST(SingleInstanceTest, AStaleSocketIsTakenOver) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    const std::string path = TSingleInstance::SocketName(file).toStdString();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);  // bound, never listened on, file left behind
    ASSERT_TRUE(fs::exists(path));
    TSingleInstance next(file);
    EXPECT_TRUE(next.Claim());
    TSingleInstance after(file);
    EXPECT_FALSE(after.Claim());
}

// A running instance whose queue of connections is full refuses for the
// moment: a later start defers to it instead of taking its socket over.
TEST(SingleInstanceTest, ABusyInstanceIsNotTakenOver) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    const std::string path = TSingleInstance::SocketName(file).toStdString();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);  // never accepts
    std::vector<int> waiting;
    for (int i = 0; i < 16; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        waiting.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 && errno == EAGAIN) break;
    }
    TSingleInstance next(file);
    EXPECT_FALSE(next.Claim());
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    for (int fd : waiting) ::close(fd);
    ::close(listener);
}

// The real program: a second start ends at once and leaves the first
// running; SIGTERM ends the first through its event loop (exit status 0,
// not death by signal); temporary files of a writer that died go at start.
class ProgramTest : public ::testing::Test {
protected:
    test::TTempDir config, runtime;
    std::string settings;

    // The settings file the program will choose, found the way it does.
    void SetUp() override {
        const char* saved = std::getenv("XDG_CONFIG_HOME");
        const std::string previous = saved ? saved : "";
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
        TVersionInfo version;
        ASSERT_TRUE(ReadVersionInfo(VX_PROGRAM_PATH, version));
        TLayoutManagerINIStorage storage;
        AssignSettingsLocation(storage, VX_PROGRAM_PATH, version, TStorageQuery{});
        settings = storage.FileName();
        if (saved)
            ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    void start(QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path().string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path().string()));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(VX_PROGRAM_PATH), {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }
    // The program's socket, named in its runtime folder as this test's would be.
    bool listening() const {
        const std::string name = fs::path(TSingleInstance::SocketName(settings).toStdString()).filename().string();
        return fs::exists(runtime.path() / name);
    }
};

TEST_F(ProgramTest, SecondStartDefersAndSigtermEndsCleanly) {
    const fs::path folder = fs::path(settings).parent_path();
    fs::create_directories(folder);
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string stale =
        (folder / ("." + fs::path(settings).filename().string() + ".tmp-" + std::to_string(dead) + "-9")).string();
    test::WriteWholeFile(stale, "half a save");

    QProcess first;
    start(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening(); }, 30000));
    EXPECT_FALSE(fs::exists(stale));

    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);  // ended by its event loop
    EXPECT_EQ(first.exitCode(), 0);
}

// Without a display: one clear line and status 1, not a crash with a core.
TEST_F(ProgramTest, NoDisplayGivesOneClearLine) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"}) env.remove(name);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path().string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path().string()));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VX_PROGRAM_PATH), {});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("Vantrix needs a graphical desktop (no display found)\n"));
}

TEST_F(ProgramTest, AStartAfterACrashTakesOver) {
    QProcess crashed;
    start(crashed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening(); }, 30000));
    crashed.kill();  // SIGKILL: the socket file stays
    crashed.waitForFinished(10000);
    ASSERT_TRUE(listening());

    QProcess next;
    start(next);
    QTest::qWait(1500);
    EXPECT_EQ(next.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(next.processId()), SIGINT);
    ASSERT_TRUE(next.waitForFinished(30000));
    EXPECT_EQ(next.exitStatus(), QProcess::NormalExit);
}

}  // namespace
}  // namespace vx
