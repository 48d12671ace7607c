// Reading sector metadata XML into a sector: the whole file is parsed and
// every change planned first, so a malformed file changes nothing.

#include "SectorMetadata.h"

#include "Codepage.h"
#include "DefineUniverse.h"
#include "FileIO.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <charconv>
#include <map>
#include <set>
#include <unordered_map>

namespace {

// Metadata files are small; anything far larger is not one.
constexpr std::uint64_t kMaxFileSize = 64ull << 20;

bool ParseInt(std::string_view text, int& value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// "XXYY": column 1-32, row 1-40.
bool ParseHex(std::string_view text, int& column, int& row) {
    if (text.size() != 4 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    column = (text[0] - '0') * 10 + (text[1] - '0');
    row = (text[2] - '0') * 10 + (text[3] - '0');
    return column >= 1 && column <= 32 && row >= 1 && row <= 40;
}

// "#RRGGBB" as 0x00BBGGRR.
bool ParseColor(std::string_view text, std::int32_t& color) {
    if (text.size() != 7 || text[0] != '#') return false;
    unsigned rgb = 0;
    const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
    if (ec != std::errc() || end != text.data() + 7) return false;
    color = static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    return true;
}

// Trimmed element or attribute text as map text; false when it cannot be one.
bool MapText(std::string_view utf8, std::string& out) {
    while (!utf8.empty() && std::isspace(static_cast<unsigned char>(utf8.front()))) utf8.remove_prefix(1);
    while (!utf8.empty() && std::isspace(static_cast<unsigned char>(utf8.back()))) utf8.remove_suffix(1);
    return hexlane::Utf8ToCp1252(utf8, out);
}

std::string LegKey(const std::string& a, const std::string& b) {
    return a < b ? a + '\n' + b : b + '\n' + a;
}

struct PlannedLeg {
    std::string Route;
    std::string Start, End;
};

struct PlannedRoute {
    std::int32_t Color = 0;
    std::uint8_t LineType = 0;
};

// Stars of a sector by their hex (column * 100 + row), the first star of a hex wins.
class HexIndex {
public:
    TStar* At(TSector& sector, int column, int row) {
        auto [it, fresh] = index_.try_emplace(&sector);
        if (fresh)
            for (TStar* star : sector.Stars()) it->second.try_emplace(star->SectorHexColumn() * 100 + star->SectorHexRow(), star);
        auto found = it->second.find(column * 100 + row);
        return found == it->second.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<const TSector*, std::unordered_map<int, TStar*>> index_;
};

TSector* SectorAt(const TUniverse& universe, int x, int y) {
    for (const auto& c : universe.Sectors()->Children())
        if (auto* s = As<TSector>(c.get()); s && s->SectorCoordsX == x && s->SectorCoordsY == y) return s;
    return nullptr;
}

}  // namespace

TMetadataImportResult ImportSectorMetadataText(TUniverse& universe, TSector& sector, std::string_view xml) {
    TMetadataImportResult r;
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0));
        const std::string_view before = xml.substr(0, std::min(offset, xml.size()));
        const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
        const std::size_t lineStart = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
        r.Message = "The metadata file is not well-formed XML: " + std::string(parsed.description()) + " at line " +
                    std::to_string(line) + ", column " + std::to_string(offset - lineStart + 1) + ".";
        return r;
    }
    const pugi::xml_node root = doc.document_element();
    if (std::string_view(root.name()) != "Sector") {
        r.Message = "The file is not sector metadata: its root element is not Sector.";
        return r;
    }

    // Subsector names: A-D the top row, E-H the second ...
    std::array<std::string, 16> names = sector.SSName;
    std::array<bool, 16> renamed{};
    for (pugi::xml_node s : root.child("Subsectors").children("Subsector")) {
        const std::string_view index = s.attribute("Index").value();
        if (index.size() != 1 || index[0] < 'A' || index[0] > 'P') {
            r.Lines.push_back("Subsector with index \"" + std::string(index) + "\" skipped: the index must be A to P.");
            continue;
        }
        const int k = index[0] - 'A';
        std::string name;
        if (!MapText(s.text().get(), name) || name.empty()) {
            r.Lines.push_back(std::string("Subsector ") + index[0] + " skipped: its name is empty or cannot be shown.");
            continue;
        }
        const auto slot = static_cast<std::size_t>(TSector::SubsectorIndex(k % 4 + 1, k / 4 + 1));
        names[slot] = name;
        renamed[slot] = true;
    }
    // Two subsectors of one name would move the stars of the second into the
    // first; such a name is left as it was.
    for (std::size_t i = 0; i < 16; ++i)
        for (std::size_t j = 0; j < 16; ++j)
            if (i != j && renamed[i] && names[i] == names[j]) {
                r.Lines.push_back("Subsector name \"" + names[i] + "\" skipped: another subsector has it.");
                names[i] = sector.SSName[i];
                renamed[i] = false;
                break;
            }

    // Routes.
    std::set<std::string> onMap;
    for (const auto& rc : universe.Routes()->Children())
        for (const auto& lc : rc->Children())
            if (const auto* leg = As<TRouteLeg>(lc.get())) onMap.insert(LegKey(leg->SStarName, leg->EStarName));
    HexIndex hexes;
    std::vector<PlannedLeg> legs;
    std::map<std::string, PlannedRoute> newRoutes;
    for (pugi::xml_node route : root.child("Routes").children("Route")) {
        const std::string label = std::string("Route ") + route.attribute("Start").value() + "-" + route.attribute("End").value();
        std::string type;
        if (!MapText(route.attribute("Type").value(), type)) {
            r.Lines.push_back(label + " skipped: its type cannot be shown.");
            continue;
        }
        if (type.empty()) type = "Xboat";
        TStar* ends[2] = {nullptr, nullptr};
        bool ok = true;
        for (int e = 0; e < 2 && ok; ++e) {
            const char* which = e == 0 ? "Start" : "End";
            int column = 0, row = 0, dx = 0, dy = 0;
            const pugi::xml_attribute ox = route.attribute(e == 0 ? "StartOffsetX" : "EndOffsetX");
            const pugi::xml_attribute oy = route.attribute(e == 0 ? "StartOffsetY" : "EndOffsetY");
            if (!ParseHex(route.attribute(which).value(), column, row) || (ox && !ParseInt(ox.value(), dx)) ||
                (oy && !ParseInt(oy.value(), dy)) || std::abs(dx) > 1000 || std::abs(dy) > 1000) {
                r.Lines.push_back(label + " skipped: its " + (e == 0 ? "start" : "end") + " is not a hex.");
                ok = false;
                break;
            }
            TSector* at = (dx == 0 && dy == 0) ? &sector : SectorAt(universe, sector.SectorCoordsX + dx, sector.SectorCoordsY + dy);
            if (!at) {
                r.Lines.push_back(label + " skipped: the sector " + std::to_string(dx) + "," + std::to_string(dy) +
                                  " from " + sector.Name1 + " is not on the map.");
                ok = false;
            } else if (!(ends[e] = hexes.At(*at, column, row))) {
                r.Lines.push_back(label + " skipped: hex " + route.attribute(which).value() + " of " + at->Name1 + " is empty.");
                ok = false;
            }
        }
        if (!ok) continue;
        if (!onMap.insert(LegKey(ends[0]->Name1, ends[1]->Name1)).second) continue;  // already on the map
        legs.push_back({type, ends[0]->Name1, ends[1]->Name1});
        if (!universe.FindRoute(type) && !newRoutes.count(type)) {
            PlannedRoute planned;
            ParseColor(route.attribute("Color").value(), planned.Color);
            const std::string_view style = route.attribute("Style").value();
            planned.LineType = style == "Dashed" ? 1 : style == "Dotted" ? 2 : 0;
            newRoutes.emplace(type, planned);
        }
    }
    if (root.child("Borders").child("Border"))
        r.Lines.push_back("The borders of the file are not imported: borders are computed from the systems' allegiances.");

    // Apply: stars keep their hexes under the new subsector names.
    for (TStar* star : sector.Stars()) {
        const int x = star->SubSectorCoordsX(), y = star->SubSectorCoordsY();
        if (x > 0 && y > 0) star->SubSectorName = names[static_cast<std::size_t>(TSector::SubsectorIndex(x, y))];
    }
    for (std::size_t i = 0; i < 16; ++i)
        if (names[i] != sector.SSName[i]) ++r.SubsectorsRenamed;
    sector.SSName = names;
    for (const PlannedLeg& planned : legs) {
        TRoute* route = universe.FindRoute(planned.Route);
        if (!route) {
            route = universe.Routes()->Create<TRoute>();
            route->Name1 = planned.Route;
            route->ShowRoute = true;
            route->User = true;
            route->Color = newRoutes[planned.Route].Color;
            route->LineType = newRoutes[planned.Route].LineType;
            ++r.RoutesCreated;
        }
        auto* leg = route->Create<TRouteLeg>();
        leg->Name1 = route->Name1 + " - " + std::to_string(route->Children().size());
        leg->SStarName = planned.Start;
        leg->EStarName = planned.End;
        ++r.LegsAdded;
    }
    if (r.Changed()) MarkChanged(universe);
    r.Ok = true;
    return r;
}

TMetadataImportResult ImportSectorMetadata(TUniverse& universe, TSector& sector, const std::string& path) {
    TMetadataImportResult r;
    hexlane::InputFile file(path);
    if (!file.Open()) {
        r.Message = "Cannot read the file " + path + ".";
        return r;
    }
    if (file.Size() > kMaxFileSize) {
        r.Message = "The file " + path + " is too large to be sector metadata.";
        return r;
    }
    std::string text(static_cast<std::size_t>(file.Size()), '\0');
    if (!text.empty() && std::fread(text.data(), 1, text.size(), file.Handle()) != text.size()) {
        r.Message = "Cannot read the file " + path + ".";
        return r;
    }
    return ImportSectorMetadataText(universe, sector, text);
}
