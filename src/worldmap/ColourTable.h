#pragma once
// The colour of every shade class of a world map. Classes 1-15 are water from
// deep to shallow, 16-31 land from low to high, 32 ice over water, 33-48 ice
// over land; 0 and 49 are black and never produced by the map itself (0 is
// the black of the grid in the displayed picture).

#include <array>
#include <cstdint>

namespace orbiscarta {

struct Rgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr int kColourClasses = 50;

inline constexpr std::array<Rgb, kColourClasses> kColourTable = {{
    {0, 0, 0},       {0, 0, 68},      {0, 17, 102},    {0, 51, 136},    {0, 85, 170},
    {0, 119, 187},   {0, 153, 221},   {0, 204, 255},   {34, 221, 255},  {68, 238, 255},
    {102, 255, 255}, {119, 255, 255}, {136, 255, 255}, {153, 255, 255}, {170, 255, 255},
    {187, 255, 255}, {0, 68, 0},      {34, 102, 0},    {34, 136, 0},    {119, 170, 0},
    {187, 221, 0},   {255, 187, 34},  {238, 170, 34},  {221, 136, 34},  {204, 136, 34},
    {187, 102, 34},  {170, 85, 34},   {153, 85, 34},   {136, 68, 34},   {119, 51, 34},
    {85, 51, 17},    {68, 34, 0},     {255, 255, 255}, {250, 250, 250}, {245, 245, 245},
    {240, 240, 240}, {235, 235, 235}, {230, 230, 230}, {225, 225, 225}, {220, 220, 220},
    {215, 215, 215}, {210, 210, 210}, {205, 205, 205}, {200, 200, 200}, {195, 195, 195},
    {190, 190, 190}, {185, 185, 185}, {180, 180, 180}, {175, 175, 175}, {0, 0, 0},
}};

// Flag byte that marks a cell value as a palette-relative colour.
inline constexpr std::int32_t kPaletteRelativeFlag = 0x02000000;

// The value CreateMap stores for a shade class: flag byte, then blue, green, red.
constexpr std::int32_t CellColour(int shadeClass) {
    const Rgb& c = kColourTable[static_cast<std::size_t>(shadeClass)];
    return kPaletteRelativeFlag + c.B * 65536 + c.G * 256 + c.R;
}

}  // namespace orbiscarta
