// One instance per user and settings file: in-process checks of the local
// socket hand-over, and the real program started twice.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
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
#include <functional>
#include <vector>

#include "persistence/ini_storage.h"
#include "shell/settings_location.h"
#include "shell/runtime_folder.h"
#include "shell/single_instance.h"
#include "sysinfo/version_info.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr int kDeferred = 0;  // ClaimInChild: the start found a running instance
constexpr int kRuns = 1;      // ... it runs itself

// A later start in a child process, so that this process's instance can
// answer it from the event loop meanwhile: its exit status says whether it
// deferred (kDeferred) or runs (kRuns).
int ClaimInChild(const std::string& file, int* pidOut = nullptr, bool wait = true) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        // A start is another process: it shares none of this one's
        // descriptors (the instance's lock and listener among them).
        ::close_range(3, ~0U, 0);
        TSingleInstance instance(file);
        ::_exit(instance.Claim() ? kRuns : kDeferred);
    }
    if (pidOut) *pidOut = pid;
    if (!wait) return -1;
    int status = -1;
    if (!QTest::qWaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 30000)) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
    EXPECT_EQ(ClaimInChild(file), kDeferred);
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
    EXPECT_EQ(ClaimInChild(file), kDeferred);  // still listening after all that
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
    EXPECT_EQ(ClaimInChild(file), kDeferred);
}

// A running instance whose queue of connections is full refuses for the
// moment: a later start defers to it instead of taking its socket over.
TEST(SingleInstanceTest, ABusyInstanceIsNotTakenOver) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    const std::string path = TSingleInstance::SocketName(file).toStdString();
    const int lock = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);  // held as by a live one
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
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
    ::close(lock);
}

// Two starts at the same moment, or one racing an instance that binds its
// socket but is not listening yet: the lock decides, and nobody removes a
// live instance's socket.
TEST(SingleInstanceTest, StartsThatRaceLeaveOneInstance) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    std::vector<int> pids(6);
    for (int& pid : pids) ClaimInChild(file, &pid, false);
    // The children that run hold the lock until they end; they end at once,
    // so the others either see a holder or take the lock after it.
    int runs = 0;
    for (int pid : pids) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        runs += WEXITSTATUS(status) == kRuns;
    }
    EXPECT_GE(runs, 1);

    // A live instance that has the lock but is slow to listen is waited
    // for, not replaced.
    const std::string path = TSingleInstance::SocketName(file).toStdString();
    const int lock = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    int pid = 0;
    ClaimInChild(file, &pid, false);
    ::usleep(300000);
    int status = -1;
    EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0);  // still waiting for the holder
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::unlink(path.c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    const int caller = ::accept(listener, nullptr, nullptr);
    char line[16] = {};
    EXPECT_EQ(::read(caller, line, sizeof line), 9);
    EXPECT_STREQ(line, "activate\n");
    EXPECT_EQ(::write(caller, "ok\n", 3), 3);
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kDeferred);
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);  // the socket is still there
    ::close(caller);
    ::close(listener);
    ::close(lock);
}

// An instance that is ending stops listening first: a start that called
// it just then is not sent away, but waits and runs once it has gone.
TEST(SingleInstanceTest, AStartWhileTheInstanceEndsRunsItself) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    auto first = std::make_unique<TSingleInstance>(file);
    ASSERT_TRUE(first->Claim());
    int pid = 0;
    ClaimInChild(file, &pid, false);
    ::usleep(300000);  // the start has called and waits for the answer; the loop does not run
    first->Release();
    ::usleep(300000);
    int status = -1;
    EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0);  // waiting for the ending instance
    first.reset();
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kRuns);
}

// The private run-time folder outside $XDG_RUNTIME_DIR: used only when it
// is the user's own real folder that nobody else can enter.
TEST(RuntimeFolderTest, OnlyTheUsersOwnFolderIsUsed) {
    test::TTempDir dir;
    const struct {
        const char* name;
        std::function<void(const fs::path&)> make;
        const char* error;  // part of the reason, empty when usable
        bool needsRoot = false;
    } cases[] = {
        {"missing", [](const fs::path&) {}, ""},
        {"a link",
         [&](const fs::path& p) {
             fs::create_directory(dir.path() / "real");
             fs::permissions(dir.path() / "real", fs::perms::owner_all, fs::perm_options::replace);
             fs::create_directory_symlink(dir.path() / "real", p);
         },
         "is a symbolic link"},
        {"another owner",
         [](const fs::path& p) {
             fs::create_directory(p);
             fs::permissions(p, fs::perms::owner_all, fs::perm_options::replace);
             ASSERT_EQ(::chown(p.c_str(), 4242, 4242), 0);
         },
         "belongs to another user", true},
        {"mode 0777",
         [](const fs::path& p) {
             fs::create_directory(p);
             fs::permissions(p, fs::perms::all, fs::perm_options::replace);
         },
         "open to other users (mode 0777)"},
        {"a file", [](const fs::path& p) { test::WriteWholeFile(p, "x"); }, "is not a folder"},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && ::getuid() != 0) continue;
        const fs::path path = dir.path() / (std::string("vantrix-") + c.name);
        c.make(path);
        const std::string error = EnsurePrivateFolder(path.string());
        if (*c.error == 0) {
            EXPECT_EQ(error, "") << c.name;
            struct stat st {};
            ASSERT_EQ(::lstat(path.c_str(), &st), 0);
            EXPECT_TRUE(S_ISDIR(st.st_mode)) << c.name;
            EXPECT_EQ(st.st_mode & 07777, 0700u) << c.name;
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
        }
    }
}

// Another local user cannot stand in for Vantrix: a listener squatting a
// name in the shared temporary folder, or one put at the user's own socket
// path, is told nothing, and Vantrix starts anyway.
class SquatterTest : public ::testing::Test {
protected:
    static constexpr uid_t kOther = 4242;
    test::TTempDir shared;
    std::string savedRuntime, savedTmp;
    bool hadRuntime = false, hadTmp = false;

    void SetUp() override {
        if (::getuid() != 0) GTEST_SKIP() << "acting as another user needs root";
        fs::permissions(shared.path(), fs::perms::all | fs::perms::sticky_bit, fs::perm_options::replace);
        if (const char* v = std::getenv("XDG_RUNTIME_DIR")) hadRuntime = true, savedRuntime = v;
        if (const char* v = std::getenv("TMPDIR")) hadTmp = true, savedTmp = v;
    }
    void TearDown() override {
        hadRuntime ? (void)::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1) : (void)::unsetenv("XDG_RUNTIME_DIR");
        hadTmp ? (void)::setenv("TMPDIR", savedTmp.c_str(), 1) : (void)::unsetenv("TMPDIR");
    }
    // No runtime folder: the private one goes in the shared folder.
    void useSharedFolder() {
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", shared.path().c_str(), 1);
    }

    // A listener run as another user, counting the connections it takes and
    // the bytes it is sent until Stop().
    struct TSquatter {
        pid_t pid = -1;
        int control = -1, report = -1;
        // Returns {connections, bytes}.
        std::pair<int, int> Stop() {
            ::close(control);
            int counts[2] = {-1, -1};
            EXPECT_EQ(::read(report, counts, sizeof counts), static_cast<ssize_t>(sizeof counts));
            ::close(report);
            ::waitpid(pid, nullptr, 0);
            return {counts[0], counts[1]};
        }
    };
    static TSquatter Squat(const fs::path& path, bool asOther = true) {
        int control[2], report[2], ready[2];
        EXPECT_EQ(::pipe(control), 0);
        EXPECT_EQ(::pipe(report), 0);
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(control[1]);
            ::close(report[0]);
            ::close(ready[0]);
            if (asOther && (::setgid(kOther) != 0 || ::setuid(kOther) != 0)) ::_exit(2);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            path.string().copy(address.sun_path, sizeof address.sun_path - 1);
            const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                ::listen(listener, 8) != 0)
                ::_exit(3);
            (void)!::write(ready[1], "r", 1);
            int counts[2] = {0, 0};
            std::vector<pollfd> fds{{control[0], POLLIN, 0}, {listener, POLLIN, 0}};
            for (;;) {
                ::poll(fds.data(), fds.size(), 1000);
                if (fds[0].revents) break;
                if (fds[1].revents & POLLIN) {
                    fds.push_back({::accept(listener, nullptr, nullptr), POLLIN, 0});
                    ++counts[0];
                }
                for (std::size_t i = 2; i < fds.size(); ++i) {
                    if (!(fds[i].revents & POLLIN)) continue;
                    char buffer[64];
                    const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                    if (n > 0) counts[1] += static_cast<int>(n);
                    if (n <= 0) fds[i].events = 0;
                }
            }
            (void)!::write(report[1], counts, sizeof counts);
            ::_exit(0);
        }
        ::close(control[0]);
        ::close(report[1]);
        ::close(ready[1]);
        char r = 0;
        EXPECT_EQ(::read(ready[0], &r, 1), 1) << "the squatter could not listen at " << path;
        ::close(ready[0]);
        return {pid, control[1], report[0]};
    }
};

TEST_F(SquatterTest, AListenerAtTheSharedNameIsNeverAsked) {
    useSharedFolder();
    const std::string file = shared.file("vantrix.ini");
    const fs::path ours = TSingleInstance::SocketName(file).toStdString();
    ASSERT_EQ(ours.parent_path(), shared.path() / ("vantrix-" + std::to_string(::getuid())));
    TSquatter squatter = Squat(shared.path() / ours.filename());  // the name a bare /tmp socket would have

    TSingleInstance first(file);
    int activations = 0;
    first.OnActivate = [&] { ++activations; };
    EXPECT_TRUE(first.Claim());
    EXPECT_EQ(ClaimInChild(file), kDeferred);  // its own instance works
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));
    EXPECT_EQ(squatter.Stop(), std::make_pair(0, 0));
}

TEST_F(SquatterTest, APrivateFolderTakenByAnotherUserIsRefused) {
    useSharedFolder();
    const fs::path folder = shared.path() / ("vantrix-" + std::to_string(::getuid()));
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
    ASSERT_EQ(::chown(folder.c_str(), kOther, kOther), 0);
    const std::string file = shared.file("vantrix.ini");
    EXPECT_EQ(TSingleInstance::SocketName(file), QString());
    TSquatter squatter = Squat(folder / "vantrix-0-listener");

    TSingleInstance instance(file);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(instance.Claim());  // starts anyway
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("belongs to another user"), std::string::npos) << said;
    EXPECT_NE(said.find("running without the single-instance check"), std::string::npos) << said;
    EXPECT_EQ(squatter.Stop(), std::make_pair(0, 0));
}

// A listener at the user's own socket path while the lock is held: it is
// believed only when both its peer and its socket file are the user's.
TEST_F(SquatterTest, AListenerThatIsNotTheUsersIsToldNothing) {
    test::TTempDir own;
    const std::string file = own.file("vantrix.ini");
    const fs::path path = TSingleInstance::SocketName(file).toStdString();
    const int lock = ::open((path.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    const struct {
        const char* name;
        bool listenerIsOther;
        uid_t fileOwner;
    } cases[] = {
        {"another user's listener, file chowned to the user", true, 0},
        {"the user's listener, file owned by another user", false, kOther},
    };
    for (const auto& c : cases) {
        const fs::path staging = shared.path() / "squat";
        TSquatter squatter = Squat(staging, c.listenerIsOther);
        fs::rename(staging, path);  // the kernel finds the listener by the file, wherever it is
        ASSERT_EQ(::lchown(path.c_str(), c.fileOwner, c.fileOwner), 0);
        TSingleInstance instance(file);
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(instance.Claim()) << c.name;
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("is not the user's own Vantrix"), std::string::npos) << c.name << ": " << said;
        EXPECT_EQ(squatter.Stop().second, 0) << c.name;
        ::unlink(path.c_str());
    }
    ::close(lock);
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

// A start right after SIGTERM meets an instance that is ending: it does not
// hand its request to it and leave nothing running.
TEST_F(ProgramTest, AStartJustAfterSigtermRuns) {
    QProcess first;
    start(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening(); }, 30000));
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    QProcess next;
    start(next);
    ASSERT_TRUE(first.waitForFinished(30000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening(); }, 30000));
    EXPECT_EQ(next.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(next.processId()), SIGTERM);
    ASSERT_TRUE(next.waitForFinished(30000));
    EXPECT_EQ(next.exitCode(), 0);
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
