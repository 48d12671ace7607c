#include "PrintGrid.h"

#include "DefineUniverse.h"

#include <algorithm>
#include <deque>
#include <optional>

namespace hexlane::render::print {

namespace {

int FloorDiv(int a, int b) {
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// What the edge between two cells is: 0 a plain hex edge, 1 a subsector
// boundary, 2 a sector boundary (map-wide columns and rows count from 1).
int EdgeKind(const MapFrame& f, QPoint a, QPoint b) {
    const int ga = f.MinHexX + a.x() - 1, gb = f.MinHexX + b.x() - 1;
    const int ha = f.MinHexY + a.y() - 1, hb = f.MinHexY + b.y() - 1;
    if (FloorDiv(ga, 32) != FloorDiv(gb, 32) || FloorDiv(ha, 40) != FloorDiv(hb, 40)) return 2;
    if (FloorDiv(ga, 8) != FloorDiv(gb, 8) || FloorDiv(ha, 10) != FloorDiv(hb, 10)) return 1;
    return 0;
}

unsigned long long PointKey(QPoint p) {
    return (static_cast<unsigned long long>(static_cast<std::uint32_t>(p.x())) << 32) |
           static_cast<std::uint32_t>(p.y());
}

}  // namespace

DrawnCells::DrawnCells(const MapFrame& frame, QSize picture, const QRectF& exactHexes)
    : frame_(frame), picture_(picture), grid_(GridCells(frame)), exact_(exactHexes) {}

bool DrawnCells::Drawn(int c, int r) const {
    if (c < 0 || r < 0 || c >= grid_.width() || r >= grid_.height()) return false;
    return Inside(CellCentre(frame_, c, r));
}

bool DrawnCells::Inside(QPoint p) const {
    if (p.x() < 0 || p.y() < 0 || p.x() > picture_.width() || p.y() > picture_.height()) return false;
    return InPart(p);
}

bool DrawnCells::InPart(QPoint p) const {
    if (exact_.isEmpty()) return true;
    // Strictly inside: the centres of the neighbours' row lie on the block's edge.
    constexpr double e = 1e-6;
    const double x = double(p.x()) / frame_.M.S, y = double(p.y()) / frame_.M.S;
    return x > exact_.left() + e && x < exact_.right() - e && y > exact_.top() + e && y < exact_.bottom() - e;
}

QPoint Neighbour(int c, int r, int side) {
    // Odd columns stand half a hex lower than even ones.
    const int up = c % 2 != 0 ? 0 : -1;
    switch (side) {
    case 0: return {c, r - 1};
    case 1: return {c + 1, r + up};
    case 2: return {c + 1, r + up + 1};
    case 3: return {c, r + 1};
    case 4: return {c - 1, r + up + 1};
    default: return {c - 1, r + up};
    }
}

std::vector<std::vector<QPoint>> ChainSegments(const std::vector<QLine>& segments) {
    std::unordered_multimap<unsigned long long, std::size_t> ends;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        ends.emplace(PointKey(segments[i].p1()), i);
        ends.emplace(PointKey(segments[i].p2()), i);
    }
    std::vector<bool> used(segments.size(), false);
    // An unused segment at p, and its other end.
    auto next = [&](QPoint p) -> std::optional<QPoint> {
        const auto [first, last] = ends.equal_range(PointKey(p));
        for (auto it = first; it != last; ++it)
            if (!used[it->second]) {
                used[it->second] = true;
                const QLine& s = segments[it->second];
                return s.p1() == p ? s.p2() : s.p1();
            }
        return std::nullopt;
    };
    std::vector<std::vector<QPoint>> lines;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (used[i]) continue;
        used[i] = true;
        std::deque<QPoint> line{segments[i].p1(), segments[i].p2()};
        while (auto p = next(line.back())) line.push_back(*p);
        while (auto p = next(line.front())) line.push_front(*p);
        lines.emplace_back(line.begin(), line.end());
    }
    return lines;
}

GridPens GridPensFor(double mmPerHex) {
    GridPens p;
    p.Hex = Px(0.1, mmPerHex, 1, 4);
    p.Subsector = std::max(p.Hex + 1, Px(0.3, mmPerHex, 1, 10));
    p.Sector = std::max(p.Subsector + 1, Px(0.5, mmPerHex, 1, 16));
    return p;
}

QRgb PaperOf(const CellPaper& paper, int c, int r) {
    const auto it = paper.find(CellKey(c, r));
    return it == paper.end() ? kPaper : it->second;
}

void AddPrintGrid(DisplayList& list, const DrawnCells& cells, const GridPens& pens) {
    std::vector<QLine> kinds[3];
    const QSize grid = cells.Grid();
    for (int c = 0; c < grid.width(); ++c)
        for (int r = 0; r < grid.height(); ++r) {
            if (!cells.Drawn(c, r)) continue;
            const auto o = HexOutline(list.M(), CellCentre(list.Frame, c, r));
            for (int side = 0; side < 6; ++side) {
                const QPoint n = Neighbour(c, r, side);
                // Sides 3-5 are a drawn neighbour's sides 0-2.
                if (side >= 3 && cells.Drawn(n.x(), n.y())) continue;
                const auto k = static_cast<std::size_t>(EdgeKind(list.Frame, QPoint(c, r), n));
                kinds[k].emplace_back(o[static_cast<std::size_t>(side)], o[static_cast<std::size_t>(side) + 1]);
            }
        }
    list.BeginGroup(true);
    const QRgb inks[3] = {kGridInk, kSubsectorInk, kSectorInk};
    const int widths[3] = {pens.Hex, pens.Subsector, pens.Sector};
    for (std::size_t k = 0; k < 3; ++k)
        for (const auto& line : ChainSegments(kinds[k]))
            list.AddPolyline(line, InkOf(inks[k]), widths[k], LineStyle::Solid);
    list.EndGroup();
}

void AddHexNumbers(DisplayList& list, const DrawnCells& cells, const Metrics& m, bool sectorNumbers,
                   const CellPaper& paper) {
    if (m.NumberFont <= 0) return;
    const auto font = list.AddFont({PointsFor(m.NumberFont), false});
    const QSize grid = cells.Grid();
    for (int c = 0; c < grid.width(); ++c) {
        list.BeginGroup();
        for (int r = 0; r < grid.height(); ++r) {
            if (!cells.Drawn(c, r)) continue;
            const QPoint centre = CellCentre(list.Frame, c, r);
            list.AddText(QPoint(centre.x(), centre.y() + m.NumberTop),
                         QString::fromLatin1(CellHexNumber(list.Frame, c, r, sectorNumbers)), font, InkOf(kNumberInk));
            Shape& s = list.Shapes.back();
            s.Fill = Qt::SolidPattern;
            s.Brush = InkOf(PaperOf(paper, c, r));
        }
        list.EndGroup();
    }
}

namespace {

// A faded name, about `pixels` high (rounded to a few sizes), centred on `at`.
void AddFadedName(DisplayList& list, QPoint at, const std::string& name, int pixels, bool bold, QRgb ink) {
    pixels = std::max(8, pixels / 8 * 8);
    const auto font = list.AddFont({PointsFor(pixels), bold});
    list.AddText(QPoint(at.x(), at.y() - pixels * 3 / 5), name, false, font, InkOf(ink));
    Shape& s = list.Shapes.back();
    s.Fill = Qt::SolidPattern;
    s.Brush = InkOf(kNoBox);
}

}  // namespace

void AddRegionNames(DisplayList& list, const TUniverse& u, const DrawnCells& cells) {
    TSectors* sectors = u.Sectors();
    if (!sectors) return;
    const MapFrame& f = list.Frame;
    const int S = f.M.S;
    list.BeginGroup();
    for (const auto& child : sectors->Children()) {
        auto* sector = dynamic_cast<const TSector*>(child.get());
        if (!sector || sector->ExcludeFromDisplay()) continue;
        // The sector's first cell; a subsector's middle lies on the line
        // between its fourth and fifth columns, half way down its rows.
        const int c0 = (sector->SectorCoordsX - 1) * 32 + 1 - f.MinHexX;
        const int r0 = (sector->SectorCoordsY - 1) * 40 + 1 - f.MinHexY;
        for (int x = 1; x <= 4; ++x)
            for (int y = 1; y <= 4; ++y) {
                const std::string& name = sector->SSName[static_cast<std::size_t>(TSector::SubsectorIndex(x, y))];
                const int c = c0 + (x - 1) * 8, r = r0 + (y - 1) * 10;
                const QPoint at((c + 4) * S, (r + 5) * S + S / 4);
                if (name.empty() || !cells.Inside(at) || !cells.InPart(CellCentre(f, c, r)) ||
                    !cells.InPart(CellCentre(f, c + 7, r + 9)))
                    continue;
                const int len = static_cast<int>(name.size());
                AddFadedName(list, at, name, std::clamp(1500 / std::max(1, len), 40, 112), false, kFadedInk);
            }
        const QPoint middle((c0 + 16) * S, (r0 + 20) * S + S / 4);
        if (!sector->Name1.empty() && cells.Inside(middle) && cells.InPart(CellCentre(f, c0, r0)) &&
            cells.InPart(CellCentre(f, c0 + 31, r0 + 39))) {
            const int len = static_cast<int>(sector->Name1.size());
            AddFadedName(list, middle, sector->Name1, std::clamp(3400 / std::max(1, len), 80, 240), true,
                         kSectorNameInk);
        }
    }
    list.EndGroup();
}

}  // namespace hexlane::render::print
