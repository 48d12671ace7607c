// The legend of the print look: one row per symbol that the map's layers
// and its detail level show, drawn by the same code as the map's symbols.

#include "PrintStyle.h"

#include "DefineUniverse.h"
#include "MapStyle.h"
#include "Palette.h"
#include "PrintGlyphs.h"
#include "VoyageLayer.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>

namespace hexlane::render {

namespace {

using namespace print;

// One row: a sample drawn centred on a point, and its label.
struct Entry {
    std::function<void(DisplayList&, QPoint)> Sample;
    std::string Label;
    bool Bold = false, Capitals = false;
};

struct Row {
    int Height = 0, SampleWidth = 0;
};

// The allegiances of the displayed stars that have an allegiance record, in
// the records' order.
std::vector<const TAllegiance*> PresentAllegiances(const TUniverse& u) {
    std::set<std::string, std::less<>> used;
    if (TSectors* sectors = u.Sectors())
        for (const auto& child : sectors->Children()) {
            auto* sector = dynamic_cast<const TSector*>(child.get());
            if (!sector || sector->ExcludeFromDisplay()) continue;
            for (const auto& c : sector->Children())
                if (auto* star = dynamic_cast<const TStar*>(c.get()); star && star->Visible && !star->Allegiance.empty())
                    used.emplace(std::string(star->Allegiance));
        }
    std::vector<const TAllegiance*> out;
    std::set<std::string, std::less<>> listed;
    if (TAllegiances* all = u.Allegiances())
        for (const auto& c : all->Children())
            if (auto* a = dynamic_cast<const TAllegiance*>(c.get()); a && used.count(a->Name1) && listed.insert(a->Name1).second)
                out.push_back(a);
    return out;
}

std::vector<const TRoute*> ShownRoutes(const TUniverse& u) {
    std::vector<const TRoute*> out;
    if (TRoutes* routes = u.Routes())
        for (const auto& r : routes->Children())
            if (auto* route = dynamic_cast<const TRoute*>(r.get()); route && route->ShowRoute && route->ChildCount() > 0)
                out.push_back(route);
    return out;
}

// The map's symbols fitted into a legend cell `cell` layout pixels across:
// a zone ring as large as the cell allows, worlds and glyphs as on the map
// unless the cell is smaller; lines keep the map's widths.
Metrics InCell(Metrics m, int cell) {
    const int half = cell / 2;
    if (m.ZoneR > 0 && m.ZoneR + m.ZoneWidth > half) m.ZoneR = std::max(2, half - m.ZoneWidth);
    if (m.WorldR + m.DryRim > half) m.WorldR = std::max(2, half - m.DryRim);
    m.GlyphR = std::min(m.GlyphR, half);
    return m;
}

std::vector<Entry> Entries(const TUniverse& u, const Metrics& m, int cell, double mmPerHex, bool atlas) {
    const ShowFlags show = ShowFlags::FromUniverse(u);
    const bool text = m.Level != DetailLevel::Dots;
    std::vector<Entry> e;
    if (text) {
        const Metrics ring = InCell(m, cell);
        e.push_back({[ring](DisplayList& l, QPoint c) { AddZoneRing(l, ring, c, false); }, "Amber zone"});
        e.push_back({[ring](DisplayList& l, QPoint c) { AddZoneRing(l, ring, c, true); }, "Red zone"});
    }
    const Metrics small = InCell(m, cell);
    e.push_back({[m = small](DisplayList& l, QPoint c) { AddWorld(l, m, c, true, false); }, "World with water"});
    e.push_back({[m = small](DisplayList& l, QPoint c) { AddWorld(l, m, c, false, false); }, "World without water"});
    e.push_back({[m = small](DisplayList& l, QPoint c) { AddWorld(l, m, c, false, true); }, "Asteroid belt"});
    if (show.SystemContents && m.GlyphR > 0) {
        const std::pair<Glyph, const char*> glyphs[] = {
            {Glyph::GasGiant, "Gas giant"},   {Glyph::NavalBase, "Naval base"},
            {Glyph::ScoutBase, "Scout base"}, {Glyph::OtherBase, "Other base"},
            {Glyph::Research, "Research station"}, {Glyph::Belts, "Planetoid belts"},
        };
        for (const auto& [g, label] : glyphs)
            e.push_back({[g, r = small.GlyphR](DisplayList& l, QPoint c) { AddGlyph(l, g, c, r); }, label});
    }
    if (text && show.Names) {
        e.push_back({nullptr, "Subsector capital", true, false});
        e.push_back({nullptr, "Population 9+", false, true});
    }
    const int half = std::min(std::max(m.ZoneR, 24), cell / 2);
    // At most kListed routes and allegiances each, so that the box stays a
    // corner of the page; a row says how many more there are.
    constexpr int kListed = 10;
    auto more = [&e](std::size_t all, const char* what) {
        if (all > kListed) e.push_back({nullptr, "and " + std::to_string(all - kListed) + " more " + what});
    };
    const std::vector<const TRoute*> routes = show.Routes ? ShownRoutes(u) : std::vector<const TRoute*>();
    for (std::size_t i = 0; i < routes.size() && i < kListed; ++i) {
        const TRoute* route = routes[i];
        const QRgb colour = MapColourToRgb(route->Color);
        const int width = std::max<int>(1, route->LineThickness) * Px(0.25, mmPerHex, 1, 8);
        const LineStyle style = LineStyleFromType(route->LineType);
        e.push_back({[=](DisplayList& l, QPoint c) {
                         l.AddLine(QPoint(c.x() - half, c.y()), QPoint(c.x() + half, c.y()), InkOf(colour), width, style);
                     },
                     route->Name1.empty() ? std::string("Route") : route->Name1});
    }
    more(routes.size(), "routes");
    std::vector<const TAllegiance*> allegiances;
    if (show.AllegianceColors || show.Borders)
        for (const TAllegiance* a : PresentAllegiances(u))
            if (show.Borders || HatchFor(a->Style) != Qt::NoBrush) allegiances.push_back(a);
    for (std::size_t i = 0; i < allegiances.size() && i < kListed; ++i) {
        const TAllegiance* a = allegiances[i];
        const QRgb colour = MapColourToRgb(a->Color);
        const bool tint = show.AllegianceColors && HatchFor(a->Style) != Qt::NoBrush, border = show.Borders;
        const int width = Px(0.6, mmPerHex, 2, 16);
        e.push_back({[=](DisplayList& l, QPoint c) {
                         if (tint) {
                             // A small hex of the tint.
                             const int x = c.x(), y = c.y(), h = half * 4 / 5;
                             l.AddPolygon({QPoint(x - half / 2, y - h), QPoint(x + half / 2, y - h), QPoint(x + half, y),
                                           QPoint(x + half / 2, y + h), QPoint(x - half / 2, y + h), QPoint(x - half, y)},
                                          InkOf(Tint(colour, atlas)), InkOf(Tint(colour, atlas)), Qt::SolidPattern);
                         }
                         if (border)
                             l.AddLine(QPoint(c.x() - half, c.y() + half / 2), QPoint(c.x() + half, c.y() + half / 2),
                                       InkOf(colour), width, LineStyle::Solid);
                     },
                     a->Name1});
    }
    more(allegiances.size(), "allegiances");
    if (!u.VoyageLine.empty()) {
        const int width = Px(0.6, mmPerHex, 2, 20), ring = Px(0.4, mmPerHex, 2, 10);
        e.push_back({[=](DisplayList& l, QPoint c) {
                         l.AddLine(QPoint(c.x() - half, c.y()), QPoint(c.x() + half, c.y()), InkOf(kInkVoyage), width,
                                   LineStyle::Solid);
                         const int r = half * 2 / 3;
                         l.AddEllipse(Box{c.x() - r, c.y() - r, c.x() + r, c.y() + r}, InkOf(kInkVoyage), InkOf(kInkVoyage));
                         l.Shapes.back().Fill = 0;
                         l.Shapes.back().Width = static_cast<std::uint16_t>(ring);
                         l.Shapes.back().Style = LineStyle::Dot;
                     },
                     "Voyage"});
    }
    return e;
}

// What the legend holds for a hex of mmPerHex, measured: its rows, each
// label's width, the sample's cell, the labels' height and the spacing, in
// layout pixels. No entries when there is no legend.
struct Measures {
    std::vector<Entry> Entries;
    std::vector<int> LabelWidth;
    int Sample = 0, LabelPx = 0, Pad = 0, RowHeight = 0, Title = 0;
};

FontSpec LabelFont(int labelPx, bool bold) {
    return {PointsFor(labelPx), bold};
}

Measures Measure(const TUniverse& u, const PrintLook& look, double mmPerHex) {
    Measures out;
    if (!look.Legend || !MapFrame::FromUniverse(u, kPrintHexSize).HasExtent()) return out;
    const Metrics m = MetricsFor(DetailFor(look.Detail, mmPerHex));
    // A sample's cell: the map's symbols, but no more than about 6.5 mm
    // across, so that the box stays small beside large hexes.
    const int most = std::max(16, static_cast<int>(std::lround(kMostSampleMm * kPrintHexSize / mmPerHex)));
    out.Sample = std::min(2 * std::max({m.ZoneR + m.ZoneWidth, m.WorldR + m.DryRim, m.GlyphR, 24}), most);
    out.Entries = Entries(u, m, out.Sample, mmPerHex, look.Style == PictureStyle::Atlas);
    // Labels about 6 points on paper whatever the hex's size.
    out.LabelPx = std::clamp(static_cast<int>(250 / mmPerHex), 10, 600);
    QFont boldFace = MapFont(LabelFont(out.LabelPx, true).Points, true);
    boldFace.setBold(true);
    const QFontMetricsF plainMetrics(MapFont(LabelFont(out.LabelPx, false).Points, true)), boldMetrics(boldFace);
    for (const Entry& en : out.Entries) {
        QString label = QString::fromStdString(en.Label);
        if (en.Capitals) label = label.toUpper();
        out.LabelWidth.push_back(static_cast<int>((en.Bold ? boldMetrics : plainMetrics).horizontalAdvance(label)) + 1);
    }
    out.Pad = std::max(out.LabelPx / 2, 6);
    out.RowHeight = std::max(out.Sample, out.LabelPx * 3 / 2);
    out.Title = out.LabelPx * 3 / 2;
    return out;
}

// The rows in columns of at most maxRows rows, as even as they go; 0: one
// column up to eight rows, else two.
struct Columns {
    int PerColumn = 0;
    std::vector<int> Left;
    QSize Size;
};

Columns Arrange(const Measures& m, int maxRows) {
    Columns out;
    const int count = static_cast<int>(m.Entries.size());
    if (count == 0) return out;
    const int rows = maxRows > 0 ? std::min(maxRows, count) : count > 8 ? (count + 1) / 2 : count;
    const int columns = (count + rows - 1) / rows;
    out.PerColumn = (count + columns - 1) / columns;
    int width = m.Pad;
    for (int c = 0; c < columns; ++c) {
        const auto first = m.LabelWidth.begin() + c * out.PerColumn;
        const int widest = *std::max_element(first, first + std::min(out.PerColumn, count - c * out.PerColumn));
        out.Left.push_back(width);
        width += m.Sample + m.Pad + widest + m.Pad;
    }
    out.Size = QSize(width, m.Pad + m.Title + out.PerColumn * m.RowHeight + m.Pad);
    return out;
}

}  // namespace

std::vector<QSize> LegendSizes(const TUniverse& u, const PrintLook& look, double mmPerHex) {
    if (!(mmPerHex > 0)) mmPerHex = 6;
    const Measures m = Measure(u, look, mmPerHex);
    std::vector<QSize> out;
    for (std::size_t rows = 1; rows <= m.Entries.size(); ++rows) out.push_back(Arrange(m, static_cast<int>(rows)).Size);
    return out;
}

MapLayout LayoutLegend(const TUniverse& u, const PrintLook& look, double mmPerHex, int maxRows) {
    if (!(mmPerHex > 0)) mmPerHex = 6;
    MapLayout legend;
    legend.Frame = MapFrame::FromUniverse(u, kPrintHexSize);
    legend.Frame.M.A = 0;
    legend.Frame.M.W = 2 * legend.Frame.M.T;
    legend.Show = ShowFlags::FromUniverse(u);
    DisplayList& list = legend.Picture;
    list.Frame = legend.Frame;
    legend.Size = list.Size = QSize(0, 0);
    const Measures m = Measure(u, look, mmPerHex);
    if (m.Entries.empty()) return legend;
    const Columns columns = Arrange(m, maxRows);
    legend.Size = list.Size = columns.Size;
    const auto plainFont = list.AddFont(LabelFont(m.LabelPx, false)), boldFont = list.AddFont(LabelFont(m.LabelPx, true));

    list.BeginGroup(true);
    const int frame = Px(0.2, mmPerHex, 1, 6);
    const int in = frame / 2, right = legend.Size.width() - 1 - in, bottom = legend.Size.height() - 1 - in;
    list.AddPolygon({QPoint(in, in), QPoint(right, in), QPoint(right, bottom), QPoint(in, bottom)},
                    InkOf(kSubsectorInk), InkOf(kPaper), Qt::SolidPattern);
    list.Shapes.back().Width = static_cast<std::uint16_t>(frame);
    auto left = [&](QPoint at, const std::string& text, bool capitals, std::uint8_t font) {
        list.AddText(at, text, capitals, font, InkOf(kTextInk));
        Shape& s = list.Shapes.back();
        s.B = QPoint(kTextLeft, 0);
        s.Fill = Qt::SolidPattern;
        s.Brush = InkOf(kNoBox);
    };
    left(QPoint(m.Pad, m.Pad), "Legend", false, boldFont);
    for (std::size_t i = 0; i < m.Entries.size(); ++i) {
        const auto c = i / static_cast<std::size_t>(columns.PerColumn);
        const int r = static_cast<int>(i % static_cast<std::size_t>(columns.PerColumn));
        const int top = m.Pad + m.Title + r * m.RowHeight;
        const QPoint centre(columns.Left[c] + m.Sample / 2, top + m.RowHeight / 2);
        const Entry& en = m.Entries[i];
        if (en.Sample) en.Sample(list, centre);
        const int labelX = columns.Left[c] + m.Sample + m.Pad;
        left(QPoint(labelX, top + (m.RowHeight - m.LabelPx * 23 / 20) / 2), en.Label, en.Capitals,
             en.Bold ? boldFont : plainFont);
    }
    list.EndGroup();
    if (look.Style == PictureStyle::Atlas) ToGreys(list);
    list.IndexBands();
    return legend;
}

}  // namespace hexlane::render
