// Region computation: the whole map of 70,000 systems in 200 sectors, and a
// map of one full sector.

#include "PolityRegions.h"
#include "RegionCache.h"
#include "UniverseGenerator.h"

#include <benchmark/benchmark.h>

namespace {

void Regions(benchmark::State& state, const benchgen::Options& options) {
    auto universe = benchgen::Generate(options);
    std::size_t hexes = 0;
    for (auto _ : state) {
        auto regions = regions::ComputeRegions(*universe);
        hexes = 0;
        for (const auto& r : regions) hexes += r.HexCount();
        benchmark::DoNotOptimize(regions.data());
    }
    state.counters["hexes"] = static_cast<double>(hexes);
}

void BM_RegionsWholeMap(benchmark::State& state) { Regions(state, benchgen::Options{}); }

void BM_RegionsOneSector(benchmark::State& state) {
    benchgen::Options o;
    o.Sectors = 1;
    o.SectorsPerRow = 1;
    o.Stars = 500;
    o.Allegiances = 4;
    Regions(state, o);
}

}  // namespace

BENCHMARK(BM_RegionsWholeMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegionsOneSector)->Unit(benchmark::kMillisecond);

namespace {

// What a change that leaves the regions as they were costs the document.
void BM_RegionCacheUnchanged(benchmark::State& state) {
    auto universe = benchgen::Generate(benchgen::Options{});
    regions::RegionCache cache;
    cache.Update(*universe);
    for (auto _ : state) benchmark::DoNotOptimize(cache.Update(*universe));
}

}  // namespace

BENCHMARK(BM_RegionCacheUnchanged)->Unit(benchmark::kMillisecond);
