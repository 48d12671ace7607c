#pragma once
// The hexes of the print look: which grid cells a print layout draws (all
// of the picture, or exactly those of a sector's or subsector's block), the
// hairline grid with heavier subsector and sector lines along the hex edges,
// the hex numbers, and the subsector and sector names faded behind the hexes.

#include "DisplayList.h"
#include "PrintGlyphs.h"

#include <QRectF>

#include <unordered_map>
#include <vector>

class TUniverse;

namespace hexlane::render::print {

// The grid cells drawn: those of the frame's grid whose centres lie in the
// picture and, when `exactHexes` is not empty, strictly inside it (in
// hexes from the picture's top-left, as MapPages gives a part).
class DrawnCells {
public:
    DrawnCells(const MapFrame& frame, QSize picture, const QRectF& exactHexes);
    bool Drawn(int c, int r) const;
    // Whether a point of the picture lies in the part drawn.
    bool Inside(QPoint p) const;
    // Whether a point lies in the exact part (anywhere without one).
    bool InPart(QPoint p) const;
    // The cell of a map-wide hex.
    QPoint CellOf(int hexX, int hexY) const { return {hexX - frame_.MinHexX, hexY - frame_.MinHexY}; }
    QSize Grid() const { return grid_; }

private:
    MapFrame frame_;
    QSize picture_, grid_;
    QRectF exact_;
};

// The neighbour of cell (c, r) across side k of its outline (0 the top,
// then clockwise, as HexOutline's corners run).
QPoint Neighbour(int c, int r, int side);

// Chains segments that share end points into polylines.
std::vector<std::vector<QPoint>> ChainSegments(const std::vector<QLine>& segments);

// Line widths of the grid, in layout pixels.
struct GridPens {
    int Hex = 1, Subsector = 2, Sector = 3;
};
GridPens GridPensFor(double mmPerHex);

// The background of each cell that has one (an allegiance's tint), by
// cell; text boxes take it so that they do not punch holes in the tint.
using CellPaper = std::unordered_map<long long, QRgb>;
inline long long CellKey(int c, int r) {
    return (static_cast<long long>(c) << 32) ^ static_cast<unsigned>(r);
}
QRgb PaperOf(const CellPaper& paper, int c, int r);

// The grid of the drawn cells, each edge once: hairlines, then the
// subsector and sector boundaries over them. One group, always drawn.
void AddPrintGrid(DisplayList& list, const DrawnCells& cells, const GridPens& pens);

// Every drawn cell's hex number at the level's place and size, within the
// sector or within the subsector. A group per column of cells.
void AddHexNumbers(DisplayList& list, const DrawnCells& cells, const Metrics& m, bool sectorNumbers,
                   const CellPaper& paper);

// The names of the shown sectors and their subsectors, large and faded,
// where their middle lies in the picture and the whole block in the part.
void AddRegionNames(DisplayList& list, const TUniverse& universe, const DrawnCells& cells);

}  // namespace hexlane::render::print
