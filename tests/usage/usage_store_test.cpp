// The usage history on disk: what goes in comes out, across reopening;
// files that are not a readable history are never fatal.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"
#include "usage/usage_store.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

TUsageBatch batchOf(const std::string& key, const std::string& name, int day, std::uint64_t rx, std::uint64_t tx) {
    TUsageBatch b;
    b.Names[key] = name;
    b.Increments[{key, day}] = {rx, tx};
    b.Baselines.push_back({key, 3, "boot-1", {rx * 10, tx * 10}});
    return b;
}

class UsageStoreTest : public ::testing::Test {
protected:
    std::string path() const { return dir_.file("cfg/vantrix.usage.sqlite"); }
    std::vector<fs::path> filesLike(const std::string& part) const {
        std::vector<fs::path> out;
        for (const auto& e : fs::directory_iterator(dir_.path() / "cfg"))
            if (e.path().filename().string().find(part) != std::string::npos) out.push_back(e.path());
        return out;
    }
    test::TTempDir dir_;
};

TEST_F(UsageStoreTest, DaysAddUpAndSurviveReopening) {
    {
        TUsageStore store;
        ASSERT_TRUE(store.Open(path())) << store.Problem();  // its folder is made
        ASSERT_TRUE(store.Commit(batchOf("hw:00:11:22:33:44:55", "eth0", 20261130, 100, 10)));
        ASSERT_TRUE(store.Commit(batchOf("hw:00:11:22:33:44:55", "eth0", 20261201, 200, 20)));
        ASSERT_TRUE(store.Commit(batchOf("hw:00:11:22:33:44:55", "eth0", 20261201, 5, 1)));
        ASSERT_TRUE(store.Commit(batchOf("name:wg0", "wg0", 20261201, 7, 7)));
    }
    TUsageStore store;
    ASSERT_TRUE(store.Open(path()));
    EXPECT_TRUE(store.Problem().empty());
    const auto interfaces = store.Interfaces();
    ASSERT_EQ(interfaces.size(), 2u);
    EXPECT_EQ(interfaces[0].Name, "eth0");
    const std::int64_t eth0 = interfaces[0].Id;
    EXPECT_EQ(store.Sum(eth0, 20261201, 20261202).Received, 205u);
    EXPECT_EQ(store.Sum(eth0, 20261201, 20261202).Sent, 21u);
    EXPECT_EQ(store.Sum(eth0, 0, 99999999).Total(), 336u);
    const auto days = store.Days(eth0, 20261101, 20270101);
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].Day, 20261130);
    const auto months = store.Months(eth0, 20260101, 20270101);
    ASSERT_EQ(months.size(), 2u);
    EXPECT_EQ(months[0].Day, 202611);
    EXPECT_EQ(months[1].Bytes.Received, 205u);
    const auto baselines = store.Baselines("boot-1");
    ASSERT_EQ(baselines.size(), 2u);
    EXPECT_EQ(baselines[0].BootId, "boot-1");
    // After a restart they are of no use: dropped, not carried along.
    EXPECT_TRUE(store.Baselines("boot-2").empty());
    EXPECT_TRUE(store.Baselines("boot-1").empty());
}

TEST_F(UsageStoreTest, ARenamedInterfaceKeepsItsHistory) {
    TUsageStore store;
    ASSERT_TRUE(store.Open(path()));
    ASSERT_TRUE(store.Commit(batchOf("hw:00:11:22:33:44:55", "eth0", 20261209, 1000, 100)));
    ASSERT_TRUE(store.Commit(batchOf("hw:00:11:22:33:44:55", "lan0", 20261210, 500, 50)));
    const auto interfaces = store.Interfaces();
    ASSERT_EQ(interfaces.size(), 1u);
    EXPECT_EQ(interfaces[0].Name, "lan0");
    EXPECT_EQ(store.Sum(interfaces[0].Id, 0, 99999999).Total(), 1650u);
}

TEST_F(UsageStoreTest, CountersBeyondTheSignedRangeComeBackWhole) {
    TUsageStore store;
    ASSERT_TRUE(store.Open(path()));
    TUsageBatch b = batchOf("name:x", "x", 20261210, 1, 1);
    b.Baselines[0].Counters = {0xFFFFFFFFFFFFFFF0ull, 0x8000000000000001ull};
    ASSERT_TRUE(store.Commit(b));
    EXPECT_EQ(store.Baselines("boot-1")[0].Counters.Received, 0xFFFFFFFFFFFFFFF0ull);
    EXPECT_EQ(store.Baselines("boot-1")[0].Counters.Sent, 0x8000000000000001ull);
}

TEST_F(UsageStoreTest, AllowancesAndNotificationsAreKept) {
    TUsageStore store;
    ASSERT_TRUE(store.Open(path()));
    ASSERT_TRUE(store.Commit(batchOf("name:eth0", "eth0", 20261210, 1, 1)));
    const std::int64_t id = store.Interfaces()[0].Id;
    ASSERT_TRUE(store.SetAllowance(id, 50.5, 31));
    ASSERT_TRUE(store.SetNotified(id, 20261130, 80));
    store.Close();
    ASSERT_TRUE(store.Open(path()));
    const auto i = store.Interface(id);
    ASSERT_TRUE(i);
    EXPECT_DOUBLE_EQ(i->AllowanceGB, 50.5);
    EXPECT_EQ(i->BillingDay, 31);
    EXPECT_EQ(i->NotifiedPeriod, 20261130);
    EXPECT_EQ(i->NotifiedLevel, 80);
}

TEST_F(UsageStoreTest, ADamagedFileIsMovedAsideAndAFreshOneStarted) {
    fs::create_directories(dir_.path() / "cfg");
    struct Case {
        const char* what;
        std::string content;
    } cases[] = {
        {"garbage", std::string(8192, 'x')},
        {"a truncated database", "SQLite format 3" + std::string(1, '\0') + std::string(90, '\x7f')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteWholeFile(path(), c.content);
        TUsageStore store;
        ASSERT_TRUE(store.Open(path())) << store.Problem();
        ASSERT_FALSE(store.MovedAsideTo().empty());
        EXPECT_NE(store.Problem().find("moved to"), std::string::npos) << store.Problem();
        EXPECT_EQ(test::ReadWholeFile(store.MovedAsideTo()), c.content);  // kept as it was
        EXPECT_TRUE(store.Commit(batchOf("name:eth0", "eth0", 20261210, 1, 1)));
        store.Close();
        for (const fs::path& p : filesLike(".damaged-")) fs::remove(p);
    }
}

TEST_F(UsageStoreTest, DamageFoundLaterIsReportedForReopening) {
    {
        TUsageStore store;
        ASSERT_TRUE(store.Open(path()));
        TUsageBatch b;
        for (int d = 1; d <= 28; ++d)
            for (int i = 0; i < 40; ++i) {
                const std::string key = "name:if" + std::to_string(i);
                b.Names[key] = key.substr(5);
                b.Increments[{key, 20260200 + d}] = {1, 1};
            }
        ASSERT_TRUE(store.Commit(b));
        ASSERT_TRUE(store.Commit(batchOf("name:if0", "if0", 20260301, 1, 1)));  // the log is merged at close
    }
    // Overwrite the pages after the first: the header still reads.
    {
        std::fstream f(path(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(4096);
        const std::string junk(16384, '\x5a');
        f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    TUsageStore store;
    const bool opened = store.Open(path());
    if (opened && store.MovedAsideTo().empty()) {
        store.Days(1, 0, 99999999);
        store.Interfaces();
        EXPECT_TRUE(store.FoundDamage());
        ASSERT_TRUE(store.Open(path()));
    }
    EXPECT_FALSE(store.MovedAsideTo().empty());
    EXPECT_TRUE(store.Interfaces().empty());
}

TEST_F(UsageStoreTest, NewerHistoriesAndUnopenablePathsAreLeftAlone) {
    {
        TUsageStore store;
        ASSERT_TRUE(store.Open(path()));
        ASSERT_TRUE(store.Commit(batchOf("name:eth0", "eth0", 20261210, 1, 1)));
    }
    // As a later version would leave it.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version=7", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    TUsageStore store;
    EXPECT_FALSE(store.Open(path()));
    EXPECT_NE(store.Problem().find("newer version"), std::string::npos);
    EXPECT_TRUE(filesLike(".damaged-").empty());
    EXPECT_FALSE(store.Commit(batchOf("name:eth0", "eth0", 20261210, 1, 1)));

    // A folder where the file should be.
    const std::string folder = dir_.file("cfg/folder.sqlite");
    fs::create_directories(folder);
    TUsageStore other;
    EXPECT_FALSE(other.Open(folder));
    EXPECT_FALSE(other.Problem().empty());
    EXPECT_TRUE(fs::is_directory(folder));
}

}  // namespace
}  // namespace vx
