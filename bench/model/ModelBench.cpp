// Load, save and ComputeExtent on a universe of all charted space: 200 sectors,
// 70,000 stars, 50 routes of 20 legs, 30 allegiances.

#include "MapSnapshot.h"
#include "UniverseGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& MapPath() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "hexlane-bench-70k.map").string();
        auto u = benchgen::Generate();
        std::string msg;
        if (!u->SaveToFile(p, msg)) std::fprintf(stderr, "cannot write %s: %s\n", p.c_str(), msg.c_str());
        return p;
    }();
    return path;
}

void BM_Load(benchmark::State& state) {
    const std::string& path = MapPath();
    for (auto _ : state) {
        auto u = TUniverse::CreateNew();
        std::string msg;
        if (!u->LoadFromFile(path, msg)) state.SkipWithError(msg.c_str());
        benchmark::DoNotOptimize(u.get());
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
    auto u = TUniverse::CreateNew();
    std::string msg;
    u->LoadFromFile(MapPath(), msg);
    const std::string out = MapPath() + ".out";
    for (auto _ : state)
        if (!u->SaveToFile(out, msg)) state.SkipWithError(msg.c_str());
    std::filesystem::remove(out);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_ComputeExtent(benchmark::State& state) {
    auto u = benchgen::Generate();
    for (auto _ : state) u->ComputeExtent();
}
BENCHMARK(BM_ComputeExtent)->Unit(benchmark::kMillisecond);

// The undo history's snapshot after one system changed: every piece written
// again and compared, only the changed ones kept.
void BM_TakeSnapshot(benchmark::State& state) {
    auto u = benchgen::Generate();
    auto previous = hexlane::TakeSnapshot(*u, nullptr);
    std::vector<TStar*> stars;
    u->ForEachStar([&](TStar& s) { stars.push_back(&s); });
    std::size_t n = 0;
    for (auto _ : state) {
        TStar* star = stars[(n++ * 7919) % stars.size()];
        star->UPC = star->UPC == "A788899" ? "B565776" : "A788899";
        previous = hexlane::TakeSnapshot(*u, previous.get());
    }
    state.counters["added_KB"] = static_cast<double>(previous->AddedBytes) / 1024;
}
BENCHMARK(BM_TakeSnapshot)->Unit(benchmark::kMillisecond);

}  // namespace
