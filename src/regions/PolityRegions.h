#pragma once
// Polity regions: the territory each allegiance claims around its systems,
// computed for the whole map at once so that regions run on across sector
// edges. Derived from the systems' hexes, allegiances and starports; never
// stored in the map.
//
// Rules every region keeps: it holds all its systems, no system of another
// polity that claims territory, no hex of another region, and no hex farther
// than 4 parsecs from one of its systems; two of its systems 2 parsecs apart
// share a piece unless every free hex between them touches another polity's
// system. Within those bounds each system claims by its starport (A 4, B 3,
// C 2, D and below 1), the nearest claim wins a contested hex, ragged tips
// are eroded, one-hex gaps bridged, and pieces without a system of their own
// dropped. The same map always gives the same regions.

#include "HexGeometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TAllegiance;
class TSector;
class TUniverse;

namespace regions {

// A system as the computation sees it.
struct SystemSite {
    Hex At;
    int Polity = 0;  // index into the polities of the computation
    int Reach = 1;   // how far it claims, 1-4
};

// What the computation works on. Sectors: the positions (SectorCoordsX,
// SectorCoordsY) of the map's sectors; regions never leave them. Empty: no
// bound (for small made-up maps).
struct RegionInput {
    std::vector<SystemSite> Systems;
    int PolityCount = 0;
    std::vector<std::pair<int, int>> Sectors;
};

// One connected piece of a region, ready to draw.
struct RegionPiece {
    std::vector<Hex> Hexes;                      // sorted by column, then row
    std::vector<std::vector<HexEdge>> Outlines;  // [0] outer edge clockwise, then holes
};

// The pieces of every polity (index as in the input), each piece sorted and
// the pieces ordered by their first hex.
std::vector<std::vector<RegionPiece>> ComputePieces(const RegionInput& input);

// How far a system with this starport code claims: A 4, B 3, C 2, else 1.
int StarportReach(std::string_view starport);

// False for allegiances that claim no territory: an import code that is
// empty, "--" or "??" or begins with "Na" or "Cs", and the name "Unknown".
bool ClaimsTerritory(const TAllegiance& allegiance);

// The region of one polity of a map.
struct PolityRegion {
    std::string Allegiance;  // the allegiance's name (map text)
    std::string Code;        // its import code
    std::int32_t Color = 0;  // its colour, 0x00BBGGRR
    std::vector<RegionPiece> Pieces;
    std::size_t LabelPiece = 0;  // the largest piece
    Hex LabelHex;                // a hex deep inside the largest piece, for the name
    std::size_t HexCount() const;
};

// The regions of a map, in the order of its allegiances; allegiances that
// claim no territory, or have fewer than two systems, have none. Needs the
// systems' current map-wide hexes (ComputeExtent).
std::vector<PolityRegion> ComputeRegions(const TUniverse& universe);

// The hex deep inside a piece where a name is best placed.
Hex LabelAnchor(const std::vector<Hex>& sortedPiece);

// The sector of the map at a map-wide hex and the hex's column and row in it
// (HexNumber gives "XXYY"); no sector when none lies there (the first sector
// of a position counts).
struct SectorHex {
    const TSector* Sector = nullptr;
    int Column = 0, Row = 0;
};
class SectorLocator {
public:
    explicit SectorLocator(const TUniverse& universe);
    SectorHex Locate(Hex hex) const;

private:
    std::unordered_map<std::uint64_t, const TSector*> at_;
};
SectorHex LocateHex(const TUniverse& universe, Hex hex);
std::string HexNumber(int column, int row);

// A border within one sector: the hexes (column 1-32, row 1-40) around the
// edge of the part of a region piece that lies in the sector, clockwise from
// the uppermost hex of its leftmost column.
struct SectorBorder {
    std::string Code;
    std::int32_t Color = 0;
    std::vector<std::pair<int, int>> Hexes;
};
std::vector<SectorBorder> BordersInSector(const TSector& sector, const std::vector<PolityRegion>& regions);

}  // namespace regions
