#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "persistence/ini_storage.h"
#include "shell/settings_location.h"
#include "support/temp_dir.h"
#include "sysinfo/version_info.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// A fake sysfs in which the device that holds the test's program file
// appears as the disk described by the test case.
struct FakeDisk {
    const char* name;
    std::optional<const char*> devicePath;  // under devices/; nothing: no block device at all
    bool partition;
    const char* removable;
    TMediaType type;
    bool portable;
};

void PrintTo(const FakeDisk& d, std::ostream* os) { *os << d.name; }

class SettingsLocationTest : public ::testing::TestWithParam<FakeDisk> {
protected:
    test::TTempDir dir;
    fs::path sys = dir.path() / "sys";
    std::string program;

    void SetUp() override {
        fs::create_directories(dir.path() / "stick");
        program = (dir.path() / "stick" / "vantrix").string();
        test::WriteWholeFile(program, "program");
        const FakeDisk& d = GetParam();
        fs::create_directories(sys / "dev" / "block");
        if (!d.devicePath) return;
        const fs::path disk = sys / "devices" / *d.devicePath / "block" / d.name;
        fs::create_directories(disk);
        test::WriteWholeFile(disk / "removable", std::string(d.removable) + "\n");
        fs::path target = disk;
        if (d.partition) {
            target = disk / (std::string(d.name) + "1");
            fs::create_directories(target);
            test::WriteWholeFile(target / "partition", "1\n");
        }
        struct stat st {};
        ASSERT_EQ(::stat(program.c_str(), &st), 0);
        const std::string number = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
        fs::create_symlink(fs::relative(target, sys / "dev" / "block"), sys / "dev" / "block" / number);
    }
};

TEST_P(SettingsLocationTest, DriveKindAndPortability) {
    const TStorageQuery query(sys);
    EXPECT_EQ(query.QueryDriveType(program), GetParam().type);
    EXPECT_EQ(query.IsPortableLocation(program), GetParam().portable);

    TVersionInfo version;
    version.CompanyName = "Maker";
    version.ProductName = "Vantrix";
    ::setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    TLayoutManagerINIStorage storage;
    AssignSettingsLocation(storage, program, version, query);
    const std::string expected = GetParam().portable ? (dir.path() / "stick" / "vantrix.ini").string()
                                                     : (dir.path() / "config" / "Maker" / "Vantrix" / "vantrix.ini").string();
    EXPECT_EQ(storage.FileName(), expected);
    EXPECT_FALSE(storage.Opened());
    EXPECT_FALSE(fs::exists(dir.path() / "config"));  // nothing is created at start-up
    EXPECT_FALSE(fs::exists(dir.path() / "stick" / "vantrix.ini"));
    ::unsetenv("XDG_CONFIG_HOME");
}

constexpr const char* kUsbPath = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";

INSTANTIATE_TEST_SUITE_P(
    Disks, SettingsLocationTest,
    ::testing::Values(
        FakeDisk{"sdb", kUsbPath, true, "1", TMediaType::dtRemovable, true},  // USB stick
        FakeDisk{"sdc", kUsbPath, true, "0", TMediaType::dtFixed, true},      // USB hard disk
        FakeDisk{"sda", "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0", true, "0", TMediaType::dtFixed,
                 false},                                                       // internal SATA disk
        FakeDisk{"nvme0n1", "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0", true, "0", TMediaType::dtFixed,
                 false},                                                       // internal NVMe disk
        FakeDisk{"sr0", kUsbPath, false, "1", TMediaType::dtCDROM, false},     // optical, even on USB
        FakeDisk{"mmcblk0", "platform/soc/mmc_host/mmc0/mmc0:0001", true, "1", TMediaType::dtRemovable,
                 true},                                                        // SD card
        FakeDisk{"none", std::nullopt, false, "0", TMediaType::dtRemote, false}),  // NFS, CIFS, FUSE
    [](const auto& p) { return std::string(p.param.name); });

TEST(SettingsLocationNamesTest, SettingsFileFollowsTheProgramFileName) {
    EXPECT_EQ(SettingsFileNameFor("/media/stick/vantrix"), "vantrix.ini");
    EXPECT_EQ(SettingsFileNameFor("/media/stick/meter.bin"), "meter.ini");
    EXPECT_EQ(SettingsFileNameFor("/opt/Vantrix.exe"), "Vantrix.ini");
}

TEST(SettingsLocationNamesTest, CopiedProgramDoesNotReadTheOldSettings) {
    test::TTempDir dir;
    const TStorageQuery noDisks(dir.path() / "nosys");
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    const std::string copy = dir.file("meter");
    test::WriteWholeFile(copy, "program");
    fs::create_directories(dir.path() / "M" / "P");
    test::WriteWholeFile(dir.path() / "M" / "P" / "vantrix.ini", "[Settings]\nUnits=1\n");
    TVersionInfo version;
    version.CompanyName = "M";
    version.ProductName = "P";
    TLayoutManagerINIStorage storage;
    AssignSettingsLocation(storage, copy, version, noDisks);
    EXPECT_EQ(storage.FileName(), (dir.path() / "M" / "P" / "meter.ini").string());
    EXPECT_EQ(storage.ReadInteger("Settings", "Units", 0), 0);
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsLocationNamesTest, ConfigFolderFromTheEnvironment) {
    const char* savedHome = std::getenv("HOME");
    const std::string home = savedHome ? savedHome : "";
    ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA), "/xdg/config");
    ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA), "/home/someone/.config");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA), "/home/someone/.config");
    EXPECT_EQ(GetSpecialFolderPath(5), "");
    if (savedHome) ::setenv("HOME", home.c_str(), 1);
}

TEST(SettingsLocationNamesTest, VolumeQueriesOnMissingThings) {
    const TStorageQuery query("/nonexistent-sys");
    EXPECT_EQ(query.QueryDriveType("/nonexistent/program"), TMediaType::dtNotExists);
    EXPECT_FALSE(query.OpenVolume("/nonexistent/program"));
    TDeviceInfo info;
    EXPECT_FALSE(query.QueryStorageBusType(TVolumeHandle{}, info));
    EXPECT_FALSE(query.IsPortableLocation("/nonexistent/program"));
}

// The real machine: whatever disk the test program is on, the query answers
// without failing, and a program on an internal disk is not portable.
TEST(SettingsLocationNamesTest, RealSysfsAnswers) {
    const TStorageQuery query;
    const TMediaType type = query.QueryDriveType(ProgramFileName());
    EXPECT_NE(type, TMediaType::dtNotExists);
    if (type == TMediaType::dtFixed) {
        const auto volume = query.OpenVolume(ProgramFileName());
        ASSERT_TRUE(volume);
        TDeviceInfo info;
        EXPECT_TRUE(query.QueryStorageBusType(*volume, info));
    }
}

}  // namespace
}  // namespace vx
