#pragma once
// Sector-file import: reads a fixed-column text listing of star systems (one
// system per line after the ruler line), or a T5 sector file, into one empty
// sector of a universe.
// The messages for the message window come back as a list of lines; the
// caller shows them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TUniverse;

// The line that separates the file's header from the system lines; it must
// match a whole line exactly.
inline constexpr std::string_view kSectorFileRuler =
    "....+....1....+....2....+....3....+....4....+....5....+....6....+....7....+....8";

// A system line shorter than this is reported as incomplete.
inline constexpr std::size_t kMinSystemLineLength = 58;

// The text the import dialog shows for a base code letter A-Z ("Not Defined"
// for letters without a base); empty for any other character.
const char* BaseCodeDescription(char letter);

// The SystemContent flags the import adds for a base code letter; 0 for
// letters without a base and for anything but the upper-case letters.
std::int32_t BaseCodeFlags(char letter);

// Outcome of an import. `Message` is for a message box; `Lines` is for the
// message window (shown when it holds at least one line).
struct TSectorImportResult {
    enum class TStatus {
        Imported,       // the file was read; the universe is marked changed
        InvalidSector,  // no empty sector of that name: "Invalid Sector Pointer"
        NothingToDo,    // no ruler line, or nothing after it: "Nothing to do."
        FileError,      // the file could not be read; Message holds the reason
    };
    TStatus Status = TStatus::Imported;
    std::string Message;
    std::vector<std::string> Lines;
    int StarsImported = 0;
    bool Ok() const { return Status == TStatus::Imported; }
};

// Imports the text of a sector file into the first sector named `sectorName`
// that holds no systems. The format is found from the text: a classic listing
// (it has the ruler line) or one of the T5 formats (SectorFormat.h); any other
// text is "Nothing to do.". Lines end in LF or CR LF; the last may lack an
// end. Every byte is accepted. Only an Imported result changes the universe.
TSectorImportResult ImportSectorText(TUniverse& universe, const std::string& sectorName, std::string_view text);

// The same for a file on disk.
TSectorImportResult ImportSectorFile(TUniverse& universe, const std::string& sectorName,
                                     const std::string& fileName);
