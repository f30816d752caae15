#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "netconfig/namespace_fixture.h"
#include "remote/exporter_scrape.h"
#include "remote/node_exporter_process.h"
#include "remote/remote_poller.h"

namespace vx {
namespace {

using test::TKernelLab;

// The real node_exporter, started by the test inside its network namespace
// and listening only on the namespace's address (10.200.0.1); the peer
// namespace sends it bounded UDP traffic over the veth pair. The scrape
// goes over loopback inside the namespace, so it does not move the veth's
// counters.
class ExporterKernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        VX_REQUIRE_KERNEL_LAB();
        if (!test::TNodeExporterProcess::Installed())
            GTEST_SKIP() << "prometheus-node-exporter is not installed; skipped";
        host = FExporter.Host();
        start();
    }
    void TearDown() override { stop(); }

    void start() { FExporter.Start(); }
    void stop() { FExporter.Stop(); }
    static std::uint64_t sysfsCounter(const std::string& name) {
        std::ifstream in("/sys/class/net/vxa/statistics/" + name);
        std::uint64_t value = 0;
        in >> value;
        return value;
    }
    static const TRemoteInterface* find(const TScrapeResult& r, const std::string& device) {
        for (const auto& i : r.Reading.Interfaces)
            if (i.Device == device) return &i;
        return nullptr;
    }

    test::TNodeExporterProcess FExporter;
    TRemoteHost host;
};

TEST_F(ExporterKernelTest, TotalsAreTheNamespacesOwn) {
    ASSERT_TRUE(TKernelLab::PeerSendsUdp(200, 1200));
    TKernelLab::SendUdpToPeer(100, 800);
    // The counters are still when two readings of them agree around a scrape.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const std::uint64_t rx = sysfsCounter("rx_bytes"), tx = sysfsCounter("tx_bytes");
        const TScrapeResult r = ScrapeExporter(host);
        ASSERT_TRUE(r.Ok) << r.Error;
        EXPECT_TRUE(r.Filtered);
        if (rx != sysfsCounter("rx_bytes") || tx != sysfsCounter("tx_bytes")) continue;
        const TRemoteInterface* vxa = find(r, "vxa");
        ASSERT_TRUE(vxa);
        EXPECT_EQ(vxa->Received, rx);
        EXPECT_EQ(vxa->Sent, tx);
        EXPECT_GE(vxa->Received, 200u * 1200);
        EXPECT_EQ(vxa->Up, true);
        return;
    }
    FAIL() << "the interface's counters never stood still";
}

// A stopped exporter is an error, not zero traffic; started again, it
// reads again.
TEST_F(ExporterKernelTest, StoppedAndStartedAgain) {
    ASSERT_TRUE(ScrapeExporter(host).Ok);
    stop();
    const TScrapeResult gone = ScrapeExporter(host);
    EXPECT_FALSE(gone.Ok);
    EXPECT_FALSE(gone.Error.empty());
    EXPECT_TRUE(gone.Reading.Interfaces.empty());
    start();
    const TScrapeResult back = ScrapeExporter(host);
    EXPECT_TRUE(back.Ok) << back.Error;
}

// Polled at 0.5 s: the exporter stopped shows as unreachable within two
// periods, and started again it is reached again by itself.
TEST_F(ExporterKernelTest, APolledHostGoesAndComesBack) {
    using namespace std::chrono_literals;
    TRemotePoller poller({host}, 500ms);
    const auto waitFor = [&](auto condition, std::chrono::milliseconds limit) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (!condition(poller.State(0)) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(20ms);
        return condition(poller.State(0));
    };
    ASSERT_TRUE(waitFor([](const TRemoteState& s) { return s.Reached; }, 5000ms));
    EXPECT_FALSE(poller.State(0).Reading.Interfaces.empty());
    stop();
    const auto stopped = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitFor([](const TRemoteState& s) { return !s.Reached; }, 5000ms));
    // Two periods, and a margin for a busy machine.
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 1000ms + 1500ms);
    EXPECT_FALSE(poller.State(0).Error.empty());
    start();
    EXPECT_TRUE(waitFor([](const TRemoteState& s) { return s.Reached; }, 5000ms)) << poller.State(0).Error;
}

}  // namespace
}  // namespace vx
