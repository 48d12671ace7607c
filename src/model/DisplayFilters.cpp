#include "DisplayFilters.h"

#include <unordered_set>

namespace hexlane {

namespace {

void Finish(TUniverse& u) {
    u.MapDirty = true;
    u.ComputeExtent();
    u.ManagerRequiresSaving = true;
}

std::vector<TSector*> AllSectors(const TUniverse& u) {
    return u.Sectors() ? u.Sectors()->ChildrenOf<TSector>() : std::vector<TSector*>{};
}

void SetSubsectorVisible(TSector& sector, const std::string& subsector, bool visible) {
    for (TStar* s : sector.Stars())
        if (s->SubSectorName == subsector) s->Visible = visible;
}

void SetAllegianceVisible(TUniverse& u, const std::string& allegiance, bool visible) {
    u.ForEachStar([&](TStar& s) {
        if (s.Allegiance == allegiance) s.Visible = visible;
    });
}

void SetRouteStarsVisible(TUniverse& u, const TRoute& route, bool visible) {
    for (const TRouteLeg* leg : route.Legs()) {
        if (TStar* s = u.FindStar(leg->SStarName)) s->Visible = visible;
        if (TStar* s = u.FindStar(leg->EStarName)) s->Visible = visible;
    }
}

}  // namespace

void DisplayOnlySector(TUniverse& u, const TSector& sector) {
    for (TSector* s : AllSectors(u)) s->SetExcludeFromDisplay(s != &sector);
    Finish(u);
}

void RemoveSectorFromDisplay(TUniverse& u, TSector& sector) {
    sector.SetExcludeFromDisplay(true);
    Finish(u);
}

void AddSectorToDisplay(TUniverse& u, TSector& sector) {
    sector.SetExcludeFromDisplay(false);
    Finish(u);
}

void DisplayOnlySubsector(TUniverse& u, TSector& sector, const std::string& subsector) {
    for (TSector* s : AllSectors(u)) s->SetExcludeFromDisplay(s != &sector);
    for (TStar* s : sector.Stars()) s->Visible = s->SubSectorName == subsector;
    Finish(u);
}

void RemoveSubsectorFromDisplay(TUniverse& u, TSector& sector, const std::string& subsector) {
    SetSubsectorVisible(sector, subsector, false);
    Finish(u);
}

void AddSubsectorToDisplay(TUniverse& u, TSector& sector, const std::string& subsector) {
    SetSubsectorVisible(sector, subsector, true);
    Finish(u);
}

void DisplayOnlyAllegiance(TUniverse& u, const std::string& allegiance) {
    const std::vector<TSector*> sectors = AllSectors(u);
    for (TSector* s : sectors) s->SetExcludeFromDisplay(true);
    for (TSector* s : sectors) {
        for (TStar* star : s->Stars()) {
            if (star->Allegiance == allegiance) {
                s->SetExcludeFromDisplay(false);
                break;
            }
        }
    }
    for (TSector* s : sectors)
        if (!s->ExcludeFromDisplay())
            for (TStar* star : s->Stars())
                if (star->Allegiance != allegiance) star->Visible = false;
    Finish(u);
}

void RemoveAllegianceFromDisplay(TUniverse& u, const std::string& allegiance) {
    SetAllegianceVisible(u, allegiance, false);
    Finish(u);
}

void AddAllegianceToDisplay(TUniverse& u, const std::string& allegiance) {
    SetAllegianceVisible(u, allegiance, true);
    Finish(u);
}

void DisplayOnlyRoute(TUniverse& u, const TRoute& route) {
    const std::vector<TSector*> sectors = AllSectors(u);
    for (TSector* s : sectors) s->SetExcludeFromDisplay(true);
    std::unordered_set<std::string> names;
    for (const TRouteLeg* leg : route.Legs()) {
        names.insert(leg->SStarName);
        names.insert(leg->EStarName);
        for (TSector* s : sectors) {
            if (!s->ExcludeFromDisplay()) continue;
            for (TStar* star : s->Stars()) {
                if (star->Name1 == leg->SStarName || star->Name1 == leg->EStarName) {
                    s->SetExcludeFromDisplay(false);
                    break;
                }
            }
        }
    }
    for (TSector* s : sectors)
        if (!s->ExcludeFromDisplay())
            for (TStar* star : s->Stars()) star->Visible = names.count(star->Name1) > 0;
    Finish(u);
}

void RemoveRouteFromDisplay(TUniverse& u, const TRoute& route) {
    SetRouteStarsVisible(u, route, false);
    Finish(u);
}

void AddRouteToDisplay(TUniverse& u, const TRoute& route) {
    SetRouteStarsVisible(u, route, true);
    Finish(u);
}

}  // namespace hexlane
