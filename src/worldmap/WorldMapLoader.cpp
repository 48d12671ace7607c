// Loading orbiscarta for one plot.

#include "worldmap/WorldMapLoader.h"

#include "worldmap/Orbiscarta.h"
#include "SharedLibrary.h"

namespace worldmap {

using hexlane::ExecutableFolder;
using hexlane::SharedLibrary;

std::string LibraryFileName() {
#if defined(_WIN32)
    return "Orbiscarta.dll";
#elif defined(__APPLE__)
    return "liborbiscarta.dylib";
#else
    return "liborbiscarta.so";
#endif
}

std::filesystem::path LibraryPath(const std::filesystem::path& folder) {
    return folder / LibraryFileName();
}

std::filesystem::path InstalledLibraryFolder() {
    const std::filesystem::path program = ExecutableFolder();
    if (program.empty()) return {};
    // Beside the program (the build folder, a Windows installation), else in
    // the installation's library folder; never the working folder.
    if (std::error_code error; std::filesystem::is_regular_file(LibraryPath(program), error)) return program;
#ifdef HEXLANE_LIBRARY_FROM_PROGRAM
    const std::filesystem::path installed = (program / HEXLANE_LIBRARY_FROM_PROGRAM).lexically_normal();
    if (std::error_code error; std::filesystem::is_regular_file(LibraryPath(installed), error)) return installed;
#endif
    return program;
}

PlotResult PlotWorld(const MapRequest& request) { return PlotWorld(request, InstalledLibraryFolder()); }

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
