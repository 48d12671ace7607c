#include "RegionCache.h"

#include "DefineUniverse.h"

#include <string_view>

namespace regions {

namespace {

// FNV-1a over bytes, with a separator so that adjacent texts cannot run together.
struct Digest {
    std::uint64_t h = 1469598103934665603ull;
    void Bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
    }
    void Text(std::string_view s) {
        Bytes(s.data(), s.size());
        Int(static_cast<std::int64_t>(s.size()));
    }
    void Int(std::int64_t v) { Bytes(&v, sizeof v); }
};

}  // namespace

std::uint64_t RegionCache::Fingerprint(const TUniverse& universe) {
    Digest d;
    if (const TAllegiances* allegiances = universe.Allegiances())
        for (const auto& c : allegiances->Children())
            if (const auto* a = As<TAllegiance>(c.get())) {
                d.Text(a->Name1);
                d.Text(a->ImportCode);
                d.Int(a->Color);
            }
    if (const TSectors* sectors = universe.Sectors())
        for (const auto& c : sectors->Children())
            if (const auto* s = As<TSector>(c.get())) {
                d.Int(s->SectorCoordsX);
                d.Int(s->SectorCoordsY);
                for (const auto& sc : s->Children())
                    if (const auto* star = As<TStar>(sc.get())) {
                        d.Int((static_cast<std::int64_t>(star->HexX) << 32) ^ static_cast<std::uint32_t>(star->HexY));
                        d.Text(std::string_view(star->Allegiance.data(), star->Allegiance.size()));
                        d.Int(StarportReach(std::string_view(star->Starport.data(), star->Starport.size())));
                    }
            }
    return d.h;
}

bool RegionCache::Update(const TUniverse& universe) {
    const std::uint64_t f = Fingerprint(universe);
    if (valid_ && f == fingerprint_) return false;
    regions_ = ComputeRegions(universe);
    fingerprint_ = f;
    valid_ = true;
    return true;
}

void RegionCache::Clear() {
    regions_.clear();
    valid_ = false;
}

}  // namespace regions
