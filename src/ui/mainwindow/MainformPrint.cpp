// The main window's print, print preview and picture export commands: the
// scope dialog, then the printer dialog, Qt's print preview or the file
// chooser, then the job with progress and a Cancel button between pages.

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

std::optional<PrintChoice> TfMainform::ChoosePrintScope(const QString& title) {
    RefreshIfDirty();
    if (!mapView_->HasPicture()) {
        prompter_->Information("There is no map picture yet: open a map first.");
        return std::nullopt;
    }
    if (!printScope_) printScope_ = new PrintScopeDialog(this);
    printScope_->Load(render::ShownSectorNames(*universe_), render::ShownSubsectorNames(*universe_),
                      render::MapText(universe_->Name1.empty() ? QFileInfo(FileName()).completeBaseName().toStdString()
                                                               : universe_->Name1));
    return printScope_->Execute(title);
}

std::optional<QRectF> TfMainform::ChoiceHexes(const PrintChoice& choice) {
    switch (choice.Scope) {
    case PrintScope::WholeMap: return render::WholeMapHexes(*universe_);
    case PrintScope::View: {
        const double S = std::max(1, universe_->HexSize);
        const QPoint corner = mapView_->ViewportToPicture(QPoint(0, 0));
        const QSize size = mapView_->viewport()->size();
        return QRectF(corner.x() / S, corner.y() / S, size.width() / S, size.height() / S)
            .intersected(render::WholeMapHexes(*universe_));
    }
    case PrintScope::Sector: {
        auto area = render::SectorHexes(*universe_, choice.Sector);
        if (!area) prompter_->Error("The sector is no longer shown on the map.");
        return area;
    }
    case PrintScope::Subsector: {
        auto area = render::SubsectorHexes(*universe_, choice.Sector, choice.Subsector);
        if (!area) prompter_->Error("The subsector is no longer shown on the map.");
        return area;
    }
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- print

void TfMainform::PrintOn(QPrinter& printer, const PrintChoice& choice, const QRectF& hexes) {
    BusyScope busy(this);
    CancellableScope cancellable(this, "Printing the map ...");
    Status("Printing the map ...");
    Progress(0);
    const render::PrintOutcome outcome =
        render::PrintMap(*universe_, hexes, printer, choice.Setup, [this](int done, int total) {
            Progress(done * 100 / std::max(total, 1));
            return !CancelRequested();
        });
    Progress(-1);
    if (outcome == render::PrintOutcome::Cancelled) printer.abort();
    Status(outcome == render::PrintOutcome::Done ? "Map printed"
           : outcome == render::PrintOutcome::Cancelled ? "Printing stopped"
                                                         : QString());
    if (outcome == render::PrintOutcome::Failed) prompter_->Error("The map could not be printed.");
    if (outcome == render::PrintOutcome::TooManyPages) prompter_->Error(render::TooManyPagesText());
}

void TfMainform::rPrintClick() {
    const auto choice = ChoosePrintScope("Print");
    if (!choice) return;
    const auto hexes = ChoiceHexes(*choice);
    if (!hexes) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(choice->Setup.Title.isEmpty() ? QStringLiteral("Hexlane map") : choice->Setup.Title);
    if (!prompter_->ChoosePrinter(printer)) return;
    PrintOn(printer, *choice, *hexes);
}

void TfMainform::rPrintPreviewClick() {
    const auto choice = ChoosePrintScope("Print Preview");
    if (!choice) return;
    const auto hexes = ChoiceHexes(*choice);
    if (!hexes) return;
    QPrinter printer(QPrinter::HighResolution);
    prompter_->PrintPreview(printer, [&](QPrinter& p) { PrintOn(p, *choice, *hexes); });
}

// ---------------------------------------------------------------- export

void TfMainform::rExportPictureClick() {
    const auto choice = ChoosePrintScope("Export Picture");
    if (!choice) return;
    const auto hexes = ChoiceHexes(*choice);
    if (!hexes) return;
    const auto path = prompter_->SaveFile(FileChoice{
        "Export Picture", QStringLiteral("PDF Files (*.pdf);;SVG Files (*.svg);;PNG Files (*.png)"),
        QStringLiteral("pdf"), {}});
    if (!path) return;
    const QString suffix = QFileInfo(*path).suffix().toLower();
    if (suffix != "pdf" && suffix != "svg" && suffix != "png") {
        prompter_->Error("The picture's file name must end in .pdf, .svg or .png.");
        return;
    }
    BusyScope busy(this);
    CancellableScope cancellable(this, "Exporting the map picture ...");
    Status("Exporting the map picture ...");
    Progress(0);
    const auto onStep = [this](int done, int total) {
        Progress(done * 100 / std::max(total, 1));
        return !CancelRequested();
    };
    QString error;
    bool written = false;
    if (suffix == "pdf")
        written = render::ExportPdf(*universe_, *hexes, choice->Setup, LocalPaper(), *path, onStep, &error);
    else if (suffix == "svg")
        written = render::ExportSvg(*universe_, *hexes, choice->Setup.HexSize, *path, choice->Setup.Title, &error);
    else
        written = render::ExportPng(*universe_, *hexes, choice->Setup.HexSize, *path, onStep, &error);
    Progress(-1);
    const bool stopped = !written && CancelRequested();
    Status(written ? "Map picture exported" : stopped ? "Export stopped" : QString());
    if (!written && !stopped) prompter_->Error(error);
}

}  // namespace hexlane::ui
