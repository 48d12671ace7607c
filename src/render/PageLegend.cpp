#include "PageLegend.h"

#include "DefineUniverse.h"
#include "MapGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace hexlane::render {

namespace {

// The room between the map and the legend.
constexpr double kGapMm = 2;
// Any hex size will do to measure in hexes: the one whose halves are whole.
constexpr int kMeasureSize = 30;

// The centres of the systems drawn in the part, in hexes from its top-left
// corner.
std::vector<QPointF> SystemsIn(const TUniverse& u, const QRectF& area) {
    std::vector<QPointF> out;
    const MapFrame f = MapFrame::FromUniverse(u, kMeasureSize);
    TSectors* sectors = u.Sectors();
    if (!sectors || !f.HasExtent()) return out;
    for (const auto& child : sectors->Children()) {
        auto* sector = dynamic_cast<const TSector*>(child.get());
        if (!sector || sector->ExcludeFromDisplay()) continue;
        for (const auto& c : sector->Children()) {
            auto* star = dynamic_cast<const TStar*>(c.get());
            if (!star || !star->Visible) continue;
            const QPoint at = StarCentre(f, star->HexX, star->HexY, star->StarCoordsX);
            const QPointF hexes(double(at.x()) / kMeasureSize, double(at.y()) / kMeasureSize);
            if (area.contains(hexes)) out.push_back(hexes - area.topLeft());
        }
    }
    return out;
}

// One shape of the legend: its rows to a column and its size in device
// pixels.
struct LegendShape {
    int Rows = 0;
    QSizeF Size;
};

// Each distinct shape of the legend for a hex of `perHex` device pixels,
// from a single row to a single column.
std::vector<LegendShape> LegendShapes(const TUniverse& u, const PrintLook& look, double perHex, double dpi) {
    const double scale = perHex / kPrintHexSize;
    std::vector<LegendShape> out;
    const std::vector<QSize> sizes = LegendSizes(u, look, perHex / dpi * 25.4);
    for (std::size_t i = 0; i < sizes.size(); ++i)
        if (i == 0 || sizes[i] != sizes[i - 1]) out.push_back({static_cast<int>(i + 1), QSizeF(sizes[i]) * scale});
    return out;
}

// The legend below or beside the map: the hex (device pixels) it leaves,
// no larger than `most`.
struct Room {
    double PerHex = 0;
    LegendShape Legend;
    bool Below = true;
};

Room BestRoom(const std::vector<LegendShape>& shapes, const QRectF& content, QSizeF area, double gap, double most) {
    Room best;
    auto offer = [&](const LegendShape& s, bool below, double perHex) {
        perHex = std::min(perHex, most);
        const double tie = 1e-9 * most, size = s.Size.width() * s.Size.height();
        if (perHex > best.PerHex + tie ||
            (perHex > best.PerHex - tie && size < best.Legend.Size.width() * best.Legend.Size.height()))
            best = {perHex, s, below};
    };
    for (const LegendShape& s : shapes) {
        if (s.Size.width() <= content.width())
            offer(s, true, (content.height() - gap - s.Size.height()) / area.height());
        if (s.Size.height() <= content.height())
            offer(s, false, (content.width() - gap - s.Size.width()) / area.width());
    }
    return best;
}

// The map at `perHex` device pixels a hex.
void SetHex(PagePlan& plan, double perHex, QSizeF area, double dpi, double left) {
    plan.Scale = perHex / plan.Pitch;
    plan.HexSize = std::max(1, static_cast<int>(std::floor(perHex / (dpi / 96.0))));
    plan.MapBox = QRectF(QPointF(left, plan.Content.top()), area * perHex);
}

}  // namespace

void MakeRoomForLegend(PagePlan& plan, const TUniverse& u, const QRectF& areaHexes, double dpi,
                       const PageSetup& setup) {
    if (setup.Mode != PageMode::Fit || !PrintLookOf(setup) || !setup.Look.Legend || plan.Count() != 1) return;
    const QRectF content = plan.Content;
    const QSizeF area(std::max(areaHexes.width(), 1e-3), std::max(areaHexes.height(), 1e-3));
    const double fit = plan.Scale * plan.Pitch;  // device pixels a hex, the map alone
    const double gap = kGapMm / 25.4 * dpi;
    const std::vector<LegendShape> atFit = LegendShapes(u, setup.Look, fit, dpi);
    if (atFit.empty()) return;

    Room room = BestRoom(atFit, content, area, gap, fit);
    if (room.PerHex < fit * (1 - 1e-9)) {
        // Over a corner of the map where no system is, half a hex clear of
        // the nearest, if one has room: the map keeps its size.
        std::vector<QPointF> systems;
        for (const QPointF& s : SystemsIn(u, areaHexes)) systems.push_back(plan.MapBox.topLeft() + s * fit);
        const QRectF map = plan.MapBox;
        std::vector<LegendShape> compact = atFit;
        std::stable_sort(compact.begin(), compact.end(), [](const LegendShape& a, const LegendShape& b) {
            return a.Size.width() * a.Size.height() < b.Size.width() * b.Size.height();
        });
        for (const LegendShape& s : compact) {
            if (s.Size.width() > map.width() || s.Size.height() > map.height()) continue;
            const std::array<QPointF, 4> corners = {
                QPointF(map.right() - s.Size.width(), map.bottom() - s.Size.height()),
                QPointF(map.left(), map.bottom() - s.Size.height()), QPointF(map.right() - s.Size.width(), map.top()),
                map.topLeft()};
            for (const QPointF& corner : corners) {
                const QRectF box(corner, s.Size);
                const QRectF clear = box.adjusted(-fit / 2, -fit / 2, fit / 2, fit / 2);
                if (std::none_of(systems.begin(), systems.end(), [&clear](const QPointF& c) { return clear.contains(c); })) {
                    plan.LegendBox = box;
                    plan.LegendScale = fit / kPrintHexSize;
                    plan.LegendRows = s.Rows;
                    return;
                }
            }
        }
        // Else the map made smaller until the legend, laid out for the hex
        // it then has, fits below or beside it.
        for (int step = 0; step < 6; ++step) {
            const Room again = BestRoom(LegendShapes(u, setup.Look, room.PerHex, dpi), content, area, gap, room.PerHex);
            if (again.Legend.Rows == 0) break;
            const bool settled = again.PerHex >= room.PerHex * (1 - 1e-9);
            room = again;
            if (settled) break;
        }
    }
    // A legend larger than the page either way: below, made smaller.
    if (room.Legend.Rows == 0) room = {fit / 2, atFit.front(), true};
    // However large the legend, the map keeps at least half its size; the
    // legend is made smaller for what is left, but not below half its size
    // (it could not be read): then there is none.
    room.PerHex = std::max(room.PerHex, fit / 2);
    const LegendShape& s = room.Legend;
    const QSizeF mapSize = area * room.PerHex;
    PagePlan placed = plan;
    double shrink = 1;
    if (room.Below) {
        SetHex(placed, room.PerHex, area, dpi, content.left() + std::max(0.0, content.width() - mapSize.width()) / 2);
        const double below = content.bottom() - placed.MapBox.bottom() - gap;
        shrink = std::min({1.0, below / s.Size.height(), content.width() / s.Size.width()});
        const double width = s.Size.width() * shrink;
        placed.LegendBox = QRectF(
            QPointF(std::max(content.left(), std::min(placed.MapBox.left(), content.right() - width)),
                    placed.MapBox.bottom() + gap),
            s.Size * shrink);
    } else {
        const double total = mapSize.width() + gap + s.Size.width();
        SetHex(placed, room.PerHex, area, dpi, content.left() + std::max(0.0, content.width() - total) / 2);
        const double beside = content.right() - placed.MapBox.right() - gap;
        shrink = std::min({1.0, beside / s.Size.width(), content.height() / s.Size.height()});
        placed.LegendBox = QRectF(QPointF(placed.MapBox.right() + gap, content.top()), s.Size * shrink);
    }
    if (shrink < 0.5) return;
    placed.LegendScale = room.PerHex / kPrintHexSize * shrink;
    placed.LegendRows = s.Rows;
    plan = placed;
}

}  // namespace hexlane::render
