// libFuzzer target for the sector-file import: any bytes, imported into an
// empty sector of a small universe that already has stars and allegiances.
// Besides not crashing, every imported system must lie in the sector, and the
// sector exported as a T5 file must import back whole unless the export
// listed a change.

#include "DefineUniverse.h"
#include "ImportSec.h"
#include "SectorExport.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

std::unique_ptr<TUniverse> SmallUniverse() {
    auto u = TUniverse::CreateNew();
    for (int k = 0; k < 2; ++k) {
        TSector* s = u->Sectors()->Create<TSector>();
        s->Name1 = k == 0 ? "Home" : "Target";
        s->SectorCoordsX = k + 1;
        s->SectorCoordsY = 1;
        for (int i = 0; i < 16; ++i) s->SSName[static_cast<std::size_t>(i)] = std::string(1, static_cast<char>('a' + i));
    }
    TSector* home = u->FindSector("Home");
    for (const char* name : {"Nova", "Nova (2)", "Star788899"}) {
        TStar* st = home->Create<TStar>();
        st->Name1 = name;
        st->SubSectorName = "a";
        st->StarCoordsX = 1;
        st->StarCoordsY = 1;
    }
    for (const char* code : {"Cv", "S", ""}) {
        TAllegiance* a = u->Allegiances()->Create<TAllegiance>();
        a->Name1 = std::string("Allegiance ") + code;
        a->ImportCode = code;
    }
    return u;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto u = SmallUniverse();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TSectorImportResult r = ImportSectorText(*u, "Target", text);
    const TSector* target = u->FindSector("Target");
    const auto stars = target->Stars();
    if (static_cast<int>(stars.size()) != r.StarsImported) std::abort();
    for (const TStar* s : stars) {
        if (s->StarCoordsX < 1 || s->StarCoordsX > 8 || s->StarCoordsY < 1 || s->StarCoordsY > 10) std::abort();
        if (!target->FindSubsector(s->SubSectorName) || s->Name1.empty() || s->UPC.size() != 6) std::abort();
        if (s->HexX < 33 || s->HexX > 64 || s->HexY < 1 || s->HexY > 40) std::abort();
    }
    if (!r.Ok() && (r.StarsImported != 0 || !r.Lines.empty())) std::abort();
    for (TSectorFormat format : {TSectorFormat::T5Tab, TSectorFormat::T5Column}) {
        std::vector<std::string> lines;
        const std::string exported = SectorFileText(*u, *target, format, lines);
        auto again = SmallUniverse();
        // With the allegiances the first import added, nothing is added again.
        for (const TAllegiance* a : u->Allegiances()->ChildrenOf<TAllegiance>())
            if (!again->FindAllegiance(a->Name1)) {
                TAllegiance* copy = again->Allegiances()->Create<TAllegiance>();
                copy->Name1 = a->Name1;
                copy->ImportCode = a->ImportCode;
            }
        const TSectorImportResult back = ImportSectorText(*again, "Target", exported);
        // A system the export had to change (and listed) may read back otherwise.
        if (lines.empty() && !stars.empty() &&
            (!back.Ok() || !back.Lines.empty() || back.StarsImported != r.StarsImported))
            std::abort();
    }
    return 0;
}
