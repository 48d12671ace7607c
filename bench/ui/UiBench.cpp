// The main window on large maps: opening a map of 200 sectors and 70,000
// systems until the first view is drawn, listing an allegiance of more
// than 30,000 members, and an edit with its undo and redo.

#include "DefineUniverse.h"
#include "Mainform.h"
#include "MapView.h"
#include "NavigatorTree.h"
#include "Settings.h"
#include "SystemList.h"
#include "UndoHistory.h"
#include "UniverseGenerator.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

namespace {

using hexlane::ui::Answer;
using hexlane::ui::FileChoice;

// Answers every question with No and shows nothing.
class SilentPrompter final : public hexlane::ui::Prompter {
public:
    void Information(const QString&) override {}
    void Error(const QString& text) override { fprintf(stderr, "%s\n", qPrintable(text)); }
    bool YesNo(const QString&, hexlane::ui::Look) override { return false; }
    Answer YesNoCancel(const QString&) override { return Answer::No; }
    std::optional<QString> Input(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> OpenFile(const FileChoice&) override { return {}; }
    std::optional<QString> SaveFile(const FileChoice&) override { return {}; }
    std::optional<QColor> Colour(const QColor&, const QString&) override { return {}; }
};

// Writes a generated map once per process and returns its path.
QString MapFile(int allegiances) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("hexlane-bench-ui-" + std::to_string(allegiances) + ".map");
    if (!std::filesystem::exists(path)) {
        benchgen::Options options;
        options.Allegiances = allegiances;
        std::string message;
        if (!benchgen::Generate(options)->SaveToFile(path.string(), message)) fprintf(stderr, "%s\n", message.c_str());
    }
    return QString::fromStdString(path.string());
}

void BM_OpenLargeMapUntilTheFirstViewIsDrawn(benchmark::State& state) {
    const QString path = MapFile(30);
    SilentPrompter prompter;
    hexlane::ui::TfMainform window(&prompter);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.OpenMapFile(path);
        window.RefreshIfDirty();
        window.Map()->viewport()->repaint();
    }
    state.counters["stars"] = 70000;
}
BENCHMARK(BM_OpenLargeMapUntilTheFirstViewIsDrawn)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ListAnAllegianceOf35000Members(benchmark::State& state) {
    SilentPrompter prompter;
    hexlane::ui::TfMainform window(&prompter);
    window.show();
    window.OpenMapFile(MapFile(2));
    QTreeWidgetItem* allegiances = window.Tree()->topLevelItem(1);
    int which = 0;
    for (auto _ : state) {
        window.Tree()->setCurrentItem(allegiances->child(which));
        window.List()->viewport()->repaint();
        which = 1 - which;
    }
    state.counters["rows"] = window.ListModel()->rowCount();
}
BENCHMARK(BM_ListAnAllegianceOf35000Members)->Unit(benchmark::kMillisecond)->Iterations(6);

// Writes a generated map of `sectors` sectors once per process.
QString SizedMapFile(int sectors, int stars) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("hexlane-bench-undo-" + std::to_string(sectors) + ".map");
    if (!std::filesystem::exists(path)) {
        benchgen::Options options;
        options.Sectors = sectors;
        options.Stars = stars;
        std::string message;
        if (!benchgen::Generate(options)->SaveToFile(path.string(), message)) fprintf(stderr, "%s\n", message.c_str());
    }
    return QString::fromStdString(path.string());
}

// One iteration: a system edited as the system editor's OK leaves it (the
// step recorded), then undo and redo, each until the map is drawn again.
// The counters give each part's mean and the history of 100 such steps.
void EditUndoRedo(benchmark::State& state, int sectors, int stars) {
    SilentPrompter prompter;
    hexlane::ui::TfMainform window(&prompter);
    window.show();
    window.OpenMapFile(SizedMapFile(sectors, stars));
    window.RefreshIfDirty();
    QAction* undo = window.findChild<QAction*>("rUndo");
    QAction* redo = window.findChild<QAction*>("rRedo");
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    double record = 0, undone = 0, redone = 0;
    int n = 0;
    auto pick = [&](int which) {
        TStar* star = nullptr;
        int i = 0;
        window.Universe().ForEachStar([&](TStar& s) {
            if (i++ == which) star = &s;
        });
        return star;
    };
    // The system editor's OK as the window runs it: one command that says
    // it touched the star's sector.
    auto edit = [&](TStar* star) {
        window.Edit(
            "Edit System", [&] { star->UPC = star->UPC == "A788899" ? "B565776" : "A788899"; },
            hexlane::ui::MapDocument::Picture, hexlane::ui::MapDocument::Touched::Only({star->Owner()}));
    };
    // Wall time, and the process's processor time (all threads), which on a
    // shared machine says more about the work itself.
    double cpu[3] = {};
    auto cpuNow = [] { return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC; };
    for (auto _ : state) {
        TStar* star = pick((n * 7919) % stars);
        const auto t0 = Clock::now();
        const double c0 = cpuNow();
        edit(star);
        const auto t1 = Clock::now();
        const double c1 = cpuNow();
        undo->trigger();
        window.Map()->viewport()->repaint();
        const auto t2 = Clock::now();
        const double c2 = cpuNow();
        redo->trigger();
        window.Map()->viewport()->repaint();
        const auto t3 = Clock::now();
        const double c3 = cpuNow();
        record += ms(t1 - t0);
        undone += ms(t2 - t1);
        redone += ms(t3 - t2);
        cpu[0] += c1 - c0;
        cpu[1] += c2 - c1;
        cpu[2] += c3 - c2;
        ++n;
    }
    state.counters["record_ms"] = record / n;
    state.counters["undo_ms"] = undone / n;
    state.counters["redo_ms"] = redone / n;
    state.counters["record_cpu_ms"] = cpu[0] / n;
    state.counters["undo_cpu_ms"] = cpu[1] / n;
    state.counters["redo_cpu_ms"] = cpu[2] / n;

    // 100 steps, each editing one system somewhere else.
    window.OpenMapFile(SizedMapFile(sectors, stars));
    for (int i = 0; i < hexlane::ui::UndoHistory::kMaxSteps; ++i) edit(pick((i * 7919) % stars));
    state.counters["steps"] = window.History().Stack().count();
    state.counters["history_MB"] = static_cast<double>(window.History().MemoryBytes()) / (1 << 20);
}

void BM_EditUndoRedo70k(benchmark::State& state) { EditUndoRedo(state, 200, 70000); }
BENCHMARK(BM_EditUndoRedo70k)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_EditUndoRedo1Sector(benchmark::State& state) { EditUndoRedo(state, 1, 400); }
BENCHMARK(BM_EditUndoRedo1Sector)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The windows remember recent files and zoom: never in the user's settings.
    QTemporaryDir settings;
    hexlane::ui::Settings::UseFile(settings.filePath("hexlane.ini"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
