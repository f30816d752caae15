// Start-up cost of reading the program's own version block.
#include <benchmark/benchmark.h>

#include "sysinfo/version_info.h"

namespace {

void BM_ReadOwnVersionInfo(benchmark::State& state) {
    const std::string self = vx::ProgramFileName();
    vx::TVersionInfo info;
    for (auto _ : state) benchmark::DoNotOptimize(vx::ReadVersionInfo(self, info));
}
BENCHMARK(BM_ReadOwnVersionInfo)->Unit(benchmark::kMicrosecond);

}  // namespace
