#include "MapGeometry.h"

#include "DefineUniverse.h"

#include <algorithm>
#include <cstdio>

namespace hexlane::render {

namespace {

bool IsOdd(int v) {
    return v % 2 != 0;
}

// Remainder in 0 .. n - 1 also for negative values (columns of sectors left
// of the first one).
int FloorMod(int v, int n) {
    const int m = v % n;
    return m < 0 ? m + n : m;
}

}  // namespace

HexMetrics MetricsForHexSize(int S) {
    HexMetrics m;
    m.S = S;
    m.H = S / 2;
    m.T = S / 3;
    m.A = S == 10 ? 0 : 1;
    m.W = 2 * m.T - m.A;
    if (S >= 90) {
        m.R = 30;
        m.D = 5;
        m.FontSize = 10;
        m.Rise = 20;
    } else if (S >= 30) {
        m.R = 10;
        m.D = 3;
        m.FontSize = 7;
        m.Rise = 15;
    }
    return m;
}

int LevelForHexSize(int hexSize) {
    return hexSize >= 90 ? 90 : hexSize >= 30 ? 30 : 10;
}

int FontPixelSize(int points) {
    return (points * 96 + 36) / 72;
}

MapFrame MapFrame::FromUniverse(const TUniverse& u) {
    MapFrame f;
    f.M = MetricsForHexSize(u.HexSize);
    f.HalfHexX = u.HalfHexX;
    f.MinHexX = u.MinHexX;
    f.MinHexY = u.MinHexY;
    f.MaxHexX = u.MaxHexX;
    f.MaxHexY = u.MaxHexY;
    f.MinSectorX = u.MinSectorX;
    f.MinSectorY = u.MinSectorY;
    f.MaxSectorX = u.MaxSectorX;
    f.MaxSectorY = u.MaxSectorY;
    return f;
}

MapFrame MapFrame::FromUniverse(const TUniverse& u, int hexSize) {
    MapFrame f = FromUniverse(u);
    f.M = MetricsForHexSize(hexSize);
    f.HalfHexX = hexSize / 2;
    return f;
}

bool MapFrame::HasExtent() const {
    return M.S > 0 && MinHexX != 5000 && MinHexY != 5000 && MaxHexX != -1 && MaxHexY != -1;
}

int MapFrame::SectorsAcross() const {
    return HasExtent() ? std::max(0, MaxSectorX - MinSectorX + 1) : 0;
}

int MapFrame::SectorsDown() const {
    return HasExtent() ? std::max(0, MaxSectorY - MinSectorY + 1) : 0;
}

QSize PictureSize(const MapFrame& f) {
    if (!f.HasExtent()) return {300, 300};
    // Sector coordinates far apart (a damaged map) must not overflow: such a
    // picture is capped, and too large to be drawn or saved anyway.
    const std::int64_t S = f.M.S, cap = std::int64_t(1) << 30;
    const std::int64_t w = (std::int64_t(f.MaxHexX) - f.MinHexX) * S + S + S / 2;
    const std::int64_t h = (std::int64_t(f.MaxHexY) - f.MinHexY) * S + S + S / 2;
    return {static_cast<int>(std::clamp<std::int64_t>(w, 1, cap)), static_cast<int>(std::clamp<std::int64_t>(h, 1, cap))};
}

QSize GridCells(const MapFrame& f) {
    return {32 * f.SectorsAcross(), 40 * f.SectorsDown()};
}

QPoint CellCentre(const MapFrame& f, int c, int r) {
    const int S = f.M.S, H = f.M.H;
    return {c * S + f.HalfHexX, IsOdd(c) ? r * S + 2 * H : r * S + H};
}

CellSpan CellsReaching(const MapFrame& f, const QRect& area) {
    const QSize cells = GridCells(f);
    if (cells.isEmpty()) return {QPoint(0, 0), QPoint(-1, -1)};
    const int S = f.M.S, H = f.M.H, W = f.M.W;
    auto floorDiv = [](int a, int b) {
        const int q = a / b;
        return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
    };
    return {QPoint(std::max(0, floorDiv(area.left() - W - f.HalfHexX, S)), std::max(0, floorDiv(area.top() - 3 * H, S))),
            QPoint(std::min(cells.width() - 1, floorDiv(area.right() + W - f.HalfHexX, S) + 1),
                   std::min(cells.height() - 1, floorDiv(area.bottom() + H, S) + 1))};
}

std::array<QPoint, 7> HexOutline(const HexMetrics& m, QPoint p) {
    const int x = p.x(), y = p.y();
    return {QPoint(x - m.T, y - m.H), QPoint(x + m.T, y - m.H), QPoint(x + m.W, y),
            QPoint(x + m.T, y + m.H), QPoint(x - m.T, y + m.H), QPoint(x - m.W, y),
            QPoint(x - m.T, y - m.H)};
}

QPoint StarCentre(const MapFrame& f, int hexX, int hexY, int starCoordsX) {
    const int S = f.M.S;
    return {(hexX - f.MinHexX) * S + f.HalfHexX, (hexY - f.MinHexY) * S + (IsOdd(starCoordsX) ? f.M.H : S)};
}

QPoint LegEndPoint(const MapFrame& f, int column, int row) {
    const int S = f.M.S;
    return {(column - f.MinHexX) * S + f.HalfHexX, (row - f.MinHexY) * S + (IsOdd(column) ? f.M.H : S)};
}

std::string HexNumber(int column, int row) {
    // Every number of a map has two digits each way: written directly, as
    // the layout writes one per system.
    if (column >= 0 && column < 100 && row >= 0 && row < 100)
        return {static_cast<char>('0' + column / 10), static_cast<char>('0' + column % 10),
                static_cast<char>('0' + row / 10), static_cast<char>('0' + row % 10)};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%02d", column, row);
    return buf;
}

std::string CellHexNumber(const MapFrame& f, int c, int r, bool sectorAddressing) {
    const int g = f.MinHexX + c, h = f.MinHexY + r;
    if (sectorAddressing) return HexNumber(FloorMod(g - 1, 32) + 1, FloorMod(h - 1, 40) + 1);
    return HexNumber(FloorMod(g - 1, 8) + 1, FloorMod(h - 1, 10) + 1);
}

std::string StarHexNumber(int subsectorX, int subsectorY, int starX, int starY, bool sectorAddressing) {
    if (sectorAddressing) {
        const TSectorHex hex = TSectorHex::InSubsector(subsectorX, subsectorY, starX, starY);
        return HexNumber(hex.Column, hex.Row);
    }
    return HexNumber(starX, starY);
}

std::string StarHexNumber(const TStar& star, bool sectorAddressing) {
    if (!sectorAddressing) return HexNumber(star.StarCoordsX, star.StarCoordsY);
    return StarHexNumber(star.SubSectorCoordsX(), star.SubSectorCoordsY(), star.StarCoordsX, star.StarCoordsY, true);
}

QPoint HexNumberOrigin(const HexMetrics& m, QPoint p, int textWidth) {
    return {p.x() - textWidth / 2, p.y() - m.H + 2};
}

QPoint NameOrigin(const HexMetrics& m, QPoint p, int textWidth) {
    return {p.x() - textWidth / 2, p.y() + m.D};
}

QPoint StarportOrigin(const HexMetrics& m, QPoint p, int textWidth) {
    return {p.x() - textWidth / 2, p.y() - m.Rise};
}

namespace {

// Lines every `step` hexes across and down the displayed sector rectangle.
std::vector<QLine> GridLines(const MapFrame& f, int stepX, int stepY) {
    std::vector<QLine> lines;
    const int NX = f.SectorsAcross(), NY = f.SectorsDown();
    if (NX == 0 || NY == 0) return lines;
    const int S = f.M.S;
    const int c0 = (f.MinSectorX - 1) * 32 + 1 - f.MinHexX;
    const int r0 = (f.MinSectorY - 1) * 40 + 1 - f.MinHexY;
    const int across = 32 / stepX * NX, down = 40 / stepY * NY;
    for (int i = 0; i <= down; ++i)
        lines.emplace_back(S * c0, S * (r0 + stepY * i), S * 32 * NX, S * (r0 + stepY * i));
    for (int j = 0; j <= across; ++j)
        lines.emplace_back(S * (c0 + stepX * j), S * r0, S * (c0 + stepX * j), S * 40 * NY);
    return lines;
}

}  // namespace

std::vector<QLine> SubsectorLines(const MapFrame& f) {
    return GridLines(f, 8, 10);
}

std::vector<QLine> SectorLines(const MapFrame& f) {
    return GridLines(f, 32, 40);
}

Box TravelZoneBox(const HexMetrics& m, QPoint p) {
    return {p.x() - m.R, p.y() - m.R, p.x() + m.R, p.y() + m.R};
}

Box WorldBox(const HexMetrics& m, QPoint p) {
    return {p.x() - m.D, p.y() - m.D, p.x() + m.D, p.y() + m.D};
}

std::array<Box, 4> BeltDotBoxes(const HexMetrics& m, QPoint p) {
    const int x = p.x(), y = p.y();
    if (m.R >= 30)
        return {Box{x - 5, y - 2, x - 1, y + 2}, Box{x + 1, y - 2, x + 5, y + 2}, Box{x - 2, y - 5, x + 2, y - 1},
                Box{x - 2, y + 1, x + 2, y + 5}};
    return {Box{x - 3, y - 1, x - 1, y + 1}, Box{x + 1, y - 1, x + 3, y + 1}, Box{x - 1, y - 3, x + 1, y - 1},
            Box{x - 1, y + 1, x + 1, y + 3}};
}

Box SystemDotBox(QPoint p) {
    return {p.x() - 1, p.y() - 1, p.x() + 1, p.y() + 1};
}

int ContentMarkerBoxes(const HexMetrics& m, QPoint p, std::int32_t bits, std::array<Box, kMaxContentMarkers>& boxes) {
    const int d = m.D, h = m.R / 2, R = m.R, x = p.x(), y = p.y();
    constexpr std::int32_t kAnyNavalBase = 0x2 | 0x400 | 0x800 | 0x1000 | 0x2000 | 0x4000 | 0x8000 | 0x10000;
    struct Marker {
        std::int32_t mask;
        int dx, dy;
    };
    const Marker markers[] = {
        {kAnyNavalBase, -R, 0}, {0x4, -R, -h}, {0x40, -R, -R}, {0x80, R, -R},     {0x100, R, -h},
        {0x20, R, 0},           {0x8, h, 0},   {0x10, -h, 0},  {0x40000, -R, 5 * d},
    };
    // Every marker's box is written at the next place and only those present
    // are counted: no branch on the bits, which vary from system to system.
    int count = 0;
    for (const Marker& mk : markers) {
        boxes[static_cast<std::size_t>(count)] = {x + mk.dx - d, y + mk.dy - d, x + mk.dx + d, y + mk.dy + d};
        count += (bits & mk.mask) != 0;
    }
    return count;
}

std::vector<Box> ContentMarkerBoxes(const HexMetrics& m, QPoint p, std::int32_t bits) {
    std::array<Box, kMaxContentMarkers> boxes;
    const int count = ContentMarkerBoxes(m, p, bits, boxes);
    return std::vector<Box>(boxes.begin(), boxes.begin() + count);
}

}  // namespace hexlane::render
