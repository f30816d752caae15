// The interface list's once-a-second update as the window runs it: the
// main window over five interfaces whose counters all moved, the list
// shown, its counters read and its changed cells painted (offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "persistence/ini_storage.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "support/fake_link_source.h"
#include "support/temp_dir.h"

namespace {

using namespace vx;

void BM_ListUpdate(benchmark::State& state) {
    test::TTempDir dir;
    LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
    LayoutStorage->SetFileName(dir.file("vantrix.ini"));
    auto links = std::make_shared<test::TFakeLinkSource>();
    for (std::uint32_t i = 1; i <= 5; ++i) links->AddLink(i, "veth" + std::to_string(i), TLinkKind::Veth);
    auto w = std::make_unique<Twnd_vx_Main>(links);
    w->show();
    w->Tree->show();
    w->Timer.stop();  // ticks by hand
    QApplication::processEvents();
    std::uint64_t step = 0;
    for (auto _ : state) {
        ++step;
        for (std::uint32_t i = 1; i <= 5; ++i) links->AddTraffic(i, 150000 + step * 13 + i, 70000 + step * 7);
        w->UpdateTraffic();
        QApplication::sendPostedEvents();  // the changed cells painted, as the event loop does
        QApplication::processEvents();
    }
    w.reset();
    LayoutStorage.reset();
}
BENCHMARK(BM_ListUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace
