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
    Edit("Delete Sector", [&] { TManager::Destroy(sector); });
}

void TfMainform::rmDeleteStarClick() {
    const std::vector<TStar*> stars = SelectedStars();
    if (stars.empty()) return;
    if (!prompter_->YesNo("Delete Star(s) from the Universe?", Look::Warning)) {
        prompter_->Information("I didn't think you had that much power");
        return;
    }
    listModel_->Clear();
    MapDocument::Touched touched = MapDocument::Touched::Only({});
    for (TStar* star : stars)
        if (star) touched.Add(star->Owner());
    Edit(
        "Delete Star",
        [&] {
            for (TStar* star : stars)
                if (star) TManager::Destroy(star);
        },
        MapDocument::Layout | MapDocument::Listing, touched);
}

void TfMainform::rmDeleteLegClick() {
    const std::vector<TRouteLeg*> legs = SelectedLegs();
    if (legs.empty()) return;
    if (!prompter_->YesNo("Delete Leg(s) from IISS Trade/Comm Database ?", Look::Warning)) {
        prompter_->Information("I didn't think you had that kind of influence.");
        return;
    }
    listModel_->Clear();
    MapDocument::Touched touched = MapDocument::Touched::Only({});
    for (TRouteLeg* leg : legs)
        if (leg) touched.Add(leg->Owner());
    Edit(
        "Delete Leg",
        [&] {
            for (TRouteLeg* leg : legs)
                if (leg) TManager::Destroy(leg);
        },
        MapDocument::Layout | MapDocument::Listing, touched);
}

void TfMainform::rmDeleteAllegianceClick() {
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
    Edit(
        "Delete Allegiance",
        [&] {
            TManager::Destroy(allegiance);
            delete node;  // selects a neighbour, which refills the list
        },
        0);
}

void TfMainform::rmDeleteRouteClick() {
    QTreeWidgetItem* node = SelectedNode();
    TRoute* route = KindOf(node) == NodeKind::Route ? RouteOf(node) : nullptr;
    if (!route) return;
    if (!prompter_->YesNo("Delete Selected Route(s) from the IISS Trade/Comm Route database?", Look::Warning)) {
        prompter_->Information("I didn't think you had that kind of influence.");
        return;
    }
    listModel_->Clear();
    Edit("Delete Route", [&] { TManager::Destroy(route); });
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
