// Loading orbiscarta for a plot: from the program's own folder, the failures
// the dialog reports, and the export's own handling of bad arguments.

#include "worldmap/ColourTable.h"
#include "worldmap/FractalMap.h"
#include "worldmap/Orbiscarta.h"
#include "SharedLibrary.h"
#include "worldmap/WorldMapLoader.h"
#include "worldmap/WorldPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

using namespace worldmap;
using hexlane::ExecutableFolder;
using hexlane::SharedLibrary;

namespace {

// A fresh empty folder, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("hexlane-worldmap-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::vector<std::int32_t> Reference(const MapRequest& r) {
    std::vector<std::int32_t> cells(static_cast<std::size_t>(r.Width) * static_cast<std::size_t>(r.Height));
    const orbiscarta::MapParameters p{r.Seed, r.FaultCount, r.Width, r.Height, r.WaterPercent, r.IcePercent};
    EXPECT_TRUE(orbiscarta::GenerateMap(p, cells.data(), orbiscarta::FaultMarking::Plain));
    return cells;
}

// The build names the fakes' folders by their POSIX paths; on Windows (run
// under Wine) such a path only becomes absolute with its drive.
std::filesystem::path FakeFolder(const char* folder) { return std::filesystem::absolute(folder); }

MapRequest Request(std::int32_t seed, std::int32_t faults) {
    MapRequest r;
    r.Seed = seed;
    r.FaultCount = faults;
    return r;
}

}  // namespace

TEST(Loader, PlotsWithTheLibraryBesideTheProgramAsThePlainComputationDoes) {
    for (const MapRequest& r : {Request(1, 500), Request(31000, 32767)}) {
        const PlotResult result = PlotWorld(r);
        ASSERT_TRUE(result.Plotted()) << result.Error;
        EXPECT_TRUE(result.Error.empty());
        EXPECT_EQ(result.Cells, Reference(r));
    }
    MapRequest small = Request(8, 900);
    small.Width = 50;
    small.Height = 31;
    const PlotResult explicitFolder = PlotWorld(small, ExecutableFolder());
    ASSERT_TRUE(explicitFolder.Plotted());
    EXPECT_EQ(explicitFolder.Cells, Reference(small));
}

TEST(Loader, ALibraryPlantedInTheWorkingFolderIsNeverLoaded) {
    TempFolder planted;
    { std::ofstream(LibraryPath(planted.Path())) << "not a library"; }
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(planted.Path());
    const PlotResult result = PlotWorld(Request(2, 600));
    std::filesystem::current_path(before);
    ASSERT_TRUE(result.Plotted()) << result.Error;
    EXPECT_EQ(result.Cells, Reference(Request(2, 600)));
}

TEST(Loader, AMissingOrBrokenLibraryCannotBeLoaded) {
    TempFolder empty;
    const PlotResult missing = PlotWorld(Request(1, 500), empty.Path());
    EXPECT_EQ(missing.Status, PlotStatus::LoadFailed);
    EXPECT_EQ(missing.Error, "Unable to Load Orbiscarta.DLL");
    EXPECT_TRUE(missing.Cells.empty());

    { std::ofstream(LibraryPath(empty.Path())) << "MZ garbage"; }
    EXPECT_EQ(PlotWorld(Request(1, 500), empty.Path()).Error, "Unable to Load Orbiscarta.DLL");

    // A relative folder would depend on the working folder: refused.
    EXPECT_EQ(PlotWorld(Request(1, 500), std::filesystem::path("bin")).Status, PlotStatus::LoadFailed);
}

TEST(Loader, ALibraryWithoutCreateMapIsReportedWithoutCallingIt) {
    const PlotResult result = PlotWorld(Request(1, 500), FakeFolder(HEXLANE_FAKE_NO_CREATEMAP_DIR));
    EXPECT_EQ(result.Status, PlotStatus::MissingExport);
    EXPECT_EQ(result.Error, "Orbiscarta.DLL does not provide CreateMap");
    EXPECT_TRUE(result.Cells.empty());
}

TEST(Loader, AResultOfZeroIsAnErrorOfTheGenerator) {
    const PlotResult result = PlotWorld(Request(1, 500), FakeFolder(HEXLANE_FAKE_FAILING_DIR));
    EXPECT_EQ(result.Status, PlotStatus::GeneratorFailed);
    EXPECT_EQ(result.Error, "Error in map generating dll");
    EXPECT_TRUE(result.Cells.empty());
}

TEST(Loader, AnUnusableSizeIsRefusedBeforeLoading) {
    MapRequest r = Request(1, 500);
    for (auto [w, h] : {std::pair{0, 480}, {640, -1}, {1 << 16, 1 << 16}}) {
        r.Width = w;
        r.Height = h;
        const PlotResult result = PlotWorld(r, FakeFolder(HEXLANE_FAKE_NO_CREATEMAP_DIR));
        EXPECT_EQ(result.Status, PlotStatus::InvalidSize);
        EXPECT_EQ(result.Error, kSizeOutOfRange);
    }
}

TEST(Library, ExportsCreateMapWhichRefusesBadArgumentsWithoutTouchingTheBuffer) {
    const SharedLibrary library(LibraryPath(ExecutableFolder()));
    ASSERT_TRUE(library.Loaded());
    const auto createMap = reinterpret_cast<orbiscarta::CreateMapFunction>(library.Find("CreateMap"));
    ASSERT_NE(createMap, nullptr);

    std::vector<std::int32_t> cells(100, -3);
    const auto untouched = [&] {
        return std::all_of(cells.begin(), cells.end(), [](std::int32_t v) { return v == -3; });
    };
    EXPECT_EQ(createMap(1, 500, 0, 10, 70, 3, cells.data()), 0);
    EXPECT_EQ(createMap(1, 500, 10, -10, 70, 3, cells.data()), 0);
    EXPECT_EQ(createMap(1, 500, 1 << 30, 1 << 30, 70, 3, cells.data()), 0);
    EXPECT_EQ(createMap(1, 500, 10, 10, 70, 3, nullptr), 0);
    EXPECT_TRUE(untouched());

    EXPECT_EQ(createMap(1, 500, 10, 10, 70, 3, cells.data()), 1);
    EXPECT_FALSE(untouched());
}

TEST(Loader, APlottedMapMakesAPictureOfMapColoursUnderABlackGrid) {
    const PlotResult result = PlotWorld(Request(5, 4000));
    ASSERT_TRUE(result.Plotted());
    WorldPicture picture = PictureFromCells(result.Cells, kMapWidth, kMapHeight);
    DrawGrid(picture);
    const auto columns = GridColumns(kMapWidth);
    const auto rows = GridRows(kMapHeight);
    for (int x = 0; x < kMapWidth; ++x) {
        for (int y = 0; y < kMapHeight; ++y) {
            const bool grid = std::find(columns.begin(), columns.end(), x) != columns.end() ||
                              std::find(rows.begin(), rows.end(), y) != rows.end();
            const int index = picture.At(x, y);
            if (grid)
                ASSERT_EQ(index, 0);
            else
                ASSERT_EQ(orbiscarta::CellColour(index), result.Cells[static_cast<std::size_t>(x * kMapHeight + y)]);
        }
    }
}
