#pragma once
// Opening a map file as the editor does, and the upgrade of maps from before
// the containers existed (format versions below 4.5).

#include "DefineUniverse.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// True for maps older than 4.5 that hold their routes, legs, sectors, stars
// and allegiances directly under the universe.
bool NeedsFlatMapUpgrade(const TUniverse& universe);

// Moves a flat map into containers: each route gets the legs whose GroupName
// is its name, each sector the stars whose SectorName is its name (exact
// comparisons, child order kept), allegiances go to the allegiance container.
// A container of the right class that the map already has is used, else one
// is created. Returns one line per object that matched nothing and was
// dropped ("TStar : Name" ...).
std::vector<std::string> UpgradeFlatMap(TUniverse& universe);

struct OpenMapResult {
    std::unique_ptr<TUniverse> Universe;  // null on failure
    std::string Message;                  // failure text when Universe is null
    std::vector<std::string> Dropped;     // objects an upgrade could not place
};

// Reads a map into a new universe: load, upgrade of old maps, version stamped
// 4.51, the three containers required ("Corrupt Map file."), every star made
// visible, ComputeExtent, AutoRefresh on, hex size 30, MapDirty. `progress`
// (optional) gets 0-100 while the stars are made visible.
OpenMapResult OpenMap(const std::string& fileName, const std::function<void(int)>& progress = {});
