// Loading orbiscarta for one plot.

#include "worldmap/WorldMapLoader.h"

#include "worldmap/Orbiscarta.h"
#include "worldmap/SharedLibrary.h"

namespace worldmap {

std::filesystem::path LibraryPath(const std::filesystem::path& folder) {
    return folder / LibraryFileName();
}

PlotResult PlotWorld(const MapRequest& request) { return PlotWorld(request, ExecutableFolder()); }

PlotResult PlotWorld(const MapRequest& request, const std::filesystem::path& folder) {
    PlotResult result;
    auto fail = [&](PlotStatus status, const char* text) {
        result.Status = status;
        result.Error = text;
        result.Cells.clear();
        return result;
    };
    if (!orbiscarta::ValidMapSize(request.Width, request.Height))
        return fail(PlotStatus::InvalidSize, kSizeOutOfRange);
    if (folder.empty() || !folder.is_absolute()) {
        result.LoadError = "the program's folder is unknown";
        return fail(PlotStatus::LoadFailed, kUnableToLoad);
    }

    const SharedLibrary library(LibraryPath(folder));
    if (!library.Loaded()) {
        result.LoadError = library.LoadError();
        return fail(PlotStatus::LoadFailed, kUnableToLoad);
    }
    const auto createMap =
        reinterpret_cast<orbiscarta::CreateMapFunction>(library.Find(orbiscarta::kCreateMapExport));
    if (createMap == nullptr) return fail(PlotStatus::MissingExport, kMissingCreateMap);

    result.Cells.assign(static_cast<std::size_t>(request.Width) * static_cast<std::size_t>(request.Height), 0);
    const std::int32_t status = createMap(request.Seed, request.FaultCount, request.Width, request.Height,
                                          request.WaterPercent, request.IcePercent, result.Cells.data());
    // Anything but 1 is a failure; the buffer then holds no map.
    if (status != 1) return fail(PlotStatus::GeneratorFailed, kGeneratorFailed);
    result.Status = PlotStatus::Plotted;
    return result;
}

}  // namespace worldmap
