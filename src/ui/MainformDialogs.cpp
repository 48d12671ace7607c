// The commands that open the sector, alternate tech level, file and search
// dialogs, and what the window refreshes after them.

#include "Mainform.h"

#include "DefineAltTechLevels.h"
#include "DefineUniverse.h"
#include "EditSS.h"
#include "SystemList.h"

namespace hexlane::ui {

void TfMainform::rEditSectorsClick() {
    // The sector dialog can delete sectors with their systems: the list lets
    // go of its star references first (the rebuilt tree starts with an empty
    // list anyway). The dialogs set MapDirty and the changed flag themselves.
    listModel_->Clear();
    sectorGrid_->Execute(*universe_);
    RebuildTree();
    universe_->ComputeExtent();
    Invalidate();
}

void TfMainform::rDefineAltTLClick() {
    // OK writes the table and marks the universe changed. The list's tech
    // level column shows the alternate codes while they are in use.
    if (altTechLevels_->Execute(*universe_) && universe_->UseAltTL) FillList();
}

}  // namespace hexlane::ui
