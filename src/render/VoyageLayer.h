#pragma once
// The planned voyage drawn over the map: a thick bright line through the
// itinerary's stops, jump by jump, with a ring around every stop. It is a
// view overlay (the universe's VoyageLine), never part of the map's data.

#include "DisplayList.h"
#include "MapGeometry.h"

#include <utility>
#include <vector>

namespace hexlane::render {

// The voyage's ink: fuchsia, a palette colour no other layer uses.
inline constexpr QRgb kInkVoyage = 0xFFFF00FF;

// Pen width of the voyage line at a hex size (2 at the smallest zoom).
int VoyageLineWidth(const HexMetrics& m);
// The two concentric boxes (outer first) of the ring around a stop.
std::array<Box, 2> VoyageStopRing(const HexMetrics& m, QPoint centre);

// Adds the voyage through the map-wide hexes (HexX, HexY) of its stops, start
// to end, as one group of its own: a polyline of one segment per jump, then
// the stop rings. Adds nothing for an empty path.
void AddVoyageLayer(DisplayList& list, const std::vector<std::pair<int, int>>& hexes);

}  // namespace hexlane::render
