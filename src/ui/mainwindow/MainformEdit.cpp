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
    // The step holds the star's sector, the sector it moves to, and the
    // routes, whose legs follow a renamed star.
    bool ok = false;
    const std::string oldName = star->Name1;
    Edit(
        "Edit System " + FromMap(star->Name1),
        [&] {
            ok = sysEdit_->EditStar(*universe_, star) == 1;
            if (!ok) return;
            if (const TStar* result = sysEdit_->Result()) {
                document_->Rename("Edit System " + FromMap(result->Name1));
                document_->Touch(result->Owner());
                if (result->Name1 != oldName)
                    for (const TRoute* route : universe_->Routes()->ChildrenOf<TRoute>()) document_->Touch(route);
            }
        },
        0, MapDocument::Touched::Only({star->Owner()}));
    // The list may show the record the editor replaced: it follows now,
    // also when this runs inside another command.
    if (ok) DocumentChanged(MapDocument::Layout | MapDocument::Listing);
    return ok;
}

void TfMainform::rDefineNewSystemClick() {
    Edit(
        "Define New System",
        [&] {
            TStar* star = NewStarRecord(*universe_, {});
            if (!EditStar(star)) TManager::Destroy(star);
        },
        MapDocument::Layout | MapDocument::Listing);
}

void TfMainform::rmAddStarClick() {
    QTreeWidgetItem* node = SelectedNode();
    if (KindOf(node) != NodeKind::Subsector) {
        prompter_->Information("Select a Subsector first.");
        return;
    }
    listModel_->ResetSort();
    Edit(
        "Add Star",
        [&] {
            TStar* star = NewStarRecord(*universe_, NodeName(node));
            if (!EditStar(star)) TManager::Destroy(star);
        },
        MapDocument::Layout | MapDocument::Listing);
}

void TfMainform::rmAddLegClick() {
    QTreeWidgetItem* node = SelectedNode();
    TRoute* route = KindOf(node) == NodeKind::Route ? RouteOf(node) : nullptr;
    if (!route) return;
    const std::string name = AskName("Add Leg", "Leg Name");
    if (name.empty()) return;
    Edit(
        "Add Leg",
        [&] {
            auto* leg = route->Create<TRouteLeg>();
            leg->Name1 = name;
            listModel_->AddLegs({leg}, *universe_);
            if (legDialog_->EditLeg(*universe_, *route, *leg) != 1) {
                listModel_->Clear();
                TManager::Destroy(leg);
            }
        },
        MapDocument::Layout | MapDocument::Listing, MapDocument::Touched::Only({route}));
}

void TfMainform::rListingDblClick(QTreeWidgetItem* item) {
    switch (KindOf(item)) {
    case NodeKind::Route:
        if (TRoute* route = RouteOf(item)) {
            Edit(
                "Edit Route " + FromMap(route->Name1),
                [&] {
                    if (routeDialog_->EditRoute(*universe_, *route) == 1) SetNodeName(item, route->Name1);
                },
                MapDocument::Layout, MapDocument::Touched::Only({route}));
        }
        break;
    case NodeKind::Allegiance:
        if (TAllegiance* allegiance = AllegianceOf(item)) {
            // A new colour or pattern shows on the next rebuild.
            Edit(
                "Edit Allegiance " + FromMap(allegiance->Name1),
                [&] { allegianceDialog_->EditAllegiance(*universe_, *allegiance); }, MapDocument::Layout,
                MapDocument::Touched::Only({allegiance}));
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
        Edit(
            "Edit Leg " + FromMap(leg->Name1), [&] { legDialog_->EditLeg(*universe_, *route, *leg); },
            MapDocument::Layout | MapDocument::Listing, MapDocument::Touched::Only({route}));
    } else if (listing_ != ListingMode::None) {
        TStar* star = listModel_->StarAt(rows.front());
        if (!star) {
            prompter_->Information("Invalid Pointer to Star");
            return;
        }
        EditStar(star);
    }
}

}  // namespace hexlane::ui
