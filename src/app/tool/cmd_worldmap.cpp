// hexlane-tool worldmap: plots a world map through the orbiscarta library
// beside the tool and writes the picture as the world map dialog shows it
// (display palette and grid), optionally with the raw cells.

#include "Command.h"

#if defined(HAVE_HEXLANE_WORLDMAP_LOADER)

#include "worldmap/WorldMapLoader.h"
#include "worldmap/WorldPicture.h"

#include <charconv>
#include <fstream>

namespace {

bool ParseInt(const std::string& text, std::int32_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end && !text.empty();
}

// Writes the cells as little-endian 32-bit integers, in the buffer's order.
bool WriteRawCells(const std::string& file, const std::vector<std::int32_t>& cells) {
    std::vector<char> bytes;
    bytes.reserve(cells.size() * 4);
    for (std::int32_t cell : cells) {
        const auto v = static_cast<std::uint32_t>(cell);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

int RunWorldMap(const tool::Args& arguments) {
    tool::Args args = arguments;
    worldmap::MapRequest request;
    struct Option {
        const char* name;
        std::int32_t* target;
        bool required;
    };
    const Option options[] = {
        {"--seed", &request.Seed, true},          {"--faults", &request.FaultCount, true},
        {"--water", &request.WaterPercent, false}, {"--ice", &request.IcePercent, false},
        {"--width", &request.Width, false},       {"--height", &request.Height, false},
    };
    for (const Option& option : options) {
        std::string text;
        if (!tool::TakeOption(args, option.name, text)) {
            if (option.required) return tool::UsageError("worldmap");
            continue;
        }
        if (!ParseInt(text, *option.target))
            return tool::Fail(std::string(option.name) + ": not a whole number: " + text);
    }
    std::string rawFile;
    const bool raw = tool::TakeOption(args, "--raw", rawFile);
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') return tool::UsageError("worldmap");
    const std::string pictureFile = args[0];

    const worldmap::PlotResult result = worldmap::PlotWorld(request);
    if (!result.Plotted()) return tool::Fail(result.Error);

    worldmap::WorldPicture picture = worldmap::PictureFromCells(result.Cells, request.Width, request.Height);
    worldmap::DrawGrid(picture);
    if (!worldmap::SaveBitmap(pictureFile, picture)) return tool::Fail("Unable to write " + pictureFile);
    if (raw && !WriteRawCells(rawFile, result.Cells)) return tool::Fail("Unable to write " + rawFile);
    return 0;
}

tool::RegisterCommand registerWorldMap(
    "worldmap",
    "worldmap OUT.bmp --seed N --faults N [--water P] [--ice P] [--width N --height M] [--raw CELLS.bin]",
    RunWorldMap);

}  // namespace

#endif
