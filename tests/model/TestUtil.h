#pragma once
// Helpers for model tests: a builder of raw stream bytes and small universes.

#include "DefineUniverse.h"
#include "ObjectStream.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace testutil {

// Builds object-stream bytes by hand.
struct Bytes {
    std::string s;
    Bytes& Raw(std::initializer_list<int> bytes) {
        for (int b : bytes) s.push_back(static_cast<char>(b));
        return *this;
    }
    Bytes& Short(std::string_view text) {
        s.push_back(static_cast<char>(text.size()));
        s.append(text);
        return *this;
    }
    Bytes& Sig() {
        s.append("TPF0");
        return *this;
    }
    // A record header: class name and an empty object name.
    Bytes& Record(std::string_view cls) { return Short(cls).Raw({0}); }
    Bytes& End() { return Raw({0}); }
    Bytes& Int8(std::string_view prop, int v) { return Short(prop).Raw({2, v & 0xFF}); }
    Bytes& Str(std::string_view prop, std::string_view v) {
        Short(prop).Raw({6});
        return Short(v);
    }
    Bytes& Ident(std::string_view prop, std::string_view v) {
        Short(prop).Raw({7});
        return Short(v);
    }
};

inline std::string Stream(const TManager& root) {
    std::string out;
    hexlane::WriteObjectStream(root, out);
    return out;
}

inline TSector* AddSector(TUniverse& u, const std::string& name, int x, int y) {
    TSector* s = u.Sectors()->Create<TSector>();
    s->Name1 = name;
    s->SectorCoordsX = x;
    s->SectorCoordsY = y;
    static const char* letters = "abcdefghijklmnop";
    for (int i = 0; i < 16; ++i) s->SSName[static_cast<std::size_t>(i)] = std::string(1, letters[i]);
    return s;
}

// A star at hex (column, row) of its sector (1-32, 1-40).
inline TStar* AddStar(TSector& sector, const std::string& name, int column, int row,
                      const std::string& upc = "788899") {
    TStar* s = sector.Create<TStar>();
    s->Name1 = name;
    const int ssx = (column - 1) / 8 + 1, ssy = (row - 1) / 10 + 1;
    s->SubSectorName = sector.SSName[static_cast<std::size_t>(TSector::SubsectorIndex(ssx, ssy))];
    s->StarCoordsX = (column - 1) % 8 + 1;
    s->StarCoordsY = (row - 1) % 10 + 1;
    s->UPC = upc;
    s->Starport = "A";
    s->Spaceport = "Y";
    s->SetTechLevel("C");
    s->Allegiance = "Independent";
    s->Visible = true;
    return s;
}

}  // namespace testutil
