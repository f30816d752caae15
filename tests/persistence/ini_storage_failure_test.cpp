// Writes that the file system refuses: the caller gets "Unable to write to
// <path>" and the settings file stays exactly as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <filesystem>

#include "persistence/ini_file.h"
#include "persistence/ini_storage.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::WriteWholeFile;

constexpr const char* kOriginal = "[Settings]\nUnits=1\n";

void expectRefused(TLayoutManagerINIStorage& storage, const std::string& file) {
    try {
        storage.WriteInteger("Settings", "Units", 2);
        FAIL() << "the write was not refused";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + file);
    }
}

TEST(IniStorageFailureTest, ReadOnlyFile) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    WriteWholeFile(file, kOriginal);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);
    expectRefused(storage, file);
    EXPECT_EQ(ReadWholeFile(file), kOriginal);
    EXPECT_EQ(storage.ReadInteger("Settings", "Units", 0), 1);  // reading still works
}

TEST(IniStorageFailureTest, ReadOnlyFolder) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    WriteWholeFile(file, kOriginal);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);
    expectRefused(storage, file);
    EXPECT_EQ(ReadWholeFile(file), kOriginal);
}

TEST(IniStorageFailureTest, FolderThatCannotBeCreated) {
    test::TTempDir dir;
    WriteWholeFile(dir.file("blocker"), "a file where a folder should be");
    const std::string file = dir.file("blocker/sub/vantrix.ini");
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);
    expectRefused(storage, file);
}

TEST(IniStorageFailureTest, EmptyFileNameRefusesWrites) {
    TLayoutManagerINIStorage storage;
    EXPECT_THROW(storage.WriteString("S", "k", "v"), EIniFileException);
    EXPECT_EQ(storage.ReadString("S", "k", "def"), "def");
}

TEST(IniStorageFailureTest, NamesAndValuesThatWouldBreakTheFile) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    WriteWholeFile(file, kOriginal);
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);
    EXPECT_THROW(storage.WriteString("Settings", "Units", "1\n[Injected]\nk=v"), EIniFileException);
    EXPECT_THROW(storage.WriteString("Set]tings", "k", "v"), EIniFileException);
    EXPECT_THROW(storage.WriteString("Settings", "a=b", "v"), EIniFileException);
    EXPECT_EQ(ReadWholeFile(file), kOriginal);
}

// A full disk shows up as a short write of the temporary file; the old file
// must survive it whole. A file size limit gives the same error.
TEST(IniStorageFailureTest, DiskFullLeavesTheOldFileWhole) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    WriteWholeFile(file, kOriginal);
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool refused = false;
    try {
        storage.WriteString("Settings", "Big", std::string(500, 'x'));
    } catch (const EIniFileException&) {
        refused = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(refused);
    EXPECT_EQ(ReadWholeFile(file), kOriginal);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1) << "the temporary file was left behind";
}

TEST(IniStorageFailureTest, UnreadableFileIsNeverOverwrittenBlind) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    fs::create_directory(file);  // something that cannot be read as a file
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);
    EXPECT_THROW(storage.WriteInteger("S", "k", 1), EIniFileException);
    EXPECT_TRUE(fs::is_directory(file));
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// Runs `body` in a child process; true when it exits with 0 within the time
// limit (a read that blocks forever is killed and counts as a failure).
bool finishesInTime(const std::function<int()>& body, std::chrono::milliseconds limit) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return false;
        }
        ::usleep(10000);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A settings file that is a named pipe, or a link to one, reads as empty
// without blocking, and is never written through.
TEST(IniStorageFailureTest, NamedPipeReadsAsEmptyAndIsNeverWritten) {
    for (const bool viaLink : {false, true}) {
        SCOPED_TRACE(viaLink ? "link to a pipe" : "pipe");
        test::TTempDir dir;
        const std::string pipe = dir.file("pipe");
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        std::string file = pipe;
        if (viaLink) {
            file = dir.file("vantrix.ini");
            fs::create_symlink(pipe, file);
        }
        EXPECT_TRUE(finishesInTime(
            [&] {
                TLayoutManagerINIStorage storage;
                storage.SetFileName(file);
                if (storage.ReadInteger("Settings", "Units", 7) != 7) return 1;
                if (storage.SectionExists("Settings")) return 2;
                try {
                    storage.WriteInteger("Settings", "Units", 2);
                    return 3;
                } catch (const EIniFileException&) {
                }
                return 0;
            },
            std::chrono::seconds(10)));
        EXPECT_TRUE(fs::is_fifo(pipe));
    }
}

// Temporary files of writers that died mid-save go at the next start; those
// of a writer that still runs, and anything else in the folder, stay.
TEST(IniStorageFailureTest, StaleTempFilesOfDeadWritersAreRemoved) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    WriteWholeFile(file, kOriginal);
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);  // reaped: no process has this id now
    const std::string deadTemp = ".vantrix.ini.tmp-" + std::to_string(dead) + "-1f2e3d";
    const std::string liveTemp = ".vantrix.ini.tmp-" + std::to_string(::getpid()) + "-abc";
    const std::vector<std::string> kept{liveTemp, ".other.ini.tmp-" + std::to_string(dead) + "-1",
                                        ".vantrix.ini.tmp-x-1", "vantrix.ini"};
    for (const std::string& name : {deadTemp, liveTemp, kept[1], kept[2]}) WriteWholeFile(dir.file(name), "x");
    EXPECT_EQ(RemoveStaleTempFiles(file), 1);
    EXPECT_FALSE(fs::exists(dir.file(deadTemp)));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(dir.file(name))) << name;
    EXPECT_EQ(ReadWholeFile(file), kOriginal);
    EXPECT_EQ(RemoveStaleTempFiles(dir.file("missing/vantrix.ini")), 0);
}

}  // namespace
}  // namespace vx
