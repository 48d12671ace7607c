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
    Step step(this, "Edit Sectors/Subsectors");
    listModel_->Clear();
    sectorGrid_->Execute(*universe_);
    RebuildTree();
    universe_->ComputeExtent();
    Invalidate();
}

void TfMainform::rDefineAltTLClick() {
    // OK writes the table and marks the universe changed. The list's tech
    // level column shows the alternate codes while they are in use.
    Step step(this, "Define Alternate Tech Levels");
    if (altTechLevels_->Execute(*universe_) && universe_->UseAltTL) FillList();
}

// The dialog refreshes the views itself after each import (SetAfterImport);
// nothing is left to do when it closes.
void TfMainform::rImportSectorFileClick() { importSec_->Execute(*universe_); }

// Both commands change the universe unless answered No or, for a merge,
// refused for the loaded map's version. The views are refreshed right after
// the change and before the message window: an overlay destroys the stars and
// legs it replaces, which the system list may still show.
void TfMainform::rMergeMapsClick() {
    Step step(this, "Merge Maps");
    CombineMaps(CombineKind::Merge, *universe_, *prompter_, *messages_, this, fileName_, [this] { RefreshViews(); });
}

void TfMainform::rOverlayMapsClick() {
    Step step(this, "Overlay Maps");
    // An overlay may replace the leg that InstaLeg is waiting to fill.
    instaLegActive_ = false;
    instaLeg_ = nullptr;
    CombineMaps(CombineKind::Overlay, *universe_, *prompter_, *messages_, this, fileName_, [this] { RefreshViews(); });
}

// The chooser starts in the folder of the map in memory; the map's own file
// name is neither proposed nor changed.
void TfMainform::rSelectedSaveClick() {
    const QString folder = fileName_.isEmpty() ? QString() : QFileInfo(fileName_).absolutePath();
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

void TfMainform::PlanVoyageFrom(TStar& star) {
    planVoyage_->ExecuteFrom(*universe_, star);
}

void TfMainform::PlanVoyageTo(TStar& star) {
    planVoyage_->ExecuteTo(*universe_, star);
}

}  // namespace hexlane::ui
