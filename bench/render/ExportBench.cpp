// Printing and picture export on generated universes with every layer shown:
// PDF and SVG of one sector (about 600 systems) at 30 pixels per hex, one
// printed page of one subsector, and PNG of a 200-sector map against the
// bitmap of the same map, with the process's peak memory. Run the large
// ones alone for a meaningful peak: --benchmark_filter=200Sectors_Hex90
//
// "The whole 200-sector map" is 20 sectors across by 10 down.

#include "QtBench.h"
#include "DefineUniverse.h"
#include "MapBitmap.h"
#include "MapExport.h"
#include "MapPages.h"
#include "MapRenderer.h"
#include "UniverseGenerator.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace hexlane::render;

void EnsureQt() { benchqt::EnsureApplication<QGuiApplication>("bench_render_export"); }

TUniverse& Universe(int sectors, int perRow, int stars) {
    static std::map<int, std::unique_ptr<TUniverse>> cache;
    auto& slot = cache[sectors];
    if (!slot) {
        benchgen::Options o;
        o.Sectors = sectors;
        o.SectorsPerRow = perRow;
        o.Stars = stars;
        o.Routes = sectors == 1 ? 5 : 50;
        o.LegsPerRoute = sectors == 1 ? 6 : 20;
        slot = benchgen::Generate(o);
        TUniverse& u = *slot;
        u.ShowNames = u.ShowStarports = u.ShowSystemContents = u.ShowRoutes = u.ShowSectorLines =
            u.ShowSubsectorLines = u.ShowAllegianceColors = u.ShowAllInfo = true;
    }
    return *slot;
}

TUniverse& OneSector() {
    TUniverse& u = Universe(1, 1, 600);
    u.SetHexSize(30);
    return u;
}

std::string FirstSectorName(const TUniverse& u) {
    return ShownSectorNames(u).front();
}

// One picture through the one export function.
bool Export(const TUniverse& u, PictureFormat format, const QRectF& area, int hexSize, const QString& file,
            QString* error, const PageSetup& pages = {}, const MapRenderer* screen = nullptr) {
    PictureJob job;
    job.Format = format;
    job.Area = area;
    job.HexSize = hexSize;
    job.Path = file;
    job.Pages = pages;
    job.Screen = screen;
    const ExportResult result = ExportPicture(u, job);
    *error = result.Message;
    return result.Done();
}

QString TempFile(const char* name) {
    return QDir::temp().filePath(QString::fromLatin1(name));
}

void BM_Pdf_OneSector_Hex30(benchmark::State& state) {
    EnsureQt();
    TUniverse& u = OneSector();
    const QRectF area = *SectorHexes(u, FirstSectorName(u));
    PageSetup setup;
    setup.Mode = PageMode::Poster;
    setup.HexSize = 30;
    setup.Title = QStringLiteral("Sector");
    const QString file = TempFile("bench_export.pdf");
    for (auto _ : state) {
        QString error;
        if (!Export(u, PictureFormat::Pdf, area, setup.HexSize, file, &error, setup)) state.SkipWithError(qPrintable(error));
    }
    state.counters["systems"] = static_cast<double>(u.Sectors()->Child(0)->ChildCount());
    state.counters["file_KB"] = static_cast<double>(QFile(file).size()) / 1024.0;
    QFile::remove(file);
}
BENCHMARK(BM_Pdf_OneSector_Hex30)->Unit(benchmark::kMillisecond);

void BM_Svg_OneSector_Hex30(benchmark::State& state) {
    EnsureQt();
    TUniverse& u = OneSector();
    const QRectF area = *SectorHexes(u, FirstSectorName(u));
    const QString file = TempFile("bench_export.svg");
    for (auto _ : state) {
        QString error;
        if (!Export(u, PictureFormat::Svg, area, 30, file, &error)) state.SkipWithError(qPrintable(error));
    }
    state.counters["file_KB"] = static_cast<double>(QFile(file).size()) / 1024.0;
    QFile::remove(file);
}
BENCHMARK(BM_Svg_OneSector_Hex30)->Unit(benchmark::kMillisecond);

// One subsector fitted to an A4 page at printer resolution, as the preview
// draws each page (into memory here).
void BM_PrintPage_OneSubsector(benchmark::State& state) {
    EnsureQt();
    TUniverse& u = OneSector();
    const auto subsectors = ShownSubsectorNames(u);
    const QRectF area = *SubsectorHexes(u, subsectors.front().first, subsectors.front().second);
    PageSetup setup;
    setup.Title = QStringLiteral("Subsector");
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter page(&buffer);
        page.setResolution(600);
        page.setPageSize(QPageSize(QPageSize::A4));
        if (PrintMap(u, area, page, setup, {}) != PrintOutcome::Done) state.SkipWithError("not printed");
    }
}
BENCHMARK(BM_PrintPage_OneSubsector)->Unit(benchmark::kMillisecond);

TUniverse& WholeMap(int hexSize) {
    TUniverse& u = Universe(200, 20, 70000);
    u.SetHexSize(hexSize);
    return u;
}

void SaveBitmapOfWholeMap(benchmark::State& state, int hexSize) {
    EnsureQt();
    TUniverse& u = WholeMap(hexSize);
    const QString file = TempFile("bench_export.bmp");
    QSize size;
    for (auto _ : state) {
        const MapRenderer renderer(u);
        size = renderer.PictureSize();
        QString error;
        if (!Export(u, PictureFormat::Bitmap, {}, u.HexSize, file, &error, {}, &renderer)) state.SkipWithError(qPrintable(error));
    }
    state.counters["picture_w"] = size.width();
    state.counters["picture_h"] = size.height();
    state.counters["file_MB"] = static_cast<double>(QFile(file).size()) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = benchqt::PeakMegabytes();
    QFile::remove(file);
}

void PictureOfWholeMap(benchmark::State& state, PictureFormat format, int hexSize) {
    EnsureQt();
    TUniverse& u = WholeMap(hexSize >= 90 ? 90 : 30);
    const QString file = TempFile(format == PictureFormat::Svg ? "bench_export.svg" : "bench_export.png");
    for (auto _ : state) {
        QString error;
        if (!Export(u, format, WholeMapHexes(u), hexSize, file, &error)) state.SkipWithError(qPrintable(error));
    }
    const QSize size = PictureSizeAt(u, hexSize);
    state.counters["picture_w"] = size.width();
    state.counters["picture_h"] = size.height();
    state.counters["file_MB"] = static_cast<double>(QFile(file).size()) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = benchqt::PeakMegabytes();
    QFile::remove(file);
}

void BM_SaveBitmap_200Sectors_Hex30(benchmark::State& state) { SaveBitmapOfWholeMap(state, 30); }
BENCHMARK(BM_SaveBitmap_200Sectors_Hex30)->Unit(benchmark::kMillisecond)->Iterations(2);

void PngOfWholeMap(benchmark::State& state, int hexSize) { PictureOfWholeMap(state, PictureFormat::Png, hexSize); }

void BM_Png_200Sectors_Hex30(benchmark::State& state) { PngOfWholeMap(state, 30); }
BENCHMARK(BM_Png_200Sectors_Hex30)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Png_200Sectors_Hex90(benchmark::State& state) { PngOfWholeMap(state, 90); }
BENCHMARK(BM_Png_200Sectors_Hex90)->Unit(benchmark::kSecond)->Iterations(1);

// The vector painter's bands at a size between the levels.
void BM_Png_200Sectors_Hex45(benchmark::State& state) { PngOfWholeMap(state, 45); }
BENCHMARK(BM_Png_200Sectors_Hex45)->Unit(benchmark::kSecond)->Iterations(1);

// SVG streams to its file: the peak stays that of the map and its display
// list at any size. Run alone for a meaningful peak.
void BM_Svg_200Sectors_Hex200(benchmark::State& state) { PictureOfWholeMap(state, PictureFormat::Svg, 200); }
BENCHMARK(BM_Svg_200Sectors_Hex200)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
