#pragma once
// Pixel geometry of the hex map picture: the sizes that follow from the hex
// size, where cells, stars, labels, leg ends, boundary lines and the parts of
// a system symbol lie. Plain functions of their arguments, no drawing.

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TUniverse;
class TStar;

namespace hexlane::render {

// Sizes derived from the hex size S (integer division truncates).
struct HexMetrics {
    int S = 0;         // pixel pitch of one hex
    int H = 0;         // S div 2: half the hex height
    int T = 0;         // S div 3: half the length of the top and bottom edges
    int A = 0;         // 0 at S = 10, else 1
    int W = 0;         // 2T - A: half the hex width, corner to corner
    int R = 0;         // travel-zone radius; 0 where a system is a single dot
    int D = 0;         // world-dot radius; 0 where a system is a single dot
    int FontSize = 0;  // points of names, starports and hex numbers; 0: no text
    int Rise = 0;      // how far above the centre the starport text starts
    bool DotsOnly() const { return R == 0; }
    bool HexNumbers() const { return S >= 90; }  // hex numbers in every cell
};

// The three zoom levels are 10, 30 and 90; another size draws like the
// nearest level below it (dots below 30).
HexMetrics MetricsForHexSize(int S);

// The zoom level (10, 30 or 90) whose drawing rules a picture of any hex size
// follows: the nearest level at or below it, 10 below 10.
int LevelForHexSize(int hexSize);

// Pixel height of a font of the given point size on a 96 dots-per-inch
// canvas, rounded: 7 points -> 9 pixels, 10 points -> 13.
int FontPixelSize(int points);

// A box (Left, Top, Right, Bottom) in which an ellipse is inscribed; the
// ellipse covers the pixels Left .. Right - 1 and Top .. Bottom - 1.
struct Box {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

// Everything the placement of hexes in the picture depends on: the hex sizes,
// HalfHexX and the universe's display extent.
struct MapFrame {
    HexMetrics M;
    int HalfHexX = 0;
    int MinHexX = 4999, MinHexY = 5000, MaxHexX = -1, MaxHexY = -1;
    int MinSectorX = 100, MinSectorY = 100, MaxSectorX = 0, MaxSectorY = 0;

    static MapFrame FromUniverse(const TUniverse& universe);
    // The same extent laid out at another hex size (HalfHexX = S div 2, as
    // setting the universe's hex size makes it).
    static MapFrame FromUniverse(const TUniverse& universe, int hexSize);

    // False when no star is displayed (or before a map is open: no hex
    // size); the picture is then a blank 300 x 300.
    bool HasExtent() const;
    // Number of sectors across (NX) and down (NY) of the displayed sector
    // rectangle; 0 without an extent.
    int SectorsAcross() const;
    int SectorsDown() const;
};

// Width and height of the picture: (Max - Min)·S + S + S div 2 in each
// direction, or 300 x 300 when nothing is displayed.
QSize PictureSize(const MapFrame& frame);

// Number of grid cells across (32·NX) and down (40·NY), counted from the
// picture's left and top edges.
QSize GridCells(const MapFrame& frame);

// Centre of grid cell (c, r), both 0-based from the picture's top-left:
// even columns stand half a hex higher than odd ones.
QPoint CellCentre(const MapFrame& frame, int c, int r);

// The grid cells whose hexes may reach a rectangle of the picture: columns
// First.x() .. Last.x(), rows First.y() .. Last.y(); empty when First > Last.
struct CellSpan {
    QPoint First, Last;
    bool Empty() const { return First.x() > Last.x() || First.y() > Last.y(); }
};
CellSpan CellsReaching(const MapFrame& frame, const QRect& area);

// The seven points of a hex outline around a centre (the first repeated at
// the end): flat top and bottom edges.
std::array<QPoint, 7> HexOutline(const HexMetrics& m, QPoint centre);

// Centre of a star's hex from its map-wide HexX, HexY and its StarCoordsX
// (odd columns sit higher).
QPoint StarCentre(const MapFrame& frame, int hexX, int hexY, int starCoordsX);

// Where a route leg ends for a star at map-wide column and row.
QPoint LegEndPoint(const MapFrame& frame, int column, int row);

// A hex number: column then row, each with at least two digits ("0307").
std::string HexNumber(int column, int row);
// The number written in grid cell (c, r): sector-relative (01-32, 01-40) or
// subsector-relative (01-08, 01-10).
std::string CellHexNumber(const MapFrame& frame, int c, int r, bool sectorAddressing);
// A star's own hex number in the same two addressings.
std::string StarHexNumber(const TStar& star, bool sectorAddressing);
std::string StarHexNumber(int subsectorX, int subsectorY, int starX, int starY, bool sectorAddressing);

// Top-left corners of text centred on x = centre.x: a hex number, a name
// under the world dot and a starport letter above it.
QPoint HexNumberOrigin(const HexMetrics& m, QPoint centre, int textWidth);
QPoint NameOrigin(const HexMetrics& m, QPoint centre, int textWidth);
QPoint StarportOrigin(const HexMetrics& m, QPoint centre, int textWidth);

// Boundary lines in picture pixels, in drawing order.
std::vector<QLine> SubsectorLines(const MapFrame& frame);
std::vector<QLine> SectorLines(const MapFrame& frame);

// System symbol parts at the sized zoom levels.
Box TravelZoneBox(const HexMetrics& m, QPoint centre);
Box WorldBox(const HexMetrics& m, QPoint centre);
// The four dots of a planetoid belt (size code "0").
std::array<Box, 4> BeltDotBoxes(const HexMetrics& m, QPoint centre);
// The single dot of a system at the smallest zoom.
Box SystemDotBox(QPoint centre);

// Content markers of a SystemContent value, in drawing order.
std::vector<Box> ContentMarkerBoxes(const HexMetrics& m, QPoint centre, std::int32_t systemContent);
// The same into a fixed array, without allocating; returns how many.
inline constexpr int kMaxContentMarkers = 9;
int ContentMarkerBoxes(const HexMetrics& m, QPoint centre, std::int32_t systemContent,
                       std::array<Box, kMaxContentMarkers>& boxes);

}  // namespace hexlane::render
