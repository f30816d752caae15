// A remote host's scrape as Vantrix runs it: the real node_exporter on
// loopback (netdev and netclass collectors, this machine's interfaces),
// asked for its network collectors through libcurl over a kept connection,
// its page parsed and read. Also the parse and read alone of the same page. Reports the page's
// size; the CPU time is Vantrix's side only (the exporter is another
// process).
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "remote/exporter_scrape.h"

namespace {

using namespace vx;

constexpr const char* kExporter = "/usr/bin/prometheus-node-exporter";

struct TLocalExporter {
    pid_t pid = -1;
    TRemoteHost host{"bench", "http://127.0.0.1:19187/metrics", {}, {}, {}};
    TScrapeResult first;

    TLocalExporter() {
        if (::access(kExporter, X_OK) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::execl(kExporter, "prometheus-node-exporter", "--web.listen-address=127.0.0.1:19187",
                    "--collector.disable-defaults", "--collector.netdev", "--collector.netclass", "--log.level=error",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 100 && !(first = ScrapeExporter(host)).Ok; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~TLocalExporter() {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
};

void BM_ScrapeLocalExporter(benchmark::State& state) {
    TLocalExporter exporter;
    if (!exporter.first.Ok) {
        state.SkipWithError(("no local exporter: " + exporter.first.Error).c_str());
        return;
    }
    // A poller keeps one scraper per host, and with it the connection.
    TExporterScraper scraper(exporter.host);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const TScrapeResult r = scraper.Scrape();
        if (!r.Ok) state.SkipWithError(r.Error.c_str());
        bytes = r.PageBytes;
        benchmark::DoNotOptimize(r.Reading.Interfaces.data());
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
    state.counters["interfaces"] = static_cast<double>(exporter.first.Reading.Interfaces.size());
}
BENCHMARK(BM_ScrapeLocalExporter)->Unit(benchmark::kMicrosecond);

// A 12 KB network page: node_exporter's lines for six interfaces.
std::string netdevPage() {
    std::string page;
    const char* metrics[] = {"receive_bytes_total",   "receive_packets_total", "receive_errs_total",
                             "receive_drop_total",    "receive_fifo_total",    "receive_frame_total",
                             "receive_compressed_total", "receive_multicast_total", "transmit_bytes_total",
                             "transmit_packets_total", "transmit_errs_total",  "transmit_drop_total",
                             "transmit_fifo_total",   "transmit_colls_total",  "transmit_carrier_total",
                             "transmit_compressed_total"};
    for (const char* metric : metrics) {
        page += std::string("# HELP node_network_") + metric + " Network device statistic.\n";
        page += std::string("# TYPE node_network_") + metric + " counter\n";
        for (const char* device : {"enp3s0", "lo", "wlp2s0", "docker0", "veth1a2b3c", "tun0"})
            page += std::string("node_network_") + metric + "{device=\"" + device + "\"} 4.5095179e+08\n";
    }
    while (page.size() < 12 * 1024) page += "# padding to twelve kilobytes, as comments the parser skips\n";
    return page;
}

void BM_ReadNetworkPage(benchmark::State& state) {
    const std::string page = netdevPage();
    for (auto _ : state) {
        const TExporterReading r = ReadExporterPage(ParsePromText(page, ExporterMetricNames()));
        benchmark::DoNotOptimize(r.Interfaces.data());
    }
    state.counters["page_bytes"] = static_cast<double>(page.size());
}
BENCHMARK(BM_ReadNetworkPage)->Unit(benchmark::kMicrosecond);

}  // namespace
