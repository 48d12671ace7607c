#pragma once
// Plots a world map through the orbiscarta library: loads it from the
// program's own folder or the installation's library folder (or a given one), calls CreateMap once and unloads it.
// Nothing of the library stays loaded between plots.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace worldmap {

inline constexpr const char* kUnableToLoad = "Unable to Load Orbiscarta.DLL";
inline constexpr const char* kMissingCreateMap = "Orbiscarta.DLL does not provide CreateMap";
inline constexpr const char* kGeneratorFailed = "Error in map generating dll";
inline constexpr const char* kSizeOutOfRange = "The map size is out of range";

// Width and height the world map dialog plots.
inline constexpr int kMapWidth = 640;
inline constexpr int kMapHeight = 480;

struct MapRequest {
    std::int32_t Seed = 1;          // "Map Index"
    std::int32_t FaultCount = 500;  // "Skewing"
    std::int32_t Width = kMapWidth;
    std::int32_t Height = kMapHeight;
    std::int32_t WaterPercent = 70;
    std::int32_t IcePercent = 3;
};

enum class PlotStatus {
    Plotted,          // Cells holds the map
    LoadFailed,       // the library file is missing or cannot be loaded
    MissingExport,    // the library has no CreateMap; nothing was called
    GeneratorFailed,  // CreateMap returned 0 (or anything but 1)
    InvalidSize,      // width or height out of range; nothing was loaded
};

struct PlotResult {
    PlotStatus Status = PlotStatus::LoadFailed;
    std::string Error;                // the message to show; empty when plotted
    std::string LoadError;            // the loader's reason when the library did not load
    std::vector<std::int32_t> Cells;  // Width*Height colours, column by column
    bool Plotted() const { return Status == PlotStatus::Plotted; }
};

// File name of the library on this platform
// ("Orbiscarta.dll", "liborbiscarta.so", "liborbiscarta.dylib").
std::string LibraryFileName();

// Full path of the library in a folder.
std::filesystem::path LibraryPath(const std::filesystem::path& folder);

// The folder the library is loaded from: the running program's own folder
// when the library is there, else the installation's library folder
// relative to the program (bin/../lib) when it is there, else the program's.
std::filesystem::path InstalledLibraryFolder();

// Plots with the library of InstalledLibraryFolder().
PlotResult PlotWorld(const MapRequest& request);
// Plots with the library in the given folder.
PlotResult PlotWorld(const MapRequest& request, const std::filesystem::path& folder);

}  // namespace worldmap
