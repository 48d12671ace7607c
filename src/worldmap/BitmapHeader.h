#pragma once
// The header of an uncompressed Windows bitmap with a colour table, rows
// stored from the bottom up at 96 dots per inch: one writer for the world
// map pictures (8 bits a pixel) and the star map pictures (4 bits a pixel).

#include <cstdint>
#include <vector>

namespace worldmap {

struct BitmapColour {
    std::uint8_t R = 0, G = 0, B = 0;
};

// Bytes per pixel row: padded to a multiple of 4.
std::int64_t BitmapRowBytes(std::int64_t width, int bitsPerPixel);

// File header, information header and colour table of a width x height
// picture; the pixel rows follow. False when the file would exceed the
// format's 4 GB.
bool BitmapHeader(std::int64_t width, std::int64_t height, int bitsPerPixel,
                  const std::vector<BitmapColour>& colours, std::vector<std::uint8_t>& header);

// Packs one row of 4-bit colour indices two to a byte, high nibble first.
void PackNibbles(const std::uint8_t* indices, int width, std::uint8_t* packed);

}  // namespace worldmap
