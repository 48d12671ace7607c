// The main window on large maps: opening a map of 200 sectors and 70,000
// systems until the first view is drawn, and listing an allegiance of more
// than 30,000 members.

#include "DefineUniverse.h"
#include "Mainform.h"
#include "MapView.h"
#include "NavigatorTree.h"
#include "Settings.h"
#include "SystemList.h"
#include "UniverseGenerator.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

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
