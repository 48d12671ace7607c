#include "RegionGrid.h"

namespace regions {

namespace {

std::uint64_t TileKey(int tx, int ty) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(tx)) << 32) | static_cast<std::uint32_t>(ty);
}

// Column and row steps per side for odd and even map columns (as Neighbour).
constexpr int kOdd[6][2] = {{0, -1}, {1, -1}, {1, 0}, {0, 1}, {-1, 0}, {-1, -1}};
constexpr int kEven[6][2] = {{0, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};

}  // namespace

RegionGrid::RegionGrid(const std::vector<std::pair<int, int>>& sectors) : bounded_(!sectors.empty()) {
    // Sector (sx, sy) covers the map-wide hexes (sx - 1) * 32 + 1 ... and
    // (sy - 1) * 40 + 1 ...; its tile is (sx - 1, sy - 1).
    for (const auto& [sx, sy] : sectors) allowed_.insert(TileKey(sx - 1, sy - 1));
}

RegionCell* RegionGrid::At(Hex h, bool create) {
    const int tx = FloorDiv(h.X - 1, kW), ty = FloorDiv(h.Y - 1, kH);
    const std::uint64_t key = TileKey(tx, ty);
    std::int32_t tile = -1;
    if (key == lastKey_) {
        tile = lastTile_;
    } else {
        auto it = index_.find(key);
        if (it != index_.end()) {
            tile = it->second;
        } else if (create && (!bounded_ || allowed_.count(key))) {
            tile = static_cast<std::int32_t>(origins_.size());
            origins_.emplace_back(tx * kW + 1, ty * kH + 1);
            cells_.resize(cells_.size() + kCells);
            index_.emplace(key, tile);
        }
        if (tile < 0) return nullptr;
        lastKey_ = key;
        lastTile_ = tile;
    }
    if (tile < 0) return nullptr;
    const int lx = h.X - origins_[static_cast<std::size_t>(tile)].first;
    const int ly = h.Y - origins_[static_cast<std::size_t>(tile)].second;
    return &cells_[static_cast<std::size_t>(tile) * kCells + static_cast<std::size_t>(lx * kH + ly)];
}

RegionCell* RegionGrid::NeighbourOf(std::size_t t, int i, int side) {
    const int lx = i / kH, ly = i % kH;
    // Map columns start odd at every tile's first column (32 is even).
    const int(&step)[2] = (lx % 2 == 0) ? kOdd[side] : kEven[side];
    const int nx = lx + step[0], ny = ly + step[1];
    if (nx >= 0 && nx < kW && ny >= 0 && ny < kH) return &cells_[t * kCells + static_cast<std::size_t>(nx * kH + ny)];
    return At(Hex{origins_[t].first + nx, origins_[t].second + ny});
}

}  // namespace regions
