// The desktop program with a full profile (150 contacts, 25 texts) on the offscreen platform:
// opening it until the root's view shows, switching the editing view node by node, and moving
// rows through a two-list editor. Messages are answered by script and counted, never waited on.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "CAppSettings.h"
#include "CChildFrame.h"
#include "CDocumentCommands.h"
#include "CListEditorView.h"
#include "CMainFrame.h"
#include "CQMVVLTApp.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTTreeView.h"
#include "CTwoListEditor.h"
#include "FullProfile.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "ScriptedUi.h"
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
        document.NewFromVirtualCP(MakeRuleConsistentFullImage());
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
    ScriptedUi ui;
    std::unique_ptr<CAppSettings> settings;
    std::unique_ptr<CMainFrame> window;
};

// Made on first use and ended in main, while the application object still exists.
std::unique_ptr<GuiBench>& BenchHolder() {
    static std::unique_ptr<GuiBench> bench;
    return bench;
}

GuiBench& Bench() {
    std::unique_ptr<GuiBench>& bench = BenchHolder();
    if (!bench) {
        bench = std::make_unique<GuiBench>();
    }
    return *bench;
}

void BM_OpenFullProfile(benchmark::State& state) {
    GuiBench& bench = Bench();
    for (auto _ : state) {
        if (!bench.window->Documents().Open(bench.profile.string())) {
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

// Shows the nodes in turn, one per iteration. A message on the way (a profile the views find
// inconsistent) fails the benchmark rather than waiting for an answer.
void SwitchThrough(benchmark::State& state, QTreeWidget* tree,
                   const std::vector<QTreeWidgetItem*>& items) {
    GuiBench& bench = Bench();
    bench.ui.shown.clear();
    // A profile data error closes the window, tree and all.
    const QPointer<QTreeWidget> alive(tree);
    std::size_t next = 0;
    for (auto _ : state) {
        if (!alive || !bench.ui.shown.empty()) {
            break;
        }
        tree->setCurrentItem(items[next]);
        QCoreApplication::processEvents();
        next = (next + 1) % items.size();
    }
    if (!bench.ui.shown.empty()) {
        state.SkipWithError(("a view showed a message: " + bench.ui.shown.front()).c_str());
    }
    bench.CloseAll();
}

QTreeWidget* OpenTree(benchmark::State& state) {
    GuiBench& bench = Bench();
    if (!bench.window->Documents().Open(bench.profile.string())) {
        state.SkipWithError("the full profile did not open");
        return nullptr;
    }
    return bench.window->ActiveFrame()->Tree();
}

void BM_SwitchNode(benchmark::State& state) {
    QTreeWidget* tree = OpenTree(state);
    if (!tree) {
        return;
    }
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        items.push_back(*it);
    }
    state.counters["nodes"] = static_cast<double>(items.size());
    SwitchThrough(state, tree, items);
}
BENCHMARK(BM_SwitchNode)->Unit(benchmark::kMillisecond)->Repetitions(5);

// One node of each kind from the contacts summary to a scan channel, shown in turn.
void BM_SwitchContactAndListViews(benchmark::State& state) {
    QTreeWidget* tree = OpenTree(state);
    if (!tree) {
        return;
    }
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
    SwitchThrough(state, tree, items);
}
BENCHMARK(BM_SwitchContactAndListViews)->Unit(benchmark::kMillisecond)->Repetitions(5);

// Ten rows of the scroll list editor's available list moved with "Add >>", then back with
// "<< Remove": one 10-row move per iteration, each committed through the rules.
void BM_MoveTenRowsThroughTwoListEditor(benchmark::State& state) {
    GuiBench& bench = Bench();
    QTreeWidget* tree = OpenTree(state);
    if (!tree) {
        return;
    }
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (CQMVVLTTreeView::KindOf(*it) == kKindScrollList) {
            tree->setCurrentItem(*it);
            break;
        }
    }
    QCoreApplication::processEvents();
    auto* view = qobject_cast<CListEditorView*>(bench.window->ActiveFrame()->View());
    if (!view) {
        state.SkipWithError("the scroll list view did not show");
        bench.CloseAll();
        return;
    }
    CTwoListEditor* editor = view->Editor();
    constexpr int kRows = 10;
    bench.ui.shown.clear();
    bool adding = true;
    for (auto _ : state) {
        state.PauseTiming();
        QListView* source = adding ? editor->AvailableList() : editor->MembersList();
        const QAbstractItemModel* model = source->model();
        if (model->rowCount() < kRows) {
            state.SkipWithError("fewer than ten rows to move");
            break;
        }
        // The rows that just arrived sit at the end when moving back; take the last ten.
        const int first = adding ? 0 : static_cast<int>(model->rowCount()) - kRows;
        source->selectionModel()->select(
            QItemSelection(model->index(first, 0), model->index(first + kRows - 1, 0)),
            QItemSelectionModel::ClearAndSelect);
        const int before = static_cast<int>(model->rowCount());
        state.ResumeTiming();
        (adding ? editor->AddButton() : editor->RemoveButton())->click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (model->rowCount() != before - kRows) {
            state.SkipWithError("the rows did not move");
            break;
        }
        adding = !adding;
        state.ResumeTiming();
    }
    if (!bench.ui.shown.empty()) {
        state.SkipWithError(("the move showed a message: " + bench.ui.shown.front()).c_str());
    }
    // Close without saving the moves.
    bench.ui.answers = {MessageStyle::kIdNo};
    bench.CloseAll();
    bench.ui.answers.clear();
}
BENCHMARK(BM_MoveTenRowsThroughTwoListEditor)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BenchHolder().reset();
    return 0;
}
