// The text exposition format as its documentation shows it, node_exporter's
// own lines, and what a broken or hostile page does.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "remote/prometheus_text.h"

namespace vx {
namespace {

// The documentation's example page, with node_exporter's lines added.
constexpr const char* kPage = R"(# HELP http_requests_total The total number of HTTP requests.
# TYPE http_requests_total counter
http_requests_total{method="post",code="200"} 1027 1395066363000
http_requests_total{method="post",code="400"}    3 1395066363000

# Escaping in label values:
msdos_file_access_time_seconds{path="C:\\DIR\\FILE.TXT",error="Cannot find file:\n\"FILE.TXT\""} 1.458255915e9

# Minimalistic line:
metric_without_timestamp_and_labels 12.47

# A weird metric from before the epoch:
something_weird{problem="division by zero"} +Inf -3982045

# TYPE node_network_receive_bytes_total counter
node_network_receive_bytes_total{device="eth0"} 4.5095179e+08
node_network_receive_bytes_total{device="lo",} 9.007199254740993e+15
	node_network_up{device="eth0"}	1
)";

TEST(PrometheusTextTest, TheDocumentedExamples) {
    const TPromPage page = ParsePromText(kPage);
    EXPECT_EQ(page.BadLines, 0u);
    ASSERT_EQ(page.Samples.size(), 8u);
    const TPromSample& first = page.Samples[0];
    EXPECT_EQ(first.Name, "http_requests_total");
    EXPECT_EQ(first.Label("method"), "post");
    EXPECT_EQ(first.Label("code"), "200");
    EXPECT_FALSE(first.Label("path"));
    EXPECT_EQ(first.Value, 1027);
    EXPECT_EQ(first.TimestampMs, 1395066363000);
    EXPECT_EQ(page.Samples[1].Value, 3);  // blanks between the parts

    const TPromSample& escaped = page.Samples[2];
    EXPECT_EQ(escaped.Label("path"), "C:\\DIR\\FILE.TXT");
    EXPECT_EQ(escaped.Label("error"), "Cannot find file:\n\"FILE.TXT\"");
    EXPECT_EQ(escaped.Value, 1.458255915e9);
    EXPECT_FALSE(escaped.TimestampMs);

    EXPECT_TRUE(page.Samples[3].Labels.empty());
    EXPECT_EQ(page.Samples[3].Value, 12.47);
    EXPECT_EQ(page.Samples[4].Value, std::numeric_limits<double>::infinity());
    EXPECT_EQ(page.Samples[4].TimestampMs, -3982045);

    EXPECT_EQ(page.Samples[5].Value, 450951790);
    EXPECT_EQ(page.Samples[6].Label("device"), "lo");  // a trailing comma in the labels
    EXPECT_EQ(page.Samples[7].Name, "node_network_up");  // tabs as blanks
    EXPECT_EQ(page.Types.at("http_requests_total"), "counter");
    EXPECT_EQ(page.Types.at("node_network_receive_bytes_total"), "counter");
}

// Counters print as floats: beyond 2^53 (8 PiB) they are as exact as a
// double, no more.
TEST(PrometheusTextTest, LargeCountersKeepADoublesPrecision) {
    const TPromPage page = ParsePromText(kPage);
    EXPECT_EQ(page.Samples[6].Value, 9007199254740992.0);
}

TEST(PrometheusTextTest, Values) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"0", 0.0},
        {"-1.5", -1.5},
        {"4.5095179e+08", 450951790.0},
        {"1E3", 1000.0},
        {".5", 0.5},
        {"+Inf", std::numeric_limits<double>::infinity()},
        {"-Inf", -std::numeric_limits<double>::infinity()},
        {"inf", std::numeric_limits<double>::infinity()},
        {"1e400", std::numeric_limits<double>::infinity()},
        {"1e-400", 0.0},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"1.2.3", std::nullopt},
        {"12abc", std::nullopt},
        {"--1", std::nullopt},
        {"0x10", std::nullopt},
        {"Infinite", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParsePromFloat(c.text), c.value);
    }
    const std::optional<double> nan = ParsePromFloat("NaN");
    ASSERT_TRUE(nan);
    EXPECT_TRUE(std::isnan(*nan));
}

// A line that breaks the format is skipped and counted; the others count.
TEST(PrometheusTextTest, BadLinesAreCountedAndSkipped) {
    const struct {
        const char* line;
        bool good;
    } cases[] = {
        {"ok 1", true},
        {"ok{} 1", true},
        {"ok{a=\"b\"} 1 2", true},
        {"ok 1\r", true},
        {"1bad 1", false},
        {"bad", false},
        {"bad 1 2 3", false},
        {"bad 1 x", false},
        {"bad{a=\"b\" 1", false},
        {"bad{a=b} 1", false},
        {"bad{a=\"b} 1", false},
        {"bad{a=\"\\x\"} 1", false},
        {"bad{1a=\"b\"} 1", false},
        {"bad{a:b=\"c\"} 1", false},
        {"bad{a=\"b\"c=\"d\"} 1", false},
        {"bad value", false},
        {"bad 1 1.5", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const TPromPage page = ParsePromText(std::string("first 1\n") + c.line + "\nlast 2\n");
        EXPECT_EQ(page.BadLines, c.good ? 0u : 1u);
        EXPECT_EQ(page.FirstBadLine, c.good ? 0u : 2u);
        EXPECT_EQ(page.Samples.size(), c.good ? 3u : 2u);
        EXPECT_EQ(page.Samples.back().Name, "last");
    }
}

TEST(PrometheusTextTest, OnlyTheWantedMetricsAreKept) {
    const TPromPage page = ParsePromText(kPage, {"node_network_receive_bytes_total", "node_network_up"});
    ASSERT_EQ(page.Samples.size(), 3u);
    EXPECT_EQ(page.Samples[0].Label("device"), "eth0");
    EXPECT_EQ(page.Samples[2].Name, "node_network_up");
}

// Limits bound what a page can make the parser keep: a line without end,
// many samples, many labels; a duplicate series is kept as it came.
TEST(PrometheusTextTest, AHostilePageIsBounded) {
    TPromLimits limits;
    limits.MaxSamples = 1000;
    limits.MaxLabels = 4;
    limits.MaxLineLength = 1024;
    std::string page = "long{a=\"" + std::string(5000, 'x') + "\"} 1\n";
    for (int i = 0; i < 5000; ++i) page += "node_network_up{device=\"veth" + std::to_string(i) + "\"} 1\n";
    page += "many{a=\"1\",b=\"2\",c=\"3\",d=\"4\",e=\"5\"} 1\n";
    page += std::string("\xff\xfe invalid utf-8 \xc3\x28 1\n");
    const TPromPage parsed = ParsePromText(page, {}, limits);
    EXPECT_EQ(parsed.Samples.size(), 1000u);
    EXPECT_TRUE(parsed.Truncated);
    EXPECT_EQ(parsed.BadLines, 3u);  // the long line, the many labels, the bytes
    EXPECT_EQ(parsed.FirstBadLine, 1u);

    const TPromPage twice = ParsePromText("a{d=\"x\"} 1\na{d=\"x\"} 2\n");
    ASSERT_EQ(twice.Samples.size(), 2u);
    EXPECT_EQ(twice.Samples[1].Value, 2);
}

}  // namespace
}  // namespace vx
