// The regions of a whole map: which allegiances claim, where their systems
// lie, and naming map-wide hexes by sector.

#include "PolityRegions.h"

#include "DefineUniverse.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_map>

namespace regions {

bool ClaimsTerritory(const TAllegiance& allegiance) {
    const std::string& code = allegiance.ImportCode;
    if (code.empty() || code == "--" || code == "??") return false;
    if (code.starts_with("Na") || code.starts_with("Cs")) return false;
    return allegiance.Name1 != "Unknown";
}

std::vector<PolityRegion> ComputeRegions(const TUniverse& universe) {
    std::vector<PolityRegion> regions;
    const TAllegiances* allegiances = universe.Allegiances();
    const TSectors* sectors = universe.Sectors();
    if (!allegiances || !sectors) return regions;

    // Polities: the claiming allegiances, found by name (the first of a name wins).
    std::unordered_map<std::string_view, int> polityOf;
    std::vector<const TAllegiance*> polities;
    for (const auto& c : allegiances->Children()) {
        const auto* a = As<TAllegiance>(c.get());
        if (!a || polityOf.count(a->Name1)) continue;
        polityOf.emplace(a->Name1, ClaimsTerritory(*a) ? static_cast<int>(polities.size()) : -1);
        if (ClaimsTerritory(*a)) polities.push_back(a);
    }

    RegionInput input;
    input.PolityCount = static_cast<int>(polities.size());
    std::unordered_map<std::uint64_t, bool> placed;
    for (const auto& c : sectors->Children())
        if (const auto* s = As<TSector>(c.get())) {
            input.Sectors.emplace_back(s->SectorCoordsX, s->SectorCoordsY);
            placed[Key(Hex{s->SectorCoordsX, s->SectorCoordsY})] = true;
        }
    std::vector<int> systemCount(polities.size(), 0);
    universe.ForEachStar([&](const TStar& star) {
        auto it = polityOf.find(std::string_view(star.Allegiance.data(), star.Allegiance.size()));
        if (it == polityOf.end() || it->second < 0) return;
        const Hex at{star.HexX, star.HexY};
        if (std::abs(at.X) > (1 << 28) || std::abs(at.Y) > (1 << 28)) return;
        // A system outside every sector of the map has no hex to hold.
        if (!placed.count(Key(Hex{FloorDiv(at.X - 1, 32) + 1, FloorDiv(at.Y - 1, 40) + 1}))) return;
        input.Systems.push_back({at, it->second, StarportReach(std::string_view(star.Starport.data(), star.Starport.size()))});
        ++systemCount[static_cast<std::size_t>(it->second)];
    });
    // A polity of a single system claims nothing.
    std::erase_if(input.Systems, [&](const SystemSite& s) { return systemCount[static_cast<std::size_t>(s.Polity)] < 2; });

    auto pieces = ComputePieces(input);
    for (std::size_t p = 0; p < polities.size(); ++p) {
        if (pieces[p].empty()) continue;
        PolityRegion r;
        r.Allegiance = polities[p]->Name1;
        r.Code = polities[p]->ImportCode;
        r.Color = polities[p]->Color;
        r.Pieces = std::move(pieces[p]);
        for (std::size_t i = 1; i < r.Pieces.size(); ++i)
            if (r.Pieces[i].Hexes.size() > r.Pieces[r.LabelPiece].Hexes.size()) r.LabelPiece = i;
        r.LabelHex = LabelAnchor(r.Pieces[r.LabelPiece].Hexes);
        regions.push_back(std::move(r));
    }
    return regions;
}

SectorLocator::SectorLocator(const TUniverse& universe) {
    if (const TSectors* sectors = universe.Sectors())
        for (const auto& c : sectors->Children())
            if (const auto* s = As<TSector>(c.get())) at_.emplace(Key(Hex{s->SectorCoordsX, s->SectorCoordsY}), s);
}

SectorHex SectorLocator::Locate(Hex hex) const {
    SectorHex out;
    const int sx = FloorDiv(hex.X - 1, 32) + 1, sy = FloorDiv(hex.Y - 1, 40) + 1;
    auto it = at_.find(Key(Hex{sx, sy}));
    if (it == at_.end()) return out;
    out.Sector = it->second;
    out.Column = hex.X - (sx - 1) * 32;
    out.Row = hex.Y - (sy - 1) * 40;
    return out;
}

SectorHex LocateHex(const TUniverse& universe, Hex hex) { return SectorLocator(universe).Locate(hex); }

std::string HexNumber(int column, int row) {
    char text[24];
    std::snprintf(text, sizeof text, "%02d%02d", column, row);
    return text;
}

}  // namespace regions

namespace regions {

std::vector<SectorBorder> BordersInSector(const TSector& sector, const std::vector<PolityRegion>& regions) {
    std::vector<SectorBorder> out;
    const long long x0 = (static_cast<long long>(sector.SectorCoordsX) - 1) * 32;
    const long long y0 = (static_cast<long long>(sector.SectorCoordsY) - 1) * 40;
    for (const PolityRegion& r : regions)
        for (const RegionPiece& piece : r.Pieces) {
            std::vector<Hex> inside;
            for (const Hex& h : piece.Hexes)
                if (h.X > x0 && h.X <= x0 + 32 && h.Y > y0 && h.Y <= y0 + 40) inside.push_back(h);
            // A piece cut by the sector's edge can fall into several parts.
            for (const auto& part : ConnectedPieces(std::move(inside))) {
                SectorBorder b{r.Code, r.Color, {}};
                for (const Hex& h : HexesAlong(TraceOutline(part).front())) b.Hexes.emplace_back(static_cast<int>(h.X - x0), static_cast<int>(h.Y - y0));
                out.push_back(std::move(b));
            }
        }
    return out;
}

}  // namespace regions
