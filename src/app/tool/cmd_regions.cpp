// borders: the polity regions computed for a map, as JSON or as a short
// listing, for the whole map or the hexes of one sector.

#include "Command.h"
#include "ToolMap.h"

#include "DefineUniverse.h"
#include "PolityRegions.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace {

using nlohmann::ordered_json;

struct BordersOptions {
    std::string map, sector;
    bool json = false;
};

int RunBorders(const BordersOptions& o) {
    std::string sectorName;
    if (!o.sector.empty() && !tool::ToMapText(o.sector, sectorName)) return 1;
    auto universe = tool::OpenForTool(o.map);
    if (!universe) return 1;
    const TSector* only = nullptr;
    if (!o.sector.empty() && !(only = universe->FindSector(sectorName))) return tool::Fail("Invalid Sector Pointer");
    universe->ComputeExtent();

    const regions::SectorLocator locator(*universe);
    ordered_json list = ordered_json::array();
    for (const regions::PolityRegion& r : regions::ComputeRegions(*universe)) {
        ordered_json hexes = ordered_json::array();
        std::size_t pieces = 0;
        for (const regions::RegionPiece& piece : r.Pieces) {
            bool inSector = false;
            for (const regions::Hex& h : piece.Hexes) {
                const regions::SectorHex at = locator.Locate(h);
                if (!at.Sector || (only && at.Sector != only)) continue;
                hexes.push_back({tool::ToUtf8(at.Sector->Name1), regions::HexNumber(at.Column, at.Row)});
                inSector = true;
            }
            pieces += inSector;
        }
        if (hexes.empty()) continue;
        if (!o.json) {
            std::cout << tool::ToUtf8(r.Allegiance) << " (" << tool::ToUtf8(r.Code) << "): " << hexes.size()
                      << " hexes in " << pieces << (pieces == 1 ? " piece\n" : " pieces\n");
            continue;
        }
        list.push_back({{"allegiance", tool::ToUtf8(r.Allegiance)}, {"code", tool::ToUtf8(r.Code)}, {"hexes", std::move(hexes)}});
    }
    if (o.json) std::cout << ordered_json{{"regions", std::move(list)}}.dump() << '\n';
    return 0;
}

tool::RegisterCommand bordersCmd("borders", "borders MAP [--sector NAME] [--json]",
                                 "Lists the regions each polity claims, computed from its systems.",
                                 [](CLI::App& app) {
                                     auto o = std::make_shared<BordersOptions>();
                                     tool::AddFile(app, "MAP", o->map, "the map file");
                                     app.add_option("--sector", o->sector, "only the hexes of this sector");
                                     app.add_flag("--json", o->json, "JSON: regions with their hexes");
                                     return [o] { return RunBorders(*o); };
                                 });

}  // namespace
