#pragma once
// The C interface of the orbiscarta world-map library: one export, CreateMap,
// with seven 32-bit arguments and a 32-bit result. On 32-bit Windows it uses
// the standard calling convention and is exported under its bare name.

#include <cstdint>

#if defined(_WIN32)
#define ORBISCARTA_CALL __stdcall
#else
#define ORBISCARTA_CALL
#endif

#if defined(ORBISCARTA_BUILDING) && !defined(_WIN32)
#define ORBISCARTA_EXPORT __attribute__((visibility("default")))
#else
// On Windows the module definition file exports the undecorated name.
#define ORBISCARTA_EXPORT
#endif

extern "C" {

// Fills Cells (N*M 32-bit cells, column by column) with the colours of a
// fractal world map. Returns 1 on success, 0 when the working memory cannot be
// had or the size is unusable; on 0 the buffer is left as it was.
ORBISCARTA_EXPORT std::int32_t ORBISCARTA_CALL CreateMap(std::int32_t Seed, std::int32_t FaultCount,
                                                         std::int32_t N, std::int32_t M,
                                                         std::int32_t WaterPercent,
                                                         std::int32_t IcePercent, std::int32_t* Cells);
}

namespace orbiscarta {

// Pointer to CreateMap as looked up at run time.
using CreateMapFunction = std::int32_t(ORBISCARTA_CALL*)(std::int32_t, std::int32_t, std::int32_t,
                                                         std::int32_t, std::int32_t, std::int32_t,
                                                         std::int32_t*);

// Largest map (N*M cells) the library accepts; larger requests return 0.
inline constexpr std::int64_t kMaxCells = std::int64_t{1} << 25;

// True when N and M are positive and N*M is at most kMaxCells.
constexpr bool ValidMapSize(std::int32_t n, std::int32_t m) {
    return n > 0 && m > 0 && std::int64_t{n} * m <= kMaxCells;
}

// Name under which the library exports its entry point.
inline constexpr const char* kCreateMapExport = "CreateMap";

}  // namespace orbiscarta
