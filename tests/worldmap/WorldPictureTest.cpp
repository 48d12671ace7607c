// What the world map dialog derives and shows without a window: shares of
// water and ice, size texts, pointer read-outs, the picture and its bitmap.

#include "worldmap/WorldMapInfo.h"
#include "worldmap/WorldPicture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

using namespace worldmap;

namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Read16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

WorldPicture Plain(int width, int height, std::uint8_t index) {
    return WorldPicture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), index)};
}

}  // namespace

TEST(WorldShares, WaterFollowsHydrographicsAndIceATenthOfTheLand) {
    EXPECT_EQ(WaterPercent(7, 4), 74);
    EXPECT_EQ(IcePercent(74), 2);
    EXPECT_EQ(IcePercent(70), 3);
    // A desert world: water 0-9, ice 10 or 9.
    EXPECT_EQ(IcePercent(WaterPercent(0, 0)), 10);
    for (int digit = 1; digit <= 9; ++digit) EXPECT_EQ(IcePercent(WaterPercent(0, digit)), 9) << digit;
    // Hydrographics "A": water 100-109, ice 0 or below.
    EXPECT_EQ(IcePercent(WaterPercent(10, 0)), 0);
    for (int digit = 1; digit <= 9; ++digit) EXPECT_EQ(IcePercent(WaterPercent(10, digit)), -1) << digit;
    // Every whole tenth of land gives exactly that many percent of ice.
    for (int land = 0; land <= 100; land += 10) EXPECT_EQ(IcePercent(100 - land), land / 10) << land;
}

TEST(WorldSize, RingsAndBeltsAreRefusedSizeSIsAssumedAndOthersGo1000MilesAStep) {
    for (int ps : {0, 1}) {
        const WorldDiameter d = DiameterForSize(ps);
        EXPECT_FALSE(d.Mappable);
        EXPECT_EQ(d.Message, "Unable to create maps for Ring Worlds or Asteroid Belts");
    }
    const WorldDiameter small = DiameterForSize(2);
    EXPECT_TRUE(small.Mappable);
    EXPECT_EQ(small.Miles, 500);
    EXPECT_EQ(small.Message, "Assuming a 500 mi diameter world");
    EXPECT_EQ(WidthText(small.Miles), "Width = 1,571 miles");
    EXPECT_EQ(HeightText(small.Miles), "Height = 1,178 miles");

    EXPECT_EQ(DiameterForSize(3).Miles, 1000);    // size "1"
    EXPECT_EQ(DiameterForSize(11).Miles, 9000);   // size "9"
    EXPECT_EQ(DiameterForSize(12).Miles, 10000);  // size "A"
    EXPECT_TRUE(DiameterForSize(12).Message.empty());
    EXPECT_EQ(WidthText(5000), "Width = 15,708 miles");
    EXPECT_EQ(HeightText(5000), "Height = 11,781 miles");
    EXPECT_EQ(WidthText(10000), "Width = 31,416 miles");
}

TEST(WorldSize, GroupedNumbersRoundHalvesAwayFromZero) {
    EXPECT_EQ(FormatGrouped(0), "0");
    EXPECT_EQ(FormatGrouped(0.4), "0");
    EXPECT_EQ(FormatGrouped(2.5), "3");
    EXPECT_EQ(FormatGrouped(999.5), "1,000");
    EXPECT_EQ(FormatGrouped(785.398), "785");
    EXPECT_EQ(FormatGrouped(1234567.5), "1,234,568");
    EXPECT_EQ(FormatGrouped(123456789012.0), "123,456,789,012");
    EXPECT_EQ(FormatGrouped(-1234.5), "-1,235");
}

TEST(PointerReadout, ShowsHoursDegreesAndMinutesWithTheSignOfThePosition) {
    EXPECT_EQ(LongitudeText(360), "1h 30' ");    // X = 40
    EXPECT_EQ(LongitudeText(280), "-1h -30' ");  // X = -40
    EXPECT_EQ(LongitudeText(320), "0h 0' ");
    EXPECT_EQ(LongitudeText(310), "0h -22' ");   // X = -10: no whole hour, negative minutes
    EXPECT_EQ(LongitudeText(639), "11h 58' ");
    EXPECT_EQ(LatitudeText(240), "0d 0' ");
    EXPECT_EQ(LatitudeText(0), "75d 0' ");
    EXPECT_EQ(LatitudeText(238), "0d 38' ");     // 37.5 minutes
    EXPECT_EQ(LatitudeText(242), "0d -38' ");
    EXPECT_EQ(LatitudeText(479), "-74d -41' ");
}

TEST(PointerReadout, MinutesRoundHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(-2.6), -3);
}

TEST(PictureFile, TheProposedNameReplacesSlashes) {
    EXPECT_EQ(ProposedPictureName("Regina"), "Regina.bmp");
    EXPECT_EQ(ProposedPictureName("Regina/Alpha//B"), "Regina_Alpha__B.bmp");
}

TEST(Picture, PixelsTakeTheirCellsColumnByColumnMatchedToTheDisplayPalette) {
    using orbiscarta::CellColour;
    // 3 x 2 cells, column by column.
    const std::vector<std::int32_t> cells = {
        CellColour(1),  CellColour(2),   // x = 0
        CellColour(16), CellColour(31),  // x = 1
        CellColour(48), 0x00460000,      // x = 2; last: blue 70 without the flag byte
    };
    const WorldPicture picture = PictureFromCells(cells, 3, 2);
    EXPECT_EQ(picture.At(0, 0), 1);
    EXPECT_EQ(picture.At(0, 1), 2);
    EXPECT_EQ(picture.At(1, 0), 16);
    EXPECT_EQ(picture.At(1, 1), 31);
    EXPECT_EQ(picture.At(2, 0), 48);
    EXPECT_EQ(picture.At(2, 1), 1);  // nearest to blue 68
    EXPECT_EQ(PaletteIndexOf(0x02FEFEFE), 32);
    EXPECT_EQ(PaletteIndexOf(0x02000000), 0);
    EXPECT_THROW(PictureFromCells(cells, 2, 2), std::invalid_argument);
}

TEST(Picture, TheGridHas24HourLinesAnd15LatitudeLines) {
    const auto columns = GridColumns(640);
    ASSERT_EQ(columns.size(), 24u);
    EXPECT_EQ(columns[0], 0);
    EXPECT_EQ(columns[1], 26);
    EXPECT_EQ(columns[2], 53);
    EXPECT_EQ(columns[23], 613);
    const auto rows = GridRows(480);
    ASSERT_EQ(rows.size(), 15u);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(rows[static_cast<std::size_t>(i)], i * 448 / 14 + 16);

    WorldPicture picture = Plain(640, 480, 5);
    DrawGrid(picture);
    const auto black = std::count(picture.Pixels.begin(), picture.Pixels.end(), 0);
    EXPECT_EQ(black, 24 * 480 + 15 * 640 - 24 * 15);
    EXPECT_EQ(picture.At(26, 200), 0);
    EXPECT_EQ(picture.At(200, 464), 0);
    EXPECT_EQ(picture.At(27, 17), 5);
}

TEST(Bitmap, IsAnEightBitWindowsBitmapOverTheDisplayPaletteStoredBottomUp) {
    WorldPicture picture = Plain(5, 3, 20);
    picture.Pixels[0] = 7;                  // (0, 0): top left
    picture.Pixels[2 * 5 + 4] = 33;         // (4, 2): bottom right
    const std::vector<std::uint8_t> bytes = EncodeBitmap(picture);
    const std::size_t offset = 14 + 40 + 4 * 49;
    const std::size_t stride = 8;  // 5 pixels padded to 4 bytes
    ASSERT_EQ(bytes.size(), offset + stride * 3);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Read32(bytes, 2), bytes.size());
    EXPECT_EQ(Read32(bytes, 10), offset);
    EXPECT_EQ(Read32(bytes, 14), 40u);
    EXPECT_EQ(Read32(bytes, 18), 5u);
    EXPECT_EQ(Read32(bytes, 22), 3u);
    EXPECT_EQ(Read16(bytes, 26), 1);
    EXPECT_EQ(Read16(bytes, 28), 8);
    EXPECT_EQ(Read32(bytes, 30), 0u);
    EXPECT_EQ(Read32(bytes, 46), 49u);
    for (int i = 0; i < 49; ++i) {
        const Rgb& c = DisplayPalette()[static_cast<std::size_t>(i)];
        const std::size_t at = 54 + 4 * static_cast<std::size_t>(i);
        EXPECT_EQ(bytes[at], c.B);
        EXPECT_EQ(bytes[at + 1], c.G);
        EXPECT_EQ(bytes[at + 2], c.R);
    }
    EXPECT_EQ(bytes[offset + 2 * stride + 0], 7);   // top row is stored last
    EXPECT_EQ(bytes[offset + 0 * stride + 4], 33);
    EXPECT_EQ(bytes[offset + 1 * stride + 2], 20);
    EXPECT_EQ(bytes[offset + 0 * stride + 5], 0);   // padding
}

TEST(Bitmap, SavingWritesTheBytesReplacesAnOldFileAndReportsAFailure) {
    std::random_device random;
    const auto folder = std::filesystem::temp_directory_path() / ("hexlane-bmp-" + std::to_string(random()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "world.bmp";
    { std::ofstream(file) << "older and longer content than nothing"; }

    WorldPicture picture = Plain(640, 480, 9);
    DrawGrid(picture);
    ASSERT_TRUE(SaveBitmap(file, picture));
    {
        std::ifstream in(file, std::ios::binary);  // closed before the folder goes (Windows keeps open files)
        const std::vector<std::uint8_t> saved{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(saved, EncodeBitmap(picture));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

    EXPECT_FALSE(SaveBitmap(folder / "missing" / "world.bmp", picture));
    std::filesystem::remove_all(folder);
}
