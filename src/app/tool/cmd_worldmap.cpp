// hexlane-tool worldmap: plots a world map through the orbiscarta library
// beside the tool and writes the picture as the world map dialog shows it
// (display palette and grid), optionally with the raw cells.

#include "Command.h"

#if defined(HAVE_HEXLANE_WORLDMAP_LOADER)

#include "worldmap/WorldMapLoader.h"
#include "worldmap/WorldPicture.h"

#include "FileIO.h"
#include "worldmap/Orbiscarta.h"

#include <optional>

namespace {

// Largest side the tool plots: wider maps are neither shown by the world map
// dialog (640 x 480) nor plotted by the library in a reasonable time; the
// cells of both sides together stay within the library's limit.
constexpr std::int32_t kMaxSide = 8192;

// The cells as little-endian 32-bit integers, in the buffer's order.
std::vector<char> RawCells(const std::vector<std::int32_t>& cells) {
    std::vector<char> bytes;
    bytes.reserve(cells.size() * 4);
    for (std::int32_t cell : cells) {
        const auto v = static_cast<std::uint32_t>(cell);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
    return bytes;
}

struct WorldMapOptions {
    worldmap::MapRequest request;
    std::string picture, raw;
};

bool Write(hexlane::ReplacingOutputFile& file, const void* data, std::size_t size) {
    return std::fwrite(data, 1, size, file.Handle()) == size;
}

int RunWorldMap(const WorldMapOptions& o) {
    const worldmap::MapRequest& request = o.request;
    if (!orbiscarta::ValidMapSize(request.Width, request.Height)) return tool::Fail(worldmap::kSizeOutOfRange);
    // One file for both outputs would end up holding only one of them.
    if (!o.raw.empty() && hexlane::SameFile(o.picture, o.raw))
        return tool::UsageFail("worldmap", "--raw: the picture and the raw cells must be two files: " + o.raw);
    // Both files are opened before the plot, so that a file that cannot be
    // written is reported before the work.
    hexlane::ReplacingOutputFile picture(o.picture);
    if (!picture.Open()) return tool::Fail("Error Creating Filestream");
    std::optional<hexlane::ReplacingOutputFile> raw;
    if (!o.raw.empty()) {
        raw.emplace(o.raw);
        if (!raw->Open()) return tool::Fail("Error Creating Filestream");
    }

    const worldmap::PlotResult result = worldmap::PlotWorld(request);
    if (!result.Plotted())
        return tool::Fail(result.LoadError.empty() ? result.Error : result.Error + ": " + result.LoadError);

    worldmap::WorldPicture image = worldmap::PictureFromCells(result.Cells, request.Width, request.Height);
    worldmap::DrawGrid(image);
    const std::vector<std::uint8_t> bitmap = worldmap::EncodeBitmap(image);
    if (!Write(picture, bitmap.data(), bitmap.size())) return tool::Fail("Unable to write " + o.picture);
    if (raw) {
        const std::vector<char> cells = RawCells(result.Cells);
        if (!Write(*raw, cells.data(), cells.size())) return tool::Fail("Unable to write " + o.raw);
        // Both files or neither.
        if (!hexlane::ReplacingOutputFile::CommitAll({&picture, &*raw}))
            return tool::Fail("Unable to write " + o.picture + " and " + o.raw);
    } else if (!picture.Commit()) {
        return tool::Fail("Unable to write " + o.picture);
    }
    return 0;
}

tool::RegisterCommand registerWorldMap(
    "worldmap",
    "worldmap OUT.bmp --seed N --faults N [--water P] [--ice P] [--width N --height M] [--raw CELLS.bin]",
    "Plots a world map through the world-map library and writes it as the world map dialog shows it.",
    [](CLI::App& app) {
        auto o = std::make_shared<WorldMapOptions>();
        worldmap::MapRequest& r = o->request;
        tool::AddFile(app, "OUT.bmp", o->picture, "the picture file (a Windows bitmap)");
        // The world map dialog's ranges.
        app.add_option("--seed", r.Seed, "the map index 1-32767")->required()->check(CLI::Range(1, 32767));
        app.add_option("--faults", r.FaultCount, "the skewing 500-32767")->required()->check(CLI::Range(500, 32767));
        app.add_option("--water", r.WaterPercent, "the water cover in percent 0-100")->check(CLI::Range(0, 100));
        app.add_option("--ice", r.IcePercent, "the ice cover in percent 0-100")->check(CLI::Range(0, 100));
        const std::string side = "1-" + std::to_string(kMaxSide) + " pixels";
        app.add_option("--width", r.Width, "the width in " + side)->check(CLI::Range(1, kMaxSide));
        app.add_option("--height", r.Height, "the height in " + side)->check(CLI::Range(1, kMaxSide));
        app.add_option("--raw", o->raw, "also write the cells as 32-bit little-endian integers")
            ->type_name("CELLS.bin")
            ->check(tool::NonEmptyFileName);
        return [o] { return RunWorldMap(*o); };
    });

}  // namespace

#endif
