#pragma once
// Display filters: which sectors and stars the map shows, set for whole
// sectors, subsectors, allegiances or routes. Each filter ends by setting
// MapDirty, recomputing the extent and marking the universe changed (sector
// exclusions are stored in the map file).

#include "DefineUniverse.h"

#include <string>

namespace hexlane {

void DisplayOnlySector(TUniverse& u, const TSector& sector);
void RemoveSectorFromDisplay(TUniverse& u, TSector& sector);
void AddSectorToDisplay(TUniverse& u, TSector& sector);

void DisplayOnlySubsector(TUniverse& u, TSector& sector, const std::string& subsector);
void RemoveSubsectorFromDisplay(TUniverse& u, TSector& sector, const std::string& subsector);
void AddSubsectorToDisplay(TUniverse& u, TSector& sector, const std::string& subsector);

void DisplayOnlyAllegiance(TUniverse& u, const std::string& allegiance);
void RemoveAllegianceFromDisplay(TUniverse& u, const std::string& allegiance);
void AddAllegianceToDisplay(TUniverse& u, const std::string& allegiance);

void DisplayOnlyRoute(TUniverse& u, const TRoute& route);
void RemoveRouteFromDisplay(TUniverse& u, const TRoute& route);
void AddRouteToDisplay(TUniverse& u, const TRoute& route);

}  // namespace hexlane
