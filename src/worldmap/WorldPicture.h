#pragma once
// The world map as the dialog shows it: a picture over the display palette
// (shade classes 0-48 of the library's colour table) with the black grid of
// hour and latitude lines, and its Windows bitmap file.

#include "worldmap/ColourTable.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace worldmap {

using orbiscarta::Rgb;

inline constexpr int kDisplayColours = 49;

// Colours 0-48 of the library's colour table; entry 0 is black.
const std::array<Rgb, kDisplayColours>& DisplayPalette();

// Palette index whose colour a cell value stands for: the entry nearest to
// the value's red, green and blue bytes (the flag byte is ignored).
std::uint8_t PaletteIndexOf(std::int32_t cell);

// A picture of palette indices, row by row from the top.
struct WorldPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;

    std::uint8_t At(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
    }
};

// Pixel (x, y) takes the colour of cell x*height + y (cells column by column).
// Throws std::invalid_argument when the cells do not match the size.
WorldPicture PictureFromCells(std::span<const std::int32_t> cells, int width, int height);

// Grid columns and rows. At 640 x 480: 24 vertical lines at i*640/24 and 15
// horizontal lines at i*448/14 + 16; other sizes are scaled alike.
std::vector<int> GridColumns(int width);
std::vector<int> GridRows(int height);

// Draws the one-pixel black grid over the picture.
void DrawGrid(WorldPicture& picture);

// The picture as a Windows bitmap file: 8 bits a pixel over the display palette.
std::vector<std::uint8_t> EncodeBitmap(const WorldPicture& picture);

// Writes the bitmap to a file beside the target and renames it over the
// target, so a failed write leaves an existing file as it was.
bool SaveBitmap(const std::filesystem::path& file, const WorldPicture& picture);

}  // namespace worldmap
