#include "MapLayout.h"

#include "BordersLayer.h"
#include "DefineUniverse.h"
#include "MapStyle.h"
#include "MapText.h"
#include "Palette.h"
#include "VoyageLayer.h"

#include <array>
#include <bitset>
#include <cstring>
#include <string_view>
#include <typeinfo>
#include <unordered_map>

namespace hexlane::render {

ShowFlags ShowFlags::FromUniverse(const TUniverse& u) {
    ShowFlags f;
    f.Names = u.ShowNames;
    f.Starports = u.ShowStarports;
    f.SystemContents = u.ShowSystemContents;
    f.Routes = u.ShowRoutes;
    f.SectorLines = u.ShowSectorLines;
    f.SubsectorLines = u.ShowSubsectorLines;
    f.AllegianceColors = u.ShowAllegianceColors;
    f.SectorHexAddressing = u.UseSectorHexAddressing;
    f.Borders = u.ShowBorders;
    return f;
}

namespace {

// The stars that route legs name: the first star of each name in map order.
// Only the names that legs use are looked for, during the one pass over the
// stars; a cheap filter on the length and the first and last two bytes spares
// hashing most names.
class LegStarIndex {
public:
    void Want(const std::string& name) {
        byName_.emplace(name, nullptr);
        filter_.set(Key(name));
    }
    bool Empty() const { return byName_.empty(); }
    void Offer(const TStar& star) {
        if (!filter_.test(Key(star.Name1))) return;
        auto it = byName_.find(star.Name1);
        if (it != byName_.end() && !it->second) it->second = &star;
    }
    const TStar* Find(const std::string& name) const {
        auto it = byName_.find(name);
        return it == byName_.end() ? nullptr : it->second;
    }

private:
    static std::size_t Key(const std::string& s) {
        const std::size_t n = s.size();
        if (n == 0) return 0;
        auto at = [&s](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(s[i])); };
        const std::size_t h = n * 0x9E3779B1u ^ at(0) * 0x85EBCA77u ^ at(n - 1) * 0xC2B2AE3Du ^ at(n / 2) * 0x27D4EB2Fu ^
                              at(n - 1 - (n > 1)) * 0x165667B1u;
        return (h ^ (h >> 15)) & (kFilterBits - 1);
    }
    static constexpr std::size_t kFilterBits = 1 << 16;
    std::unordered_map<std::string_view, const TStar*> byName_;
    std::bitset<kFilterBits> filter_;
};

// A sector's child as a star: TStar is final, so its exact type decides,
// without the search a dynamic_cast makes through the class tree.
TStar* AsStar(TManager* child) {
    return child && typeid(*child) == typeid(TStar) ? static_cast<TStar*>(child) : nullptr;
}

std::vector<const TRoute*> ShownRoutes(const TUniverse& u) {
    std::vector<const TRoute*> routes;
    if (TRoutes* container = u.Routes())
        for (const auto& r : container->Children())
            if (auto* route = dynamic_cast<const TRoute*>(r.get()); route && route->ShowRoute) routes.push_back(route);
    return routes;
}

void PlaceLegs(const std::vector<const TRoute*>& routes, const LegStarIndex& stars, MapLayout& layout) {
    for (const TRoute* route : routes) {
        for (const auto& l : route->Children()) {
            auto* leg = dynamic_cast<const TRouteLeg*>(l.get());
            if (!leg) continue;
            if (auto p = PlaceLeg(layout.Frame, *leg, stars.Find(leg->SStarName), stars.Find(leg->EStarName)))
                layout.Legs.push_back(*p);
        }
    }
}

// The fonts of the described picture: names and starports, hex numbers.
struct Fonts {
    std::uint8_t Text = 0, Number = 0;
};

Fonts AddFonts(DisplayList& list) {
    const HexMetrics& m = list.M();
    Fonts f;
    f.Text = list.AddFont({m.FontSize > 0 ? m.FontSize : 7, false});
    f.Number = list.AddFont({10, false});
    return f;
}

// One system's shapes, in drawing order: the allegiance fill of its hex, its
// hex number, then its symbol (a dot at the smallest zoom; else the zone,
// the content markers, the world or belt, the name and the starport).
// The fill of each allegiance by name, the first of each name (as
// FindAllegiance finds them), its colours reduced to the palette once.
struct AllegianceFill {
    Ink Brush;
    int Hatch = 0;
};

class AllegianceIndex {
public:
    explicit AllegianceIndex(const TUniverse& u) {
        if (TAllegiances* all = u.Allegiances())
            for (const auto& c : all->Children())
                if (auto* a = dynamic_cast<const TAllegiance*>(c.get()))
                    byName_.try_emplace(a->Name1, AllegianceFill{Ink{MapColourOnPalette(a->Color), MapColourToRgb(a->Color)},
                                                                 HatchFor(a->Style)});
    }
    AllegianceIndex() = default;
    // Neighbouring systems mostly share an allegiance: the last few answers
    // are kept, so most systems are matched without hashing their name.
    const AllegianceFill* Find(std::string_view name) {
        const std::uint64_t head = Head(name);
        for (std::size_t i = 0; i < used_; ++i)
            if (const Recent& r = recent_[i]; r.Head == head && r.Name.size() == name.size() &&
                (name.size() <= sizeof head || r.Name.substr(sizeof head) == name.substr(sizeof head)))
                return r.Fill;
        const auto found = byName_.find(name);
        const AllegianceFill* fill = found == byName_.end() ? nullptr : &found->second;
        recent_[next_] = {name, head, fill};
        next_ = (next_ + 1) % recent_.size();
        used_ = std::max(used_, next_ == 0 ? recent_.size() : next_);
        return fill;
    }

private:
    struct Recent {
        std::string_view Name;
        std::uint64_t Head = 0;
        const AllegianceFill* Fill = nullptr;
    };
    // The first eight bytes of a name (zero beyond its end), compared first.
    static std::uint64_t Head(std::string_view name) {
        std::uint64_t head = 0;
        std::memcpy(&head, name.data(), std::min(name.size(), sizeof head));
        return head;
    }
    std::unordered_map<std::string_view, AllegianceFill> byName_;
    std::array<Recent, 4> recent_{};
    std::size_t next_ = 0, used_ = 0;
};

void AddSystem(DisplayList& list, const Fonts& fonts, const ShowFlags& show, AllegianceIndex& allegiances,
               const TStar& star, QPoint centre, std::array<Box, kMaxContentMarkers>& boxes) {
    const HexMetrics& m = list.M();
    const Ink black = Ink::Both(kInkBlack), white = Ink::Both(kInkWhite);
    list.BeginGroup();
    if (show.AllegianceColors) {
        // A star whose Allegiance names no existing allegiance gets no fill
        // of its own: its hex stays as the grid drew it.
        if (const AllegianceFill* a = allegiances.Find(star.Allegiance))
            list.AddHex(centre, Ink::Both(kInkSilver), a->Brush, a->Hatch);
    }
    if (m.HexNumbers())
        list.AddText(QPoint(centre.x(), HexNumberOrigin(m, centre, 0).y()),
                     StarHexNumber(star, show.SectorHexAddressing), false, fonts.Number, black);
    if (m.DotsOnly()) {
        list.AddEllipse(SystemDotBox(centre), black, black);
        list.EndGroup();
        return;
    }
    if (star.TravelZoneCode == tzcAmber)
        list.AddEllipse(TravelZoneBox(m, centre), Ink::Both(kInkYellow), Ink::Both(kInkYellow));
    else if (star.TravelZoneCode == tzcRed)
        list.AddEllipse(TravelZoneBox(m, centre), Ink::Both(kInkRed), white);
    if (show.SystemContents) {
        const int n = ContentMarkerBoxes(m, centre, star.SystemContent, boxes);
        list.AddEllipses(boxes.data(), n, black, white);
    }
    const Ink world = Ink::Both(star.HydroIndex() > 3 ? kInkBlue : kInkBlack);
    if (star.PSUPCCode() != '0') {
        list.AddEllipse(WorldBox(m, centre), world, world);
    } else {
        const auto dots = BeltDotBoxes(m, centre);
        list.AddEllipses(dots.data(), static_cast<int>(dots.size()), world, world);
    }
    if (show.Names)
        list.AddText(QPoint(centre.x(), NameOrigin(m, centre, 0).y()), star.Name1, star.SubsectorCapital, fonts.Text,
                     Ink::Both(star.Visited ? kInkBlue : kInkBlack));
    if (show.Starports)
        list.AddText(QPoint(centre.x(), StarportOrigin(m, centre, 0).y()), star.Starport, false, fonts.Text, black);
    list.EndGroup();
}

// The lines over everything: route legs, then subsector and sector lines.
void AddLines(DisplayList& list, const MapLayout& layout) {
    list.BeginGroup(true);
    if (layout.Show.Routes)
        for (const LegPlacement& leg : layout.Legs)
            list.AddLine(leg.From, leg.To, Ink{leg.Colour, leg.TrueColour}, leg.Width, leg.Style);
    if (layout.Show.SubsectorLines)
        for (const QLine& l : SubsectorLines(layout.Frame))
            list.AddLine(l.p1(), l.p2(), Ink::Both(kInkBlue), 1, LineStyle::Solid);
    if (layout.Show.SectorLines)
        for (const QLine& l : SectorLines(layout.Frame))
            list.AddLine(l.p1(), l.p2(), Ink::Both(kInkRed), 1, LineStyle::Solid);
    list.EndGroup();
}

// The one layout pass. With writePositions it records each star's picture
// position in the star (the map view's hit test reads them); without, the
// universe is only read.
MapLayout Layout(TUniverse& u, const MapFrame& frame, bool writePositions) {
    MapLayout layout;
    layout.Frame = frame;
    layout.Show = ShowFlags::FromUniverse(u);
    layout.Size = PictureSize(layout.Frame);
    const bool extent = layout.Frame.HasExtent();
    DisplayList& list = layout.Picture;
    list.Frame = layout.Frame;
    list.Size = layout.Size;
    const Fonts fonts = AddFonts(list);
    if (extent) {
        list.BeginGroup(true);
        list.AddGrid(Ink::Both(kInkSilver), layout.Frame.M.HexNumbers(), layout.Show.SectorHexAddressing,
                     fonts.Number);
        list.EndGroup();
    }
    TSectors* sectors = u.Sectors();
    if (!sectors) return layout;

    std::vector<const TRoute*> routes;
    LegStarIndex legStars;
    if (extent && layout.Show.Routes) {
        routes = ShownRoutes(u);
        for (const TRoute* route : routes)
            for (const auto& l : route->Children())
                if (auto* leg = dynamic_cast<const TRouteLeg*>(l.get())) {
                    legStars.Want(leg->SStarName);
                    legStars.Want(leg->EStarName);
                }
    }
    const bool findLegStars = !legStars.Empty();

    std::size_t count = 0;
    for (const auto& child : sectors->Children()) count += child->ChildCount();
    layout.Stars.reserve(count);
    // About what a system needs with every layer shown (untouched room costs
    // no memory), so the list is seldom copied as it grows: its shapes, the
    // corners of some content markers or belt dots, a name of a dozen or so
    // letters, a starport and a hex number.
    const HexMetrics& m = layout.Frame.M;
    list.Shapes.reserve(count * (m.DotsOnly() ? 2 : m.HexNumbers() ? 7 : 6) + 2);
    list.Groups.reserve(count + 2);
    if (!m.DotsOnly()) list.Points.reserve(count * (layout.Show.SystemContents ? 12 : 2));
    list.Chars.reserve(count * ((!m.DotsOnly() && layout.Show.Names ? 16 : 0) +
                                (!m.DotsOnly() && layout.Show.Starports ? 1 : 0) + (m.HexNumbers() ? 4 : 0)));
    AllegianceIndex allegiances = layout.Show.AllegianceColors ? AllegianceIndex(u) : AllegianceIndex();
    std::array<Box, kMaxContentMarkers> markerBoxes;  // one for all systems: clearing it costs more than filling it

    for (const auto& child : sectors->Children()) {
        auto* sector = dynamic_cast<TSector*>(child.get());
        if (!sector) continue;
        const bool shown = !sector->ExcludeFromDisplay();
        if (!shown && !findLegStars) continue;
        for (const auto& c : sector->Children()) {
            auto* star = AsStar(c.get());
            if (!star) continue;
            if (findLegStars) legStars.Offer(*star);
            // Stars of an excluded sector keep the position the exclusion gave them.
            if (!shown) continue;
            if (!star->Visible || !extent) {
                if (writePositions) {
                    star->PictureX = -1;
                    star->PictureY = -1;
                }
                continue;
            }
            const QPoint centre = StarCentre(layout.Frame, star->HexX, star->HexY, star->StarCoordsX);
            if (writePositions) {
                star->PictureX = centre.x();
                star->PictureY = centre.y();
            }
            layout.Stars.push_back({centre});
            AddSystem(list, fonts, layout.Show, allegiances, *star, centre, markerBoxes);
        }
    }
    if (findLegStars) PlaceLegs(routes, legStars, layout);
    if (extent && layout.Show.Borders) AddBorders(list, u);
    if (extent) AddLines(list, layout);
    // The planned voyage, over everything else.
    if (extent) AddVoyageLayer(list, u.VoyageLine);
    list.IndexBands();
    return layout;
}

}  // namespace

std::optional<LegPlacement> PlaceLeg(const MapFrame& frame, const TRouteLeg& leg, const TStar* from, const TStar* to) {
    const int sx = from ? from->HexX : -1, sy = from ? from->HexY : -1;
    const int ex = to ? to->HexX : -1, ey = to ? to->HexY : -1;
    if (sx == -1 || sy == -1 || ex == -1 || ey == -1) return std::nullopt;
    LegPlacement p;
    p.From = LegEndPoint(frame, sx, sy);
    p.To = LegEndPoint(frame, ex, ey);
    p.TrueColour = MapColourToRgb(leg.DrawColor());
    p.Colour = NearestPaletteColour(p.TrueColour);
    p.Width = leg.DrawLineThickness() == 0 ? 1 : leg.DrawLineThickness();
    p.Style = LineStyleFromType(leg.DrawLineType());
    return p;
}

MapLayout LayoutMap(TUniverse& u) {
    return Layout(u, MapFrame::FromUniverse(u), true);
}

MapLayout LayoutMap(const TUniverse& u, int hexSize) {
    // Layout only writes into the universe when asked to.
    return Layout(const_cast<TUniverse&>(u), MapFrame::FromUniverse(u, hexSize), false);
}

}  // namespace hexlane::render
