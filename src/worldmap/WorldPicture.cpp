// Building the world map picture and writing it as a Windows bitmap.

#include "worldmap/WorldPicture.h"

#include "worldmap/BitmapHeader.h"

#include "FileIO.h"

#include <fstream>
#include <stdexcept>
#include <system_error>
#include <unordered_map>

namespace worldmap {

const std::array<Rgb, kDisplayColours>& DisplayPalette() {
    static const std::array<Rgb, kDisplayColours> palette = [] {
        std::array<Rgb, kDisplayColours> colours{};
        for (int i = 0; i < kDisplayColours; ++i) colours[static_cast<std::size_t>(i)] = orbiscarta::kColourTable[static_cast<std::size_t>(i)];
        return colours;
    }();
    return palette;
}

std::uint8_t PaletteIndexOf(std::int32_t cell) {
    const int r = cell & 0xFF;
    const int g = (cell >> 8) & 0xFF;
    const int b = (cell >> 16) & 0xFF;
    const auto& palette = DisplayPalette();
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < kDisplayColours; ++i) {
        const Rgb& c = palette[static_cast<std::size_t>(i)];
        const long dr = r - c.R, dg = g - c.G, db = b - c.B;
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<std::uint8_t>(best);
}

WorldPicture PictureFromCells(std::span<const std::int32_t> cells, int width, int height) {
    if (width <= 0 || height <= 0 ||
        cells.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("cells do not match the picture size");
    WorldPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.resize(cells.size());
    // A map has few distinct cell values; look each up once.
    std::unordered_map<std::int32_t, std::uint8_t> known;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const std::int32_t cell = cells[static_cast<std::size_t>(x) * static_cast<std::size_t>(height) + static_cast<std::size_t>(y)];
            auto found = known.find(cell);
            if (found == known.end()) found = known.emplace(cell, PaletteIndexOf(cell)).first;
            picture.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = found->second;
        }
    }
    return picture;
}

std::vector<int> GridColumns(int width) {
    std::vector<int> columns;
    for (int i = 0; i < 24; ++i) columns.push_back(i * width / 24);
    return columns;
}

std::vector<int> GridRows(int height) {
    // i*448/14 + 16 at a height of 480, i.e. the middle of each fifteenth.
    std::vector<int> rows;
    for (int i = 0; i < 15; ++i) rows.push_back(static_cast<int>(std::int64_t{height} * (2 * i + 1) / 30));
    return rows;
}

void DrawGrid(WorldPicture& picture) {
    const std::size_t w = static_cast<std::size_t>(picture.Width);
    for (int x : GridColumns(picture.Width))
        for (int y = 0; y < picture.Height; ++y) picture.Pixels[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)] = 0;
    for (int y : GridRows(picture.Height))
        for (int x = 0; x < picture.Width; ++x) picture.Pixels[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)] = 0;
}

std::vector<std::uint8_t> EncodeBitmap(const WorldPicture& picture) {
    if (picture.Width <= 0 || picture.Height <= 0 ||
        picture.Pixels.size() != static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height))
        throw std::invalid_argument("picture pixels do not match its size");
    const std::uint32_t width = static_cast<std::uint32_t>(picture.Width);
    const std::uint32_t height = static_cast<std::uint32_t>(picture.Height);
    const std::uint32_t stride = static_cast<std::uint32_t>(BitmapRowBytes(width, 8));
    std::vector<BitmapColour> colours;
    for (const Rgb& c : DisplayPalette()) colours.push_back({c.R, c.G, c.B});
    std::vector<std::uint8_t> out;
    if (!BitmapHeader(width, height, 8, colours, out)) throw std::invalid_argument("picture too large for a bitmap");
    out.reserve(out.size() + static_cast<std::size_t>(stride) * height);
    for (std::uint32_t row = height; row-- > 0;) {
        const auto first = picture.Pixels.begin() + static_cast<std::ptrdiff_t>(row * width);
        out.insert(out.end(), first, first + width);
        out.insert(out.end(), stride - width, 0);
    }
    return out;
}

bool SaveBitmap(const std::filesystem::path& file, const WorldPicture& picture) {
    const std::vector<std::uint8_t> bytes = EncodeBitmap(picture);
    const std::u8string name = file.u8string();
    hexlane::ReplacingOutputFile out(std::string(name.begin(), name.end()));
    return out.Open() && out.WriteAll(bytes.data(), bytes.size());
}

}  // namespace worldmap
