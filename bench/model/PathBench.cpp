// Jump path search on 70,000 systems: the whole FindPath (nodes, links from
// the grid, search) for jump ranges 1, 2, 4 and 6, a second search on the
// unchanged map (as the path dialog makes it), and the all-pairs link builder
// on the same nodes for comparison.

#include "UniverseGenerator.h"

#include <benchmark/benchmark.h>

namespace {

TUniverse& Universe() {
    static std::unique_ptr<TUniverse> u = benchgen::Generate();
    return *u;
}

// Origin in the first sector, destination in the last: far apart.
std::pair<TStar*, TStar*> Ends() {
    TSectors* sectors = Universe().Sectors();
    TStar* a = sectors->ChildrenOf<TSector>().front()->Stars().front();
    TStar* b = sectors->ChildrenOf<TSector>().back()->Stars().back();
    return {a, b};
}

// Every iteration builds the links afresh, as the first search on a map does.
void BM_FindPath(benchmark::State& state) {
    const int range = static_cast<int>(state.range(0));
    auto [a, b] = Ends();
    FindPathResult r;
    for (auto _ : state) {
        Universe().Path.LinkRange = -1;
        r = Universe().FindPath(*a, *b, range, false, true);
    }
    state.counters["links"] = static_cast<double>(Universe().Path.LinkCount());
    state.counters["jumps"] = static_cast<double>(r.LegLines.size());
}
BENCHMARK(BM_FindPath)->Arg(1)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

void BM_FindPathByTime(benchmark::State& state) {
    const int range = static_cast<int>(state.range(0));
    auto [a, b] = Ends();
    for (auto _ : state) {
        Universe().Path.LinkRange = -1;
        Universe().FindPath(*a, *b, range, false, false);
    }
}
BENCHMARK(BM_FindPathByTime)->Arg(6)->Unit(benchmark::kMillisecond);

// The dialog's second search on the same map and range, the other search type.
void BM_SecondFindPath(benchmark::State& state) {
    auto [a, b] = Ends();
    Universe().FindPath(*a, *b, 6, false, true);
    bool byDistance = false;
    for (auto _ : state) {
        Universe().FindPath(*a, *b, 6, false, byDistance);
        byDistance = !byDistance;
    }
}
BENCHMARK(BM_SecondFindPath)->Unit(benchmark::kMillisecond);

// The grid link builder alone at range 6, by one thread and shared by two.
void BM_GridLinks(benchmark::State& state) {
    auto [a, b] = Ends();
    Universe().FindPath(*a, *b, 6, false, true);  // the nodes
    for (auto _ : state) hexlane::BuildPathLinks(Universe().Path, 6, static_cast<unsigned>(state.range(0)));
}
BENCHMARK(BM_GridLinks)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AllPairsLinks(benchmark::State& state) {
    auto [a, b] = Ends();
    Universe().FindPath(*a, *b, 6, false, true);  // the nodes
    for (auto _ : state) hexlane::BuildPathLinksAllPairs(Universe().Path, 6);
}
BENCHMARK(BM_AllPairsLinks)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
