// hexlane-tool worldmap, run as a user runs it.

#include "ToolRunner.h"

#include "worldmap/FractalMap.h"
#include "worldmap/WorldPicture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::int32_t> Reference(const orbiscarta::MapParameters& p) {
    std::vector<std::int32_t> cells(static_cast<std::size_t>(p.N) * static_cast<std::size_t>(p.M));
    EXPECT_TRUE(orbiscarta::GenerateMap(p, cells.data(), orbiscarta::FaultMarking::Plain));
    return cells;
}

std::vector<std::uint8_t> ExpectedBitmap(const std::vector<std::int32_t>& cells, int width, int height) {
    worldmap::WorldPicture picture = worldmap::PictureFromCells(cells, width, height);
    worldmap::DrawGrid(picture);
    return worldmap::EncodeBitmap(picture);
}

}  // namespace

TEST(WorldMapTool, WritesTheDialogsPictureAndTheRawCellsLittleEndianColumnByColumn) {
    const std::string dir = TempFolder("worldmap");
    const ToolResult r = RunTool({"worldmap", dir + "/map.bmp", "--seed", "1", "--faults", "500", "--raw",
                                  dir + "/cells.bin"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto cells = Reference({1, 500, 640, 480, 70, 3});
    EXPECT_EQ(Bytes(dir + "/map.bmp"), ExpectedBitmap(cells, 640, 480));
    const auto raw = Bytes(dir + "/cells.bin");
    ASSERT_EQ(raw.size(), cells.size() * 4);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::uint32_t v = raw[4 * i] | raw[4 * i + 1] << 8 | raw[4 * i + 2] << 16 |
                                static_cast<std::uint32_t>(raw[4 * i + 3]) << 24;
        ASSERT_EQ(static_cast<std::int32_t>(v), cells[i]) << "cell " << i;
    }
}

TEST(WorldMapTool, TakesSizeWaterAndIce) {
    const std::string dir = TempFolder("worldmap-size");
    const ToolResult r = RunTool({"worldmap", dir + "/map.bmp", "--seed", "77", "--faults", "3000", "--water",
                                  "40", "--ice", "8", "--width", "150", "--height", "90"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(Bytes(dir + "/map.bmp"), ExpectedBitmap(Reference({77, 3000, 150, 90, 40, 8}), 150, 90));
    EXPECT_FALSE(std::filesystem::exists(dir + "/cells.bin"));
}

TEST(WorldMapTool, RefusesMissingOrBadArguments) {
    const std::string dir = TempFolder("worldmap-bad");
    EXPECT_EQ(RunTool({"worldmap", dir + "/a.bmp", "--seed", "1"}).Status, 2);
    EXPECT_EQ(RunTool({"worldmap", "--seed", "1", "--faults", "500"}).Status, 2);
    const ToolResult notANumber = RunTool({"worldmap", dir + "/a.bmp", "--seed", "one", "--faults", "500"});
    EXPECT_EQ(notANumber.Status, 2);
    EXPECT_NE(notANumber.Err.find("--seed"), std::string::npos);
    const ToolResult size = RunTool({"worldmap", dir + "/a.bmp", "--seed", "1", "--faults", "500", "--width", "0"});
    EXPECT_EQ(size.Status, 2);
    EXPECT_NE(size.Err.find("--width"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir + "/a.bmp"));
}

TEST(WorldMapTool, RefusesValuesBeyondTheDialogsAndWritesBothFilesOrNeither) {
    const std::string dir = TempFolder("worldmap-limits");
    const std::string out = dir + "/a.bmp";
    struct Case {
        std::vector<std::string> extra;
        int status;
        std::string inError;
    };
    const Case cases[] = {
        {{"--water", "500"}, 2, "--water"},
        {{"--ice", "-7"}, 2, "--ice"},
        {{"--faults", "-5"}, 2, "--faults"},
        {{"--seed", "40000"}, 2, "--seed"},
        {{"--width", "33554432", "--height", "1"}, 2, "--width"},
        {{"--raw", dir + "/missing/r.bin"}, 1, "Error Creating Filestream"},
        {{"--raw", out}, 2, "two files"},
#ifndef _WIN32
        {{"--raw", dir + "/alias/a.bmp"}, 2, "two files"},  // through a linked folder
#endif
    };
#ifndef _WIN32
    std::filesystem::create_directory_symlink(dir, dir + "/alias");
#endif
    for (const Case& c : cases) {
        std::vector<std::string> args = {"worldmap", out, "--seed", "1", "--faults", "500"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, c.status) << c.extra[0];
        EXPECT_NE(r.Err.find(c.inError), std::string::npos) << r.Err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.extra[0];
    }
}

TEST(WorldMapTool, ALibraryThatDoesNotLoadIsReportedWithTheLoadersReason) {
    const std::string dir = TempFolder("worldmap-nolib");
    const std::string copy = dir + "/hexlane-tool" + std::filesystem::path(HEXLANE_TOOL).extension().string();
    std::filesystem::copy_file(HEXLANE_TOOL, copy);
    const ToolResult r =
        RunProgram(copy, {"worldmap", dir + "/a.bmp", "--seed", "1", "--faults", "500"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err.rfind("Unable to Load Orbiscarta.DLL: ", 0), 0u) << r.Err;
#ifdef _WIN32
    EXPECT_GT(r.Err.size(), std::string("Unable to Load Orbiscarta.DLL: ").size()) << "no reason given";
#else
    EXPECT_NE(r.Err.find("liborbiscarta"), std::string::npos) << r.Err;
#endif
}
