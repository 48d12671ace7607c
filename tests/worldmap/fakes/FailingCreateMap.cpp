// A library under the world-map library's file name whose CreateMap fails.

#include "worldmap/Orbiscarta.h"

#if defined(_WIN32)
#define FAKE_EXPORT __declspec(dllexport)
#else
#define FAKE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" FAKE_EXPORT std::int32_t ORBISCARTA_CALL CreateMap(std::int32_t, std::int32_t, std::int32_t,
                                                              std::int32_t, std::int32_t, std::int32_t,
                                                              std::int32_t* cells) {
    if (cells) cells[0] = 99;  // a result of 0 says nothing valid was written
    return 0;
}
