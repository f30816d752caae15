// What one tick of the tray readout costs when its figures change: the two
// lines drawn at every size a tray host may pick (16, 22, 24, 32 pixels) as
// the icon's pictures. A tick whose figures do not change draws nothing.
#include <benchmark/benchmark.h>

#include <QIcon>
#include <QPixmap>

#include "watcher/tray_readout.h"

namespace {

void BM_TrayReadoutRedraw(benchmark::State& state) {
    int i = 0;
    QIcon icon;
    for (auto _ : state) {
        const vx::TTrayReadout readout{vx::ShortRate(++i * 9973.0, 0), vx::ShortRate(i * 131.0, 0), Qt::white};
        icon = vx::DrawTrayReadoutIcon(readout, 1.0);
        benchmark::DoNotOptimize(icon);
    }
}
BENCHMARK(BM_TrayReadoutRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
