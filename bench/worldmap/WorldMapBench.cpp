// The world map at the dialog's largest setting: 32,767 fault lines on
// 640 x 480 cells (about 10.5 million arctangents). Wall-clock times.

#include "worldmap/FractalMap.h"
#include "worldmap/WorldMapLoader.h"

#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

namespace {

constexpr orbiscarta::MapParameters kLargest{4711, 32767, 640, 480, 70, 3};

void Generate(benchmark::State& state, orbiscarta::FaultMarking marking, unsigned threads) {
    std::vector<std::int32_t> cells(640 * 480);
    for (auto _ : state) {
        if (!orbiscarta::GenerateMap(kLargest, cells.data(), marking, threads)) state.SkipWithError("map failed");
        benchmark::DoNotOptimize(cells.data());
        benchmark::ClobberMemory();
    }
    state.counters["threads"] =
        marking == orbiscarta::FaultMarking::Plain ? 1 : (threads ? threads : orbiscarta::DefaultThreadCount(kLargest));
}

// The plain single-thread computation, the reference the threaded one must match.
void BM_WorldMapPlain(benchmark::State& state) { Generate(state, orbiscarta::FaultMarking::Plain, 1); }

// The computation as CreateMap runs it; argument 0 lets it choose the threads
// for the machine (as CreateMap does), 1 keeps it on one thread.
void BM_WorldMapThreaded(benchmark::State& state) {
    Generate(state, orbiscarta::FaultMarking::Threaded, static_cast<unsigned>(state.range(0)));
}

// The whole plot through the library: load, CreateMap, unload.
void BM_WorldMapPlotThroughLibrary(benchmark::State& state) {
    worldmap::MapRequest request;
    request.Seed = kLargest.Seed;
    request.FaultCount = kLargest.FaultCount;
    for (auto _ : state) {
        const worldmap::PlotResult result = worldmap::PlotWorld(request);
        if (!result.Plotted()) state.SkipWithError(result.Error.c_str());
        benchmark::DoNotOptimize(result.Cells.data());
    }
}

}  // namespace

BENCHMARK(BM_WorldMapPlain)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_WorldMapThreaded)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_WorldMapPlotThroughLibrary)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
