#include "RegionGrid.h"

#include <algorithm>
#include <cstdlib>

namespace regions {

namespace {

std::uint64_t TileKey(int tx, int ty) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(tx)) << 32) | static_cast<std::uint32_t>(ty);
}

constexpr int kSectorLimit = 1 << 22;

}  // namespace

RegionGrid::RegionGrid(const std::vector<std::pair<int, int>>& all) : bounded_(!all.empty()) {
    // Sectors beyond any hex a region can reach take no part (and no
    // arithmetic on their place can overflow).
    std::vector<std::pair<int, int>> sectors;
    for (const auto& [sx, sy] : all)
        if (std::abs(sx) < kSectorLimit && std::abs(sy) < kSectorLimit) sectors.emplace_back(sx, sy);
    // Sector (sx, sy) covers the map-wide hexes (sx - 1) * 32 + 1 ... and
    // (sy - 1) * 40 + 1 ...; its tile is (sx - 1, sy - 1).
    if (sectors.empty()) return;
    long long x0 = sectors.front().first, x1 = x0, y0 = sectors.front().second, y1 = y0;
    for (const auto& [sx, sy] : sectors) {
        x0 = std::min<long long>(x0, sx), x1 = std::max<long long>(x1, sx);
        y0 = std::min<long long>(y0, sy), y1 = std::max<long long>(y1, sy);
    }
    if ((x1 - x0 + 1) * (y1 - y0 + 1) <= (1 << 20)) {
        denseX_ = static_cast<int>(x0 - 1), denseY_ = static_cast<int>(y0 - 1);
        denseW_ = static_cast<int>(x1 - x0 + 1), denseH_ = static_cast<int>(y1 - y0 + 1);
        dense_.assign(static_cast<std::size_t>(denseW_) * static_cast<std::size_t>(denseH_), -2);
        for (const auto& [sx, sy] : sectors) *Slot(sx - 1, sy - 1) = -1;
        return;
    }
    for (const auto& [sx, sy] : sectors) allowed_.insert(TileKey(sx - 1, sy - 1));
}

std::int32_t* RegionGrid::Slot(int tx, int ty) {
    const long long dx = static_cast<long long>(tx) - denseX_, dy = static_cast<long long>(ty) - denseY_;
    if (dx < 0 || dy < 0 || dx >= denseW_ || dy >= denseH_) return nullptr;
    return &dense_[static_cast<std::size_t>(dy * denseW_ + dx)];
}

std::int32_t RegionGrid::Find(int tx, int ty, bool create) {
    if (!dense_.empty()) {
        std::int32_t* slot = Slot(tx, ty);
        if (!slot || *slot == -2 || (*slot == -1 && !create)) return -1;
        if (*slot == -1) {
            *slot = static_cast<std::int32_t>(origins_.size());
            origins_.emplace_back(tx * kW + 1, ty * kH + 1);
            cells_.resize(cells_.size() + kCells);
        }
        return *slot;
    }
    const std::uint64_t key = TileKey(tx, ty);
    if (key == lastKey_) return lastTile_;
    std::int32_t tile = -1;
    auto it = index_.find(key);
    if (it != index_.end()) {
        tile = it->second;
    } else if (create && (!bounded_ || allowed_.count(key))) {
        tile = static_cast<std::int32_t>(origins_.size());
        origins_.emplace_back(tx * kW + 1, ty * kH + 1);
        cells_.resize(cells_.size() + kCells);
        index_.emplace(key, tile);
    }
    if (tile >= 0) {
        lastKey_ = key;
        lastTile_ = tile;
    }
    return tile;
}

}  // namespace regions
