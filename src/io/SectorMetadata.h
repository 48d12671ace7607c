#pragma once
// The public sector metadata XML (sector name and place, subsector names,
// routes, borders, allegiance names): read into a sector of the map, and
// written from one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TSector;
class TUniverse;

struct TMetadataImportResult {
    bool Ok = false;                 // false: nothing was changed; Message says why
    std::string Message;             // the failure (malformed XML with line and column, unreadable file)
    std::vector<std::string> Lines;  // what was skipped or left out, for the messages window (map text)
    int SubsectorsRenamed = 0;
    int LegsAdded = 0;
    int RoutesCreated = 0;
    bool Changed() const { return SubsectorsRenamed + LegsAdded + RoutesCreated > 0; }
};

// Reads the metadata file into `sector`: subsector names (index A-P row by
// row), and every route as a leg of the route named by its Type ("Xboat"
// without one), its ends offset into the neighbouring sectors of the map.
// Ends that name no system, and legs already on the map, are skipped;
// borders are not read. Nothing changes unless the whole file is well-formed.
TMetadataImportResult ImportSectorMetadata(TUniverse& universe, TSector& sector, const std::string& path);
TMetadataImportResult ImportSectorMetadataText(TUniverse& universe, TSector& sector, std::string_view xml);

// One border of the export: the hexes (column 1-32, row 1-40 of the sector)
// around the edge of a region piece in order, and its allegiance.
struct TMetadataBorder {
    std::string AllegianceCode;
    std::int32_t Color = 0;  // 0x00BBGGRR
    std::vector<std::pair<int, int>> Hexes;
};

struct TMetadataExportOptions {
    std::optional<int> X, Y;  // the sector's place in the file; default its place in the map
    std::vector<TMetadataBorder> Borders;
};

// The metadata of one sector as XML text (UTF-8).
std::string SectorMetadataXml(const TUniverse& universe, const TSector& sector, const TMetadataExportOptions& options);

// Writes it to `path` through the replacing writer; false with a message
// when the file could not be written (the old file then stays as it was).
bool ExportSectorMetadata(const TUniverse& universe, const TSector& sector, const std::string& path,
                          const TMetadataExportOptions& options, std::string& message);
