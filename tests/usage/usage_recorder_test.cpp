// The recorder over a scripted kernel and clock: history across restarts,
// allowance warnings once each, a damaged history never fatal.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <filesystem>

#include "support/temp_dir.h"
#include "usage/scripted_counter_source.h"
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
        state_->readings = {{2, "hw:00:16:3e:00:00:01", "eth0", {0, 0}}};
    }
    void TearDown() override {
        ::unsetenv("TZ");
        ::tzset();
    }
    std::unique_ptr<TUsageRecorder> recorder() {
        return std::make_unique<TUsageRecorder>(path_, std::make_unique<test::TScriptedCounterSource>(state_),
                                                [this] { return now_; });
    }
    void count(std::uint64_t rx, std::uint64_t tx) {
        state_->readings[0].Counters.Received += rx;
        state_->readings[0].Counters.Sent += tx;
    }
    TUsageBytes usedOn(TUsageRecorder& r, int day) {
        return r.Store().Sum(r.Store().Interfaces().at(0).Id, day, AddDays(day, 1));
    }

    test::TTempDir dir_;
    std::string path_ = dir_.file("vantrix.usage.sqlite");
    std::shared_ptr<test::TScriptedCounterSource::State> state_ = std::make_shared<test::TScriptedCounterSource::State>();
    std::time_t now_ = LocalMidnight(20261210) + 12 * 3600;
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
    now_ += 86400;
    {
        auto r = recorder();
        r->Start(3600000);
        EXPECT_EQ(usedOn(*r, 20261210).Total(), 1255u);
        EXPECT_EQ(usedOn(*r, 20261211).Total(), 7700u);  // booked on the day of the start
    }
    state_->bootId = "boot-2";  // the machine restarted; the counters start again
    state_->readings[0].Counters = {300, 30};
    {
        auto r = recorder();
        r->Start(3600000);
        EXPECT_EQ(usedOn(*r, 20261211).Total(), 7700u);
        count(10, 0);
        r->Record();
        EXPECT_EQ(usedOn(*r, 20261211).Total(), 7710u);
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
    now_ = LocalMidnight(20270101) + 3600;
    count(9 * kGB, 0);
    r->Record();
    ASSERT_EQ(again.count(), 1);
    EXPECT_EQ(again.at(0).at(1).toInt(), 80);
}

TEST_F(UsageRecorderTest, ADamagedHistoryIsReportedOnceAndRecordingGoesOn) {
    test::WriteWholeFile(path_, std::string(4096, '\x13'));
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
    std::filesystem::create_directories(path_);  // a folder in the file's place
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
    state_->fails = true;
    count(500, 0);
    r->Record();
    state_->fails = false;
    r->Record();
    EXPECT_EQ(usedOn(*r, 20261210).Received, 500u);
}

TEST(UsageDatabasePathTest, BesideTheSettingsFile) {
    EXPECT_EQ(UsageDatabasePathFor("/media/stick/vantrix.ini"), "/media/stick/vantrix.usage.sqlite");
    EXPECT_EQ(UsageDatabasePathFor("/home/u/.config/V/V/vantrix.bin.ini"), "/home/u/.config/V/V/vantrix.bin.usage.sqlite");
}

}  // namespace
}  // namespace vx
