#include "PrintStyle.h"

#include "BordersLayer.h"
#include "DefineUniverse.h"
#include "MapStyle.h"
#include "Palette.h"
#include "PrintGlyphs.h"
#include "PrintGrid.h"
#include "VoyageLayer.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace hexlane::render {

DetailLevel DetailFor(DetailChoice choice, double mmPerHex) {
    switch (choice) {
    case DetailChoice::Dots: return DetailLevel::Dots;
    case DetailChoice::Names: return DetailLevel::Names;
    case DetailChoice::Full: return mmPerHex >= 25 ? DetailLevel::FullUwp : DetailLevel::Full;
    case DetailChoice::Auto: break;
    }
    if (mmPerHex >= 25) return DetailLevel::FullUwp;
    if (mmPerHex >= 15) return DetailLevel::Full;
    if (mmPerHex >= 5) return DetailLevel::Names;
    return DetailLevel::Dots;
}

namespace {

using namespace print;

// The print frame: the universe's extent at kPrintHexSize, with hexes that
// tile exactly (half their width twice the half top edge), so neighbouring
// outlines share their corners and the grid's lines join up.
MapFrame PrintFrame(const TUniverse& u) {
    MapFrame f = MapFrame::FromUniverse(u, kPrintHexSize);
    f.M.A = 0;
    f.M.W = 2 * f.M.T;
    return f;
}

// The route legs shown, between the first stars of their end names in map
// order (a leg naming no star, or a star off the map, is not drawn).
std::vector<LegPlacement> PlaceLegs(const TUniverse& u, const MapFrame& frame) {
    std::vector<LegPlacement> legs;
    TRoutes* routes = u.Routes();
    if (!routes || routes->ChildCount() == 0) return legs;
    std::unordered_map<std::string_view, const TStar*> byName;
    u.ForEachStar([&](const TStar& star) { byName.emplace(star.Name1, &star); });
    auto find = [&](const std::string& name) -> const TStar* {
        const auto it = byName.find(name);
        return it == byName.end() ? nullptr : it->second;
    };
    for (const auto& r : routes->Children()) {
        auto* route = dynamic_cast<const TRoute*>(r.get());
        if (!route || !route->ShowRoute) continue;
        for (const auto& l : route->Children()) {
            auto* leg = dynamic_cast<const TRouteLeg*>(l.get());
            if (!leg) continue;
            if (auto p = PlaceLeg(frame, *leg, find(leg->SStarName), find(leg->EStarName))) legs.push_back(*p);
        }
    }
    return legs;
}

struct Fonts {
    std::uint8_t Port = 0, Name = 0, Bold = 0, Uwp = 0;
};

Fonts AddFonts(DisplayList& list, const Metrics& m) {
    Fonts f;
    if (m.PortFont > 0) f.Port = list.AddFont({PointsFor(m.PortFont), false});
    if (m.NameFont > 0) {
        f.Name = list.AddFont({PointsFor(m.NameFont), false});
        f.Bold = list.AddFont({PointsFor(m.NameFont), true});
    }
    if (m.UwpFont > 0) f.Uwp = list.AddFont({PointsFor(m.UwpFont), false});
    return f;
}

// A text of a system on a box of its hex's background.
void AddSystemText(DisplayList& list, QPoint at, std::string_view text, bool capitals, std::uint8_t font, QRgb paper) {
    if (text.empty()) return;
    list.AddText(at, text, capitals, font, InkOf(kTextInk));
    Shape& s = list.Shapes.back();
    s.Fill = Qt::SolidPattern;
    s.Brush = InkOf(paper);
}

// One system's group: zone ring, glyphs, world, starport, name, profile.
void AddSystem(DisplayList& list, const Metrics& m, const Fonts& fonts, const ShowFlags& show, const TStar& star,
               QPoint centre, QRgb paper) {
    list.BeginGroup();
    const bool text = m.Level != DetailLevel::Dots;
    if (text && (star.TravelZoneCode == tzcAmber || star.TravelZoneCode == tzcRed))
        AddZoneRing(list, m, centre, star.TravelZoneCode == tzcRed);
    if (show.SystemContents) AddContentGlyphs(list, m, centre, star.SystemContent);
    AddWorld(list, m, centre, IsWet(star), IsBelt(star));
    if (text && show.Starports)
        AddSystemText(list, QPoint(centre.x(), centre.y() + m.PortTop), star.Starport, false, fonts.Port, paper);
    if (text && show.Names) {
        // Capitals in bold, populous worlds (population 9 or more) in capitals.
        AddSystemText(list, QPoint(centre.x(), centre.y() + m.NameTop), star.Name1, star.PopIndex() >= 9,
                      star.SubsectorCapital ? fonts.Bold : fonts.Name, paper);
        if (m.UwpFont > 0 && !star.UPC.empty()) {
            const std::string uwp = std::string(star.Starport.empty() ? "?" : std::string_view(star.Starport)) +
                                    std::string(star.UPC) + "-" + star.TechLevel();
            AddSystemText(list, QPoint(centre.x(), centre.y() + m.UwpTop), uwp, false, fonts.Uwp, paper);
        }
    }
    list.EndGroup();
}

// The borders layer drawn into a list of its own, to be copied in print
// widths and places.
DisplayList BordersLayer(const TUniverse& u, const DisplayList& list) {
    DisplayList layer;
    layer.Frame = list.Frame;
    layer.Size = list.Size;
    AddBorders(layer, u);
    return layer;
}

// The polities' names of the borders layer, readable at any size, faded
// behind the hexes (so that they never hide a system), and only where they
// lie in the part drawn.
void AddBorderNames(DisplayList& list, const DisplayList& layer, const DrawnCells& cells, double mmPerHex) {
    const auto font = list.AddFont({PointsFor(std::clamp(static_cast<int>(300 / mmPerHex), 14, 100)), true});
    list.BeginGroup();
    for (const Shape& s : layer.Shapes)
        if (s.Kind == ShapeKind::Text && cells.Inside(s.A)) {
            // Low in its hex, below the system's own texts.
            list.AddText(QPoint(s.A.x(), s.A.y() + list.M().H / 4), layer.TextOf(s), font,
                         InkOf((s.Pen.True & 0xFFFFFF) | 0x80000000));
            list.Shapes.back().Fill = Qt::SolidPattern;
            list.Shapes.back().Brush = InkOf(kNoBox);
        }
    list.EndGroup();
}

// The border lines of the layer, about 0.6 mm wide.
void AddBorderLines(DisplayList& list, const DisplayList& layer, double mmPerHex) {
    const int width = Px(0.6, mmPerHex, 2, 16);
    for (const ShapeGroup& g : layer.Groups) {
        list.BeginGroup(g.Always);
        for (std::uint32_t i = g.First; i < g.End; ++i) {
            const Shape& s = layer.Shapes[i];
            if (s.Kind == ShapeKind::Polyline)
                list.AddPolyline(std::vector<QPoint>(layer.Points.begin() + s.First,
                                                     layer.Points.begin() + s.First + s.Count),
                                 s.Pen, width, s.Style);
        }
        list.EndGroup();
    }
}

// The voyage drawn as the map view draws it, then copied with a line about
// 0.6 mm wide and one dotted ring (told apart from the zone rings without
// colour) outside the zone ring around each stop.
void AddPrintVoyage(DisplayList& list, const TUniverse& u, const Metrics& m, double mmPerHex) {
    if (u.VoyageLine.empty()) return;
    DisplayList layer;
    layer.Frame = list.Frame;
    layer.Size = list.Size;
    AddVoyageLayer(layer, u.VoyageLine);
    const int width = Px(0.6, mmPerHex, 2, 20), ring = Px(0.4, mmPerHex, 2, 10);
    const int radius = std::max(m.ZoneR + m.ZoneWidth, m.WorldR + 4) + ring;
    for (const ShapeGroup& g : layer.Groups) {
        list.BeginGroup(g.Always);
        for (std::uint32_t i = g.First; i < g.End; ++i) {
            const Shape& s = layer.Shapes[i];
            if (s.Kind == ShapeKind::Polyline) {
                list.AddPolyline(std::vector<QPoint>(layer.Points.begin() + s.First,
                                                     layer.Points.begin() + s.First + s.Count),
                                 s.Pen, width, LineStyle::Solid);
            } else if (s.Kind == ShapeKind::Ellipses && s.Count > 0) {
                const Box b = EllipseBox(layer, s, 0);
                const QPoint c((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
                list.AddEllipse(Box{c.x() - radius, c.y() - radius, c.x() + radius, c.y() + radius}, s.Pen, s.Pen);
                list.Shapes.back().Fill = 0;
                list.Shapes.back().Width = static_cast<std::uint16_t>(ring);
                list.Shapes.back().Style = LineStyle::Dot;
            }
        }
        list.EndGroup();
    }
}

}  // namespace

MapLayout LayoutPrint(const TUniverse& u, const PrintLook& look, double mmPerHex, const QRectF& exactHexes) {
    if (!(mmPerHex > 0)) mmPerHex = 6;
    MapLayout layout;
    layout.Frame = PrintFrame(u);
    layout.Show = ShowFlags::FromUniverse(u);
    layout.Size = PictureSize(layout.Frame);
    DisplayList& list = layout.Picture;
    list.Frame = layout.Frame;
    list.Size = layout.Size;
    if (!layout.Frame.HasExtent() || !u.Sectors()) return layout;

    const Metrics m = MetricsFor(DetailFor(look.Detail, mmPerHex));
    const ShowFlags& show = layout.Show;
    const DrawnCells cells(layout.Frame, layout.Size, exactHexes);

    // The systems drawn, with their cells.
    struct Placed {
        const TStar* Star;
        QPoint Centre, Cell;
    };
    std::vector<Placed> placed;
    for (const auto& child : u.Sectors()->Children()) {
        auto* sector = dynamic_cast<const TSector*>(child.get());
        if (!sector || sector->ExcludeFromDisplay()) continue;
        for (const auto& c : sector->Children()) {
            auto* star = dynamic_cast<const TStar*>(c.get());
            if (!star || !star->Visible) continue;
            const QPoint cell = cells.CellOf(star->HexX, star->HexY);
            if (!cells.Drawn(cell.x(), cell.y())) continue;
            placed.push_back({star, StarCentre(layout.Frame, star->HexX, star->HexY, star->StarCoordsX), cell});
        }
    }

    // Allegiance tints first, under everything.
    CellPaper paper;
    if (show.AllegianceColors) {
        std::unordered_map<std::string_view, const TAllegiance*> allegiances;
        if (TAllegiances* all = u.Allegiances())
            for (const auto& c : all->Children())
                if (auto* a = dynamic_cast<const TAllegiance*>(c.get())) allegiances.emplace(a->Name1, a);
        list.BeginGroup();
        for (const Placed& p : placed) {
            const auto found = allegiances.find(std::string_view(p.Star->Allegiance));
            if (found == allegiances.end() || HatchFor(found->second->Style) == Qt::NoBrush) continue;
            const QRgb tint = Tint(MapColourToRgb(found->second->Color), look.Style == PictureStyle::Atlas);
            list.AddHex(p.Centre, InkOf(tint), InkOf(tint), Qt::SolidPattern);
            paper.emplace(CellKey(p.Cell.x(), p.Cell.y()), tint);
        }
        list.EndGroup();
    }
    AddRegionNames(list, u, cells);
    const DisplayList borders = show.Borders ? BordersLayer(u, list) : DisplayList();
    if (show.Borders) AddBorderNames(list, borders, cells, mmPerHex);
    AddPrintGrid(list, cells, GridPensFor(mmPerHex));

    if (show.Routes) {
        const int unit = Px(0.25, mmPerHex, 1, 8);
        list.BeginGroup(true);
        for (const LegPlacement& leg : PlaceLegs(u, layout.Frame)) {
            if (!exactHexes.isEmpty() && !cells.Inside(leg.From) && !cells.Inside(leg.To)) continue;
            list.AddLine(leg.From, leg.To, InkOf(leg.TrueColour), leg.Width * unit, leg.Style);
            layout.Legs.push_back(leg);
        }
        list.EndGroup();
    }
    // The voyage under the systems' texts, so that it never hides a name.
    AddPrintVoyage(list, u, m, mmPerHex);
    AddHexNumbers(list, cells, m, look.SectorHexNumbers, paper);

    const Fonts fonts = AddFonts(list, m);
    layout.Stars.reserve(placed.size());
    for (const Placed& p : placed) {
        layout.Stars.push_back({p.Centre});
        AddSystem(list, m, fonts, show, *p.Star, p.Centre, PaperOf(paper, p.Cell.x(), p.Cell.y()));
    }
    if (show.Borders) AddBorderLines(list, borders, mmPerHex);
    if (look.Style == PictureStyle::Atlas) ToGreys(list);
    list.IndexBands();
    return layout;
}

}  // namespace hexlane::render
