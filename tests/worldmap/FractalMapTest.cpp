// The fractal map computation: generator, fault lines (threaded against the
// plain reference), relief, sea level, polar ice and colours.

#include "worldmap/ColourTable.h"
#include "worldmap/FractalMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace orbiscarta;

namespace {

MapParameters Params(std::int32_t seed, std::int32_t faults, std::int32_t n, std::int32_t m,
                     std::int32_t water = 70, std::int32_t ice = 3) {
    return MapParameters{seed, faults, n, m, water, ice};
}

std::string Describe(const MapParameters& p, unsigned threads = 0) {
    return "seed " + std::to_string(p.Seed) + " faults " + std::to_string(p.FaultCount) + " size " +
           std::to_string(p.N) + "x" + std::to_string(p.M) + " water " + std::to_string(p.WaterPercent) +
           " ice " + std::to_string(p.IcePercent) + " threads " + std::to_string(threads);
}

std::vector<std::int32_t> Map(const MapParameters& p, FaultMarking marking, unsigned threads = 0) {
    std::vector<std::int32_t> cells(static_cast<std::size_t>(p.N) * static_cast<std::size_t>(p.M));
    EXPECT_TRUE(GenerateMap(p, cells.data(), marking, threads));
    return cells;
}

std::vector<std::int32_t> Marks(const MapParameters& p, FaultMarking marking, unsigned threads = 1) {
    std::vector<std::int32_t> cells(static_cast<std::size_t>(p.N) * static_cast<std::size_t>(p.M));
    const auto sines = SineTable(p.N);
    if (marking == FaultMarking::Plain)
        MarkFaultLinesPlain(p, sines, cells.data());
    else
        MarkFaultLines(p, sines, cells.data(), threads);
    return cells;
}

// Shade classes after relief and sea level, before ice.
std::vector<std::int32_t> Classes(const MapParameters& p) {
    auto cells = Marks(p, FaultMarking::Plain);
    MirrorMarks(cells.data(), p.N, p.M);
    AccumulateRelief(cells.data(), p.N, p.M);
    ShadeClasses(cells.data(), p.N, p.M, p.WaterPercent);
    return cells;
}

int ClassOfColour(std::int32_t colour) {
    for (int c = 1; c < kColourClasses - 1; ++c)
        if (CellColour(c) == colour) return c;
    return -1;
}

}  // namespace

TEST(RandomGenerator, SeedOneDrawsTheKnownSequenceAndOnlyTheLow16SeedBitsCount) {
    RandomGenerator random(1);
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    EXPECT_EQ(random.Next(), 26500);

    RandomGenerator wide(65536 + 1), one(1), high(0xFFFF), minusOne(-1);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(wide.Next(), one.Next());
        EXPECT_EQ(high.Next(), minusOne.Next());  // 0xFFFF is -1 as a signed 16-bit value
    }
}

TEST(FaultLines, TheFirstLineOfSeedOneRaisesOneCellInEveryLeftColumn) {
    // Draws 41 and 18467 give coins 0 and 1: unequal coins raise.
    const auto lines = DrawFaultLines(1, 1, 64);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Delta, 1);

    const auto p = Params(1, 1, 64, 48);
    const auto marks = Marks(p, FaultMarking::Plain);
    for (int x = 0; x < p.N; ++x) {
        int sum = 0;
        for (int y = 0; y < p.M; ++y) {
            const std::int32_t v = marks[static_cast<std::size_t>(x * p.M + y)];
            EXPECT_GE(v, 0);
            sum += v;
        }
        EXPECT_EQ(sum, x < p.N / 2 ? 1 : 0) << "column " << x;
    }
}

TEST(FaultLines, OnlyTheLow16BitsOfTheFaultCountCountAndNegativeMeansNone) {
    EXPECT_EQ(FaultLineCount(7), 7);
    EXPECT_EQ(FaultLineCount(65536 + 7), 7);
    EXPECT_EQ(FaultLineCount(0x8000), 0);  // -32768 as a signed 16-bit value
    EXPECT_EQ(FaultLineCount(-5), 0);
    EXPECT_EQ(FaultLineCount(32767), 32767);
    EXPECT_EQ(Map(Params(9, 65536 + 7, 40, 30), FaultMarking::Plain), Map(Params(9, 7, 40, 30), FaultMarking::Plain));
}

TEST(FaultLines, ThreadedMarksEqualThePlainReferenceForAnySplit) {
    const int sizes[][2] = {{1, 1}, {2, 1}, {1, 5}, {2, 2}, {3, 3}, {7, 5}, {16, 9}, {33, 17}, {64, 48}, {101, 75}};
    const std::int32_t seeds[] = {1, 2, 0, -1, 32767, -32768, 65537, 123456};
    const std::int32_t faults[] = {0, 1, 2, 5, 37, 600};
    const unsigned threadCounts[] = {1, 2, 3, 7};
    for (const auto& size : sizes)
        for (std::int32_t seed : seeds)
            for (std::int32_t f : faults) {
                const auto p = Params(seed, f, size[0], size[1]);
                const auto reference = Marks(p, FaultMarking::Plain);
                for (unsigned t : threadCounts)
                    ASSERT_EQ(Marks(p, FaultMarking::Threaded, t), reference) << Describe(p, t);
            }
}

TEST(CreateMap, ThreadedMapsEqualThePlainReferenceAtTheDialogSize) {
    const MapParameters cases[] = {
        Params(1, 500, 640, 480, 70, 3),     Params(4242, 4999, 640, 480, 35, 6),
        Params(32767, 32767, 640, 480, 100, 0), Params(-7, 32767, 640, 480, 0, 10),
        Params(77, 12000, 641, 481, 55, 4),  Params(5, 3000, 320, 200, 90, 100),
    };
    for (const auto& p : cases) {
        const auto reference = Map(p, FaultMarking::Plain);
        EXPECT_EQ(Map(p, FaultMarking::Threaded), reference) << Describe(p);
        EXPECT_EQ(Map(p, FaultMarking::Threaded, 2), reference) << Describe(p, 2);
        EXPECT_EQ(Map(p, FaultMarking::Threaded, 3), reference) << Describe(p, 3);
    }
}

TEST(CreateMap, SameParametersGiveSameColoursWhateverTheBufferHeld) {
    const auto p = Params(314, 2500, 200, 150, 65, 5);
    const auto first = Map(p, FaultMarking::Threaded);
    std::vector<std::int32_t> dirty(first.size(), 12345);
    ASSERT_TRUE(GenerateMap(p, dirty.data(), FaultMarking::Threaded));
    EXPECT_EQ(dirty, first);
}

TEST(CreateMap, UnusableSizesReturnFalseAndLeaveTheBufferAlone) {
    std::vector<std::int32_t> cells(64, 7);
    const MapParameters bad[] = {Params(1, 500, 0, 8), Params(1, 500, 8, 0), Params(1, 500, -8, 8),
                                 Params(1, 500, 8, -8), Params(1, 500, 65536, 65536),
                                 Params(1, 500, 1 << 20, 1 << 6)};
    for (const auto& p : bad) {
        EXPECT_FALSE(GenerateMap(p, cells.data(), FaultMarking::Threaded)) << Describe(p);
        EXPECT_TRUE(std::all_of(cells.begin(), cells.end(), [](std::int32_t v) { return v == 7; }));
    }
    EXPECT_FALSE(GenerateMap(Params(1, 500, 8, 8), nullptr, FaultMarking::Threaded));
}

TEST(Relief, TheRightHalfIsTheLeftHalfTurnedByHalfACircle) {
    for (const auto& p : {Params(11, 800, 96, 64), Params(12, 800, 97, 63)}) {
        auto marks = Marks(p, FaultMarking::Threaded, 2);
        MirrorMarks(marks.data(), p.N, p.M);
        const int half = p.N / 2;
        for (int x = 0; x < half; ++x)
            for (int y = 1; y < p.M; ++y)
                ASSERT_EQ(marks[static_cast<std::size_t>((x + half) * p.M + (p.M - y))],
                          marks[static_cast<std::size_t>(x * p.M + y)])
                    << Describe(p) << " x " << x << " y " << y;
    }
}

TEST(SeaLevel, WaterShareDecidesBetweenAllSeaAllLandAndAMix) {
    const auto classesIn = [](const std::vector<std::int32_t>& cells, int low, int high) {
        return std::all_of(cells.begin(), cells.end(), [&](std::int32_t c) { return c >= low && c <= high; });
    };
    EXPECT_TRUE(classesIn(Classes(Params(3, 900, 128, 96, 100, 0)), 1, 15));
    EXPECT_TRUE(classesIn(Classes(Params(3, 900, 128, 96, 109, 0)), 1, 15));
    EXPECT_TRUE(classesIn(Classes(Params(3, 900, 128, 96, 0, 0)), 16, 31));
    EXPECT_TRUE(classesIn(Classes(Params(3, 900, 128, 96, -20, 0)), 16, 31));

    const auto mixed = Classes(Params(3, 900, 128, 96, 70, 0));
    const auto water = std::count_if(mixed.begin(), mixed.end(), [](std::int32_t c) { return c < 16; });
    EXPECT_GE(water, static_cast<long>(mixed.size()) * 70 / 100);  // the sea rises past the target
    EXPECT_LT(water, static_cast<long>(mixed.size()));
}

TEST(SeaLevel, AFlatWorldIsOneShallowSeaOrOneMiddleLand) {
    // No faults: every height is 0 between the forced extremes 1 and -1.
    const auto sea = Classes(Params(1, 0, 20, 10, 70, 0));
    EXPECT_TRUE(std::all_of(sea.begin(), sea.end(), [](std::int32_t c) { return c == 8; }));
    const auto land = Classes(Params(1, 0, 20, 10, 0, 0));
    EXPECT_TRUE(std::all_of(land.begin(), land.end(), [](std::int32_t c) { return c == 23; }));
}

TEST(Ice, NoIceForZeroNegativeOrAboveHundredPercent) {
    for (std::int32_t ice : {0, -4, 101, 250}) {
        auto classes = Classes(Params(21, 1500, 160, 120, 60, ice));
        const IceCounts counts = FreezePoles(classes.data(), 160, 120, ice);
        EXPECT_EQ(counts.North + counts.South, 0) << ice;
        EXPECT_TRUE(std::none_of(classes.begin(), classes.end(), [](std::int32_t c) { return c >= 32; })) << ice;
    }
}

TEST(Ice, EachPassStopsRightAfterTheFillThatCrossesTheTarget) {
    // A checkerboard of sea (5) and land (20): every fill freezes one cell.
    const int n = 10, m = 8;
    std::vector<std::int32_t> classes(n * m);
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < m; ++y) classes[x * m + y] = (x + y) % 2 ? 20 : 5;
    const IceCounts counts = FreezePoles(classes.data(), n, m, 10);  // target 8
    EXPECT_EQ(counts.North, 9);
    EXPECT_EQ(counts.South, 9);
    for (int x = 0; x < n; ++x) {
        for (int y = 0; y < m; ++y) {
            const bool frozen = (y == 0 || y == m - 1) && x < 9;
            const std::int32_t original = (x + y) % 2 ? 20 : 5;
            const std::int32_t expected = !frozen ? original : original == 5 ? 32 : 37;
            EXPECT_EQ(classes[x * m + y], expected) << x << "," << y;
        }
    }
}

TEST(Ice, AFillNeverMovesUpIntoRowZero) {
    // Column 0 is land (20), the rest sea (5). Target 1: the north pass stops
    // after freezing column 0; the south pass freezes the sea below row 0
    // but the fill does not climb into row 0.
    const int n = 4, m = 4;
    std::vector<std::int32_t> classes(n * m, 5);
    for (int y = 0; y < m; ++y) classes[y] = 20;
    const IceCounts counts = FreezePoles(classes.data(), n, m, 10);
    EXPECT_EQ(counts.North, 4);
    EXPECT_EQ(counts.South, 9);
    for (int y = 0; y < m; ++y) EXPECT_EQ(classes[y], 37);
    for (int x = 1; x < n; ++x) {
        EXPECT_EQ(classes[x * m], 5) << "row 0, column " << x;
        for (int y = 1; y < m; ++y) EXPECT_EQ(classes[x * m + y], 32);
    }
}

TEST(Ice, AFillWrapsAroundInLongitude) {
    // Land (25) in columns 0 and 4 of rows 1-2, joined only across the seam;
    // row 0 of those columns holds classes 10 and 12, everything else is sea (3).
    const int n = 5, m = 4;
    std::vector<std::int32_t> classes(n * m, 3);
    for (int x : {0, 4}) {
        classes[x * m + 1] = 25;
        classes[x * m + 2] = 25;
    }
    classes[0] = 10;
    classes[4 * m] = 12;
    // Target 1. North: (0,0) freezes alone; (1,0) freezes the 14 connected
    // sea cells, crossing the target. South: the first unfrozen cell from the
    // bottom is land at (0,2), whose region wraps round to column 4.
    const IceCounts counts = FreezePoles(classes.data(), n, m, 5);
    EXPECT_EQ(counts.North, 1 + 14);
    EXPECT_EQ(counts.South, 4);
    for (int x : {0, 4}) {
        EXPECT_EQ(classes[x * m + 1], 42);
        EXPECT_EQ(classes[x * m + 2], 42);
        EXPECT_EQ(classes[x * m + 3], 32);
    }
    EXPECT_EQ(classes[0], 32);
    EXPECT_EQ(classes[4 * m], 12);  // the north pass stopped before reaching it
}

TEST(Ice, AWholeMapOfOneClassFreezesInOneFillWithoutRecursion) {
    // A flat world is one region of 307,200 cells.
    auto classes = Classes(Params(1, 0, 640, 480, 70, 3));
    const IceCounts counts = FreezePoles(classes.data(), 640, 480, 3);
    EXPECT_EQ(counts.North, 640 * 480);
    EXPECT_EQ(counts.South, 0);
    EXPECT_TRUE(std::all_of(classes.begin(), classes.end(), [](std::int32_t c) { return c == 32; }));
}

TEST(Ice, OnARealMapEachPoleGetsJustOverItsShareAndHundredPercentFreezesAll) {
    const auto p = Params(2718, 3000, 640, 480, 70, 3);
    auto classes = Classes(p);
    const std::int64_t target = 3 * 640 * 480 / 100;
    const IceCounts counts = FreezePoles(classes.data(), p.N, p.M, 3);
    EXPECT_GT(counts.North, target);
    EXPECT_GT(counts.South, target);
    EXPECT_EQ(std::count_if(classes.begin(), classes.end(), [](std::int32_t c) { return c >= 32; }),
              counts.North + counts.South);

    const auto all = Map(Params(2718, 3000, 160, 120, 70, 100), FaultMarking::Threaded);
    EXPECT_TRUE(std::all_of(all.begin(), all.end(), [](std::int32_t v) { return ClassOfColour(v) >= 32; }));
}

TEST(Colours, EveryCellIsAPaletteRelativeColourOfAProducedClass) {
    EXPECT_EQ(CellColour(1), 0x02440000);   // blue 68
    EXPECT_EQ(CellColour(21), 0x0222BBFF);  // 255, 187, 34
    EXPECT_EQ(CellColour(48), 0x02AFAFAF);
    const auto cells = Map(Params(99, 5000, 320, 240, 60, 8), FaultMarking::Threaded);
    bool sawWater = false, sawLand = false, sawIce = false;
    for (std::int32_t v : cells) {
        const int c = ClassOfColour(v);
        ASSERT_GE(c, 1);
        ASSERT_LE(c, 48);
        sawWater |= c < 16;
        sawLand |= c >= 16 && c < 32;
        sawIce |= c >= 32;
    }
    EXPECT_TRUE(sawWater && sawLand && sawIce);
}

// Every fault line marks one cell in each left column (row 0 of the middle
// column when it passes the pole there), so the left columns' last relief
// cells add up to the lines' marks times the columns, whichever way the marks
// were made; each right column rises from row 0 to its last row as much as
// the left column it mirrors.
TEST(Relief, TheLastReliefCellsAddUpToTheFaultLinesMarksInEveryColumn) {
    struct Case {
        MapParameters p;
        FaultMarking marking;
        unsigned threads;
    };
    const Case cases[] = {
        {{1, 500, 640, 480, 70, 3}, FaultMarking::Plain, 0},
        {{1, 500, 640, 480, 70, 3}, FaultMarking::Threaded, 3},
        {{4242, 2000, 101, 37, 50, 0}, FaultMarking::Threaded, 4},
        {{77, 32767, 64, 300, 50, 0}, FaultMarking::Plain, 0},
    };
    for (const Case& c : cases) {
        const MapParameters& p = c.p;
        SCOPED_TRACE(testing::Message() << "seed " << p.Seed << ", " << p.N << " x " << p.M);
        std::vector<std::int32_t> grid(static_cast<std::size_t>(p.N) * static_cast<std::size_t>(p.M));
        const std::vector<double> sines = SineTable(p.N);
        if (c.marking == FaultMarking::Plain)
            MarkFaultLinesPlain(p, sines, grid.data());
        else
            MarkFaultLines(p, sines, grid.data(), c.threads);
        MirrorMarks(grid.data(), p.N, p.M);
        AccumulateRelief(grid.data(), p.N, p.M);
        std::int64_t deltas = 0;
        for (const FaultLine& line : DrawFaultLines(p.Seed, p.FaultCount, p.N)) deltas += line.Delta;
        const int halfN = p.N / 2;
        auto cell = [&](int x, int y) { return std::int64_t{grid[static_cast<std::size_t>(x) * p.M + y]}; };
        std::int64_t total = cell(halfN, 0);
        for (int x = 0; x < halfN; ++x) {
            total += cell(x, p.M - 1);
            ASSERT_EQ(cell(x + halfN, p.M - 1) - cell(x + halfN, 0), cell(x, p.M - 1) - cell(x, 0)) << "column " << x;
        }
        EXPECT_EQ(total, deltas * halfN);
    }
}
