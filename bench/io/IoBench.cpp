// Sector import: a full sector file (1,280 system lines) into a universe that
// already holds 70,000 stars, most lines naming systems the universe already
// has, so every line needs the unique-name rule. Goal: <= 200 ms.
// Merge and overlay: two universes of 35,000 stars each, the second sharing
// half its sector, star and route names with the first. Goal: <= 1 s.

#include "ImportSec.h"
#include "MergeErrors.h"
#include "ObjectStream.h"
#include "SelectedSave.h"
#include "UniverseGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A sector file of every hex; the names repeat those of the universe's stars
// (each line takes a name from a star, some names three times over).
std::string FullSectorFile(const TUniverse& u) {
    std::vector<std::string> names;
    u.ForEachStar([&](const TStar& s) {
        if (names.size() < 900) names.push_back(s.Name1.substr(0, 14));
    });
    std::string text = "Generated sector for the import benchmark\n";
    text += std::string(kSectorFileRuler) + "\n";
    const char bases[] = " ANSWDGH";
    for (int i = 0; i < 1280; ++i) {
        const int column = i % 32 + 1, row = i / 32 + 1;
        std::string name = names[static_cast<std::size_t>(i % 3 == 0 ? i % 100 : i % names.size())];
        name.resize(14, ' ');
        char hex[5];
        std::snprintf(hex, sizeof hex, "%02d%02d", column, row);
        std::string line = name + hex + " A788899-C  " + bases[i % 8] + std::string(17, ' ') +
                           (i % 5 == 0 ? 'A' : ' ') + "  " + "123 " + (i % 2 ? "Aa" : "Bb") + " G2 V";
        text += line + (i % 2 ? "\r\n" : "\n");
    }
    return text;
}

void BM_ImportFullSector(benchmark::State& state) {
    benchgen::Options o;  // 200 sectors, 70,000 stars
    auto u = benchgen::Generate(o);
    const std::string path = (std::filesystem::temp_directory_path() / "hexlane-bench-import.sec").string();
    std::ofstream(path, std::ios::binary) << FullSectorFile(*u);
    int imported = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TSector* target = u->Sectors()->Create<TSector>();
        target->Name1 = "Import Target";
        target->SectorCoordsX = 21;
        target->SectorCoordsY = 1;
        state.ResumeTiming();
        const TSectorImportResult r = ImportSectorFile(*u, "Import Target", path);
        if (!r.Ok()) state.SkipWithError(r.Message.c_str());
        imported = r.StarsImported;
        state.PauseTiming();
        TManager::Destroy(target);
        state.ResumeTiming();
    }
    state.counters["stars_before"] = 70000;
    state.counters["lines_imported"] = imported;
    std::filesystem::remove(path);
}
BENCHMARK(BM_ImportFullSector)->Unit(benchmark::kMillisecond);

// Two universes of 35,000 stars in 100 sectors; the second is generated from
// another seed, then every other sector takes a name of the first and every
// other star a name of the first, so half the loaded objects have namesakes.
struct TwoUniverses {
    std::string Memory, Loaded;  // object streams, read afresh for every run
};

const TwoUniverses& Pair() {
    static const TwoUniverses pair = [] {
        benchgen::Options o;
        o.Sectors = 100;
        o.SectorsPerRow = 10;
        o.Stars = 35000;
        o.Routes = 25;
        auto a = benchgen::Generate(o);
        o.Seed = 2;
        auto b = benchgen::Generate(o);
        std::vector<TStar*> aStars, bStars;
        a->ForEachStar([&](TStar& s) { aStars.push_back(&s); });
        b->ForEachStar([&](TStar& s) { bStars.push_back(&s); });
        for (std::size_t i = 0; i < bStars.size() && i < aStars.size(); i += 2) bStars[i]->Name1 = aStars[i]->Name1;
        auto aSectors = a->Sectors()->ChildrenOf<TSector>();
        auto bSectors = b->Sectors()->ChildrenOf<TSector>();
        for (std::size_t i = 0; i < bSectors.size(); i += 2) bSectors[i]->Name1 = aSectors[i]->Name1;
        TwoUniverses p;
        hexlane::WriteObjectStream(*a, p.Memory);
        hexlane::WriteObjectStream(*b, p.Loaded);
        return p;
    }();
    return pair;
}

std::unique_ptr<TUniverse> Read(const std::string& bytes) {
    auto u = std::make_unique<TUniverse>();
    hexlane::ReadObjectStreamInto(*u, bytes);
    u->ComputeExtent();
    return u;
}

void Combine(benchmark::State& state, bool overlay) {
    const TwoUniverses& p = Pair();
    std::size_t lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto memory = Read(p.Memory);
        auto loaded = Read(p.Loaded);
        state.ResumeTiming();
        TCombineResult r = overlay ? OverlayUniverse(*memory, *loaded) : MergeUniverse(*memory, *loaded);
        lines = r.Lines.size();
        state.PauseTiming();
        memory.reset();
        loaded.reset();
        state.ResumeTiming();
    }
    state.counters["message_lines"] = static_cast<double>(lines);
}

void BM_Merge35kInto35k(benchmark::State& state) { Combine(state, false); }
void BM_Overlay35kOnto35k(benchmark::State& state) { Combine(state, true); }
BENCHMARK(BM_Merge35kInto35k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Overlay35kOnto35k)->Unit(benchmark::kMillisecond);

// The whole merge command on files: reading the second map included.
void BM_MergeFile35kInto35k(benchmark::State& state) {
    const TwoUniverses& p = Pair();
    const std::string path = (std::filesystem::temp_directory_path() / "hexlane-bench-merge.map").string();
    std::ofstream(path, std::ios::binary) << p.Loaded;
    for (auto _ : state) {
        state.PauseTiming();
        auto memory = Read(p.Memory);
        state.ResumeTiming();
        TCombineResult r = MergeMapFile(*memory, path);
        if (r.Status != TCombineResult::TStatus::Done) state.SkipWithError(r.Message.c_str());
        state.PauseTiming();
        memory.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_MergeFile35kInto35k)->Unit(benchmark::kMillisecond);

void BM_SelectedSave70k(benchmark::State& state) {
    auto u = benchgen::Generate();
    const std::string path = (std::filesystem::temp_directory_path() / "hexlane-bench-selected.map").string();
    for (auto _ : state) {
        std::string message;
        if (!SelectedSave(*u, TSelectedSaveOptions{}, path, message)) state.SkipWithError(message.c_str());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SelectedSave70k)->Unit(benchmark::kMillisecond);

}  // namespace
