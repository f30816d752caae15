// What a layout save and restore cost: a settings file of realistic size
// (a main window, a dozen components, one value per interface), written
// one key at a time as the layout manager does, and read back.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "persistence/ini_storage.h"

namespace {

namespace fs = std::filesystem;

struct BenchFile {
    fs::path dir;
    std::string file;
    BenchFile() {
        std::string pattern = (fs::temp_directory_path() / "vx-bench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        file = (dir / "vantrix.ini").string();
        vx::TLayoutManagerINIStorage s;
        s.SetFileName(file);
        for (int c = 0; c < 12; ++c)
            for (const char* key : {"Width", "Height", "Left", "Top", "Visible", "Enabled"})
                s.WriteInteger("Twnd_vx_Main\\Control" + std::to_string(c), key, c * 10);
        for (int i = 0; i < 40; ++i) s.WriteBoolean("Settings", "eth" + std::to_string(i), i % 2);
    }
    ~BenchFile() { fs::remove_all(dir); }
};

void BM_WriteOneKey(benchmark::State& state) {
    BenchFile f;
    vx::TLayoutManagerINIStorage s;
    s.SetFileName(f.file);
    std::int64_t v = 0;
    for (auto _ : state) s.WriteInteger("Twnd_vx_Main\\Control5", "Width", ++v);
}
BENCHMARK(BM_WriteOneKey);

void BM_ReadOneKeyOpenStorage(benchmark::State& state) {
    BenchFile f;
    vx::TLayoutManagerINIStorage s;
    s.SetFileName(f.file);
    for (auto _ : state) benchmark::DoNotOptimize(s.ReadInteger("Settings", "eth39", 0));
}
BENCHMARK(BM_ReadOneKeyOpenStorage);

// The layout manager closes the storage after every component, so each
// restore step opens the file afresh.
void BM_ReadOneKeyReopening(benchmark::State& state) {
    BenchFile f;
    vx::TLayoutManagerINIStorage s;
    s.SetFileName(f.file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.ReadInteger("Settings", "eth39", 0));
        s.Close();
    }
}
BENCHMARK(BM_ReadOneKeyReopening);

}  // namespace
