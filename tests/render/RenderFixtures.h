#pragma once
// Universes built in code for the picture tests: a small hand-made one whose
// pictures are kept as references, and a rich generated one that uses every
// layer, hatch style and pen style for the tile tests.

#include "DefineUniverse.h"
#include "TestUtil.h"

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace renderfix {

inline TSector* AddSector(TUniverse& u, const std::string& name, int x, int y) {
    TSector* s = u.Sectors()->Create<TSector>();
    s->Name1 = name;
    s->SectorCoordsX = x;
    s->SectorCoordsY = y;
    for (int i = 0; i < 16; ++i) s->SSName[static_cast<std::size_t>(i)] = name + " " + std::string(1, char('A' + i));
    return s;
}

// A star at hex (column 1-32, row 1-40) of its sector.
using testutil::AddStar;

inline TAllegiance* AddAllegiance(TUniverse& u, const std::string& name, std::int32_t colour, TBrushStyle style) {
    TAllegiance* a = u.Allegiances()->Create<TAllegiance>();
    a->Name1 = name;
    a->Color = colour;
    a->Style = style;
    return a;
}

inline TRouteLeg* AddLeg(TRoute& route, const std::string& from, const std::string& to) {
    TRouteLeg* leg = route.Create<TRouteLeg>();
    leg->Name1 = from + " - " + to;
    leg->SStarName = from;
    leg->EStarName = to;
    return leg;
}

inline void ShowEverything(TUniverse& u, bool on = true) {
    u.ShowNames = u.ShowStarports = u.ShowSystemContents = u.ShowRoutes = u.ShowSectorLines =
        u.ShowSubsectorLines = u.ShowAllegianceColors = u.ShowAllInfo = on;
}

// Twelve columns by fourteen rows of one sector, with one of each kind of
// system: zones, capital, visited, belts wet and dry, every content marker,
// a hidden star, allegiances solid, hatched and unknown, and two routes.
inline std::unique_ptr<TUniverse> SmallUniverse() {
    auto u = TUniverse::CreateNew();
    AddAllegiance(*u, "Imperium", 0x0000FF, bsSolid);        // red
    AddAllegiance(*u, "Zhodani", 0xFF8000, bsDiagCross);     // a blue off the palette
    AddAllegiance(*u, "Vargr", 0x00A000, bsBDiagonal);       // a green off the palette
    TSector* s = AddSector(*u, "Alpha", 1, 1);

    TStar* regina = AddStar(*s, "Regina", 3, 4, "A788899");
    regina->SubsectorCapital = true;
    regina->Allegiance = "Imperium";
    regina->SystemContent = 0x2 | 0x8 | 0x80;
    TStar* amber = AddStar(*s, "Amberline", 5, 2, "5A4600");
    amber->TravelZoneCode = tzcAmber;
    amber->Starport = "C";
    amber->Allegiance = "Imperium";
    TStar* red = AddStar(*s, "Redstone", 8, 7, "9C6A77");
    red->TravelZoneCode = tzcRed;
    red->Starport = "X";
    red->Visited = true;
    red->Allegiance = "Zhodani";
    TStar* belt = AddStar(*s, "Wet Belt", 10, 10, "0057A0");
    belt->Allegiance = "Zhodani";
    TStar* dry = AddStar(*s, "Dry Belt", 11, 3, "0002A0");
    dry->Starport = "E";
    dry->Allegiance = "Vargr";
    TStar* all = AddStar(*s, "Everything", 6, 12, "867A98");
    all->SystemContent = 0x7FFFE;
    all->Allegiance = "Nobody";  // names no allegiance: no fill
    TStar* hidden = AddStar(*s, "Hidden", 2, 9);
    hidden->Visible = false;
    AddStar(*s, "Edge", 1, 1, "300000");
    AddStar(*s, "Far Corner", 12, 14, "200400")->Starport = "B";

    TRoute* trade = u->Routes()->Create<TRoute>();
    trade->Name1 = "Trade";
    trade->ShowRoute = true;
    trade->Color = 0x008000;  // green
    trade->LineType = 1;
    AddLeg(*trade, "Regina", "Redstone");
    AddLeg(*trade, "Redstone", "Wet Belt");
    TRouteLeg* own = AddLeg(*trade, "Regina", "Dry Belt");
    own->OverrideProperties = true;
    own->Color = 0x800080;  // purple
    own->LineThickness = 3;
    own->LineType = 4;
    AddLeg(*trade, "Regina", "Nowhere");  // end star missing: not drawn
    TRoute* comm = u->Routes()->Create<TRoute>();
    comm->Name1 = "Comm";
    comm->ShowRoute = true;
    comm->Color = 0x0080FF;  // orange: reduced to a palette colour
    comm->LineType = 2;
    comm->LineThickness = 2;
    AddLeg(*comm, "Edge", "Far Corner");
    AddLeg(*comm, "Everything", "Hidden");

    u->ComputeExtent();
    u->AutoRefresh = true;
    u->SetHexSize(30);
    ShowEverything(*u);
    return u;
}

// Four sectors (two by two) densely filled with pseudo-random systems: every
// hatch style, colours off the palette, long names, every pen style at
// widths 0-4, legs crossing the whole picture. Another seed, another map.
inline std::unique_ptr<TUniverse> RichUniverse(std::uint32_t seed = 12345) {
    auto u = TUniverse::CreateNew();
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFFFF;
    };
    std::vector<std::string> allegiances;
    for (int i = 0; i < 10; ++i) {
        const std::string name = "Realm " + std::to_string(i);
        AddAllegiance(*u, name, static_cast<std::int32_t>(next()), static_cast<TBrushStyle>(i % 8));
        allegiances.push_back(name);
    }
    std::vector<std::string> names;
    const char* words[] = {"Ka", "Long Distant Outpost of", "Vor", "Zeta", "Grand Station", "Mu"};
    for (int sx = 1; sx <= 2; ++sx) {
        for (int sy = 1; sy <= 2; ++sy) {
            TSector* s = AddSector(*u, "Sector " + std::to_string(sx) + std::to_string(sy), sx + 1, sy);
            for (int column = 1; column <= 32; ++column) {
                for (int row = 1; row <= 40; ++row) {
                    if (next() % 3 != 0) continue;
                    const std::string name = std::string(words[next() % 6]) + " " + std::to_string(names.size());
                    std::string upc = "0123456789A";
                    const char* sizes = "0123456789AS";
                    upc = {sizes[next() % 12], "0123456789ABCDEF"[next() % 16], "0123456789A"[next() % 11],
                           "0123456789A"[next() % 11], "0123456789ABCD"[next() % 14], "0123456789"[next() % 10]};
                    TStar* star = AddStar(*s, name, column, row, upc);
                    star->Starport = std::string(1, "ABCDEX"[next() % 6]);
                    star->SystemContent = static_cast<std::int32_t>(next() & 0x7FFFE);
                    star->TravelZoneCode = static_cast<TTravelZoneCode>(next() % 4);
                    star->SubsectorCapital = next() % 10 == 0;
                    star->Visited = next() % 7 == 0;
                    star->Allegiance = next() % 12 == 0 ? "Unknown Realm" : allegiances[next() % allegiances.size()];
                    names.push_back(name);
                }
            }
        }
    }
    for (int r = 0; r < 10; ++r) {
        TRoute* route = u->Routes()->Create<TRoute>();
        route->Name1 = "Route " + std::to_string(r);
        route->ShowRoute = r != 9;
        route->Color = static_cast<std::int32_t>(next());
        route->LineType = static_cast<std::uint8_t>(r % 5);
        route->LineThickness = static_cast<std::uint8_t>(r % 5);
        for (int l = 0; l < 6; ++l) {
            TRouteLeg* leg = AddLeg(*route, names[next() % names.size()], names[next() % names.size()]);
            if (l == 5) {
                leg->OverrideProperties = true;
                leg->Color = static_cast<std::int32_t>(next());
                leg->LineType = static_cast<std::uint8_t>((r + 2) % 5);
                leg->LineThickness = static_cast<std::uint8_t>((r + 3) % 5);
            }
        }
    }
    u->ComputeExtent();
    u->AutoRefresh = true;
    u->SetHexSize(30);
    ShowEverything(*u);
    return u;
}

// The stars a layout places, in its order: the visible stars of the shown
// sectors, sector by sector.
inline std::vector<const TStar*> PlacedStars(const TUniverse& u) {
    std::vector<const TStar*> stars;
    for (const auto& child : u.Sectors()->Children())
        if (auto* sector = dynamic_cast<const TSector*>(child.get()); sector && !sector->ExcludeFromDisplay())
            for (const auto& c : sector->Children())
                if (auto* star = dynamic_cast<const TStar*>(c.get()); star && star->Visible) stars.push_back(star);
    return stars;
}

// Whether any pixel within one of `at` is nearer the ink than white (for
// antialiased drawings).
inline bool NearInk(const QImage& image, QPoint at, QRgb ink) {
    auto distance = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QRgb c = image.pixel(at + QPoint(dx, dy));
            if (distance(c, ink) < distance(c, qRgb(255, 255, 255))) return true;
        }
    return false;
}

}  // namespace renderfix
