// The map side of the main window: the popup menus, pointer read-out, clicks,
// the display filters (from the map and from the tree), InstaLeg and Locate.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "DisplayFilters.h"
#include "Legend.h"
#include "MapView.h"
#include "NavigatorTree.h"
#include "PlanVoyage.h"
#include "SystemList.h"
#include "UiText.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>

namespace hexlane::ui {

namespace {

enum Filter { DisplayOnly = 0, Remove = 1, Add = 2 };

QAction* Item(QMenu* menu, const char* objectName, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(objectName);
    return action;
}

}  // namespace

// ---------------------------------------------------------------- popups

void TfMainform::CreatePopups() {
    auto connectTo = [this](QAction* action, auto fn) { connect(action, &QAction::triggered, this, fn); };
    auto menu = [this](const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(name);
        return m;
    };
    auto sectorFilters = [&](QMenu* m, bool withAdd) {
        connectTo(Item(m, "rmDisplayOnlySector", "Display Only This Sector"), [this] { TreeFilter(0); });
        connectTo(Item(m, "rmRemoveSector", "Remove Sector From Display"), [this] { TreeFilter(1); });
        if (withAdd) connectTo(Item(m, "rmAddSector", "Add Sector To Display"), [this] { TreeFilter(2); });
    };
    auto columnsItem = [&](QMenu* m) {
        m->addSeparator();
        connectTo(Item(m, "rmSystemListColumns", "System List Columns..."), [this] { rSystemListColumnsClick(); });
    };

    mapPopup_ = menu("rMapPopup");
    connectTo(Item(mapPopup_, "rmLegend", "Legend..."), [this] {
        legend_->show();
        legend_->raise();
    });
    connectTo(Item(mapPopup_, "rmNavigation", "Navigation Information..."), [this] { rmNavigationClick(); });
    connectTo(Item(mapPopup_, "rmQuery", "Query..."), [this] { rQueryClick(); });
    mapPopup_->addSeparator();
    connectTo(Item(mapPopup_, "rmDisplayOnlySector", "Display Only This Sector"), [this] { MapSectorFilter(0); });
    connectTo(Item(mapPopup_, "rmRemoveSector", "Remove Sector From Display"), [this] { MapSectorFilter(1); });
    mapPopup_->addSeparator();
    connectTo(Item(mapPopup_, "rmDisplayOnlySubsector", "Display Only This Subsector"),
              [this] { MapSubsectorFilter(0); });
    connectTo(Item(mapPopup_, "rmRemoveSubsector", "Remove Subsector From Display"),
              [this] { MapSubsectorFilter(1); });
    mapPopup_->addSeparator();
    connectTo(Item(mapPopup_, "rmSaveBitmap", "Save Bitmap..."), [this] { rSaveBitmapClick(); });

    sectorPopup_ = menu("rSectorPopup");
    connectTo(Item(sectorPopup_, "rmDeleteSector", "Delete Sector..."), [this] { rmDeleteSectorClick(); });
    connectTo(Item(sectorPopup_, "rmExportSector", "Export Sector File..."), [this] { rmExportSectorClick(); });
    connectTo(Item(sectorPopup_, "rmImportMetadata", "Import Sector Metadata..."), [this] {
        if (TSector* sector = SelectedSector()) ImportMetadataInto(*sector);
    });
    connectTo(Item(sectorPopup_, "rmExportMetadata", "Export Sector Metadata..."), [this] {
        if (TSector* sector = SelectedSector()) ExportMetadataOf(*sector);
    });
    sectorPopup_->addSeparator();
    sectorFilters(sectorPopup_, true);

    subsectorPopup_ = menu("rSubsectorPopup");
    connectTo(Item(subsectorPopup_, "rmAddStar", "Add Star..."), [this] { rmAddStarClick(); });
    connectTo(Item(subsectorPopup_, "rmDeleteSector", "Delete Sector..."), [this] { rmDeleteSectorClick(); });
    subsectorPopup_->addSeparator();
    sectorFilters(subsectorPopup_, true);
    subsectorPopup_->addSeparator();
    connectTo(Item(subsectorPopup_, "rmDisplayOnlySubsector", "Display Only This Subsector"),
              [this] { TreeFilter(3); });
    connectTo(Item(subsectorPopup_, "rmRemoveSubsector", "Remove Subsector From Display"),
              [this] { TreeFilter(4); });
    connectTo(Item(subsectorPopup_, "rmAddSubsector", "Add Subsector To Display"), [this] { TreeFilter(5); });

    allegiancePopup_ = menu("rAllegiancePopup");
    connectTo(Item(allegiancePopup_, "rmAddAllegiance", "Add Allegiance..."), [this] { rmAddAllegianceClick(); });
    connectTo(Item(allegiancePopup_, "rmDeleteAllegiance", "Delete Allegiance..."),
              [this] { rmDeleteAllegianceClick(); });
    allegiancePopup_->addSeparator();
    connectTo(Item(allegiancePopup_, "rmDisplayOnlyAllegiance", "Display Only The Stars In This Allegiance"),
              [this] { TreeFilter(6); });
    connectTo(Item(allegiancePopup_, "rmRemoveAllegiance", "Remove Stars In This Allegiance From Display"),
              [this] { TreeFilter(7); });
    connectTo(Item(allegiancePopup_, "rmAddAllegianceStars", "Add Stars In This Allegiance To Display"),
              [this] { TreeFilter(8); });

    routePopup_ = menu("rRoutePopup");
    connectTo(Item(routePopup_, "rmAddRoute", "Add Route..."), [this] { rmAddRouteClick(); });
    connectTo(Item(routePopup_, "rmDeleteRoute", "Delete Route..."), [this] { rmDeleteRouteClick(); });
    routePopup_->addSeparator();
    connectTo(Item(routePopup_, "rmDisplayOnlyRoute", "Display Only The Stars On This Route"),
              [this] { TreeFilter(9); });
    connectTo(Item(routePopup_, "rmRemoveRoute", "Remove Stars On This Route From Display"),
              [this] { TreeFilter(10); });
    connectTo(Item(routePopup_, "rmAddRouteStars", "Add Stars On This Route To Display"), [this] { TreeFilter(11); });

    starPopup_ = menu("rStarPopup");
    QAction* locate = Item(starPopup_, "rmLocateStar", "Locate Star on Map");
    connectTo(locate, [this] { rmLocateStarClick(); });
    locateActions_.push_back(locate);
    starPopup_->addSeparator();
    connectTo(Item(starPopup_, "rmAddStar", "Add Star..."), [this] { rmAddStarClick(); });
    connectTo(Item(starPopup_, "rmDeleteStar", "Delete Star..."), [this] { rmDeleteStarClick(); });
    columnsItem(starPopup_);

    membersPopup_ = menu("rMembersPopup");
    locate = Item(membersPopup_, "rmLocateStar", "Locate Star on Map");
    connectTo(locate, [this] { rmLocateStarClick(); });
    locateActions_.push_back(locate);
    membersPopup_->addSeparator();
    connectTo(Item(membersPopup_, "rmDeleteStar", "Delete Star..."), [this] { rmDeleteStarClick(); });
    columnsItem(membersPopup_);

    legPopup_ = menu("rLegPopup");
    locate = Item(legPopup_, "rmLocateStartStar", "Locate Start Star on Map");
    connectTo(locate, [this] { rmLocateStartStarClick(); });
    locateActions_.push_back(locate);
    locate = Item(legPopup_, "rmLocateEndStar", "Locate End Star on Map");
    connectTo(locate, [this] { rmLocateEndStarClick(); });
    locateActions_.push_back(locate);
    legPopup_->addSeparator();
    connectTo(Item(legPopup_, "rmInstaLeg", "InstaLeg..."), [this] { rmInstaLegClick(); });
    connectTo(Item(legPopup_, "rmAddLeg", "Add Leg..."), [this] { rmAddLegClick(); });
    connectTo(Item(legPopup_, "rmDeleteLeg", "Delete Leg..."), [this] { rmDeleteLegClick(); });
    columnsItem(legPopup_);
}

void TfMainform::ShowMapPopup(QPoint picturePoint, QPoint globalPos) {
    ContextPopupAt(picturePoint)->popup(globalPos);
}

// ---------------------------------------------------------------- pointer

void TfMainform::rImageMouseMove(QPoint picturePoint) {
    lastMapPoint_ = picturePoint;
    const TUniverse::StarInfo info = universe_->StarInfoAtPoint(picturePoint.x(), picturePoint.y());
    panels_[0]->setText(FromMap(info.Name));
    panels_[1]->setText(FromMap(info.SubSector));
    panels_[2]->setText(FromMap(info.Sector));
    panels_[3]->setText(FromMap(info.Codes));
    ShowPointerHex(picturePoint);
}

TStar* TfMainform::StarUnderLastPoint() const {
    return universe_->StarAtPoint(lastMapPoint_.x(), lastMapPoint_.y());
}

void TfMainform::rImageClick(QPoint picturePoint) {
    lastMapPoint_ = picturePoint;
    TStar* star = StarUnderLastPoint();
    if (!star) return;
    // The voyage planner waits for a system: this one goes to it.
    if (planVoyage_->Picking() != TfPlanVoyage::PickTarget::None) {
        planVoyage_->TakePick(*star);
        return;
    }
    if (!instaLegActive_) {
        EditStar(star);
        return;
    }
    if (!instaLeg_) {
        EndInstaLeg();
        return;
    }
    if (instaLeg_->SStarName.empty()) {
        instaLeg_->SStarName = star->Name1;
        panels_[4]->setText("Pick the second star");
        prompter_->Information("Pick end star on map.");
        return;
    }
    instaLeg_->EStarName = star->Name1;
    EndInstaLeg();
    prompter_->Information("InstaLeg turned off.");
}

void TfMainform::EndInstaLeg() {
    if (!instaLegActive_) return;
    // The leg, from its creation on, is one step; finishing always leaves
    // the map changed (also after a save while picking).
    const TManager* route = instaLeg_ ? instaLeg_->Owner() : nullptr;
    instaLegActive_ = false;
    instaLeg_ = nullptr;
    panels_[4]->clear();
    document_->RecordPending("InstaLeg", route ? MapDocument::Touched::Only({route}) : MapDocument::Touched::All());
    document_->MarkChanged();
    document_->ChangedWithoutStep(MapDocument::Picture | MapDocument::Listing);
    emit InstaLegChanged();
}

void TfMainform::CancelInstaLeg() {
    if (!instaLegActive_) return;
    // The new leg goes and nothing else: the map is as before the InstaLeg.
    listModel_->Clear();
    if (instaLeg_) TManager::Destroy(instaLeg_);
    instaLegActive_ = false;
    instaLeg_ = nullptr;
    panels_[4]->clear();
    document_->MarkChanged(instaLegWasModified_);
    document_->ChangedWithoutStep(MapDocument::Picture | MapDocument::Listing);
    emit InstaLegChanged();
}

// ---------------------------------------------------------------- filters

void TfMainform::MapSectorFilter(int which) {
    Edit(
        which == DisplayOnly ? "Display Only This Sector" : "Remove Sector From Display",
        [&] {
            TStar* star = StarUnderLastPoint();
            TSector* sector = star ? As<TSector>(star->Owner()) : nullptr;
            if (!sector) {
                prompter_->Information("Please activate this menu item somewhere over a star in the sector.");
                return;
            }
            if (which == DisplayOnly)
                DisplayOnlySector(*universe_, *sector);
            else
                RemoveSectorFromDisplay(*universe_, *sector);
        },
        MapDocument::Picture);
}

void TfMainform::MapSubsectorFilter(int which) {
    Edit(
        which == DisplayOnly ? "Display Only This Subsector" : "Remove Subsector From Display",
        [&] {
            TStar* star = StarUnderLastPoint();
            TSector* sector = star ? As<TSector>(star->Owner()) : nullptr;
            if (!sector) {
                prompter_->Information("Please activate this menu item somewhere over a star in the Subsector.");
                return;
            }
            const std::string subsector = star->SubSectorName;
            if (which == DisplayOnly)
                DisplayOnlySubsector(*universe_, *sector, subsector);
            else
                RemoveSubsectorFromDisplay(*universe_, *sector, subsector);
        },
        MapDocument::Picture);
}

// The tree popups' filters: 0-2 sector, 3-5 subsector, 6-8 allegiance,
// 9-11 route; within each group display only, remove, add.
void TfMainform::TreeFilter(int which) {
    QTreeWidgetItem* node = SelectedNode();
    if (!node) return;
    static const char* const kStepNames[12] = {
        "Display Only This Sector",   "Remove Sector From Display",   "Add Sector To Display",
        "Display Only This Subsector", "Remove Subsector From Display", "Add Subsector To Display",
        "Display Only The Stars In This Allegiance", "Remove Stars In This Allegiance From Display",
        "Add Stars In This Allegiance To Display",   "Display Only The Stars On This Route",
        "Remove Stars On This Route From Display",   "Add Stars On This Route To Display"};
    Edit(
        kStepNames[which % 12],
        [&] {
            const int group = which / 3;
            const int op = which % 3;
            if (group <= 1) {
                const bool subsectorNode = KindOf(node) == NodeKind::Subsector;
                TSector* sector = SectorOf(subsectorNode ? node->parent() : node);
                if (!sector) return;
                if (group == 0) {
                    if (op == DisplayOnly) DisplayOnlySector(*universe_, *sector);
                    if (op == Remove) RemoveSectorFromDisplay(*universe_, *sector);
                    if (op == Add) AddSectorToDisplay(*universe_, *sector);
                } else if (subsectorNode) {
                    const std::string name = NodeName(node);
                    if (op == DisplayOnly) DisplayOnlySubsector(*universe_, *sector, name);
                    if (op == Remove) RemoveSubsectorFromDisplay(*universe_, *sector, name);
                    if (op == Add) AddSubsectorToDisplay(*universe_, *sector, name);
                }
            } else if (group == 2) {
                const std::string name = NodeName(node);
                if (op == DisplayOnly) DisplayOnlyAllegiance(*universe_, name);
                if (op == Remove) RemoveAllegianceFromDisplay(*universe_, name);
                if (op == Add) AddAllegianceToDisplay(*universe_, name);
            } else {
                const TRoute* route = RouteOf(node);
                if (!route) return;
                if (op == DisplayOnly) DisplayOnlyRoute(*universe_, *route);
                if (op == Remove) RemoveRouteFromDisplay(*universe_, *route);
                if (op == Add) AddRouteToDisplay(*universe_, *route);
            }
        },
        MapDocument::Picture);
}

// ---------------------------------------------------------------- InstaLeg

void TfMainform::rmInstaLegClick() {
    QTreeWidgetItem* node = SelectedNode();
    if (!node) return;
    TRoute* route = KindOf(node) == NodeKind::Route ? RouteOf(node) : nullptr;
    if (!route) {
        prompter_->Information("Select a Route first");
        return;
    }
    const std::string name = AskName("Add Leg", "Leg Name");
    if (name.empty()) return;
    EndInstaLeg();  // a second InstaLeg ends the first
    planVoyage_->CancelPick();  // and so does it end picking for the voyage planner
    instaLegWasModified_ = document_->IsModified();
    auto* leg = route->Create<TRouteLeg>();
    leg->Name1 = name;
    // The leg is part of the map from now on, stars picked or not (a save
    // while picking writes it); its undo step is recorded when picking ends.
    document_->MarkChanged();
    listModel_->AddLegs({leg}, *universe_);
    UpdateTreeStatus();
    instaLegActive_ = true;
    instaLeg_ = leg;
    panels_[4]->setText("Pick the first star (Esc cancels)");
    emit InstaLegChanged();
    prompter_->Information("Select starting point on map.");
}

// ---------------------------------------------------------------- Locate

void TfMainform::Locate(TStar* star) {
    // The star in the middle of the view, its name and hex whole.
    const QSize view = mapView_->viewport()->size();
    mapView_->ScrollTo(star->PictureX - view.width() / 2, star->PictureY - view.height() / 2);
    QCursor::setPos(mapView_->PictureToGlobal(QPoint(star->PictureX, star->PictureY)));
    QCoreApplication::processEvents();
    mapView_->ShowPointingHand();
}

void TfMainform::rmLocateStarClick() {
    const auto rows = listView_->SelectedRows();
    if (rows.empty()) return;
    if (TStar* star = listModel_->StarAt(rows.front())) Locate(star);
}

void TfMainform::rmLocateStartStarClick() { LocateLegEnd(true); }

void TfMainform::rmLocateEndStarClick() { LocateLegEnd(false); }

void TfMainform::LocateLegEnd(bool start) {
    const auto rows = listView_->SelectedRows();
    if (rows.empty()) return;
    TRouteLeg* leg = listModel_->LegAt(rows.front());
    if (!leg) return;
    if (TStar* star = universe_->FindStar(start ? leg->SStarName : leg->EStarName)) {
        Locate(star);
        return;
    }
    // The user may let the leg of a lost star go.
    if (!prompter_->YesNo("Star no longer exists.\nDelete Route Leg?", Look::Warning)) return;
    listModel_->Clear();
    Edit(
        "Delete Leg", [&] { TManager::Destroy(leg); }, MapDocument::Picture | MapDocument::Listing,
        MapDocument::Touched::Only({leg->Owner()}));
}

}  // namespace hexlane::ui
