#pragma once
// The polity borders layer of the map picture: a line around each piece of
// each polity's region in the allegiance's colour (the nearest palette ink in
// the 16-colour pictures, the true colour in the others), and the polity's
// name inside its largest piece at the zooms that draw names.
//
// The regions come from a RegionCache that the map window keeps up to date
// off the drawing path and attaches to its universe; a universe without one
// (the command-line tool, a test) has its regions computed when laid out.

#include "DisplayList.h"
#include "PolityRegions.h"

#include <vector>

class TUniverse;

namespace regions {
class RegionCache;
}

namespace hexlane::render {

// Pen width of a border line, in pixels.
inline constexpr int kBorderWidth = 2;

// Lets the layout of `universe` (only its address is kept) read its regions from `cache` (nullptr:
// forget it). The cache must outlive the attachment.
void AttachRegions(const TUniverse* universe, const regions::RegionCache* cache);

// The region pieces' outlines of `regions` as closed polylines, one group per
// piece, and each polity's name (font `nameFont`; none when negative).
void AddRegionBorders(DisplayList& list, const std::vector<regions::PolityRegion>& regions, int nameFont);

// The borders layer of a universe, regions from its attached cache or
// computed now; names where the zoom draws text.
void AddBorders(DisplayList& list, const TUniverse& universe);

}  // namespace hexlane::render
