// The watcher's per-tick series work at full history (86,400 points): add
// one point and drop the oldest, and draw the five visible minutes.
#include <benchmark/benchmark.h>

#include <cmath>

#include "plot/axis.h"
#include "plot/data_series.h"
#include "plot/fake_plot.h"
#include "support/recording_canvas.h"

namespace {

constexpr int kHistory = 86400;

void fill(vx::Tsp_XYLine& s) {
    for (int i = 0; i < kHistory; ++i) s.AddXY(i / 86400.0, 50 + 40 * std::sin(i * 0.01));
}

void BM_TickAddAndDropOldest(benchmark::State& state) {
    vx::Tsp_XYLine s;
    fill(s);
    double t = kHistory;
    for (auto _ : state) {
        s.AddXY(t / 86400.0, 1.0);
        s.Delete(0);
        t += 1;
    }
}
BENCHMARK(BM_TickAddAndDropOldest);

void drawBench(benchmark::State& state, bool sorted) {
    vx::test::TFakePlot plot;
    vx::test::TRecordingCanvas canvas({0, 0, 240, 120});
    plot.canvas = &canvas;
    plot.bottom.ChangeMinMax((kHistory - 300) / 86400.0, kHistory / 86400.0);
    plot.left.ChangeMinMax(0, 100);
    vx::Tsp_XYLine s;
    s.SetPlot(&plot);
    fill(s);
    if (!sorted) {
        s.AddXY(-1, 0);
        s.Delete(s.Count() - 1);
    }
    for (auto _ : state) {
        canvas.calls.clear();
        s.Draw();
        benchmark::DoNotOptimize(canvas.calls.size());
    }
}

void BM_DrawFiveMinutesOfFullHistory_Sorted(benchmark::State& state) { drawBench(state, true); }
void BM_DrawFiveMinutesOfFullHistory_Unsorted(benchmark::State& state) { drawBench(state, false); }
BENCHMARK(BM_DrawFiveMinutesOfFullHistory_Sorted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawFiveMinutesOfFullHistory_Unsorted)->Unit(benchmark::kMicrosecond);

}  // namespace
