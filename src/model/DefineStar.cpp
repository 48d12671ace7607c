#include "DefineStar.h"

#include "DefineSector.h"
#include "DefineUniverse.h"
#include "SectorHex.h"

const char* TravelZoneText(TTravelZoneCode zone) {
    switch (zone) {
    case tzcGreen: return "Green";
    case tzcAmber: return "Amber";
    case tzcRed: return "Red";
    default: return "Unknown";
    }
}

std::string HexCodeText(int index) {
    static const char codes[] = "0123456789ABCDEFG";
    return std::string(1, index >= 0 && index <= 16 ? codes[index] : 'G');
}

std::string StarportCodeText(int index) {
    static const char codes[] = "ABCDEX";
    return std::string(1, index >= 0 && index <= 5 ? codes[index] : 'X');
}

std::string SpaceportCodeText(int index) {
    static const char codes[] = "FGHY";
    return std::string(1, index >= 0 && index <= 3 ? codes[index] : 'Y');
}

std::string SizeCodeText(int index) {
    static const char codes[] = "0RS123456789A";
    return std::string(1, index >= 0 && index <= 12 ? codes[index] : 'A');
}

namespace {

// Index of a code character: digits count from `digitBase`, letters from
// `letterBase` up to `lastLetter`; anything else (a missing character
// included) gives the fallback.
int Decode(char c, int digitBase, char lastLetter, int letterBase, int fallback) {
    if (c >= '0' && c <= '9' && digitBase >= 0) return digitBase + (c - '0');
    if (c >= 'A' && c <= lastLetter) return letterBase + (c - 'A');
    return fallback;
}

char First(const std::string& s) {
    return s.empty() ? '\0' : s[0];
}

// Trade-code value of a UPC character: a digit's value, else 10.
int TradeValue(char c) {
    return (c >= '0' && c <= '9') ? c - '0' : 10;
}

}  // namespace

int TStar::PSIndex() const {
    const char c = UPCChar(0);
    if (c == '0') return 0;
    if (c == 'R') return 1;
    if (c == 'S') return 2;
    if (c >= '1' && c <= '9') return 3 + (c - '1');
    return 12;
}

int TStar::AtIndex() const { return Decode(UPCChar(1), 0, 'E', 10, 15); }
int TStar::HydroIndex() const { return Decode(UPCChar(2), 0, '@', 0, 10); }
int TStar::PopIndex() const { return Decode(UPCChar(3), 0, '@', 0, 10); }
int TStar::GovIndex() const { return Decode(UPCChar(4), 0, 'C', 10, 13); }
int TStar::LLIndex() const { return Decode(UPCChar(5), 0, '@', 0, 10); }
int TStar::SPIndex() const { return Decode(First(Starport), -1, 'E', 0, 5); }

int TStar::SpPIndex() const {
    switch (First(Spaceport)) {
    case 'F': return 0;
    case 'G': return 1;
    case 'H': return 2;
    default: return 3;
    }
}

int TStar::TLIndex() const {
    const char c = First(techLevel_);
    const TUniverse* u = Universe();
    if (u && u->UseAltTL) {
        const int code = Decode(c, 0, 'F', 10, 16);  // 16: any other character uses TLG
        return u->TLAltValue[static_cast<std::size_t>(code)];
    }
    return Decode(c, 0, 'F', 10, 16);
}

std::string TStar::TechLevel() const {
    const TUniverse* u = Universe();
    if (u && u->UseAltTL) return HexCodeText(TLIndex());
    return techLevel_;
}

std::string TStar::TradeCodesStr() const {
    const char sc = UPCChar(0);
    const int s = (sc >= '0' && sc <= '9') ? sc - '0' : (sc == 'A' ? 10 : 1);
    const int a = TradeValue(UPCChar(1));
    const int h = TradeValue(UPCChar(2));
    const int p = TradeValue(UPCChar(3));
    const int g = TradeValue(UPCChar(4));
    std::string out;
    if (a >= 4 && a <= 9 && h >= 4 && h <= 8 && p >= 5 && p <= 7) out += "Agr ";
    if (a <= 3 && h <= 3 && p >= 6) out += "NAg ";
    if ((a == 0 || a == 1 || a == 2 || a == 4 || a == 7 || a == 9) && p >= 9) out += "Ind ";
    if (p <= 6) out += "NI ";
    if ((a == 6 || a == 8) && g >= 4 && g <= 9 && p >= 6 && p <= 8) out += "Rich ";
    if (a >= 2 && a <= 5 && h <= 3) out += "Poor ";
    if (a == 0) out += "V ";
    if (s == 0) out += "AB ";
    if (a <= 1 && h >= 1) out += "IC ";
    if (h == 0 && a >= 2) out += "D ";
    if (h == 10) out += "W ";
    return out;
}

TSector* TStar::Sector() const {
    return dynamic_cast<TSector*>(Owner());
}

TUniverse* TStar::Universe() const {
    for (TManager* m = Owner(); m; m = m->Owner())
        if (auto* u = dynamic_cast<TUniverse*>(m)) return u;
    return nullptr;
}

std::string TStar::SectorName() const {
    if (rare_ && !rare_->SectorName.empty()) return rare_->SectorName;
    if (const TSector* s = Sector()) return s->Name1;
    return {};
}

int TStar::SubSectorCoordsX() const {
    const TSector* s = Sector();
    const int k = s ? s->FindSubsector(SubSectorName) : 0;
    return TSectorHex::SubsectorColumnOf(k);
}

int TStar::SubSectorCoordsY() const {
    const TSector* s = Sector();
    const int k = s ? s->FindSubsector(SubSectorName) : 0;
    return TSectorHex::SubsectorRowOf(k);
}

int TStar::SectorCoordsX() const {
    const TSector* s = Sector();
    return s ? s->SectorCoordsX : 0;
}

int TStar::SectorCoordsY() const {
    const TSector* s = Sector();
    return s ? s->SectorCoordsY : 0;
}

int TStar::SectorHexColumn() const {
    return TSectorHex::InSubsector(SubSectorCoordsX(), 0, StarCoordsX, 0).Column;
}

int TStar::SectorHexRow() const {
    return TSectorHex::InSubsector(0, SubSectorCoordsY(), 0, StarCoordsY).Row;
}
