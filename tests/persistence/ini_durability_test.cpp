// A settings writer killed at random moments: the file on disk always holds
// one whole save, and the next start clears what the killed writer left.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "persistence/ini_document.h"
#include "persistence/ini_file.h"
#include "persistence/ini_storage.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSections[] = {"Twnd_vx_Main", "Twnd_vx_Main\\Tree", "Settings"};
constexpr int kKeys = 8;

// One whole save as the layout manager makes it: each section opened,
// written and closed in turn, all inside one update.
[[noreturn]] void saveForever(const std::string& file) {
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);
    for (long generation = 1;; ++generation) {
        storage.BeginUpdate();
        for (const char* section : kSections) {
            storage.Open(false);
            for (int k = 0; k < kKeys; ++k) storage.WriteInteger(section, "Key" + std::to_string(k), generation);
            storage.Close();
        }
        storage.EndUpdate(true);
    }
}

TEST(IniDurabilityTest, KilledWritersLeaveOneWholeSave) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> delayUs(0, 15000);
    int wholeSaves = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) saveForever(file);
        // The first writer is given its first whole save, however busy the
        // machine: the kills that count are those that land mid-save.
        for (int wait = 0; kill == 0 && wait < 10000 && !fs::exists(file); ++wait) ::usleep(1000);
        ::usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        if (!fs::exists(file)) continue;  // killed before its first save
        const TIniDocument doc(test::ReadWholeFile(file));
        const auto first = doc.value(kSections[0], "Key0");
        ASSERT_TRUE(first.has_value()) << "kill " << kill;
        for (const char* section : kSections)
            for (int k = 0; k < kKeys; ++k)
                ASSERT_EQ(doc.value(section, "Key" + std::to_string(k)), first)
                    << "kill " << kill << ": " << section << " Key" << k << " is from another save";
        ++wholeSaves;

        RemoveStaleTempFiles(file);  // what the next start does
        for (const auto& entry : fs::directory_iterator(dir.path()))
            ASSERT_EQ(entry.path().filename(), "vantrix.ini") << "left behind: " << entry.path();
    }
    EXPECT_GT(wholeSaves, 150);
}

}  // namespace
}  // namespace vx
