// "Import Sector Metadata..." and "Export Sector Metadata...": from the File
// menu for the sector selected in the tree (or, with none selected, the one
// the user names), and from the tree popup of a sector. An import is one
// step of the undo history.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "MergeErrorsWindow.h"
#include "Prompter.h"
#include "SectorMetadataCommands.h"
#include "UiText.h"

#include <QFileInfo>

namespace hexlane::ui {

TSector* TfMainform::SectorForCommand(const QString& title) {
    if (TSector* sector = SelectedSector()) return sector;
    const std::vector<TSector*> sectors = universe_->Sectors()->ChildrenOf<TSector>();
    const auto name = prompter_->Input(title, QStringLiteral("Sector"),
                                       sectors.empty() ? QString() : FromMap(sectors.front()->Name1));
    if (!name) return nullptr;
    TSector* sector = nullptr;
    if (const auto mapName = ToMap(*name)) sector = universe_->FindSector(*mapName);
    if (!sector) prompter_->Information(QStringLiteral("Invalid Sector Pointer"));
    return sector;
}

void TfMainform::ImportMetadataInto(TSector& sector) {
    if (metadataFolder_.isEmpty() && !FileName().isEmpty()) metadataFolder_ = QFileInfo(FileName()).absolutePath();
    // The views follow only an import that took place (a cancelled or
    // refused one leaves the tree and its selection as they were).
    bool imported = false;
    Edit(QStringLiteral("Import Sector Metadata"), [&] {
        imported = ImportSectorMetadataFile(*universe_, sector, *prompter_, *messages_, this, metadataFolder_);
    }, 0);
    if (imported) document_->ChangedWithoutStep(MapDocument::Everything);
}

void TfMainform::ExportMetadataOf(const TSector& sector) {
    if (metadataFolder_.isEmpty() && !FileName().isEmpty()) metadataFolder_ = QFileInfo(FileName()).absolutePath();
    ExportSectorMetadataFile(*universe_, sector, *prompter_, this, metadataFolder_);
}

void TfMainform::rImportMetadataClick() {
    if (TSector* sector = SectorForCommand(QStringLiteral("Import Sector Metadata"))) ImportMetadataInto(*sector);
}

void TfMainform::rExportMetadataClick() {
    if (TSector* sector = SectorForCommand(QStringLiteral("Export Sector Metadata"))) ExportMetadataOf(*sector);
}

}  // namespace hexlane::ui
