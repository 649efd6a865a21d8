// The desktop program with a full profile (150 contacts, 25 texts) on the offscreen platform:
// opening it until the root's view shows, and switching the editing view node by node.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QMdiArea>
#include <QTreeWidget>
#include <filesystem>

#include "CAppSettings.h"
#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CMessageBoxUi.h"
#include "CQMVVLTApp.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTTreeView.h"
#include "FullProfile.h"
#include "NodeKind.h"
#include "Utility.h"

namespace {

namespace fs = std::filesystem;

struct GuiBench {
    GuiBench() {
        folder = fs::temp_directory_path() / ("qmvvlt-bench-gui-" + std::to_string(getpid()));
        fs::create_directories(folder);
        Utility::SetConfigFolder(folder);
        Utility::SetInstallPathOverride(fs::path(QMVVLT_SOURCE_DATA_DIR));
        settings = CQMVVLTApp::Start(ui);
        CQMVVLTDoc document(*settings, QMVVLT_SOURCE_DATA_DIR, ui);
        document.NewFromVirtualCP(MakeFullImage());
        profile = folder / "Full.lam";
        document.Save(profile);
        window = std::make_unique<CMainFrame>(*settings, QMVVLT_SOURCE_DATA_DIR, &ui);
        window->resize(1200, 800);
        window->show();
    }
    ~GuiBench() {
        window.reset();
        fs::remove_all(folder);
    }
    void CloseAll() {
        window->MdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    fs::path folder;
    fs::path profile;
    CMessageBoxUi ui{nullptr};
    std::unique_ptr<CAppSettings> settings;
    std::unique_ptr<CMainFrame> window;
};

GuiBench& Bench() {
    static GuiBench bench;
    return bench;
}

void BM_OpenFullProfile(benchmark::State& state) {
    GuiBench& bench = Bench();
    for (auto _ : state) {
        if (!bench.window->OpenDocument(bench.profile.string())) {
            state.SkipWithError("the full profile did not open");
            return;
        }
        QCoreApplication::processEvents();
        state.PauseTiming();
        bench.CloseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenFullProfile)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_SwitchNode(benchmark::State& state) {
    GuiBench& bench = Bench();
    bench.window->OpenDocument(bench.profile.string());
    QTreeWidget* tree = bench.window->ActiveFrame()->Tree();
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        items.push_back(*it);
    }
    state.counters["nodes"] = static_cast<double>(items.size());
    std::size_t next = 0;
    for (auto _ : state) {
        tree->setCurrentItem(items[next]);
        QCoreApplication::processEvents();
        next = (next + 1) % items.size();
    }
    bench.CloseAll();
}
BENCHMARK(BM_SwitchNode)->Unit(benchmark::kMillisecond)->Repetitions(5);

// One node of each kind from the contacts summary to a scan channel, shown in turn.
void BM_SwitchContactAndListViews(benchmark::State& state) {
    GuiBench& bench = Bench();
    bench.window->OpenDocument(bench.profile.string());
    QTreeWidget* tree = bench.window->ActiveFrame()->Tree();
    std::vector<QTreeWidgetItem*> items;
    for (int kind = kKindContacts; kind <= kKindScanChannel; ++kind) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if (CQMVVLTTreeView::KindOf(*it) == kind) {
                items.push_back(*it);
                break;
            }
        }
    }
    state.counters["views"] = static_cast<double>(items.size());
    std::size_t next = 0;
    for (auto _ : state) {
        tree->setCurrentItem(items[next]);
        QCoreApplication::processEvents();
        next = (next + 1) % items.size();
    }
    bench.CloseAll();
}
BENCHMARK(BM_SwitchContactAndListViews)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
