// The commands that open the sector, alternate tech level, file and search
// dialogs, and what the window refreshes after them.

#include "Mainform.h"

#include "CombineMaps.h"
#include "DefineAltTechLevels.h"
#include "DefineUniverse.h"
#include "EditSS.h"
#include "ImportSecDialog.h"
#include "MergeErrorsWindow.h"
#include "NavigationInformation.h"
#include "PlanVoyage.h"
#include "Query.h"
#include "SelectedSaveDialog.h"
#include "SystemList.h"

#include <QFileInfo>

namespace hexlane::ui {

void TfMainform::RefreshViews() {
    RebuildTree();
    FillList();
    Invalidate();
}

void TfMainform::rEditSectorsClick() {
    // The sector dialog can delete sectors with their systems: the list lets
    // go of its star references first (the rebuilt tree starts with an empty
    // list anyway). The dialogs set MapDirty and the changed flag themselves.
    listModel_->Clear();
    Edit("Edit Sectors/Subsectors", [&] { sectorGrid_->Execute(*universe_); });
}

void TfMainform::rDefineAltTLClick() {
    // OK writes the table and marks the universe changed. The list's tech
    // level column shows the alternate codes while they are in use.
    bool changed = false;
    Edit("Define Alternate Tech Levels", [&] { changed = altTechLevels_->Execute(*universe_); }, 0);
    if (changed && universe_->UseAltTL) FillList();
}

// Each import is a command of its own (SetRunEdit): nothing is left to do
// when the dialog closes.
void TfMainform::rImportSectorFileClick() { importSec_->Execute(*universe_); }

// Both commands change the universe unless answered No or, for a merge,
// refused for the loaded map's version. The views are refreshed right after
// the change and before the message window: an overlay destroys the stars and
// legs it replaces, which the system list may still show.
void TfMainform::rMergeMapsClick() {
    Edit("Merge Maps", [&] {
        CombineMaps(CombineKind::Merge, *universe_, *prompter_, *messages_, this, FileName(), [this] { RefreshViews(); });
    }, 0);
}

void TfMainform::rOverlayMapsClick() {
    // An overlay may replace the leg that InstaLeg is waiting to fill: the
    // command ends the picking first.
    Edit("Overlay Maps", [&] {
        CombineMaps(CombineKind::Overlay, *universe_, *prompter_, *messages_, this, FileName(), [this] { RefreshViews(); });
    }, 0);
}

// The chooser starts in the folder of the map in memory; the map's own file
// name is neither proposed nor changed.
void TfMainform::rSelectedSaveClick() {
    const QString folder = FileName().isEmpty() ? QString() : QFileInfo(FileName()).absolutePath();
    selectedSave_->SaveSelected(*universe_, folder);
}

// The dialog stays open across queries; each query sets the Visible flags,
// MapDirty and the extent itself and repaints behind the dialog. Visible is
// not stored, so the changed flag stays as it was.
void TfMainform::rQueryClick() {
    if (query_->Execute(*universe_)) {
        universe_->ComputeExtent();
        Invalidate();
    }
}

void TfMainform::rNavigationClick() {
    navigation_->Execute(*universe_);
    Invalidate();
}

void TfMainform::rmNavigationClick() {
    navigation_->Execute(*universe_, StarUnderLastPoint());
    Invalidate();
}

void TfMainform::rPlanVoyageClick() {
    planVoyage_->Execute(*universe_);
}

// The line follows the dialog's itinerary while the dialog is open (a new
// plan replaces it, a failed one clears it) and stays on the map once the
// dialog closes, so that the map can be printed or exported with it, until
// "Clear Voyage Line" or another map.
void TfMainform::ShowItineraryOnMap() {
    if (!planVoyage_->isVisible()) return;
    SetVoyageLine(planVoyage_->ItineraryHexPath());
}

void TfMainform::rClearVoyageLineClick() {
    SetVoyageLine({});
}

void TfMainform::SetVoyageLine(std::vector<std::pair<int, int>> hexes) {
    if (hexes == universe_->VoyageLine) return;
    universe_->VoyageLine = std::move(hexes);
    universe_->MapDirty = true;
    Invalidate();
}

void TfMainform::PlanVoyageFrom(TStar& star) {
    planVoyage_->ExecuteFrom(*universe_, star);
}

void TfMainform::PlanVoyageTo(TStar& star) {
    planVoyage_->ExecuteTo(*universe_, star);
}

}  // namespace hexlane::ui
