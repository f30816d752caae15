// Booked traffic is the counters' honest difference: no phantom bytes
// from resets, re-created interfaces or restarts of the machine.
#include <gtest/gtest.h>

#include "usage/usage_accountant.h"

namespace vx {
namespace {

TUsageReading reading(std::uint32_t index, const std::string& name, std::uint64_t rx, std::uint64_t tx,
                      const std::string& key = {}) {
    return {index, key.empty() ? "name:" + name : key, name, {rx, tx}};
}

// A remote host's interface: its restarts are not known.
TUsageReading remote(TUsageReading r) {
    r.CatchUp = false;
    return r;
}

TUsageBytes booked(const TUsageAccountant& a, const std::string& key, int day) {
    const auto it = a.Pending().Increments.find({key, day});
    return it == a.Pending().Increments.end() ? TUsageBytes{} : it->second;
}

TEST(UsageAccountantTest, DifferencesAreBookedOnTheDayOfReading) {
    TUsageAccountant a("boot", {});
    a.Account({reading(2, "eth0", 1000, 100)}, 20261209);  // the first reading is a baseline
    EXPECT_TRUE(a.Pending().Increments.empty());
    a.Account({reading(2, "eth0", 1500, 160)}, 20261209);
    a.Account({reading(2, "eth0", 1600, 170)}, 20261210);
    EXPECT_EQ(booked(a, "name:eth0", 20261209).Received, 500u);
    EXPECT_EQ(booked(a, "name:eth0", 20261209).Sent, 60u);
    EXPECT_EQ(booked(a, "name:eth0", 20261210).Total(), 110u);
    a.Committed();
    EXPECT_TRUE(a.Pending().Increments.empty());
    a.Account({reading(2, "eth0", 1700, 170)}, 20261210);
    EXPECT_EQ(booked(a, "name:eth0", 20261210).Received, 100u);  // from the last reading, not the last write
    ASSERT_EQ(a.Pending().Baselines.size(), 1u);
    EXPECT_EQ(a.Pending().Baselines[0].Counters.Received, 1700u);
    EXPECT_EQ(a.Pending().Baselines[0].BootId, "boot");
}

TEST(UsageAccountantTest, NoPhantomTrafficWhereTheCountersDoNotContinue) {
    struct Case {
        const char* what;
        TUsageReading next;
        std::uint64_t expect;  // booked by the reading after `next`, of 100 more each way
    } cases[] = {
        {"received counter reset", reading(2, "eth0", 10, 5000), 200},
        {"sent counter reset", reading(2, "eth0", 9000, 3), 200},
        {"interface re-created with a new index", reading(7, "eth0", 9000, 9000), 200},
        {"steady", reading(2, "eth0", 9000, 9000), 8000 + 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TUsageAccountant a("boot", {});
        a.Account({reading(2, "eth0", 5000, 5000)}, 20261210);
        a.Account({c.next}, 20261210);
        if (std::string(c.what) != "steady") {
            EXPECT_EQ(booked(a, "name:eth0", 20261210).Total(), 0u);
        }
        TUsageReading after = c.next;
        after.Counters.Received += 100;
        after.Counters.Sent += 100;
        a.Account({after}, 20261210);
        EXPECT_EQ(booked(a, "name:eth0", 20261210).Total(), c.expect);
    }
}

TEST(UsageAccountantTest, TrafficWhileClosedIsCaughtUpOnlyWithinTheSameBoot) {
    const std::vector<TUsageBaseline> kept = {{"name:eth0", 2, "boot-a", {1000, 1000}}};
    struct Case {
        const char* what;
        std::string bootNow;
        TUsageReading first;
        std::uint64_t expect;
    } cases[] = {
        {"same boot, same index", "boot-a", reading(2, "eth0", 4000, 1500), 3500},
        {"after a reboot", "boot-b", reading(2, "eth0", 4000, 1500), 0},
        {"boot unknown", "", reading(2, "eth0", 4000, 1500), 0},
        {"same boot, interface re-created", "boot-a", reading(9, "eth0", 4000, 1500), 0},
        {"same boot, counters reset", "boot-a", reading(2, "eth0", 400, 1500), 0},
        {"another machine's interface", "boot-a", remote(reading(2, "eth0", 4000, 1500)), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TUsageAccountant a(c.bootNow, kept);
        a.Account({c.first}, 20261210);
        EXPECT_EQ(booked(a, "name:eth0", 20261210).Total(), c.expect);
        // The catch-up happens once: the next reading counts from here.
        TUsageReading later = c.first;
        later.Counters.Received += 10;
        a.Account({later}, 20261210);
        EXPECT_EQ(booked(a, "name:eth0", 20261210).Total(), c.expect + 10);
    }
}

TEST(UsageAccountantTest, ARenameKeepsCountingUnderTheSameKey) {
    TUsageAccountant a("boot", {});
    const std::string key = "hw:52:54:00:12:34:56";
    a.Account({reading(3, "eth0", 100, 100, key)}, 20261210);
    a.Account({reading(3, "lan0", 300, 100, key)}, 20261210);
    EXPECT_EQ(booked(a, key, 20261210).Received, 200u);
    EXPECT_EQ(a.Pending().Names.at(key), "lan0");
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// The uplink total's history: what the physical interfaces book goes into
// it too, once; virtual interfaces' traffic (which passed a card already)
// does not; a reset card adds no phantom bytes to it either.
TEST(UsageAccountantTest, ThePhysicalInterfacesTrafficIsBookedOnTheUplinkTotal) {
    auto physical = [](std::uint32_t index, const std::string& name, std::uint64_t rx, std::uint64_t tx) {
        TUsageReading r = reading(index, name, rx, tx);
        r.Physical = true;
        return r;
    };
    TUsageAccountant a("boot", {});
    a.Account({physical(2, "eth0", 1000, 100), physical(3, "wlan0", 0, 0), reading(9, "br0", 0, 0)}, 20261211);
    a.Account({physical(2, "eth0", 1500, 160), physical(3, "wlan0", 300, 30), reading(9, "br0", 800, 90)}, 20261211);
    EXPECT_EQ(booked(a, kUplinkUsageKey, 20261211).Received, 800u);
    EXPECT_EQ(booked(a, kUplinkUsageKey, 20261211).Sent, 90u);
    EXPECT_EQ(a.Pending().Names.at(kUplinkUsageKey), "All physical");
    a.Account({physical(2, "eth0", 10, 10), physical(3, "wlan0", 400, 40), reading(9, "br0", 900, 100)}, 20261211);
    EXPECT_EQ(booked(a, kUplinkUsageKey, 20261211).Total(), 800u + 90u + 110u);  // eth0 reset: nothing from it
    for (const TUsageBaseline& b : a.Pending().Baselines) EXPECT_NE(b.Key, kUplinkUsageKey);  // a sum, no counter
}

}  // namespace
}  // namespace vx
