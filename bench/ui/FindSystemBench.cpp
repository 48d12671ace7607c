// Find System on a universe of 70,000 systems: building the name index when
// the window opens, and filtering the completion list as the user types the
// first two letters (goal: 20 ms at most).

#include "DefineUniverse.h"
#include "FindSystem.h"
#include "Prompter.h"
#include "UniverseGenerator.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

namespace {

class NoPrompter final : public hexlane::ui::Prompter {
public:
    void Information(const QString&) override {}
    void Error(const QString&) override {}
    bool YesNo(const QString&, hexlane::ui::Look) override { return false; }
    hexlane::ui::Answer YesNoCancel(const QString&) override { return hexlane::ui::Answer::Cancel; }
    std::optional<QString> Input(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> OpenFile(const hexlane::ui::FileChoice&) override { return {}; }
    std::optional<QString> SaveFile(const hexlane::ui::FileChoice&) override { return {}; }
    std::optional<QColor> Colour(const QColor&, const QString&) override { return {}; }
};

const TUniverse& Universe() {
    static const auto universe = benchgen::Generate();
    return *universe;
}

void BM_IndexTheNamesOf70000Systems(benchmark::State& state) {
    for (auto _ : state) {
        hexlane::ui::SystemNameIndex index(Universe());
        benchmark::DoNotOptimize(index.Size());
    }
}
BENCHMARK(BM_IndexTheNamesOf70000Systems)->Unit(benchmark::kMillisecond);

// Typing two letters into the search field: each keystroke filters the
// whole list and hands the completer its new rows. Argument 0: the first
// letters of a name (the list fills up early); 1: letters no name holds
// (every name is looked at).
void BM_FilterTheCompletionForTwoLetters(benchmark::State& state) {
    NoPrompter prompter;
    hexlane::ui::TfFindSystem dialog(prompter);
    dialog.Load(Universe());
    const TStar* first = Universe().Sectors()->ChildrenOf<TSector>().front()->ChildrenOf<TStar>().front();
    const QString typed =
        state.range(0) == 0 ? QString::fromStdString(first->Name1.substr(0, 2)).toLower() : QStringLiteral("#~");
    QLineEdit* field = dialog.Field();
    for (auto _ : state) {
        for (int n = 1; n <= 2; ++n) {
            field->setText(typed.left(n));
            emit field->textEdited(field->text());
        }
    }
    state.counters["listed"] = dialog.Completions().size();
    state.SetLabel(typed.toStdString());
}
BENCHMARK(BM_FilterTheCompletionForTwoLetters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
