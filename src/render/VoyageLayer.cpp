#include "VoyageLayer.h"

#include <algorithm>

namespace hexlane::render {

int VoyageLineWidth(const HexMetrics& m) {
    return std::clamp(m.S / 15 + 1, 2, 6);
}

std::array<Box, 2> VoyageStopRing(const HexMetrics& m, QPoint centre) {
    // Just outside the travel-zone circle, inside the hex; around the single
    // dot at the smallest zoom.
    const int r = m.DotsOnly() ? std::max(3, m.H - 1) : m.R + 3;
    const int x = centre.x(), y = centre.y();
    return {Box{x - r, y - r, x + r + 1, y + r + 1}, Box{x - r + 1, y - r + 1, x + r, y + r}};
}

void AddVoyageLayer(DisplayList& list, const std::vector<std::pair<int, int>>& hexes) {
    if (hexes.empty()) return;
    const Ink ink = Ink::Both(kInkVoyage);
    std::vector<QPoint> points;
    points.reserve(hexes.size());
    for (const auto& [column, row] : hexes) points.push_back(LegEndPoint(list.Frame, column, row));
    list.BeginGroup();
    if (points.size() > 1) list.AddPolyline(points, ink, VoyageLineWidth(list.M()), LineStyle::Solid);
    for (const QPoint& p : points) {
        const auto ring = VoyageStopRing(list.M(), p);
        list.AddEllipses(ring.data(), static_cast<int>(ring.size()), ink, ink);
        list.Shapes.back().Fill = 0;  // a ring: the system inside stays visible
    }
    list.EndGroup();
}

}  // namespace hexlane::render
