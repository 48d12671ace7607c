// Writing the sector metadata XML of one sector: name and place, the sixteen
// subsector names, the legs that start in it, the borders given, and the
// allegiances these use.

#include "SectorMetadata.h"

#include "Codepage.h"
#include "DefineUniverse.h"
#include "FileIO.h"

#include <pugixml.hpp>

#include <cstdio>
#include <set>
#include <sstream>

namespace {

// Map text as UTF-8 that XML 1.0 can hold: control characters become spaces.
std::string XmlText(std::string_view mapText) {
    std::string utf8 = hexlane::Cp1252ToUtf8(mapText);
    for (char& c : utf8)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') c = ' ';
    return utf8;
}

std::string HexText(int column, int row) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d", column, row);
    return text;
}

std::string ColorText(std::int32_t color) {
    char text[16];
    const auto c = static_cast<unsigned>(color);
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return text;
}

}  // namespace

std::string SectorMetadataXml(const TUniverse& universe, const TSector& sector, const TMetadataExportOptions& options) {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "utf-8";
    pugi::xml_node root = doc.append_child("Sector");
    root.append_child("X").text() = options.X.value_or(sector.SectorCoordsX);
    root.append_child("Y").text() = options.Y.value_or(sector.SectorCoordsY);
    root.append_child("Name").text() = XmlText(sector.Name1).c_str();

    pugi::xml_node subsectors = root.append_child("Subsectors");
    for (int k = 0; k < 16; ++k) {
        pugi::xml_node s = subsectors.append_child("Subsector");
        s.append_attribute("Index") = std::string(1, static_cast<char>('A' + k)).c_str();
        s.text() = XmlText(sector.SSName[static_cast<std::size_t>(TSector::SubsectorIndex(k % 4 + 1, k / 4 + 1))]).c_str();
    }

    // Legs whose first system lies in the sector, in route and leg order.
    pugi::xml_node routes = root.append_child("Routes");
    for (const auto& rc : universe.Routes()->Children()) {
        const auto* route = As<TRoute>(rc.get());
        if (!route) continue;
        for (const TRouteLeg* leg : route->Legs()) {
            const TStar* start = universe.FindStar(leg->SStarName);
            const TStar* end = universe.FindStar(leg->EStarName);
            if (!start || !end || start->Sector() != &sector || !end->Sector()) continue;
            pugi::xml_node r = routes.append_child("Route");
            r.append_attribute("Start") = HexText(start->SectorHexColumn(), start->SectorHexRow()).c_str();
            r.append_attribute("End") = HexText(end->SectorHexColumn(), end->SectorHexRow()).c_str();
            const int dx = end->Sector()->SectorCoordsX - sector.SectorCoordsX;
            const int dy = end->Sector()->SectorCoordsY - sector.SectorCoordsY;
            if (dx != 0) r.append_attribute("EndOffsetX") = dx;
            if (dy != 0) r.append_attribute("EndOffsetY") = dy;
            r.append_attribute("Type") = XmlText(route->Name1).c_str();
        }
    }

    std::set<std::string> codes;
    pugi::xml_node borders = root.append_child("Borders");
    for (const TMetadataBorder& b : options.Borders) {
        std::ostringstream path;
        for (std::size_t i = 0; i < b.Hexes.size(); ++i) path << (i ? " " : "") << HexText(b.Hexes[i].first, b.Hexes[i].second);
        pugi::xml_node border = borders.append_child("Border");
        border.append_attribute("Allegiance") = XmlText(b.AllegianceCode).c_str();
        border.append_attribute("Color") = ColorText(b.Color).c_str();
        border.text() = path.str().c_str();
        codes.insert(b.AllegianceCode);
    }

    // Allegiances of the sector's systems and of its borders, in map order.
    for (const TStar* star : sector.Stars())
        if (const TAllegiance* a = universe.FindAllegiance(std::string_view(star->Allegiance.data(), star->Allegiance.size())))
            codes.insert(a->ImportCode);
    pugi::xml_node allegiances = root.append_child("Allegiances");
    std::set<std::string> written;
    for (const auto& c : universe.Allegiances()->Children()) {
        const auto* a = As<TAllegiance>(c.get());
        if (!a || a->ImportCode.empty() || !codes.count(a->ImportCode) || !written.insert(a->ImportCode).second) continue;
        pugi::xml_node node = allegiances.append_child("Allegiance");
        node.append_attribute("Code") = XmlText(a->ImportCode).c_str();
        node.text() = XmlText(a->Name1).c_str();
    }

    std::ostringstream out;
    doc.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
    return out.str();
}

bool ExportSectorMetadata(const TUniverse& universe, const TSector& sector, const std::string& path,
                          const TMetadataExportOptions& options, std::string& message) {
    const std::string xml = SectorMetadataXml(universe, sector, options);
    hexlane::ReplacingOutputFile file(path);
    if (!file.Open() || !file.WriteAll(xml.data(), xml.size())) {
        message = "Cannot write the file " + path + ".";
        return false;
    }
    return true;
}
