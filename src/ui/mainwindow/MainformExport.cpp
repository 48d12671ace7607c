// "Export Sector File...": from the tree popup of a sector, and from the File
// menu for the sector selected in the tree (or, with none selected, the one
// the user names).

#include "Mainform.h"

#include "DefineUniverse.h"
#include "ExportSector.h"
#include "NavigatorTree.h"
#include "UiText.h"

#include <QFileInfo>
#include <QTreeWidgetItem>

namespace hexlane::ui {

TSector* TfMainform::SelectedSector() const {
    QTreeWidgetItem* node = SelectedNode();
    const NodeKind kind = KindOf(node);
    if (kind != NodeKind::Sector && kind != NodeKind::Subsector) return nullptr;
    return SectorOf(kind == NodeKind::Subsector ? node->parent() : node);
}

void TfMainform::ExportSectorFile(const TSector& sector) {
    if (exportFolder_.isEmpty() && !FileName().isEmpty()) exportFolder_ = QFileInfo(FileName()).absolutePath();
    ExportSector(*universe_, sector, *prompter_, *messages_, this, exportFolder_);
}

void TfMainform::rmExportSectorClick() {
    if (TSector* sector = SelectedSector()) ExportSectorFile(*sector);
}

void TfMainform::rExportSectorClick() {
    TSector* sector = SelectedSector();
    if (!sector) {
        const std::vector<TSector*> sectors = universe_->Sectors()->ChildrenOf<TSector>();
        const auto name = prompter_->Input(QStringLiteral("Export Sector File"), QStringLiteral("Sector"),
                                           sectors.empty() ? QString() : FromMap(sectors.front()->Name1));
        if (!name) return;
        if (const auto mapName = ToMap(*name)) sector = universe_->FindSector(*mapName);
        if (!sector) {
            prompter_->Information(QStringLiteral("Invalid Sector Pointer"));
            return;
        }
    }
    ExportSectorFile(*sector);
}

}  // namespace hexlane::ui
