// Qt's print preview of one subsector fitted to an A4 page, drawn through
// the map printing the Print Preview command uses, on a generated sector of
// about 600 systems with every layer shown: the time to draw the preview's
// page again.

#include "QtBench.h"
#include "DefineUniverse.h"
#include "MapPages.h"
#include "UniverseGenerator.h"

#include <QApplication>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void EnsureQt() { benchqt::EnsureApplication<QApplication>("bench_print_preview"); }

void BM_PreviewPage_OneSubsector(benchmark::State& state) {
    EnsureQt();
    benchgen::Options o;
    o.Sectors = 1;
    o.SectorsPerRow = 1;
    o.Stars = 600;
    o.Routes = 5;
    o.LegsPerRoute = 6;
    const std::unique_ptr<TUniverse> u = benchgen::Generate(o);
    u->ShowNames = u->ShowStarports = u->ShowSystemContents = u->ShowRoutes = u->ShowSectorLines =
        u->ShowSubsectorLines = u->ShowAllegianceColors = u->ShowAllInfo = true;
    u->SetHexSize(30);
    const auto names = hexlane::render::ShownSubsectorNames(*u);
    const QRectF area = *hexlane::render::SubsectorHexes(*u, names.front().first, names.front().second);
    hexlane::render::PageSetup setup;
    setup.Title = QStringLiteral("Subsector");

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewWidget preview(&printer);
    preview.resize(800, 1000);
    int pages = 0;
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, [&](QPrinter* p) {
        hexlane::render::PrintMap(*u, area, *p, setup, [&pages](int done, int) {
            pages = done;
            return true;
        });
    });
    preview.show();
    for (auto _ : state) preview.updatePreview();
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PreviewPage_OneSubsector)->Unit(benchmark::kMillisecond);

}  // namespace
