#include "worldmap/BitmapHeader.h"

namespace worldmap {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::int64_t BitmapRowBytes(std::int64_t width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

bool BitmapHeader(std::int64_t width, std::int64_t height, int bitsPerPixel, const std::vector<BitmapColour>& colours,
                  std::vector<std::uint8_t>& out) {
    constexpr std::uint32_t kFileHeader = 14;
    constexpr std::uint32_t kInfoHeader = 40;
    constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch
    const std::int64_t offset = kFileHeader + kInfoHeader + 4 * static_cast<std::int64_t>(colours.size());
    const std::int64_t imageBytes = BitmapRowBytes(width, bitsPerPixel) * height;
    if (width <= 0 || height <= 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF || offset + imageBytes > 0xFFFFFFFFLL)
        return false;
    out.clear();
    out.reserve(static_cast<std::size_t>(offset));
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(offset + imageBytes));  // file size
    Put32(out, 0);                                                // reserved
    Put32(out, static_cast<std::uint32_t>(offset));              // offset of the pixels
    Put32(out, kInfoHeader);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));  // positive: rows stored from the bottom up
    Put16(out, 1);                                   // planes
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0);  // no compression
    Put32(out, static_cast<std::uint32_t>(imageBytes));
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, static_cast<std::uint32_t>(colours.size()));  // colours used
    Put32(out, 0);                                            // all colours important
    for (const BitmapColour& c : colours) {
        out.push_back(c.B);
        out.push_back(c.G);
        out.push_back(c.R);
        out.push_back(0);
    }
    return true;
}

void PackNibbles(const std::uint8_t* src, int width, std::uint8_t* dst) {
    for (int x = 0; x + 1 < width; x += 2)
        dst[x / 2] = static_cast<std::uint8_t>(((src[x] & 0xF) << 4) | (src[x + 1] & 0xF));
    if (width % 2) dst[width / 2] = static_cast<std::uint8_t>((src[width - 1] & 0xF) << 4);
}

}  // namespace worldmap
