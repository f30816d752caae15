// The Applications window's once-a-second refresh as the user runs it, with
// 100 applications whose totals all moved: the counter's answer parsed from
// its text, the rows written, re-sorted and painted (offscreen), and each
// row's processes looked up. The socket round trip to the service is not
// included (the service is another process).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "appnet/appnet_protocol.h"
#include "appnet_view/applications_window.h"

namespace {

using namespace vx;

void BM_ApplicationsRefresh(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::uint64_t step = 0;
    const auto ask = [&] {
        std::vector<TTrafficRow> rows;
        for (int i = 0; i < count; ++i) {
            TTrafficRow r;
            r.Kind = TRowKind::Application;
            r.Id = "org.example.App" + std::to_string(i);
            r.Totals = {step * 1000 * static_cast<std::uint64_t>(i + 1), step * 300, step * 10, step * 5};
            r.Cgroups = {"/user.slice/user-1000.slice/user@1000.service/app.slice/app-gnome-org.example.App" +
                         std::to_string(i) + "-1.scope"};
            rows.push_back(std::move(r));
        }
        TAppNetReply reply;
        reply.Answer = ParseAppNetAnswer(FormatAppNetAnswer("1.1", rows));
        return reply;
    };
    TApplicationsWindow w(nullptr, ask);
    w.show();
    QApplication::processEvents();
    for (auto _ : state) {
        ++step;
        w.Refresh();
        QApplication::processEvents();  // painted, as the event loop does
    }
    state.counters["rows"] = count;
}
BENCHMARK(BM_ApplicationsRefresh)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
