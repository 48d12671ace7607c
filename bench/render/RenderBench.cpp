// Map picture benchmarks on generated universes with every layer shown:
// the layout pass, one screen-sized piece, a 4-sector bitmap at the largest
// zoom, and a bitmap of all 144 sector positions (16 x 9) at the largest
// zoom with the process's peak memory.

#include "QtBench.h"
#include "DefineUniverse.h"
#include "MapBitmap.h"
#include "MapExport.h"
#include "MapLayout.h"
#include "MapRenderer.h"
#include "UniverseGenerator.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

void EnsureQt() { benchqt::EnsureApplication<QGuiApplication>("bench_render"); }

void ShowAll(TUniverse& u) {
    u.ShowNames = u.ShowStarports = u.ShowSystemContents = u.ShowRoutes = u.ShowSectorLines =
        u.ShowSubsectorLines = u.ShowAllegianceColors = u.ShowAllInfo = true;
}

TUniverse& Universe(int sectors, int perRow, int hexSize) {
    static std::map<std::pair<int, int>, std::unique_ptr<TUniverse>> cache;
    auto& slot = cache[{sectors, perRow}];
    if (!slot) {
        benchgen::Options o;
        o.Sectors = sectors;
        o.SectorsPerRow = perRow;
        o.Stars = sectors == 200 ? 70000 : sectors * 350;
        slot = benchgen::Generate(o);
        ShowAll(*slot);
    }
    slot->SetHexSize(hexSize);
    return *slot;
}

void BM_Layout_200Sectors(benchmark::State& state) {
    EnsureQt();
    TUniverse& u = Universe(200, 20, 30);
    for (auto _ : state) benchmark::DoNotOptimize(hexlane::render::LayoutMap(u));
    state.counters["stars"] = 70000;
    // The display list's size and the room it holds.
    const hexlane::render::DisplayList list = hexlane::render::LayoutMap(u).Picture;
    auto bytes = [](const auto& v) { return static_cast<double>(v.capacity() * sizeof(v[0])); };
    state.counters["shapes"] = static_cast<double>(list.Shapes.size());
    state.counters["list_MB"] =
        (bytes(list.Shapes) + bytes(list.Groups) + bytes(list.Points) + bytes(list.Chars)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Layout_200Sectors)->Unit(benchmark::kMillisecond);

void BM_DrawScreen_Hex30(benchmark::State& state) {
    EnsureQt();
    TUniverse& u = Universe(200, 20, 30);
    const hexlane::render::MapRenderer renderer(u);
    const QSize size = renderer.PictureSize();
    const QRect screen(size.width() / 2 - 960, size.height() / 2 - 540, 1920, 1080);
    for (auto _ : state) {
        QImage image = renderer.Render(screen);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["picture_w"] = size.width();
    state.counters["picture_h"] = size.height();
}
BENCHMARK(BM_DrawScreen_Hex30)->Unit(benchmark::kMillisecond);

void SaveBitmap(benchmark::State& state, int sectors, int perRow) {
    EnsureQt();
    TUniverse& u = Universe(sectors, perRow, 90);
    const QString file = QDir::temp().filePath(QStringLiteral("bench_render_%1.bmp").arg(sectors));
    QSize size;
    for (auto _ : state) {
        const hexlane::render::MapRenderer renderer(u);
        size = renderer.PictureSize();
        QString error;
        hexlane::render::PictureJob job;
        job.Format = hexlane::render::PictureFormat::Bitmap;
        job.HexSize = u.HexSize;
        job.Path = file;
        job.Screen = &renderer;
        const auto result = hexlane::render::ExportPicture(u, job);
        error = result.Message;
        if (!result.Done()) state.SkipWithError(qPrintable(error));
    }
    state.counters["picture_w"] = size.width();
    state.counters["picture_h"] = size.height();
    state.counters["file_MB"] = static_cast<double>(QFile(file).size()) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = benchqt::PeakMegabytes();
    QFile::remove(file);
}

void BM_SaveBitmap_4Sectors_Hex90(benchmark::State& state) {
    SaveBitmap(state, 4, 2);
}
BENCHMARK(BM_SaveBitmap_4Sectors_Hex90)->Unit(benchmark::kMillisecond);

// Run alone for a meaningful peak: --benchmark_filter=AllSectorPositions
void BM_SaveBitmap_AllSectorPositions_Hex90(benchmark::State& state) {
    SaveBitmap(state, 144, 16);
}
BENCHMARK(BM_SaveBitmap_AllSectorPositions_Hex90)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
