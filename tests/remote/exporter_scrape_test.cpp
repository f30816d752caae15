#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <net/if.h>
#include <memory>
#include <thread>
#include <string>

#include "remote/exporter_scrape.h"
#include "remote/remote_link_source.h"
#include "remote/remote_poller.h"

namespace vx {
namespace {

// The misbehaving exporter (hostile_exporter.py) on a free local port, for
// the whole suite: it ends when its input closes.
class ScrapeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        int in[2], out[2];
        ASSERT_EQ(::pipe(in), 0);
        ASSERT_EQ(::pipe(out), 0);
        gServer = ::fork();
        if (gServer == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::close(in[1]);
            ::close(out[0]);
            ::execlp("python3", "python3", VX_HOSTILE_EXPORTER, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        gToServer = in[1];
        FILE* lines = ::fdopen(out[0], "r");
        char port[16] = {};
        ASSERT_TRUE(std::fgets(port, sizeof port, lines)) << "the test exporter did not start";
        gBase = "http://127.0.0.1:" + std::string(port, std::strcspn(port, "\n"));
        std::fclose(lines);
    }
    static void TearDownTestSuite() {
        ::close(gToServer);
        if (gServer > 0) {
            ::kill(gServer, SIGTERM);
            ::waitpid(gServer, nullptr, 0);
        }
    }
    static TScrapeResult scrape(const std::string& path, const std::string& user = {},
                                const std::string& password = {}) {
        TRemoteHost host;
        host.Name = "test";
        host.Url = gBase + path;
        host.UserName = user;
        host.Password = password;
        return ScrapeExporter(host);
    }
    static inline pid_t gServer = -1;
    static inline int gToServer = -1;
    static inline std::string gBase;
};

// Every way the exporter misbehaves ends in a reading or a clear error,
// within the time limit (generously bounded here: the machine may be busy)
// and with at most the page limit kept.
TEST_F(ScrapeTest, EveryAnswerEndsInAReadingOrAClearError) {
    const struct {
        const char* path;
        bool ok;
        const char* error;  // a part of the message when not ok
        std::function<void(const TScrapeResult&)> check;
    } cases[] = {
        {"/good", true, "", [](const TScrapeResult& r) {
             ASSERT_EQ(r.Reading.Interfaces.size(), 2u);
             EXPECT_EQ(r.Reading.Interfaces[0].Received, 450951790u);
             EXPECT_TRUE(r.Filtered);
         }},
        {"/gzip", true, "", [](const TScrapeResult& r) { EXPECT_EQ(r.Reading.Interfaces.size(), 2u); }},
        {"/gzip-bomb", false, "larger than 16 MB", nullptr},
        {"/big", false, "larger than 16 MB", nullptr},
        {"/big-unannounced", false, "larger than 16 MB", nullptr},
        {"/endless", false, "", [](const TScrapeResult& r) {
             // the time limit or the size limit, whichever comes first
             EXPECT_TRUE(r.Error.find("within 2000 ms") != std::string::npos ||
                         r.Error.find("larger than") != std::string::npos)
                 << r.Error;
         }},
        {"/trickle", false, "within 2000 ms", nullptr},
        {"/bad-utf8", true, "", [](const TScrapeResult& r) {
             ASSERT_EQ(r.Reading.Interfaces.size(), 3u);
             EXPECT_EQ(r.Reading.Interfaces[2].Device, "w\xff\xfe");  // kept as bytes; shown with replacements
         }},
        {"/many", true, "", [](const TScrapeResult& r) {
             EXPECT_EQ(r.Reading.Interfaces.size(), 4096u);
             EXPECT_TRUE(r.Reading.Truncated);
         }},
        {"/duplicate", true, "", [](const TScrapeResult& r) {
             EXPECT_EQ(r.Reading.DuplicateSeries, 1u);
             EXPECT_EQ(r.Reading.Interfaces[0].Received, 450951790u);
         }},
        {"/invalid", true, "", [](const TScrapeResult& r) {
             EXPECT_EQ(r.Reading.InvalidSeries, 3u);
             EXPECT_EQ(r.Reading.Interfaces.size(), 2u);
         }},
        {"/no-filter", true, "", [](const TScrapeResult& r) {
             EXPECT_FALSE(r.Filtered);
             EXPECT_EQ(r.Reading.Interfaces.size(), 2u);
         }},
        {"/auth", false, "HTTP 401", nullptr},
        {"/loop", false, "", [](const TScrapeResult& r) { EXPECT_FALSE(r.Error.empty()); }},
        {"/empty", false, "names no network interface", nullptr},
        {"/missing", false, "HTTP 404", nullptr},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const TScrapeResult r = scrape(c.path);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(r.Ok, c.ok) << c.path << ": " << r.Error;
        if (!c.ok) {
            EXPECT_NE(r.Error.find(c.error), std::string::npos) << c.path << ": " << r.Error;
        }
        EXPECT_LE(r.PageBytes, TScrapeLimits{}.MaxPageBytes) << c.path;
        EXPECT_LT(seconds, 15) << c.path;  // two requests at most, 2 s each, on a busy machine
        if (c.check) c.check(r);
    }
}

TEST_F(ScrapeTest, CredentialsAndAddresses) {
    EXPECT_TRUE(scrape("/auth", "user", "secret").Ok);
    EXPECT_FALSE(scrape("/auth", "user", "wrong").Ok);

    TRemoteHost host;
    for (const char* url : {"ftp://127.0.0.1/", "file:///etc/passwd", "127.0.0.1:9100", ""}) {
        host.Url = url;
        const auto r = ScrapeExporter(host);
        EXPECT_FALSE(r.Ok) << url;
        EXPECT_NE(r.Error.find("http://"), std::string::npos) << url;
    }
    EXPECT_EQ(FilteredExporterUrl("http://h:9100/metrics"), "http://h:9100/metrics?collect[]=netdev&collect[]=netclass");
    EXPECT_EQ(FilteredExporterUrl("http://h/m?x=1#top"), "http://h/m?x=1&collect[]=netdev&collect[]=netclass");
}

// One scraper keeps its connection: five scrapes open one connection.
TEST_F(ScrapeTest, AScraperKeepsItsConnection) {
    TExporterScraper scraper({"test", gBase + "/connections", {}, {}, {}});
    std::uint64_t first = 0, last = 0;
    for (int i = 0; i < 5; ++i) {
        const TScrapeResult r = scraper.Scrape();
        ASSERT_TRUE(r.Ok) << r.Error;
        (i == 0 ? first : last) = r.Reading.Interfaces.at(0).Received;
    }
    EXPECT_EQ(last, first);
}

// Hosts polled side by side: a host that trickles delays no other, each
// is asked at most once a period, and stopping ends a transfer under way.
TEST_F(ScrapeTest, APollerAsksEachHostOnceAPeriod) {
    std::atomic<int> told{0};
    const auto start = std::chrono::steady_clock::now();
    auto poller = std::make_unique<TRemotePoller>(
        std::vector<TRemoteHost>{{"good", gBase + "/good", {}, {}, {}},
                                 {"slow", gBase + "/trickle", {}, {}, {}},
                                 {"none", "http://127.0.0.1:1/metrics", {}, {}, {}}},
        std::chrono::milliseconds(100), TScrapeLimits{30000}, [&](std::size_t) { ++told; });
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    const TRemoteState good = poller->State(0), slow = poller->State(1), none = poller->State(2);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(good.Reached);
    EXPECT_EQ(good.Reading.Interfaces.size(), 2u);
    EXPECT_GE(good.Scrapes, 3u);  // about ten, on a busy machine fewer
    EXPECT_LE(good.Scrapes, static_cast<std::uint64_t>(seconds * 10) + 1);
    EXPECT_EQ(slow.Scrapes + slow.Failures, 0u);  // still trickling
    EXPECT_FALSE(none.Reached);
    EXPECT_FALSE(none.Error.empty());
    EXPECT_GE(none.Failures, 3u);
    EXPECT_GE(told.load(), 6);
    const auto stopping = std::chrono::steady_clock::now();
    poller.reset();
    // The trickle would take half a minute: stopping cut it short.
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - stopping).count(), 10);
}

// A host nobody looks at is asked rarely; looked at again, it is asked at
// the period's next moment, half a period before the watchers' beat.
TEST_F(ScrapeTest, AHostNobodyLooksAtIsAskedRarely) {
    using namespace std::chrono_literals;
    TRemotePoller poller({{"good", gBase + "/good", {}, {}, {}}}, 200ms);
    for (int i = 0; i < 100 && poller.State(0).Scrapes < 2; ++i) std::this_thread::sleep_for(20ms);
    poller.SetActive(0, false);
    std::this_thread::sleep_for(250ms);  // a scrape under way may end
    const std::uint64_t idle = poller.State(0).Scrapes;
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(poller.State(0).Scrapes, idle);
    poller.SetActive(0, true);
    for (int i = 0; i < 100 && poller.State(0).Scrapes == idle; ++i) std::this_thread::sleep_for(10ms);
    ASSERT_GT(poller.State(0).Scrapes, idle);
    const auto readAt = std::chrono::duration_cast<std::chrono::milliseconds>(
                            poller.State(0).ReadAt.time_since_epoch()) % 200ms;
    // Begun at 100 ms into the period; a busy machine may take a while.
    EXPECT_GE(readAt, 100ms);
}

// A host's interfaces as links: facts, counters, stable indices; a host
// not reached answers an error, never zero counters.
TEST_F(ScrapeTest, AHostsInterfacesAsLinks) {
    using namespace std::chrono_literals;
    auto poller = std::make_shared<TRemotePoller>(
        std::vector<TRemoteHost>{{"good", gBase + "/good", {}, {}, {}}, {"rotating", gBase + "/rotating", {}, {}, {}},
                                 {"none", "http://127.0.0.1:1/metrics", {}, {}, {}}},
        50ms);
    for (int i = 0; i < 200 && !(poller->State(0).Scrapes > 0 && poller->State(1).Scrapes > 3 &&
                                 poller->State(2).Failures > 0);
         ++i)
        std::this_thread::sleep_for(20ms);

    TRemoteLinkSource good(poller, 0);
    std::vector<TLink> links;
    ASSERT_FALSE(good.Links(links));
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].Name, "eth0");
    EXPECT_EQ(links[0].Index, 1u);
    EXPECT_EQ(links[0].OperState, 6);  // up
    EXPECT_EQ(links[0].Speed, 1000000000u);
    EXPECT_EQ(links[1].Name, "lo");
    EXPECT_TRUE(links[1].Flags & IFF_LOOPBACK);
    TLinkCounters one;
    ASSERT_FALSE(good.CountersOf(1, one));
    EXPECT_EQ(one.Received, 450951790u);
    EXPECT_EQ(one.Sent, 12000000u);
    EXPECT_EQ(good.CountersOf(9, one), std::errc::no_such_device);
    std::vector<TLinkCounters> all;
    ASSERT_FALSE(good.Counters(all));
    EXPECT_EQ(all.size(), 2u);
    EXPECT_EQ(good.Host().HostName, "good");

    // eth0 comes and goes; wlan0 keeps the index it got, and so does eth0.
    TRemoteLinkSource rotating(poller, 1);
    std::map<std::string, std::uint32_t> seen;
    for (int i = 0; i < 20; ++i) {
        ASSERT_FALSE(rotating.Links(links));
        for (const TLink& link : links) {
            const auto [at, fresh] = seen.emplace(link.Name, link.Index);
            EXPECT_EQ(at->second, link.Index) << link.Name;
        }
        std::this_thread::sleep_for(30ms);
    }
    EXPECT_EQ(seen.size(), 2u);

    TRemoteLinkSource none(poller, 2);
    EXPECT_EQ(none.Links(links), std::errc::host_unreachable);
    EXPECT_TRUE(links.empty());
    EXPECT_EQ(none.Counters(all), std::errc::host_unreachable);
    EXPECT_TRUE(all.empty());
}

// Nothing listens: a clear error at once.
TEST_F(ScrapeTest, NobodyListening) {
    TRemoteHost host;
    host.Url = "http://127.0.0.1:1/metrics";
    const auto r = ScrapeExporter(host);
    EXPECT_FALSE(r.Ok);
    EXPECT_FALSE(r.Error.empty());
}

}  // namespace
}  // namespace vx
