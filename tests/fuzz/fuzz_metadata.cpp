// libFuzzer target for the sector metadata import: any bytes, read into a
// sector of a small universe with systems and a route. Besides not crashing,
// a file that was read changes the map only in ways the export writes back
// readably: the sector's metadata exported after the import must import
// again.

#include "DefineUniverse.h"
#include "SectorMetadata.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

std::unique_ptr<TUniverse> SmallUniverse() {
    auto u = TUniverse::CreateNew();
    for (int k = 0; k < 2; ++k) {
        TSector* s = u->Sectors()->Create<TSector>();
        s->Name1 = k == 0 ? "Home" : "East";
        s->SectorCoordsX = k + 1;
        s->SectorCoordsY = 1;
        for (int i = 0; i < 16; ++i) s->SSName[static_cast<std::size_t>(i)] = std::string(1, static_cast<char>('a' + i));
    }
    int n = 0;
    for (TSector* s : {u->FindSector("Home"), u->FindSector("East")})
        for (int x = 1; x <= 2; ++x) {
            TStar* st = s->Create<TStar>();
            st->Name1 = "Star " + std::to_string(++n);
            st->SubSectorName = "a";
            st->StarCoordsX = x;
            st->StarCoordsY = 1;
        }
    return u;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto u = SmallUniverse();
    TSector& home = *u->FindSector("Home");
    const TMetadataImportResult r =
        ImportSectorMetadataText(*u, home, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!r.Ok) return 0;
    const std::string xml = SectorMetadataXml(*u, home, {});
    if (!ImportSectorMetadataText(*u, home, xml).Ok) std::abort();
    return 0;
}
