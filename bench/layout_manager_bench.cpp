// One whole-form save of a main-window-sized registration: the window, three
// components and ten stored values, into a settings file on disk.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>

#include "persistence/ini_storage.h"
#include "persistence/lm_form.h"

namespace {

namespace fs = std::filesystem;

void BM_WholeFormSave(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "vx-bench-XXXXXX").string();
    const fs::path dir = ::mkdtemp(pattern.data());
    auto storage = std::make_shared<vx::TLayoutManagerINIStorage>();
    storage->SetFileName((dir / "vantrix.ini").string());
    {
        vx::TLMForm form;
        form.LayoutManager().SetStorage(storage);
        form.SetLayoutControl(true);
        auto* tree = new QTreeWidget(&form);
        tree->setObjectName("Tree");
        form.setCentralWidget(tree);
        auto* stayOnTop = new QAction(&form);
        stayOnTop->setObjectName("acStayOnTop");
        stayOnTop->setCheckable(true);
        auto* transparent = new QAction(&form);
        transparent->setObjectName("acTransparent");
        transparent->setCheckable(true);
        form.LayoutManager().Add(tree, {"Visible", "Enabled"});
        form.LayoutManager().Add(stayOnTop, {"Checked"});
        form.LayoutManager().Add(transparent, {"Checked"});
        form.LayoutManager().StoredValues().AddItem("Units", 0);
        form.LayoutManager().StoredValues().AddItem("Period", 1);
        for (int i = 0; i < 8; ++i) form.LayoutManager().StoredValues().AddItem(QString("eth%1").arg(i), i % 2 == 0);
        form.resize(475, 429);
        form.show();
        for (auto _ : state) form.LayoutManager().Save();
        form.SetLayoutReadOnly(true);
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_WholeFormSave)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
