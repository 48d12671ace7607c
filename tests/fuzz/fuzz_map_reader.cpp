// libFuzzer target for the map-file reader: any bytes must end in success or
// the one read failure, never a crash, a hang or a sanitizer finding. What
// reads is written and read again; from then on the bytes must be stable.

#include "DefineUniverse.h"
#include "ObjectStream.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    auto universe = TUniverse::CreateNew();
    if (hexlane::ReadObjectStreamInto(*universe, bytes)) {
        universe->ComputeExtent();
        std::string first;
        hexlane::WriteObjectStream(*universe, first);
        auto again = std::make_unique<TUniverse>();
        if (!hexlane::ReadObjectStreamInto(*again, first)) std::abort();
        std::string second;
        hexlane::WriteObjectStream(*again, second);
        auto third = std::make_unique<TUniverse>();
        if (!hexlane::ReadObjectStreamInto(*third, second)) std::abort();
        std::string check;
        hexlane::WriteObjectStream(*third, check);
        if (check != second) std::abort();
    }
    // The same bytes as a free-standing object (the copy path).
    if (auto obj = hexlane::ReadObjectStream(bytes)) {
        std::string out;
        hexlane::WriteObjectStream(*obj, out);
    }
    return 0;
}
