// The main window's editing commands that open a dialog on one object: the
// system editor (map click, list double click, Define New System, Add Star),
// the leg dialog (Add Leg, list double click) and the route and allegiance
// dialogs (tree double clicks).

#include "Mainform.h"

#include "ConfigureAllegiance.h"
#include "ConfigureRoute.h"
#include "ConfigureRoutes.h"
#include "DefineUniverse.h"
#include "NavigatorTree.h"
#include "SystemList.h"
#include "UiText.h"
#include "sysedit.h"

namespace hexlane::ui {

namespace {

// A fresh system record owned by the universe, as a new system starts out;
// the system editor moves it into the sector the user picks.
TStar* NewStarRecord(TUniverse& universe, const std::string& subsector) {
    auto* star = universe.Create<TStar>();
    star->Allegiance = "Independent";
    star->Name1 = "New Star";
    star->SubSectorName = subsector;
    star->StarCoordsX = 0;
    star->StarCoordsY = 0;
    star->UPC = "000000";
    star->Starport = "U";
    star->Spaceport = "U";
    star->SetTechLevel("U");
    star->SystemContent = 0;
    star->TravelZoneCode = tzcUnknown;
    star->SubsectorCapital = false;
    return star;
}

}  // namespace

bool TfMainform::EditStar(TStar* star) {
    // The list's rows may refer to the record, which OK replaces by a copy in
    // its sector: the list is refilled afterwards whatever the caller does.
    Step step(this, "Edit System " + FromMap(star->Name1));
    const bool ok = sysEdit_->EditStar(*universe_, star) == 1;
    if (ok) {
        if (const TStar* result = sysEdit_->Result()) step.Rename("Edit System " + FromMap(result->Name1));
        universe_->ComputeExtent();
        universe_->MapDirty = true;
        MarkChanged(*universe_);
        Invalidate();
    }
    return ok;
}

void TfMainform::rDefineNewSystemClick() {
    Step step(this, "Define New System");
    TStar* star = NewStarRecord(*universe_, {});
    if (EditStar(star))
        FillList();
    else
        TManager::Destroy(star);
}

void TfMainform::rmAddStarClick() {
    QTreeWidgetItem* node = SelectedNode();
    if (KindOf(node) != NodeKind::Subsector) {
        prompter_->Information("Select a Subsector first.");
        return;
    }
    listModel_->ResetSort();
    Step step(this, "Add Star");
    TStar* star = NewStarRecord(*universe_, NodeName(node));
    if (!EditStar(star)) {
        TManager::Destroy(star);
        return;
    }
    FillList();
}

void TfMainform::rmAddLegClick() {
    QTreeWidgetItem* node = SelectedNode();
    TRoute* route = KindOf(node) == NodeKind::Route ? RouteOf(node) : nullptr;
    if (!route) return;
    const std::string name = AskName("Add Leg", "Leg Name");
    if (name.empty()) return;
    Step step(this, "Add Leg");
    auto* leg = route->Create<TRouteLeg>();
    leg->Name1 = name;
    listModel_->AddLegs({leg}, *universe_);
    if (legDialog_->EditLeg(*universe_, *route, *leg) == 1) {
        universe_->MapDirty = true;
        MarkChanged(*universe_);
        Invalidate();
    } else {
        listModel_->Clear();
        TManager::Destroy(leg);
    }
    FillList();
}

void TfMainform::rListingDblClick(QTreeWidgetItem* item) {
    switch (KindOf(item)) {
    case NodeKind::Route:
        if (TRoute* route = RouteOf(item)) {
            Step step(this, "Edit Route " + FromMap(route->Name1));
            if (routeDialog_->EditRoute(*universe_, *route) == 1) {
                universe_->MapDirty = true;
                SetNodeName(item, route->Name1);
                Invalidate();
            }
        }
        break;
    case NodeKind::Allegiance:
        if (TAllegiance* allegiance = AllegianceOf(item)) {
            Step step(this, "Edit Allegiance " + FromMap(allegiance->Name1));
            allegianceDialog_->EditAllegiance(*universe_, *allegiance);
            // A new colour or pattern shows on the next rebuild.
            Invalidate();
        }
        break;
    case NodeKind::Subsector:
        prompter_->Information("No Configurable features.");
        break;
    default:
        break;
    }
}

void TfMainform::rSystemListDblClick() {
    const auto rows = listView_->SelectedRows();
    if (rows.empty()) return;
    if (listing_ == ListingMode::RouteLegs) {
        TRouteLeg* leg = listModel_->LegAt(rows.front());
        TRoute* route = leg ? As<TRoute>(leg->Owner()) : nullptr;
        if (!route) {
            prompter_->Information("Invalid Pointer to Leg");
            return;
        }
        BusyScope busy(this);
        Step step(this, "Edit Leg " + FromMap(leg->Name1));
        if (legDialog_->EditLeg(*universe_, *route, *leg) == 1) {
            FillList();
            universe_->MapDirty = true;
            Invalidate();
        }
    } else if (listing_ != ListingMode::None) {
        TStar* star = listModel_->StarAt(rows.front());
        if (!star) {
            prompter_->Information("Invalid Pointer to Star");
            return;
        }
        if (EditStar(star)) FillList();
    }
}

}  // namespace hexlane::ui
