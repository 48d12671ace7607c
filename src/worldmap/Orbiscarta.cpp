// The library's one export. Nothing is kept between calls; every exception
// stops here, so none crosses into the caller.

#define ORBISCARTA_BUILDING 1
#include "worldmap/Orbiscarta.h"

#include "worldmap/FractalMap.h"

extern "C" ORBISCARTA_EXPORT std::int32_t ORBISCARTA_CALL CreateMap(std::int32_t Seed, std::int32_t FaultCount,
                                                                    std::int32_t N, std::int32_t M,
                                                                    std::int32_t WaterPercent,
                                                                    std::int32_t IcePercent, std::int32_t* Cells) {
    try {
        const orbiscarta::MapParameters p{Seed, FaultCount, N, M, WaterPercent, IcePercent};
        return orbiscarta::GenerateMap(p, Cells, orbiscarta::FaultMarking::Threaded) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
