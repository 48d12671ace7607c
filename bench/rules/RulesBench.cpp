#include "GenerateSystems.h"
#include "RuleCheck.h"
#include "UniverseGenerator.h"

#include <benchmark/benchmark.h>

using namespace hexlane::rules;

namespace {

// An empty map with a sector at each of the 16 x 9 positions of the sector grid.
std::unique_ptr<TUniverse> EmptyGrid() {
    auto u = TUniverse::CreateNew();
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 16; ++x) {
            TSector* s = u->Sectors()->Create<TSector>();
            s->Name1 = "Sector " + std::to_string(x) + "-" + std::to_string(y);
            s->SectorCoordsX = x;
            s->SectorCoordsY = y;
            for (int i = 0; i < 16; ++i) s->SSName[static_cast<std::size_t>(i)] = std::string(1, static_cast<char>('a' + i));
        }
    return u;
}

void GenerateAllSectorPositions(benchmark::State& state) {
    std::int64_t systems = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto universe = EmptyGrid();
        state.ResumeTiming();
        TSystemGenerator generator(*universe);
        TGenerateOptions options;
        options.Seed = 2026;
        systems = 0;
        for (TSector* sector : universe->Sectors()->ChildrenOf<TSector>()) systems += generator.Generate(*sector, options);
        universe->ComputeExtent();
        state.PauseTiming();
        universe.reset();
        state.ResumeTiming();
    }
    state.counters["systems"] = static_cast<double>(systems);
}
BENCHMARK(GenerateAllSectorPositions)->Unit(benchmark::kMillisecond);

void CheckBenchmarkMap(benchmark::State& state) {
    const auto universe = benchgen::Generate();
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto result = CheckAgainstRules(*universe, TRuleSet::Classic);
        findings = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(CheckBenchmarkMap)->Unit(benchmark::kMillisecond);

}  // namespace
