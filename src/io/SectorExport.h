#pragma once
// Export of one sector as a sector file: tab-delimited (.tab) or
// column-delimited (.txt) T5 files, or the classic fixed-column listing with
// its ruler (.sec) that the classic import reads back. The T5 files carry the
// fields that a T5 import kept in SysData back in their columns; the classic
// listing shortens what its columns cannot hold and says so.

#include "SectorFormat.h"

#include <string>
#include <vector>

class TSector;
class TStar;
class TUniverse;

// The format of a file name's extension (.tab, .txt, .sec, in any case);
// Unknown for any other.
TSectorFormat SectorFormatOfFileName(const std::string& path);

// The T5 fields of a star (Windows-1252): its position in the sector, its
// codes, and the T5 fields its SysData keeps. False when the star's subsector
// is not one of its sector's.
bool T5RowOfStar(const TUniverse& universe, const TSector& sector, const TStar& star, TT5Row& row);

// The text of the sector's file in a format (T5 files as UTF-8, the classic
// listing in Windows-1252); `lines` gets one message for each system that was
// shortened or left out.
std::string SectorFileText(const TUniverse& universe, const TSector& sector, TSectorFormat format,
                           std::vector<std::string>& lines);

// The T5 tab-delimited text (UTF-8, with its heading line) of some stars,
// each in its own sector's hex numbering; `lines` as for a sector file.
std::string T5TabTextOfStars(const TUniverse& universe, const std::vector<const TStar*>& stars,
                             std::vector<std::string>& lines);

struct TSectorExportResult {
    bool Ok = false;
    std::string Message;             // why nothing was written
    std::vector<std::string> Lines;  // for the message window
    int StarsWritten = 0;
};

// Writes the sector to `path` in the format of its extension, replacing the
// file only once the whole text is written.
TSectorExportResult ExportSectorFile(const TUniverse& universe, const TSector& sector, const std::string& path);

// The message for a file name of no sector format.
inline constexpr const char* kSectorExtensionMessage = "Sector files are written as .tab, .txt or .sec";
