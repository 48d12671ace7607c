// A library under the world-map library's file name that lacks CreateMap.

#include <cstdint>

#if defined(_WIN32)
#define FAKE_EXPORT __declspec(dllexport)
#else
#define FAKE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" FAKE_EXPORT std::int32_t CreateMaps(std::int32_t* cells) {
    if (cells) cells[0] = 1;
    return 1;
}
