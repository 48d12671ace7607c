#pragma once
// The systems within jump range of each system, found on demand. A dense
// grid over the distance coordinates lists the systems of every hex, and a
// system's neighbours are read from the hexes within range, nearest first;
// a map whose coordinates are too spread out for a grid gets the path
// search's link lists instead.

#include "PathSearch.h"

#include <cstdint>
#include <vector>

namespace hexlane::voyage {

class JumpNeighbours {
public:
    // nodes: the systems, with their distance coordinates; range: longest jump.
    JumpNeighbours(std::vector<TNode> nodes, int range);

    const std::vector<TNode>& Nodes() const { return links_.PathNodes; }

    // Calls fn(other, parsecs) for every other system within `reach`
    // (<= range) parsecs of system i, in order of distance.
    template <class F>
    void ForEach(std::uint32_t i, int reach, F&& fn) const {
        const TNode& node = links_.PathNodes[i];
        if (grid_) {
            for (const Offset& o : offsets_) {
                if (o.Parsecs > reach) break;
                const long long x = static_cast<long long>(node.X) - minX_ + o.DX;
                const long long z = static_cast<long long>(node.Z) - minZ_ + o.DZ;
                if (x < 0 || z < 0 || x >= width_ || z >= height_) continue;
                const std::size_t cell = static_cast<std::size_t>(x * height_ + z);
                for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k)
                    if (members_[k] != i) fn(members_[k], o.Parsecs);
            }
            return;
        }
        for (const TLinkEnd* l = links_.LinksBegin(i); l != links_.LinksEnd(i); ++l)
            if (l->Length <= reach) fn(l->To, l->Length);
    }

private:
    struct Offset {
        int DX, DZ, Parsecs;
    };
    TPathSearchState links_;  // the nodes, and links when there is no grid
    bool grid_ = false;
    long long minX_ = 0, minZ_ = 0, width_ = 0, height_ = 0;
    std::vector<Offset> offsets_;           // hexes within range, nearest first
    std::vector<std::uint32_t> cellStart_;  // cell c holds members_[cellStart_[c], cellStart_[c + 1])
    std::vector<std::uint32_t> members_;
};

}  // namespace hexlane::voyage
