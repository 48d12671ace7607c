#include "BordersLayer.h"

#include "DefineUniverse.h"
#include "MapStyle.h"
#include "Palette.h"
#include "RegionCache.h"

#include <mutex>
#include <unordered_map>

namespace hexlane::render {

namespace {

std::mutex gAttachedMutex;
std::unordered_map<const TUniverse*, const regions::RegionCache*> gAttached;

// The picture point where side `side` of the hex around `centre` begins,
// going clockwise (side 0, the top, begins at the upper left corner).
QPoint SideStart(const HexMetrics& m, QPoint centre, int side) {
    return HexOutline(m, centre)[static_cast<std::size_t>(side)];
}

QPoint HexCentre(const MapFrame& frame, regions::Hex h) {
    return LegEndPoint(frame, h.X, h.Y);
}

// Whether a piece has a hex inside the displayed extent.
bool Displayed(const MapFrame& f, const regions::RegionPiece& piece) {
    for (const regions::Hex& h : piece.Hexes)
        if (h.X >= f.MinHexX && h.X <= f.MaxHexX && h.Y >= f.MinHexY && h.Y <= f.MaxHexY) return true;
    return false;
}

// The closed line of one edge loop: each edge's first corner, repeats of a
// point dropped, the first point again at the end.
std::vector<QPoint> LoopPoints(const MapFrame& frame, const std::vector<regions::HexEdge>& loop) {
    std::vector<QPoint> points;
    points.reserve(loop.size() + 1);
    for (const regions::HexEdge& e : loop) {
        const QPoint p = SideStart(frame.M, HexCentre(frame, e.Cell), e.Side);
        if (points.empty() || points.back() != p) points.push_back(p);
    }
    if (points.size() > 1 && points.front() != points.back()) points.push_back(points.front());
    return points;
}

}  // namespace

void AttachRegions(const TUniverse* universe, const regions::RegionCache* cache) {
    const std::lock_guard<std::mutex> lock(gAttachedMutex);
    if (cache)
        gAttached[universe] = cache;
    else
        gAttached.erase(universe);
}

void AddRegionBorders(DisplayList& list, const std::vector<regions::PolityRegion>& regions, int nameFont) {
    const MapFrame& frame = list.Frame;
    for (const regions::PolityRegion& region : regions) {
        const Ink ink{MapColourOnPalette(region.Color), MapColourToRgb(region.Color)};
        for (std::size_t i = 0; i < region.Pieces.size(); ++i) {
            const regions::RegionPiece& piece = region.Pieces[i];
            if (!Displayed(frame, piece)) continue;
            list.BeginGroup();
            for (const auto& loop : piece.Outlines) {
                const std::vector<QPoint> points = LoopPoints(frame, loop);
                if (points.size() > 2) list.AddPolyline(points, ink, kBorderWidth, LineStyle::Solid);
            }
            if (nameFont >= 0 && i == region.LabelPiece && !region.Allegiance.empty()) {
                // Across the middle of the label hex, clear of the world dot's
                // row where the hex is tall enough.
                const QPoint centre = HexCentre(frame, region.LabelHex);
                list.AddText(QPoint(centre.x(), centre.y() + frame.M.H / 3), region.Allegiance, true,
                             static_cast<std::uint8_t>(nameFont), ink);
            }
            list.EndGroup();
        }
    }
}

void AddBorders(DisplayList& list, const TUniverse& universe) {
    const int nameFont =
        list.M().FontSize > 0 ? list.AddFont({list.M().FontSize + 1, true}) : -1;
    const regions::RegionCache* cache = nullptr;
    {
        const std::lock_guard<std::mutex> lock(gAttachedMutex);
        const auto found = gAttached.find(&universe);
        if (found != gAttached.end()) cache = found->second;
    }
    if (cache) {
        AddRegionBorders(list, cache->Regions(), nameFont);
        return;
    }
    AddRegionBorders(list, regions::ComputeRegions(universe), nameFont);
}

}  // namespace hexlane::render
