#pragma once
// Sector-file import: reads a fixed-column text listing of star systems (one
// system per line after the ruler line), or a T5 sector file, into one empty
// sector of a universe.
// The messages for the message window come back as a list of lines; the
// caller shows them.

#include "SectorFormat.h"
#include "SectorRecord.h"

#include <string>
#include <string_view>

class TUniverse;

// A system line shorter than this is reported as incomplete.
inline constexpr std::size_t kMinSystemLineLength = 58;

// Imports the text of a sector file into `sector`, a sector of `universe`
// that holds no systems. The format is found from the text: a classic
// listing (it has the ruler line) or one of the T5 formats (SectorFormat.h);
// any other text is "Nothing to do.". Lines end in LF or CR LF; the last may
// lack an end. Every byte is accepted. Only an Imported result changes the
// universe.
TSectorImportResult ImportSectorText(TUniverse& universe, TSector& sector, std::string_view text);

// The same into the first sector named `sectorName` that holds no systems.
TSectorImportResult ImportSectorText(TUniverse& universe, const std::string& sectorName, std::string_view text);

// The same for a file on disk.
TSectorImportResult ImportSectorFile(TUniverse& universe, TSector& sector, const std::string& fileName);
TSectorImportResult ImportSectorFile(TUniverse& universe, const std::string& sectorName,
                                     const std::string& fileName);
