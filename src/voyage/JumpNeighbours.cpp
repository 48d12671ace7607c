#include "JumpNeighbours.h"

#include "DefineUniverse.h"

#include <algorithm>

namespace hexlane::voyage {

JumpNeighbours::JumpNeighbours(std::vector<TNode> nodes, int range) {
    links_.PathNodes = std::move(nodes);
    const std::vector<TNode>& n = links_.PathNodes;
    if (n.empty()) return;
    long long maxX = n[0].X, maxZ = n[0].Z;
    minX_ = maxX;
    minZ_ = maxZ;
    for (const TNode& node : n) {
        minX_ = std::min<long long>(minX_, node.X);
        maxX = std::max<long long>(maxX, node.X);
        minZ_ = std::min<long long>(minZ_, node.Z);
        maxZ = std::max<long long>(maxZ, node.Z);
    }
    width_ = maxX - minX_ + 1;
    height_ = maxZ - minZ_ + 1;
    // A grid of a few cells per system costs less than the links; spread-out
    // coordinates (a damaged file, a few far-flung sectors) take the links.
    if (width_ > (1LL << 30) || height_ > (1LL << 30) ||
        width_ * height_ > 12 * static_cast<long long>(n.size()) + 4096) {
        hexlane::BuildPathLinks(links_, range);
        return;
    }
    grid_ = true;
    for (int dx = -range; dx <= range; ++dx)
        for (int dz = -range; dz <= range; ++dz) {
            const int d = TUniverse::HexDistance(0, 0, dx, dz);
            if (d <= range) offsets_.push_back({dx, dz, d});
        }
    std::stable_sort(offsets_.begin(), offsets_.end(),
                     [](const Offset& a, const Offset& b) { return a.Parsecs < b.Parsecs; });
    cellStart_.assign(static_cast<std::size_t>(width_ * height_) + 1, 0);
    auto cellOf = [&](const TNode& node) {
        return static_cast<std::size_t>((node.X - minX_) * height_ + (node.Z - minZ_));
    };
    for (const TNode& node : n) ++cellStart_[cellOf(node) + 1];
    for (std::size_t c = 0; c + 1 < cellStart_.size(); ++c) cellStart_[c + 1] += cellStart_[c];
    members_.resize(n.size());
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::uint32_t i = 0; i < n.size(); ++i) members_[fill[cellOf(n[i])]++] = i;
}

}  // namespace hexlane::voyage
