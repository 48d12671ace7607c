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
    std::uint8_t Boundary = 0; // sides on the edge of the cell's piece (bit per side)
    std::int32_t Piece = -1;   // piece number once the pieces are found
};

class RegionGrid {
public:
    static constexpr int kW = 32, kH = 40, kCells = kW * kH;

    // Bounded: tiles only at these sector positions (SectorCoordsX/Y).
    explicit RegionGrid(const std::vector<std::pair<int, int>>& sectors);

    // The cell of a hex; null outside the allowed tiles, or when the tile
    // does not exist yet and create is false.
    RegionCell* At(Hex h, bool create = false) {
        const int tx = FloorDiv(h.X - 1, kW), ty = FloorDiv(h.Y - 1, kH);
        std::int32_t tile = -1;
        if (!dense_.empty() && !create) {
            const long long dx = static_cast<long long>(tx) - denseX_, dy = static_cast<long long>(ty) - denseY_;
            if (dx < 0 || dy < 0 || dx >= denseW_ || dy >= denseH_) return nullptr;
            tile = dense_[static_cast<std::size_t>(dy * denseW_ + dx)];
        } else {
            tile = Find(tx, ty, create);
        }
        if (tile < 0) return nullptr;
        const auto& o = origins_[static_cast<std::size_t>(tile)];
        return &cells_[static_cast<std::size_t>(tile) * kCells + static_cast<std::size_t>((h.X - o.first) * kH + (h.Y - o.second))];
    }

    // The first cell of the tile holding a hex and the hex of that cell; null
    // when the tile does not exist.
    RegionCell* TileOf(Hex h, Hex& origin) {
        RegionCell* c = At(h);
        if (!c) return nullptr;
        const auto t = static_cast<std::size_t>(c - cells_.data()) / kCells;
        origin = Hex{origins_[t].first, origins_[t].second};
        return &cells_[t * kCells];
    }

    std::size_t TileCount() const { return origins_.size(); }
    RegionCell* Tile(std::size_t t) { return &cells_[t * kCells]; }
    // The hex of cell i of tile t.
    Hex HexOf(std::size_t t, int i) const {
        return Hex{origins_[t].first + i / kH, origins_[t].second + i % kH};
    }
    // The neighbour of cell i of tile t across the side, through the tile's own
    // cells where it can.
    RegionCell* NeighbourOf(std::size_t t, int i, int side) {
        // Column and row steps per side for odd and even map columns (as Neighbour).
        static constexpr int kOdd[6][2] = {{0, -1}, {1, -1}, {1, 0}, {0, 1}, {-1, 0}, {-1, -1}};
        static constexpr int kEven[6][2] = {{0, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
        const int lx = i / kH, ly = i % kH;
        // Map columns start odd at every tile's first column (32 is even).
        const int(&step)[2] = (lx % 2 == 0) ? kOdd[side] : kEven[side];
        const int nx = lx + step[0], ny = ly + step[1];
        if (nx >= 0 && nx < kW && ny >= 0 && ny < kH) return &cells_[t * kCells + static_cast<std::size_t>(nx * kH + ny)];
        return At(Hex{origins_[t].first + nx, origins_[t].second + ny});
    }
    // Tile and index of a cell of this grid.
    std::pair<std::size_t, int> Place(const RegionCell* c) const {
        const auto k = static_cast<std::size_t>(c - cells_.data());
        return {k / kCells, static_cast<int>(k % kCells)};
    }

private:
    std::int32_t* Slot(int tx, int ty);
    // The tile at a tile position, made when create and allowed; -1 for none.
    std::int32_t Find(int tx, int ty, bool create);

    bool bounded_;
    // Bounded grids of a compact map index their tiles in a dense table over
    // the sectors' extent: -2 outside the map, -1 not made yet.
    std::vector<std::int32_t> dense_;
    int denseX_ = 0, denseY_ = 0, denseW_ = 0, denseH_ = 0;
    std::unordered_set<std::uint64_t> allowed_;
    std::unordered_map<std::uint64_t, std::int32_t> index_;
    std::vector<std::pair<int, int>> origins_;  // first hex of each tile
    std::vector<RegionCell> cells_;              // kCells per tile, column-major
    std::uint64_t lastKey_ = ~std::uint64_t{0};
    std::int32_t lastTile_ = -1;
};

}  // namespace regions
