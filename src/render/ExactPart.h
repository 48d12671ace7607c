#pragma once
// A part of the map drawn exactly: the hexes whose centres lie inside a
// part's rectangle, and the outline around them, so that a sector or
// subsector page ends at its own hex edges and shows nothing of its
// neighbours (no cut hexes, and no neighbour's name in a file's text).

#include "MapGeometry.h"

#include <QPolygonF>
#include <QRectF>

namespace hexlane::render {

// The outline, in pixels of the frame's picture, of the grid cells whose
// centres lie inside `areaHexes` (hexes from the picture's top-left corner);
// it follows the hexes' own edges. Empty when no cell lies inside or the
// cells are not a block of whole columns of equal height (such a part is
// drawn to its rectangle).
QPolygonF ExactOutline(const MapFrame& frame, const QRectF& areaHexes);

// True when a text shape whose box is `box` (picture pixels) belongs inside
// the outline: its middle lies within. Texts of neighbouring hexes lie
// outside, however far they reach in.
bool TextBelongsInside(const QPolygonF& outline, const QRectF& box);

}  // namespace hexlane::render
