// The interface list's per-second work and a full snapshot refresh, against
// the kernel: 8 veth interfaces in a network namespace of the benchmark's
// own (needs root; without it the benchmarks report an error and skip).
#include <benchmark/benchmark.h>
#include <net/if.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
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

void BM_GetTrafficOf8Interfaces(benchmark::State& state) {
    if (!gLab) {
        state.SkipWithError("needs root to build a network namespace");
        return;
    }
    vx::TNetworkConfiguration config;
    std::uint64_t in = 0, out = 0, sum = 0;
    for (auto _ : state) {
        for (const std::uint32_t index : gIndices) {
            config.GetTraffic(index, in, out);
            sum += in + out;
        }
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_GetTrafficOf8Interfaces)->Unit(benchmark::kMicrosecond);

void BM_RefreshDataWith8VethInterfaces(benchmark::State& state) {
    if (!gLab) {
        state.SkipWithError("needs root to build a network namespace");
        return;
    }
    vx::TNetworkConfiguration config;
    for (auto _ : state) {
        config.RefreshData();
        benchmark::DoNotOptimize(config.AdapterCount());
    }
    state.counters["adapters"] = config.AdapterCount();
}
BENCHMARK(BM_RefreshDataWith8VethInterfaces)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    gLab = buildLab();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
