// The interface list's per-second work and a full snapshot refresh, against
// the kernel: 8 veth interfaces in a network namespace of the benchmark's
// own, then 500 (needs root; without it the benchmarks report an error and
// skip). The list's update and the refresh are also timed against one read
// of /proc/net/dev for the same interfaces (the counter "x_proc_net_dev").
#include <benchmark/benchmark.h>
#include <net/if.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "netconfig/network_configuration.h"

namespace {

bool gLab = false;
std::vector<std::uint32_t> gIndices;

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

bool buildLab() {
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) return false;
    ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    ::umount2("/sys", MNT_DETACH);
    if (::mount("sysfs", "/sys", "sysfs", 0, nullptr) != 0 || !run("ip link set lo up")) return false;
    for (int pair = 0; pair < 4; ++pair) {
        const std::string a = "vxa" + std::to_string(pair), b = "vxb" + std::to_string(pair);
        if (!run("ip link add " + a + " type veth peer name " + b) ||
            !run("ip addr add 10.220." + std::to_string(pair) + ".1/24 dev " + a) ||
            !run("ip addr add 10.221." + std::to_string(pair) + ".1/24 dev " + b) || !run("ip link set " + a + " up") ||
            !run("ip link set " + b + " up"))
            return false;
        gIndices.push_back(::if_nametoindex(a.c_str()));
        gIndices.push_back(::if_nametoindex(b.c_str()));
    }
    return run("ip route add default via 10.220.0.2 dev vxa0");
}

// Grows the namespace to at least `count` interfaces (veth pairs, made in
// one batch of ip commands). The names are vxp<n>a / vxp<n>b.
int gPairs = 0;
std::vector<std::uint32_t> gAll;
bool ensureInterfaces(int count) {
    if (static_cast<int>(gAll.size()) >= count) return true;
    const std::string script = "/tmp/vx-bench-links-" + std::to_string(::getpid());
    FILE* f = std::fopen(script.c_str(), "w");
    if (!f) return false;
    const int first = gPairs;
    while (2 * (gPairs - first) + static_cast<int>(gAll.size()) < count) {
        std::fprintf(f, "link add vxp%da type veth peer name vxp%db\nlink set vxp%da up\nlink set vxp%db up\n", gPairs,
                     gPairs, gPairs, gPairs);
        ++gPairs;
    }
    std::fclose(f);
    const bool ok = run("ip -batch " + script);
    std::remove(script.c_str());
    if (!ok) return false;
    for (int p = first; p < gPairs; ++p)
        for (const char side : {'a', 'b'}) {
            const std::string name = "vxp" + std::to_string(p) + side;
            gAll.push_back(::if_nametoindex(name.c_str()));
        }
    return true;
}

// One read of /proc/net/dev with its numbers parsed: what a terminal meter
// does each second.
double procNetDevOnce() {
    FILE* f = std::fopen("/proc/net/dev", "r");
    if (!f) return 0;
    char line[512];
    double sum = 0;
    while (std::fgets(line, sizeof line, f)) {
        const char* colon = std::strchr(line, ':');
        if (!colon) continue;
        unsigned long long rx = 0, tx = 0, skip = 0;
        if (std::sscanf(colon + 1, "%llu %llu %llu %llu %llu %llu %llu %llu %llu", &rx, &skip, &skip, &skip, &skip,
                        &skip, &skip, &skip, &tx) == 9)
            sum += static_cast<double>(rx + tx);
    }
    std::fclose(f);
    return sum;
}

double procNetDevSeconds(int reads) {
    const auto start = std::chrono::steady_clock::now();
    double sum = 0;
    for (int i = 0; i < reads; ++i) sum += procNetDevOnce();
    benchmark::DoNotOptimize(sum);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / reads;
}

// The list's once-a-second update: every listed interface's counters from
// one reading, as the main window reads them.
void BM_ListUpdate(benchmark::State& state) {
    if (!gLab || !ensureInterfaces(static_cast<int>(state.range(0)))) {
        state.SkipWithError("needs root to build a network namespace");
        return;
    }
    vx::TNetworkConfiguration config;
    const std::vector<std::uint32_t> rows(gAll.begin(), gAll.begin() + state.range(0));
    std::uint64_t in = 0, out = 0, sum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        config.ReadTraffic();
        for (const std::uint32_t index : rows) {
            config.TrafficOf(index, in, out);
            sum += in + out;
        }
    }
    const double each = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                        static_cast<double>(state.iterations());
    benchmark::DoNotOptimize(sum);
    state.counters["x_proc_net_dev"] = each / procNetDevSeconds(200);
}

void BM_RefreshData(benchmark::State& state) {
    if (!gLab || !ensureInterfaces(static_cast<int>(state.range(0)))) {
        state.SkipWithError("needs root to build a network namespace");
        return;
    }
    vx::TNetworkConfiguration config;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        config.RefreshData();
        benchmark::DoNotOptimize(config.AdapterCount());
    }
    const double each = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                        static_cast<double>(state.iterations());
    state.counters["adapters"] = config.AdapterCount();
    state.counters["x_proc_net_dev"] = each / procNetDevSeconds(200);
}

void BM_ProcNetDev(benchmark::State& state) {
    if (!gLab || !ensureInterfaces(static_cast<int>(state.range(0)))) {
        state.SkipWithError("needs root to build a network namespace");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(procNetDevOnce());
}
// All with 8 interfaces first, then with 500 (the namespace only grows).
BENCHMARK(BM_ListUpdate)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefreshData)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcNetDev)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListUpdate)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefreshData)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcNetDev)->Arg(500)->Unit(benchmark::kMicrosecond);


}  // namespace

int main(int argc, char** argv) {
    gLab = buildLab();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
