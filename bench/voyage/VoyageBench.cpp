// Voyage planning on 70,000 systems: jump 3, tank 6, every fuel source, for
// each objective, between systems in the first and the last sector. The
// search alone (neighbours included), as a plan runs once the map is loaded;
// beside it the path search over the same systems and range, links built
// afresh, for comparison.

#include "UniverseGenerator.h"
#include "VoyagePlanner.h"

#include <benchmark/benchmark.h>

namespace {

TUniverse& Universe() {
    static std::unique_ptr<TUniverse> u = benchgen::Generate();
    return *u;
}

void BM_PlanVoyage(benchmark::State& state) {
    using namespace hexlane::voyage;
    TSectors* sectors = Universe().Sectors();
    VoyageRequest r;
    r.From = sectors->ChildrenOf<TSector>().front()->Stars().front();
    r.To = sectors->ChildrenOf<TSector>().back()->Stars().back();
    r.Vessel = {"bench", 200, 3, 6, 6};
    r.By = static_cast<Objective>(state.range(0));
    VoyagePlan plan;
    for (auto _ : state) plan = PlanVoyage(Universe(), r);
    state.SetLabel(ObjectiveName(r.By));
    state.counters["jumps"] = static_cast<double>(plan.Total.Jumps);
    state.counters["cost"] = static_cast<double>(plan.Total.Cost);
}
BENCHMARK(BM_PlanVoyage)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindPathSameRange(benchmark::State& state) {
    TSectors* sectors = Universe().Sectors();
    const TStar* a = sectors->ChildrenOf<TSector>().front()->Stars().front();
    const TStar* b = sectors->ChildrenOf<TSector>().back()->Stars().back();
    for (auto _ : state) {
        Universe().Path.LinkRange = -1;
        benchmark::DoNotOptimize(Universe().FindPath(*a, *b, 3, false, true));
    }
}
BENCHMARK(BM_FindPathSameRange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
