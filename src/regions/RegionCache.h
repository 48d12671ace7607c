#pragma once
// RegionCache: the regions of a map, recomputed only when what they are made
// of changed (systems' hexes, allegiances and starports; the allegiances'
// names, codes and colours; the sectors' places). The document updates it
// after each change, so drawing only reads the regions it holds.

#include "PolityRegions.h"

#include <cstdint>
#include <vector>

namespace regions {

class RegionCache {
public:
    // Recomputes when the inputs differ from the last update; true when it
    // did. Needs the systems' current map-wide hexes (ComputeExtent).
    bool Update(const TUniverse& universe);
    const std::vector<PolityRegion>& Regions() const { return regions_; }
    // Forgets the regions (a map was closed); the next update recomputes.
    void Clear();

    // The digest of everything the regions are made of.
    static std::uint64_t Fingerprint(const TUniverse& universe);

private:
    bool valid_ = false;
    std::uint64_t fingerprint_ = 0;
    std::vector<PolityRegion> regions_;
};

}  // namespace regions
