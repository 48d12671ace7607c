#pragma once
// One system as a sector file gives it, whatever the file's format, and the
// one function that builds the stars of a sector from such records. The
// readers of the classic listing and of the T5 files only take the fields
// apart; the hex check, the subsector split, the defaults, the unique names,
// the zone, the belts and gas giants, the allegiance and the system data are
// made here.

#include "SectorHex.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TSector;
class TUniverse;

// Outcome of an import. `Message` is for a message box; `Lines` is for the
// message window (shown when it holds at least one line).
struct TSectorImportResult {
    enum class TStatus {
        Imported,       // the file was read; the universe is marked changed
        InvalidSector,  // no empty sector of that name: "Invalid Sector Pointer"
        NothingToDo,    // no ruler line, or nothing after it: "Nothing to do."
        FileError,      // the file could not be read (or is refused whole); Message holds the reason
    };
    TStatus Status = TStatus::Imported;
    std::string Message;
    std::vector<std::string> Lines;
    int StarsImported = 0;
    int RowsRefused = 0;  // rows of systems that did not become stars
    bool Ok() const { return Status == TStatus::Imported; }
};

struct TSystemRecord {
    std::size_t Line = 0;  // position in the file, counted from 1
    std::string Name;      // empty: "Star" and the six codes of UPC
    std::string Hex;       // "XXYY" in the sector
    std::string Starport, UPC, TechLevel;
    std::int32_t Bases = 0;  // SystemContent flags of the base codes
    char Zone = ' ';         // "A" amber, "R" red, anything else green
    std::string PBG;         // its second and third characters other than "0": belts, gas giants
    std::string AllegianceCode;
    bool Capital = false;
    std::string Stellar;  // the first line of the system data
    // Further "<name> : <value>" lines of the system data, in order.
    std::vector<std::pair<std::string, std::string>> Kept;
};

// How the records of a format differ in what they make.
struct TRecordRules {
    // A refused hex reads "Error at Line N Bad Hex" rather than "Error at Line N".
    bool HexReason = false;
    // An allegiance code the universe lacks becomes a new allegiance (listed
    // as "Allegiance <code> added"), and a four-letter code falls back on an
    // allegiance of its first two letters; otherwise it is "Unknown".
    bool AddAllegiances = false;
};

// Builds a star of `sector` from each record, in order, and marks the
// universe changed (even when no record became a star). `messages` holds the
// readers' "Error at Line N ..." lines with their line numbers; the builder
// adds its own (refused hexes, added allegiances, every name that was taken
// and renamed), and the result lists them all in the order of the lines.
TSectorImportResult BuildStars(TUniverse& universe, TSector& sector, const std::vector<TSystemRecord>& records,
                               std::vector<std::pair<std::size_t, std::string>> messages, const TRecordRules& rules);
