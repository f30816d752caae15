#include <gtest/gtest.h>

#include "remote/exporter_reading.h"

namespace vx {
namespace {

TExporterReading read(std::string_view text, std::size_t maxInterfaces = 4096) {
    return ReadExporterPage(ParsePromText(text, ExporterMetricNames()), maxInterfaces);
}

// node_exporter's own page (abridged): both counters, state and speed.
TEST(ExporterReadingTest, InterfacesOfANodeExporterPage) {
    const auto r = read(
        "# HELP node_network_receive_bytes_total Network device statistic receive_bytes.\n"
        "# TYPE node_network_receive_bytes_total counter\n"
        "node_network_receive_bytes_total{device=\"eth0\"} 4.5095179e+08\n"
        "node_network_receive_bytes_total{device=\"lo\"} 1234\n"
        "node_network_receive_packets_total{device=\"eth0\"} 99\n"
        "node_network_transmit_bytes_total{device=\"eth0\"} 1.2e+07\n"
        "node_network_transmit_bytes_total{device=\"lo\"} 1234\n"
        "node_network_up{device=\"eth0\"} 1\n"
        "node_network_up{device=\"lo\"} 0\n"
        "node_network_speed_bytes{device=\"eth0\"} 1.25e+08\n"
        "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\"} 5\n");
    ASSERT_EQ(r.Interfaces.size(), 2u);
    const TRemoteInterface& eth = r.Interfaces[0];
    EXPECT_EQ(eth.Device, "eth0");
    EXPECT_EQ(eth.Received, 450951790u);
    EXPECT_EQ(eth.Sent, 12000000u);
    EXPECT_EQ(eth.Up, true);
    EXPECT_EQ(eth.SpeedBitsPerSecond, 1000000000u);
    EXPECT_EQ(r.Interfaces[1].Device, "lo");
    EXPECT_EQ(r.Interfaces[1].Up, false);
    EXPECT_FALSE(r.Interfaces[1].SpeedBitsPerSecond);
    EXPECT_EQ(r.InvalidSeries + r.DuplicateSeries + r.BadLines, 0u);
}

// What each hostile or odd series does to the reading.
TEST(ExporterReadingTest, OddSeries) {
    const struct {
        const char* what;
        const char* page;
        std::size_t interfaces, invalid, duplicates;
    } cases[] = {
        {"negative counter", "node_network_receive_bytes_total{device=\"a\"} -5\n"
                             "node_network_transmit_bytes_total{device=\"a\"} 5\n", 0, 1, 0},
        {"NaN counter", "node_network_receive_bytes_total{device=\"a\"} NaN\n"
                        "node_network_transmit_bytes_total{device=\"a\"} 5\n", 0, 1, 0},
        {"infinite counter", "node_network_receive_bytes_total{device=\"a\"} +Inf\n"
                             "node_network_transmit_bytes_total{device=\"a\"} 5\n", 0, 1, 0},
        {"beyond 2^64", "node_network_receive_bytes_total{device=\"a\"} 1.9e19\n"
                        "node_network_transmit_bytes_total{device=\"a\"} 5\n", 0, 1, 0},
        {"duplicate series: the first counts", "node_network_receive_bytes_total{device=\"a\"} 7\n"
                                               "node_network_receive_bytes_total{device=\"a\"} 1\n"
                                               "node_network_transmit_bytes_total{device=\"a\"} 5\n", 1, 0, 1},
        {"one counter only", "node_network_receive_bytes_total{device=\"a\"} 7\n", 0, 0, 0},
        {"no device label", "node_network_receive_bytes_total{interface=\"a\"} 7\n"
                            "node_network_transmit_bytes_total{interface=\"a\"} 7\n", 0, 0, 0},
    };
    for (const auto& c : cases) {
        const auto r = read(c.page);
        EXPECT_EQ(r.Interfaces.size(), c.interfaces) << c.what;
        EXPECT_EQ(r.InvalidSeries, c.invalid) << c.what;
        EXPECT_EQ(r.DuplicateSeries, c.duplicates) << c.what;
    }
    EXPECT_EQ(read("node_network_receive_bytes_total{device=\"a\"} 7\n"
                   "node_network_receive_bytes_total{device=\"a\"} 1\n"
                   "node_network_transmit_bytes_total{device=\"a\"} 5\n")
                  .Interfaces[0]
                  .Received,
              7u);
}

// Floats are exact up to 2^53; above, the integer the float names is kept.
TEST(ExporterReadingTest, LargeCountersKeepTheFloatsInteger) {
    EXPECT_EQ(CounterValue(9007199254740992.0), 9007199254740992u);  // 2^53
    EXPECT_EQ(CounterValue(1.8446744073709550e19), 18446744073709549568u);
    EXPECT_FALSE(CounterValue(18446744073709551616.0));  // 2^64
    EXPECT_EQ(CounterValue(12.75), 12u);
    EXPECT_FALSE(CounterValue(-0.5));
}

TEST(ExporterReadingTest, KeepsAtMostTheLimitOfInterfaces) {
    std::string page;
    for (int i = 0; i < 50; ++i) {
        page += "node_network_receive_bytes_total{device=\"v" + std::to_string(i) + "\"} 1\n";
        page += "node_network_transmit_bytes_total{device=\"v" + std::to_string(i) + "\"} 2\n";
    }
    const auto r = read(page, 10);
    EXPECT_EQ(r.Interfaces.size(), 10u);
    EXPECT_TRUE(r.Truncated);
    EXPECT_EQ(r.Interfaces.back().Device, "v9");
}

}  // namespace
}  // namespace vx
