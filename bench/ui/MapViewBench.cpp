// Map view benchmarks on a generated universe of 200 sectors and 70,000
// systems with every layer shown, in an 800 x 600 view: a rebuild (layout,
// the private copy of the displayed systems, the tiles in view), a repaint
// of a view whose tiles are all cached, and scrolling one arrow step at a
// time (new tiles rendered as they come into view).

#include "QtBench.h"
#include "DefineUniverse.h"
#include "MapView.h"
#include "UniverseGenerator.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void EnsureQt() { benchqt::EnsureApplication<QApplication>("bench_mapview"); }

TUniverse& Universe(int hexSize) {
    static std::unique_ptr<TUniverse> universe;
    if (!universe) {
        universe = benchgen::Generate();
        TUniverse& u = *universe;
        u.ShowNames = u.ShowStarports = u.ShowSystemContents = u.ShowRoutes = u.ShowSectorLines =
            u.ShowSubsectorLines = u.ShowAllegianceColors = u.ShowAllInfo = true;
    }
    universe->SetHexSize(hexSize);
    return *universe;
}

std::unique_ptr<hexlane::ui::MapView> View(TUniverse& u) {
    auto view = std::make_unique<hexlane::ui::MapView>();
    view->resize(800, 600);
    view->SetUniverse(&u);
    view->show();
    QApplication::processEvents();
    return view;
}

void BM_Rebuild(benchmark::State& state) {
    EnsureQt();
    TUniverse& u = Universe(static_cast<int>(state.range(0)));
    auto view = View(u);
    view->ScrollTo(view->PictureSize().width() / 2, view->PictureSize().height() / 2);
    for (auto _ : state) {
        u.MapDirty = true;
        view->Rebuild(nullptr);
    }
    state.counters["tiles"] = view->TilesRendered();
}
BENCHMARK(BM_Rebuild)->Arg(10)->Arg(30)->Arg(90)->Unit(benchmark::kMillisecond);

void BM_RepaintCached(benchmark::State& state) {
    EnsureQt();
    TUniverse& u = Universe(30);
    auto view = View(u);
    view->Rebuild(nullptr);
    view->ScrollTo(1000, 1000);
    view->viewport()->repaint();
    const int rendered = view->TilesRendered();
    for (auto _ : state) view->viewport()->repaint();
    state.counters["new_tiles"] = view->TilesRendered() - rendered;
}
BENCHMARK(BM_RepaintCached)->Unit(benchmark::kMillisecond);

// One step of the scroll bar's arrow each time, across the picture.
void BM_ScrollStep(benchmark::State& state) {
    EnsureQt();
    TUniverse& u = Universe(static_cast<int>(state.range(0)));
    auto view = View(u);
    view->Rebuild(nullptr);
    const int step = u.HexSize;
    int x = 0;
    for (auto _ : state) {
        x += step;
        if (x > view->PictureSize().width() - 800) x = 0;
        view->ScrollTo(x, 0);
        view->viewport()->repaint();
    }
    state.counters["tiles_per_step"] =
        benchmark::Counter(view->TilesRendered(), benchmark::Counter::kAvgIterations);
    state.counters["cache_MB"] = static_cast<double>(view->CacheBytes()) / (1 << 20);
}
BENCHMARK(BM_ScrollStep)->Arg(30)->Arg(90)->Unit(benchmark::kMillisecond);

}  // namespace
