#include "PrintGlyphs.h"

#include "DefineStar.h"
#include "Palette.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace hexlane::render::print {

Metrics MetricsFor(DetailLevel level) {
    Metrics m;
    m.Level = level;
    switch (level) {
    case DetailLevel::Dots: m.WorldR = 20; break;
    case DetailLevel::Names:
        // A hex of 5-15 mm: every text about 3-8 points, no glyphs.
        m.WorldR = 10, m.DryRim = 3, m.ZoneR = 36, m.ZoneWidth = 5;
        m.NumberFont = 18, m.NumberTop = -57;
        m.PortFont = 20, m.PortTop = -33;
        m.NameFont = 24, m.NameTop = 12;
        break;
    case DetailLevel::Full:
        m.WorldR = 8, m.DryRim = 2, m.ZoneR = 30, m.ZoneWidth = 3;
        m.GlyphR = 7, m.GlyphX = 46, m.GlyphY = {-32, -15, 2};
        m.NumberFont = 12, m.NumberTop = -57;
        m.PortFont = 15, m.PortTop = -28;
        m.NameFont = 15, m.NameTop = 10;
        break;
    case DetailLevel::FullUwp:
        m.WorldR = 7, m.DryRim = 2, m.ZoneR = 28, m.ZoneWidth = 2;
        m.GlyphR = 6, m.GlyphX = 44, m.GlyphY = {-30, -14, 2};
        m.NumberFont = 10, m.NumberTop = -57;
        m.PortFont = 12, m.PortTop = -25;
        m.NameFont = 12, m.NameTop = 9;
        m.UwpFont = 10, m.UwpTop = 23;
        break;
    }
    return m;
}

int PointsFor(int pixels) {
    return std::max(1, (pixels * 72 + 48) / 96);
}

int Px(double mm, double mmPerHex, int least, int most) {
    if (!(mmPerHex > 0)) mmPerHex = 6;
    const int px = static_cast<int>(std::lround(mm * kPrintHexSize / mmPerHex));
    return std::clamp(px, least, std::max(least, most));
}

Ink InkOf(QRgb colour) {
    return {NearestPaletteColour(colour), colour};
}

QRgb Tint(QRgb c, bool atlas) {
    const int share = atlas ? 16 : 28;  // per cent of the colour
    auto mix = [share](int v) { return 255 - (255 - v) * share / 100; };
    return qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
}

bool IsWet(const TStar& star) {
    return star.HydroIndex() > 0;
}

bool IsBelt(const TStar& star) {
    return star.PSUPCCode() == '0';
}

namespace {

Box Around(QPoint c, int r) {
    return {c.x() - r, c.y() - r, c.x() + r, c.y() + r};
}

QPoint At(QPoint c, double dx, double dy, int r) {
    return {c.x() + static_cast<int>(std::lround(dx * r)), c.y() + static_cast<int>(std::lround(dy * r))};
}

// Small dots scattered over offsets (in units of r) around a centre.
void AddDots(DisplayList& list, QPoint centre, int r, int dotR, const std::vector<std::pair<double, double>>& at) {
    std::vector<Box> boxes;
    for (const auto& [dx, dy] : at) boxes.push_back(Around(At(centre, dx, dy, r), dotR));
    const Ink ink = InkOf(kGlyphInk);
    list.AddEllipses(boxes.data(), static_cast<int>(boxes.size()), ink, ink);
}

}  // namespace

void AddWorld(DisplayList& list, const Metrics& m, QPoint centre, bool wet, bool belt) {
    if (belt) {
        AddDots(list, centre, m.WorldR, std::max(2, m.WorldR / 3),
                {{-0.7, -0.3}, {0.1, -0.75}, {0.75, 0.05}, {-0.2, 0.6}, {0.55, 0.7}});
        return;
    }
    if (wet) {
        list.AddEllipse(Around(centre, m.WorldR), InkOf(kWetInk), InkOf(kWetInk));
        return;
    }
    const int r = m.WorldR - m.DryRim / 2;
    list.AddEllipse(Around(centre, r), InkOf(kDryInk), InkOf(kPaper));
    list.Shapes.back().Width = static_cast<std::uint16_t>(m.DryRim);
}

void AddZoneRing(DisplayList& list, const Metrics& m, QPoint centre, bool red) {
    if (m.ZoneR <= 0) return;
    const Ink ink = InkOf(red ? kRedInk : kAmberInk);
    list.AddEllipse(Around(centre, m.ZoneR), ink, ink);
    Shape& ring = list.Shapes.back();
    ring.Fill = 0;
    // Amber a little thicker and dashed, red solid: told apart without colour.
    ring.Width = static_cast<std::uint16_t>(red ? m.ZoneWidth : m.ZoneWidth + (m.ZoneWidth + 2) / 3);
    ring.Style = red ? LineStyle::Solid : LineStyle::Dash;
}

std::int32_t GlyphBits(Glyph glyph) {
    switch (glyph) {
    case Glyph::GasGiant: return scGasGiant;
    case Glyph::NavalBase:
        return scNavalBase | scPlanetaryNavalBase | scDroyneNavalBase | scClanNavalBase | scTlaukhuNavalBase |
               scZhodaniNavalBase | scVargrNavalBase;
    case Glyph::ScoutBase: return scScoutBase | scScoutWayStation;
    case Glyph::OtherBase: return scNavalDepot | scPrison | scCorsairBase | scMilitaryBase;
    case Glyph::Research: return scResearchStation;
    case Glyph::Belts: return scPlanetoids;
    }
    return 0;
}

void AddGlyph(DisplayList& list, Glyph glyph, QPoint c, int r) {
    const Ink ink = InkOf(kGlyphInk);
    switch (glyph) {
    case Glyph::GasGiant: list.AddEllipse(Around(c, std::max(2, r * 4 / 5)), ink, ink); break;
    case Glyph::NavalBase: {
        // A five-pointed star, point up.
        std::vector<QPoint> star;
        for (int i = 0; i < 10; ++i) {
            const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5, k = i % 2 ? 0.42 : 1.05;
            star.push_back(At(c, k * std::cos(a), k * std::sin(a), r));
        }
        list.AddPolygon(star, ink, ink, Qt::SolidPattern);
        break;
    }
    case Glyph::ScoutBase:
        list.AddPolygon({At(c, 0, -1, r), At(c, 0.95, 0.8, r), At(c, -0.95, 0.8, r)}, ink, ink, Qt::SolidPattern);
        break;
    case Glyph::OtherBase:
        list.AddPolygon({At(c, -0.75, -0.75, r), At(c, 0.75, -0.75, r), At(c, 0.75, 0.75, r), At(c, -0.75, 0.75, r)},
                        ink, ink, Qt::SolidPattern);
        break;
    case Glyph::Research:
        list.AddPolygon({At(c, 0, -1, r), At(c, 1, 0, r), At(c, 0, 1, r), At(c, -1, 0, r)}, ink, InkOf(kPaper),
                        Qt::SolidPattern);
        list.Shapes.back().Width = static_cast<std::uint16_t>(std::max(1, r / 3));
        break;
    case Glyph::Belts:
        AddDots(list, c, r, std::max(1, r * 3 / 10), {{-0.6, 0.35}, {0.0, -0.55}, {0.6, 0.15}, {0.1, 0.75}});
        break;
    }
}

void AddContentGlyphs(DisplayList& list, const Metrics& m, QPoint centre, std::int32_t content) {
    if (m.GlyphR <= 0) return;
    // Bases to the left of the world, the system's other contents to its right.
    struct Place {
        Glyph G;
        int Side, Row;
    };
    static constexpr Place kPlaces[] = {
        {Glyph::OtherBase, -1, 0}, {Glyph::NavalBase, -1, 1}, {Glyph::ScoutBase, -1, 2},
        {Glyph::Research, 1, 0},   {Glyph::GasGiant, 1, 1},   {Glyph::Belts, 1, 2},
    };
    for (const Place& p : kPlaces)
        if (content & GlyphBits(p.G))
            AddGlyph(list, p.G,
                     QPoint(centre.x() + p.Side * m.GlyphX, centre.y() + m.GlyphY[static_cast<std::size_t>(p.Row)]),
                     m.GlyphR);
}

QRgb Grey(QRgb c) {
    const int y = (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c) + 500) / 1000;
    return qRgba(y, y, y, qAlpha(c));
}

void ToGreys(DisplayList& list) {
    for (Shape& s : list.Shapes) {
        const QRgb pen = s.Pen.True;
        s.Pen.True = Grey(pen);
        s.Brush.True = Grey(s.Brush.True);
        const bool coloured = qRed(pen) != qGreen(pen) || qGreen(pen) != qBlue(pen);
        // Coloured lines, rings and texts no lighter than a mid grey (tints,
        // drawn as hexes and polygons, stay light).
        if (coloured && s.Kind != ShapeKind::Hex && s.Kind != ShapeKind::Polygon) {
            const int y = std::min(qRed(s.Pen.True), 130);
            s.Pen.True = qRgba(y, y, y, qAlpha(pen));
        }
    }
}

}  // namespace hexlane::render::print
