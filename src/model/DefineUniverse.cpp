#include "DefineUniverse.h"
#include "SectorHex.h"

#include <algorithm>
#include <cstdlib>

std::unique_ptr<TUniverse> TUniverse::CreateNew() {
    auto u = std::make_unique<TUniverse>();
    u->Create<TRoutes>();
    u->Create<TSectors>();
    u->Create<TAllegiances>();
    return u;
}

namespace {

template <class T>
T* LastChildOf(const TManager& m) {
    T* found = nullptr;
    for (const auto& c : m.Children())
        if (auto* t = dynamic_cast<T*>(c.get())) found = t;
    return found;
}

}  // namespace

TRoutes* TUniverse::Routes() const { return LastChildOf<TRoutes>(*this); }
TSectors* TUniverse::Sectors() const { return LastChildOf<TSectors>(*this); }
TAllegiances* TUniverse::Allegiances() const { return LastChildOf<TAllegiances>(*this); }

void TUniverse::SetHexSize(int size) {
    HexSize = size;
    HalfHexX = size / 2;
    HalfHexY = size / 2;
}

TStar* TUniverse::FindStar(const std::string& name) const {
    TStar* found = nullptr;
    if (TSectors* sectors = Sectors()) {
        for (const auto& s : sectors->Children()) {
            if (!As<TSector>(s.get())) continue;
            for (const auto& c : s->Children()) {
                if (c->Name1 == name)
                    if ((found = As<TStar>(c.get()))) return found;
            }
        }
    }
    return found;
}

std::string TUniverse::UniqueStarName(const std::string& name) const {
    if (!FindStar(name)) return name;
    for (int n = 2;; ++n) {
        std::string candidate = name + " (" + std::to_string(n) + ")";
        if (!FindStar(candidate)) return candidate;
    }
}

TAllegiance* TUniverse::FindAllegiance(std::string_view name) const {
    if (TAllegiances* all = Allegiances())
        for (const auto& c : all->Children())
            if (auto* a = dynamic_cast<TAllegiance*>(c.get()); a && a->Name1 == name) return a;
    return nullptr;
}

TAllegiance* TUniverse::FindAllegianceByImportCode(std::string_view code) const {
    if (TAllegiances* all = Allegiances())
        for (const auto& c : all->Children())
            if (auto* a = dynamic_cast<TAllegiance*>(c.get()); a && a->ImportCode == code) return a;
    return nullptr;
}

TRoute* TUniverse::FindRoute(const std::string& name) const {
    if (TRoutes* routes = Routes())
        for (const auto& c : routes->Children())
            if (auto* r = dynamic_cast<TRoute*>(c.get()); r && r->Name1 == name) return r;
    return nullptr;
}

TSector* TUniverse::FindSector(const std::string& name) const {
    if (TSectors* sectors = Sectors())
        for (const auto& c : sectors->Children())
            if (auto* s = dynamic_cast<TSector*>(c.get()); s && s->Name1 == name) return s;
    return nullptr;
}

namespace {

// Floor division by 2, so that columns of 0 and below keep the odd/even layout.
int HalfFloor(int x) {
    return x >= 0 ? x / 2 : -((-x + 1) / 2);
}

}  // namespace

void TUniverse::ComputeExtent() {
    MinHexX = 5000;
    MinHexY = 5000;
    MaxHexX = -1;
    MaxHexY = -1;
    MinSectorX = 100;
    MinSectorY = 100;
    MaxSectorX = 0;
    MaxSectorY = 0;
    if (TSectors* sectors = Sectors()) {
        for (const auto& s : sectors->Children()) {
            auto* sector = As<TSector>(s.get());
            if (!sector) continue;
            // In 64 bits and wrapped back to 32, as the stored coordinates of a
            // damaged or hand-made file can be anything.
            const long long baseX = (static_cast<long long>(sector->SectorCoordsX) - 1) * 32;
            const long long baseY = (static_cast<long long>(sector->SectorCoordsY) - 1) * 40;
            const bool shown = !sector->ExcludeFromDisplay();
            for (const auto& c : sector->Children()) {
                auto* star = As<TStar>(c.get());
                if (!star) continue;
                const TSectorHex hex = TSectorHex::AtPosition(sector->FindSubsector(star->SubSectorName),
                                                              star->StarCoordsX, star->StarCoordsY);
                star->HexX = static_cast<int>(hex.Column + baseX);
                star->HexY = static_cast<int>(hex.Row + baseY);
                star->DistX = star->HexX;
                star->DistZ = static_cast<int>(star->HexY + static_cast<long long>(HalfFloor(star->HexX)));
                if (!shown || !star->Visible) continue;
                if (star->HexX < MinHexX) MinHexX = star->HexX;
                if (star->HexY < MinHexY) MinHexY = star->HexY;
                if (star->HexX > MaxHexX) MaxHexX = star->HexX;
                if (star->HexY > MaxHexY) MaxHexY = star->HexY;
                if (sector->SectorCoordsX < MinSectorX) MinSectorX = sector->SectorCoordsX;
                if (sector->SectorCoordsY < MinSectorY) MinSectorY = sector->SectorCoordsY;
                if (sector->SectorCoordsX > MaxSectorX) MaxSectorX = sector->SectorCoordsX;
                if (sector->SectorCoordsY > MaxSectorY) MaxSectorY = sector->SectorCoordsY;
            }
        }
    }
    if (MinHexX != 0 && MinHexX % 2 == 0) --MinHexX;
}

int TUniverse::StarDistance(const TStar* a, const TStar* b) {
    if (!a || !b) return -1;
    return HexDistance(a->DistX, a->DistZ, b->DistX, b->DistZ);
}

std::string TUniverse::TechLevelText(int index) const {
    if (UseAltTL) return TLAltDesc[static_cast<std::size_t>(index >= 0 && index <= 16 ? index : 16)];
    static const char* const texts[17] = {
        "0 - Stone Age. Primitive",   "1 - Bronze Age to Middle Ages.", "2 - circa 1400 - 1700",
        "3 - circa 1700 - 1860",      "4 - circa 1860 - 1900",          "5 - circa 1900 - 1939",
        "6 - circa 1940 - 1969",      "7 - circa 1970 - 1999",          "8 - circa 2000 - 2029",
        "9 - circa 2030 - 2059",      "A - Interstellar community",     "B - Average Imperial",
        "C - Average Imperial",       "D - Above Average Imperial",     "E - Above Average Imperial",
        "F - Technical maximum Imperial", "G - Occasional non-Imperial",
    };
    return texts[index >= 0 && index <= 16 ? index : 16];
}

TStar* TUniverse::StarAtPoint(int px, int py) const {
    const int h = HexSize / 2;
    TSectors* sectors = Sectors();
    if (!sectors) return nullptr;
    // Only drawn stars: hidden ones sit at (-1, -1) and those of an excluded
    // sector at (0, 0), which would otherwise catch points in the picture's
    // top-left corner and name a star nobody can see.
    for (TSector* sector : sectors->ChildrenOf<TSector>()) {
        if (sector->ExcludeFromDisplay()) continue;
        for (TStar* s : sector->ChildrenOf<TStar>())
            if (s->Visible && s->PictureX - h < px && px < s->PictureX + h && s->PictureY - h < py &&
                py < s->PictureY + h)
                return s;
    }
    return nullptr;
}

TUniverse::StarInfo TUniverse::StarInfoAtPoint(int px, int py) const {
    const TStar* s = StarAtPoint(px, py);
    if (!s) return {};
    return {s->Name1, s->SubSectorName, s->SectorName(), s->Starport + " " + s->UPC + " " + s->TechLevel()};
}

void MarkChanged(TUniverse& universe) {
    universe.ManagerRequiresSaving = true;
}
