// Pixel geometry of the hex map: sizes per zoom, picture size, cell and star
// centres, hex numbers, leg ends, boundary lines and symbol parts.

#include "MapGeometry.h"
#include "RenderFixtures.h"

#include <gtest/gtest.h>

using namespace hexlane::render;

namespace {

MapFrame FrameOf(TUniverse& u, int S) {
    u.SetHexSize(S);
    u.ComputeExtent();
    return MapFrame::FromUniverse(u);
}

}  // namespace

TEST(Geometry, SizesFollowTheHexSizeAtEachZoom) {
    struct Row {
        int S, H, T, A, W, R, D, font, rise;
    };
    for (const Row& r : {Row{10, 5, 3, 0, 6, 0, 0, 0, 0}, Row{30, 15, 10, 1, 19, 10, 3, 7, 15},
                         Row{90, 45, 30, 1, 59, 30, 5, 10, 20}}) {
        const HexMetrics m = MetricsForHexSize(r.S);
        EXPECT_EQ(m.H, r.H) << r.S;
        EXPECT_EQ(m.T, r.T) << r.S;
        EXPECT_EQ(m.A, r.A) << r.S;
        EXPECT_EQ(m.W, r.W) << r.S;
        EXPECT_EQ(m.R, r.R) << r.S;
        EXPECT_EQ(m.D, r.D) << r.S;
        EXPECT_EQ(m.FontSize, r.font) << r.S;
        EXPECT_EQ(m.Rise, r.rise) << r.S;
        EXPECT_EQ(m.DotsOnly(), r.S == 10);
        EXPECT_EQ(m.HexNumbers(), r.S == 90);
    }
    EXPECT_EQ(FontPixelSize(7), 9);
    EXPECT_EQ(FontPixelSize(10), 13);
}

TEST(Geometry, OneStarGivesAPictureOneHexWideAndItsCentreFollowsTheColumn) {
    auto u = TUniverse::CreateNew();
    TSector* s = renderfix::AddSector(*u, "A", 1, 1);
    TStar* even = renderfix::AddStar(*s, "Even", 10, 7);
    MapFrame f = FrameOf(*u, 30);
    EXPECT_EQ(f.MinHexX, 9);
    EXPECT_EQ(PictureSize(f), QSize(75, 45));
    EXPECT_EQ(StarCentre(f, even->HexX, even->HexY, even->StarCoordsX), QPoint(45, 30));
    // A star at the odd column 9 in the same picture sits half a hex higher.
    EXPECT_EQ(StarCentre(f, 9, 7, 1), QPoint(15, 15));
    f = FrameOf(*u, 10);
    EXPECT_EQ(PictureSize(f), QSize(25, 15));
    f = FrameOf(*u, 90);
    EXPECT_EQ(PictureSize(f), QSize(225, 135));
    EXPECT_EQ(StarCentre(f, even->HexX, even->HexY, even->StarCoordsX), QPoint(135, 90));
}

TEST(Geometry, NoDisplayedStarOrNoHexSizeGivesTheBlankPicture) {
    auto u = TUniverse::CreateNew();
    EXPECT_FALSE(FrameOf(*u, 30).HasExtent());
    EXPECT_EQ(PictureSize(FrameOf(*u, 30)), QSize(300, 300));
    TSector* s = renderfix::AddSector(*u, "A", 1, 1);
    renderfix::AddStar(*s, "One", 3, 3);
    EXPECT_TRUE(FrameOf(*u, 30).HasExtent());
    EXPECT_EQ(PictureSize(FrameOf(*u, 0)), QSize(300, 300));
    s->SetExcludeFromDisplay(true);
    EXPECT_EQ(PictureSize(FrameOf(*u, 30)), QSize(300, 300));
}

TEST(Geometry, CellsAlternateUpAndDownAndOutlinesAreFlatTopped) {
    MapFrame f;
    f.M = MetricsForHexSize(30);
    f.HalfHexX = 15;
    EXPECT_EQ(CellCentre(f, 0, 0), QPoint(15, 15));
    EXPECT_EQ(CellCentre(f, 1, 0), QPoint(45, 30));
    EXPECT_EQ(CellCentre(f, 2, 3), QPoint(75, 105));
    const auto outline = HexOutline(f.M, QPoint(15, 15));
    const std::array<QPoint, 7> expected = {QPoint(5, 0),  QPoint(25, 0),  QPoint(34, 15), QPoint(25, 30),
                                            QPoint(5, 30), QPoint(-4, 15), QPoint(5, 0)};
    EXPECT_EQ(outline, expected);
}

TEST(Geometry, HexNumbersInBothAddressings) {
    EXPECT_EQ(HexNumber(3, 7), "0307");
    EXPECT_EQ(HexNumber(12, 25), "1225");
    // Beyond two digits or below zero: written in full.
    EXPECT_EQ(HexNumber(0, 99), "0099");
    EXPECT_EQ(HexNumber(100, 7), "10007");
    EXPECT_EQ(HexNumber(-1, 5), "-105");
    // Subsector column 2, row 3, position 4, 5.
    EXPECT_EQ(StarHexNumber(2, 3, 4, 5, false), "0405");
    EXPECT_EQ(StarHexNumber(2, 3, 4, 5, true), "1225");

    // A grid cell reads what the star in it reads.
    auto u = TUniverse::CreateNew();
    TSector* s = renderfix::AddSector(*u, "A", 2, 1);
    renderfix::AddStar(*s, "Left", 3, 2);
    TStar* star = renderfix::AddStar(*s, "Star", 12, 25);
    const MapFrame f = FrameOf(*u, 90);
    const int c = star->HexX - f.MinHexX, r = star->HexY - f.MinHexY;
    EXPECT_EQ(CellHexNumber(f, c, r, true), "1225");
    EXPECT_EQ(CellHexNumber(f, c, r, false), "0405");
    EXPECT_EQ(StarHexNumber(*star, true), "1225");
    EXPECT_EQ(StarHexNumber(*star, false), "0405");
    // Cells left of the first sector column still count 01-32.
    MapFrame g = f;
    g.MinHexX = -1;
    EXPECT_EQ(CellHexNumber(g, 0, 0, true).substr(0, 2), "31");
}

TEST(Geometry, BoundaryLinesRunFromTheFirstDisplayedSector) {
    auto u = TUniverse::CreateNew();
    TSector* a = renderfix::AddSector(*u, "A", 1, 1);
    TSector* b = renderfix::AddSector(*u, "B", 2, 2);
    renderfix::AddStar(*a, "First", 4, 3);
    renderfix::AddStar(*b, "Last", 5, 6);
    const MapFrame f = FrameOf(*u, 10);
    ASSERT_EQ(f.MinHexX, 3);
    ASSERT_EQ(f.MinHexY, 3);
    // c0 = 1 - 3 = -2, r0 = 1 - 3 = -2, two sectors each way.
    const auto sectors = SectorLines(f);
    ASSERT_EQ(sectors.size(), 3u + 3u);
    EXPECT_EQ(sectors[0], QLine(-20, -20, 640, -20));
    EXPECT_EQ(sectors[1], QLine(-20, 380, 640, 380));
    EXPECT_EQ(sectors[3], QLine(-20, -20, -20, 800));
    EXPECT_EQ(sectors[4], QLine(300, -20, 300, 800));
    const auto subsectors = SubsectorLines(f);
    ASSERT_EQ(subsectors.size(), 9u + 9u);
    EXPECT_EQ(subsectors[1], QLine(-20, 80, 640, 80));
    EXPECT_EQ(subsectors[10], QLine(60, -20, 60, 800));
}

TEST(Geometry, ContentMarkersInOrderAroundTheWorld) {
    const QPoint c(100, 100);
    const HexMetrics m30 = MetricsForHexSize(30);
    auto centres = [](const std::vector<Box>& boxes) {
        std::vector<QPoint> out;
        for (const Box& b : boxes) out.emplace_back((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
        return out;
    };
    const std::vector<QPoint> all = {{90, 100}, {90, 95},  {90, 90},  {110, 90}, {110, 95},
                                     {110, 100}, {105, 100}, {95, 100}, {90, 115}};
    EXPECT_EQ(centres(ContentMarkerBoxes(m30, c, 0x7FFFE)), all);
    // Any naval base gives one marker; interface and Vargr naval base none.
    EXPECT_EQ(centres(ContentMarkerBoxes(m30, c, 0x10000 | 0x400)), std::vector<QPoint>{QPoint(90, 100)});
    EXPECT_TRUE(ContentMarkerBoxes(m30, c, 0x200 | 0x20000 | 0x1).empty());
    EXPECT_EQ(ContentMarkerBoxes(m30, c, 0x8)[0], (Box{102, 97, 108, 103}));
    const HexMetrics m90 = MetricsForHexSize(90);
    EXPECT_EQ(ContentMarkerBoxes(m90, c, 0x40000)[0], (Box{65, 120, 75, 130}));
}
