// The recorder over a scripted kernel and clock: history across restarts,
// allowance warnings once each, a damaged history never fatal.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

#include <QSignalSpy>
#include <cstdlib>
#include <functional>
#include <filesystem>

#include "support/temp_dir.h"
#include "support/fake_link_source.h"
#include "usage/usage_day.h"
#include "usage/usage_recorder.h"

namespace vx {
namespace {

constexpr std::uint64_t kGB = 1073741824ull;

class UsageRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        FLinks->AddLink(2, "eth0").PermAddress = {0x00, 0x16, 0x3e, 0x00, 0x00, 0x01};
        test::WriteWholeFile(bootFile_, "boot-1\n");
    }
    void TearDown() override {
        ::unsetenv("TZ");
        ::tzset();
    }
    std::unique_ptr<TUsageRecorder> recorder() {
        return std::make_unique<TUsageRecorder>(FPath, std::make_unique<TUsageCounterSource>(FLinks, bootFile_),
                                                [this] { return FNow; });
    }
    void count(std::uint64_t rx, std::uint64_t tx) {
        FLinks->AddTraffic(2, rx, tx);
    }
    TUsageBytes usedOn(TUsageRecorder& r, int day) {
        return r.Store().Sum(r.Store().Interfaces().at(0).Id, day, AddDays(day, 1));
    }

    test::TTempDir dir_;
    std::string FPath = dir_.file("vantrix.usage.sqlite");
    test::TTempDir bootDir_;
    std::string bootFile_ = bootDir_.file("boot_id");
    std::shared_ptr<test::TFakeLinkSource> FLinks = std::make_shared<test::TFakeLinkSource>();
    std::time_t FNow = LocalMidnight(20261210) + 12 * 3600;
};

TEST_F(UsageRecorderTest, HistoryAndCatchUpAcrossRestarts) {
    {
        auto r = recorder();
        r->Start(3600000);
        count(1000, 200);
        r->Record();
        EXPECT_EQ(usedOn(*r, 20261210).Received, 1000u);
        count(50, 5);  // counted in the last write at the end
        r->Flush();
    }
    count(7000, 700);  // while the program was closed
    FNow += 86400;
    {
        auto r = recorder();
        r->Start(3600000);
        EXPECT_EQ(usedOn(*r, 20261210).Total(), 1255u);
        EXPECT_EQ(usedOn(*r, 20261211).Total(), 7700u);  // booked on the day of the start
    }
    test::WriteWholeFile(bootFile_, "boot-2\n");  // the machine restarted; the counters start again
    FLinks->SetCounters(2, 300, 30);
    {
        auto r = recorder();
        r->Start(3600000);
        EXPECT_EQ(usedOn(*r, 20261211).Total(), 7700u);
        count(10, 0);
        r->Record();
        EXPECT_EQ(usedOn(*r, 20261211).Total(), 7710u);
    }
}

// Remote hosts' interfaces are kept under host and device beside the local
// ones; a host not reached books nothing and loses nothing; a new run
// guesses nothing of what passed while the program was closed.
TEST_F(UsageRecorderTest, RemoteInterfacesAreKeptByHostAndDevice) {
    auto nas = std::make_shared<test::TFakeLinkSource>();
    nas->AddLink(1, "eth0");
    nas->SetCounters(1, 5000, 500);
    const auto usedBy = [](TUsageRecorder& r, const std::string& key) {
        for (const TUsageInterface& i : r.Store().Interfaces())
            if (i.Key == key) return std::pair{i.Name, r.Store().Sum(i.Id, 20261210, 20261211)};
        return std::pair{std::string(), TUsageBytes{}};
    };
    {
        auto r = recorder();
        r->CounterSource().SetRemoteLinks({{"NAS", nas}});
        r->Start(3600000);
        nas->AddTraffic(1, 300, 30);
        count(1000, 0);
        r->Record();
        EXPECT_EQ(usedBy(*r, "remote:NAS/eth0"), (std::pair{std::string("NAS: eth0"), TUsageBytes{300, 30}}));
        EXPECT_EQ(usedOn(*r, 20261210).Received, 1000u);  // the local interface as before
        nas->failWith["Counters"] = std::make_error_code(std::errc::host_unreachable);
        nas->AddTraffic(1, 40, 4);
        r->Record();
        EXPECT_EQ(usedBy(*r, "remote:NAS/eth0").second, (TUsageBytes{300, 30}));
        nas->failWith.clear();
        r->Record();  // back: what passed meanwhile is the counters' difference
        EXPECT_EQ(usedBy(*r, "remote:NAS/eth0").second, (TUsageBytes{340, 34}));
        r->Flush();
    }
    nas->AddTraffic(1, 7000, 700);  // while the program was closed
    {
        auto r = recorder();
        r->CounterSource().SetRemoteLinks({{"NAS", nas}});
        r->Start(3600000);
        EXPECT_EQ(usedBy(*r, "remote:NAS/eth0").second, (TUsageBytes{340, 34}));
        nas->AddTraffic(1, 1, 1);
        r->Record();
        EXPECT_EQ(usedBy(*r, "remote:NAS/eth0").second, (TUsageBytes{341, 35}));
    }
}

TEST_F(UsageRecorderTest, AllowanceWarnsOnceAt80AndOnceAt100PerPeriod) {
    auto r = recorder();
    QSignalSpy reached(r.get(), &TUsageRecorder::AllowanceReached);
    r->Start(3600000);
    count(1, 0);
    r->Record();
    const std::int64_t id = r->Store().Interfaces().at(0).Id;
    ASSERT_TRUE(r->Store().SetAllowance(id, 10, 1));
    count(7 * kGB, 0);
    r->Record();
    EXPECT_EQ(reached.count(), 0);
    count(kGB, 0);  // 8 GB and a byte: 80 %
    r->Record();
    ASSERT_EQ(reached.count(), 1);
    EXPECT_EQ(reached.at(0).at(0).toString(), "eth0");
    EXPECT_EQ(reached.at(0).at(1).toInt(), 80);
    count(kGB, 0);
    r->Record();
    EXPECT_EQ(reached.count(), 1);
    count(kGB, 0);
    r->Record();
    ASSERT_EQ(reached.count(), 2);
    EXPECT_EQ(reached.at(1).at(1).toInt(), 100);
    r.reset();

    // A restart in the same period says nothing again.
    r = recorder();
    QSignalSpy again(r.get(), &TUsageRecorder::AllowanceReached);
    r->Start(3600000);
    count(kGB, 0);
    r->Record();
    EXPECT_EQ(again.count(), 0);
    // The next period starts from nothing.
    FNow = LocalMidnight(20270101) + 3600;
    count(9 * kGB, 0);
    r->Record();
    ASSERT_EQ(again.count(), 1);
    EXPECT_EQ(again.at(0).at(1).toInt(), 80);
}

TEST_F(UsageRecorderTest, ADamagedHistoryIsReportedOnceAndRecordingGoesOn) {
    test::WriteWholeFile(FPath, std::string(4096, '\x13'));
    auto r = recorder();
    QSignalSpy problem(r.get(), &TUsageRecorder::Problem);
    r->Start(3600000);
    ASSERT_EQ(problem.count(), 1);
    EXPECT_TRUE(problem.at(0).at(0).toString().contains("moved to"));
    count(10, 10);
    r->Record();
    EXPECT_EQ(usedOn(*r, 20261210).Total(), 20u);
    EXPECT_EQ(problem.count(), 1);
}

TEST_F(UsageRecorderTest, AnUnusableLocationIsReportedOnceAndNothingBreaks) {
    std::filesystem::create_directories(FPath);  // a folder in the file's place
    auto r = recorder();
    QSignalSpy problem(r.get(), &TUsageRecorder::Problem);
    r->Start(3600000);
    count(10, 10);
    r->Record();
    r->Flush();
    EXPECT_EQ(problem.count(), 1);
    EXPECT_TRUE(r->Store().Interfaces().empty());
}

TEST_F(UsageRecorderTest, WritesKeepWaitingWhileTheCountersCannotBeRead) {
    auto r = recorder();
    r->Start(3600000);
    FLinks->failWith["Counters"] = std::make_error_code(std::errc::no_buffer_space);
    count(500, 0);
    r->Record();
    FLinks->failWith.clear();
    r->Record();
    EXPECT_EQ(usedOn(*r, 20261210).Received, 500u);
}

// Two instances that both got past the single-instance check: one records,
// the other says so once and takes over when the first has ended; the
// history holds what the kernel counted, once.
TEST_F(UsageRecorderTest, TwoInstancesNeverBookTheSameBytesTwice) {
    auto first = recorder();
    auto second = recorder();
    QSignalSpy said(second.get(), &TUsageRecorder::Problem);
    first->Start(3600000);
    second->Start(3600000);
    for (int i = 0; i < 5; ++i) {
        count(1000, 100);
        first->Record();
        second->Record();
    }
    ASSERT_EQ(said.count(), 1);
    EXPECT_TRUE(said.at(0).at(0).toString().contains("Another Vantrix is recording")) << said.at(0).at(0).toString().toStdString();
    count(1000, 100);
    first->Flush();
    first.reset();
    count(1000, 100);  // while only the second runs
    second->Record();
    second->Flush();
    EXPECT_EQ(usedOn(*second, 20261210), (TUsageBytes{7000, 700}));
    EXPECT_EQ(said.count(), 1);
}

// The history's faults: each is said once (with the file and the reason),
// nothing is written meanwhile, the traffic of the time is written once
// the fault clears, and a failed open leaves no log behind.
TEST_F(UsageRecorderTest, FaultsAreSaidOnceAndRecordingResumesWhenTheyClear) {
    struct TFault {
        const char* name;
        const char* said;
        std::function<bool()> make;  // false: cannot be made here
        std::function<void()> clear;
    };
    const bool root = ::geteuid() == 0;
    sqlite3* holder = nullptr;
    const TFault faults[] = {
        {"a read-only file", "read-only",
         [&] {
             test::WriteWholeFile(FPath, "");
             // Root passes permissions: the file is made immutable instead.
             return root ? std::system(("chattr +i '" + FPath + "' 2>/dev/null").c_str()) == 0
                         : ::chmod(FPath.c_str(), 0444) == 0;
         },
         [&] {
             if (root) (void)!std::system(("chattr -i '" + FPath + "'").c_str());
             ::chmod(FPath.c_str(), 0600);
         }},
        {"another program's exclusive lock", "locked",
         [&] {
             if (sqlite3_open(FPath.c_str(), &holder) != SQLITE_OK) return false;
             return sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr) ==
                    SQLITE_OK;
         },
         [&] {
             sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
             sqlite3_close(holder);
             holder = nullptr;
         }},
    };
    for (const TFault& fault : faults) {
        std::filesystem::remove_all(dir_.path());
        std::filesystem::create_directories(dir_.path());
        FLinks->SetCounters(2, 0, 0);
        if (!fault.make()) {
            ADD_FAILURE() << "could not make " << fault.name;
            continue;
        }
        {
            auto r = recorder();
            QSignalSpy said(r.get(), &TUsageRecorder::Problem);
            r->Start(3600000);
            count(100, 10);
            r->Record();
            count(100, 10);
            r->Record();
            ASSERT_EQ(said.count(), 1) << fault.name;
            const std::string message = said.at(0).at(0).toString().toStdString();
            EXPECT_NE(message.find(FPath), std::string::npos) << fault.name << ": " << message;
            EXPECT_NE(message.find(fault.said), std::string::npos) << fault.name << ": " << message;
            if (!holder) {
                EXPECT_FALSE(std::filesystem::exists(FPath + "-wal")) << fault.name;
            }
            fault.clear();
            count(100, 10);
            r->Record();
            EXPECT_EQ(said.count(), 1) << fault.name;
            EXPECT_EQ(usedOn(*r, 20261210), (TUsageBytes{300, 30})) << fault.name;
        }
    }
}

// A disk that fills while Vantrix runs: said once as a full disk, and the
// traffic of the time is written when there is room again.
TEST_F(UsageRecorderTest, AFullDiskIsSaidAsSuchAndNothingIsLost) {
    if (::geteuid() != 0) GTEST_SKIP() << "a small file system of its own needs root";
    const std::filesystem::path small = dir_.path() / "small";
    std::filesystem::create_directories(small);
    if (std::system(("mount -t tmpfs -o size=512k tmpfs '" + small.string() + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    struct Unmount {
        std::filesystem::path at;
        ~Unmount() { (void)!std::system(("umount '" + at.string() + "'").c_str()); }
    } unmount{small};
    FPath = (small / "vantrix.usage.sqlite").string();
    auto r = recorder();
    QSignalSpy said(r.get(), &TUsageRecorder::Problem);
    r->Start(3600000);
    count(100, 10);
    r->Record();
    ASSERT_EQ(said.count(), 0);
    const std::string filler = (small / "filler").string();
    (void)!std::system(("dd if=/dev/zero of='" + filler + "' bs=4k 2>/dev/null").c_str());
    // Many interfaces at once: a write that needs new pages.
    for (int i = 0; i < 400; ++i)
        FLinks->AddLink(static_cast<std::uint32_t>(100 + i), "veth" + std::to_string(i));
    count(100, 10);
    r->Record();
    count(100, 10);
    r->Record();
    ASSERT_EQ(said.count(), 1);
    EXPECT_TRUE(said.at(0).at(0).toString().contains("the disk is full")) << said.at(0).at(0).toString().toStdString();
    std::filesystem::remove(filler);
    count(100, 10);
    r->Record();
    EXPECT_EQ(said.count(), 1);
    EXPECT_EQ(usedOn(*r, 20261210), (TUsageBytes{400, 40}));
}

// The history is the user's alone, with its log and index.
TEST_F(UsageRecorderTest, TheHistoryIsReadableByTheUserAlone) {
    auto r = recorder();
    r->Start(3600000);
    count(1, 1);
    r->Record();
    for (const std::string& file : {FPath, FPath + "-wal", FPath + "-shm"}) {
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0) << file;
        EXPECT_EQ(st.st_mode & 0777, 0600u) << file;
    }
}

TEST(UsageDatabasePathTest, BesideTheSettingsFile) {
    EXPECT_EQ(UsageDatabasePathFor("/media/stick/vantrix.ini"), "/media/stick/vantrix.usage.sqlite");
    EXPECT_EQ(UsageDatabasePathFor("/home/u/.config/V/V/vantrix.bin.ini"), "/home/u/.config/V/V/vantrix.bin.usage.sqlite");
}

}  // namespace
}  // namespace vx
