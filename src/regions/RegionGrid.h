#pragma once
// The working grid of the region computation: cells of map-wide hexes kept in
// sector-sized tiles that exist only where systems claim, so a map of
// scattered sectors costs no more than a compact one.

#include "HexGeometry.h"

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace regions {

struct RegionCell {
    std::int32_t Polity = -1;  // the polity holding the hex, -1 for none
    std::int32_t System = -1;  // the polity of the claiming system on the hex, -1 for none
    std::uint8_t Dist = 255;   // distance of the winning claim
    std::uint8_t Surplus = 0;  // reach left over at that distance
    std::uint8_t Traced = 0;   // sides already on a traced outline (bit per side)
    std::int32_t Piece = -1;   // piece number once the pieces are found
};

class RegionGrid {
public:
    static constexpr int kW = 32, kH = 40, kCells = kW * kH;

    // Bounded: tiles only at these sector positions (SectorCoordsX/Y).
    explicit RegionGrid(const std::vector<std::pair<int, int>>& sectors);

    // The cell of a hex; null outside the allowed tiles, or when the tile
    // does not exist yet and create is false.
    RegionCell* At(Hex h, bool create = false);

    std::size_t TileCount() const { return origins_.size(); }
    RegionCell* Tile(std::size_t t) { return &cells_[t * kCells]; }
    // The hex of cell i of tile t.
    Hex HexOf(std::size_t t, int i) const {
        return Hex{origins_[t].first + i / kH, origins_[t].second + i % kH};
    }
    // The neighbour of cell i of tile t across the side, through the tile's own
    // cells where it can.
    RegionCell* NeighbourOf(std::size_t t, int i, int side);
    // Tile and index of a cell of this grid.
    std::pair<std::size_t, int> Place(const RegionCell* c) const {
        const auto k = static_cast<std::size_t>(c - cells_.data());
        return {k / kCells, static_cast<int>(k % kCells)};
    }

private:
    bool bounded_;
    std::unordered_set<std::uint64_t> allowed_;
    std::unordered_map<std::uint64_t, std::int32_t> index_;
    std::vector<std::pair<int, int>> origins_;  // first hex of each tile
    std::vector<RegionCell> cells_;              // kCells per tile, column-major
    std::uint64_t lastKey_ = ~std::uint64_t{0};
    std::int32_t lastTile_ = -1;
};

}  // namespace regions
