#include "ViewState.h"

#include "DefineUniverse.h"

namespace hexlane::render {

bool ZoomIn(TUniverse& u) {
    if (u.HexSize != 10 && u.HexSize != 30) return false;
    u.SetHexSize(u.HexSize * 3);
    u.MapDirty = true;
    return true;
}

bool ZoomOut(TUniverse& u) {
    if (u.HexSize != 30 && u.HexSize != 90) return false;
    u.SetHexSize(u.HexSize / 3);
    u.MapDirty = true;
    return true;
}

void Toggle(TUniverse& u, DisplayToggle which) {
    u.MapDirty = true;
    switch (which) {
    case DisplayToggle::Names: u.ShowNames = !u.ShowNames; break;
    case DisplayToggle::Starports: u.ShowStarports = !u.ShowStarports; break;
    case DisplayToggle::SystemContents: u.ShowSystemContents = !u.ShowSystemContents; break;
    case DisplayToggle::Routes: u.ShowRoutes = !u.ShowRoutes; break;
    case DisplayToggle::SectorLines: u.ShowSectorLines = !u.ShowSectorLines; break;
    case DisplayToggle::SubsectorLines: u.ShowSubsectorLines = !u.ShowSubsectorLines; break;
    case DisplayToggle::AllegianceColors: u.ShowAllegianceColors = !u.ShowAllegianceColors; break;
    case DisplayToggle::AllInfo:
        u.ShowAllInfo = !u.ShowAllInfo;
        u.ShowRoutes = u.ShowSystemContents = u.ShowStarports = u.ShowNames = u.ShowSectorLines =
            u.ShowSubsectorLines = u.ShowAllegianceColors = u.ShowAllInfo;
        break;
    case DisplayToggle::Borders: u.ShowBorders = !u.ShowBorders; break;
    }
}

}  // namespace hexlane::render
