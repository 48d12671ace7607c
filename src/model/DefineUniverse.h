#pragma once
// TUniverse: root of a map. Holds the three containers (routes, sectors,
// allegiances), the alternate tech-level table, the map-wide look-ups and the
// view state that the map window keeps for the current map.

#include "DefineRoute.h"
#include "DefineSector.h"
#include "DefineStar.h"
#include "Manager.h"
#include "PathSearch.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TUniverse final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();

    // A new universe with its three containers in the order routes, sectors,
    // allegiances (what start-up and a new map create).
    static std::unique_ptr<TUniverse> CreateNew();

    // ---- stored: alternate tech levels, index 0-16 for the codes 0-9, A-G ----
    std::array<std::string, 17> TLAltDesc;
    std::array<std::int32_t, 17> TLAltValue{};

    // ---- published, not stored ----
    bool UseAltTL = false;
    std::int32_t MajorVersion = 0, MinorVersion = 0, BugFixVersion = 0;

    // ---- containers, found by class (the last of each class wins) ----
    TRoutes* Routes() const;
    TSectors* Sectors() const;
    TAllegiances* Allegiances() const;
    bool HasContainers() const { return Routes() && Sectors() && Allegiances(); }

    // ---- view state (never stored) ----
    bool ShowNames = false, ShowStarports = false, ShowSystemContents = false, ShowRoutes = false,
         ShowSectorLines = false, ShowSubsectorLines = false, ShowAllegianceColors = false,
         ShowAllInfo = false, UseSectorHexAddressing = false;
    // The polity borders layer: off in every map, never part of "all information".
    bool ShowBorders = false;
    bool MapDirty = false;
    // The planned voyage drawn over the map: its stops' map-wide hexes (HexX,
    // HexY), start to end; empty when none is shown.
    std::vector<std::pair<int, int>> VoyageLine;
    bool AutoRefresh = false;
    int MinHexX = 0, MinHexY = 0, MaxHexX = 0, MaxHexY = 0;
    int MinSectorX = 0, MinSectorY = 0, MaxSectorX = 0, MaxSectorY = 0;
    int HalfHexX = 0, HalfHexY = 0;
    int HexSize = 0;
    // Sets HexSize and the two halves together.
    void SetHexSize(int size);

    // ---- look-ups (sectors in child order, stars in child order) ----
    TStar* FindStar(const std::string& name) const;
    std::string UniqueStarName(const std::string& name) const;
    TAllegiance* FindAllegiance(std::string_view name) const;
    TAllegiance* FindAllegianceByImportCode(std::string_view code) const;
    TRoute* FindRoute(const std::string& name) const;
    TSector* FindSector(const std::string& name) const;

    // Calls fn(star) for every star of every sector, in map order.
    template <class F>
    void ForEachStar(F&& fn) const {
        if (TSectors* sectors = Sectors())
            for (const auto& s : sectors->Children())
                if (As<TSector>(s.get()))
                    for (const auto& c : s->Children())
                        if (auto* star = As<TStar>(c.get())) fn(*star);
    }

    // ---- jump path search (the graph and result of the last search) ----
    TPathSearchState Path;
    // Finds the cheapest chain of jumps of at most jumpRange parsecs from the
    // system origin to the system destination (these very objects, whatever
    // other systems share their names). byDistance: a jump costs its length;
    // otherwise the jump range it leaves unused. Needs current distance
    // coordinates.
    FindPathResult FindPath(const TStar& origin, const TStar& destination, int jumpRange, bool visibleOnly,
                            bool byDistance);

    // Refreshes every star's HexX, HexY, DistX, DistZ and the extent fields.
    void ComputeExtent();

    // -1 if either star is missing, else their hex distance in parsecs.
    static int StarDistance(const TStar* a, const TStar* b);
    // Worked in 64 bits: coordinates read from a damaged file can be anything;
    // a distance beyond the int range is given as the largest int.
    static int HexDistance(int x1, int z1, int x2, int z2) {
        const long long dx = static_cast<long long>(x2) - x1;
        const long long dz = static_cast<long long>(z2) - z1;
        const long long ax = dx < 0 ? -dx : dx;
        const long long az = dz < 0 ? -dz : dz;
        long long d = ax + az;
        if (dx == 0) d = az;
        else if (dz == 0 || (dx > 0) == (dz > 0)) d = ax > az ? ax : az;
        return d > 2147483647 ? 2147483647 : static_cast<int>(d);
    }

    // Description of tech-level index 0-16 (alternate table while UseAltTL).
    std::string TechLevelText(int index) const;

    // The first star drawn within half a hex of the point (map-picture pixels).
    TStar* StarAtPoint(int px, int py) const;
    struct StarInfo {
        std::string Name, SubSector, Sector, Codes;
    };
    // Name, subsector, sector and "Starport UPC TechLevel"; all empty on a miss.
    StarInfo StarInfoAtPoint(int px, int py) const;
};

// Marks the universe changed (ManagerRequiresSaving on the root).
void MarkChanged(TUniverse& universe);
