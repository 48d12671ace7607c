#pragma once
// The layout pass that runs before every rebuild of the map picture: the
// picture's size, each star's picture position (PictureX, PictureY, written
// for every star whatever part of the picture is drawn later, so the hit
// test works everywhere), the displayed stars in drawing order, the route
// legs with their end points and pens, and the picture itself as a display
// list that owns everything it draws (it refers to nothing in the universe).

#include "DisplayList.h"
#include "LineRaster.h"
#include "MapGeometry.h"

#include <QRgb>
#include <QSize>

#include <optional>
#include <vector>

class TRouteLeg;
class TStar;
class TUniverse;

namespace hexlane::render {

// The display switches in force for one rebuild.
struct ShowFlags {
    bool Names = false, Starports = false, SystemContents = false, Routes = false, SectorLines = false,
         SubsectorLines = false, AllegianceColors = false, SectorHexAddressing = false;
    bool Borders = false;  // the polity borders layer
    static ShowFlags FromUniverse(const TUniverse& universe);
};

struct StarPlacement {
    QPoint Centre;
};

struct LegPlacement {
    QPoint From, To;
    QRgb Colour = 0;      // already on the palette
    QRgb TrueColour = 0;  // the leg's own colour, for drawings not bound to the palette
    int Width = 1;
    LineStyle Style = LineStyle::Solid;
};

struct MapLayout {
    MapFrame Frame;
    ShowFlags Show;
    QSize Size{300, 300};
    std::vector<StarPlacement> Stars;  // displayed stars, sectors and stars in container order
    std::vector<LegPlacement> Legs;    // legs to draw, in route and leg order (empty unless routes are shown)
    DisplayList Picture;               // what every backend draws
};

// Where a route leg is drawn between its two stars (the first of each end's
// name); nothing when either star is missing or has no hex on the map.
std::optional<LegPlacement> PlaceLeg(const MapFrame& frame, const TRouteLeg& leg, const TStar* from, const TStar* to);

// Lays the universe out as its view state says (ComputeExtent must have run
// since the last change). Sets PictureX, PictureY of every star of a shown
// sector (-1, -1 when the star is hidden); stars of an excluded sector keep
// theirs. The layout is a copy: rebuild it after any change to see it.
MapLayout LayoutMap(TUniverse& universe);
// The same layout at the given zoom level's hex size, leaving every star's
// picture position as it is (for pictures other than the map view's).
MapLayout LayoutMap(const TUniverse& universe, int hexSize);

}  // namespace hexlane::render
