// The main window's print, print preview and picture export commands: the
// scope dialog, then the printer dialog or Qt's print preview (export: the
// file chooser first, then the scope dialog for that file's type), then the
// job with progress and a Cancel button between pages.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "MapExport.h"
#include "MapPages.h"
#include "MapText.h"
#include "MapView.h"
#include "PrintScopeDialog.h"

#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScrollBar>

#include <algorithm>

namespace hexlane::ui {

namespace {

QPageSize LocalPaper() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                              : QPageSize(QPageSize::A4);
}

// The printer's paper turned as chosen, or as fills it best when automatic;
// the printer dialog and the preview start from it.
void SetPaperOrientation(QPrinter& printer, const PrintChoice& choice, const QRectF& hexes, const TUniverse& universe) {
    bool landscape = choice.Setup.Orientation == render::PageOrientation::Landscape;
    if (choice.Setup.Orientation == render::PageOrientation::Auto)
        landscape = render::PlanOnPaper(hexes, printer.pageLayout().pageSize(), choice.Setup, &universe).Landscape;
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

}  // namespace

// ---------------------------------------------------------------- cancellable jobs

void TfMainform::BeginCancellable(const QString& title) {
    delete cancelWindow_;
    cancelWindow_ = new QProgressDialog(title, "Cancel", 0, 100, this);
    cancelWindow_->setObjectName("rJobProgress");
    cancelWindow_->setWindowTitle("Hexlane");
    cancelWindow_->setWindowModality(Qt::ApplicationModal);
    cancelWindow_->setMinimumDuration(1000);
    cancelWindow_->setAutoReset(false);
    cancelWindow_->setValue(0);
}

void TfMainform::EndCancellable() {
    delete cancelWindow_;
    cancelWindow_ = nullptr;
}

bool TfMainform::CancelRequested() {
    if (!cancelWindow_) return false;
    // Setting the value lets the modal progress window take the Cancel click.
    cancelWindow_->setValue(std::clamp(progress_->value(), 0, 100));
    return cancelWindow_->wasCanceled();
}

// ---------------------------------------------------------------- scope

namespace {

// The hexes of a chosen part of the map; nothing when it is not shown.
std::optional<QRectF> AreaOf(const TUniverse& universe, const MapView& view, const PrintChoice& choice) {
    switch (choice.Scope) {
    case PrintScope::WholeMap: return render::WholeMapHexes(universe);
    case PrintScope::View: {
        const double S = std::max(1, universe.HexSize);
        const QPoint corner = view.ViewportToPicture(QPoint(0, 0));
        const QSize size = view.viewport()->size();
        return QRectF(corner.x() / S, corner.y() / S, size.width() / S, size.height() / S)
            .intersected(render::WholeMapHexes(universe));
    }
    case PrintScope::Sector: return render::SectorHexes(universe, choice.Sector);
    case PrintScope::Subsector: return render::SubsectorHexes(universe, choice.Sector, choice.Subsector);
    }
    return std::nullopt;
}

// The part in the view keeps the detail the view shows at its zoom, unless
// a fixed detail was chosen.
void KeepTheViewsDetail(PrintChoice& choice, int zoomHexSize) {
    if (choice.Scope != PrintScope::View || choice.Setup.Look.Detail != render::DetailChoice::Auto) return;
    choice.Setup.Look.Detail = zoomHexSize <= 10   ? render::DetailChoice::Dots
                               : zoomHexSize <= 30 ? render::DetailChoice::Names
                                                   : render::DetailChoice::Full;
}

}  // namespace

std::optional<PrintChoice> TfMainform::ChoosePrintScope(const QString& title, render::PictureFormat format) {
    RefreshIfDirty();
    if (!mapView_->HasPicture()) {
        prompter_->Information("There is no map picture yet: open a map first.");
        return std::nullopt;
    }
    if (!printScope_) printScope_ = new PrintScopeDialog(this);
    printScope_->Load(render::ShownSectorNames(*universe_), render::ShownSubsectorNames(*universe_),
                      render::MapText(universe_->Name1.empty() ? QFileInfo(FileName()).completeBaseName().toStdString()
                                                               : universe_->Name1));
    printScope_->SetFormat(format);
    printScope_->SetMeasure([this](const PrintChoice& c) { return AreaOf(*universe_, *mapView_, c); }, LocalPaper(),
                             universe_);
    auto choice = printScope_->Execute(title);
    if (choice) KeepTheViewsDetail(*choice, universe_->HexSize);
    return choice;
}

std::optional<QRectF> TfMainform::ChoiceHexes(const PrintChoice& choice) {
    auto area = AreaOf(*universe_, *mapView_, choice);
    if (!area && choice.Scope == PrintScope::Sector) prompter_->Error("The sector is no longer shown on the map.");
    if (!area && choice.Scope == PrintScope::Subsector) prompter_->Error("The subsector is no longer shown on the map.");
    return area;
}

// ---------------------------------------------------------------- print

// The picture job with progress and a Cancel button between its bands or
// pages; false when it failed (the message shown) or was stopped.
bool TfMainform::RunPictureJob(const render::PictureJob& job, const QString& doing, const QString& done,
                               const QString& stopped) {
    BusyScope busy(this);
    CancellableScope cancellable(this, doing);
    Status(doing);
    Progress(0);
    const render::ExportResult result = render::ExportPicture(*universe_, job, [this](int step, int total) {
        Progress(step * 100 / std::max(total, 1));
        return !CancelRequested();
    });
    Progress(-1);
    const bool wasStopped = result.Outcome == render::ExportOutcome::Stopped;
    Status(result.Done() ? done : wasStopped ? stopped : QString());
    if (result.Outcome == render::ExportOutcome::Failed) prompter_->Error(result.Message);
    return result.Done();
}

void TfMainform::PrintOn(QPrinter& printer, const PrintChoice& choice, const QRectF& hexes, bool preview) {
    render::PictureJob job;
    job.Format = render::PictureFormat::Print;
    job.Area = hexes;
    job.Pages = choice.Setup;
    // The paper as it stands: turned for the map before the printer dialog
    // or the preview opened, then as the user left it there.
    job.Pages.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                                ? render::PageOrientation::Landscape
                                : render::PageOrientation::Portrait;
    job.Printer = &printer;
    if (preview) {
        RunPictureJob(job, "Drawing the preview ...", "Preview drawn", "Preview stopped");
        return;
    }
    if (!RunPictureJob(job, "Printing the map ...", "Map printed", "Printing stopped") && CancelRequested())
        printer.abort();
}

void TfMainform::rPrintClick() {
    const auto choice = ChoosePrintScope("Print", render::PictureFormat::Print);
    if (!choice) return;
    const auto hexes = ChoiceHexes(*choice);
    if (!hexes) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(choice->Setup.Title.isEmpty() ? QStringLiteral("Hexlane map") : choice->Setup.Title);
    SetPaperOrientation(printer, *choice, *hexes, *universe_);
    if (!prompter_->ChoosePrinter(printer)) return;
    PrintOn(printer, *choice, *hexes);
}

void TfMainform::rPrintPreviewClick() {
    const auto choice = ChoosePrintScope("Print Preview", render::PictureFormat::Print);
    if (!choice) return;
    const auto hexes = ChoiceHexes(*choice);
    if (!hexes) return;
    QPrinter printer(QPrinter::HighResolution);
    SetPaperOrientation(printer, *choice, *hexes, *universe_);
    prompter_->PrintPreview(printer, [&](QPrinter& p) { PrintOn(p, *choice, *hexes, true); });
}

// ---------------------------------------------------------------- export

void TfMainform::rExportPictureClick() {
    RefreshIfDirty();
    if (!mapView_->HasPicture()) {
        prompter_->Information("There is no map picture yet: open a map first.");
        return;
    }
    // The file first: its type decides what the scope dialog offers (pages
    // for PDF, pixels per hex and per inch for PNG and SVG).
    const auto path = prompter_->SaveFile(FileChoice{
        "Export Picture", QStringLiteral("PDF Files (*.pdf);;SVG Files (*.svg);;PNG Files (*.png)"),
        QStringLiteral("pdf"), {}});
    if (!path) return;
    const auto format = render::FormatOfFile(*path);
    if (!format || *format == render::PictureFormat::Bitmap) {
        prompter_->Error("The picture's file name must end in .pdf, .svg or .png.");
        return;
    }
    const auto choice = ChoosePrintScope("Export Picture", *format);
    if (!choice) return;
    const auto hexes = ChoiceHexes(*choice);
    if (!hexes) return;
    render::PictureJob job;
    job.Format = *format;
    job.Area = *hexes;
    job.HexSize = choice->Setup.HexSize;
    job.Pages = choice->Setup;
    job.PixelsPerInch = choice->PixelsPerInch;
    job.Paper = LocalPaper();
    job.Path = *path;
    RunPictureJob(job, "Exporting the map picture ...", "Map picture exported", "Export stopped");
}

}  // namespace hexlane::ui
