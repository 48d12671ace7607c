#pragma once
// The sector file formats the import reads and the export writes, found from
// a file's contents: the classic fixed-column listing with its ruler line, and
// the two T5 formats (tab-delimited, and column-delimited with a line of
// dashes under the column names). The two T5 readers turn their rows into the
// same record of named fields.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class TSectorFormat { Unknown, Classic, T5Tab, T5Column };

// The line that separates a classic file's header from its system lines; it
// must match a whole line exactly.
inline constexpr std::string_view kSectorFileRuler =
    "....+....1....+....2....+....3....+....4....+....5....+....6....+....7....+....8";

// The text the import dialog shows for a base code letter A-Z ("Not Defined"
// for letters without a base); empty for any other character.
const char* BaseCodeDescription(char letter);

// The SystemContent flags of a base code letter; 0 for letters without a
// base and for anything but the upper-case letters.
std::int32_t BaseCodeFlags(char letter);

// A T5 file of more columns than this is refused whole.
inline constexpr std::size_t kMaxT5Columns = 64;

// The T5 columns, in the order of the tab-delimited files.
enum TT5Field : int {
    tfSector, tfSS, tfHex, tfName, tfUWP, tfBases, tfRemarks, tfZone, tfPBG, tfAllegiance, tfStars,
    tfIx, tfEx, tfCx, tfNobility, tfW, tfRU, tfCount
};

// "Sector", "SS", "Hex", "Name", "UWP", "Bases", "Remarks", "Zone", "PBG",
// "Allegiance", "Stars", "{Ix}", "(Ex)", "[Cx]", "Nobility", "W", "RU".
const char* T5FieldName(TT5Field field);

// The field a column heading names (the full names and the short headings of
// the column-delimited files: B, Z, A, Stellar, N); tfCount for any other.
TT5Field T5FieldOfHeading(std::string_view heading);

// One system row of a T5 file, its fields as Windows-1252 text without the
// blanks around them; a field written "-" or missing from the file is empty.
struct TT5Row {
    std::size_t Line = 0;  // position in the file, counted from 1
    std::array<std::string, tfCount> Field;
    // Columns of other names, in file order, with non-empty values.
    std::vector<std::pair<std::string, std::string>> Extra;
    const std::string& operator[](TT5Field f) const { return Field[static_cast<std::size_t>(f)]; }
    std::string& operator[](TT5Field f) { return Field[static_cast<std::size_t>(f)]; }
};

// What a T5 reader made of a file: the good rows in file order and, with its
// line number, one "Error at Line N <reason>" for each row it could not read.
struct TT5Rows {
    std::string Refused;  // why the whole file is refused (too many columns)
    std::vector<TT5Row> Rows;
    std::vector<std::pair<std::size_t, std::string>> Errors;
};

// The lines of a text: a line ends at LF, a CR before the LF belongs to the
// end, a last line without an end still counts. A UTF-8 byte order mark at
// the start is not part of the first line.
class TSectorFileLines {
public:
    explicit TSectorFileLines(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
    }
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        std::size_t next;
        if (end == std::string_view::npos) {
            end = next = text_.size();
        } else {
            next = end + 1;
            if (end > pos_ && text_[end - 1] == '\r') --end;
        }
        line = text_.substr(pos_, end - pos_);
        pos_ = next;
        ++number_;
        return true;
    }
    std::size_t Number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

// The format of a file's text. Classic when a line equals the ruler line;
// T5Tab when the first line that is neither blank nor a "#" comment holds tabs
// and names the Hex and UWP columns; T5Column when that line begins with "Hex",
// names UWP, and the next line is runs of "-" separated by single blanks.
TSectorFormat DetectSectorFormat(std::string_view text);

// Reads the rows of a T5 file of the given format (T5Tab or T5Column). Each
// line is taken as UTF-8 when it is valid UTF-8, else as Windows-1252; a row
// with characters Windows-1252 cannot hold is refused. Blank lines are passed
// over ("#" comments stand only before the header). A row that ends before
// its last columns leaves them empty; it is incomplete only without a hex or
// a UWP.
TT5Rows ReadT5Rows(std::string_view text, TSectorFormat format);
