#pragma once
// Builds sector-file text for the import tests: system lines in the fixed
// columns and whole files around the ruler line.

#include "ImportSec.h"

#include <string>
#include <vector>

namespace secfile {

struct System {
    std::string Name = "Nova";
    std::string Hex = "0101";
    char Starport = 'A';
    std::string UPC = "788899";
    char TechLevel = 'C';
    char Base = ' ';
    std::string Remarks = "Ri";
    char Zone = ' ';
    std::string PBG = "123";
    std::string Allegiance = "Cv";
    std::string Stellar = "G2 V";
};

inline std::string Pad(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// Columns 1-14 name, 15-18 hex, 20 starport, 21-26 UPC, 28 tech level,
// 31 base, 32-48 remarks, 49 zone, 52-54 PBG, 56-57 allegiance, 59- stellar.
inline std::string Line(const System& s) {
    std::string line = Pad(s.Name, 14) + Pad(s.Hex, 4) + ' ' + s.Starport + Pad(s.UPC, 6) + '-' + s.TechLevel +
                       "  " + s.Base + Pad(s.Remarks, 17) + s.Zone + "  " + Pad(s.PBG, 3) + ' ' +
                       Pad(s.Allegiance, 2) + ' ' + s.Stellar;
    return line;
}

// A file: the header lines, the ruler, then the lines, each ended by `eol`.
inline std::string File(const std::vector<std::string>& lines, const std::vector<std::string>& header = {},
                        const std::string& eol = "\n") {
    std::string text;
    for (const std::string& h : header) text += h + eol;
    text += std::string(kSectorFileRuler) + eol;
    for (const std::string& l : lines) text += l + eol;
    return text;
}

}  // namespace secfile
