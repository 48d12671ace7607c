// The delete commands of the tree and the list, each behind its own
// question, and the column chooser command of the list.

#include "Mainform.h"

#include "ConfigSysListCols.h"
#include "DefineUniverse.h"
#include "NavigatorTree.h"
#include "SystemList.h"
#include "UiText.h"

namespace hexlane::ui {

void TfMainform::rmDeleteSectorClick() {
    Step step(this, "Delete Sector");
    QTreeWidgetItem* node = SelectedNode();
    const NodeKind kind = KindOf(node);
    if (kind != NodeKind::Sector && kind != NodeKind::Subsector) return;
    TSector* sector = SectorOf(kind == NodeKind::Subsector ? node->parent() : node);
    if (!sector) return;
    if (!prompter_->YesNo("Delete " + FromMap(sector->Name1) + " Sector from the Universe?", Look::Question)) return;
    if (sector->HasStars() &&
        !prompter_->YesNo("There are still systems in this sector.\n\nIf this sector is deleted, then all systems \n"
                          "will be deleted, also.\n\nContinue with deletion?",
                          Look::Warning))
        return;
    // The list and the tree refer to the sector: empty the list now; the
    // rebuilt tree starts from "Sectors" with an empty list.
    listModel_->Clear();
    TManager::Destroy(sector);
    universe_->MapDirty = true;
    universe_->ComputeExtent();
    MarkChanged(*universe_);
    Invalidate();
    RebuildTree();
}

void TfMainform::rmDeleteStarClick() {
    Step step(this, "Delete Star");
    const std::vector<TStar*> stars = SelectedStars();
    if (stars.empty()) return;
    if (!prompter_->YesNo("Delete Star(s) from the Universe?", Look::Warning)) {
        prompter_->Information("I didn't think you had that much power");
        return;
    }
    listModel_->Clear();
    for (TStar* star : stars)
        if (star) TManager::Destroy(star);
    // The picture positions of the remaining stars are those of the last
    // rebuild; the extent follows the stars that are left.
    universe_->ComputeExtent();
    FillList();
    universe_->MapDirty = true;
    MarkChanged(*universe_);
    Invalidate();
}

void TfMainform::rmDeleteLegClick() {
    Step step(this, "Delete Leg");
    const std::vector<TRouteLeg*> legs = SelectedLegs();
    if (legs.empty()) return;
    if (!prompter_->YesNo("Delete Leg(s) from IISS Trade/Comm Database ?", Look::Warning)) {
        prompter_->Information("I didn't think you had that kind of influence.");
        return;
    }
    listModel_->Clear();
    for (TRouteLeg* leg : legs) {
        if (!leg) continue;
        if (leg == instaLeg_) {
            instaLeg_ = nullptr;
            instaLegActive_ = false;
        }
        TManager::Destroy(leg);
    }
    FillList();
    universe_->MapDirty = true;
    MarkChanged(*universe_);
    Invalidate();
}

void TfMainform::rmDeleteAllegianceClick() {
    Step step(this, "Delete Allegiance");
    QTreeWidgetItem* node = SelectedNode();
    TAllegiance* allegiance = KindOf(node) == NodeKind::Allegiance ? AllegianceOf(node) : nullptr;
    if (!allegiance) return;
    if (listModel_->rowCount() > 0) {
        prompter_->Information("You must first move all Systems that belong to this empire to another.");
        return;
    }
    if (!prompter_->YesNo("Delete Selected Allegiance from the Political Arena?", Look::Warning)) {
        prompter_->Information("I didn't think you had that many ships.");
        return;
    }
    TManager::Destroy(allegiance);
    delete node;  // selects a neighbour, which refills the list
    MarkChanged(*universe_);
}

void TfMainform::rmDeleteRouteClick() {
    Step step(this, "Delete Route");
    QTreeWidgetItem* node = SelectedNode();
    TRoute* route = KindOf(node) == NodeKind::Route ? RouteOf(node) : nullptr;
    if (!route) return;
    if (!prompter_->YesNo("Delete Selected Route(s) from the IISS Trade/Comm Route database?", Look::Warning)) {
        prompter_->Information("I didn't think you had that kind of influence.");
        return;
    }
    listModel_->Clear();
    if (instaLeg_ && instaLeg_->Owner() == route) {
        instaLeg_ = nullptr;
        instaLegActive_ = false;
    }
    TManager::Destroy(route);
    universe_->MapDirty = true;
    universe_->ComputeExtent();
    MarkChanged(*universe_);
    Invalidate();
    RebuildTree();
}

void TfMainform::rSystemListColumnsClick() {
    columnChooser_->Load(columns_);
    if (columnChooser_->exec() != QDialog::Accepted) return;
    columnChooser_->Apply(columns_);
    // The list starts again from its new columns and stays empty until the
    // tree's selection changes.
    listModel_->RemoveColumns();
    listModel_->SetStarColumns(columns_, true);
}

}  // namespace hexlane::ui
