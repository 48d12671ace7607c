// import-metadata and export-metadata: the public sector metadata XML of one
// sector (subsector names, routes, borders, allegiance names) read into a map
// or written from it.

#include "Command.h"
#include "ToolMap.h"

#include "DefineUniverse.h"
#include "PolityRegions.h"
#include "SectorMetadata.h"

#include <iostream>

namespace {

struct ImportOptions {
    std::string map, sector, file, out;
};

int RunImport(const ImportOptions& o) {
    std::string sectorName;
    if (!tool::ToMapText(o.sector, sectorName)) return 1;
    auto universe = tool::OpenForTool(o.map);
    if (!universe) return 1;
    TSector* sector = universe->FindSector(sectorName);
    if (!sector) return tool::Fail("Invalid Sector Pointer");
    const TMetadataImportResult result = ImportSectorMetadata(*universe, *sector, o.file);
    if (!result.Ok) return tool::Fail(result.Message);
    for (const std::string& line : result.Lines) std::cout << tool::ToUtf8(line) << '\n';
    std::string message;
    if (!universe->SaveToFile(o.out.empty() ? o.map : o.out, message)) return tool::Fail(message);
    return 0;
}

struct ExportOptions {
    std::string map, sector, out;
    std::optional<int> x, y;
};

int RunExport(const ExportOptions& o) {
    std::string sectorName;
    if (!tool::ToMapText(o.sector, sectorName)) return 1;
    auto universe = tool::OpenForTool(o.map);
    if (!universe) return 1;
    const TSector* sector = universe->FindSector(sectorName);
    if (!sector) return tool::Fail("Invalid Sector Pointer");
    universe->ComputeExtent();
    TMetadataExportOptions options;
    options.X = o.x;
    options.Y = o.y;
    for (regions::SectorBorder& b : regions::BordersInSector(*sector, regions::ComputeRegions(*universe)))
        options.Borders.push_back({std::move(b.Code), b.Color, std::move(b.Hexes)});
    std::string message;
    if (!ExportSectorMetadata(*universe, *sector, o.out, options, message)) return tool::Fail(message);
    return 0;
}

tool::RegisterCommand importCmd(
    "import-metadata", "import-metadata MAP SECTOR FILE.xml [-o OUT.map]",
    "Reads subsector names and routes of a sector from a sector metadata XML file.", [](CLI::App& app) {
        auto o = std::make_shared<ImportOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_option("SECTOR", o->sector, "the sector's name")->required();
        tool::AddFile(app, "FILE", o->file, "the sector metadata file (.xml)");
        tool::AddOutput(app, o->out);
        return [o] { return RunImport(*o); };
    });

tool::RegisterCommand exportCmd(
    "export-metadata", "export-metadata MAP SECTOR OUT.xml [--x N --y N]",
    "Writes a sector's name, subsector names, routes, borders and allegiances as sector metadata XML.",
    [](CLI::App& app) {
        auto o = std::make_shared<ExportOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_option("SECTOR", o->sector, "the sector's name")->required();
        tool::AddFile(app, "OUT", o->out, "the metadata file to write (.xml)");
        app.add_option("--x", o->x, "the sector's X in the file (default: its column in the map)");
        app.add_option("--y", o->y, "the sector's Y in the file (default: its row in the map)");
        return [o] { return RunExport(*o); };
    });

}  // namespace
