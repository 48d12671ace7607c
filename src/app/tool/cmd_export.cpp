// export-sec: writes one sector of a map as a sector file, in the format of
// the output's extension (.tab, .txt or .sec); the systems the export had to
// shorten are printed as UTF-8.

#include "Command.h"
#include "ToolMap.h"

#include "DefineUniverse.h"
#include "SectorExport.h"

#include <iostream>

namespace tool {

// The command's work on its parsed values; the exit status.
int ExportSec(const std::string& mapPath, const std::string& sectorName, const std::string& outPath) {
    std::string sector;
    if (!ToMapText(sectorName, sector)) return 1;
    auto universe = OpenForTool(mapPath);
    if (!universe) return 1;
    const TSector* target = universe->FindSector(sector);
    if (!target) return Fail("Invalid Sector Pointer");
    const TSectorExportResult result = ExportSectorFile(*universe, *target, outPath);
    if (!result.Ok) return Fail(result.Message);
    for (const std::string& line : result.Lines) std::cout << ToUtf8(line) << '\n';
    return 0;
}

}  // namespace tool

namespace {

struct ExportSecOptions {
    std::string map, sector, out;
};

tool::RegisterCommand exportSecCmd("export-sec", "export-sec MAP SECTOR OUT.tab|OUT.txt|OUT.sec",
                                   "Writes one sector of a map as a sector file (format by extension).",
                                   [](CLI::App& app) {
                                       auto o = std::make_shared<ExportSecOptions>();
                                       tool::AddFile(app, "MAP", o->map, "the map file");
                                       app.add_option("SECTOR", o->sector,
                                                      "the sector's name (the first sector of that name in map order)")
                                           ->required();
                                       tool::AddFile(app, "OUT", o->out, "the sector file (.tab, .txt or .sec)");
                                       return [o] { return tool::ExportSec(o->map, o->sector, o->out); };
                                   });

}  // namespace
