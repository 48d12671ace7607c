// Hex geometry of regions, and the regions of whole maps: which allegiances
// claim, outlines and labels.

#include "PolityRegions.h"
#include "RegionCache.h"

#include "TestUtil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace regions;

TEST(RegionGeometry, NeighboursAndDistancesFollowTheMapLayout) {
    struct Row {
        Hex a, b;
        int distance;
    } rows[] = {{{1, 1}, {2, 1}, 1}, {{1, 1}, {2, 2}, 2}, {{2, 1}, {1, 2}, 1}, {{1, 1}, {1, 5}, 4},
                {{1, 1}, {9, 1}, 8}, {{0, 0}, {-1, 0}, 1}, {{-1, 5}, {-2, 5}, 1}, {{-3, 1}, {3, 1}, 6}};
    for (const Row& r : rows) EXPECT_EQ(Distance(r.a, r.b), r.distance) << r.a.X << "," << r.a.Y << " " << r.b.X;
    for (Hex h : {Hex{1, 1}, Hex{2, 1}, Hex{-3, -7}, Hex{0, 4}})
        for (int s = 0; s < 6; ++s) {
            EXPECT_EQ(Distance(h, Neighbour(h, s)), 1);
            EXPECT_EQ(Neighbour(Neighbour(h, s), (s + 3) % 6), h);
            // Going round the hex: the next side's neighbour touches this one.
            EXPECT_EQ(Distance(Neighbour(h, s), Neighbour(h, (s + 1) % 6)), 1);
        }
    for (int r = 0; r <= 4; ++r) {
        int count = 0;
        ForEachWithin(Hex{-2, 3}, r, [&](Hex h, int d) {
            EXPECT_EQ(d, Distance(Hex{-2, 3}, h));
            EXPECT_LE(d, r);
            ++count;
        });
        EXPECT_EQ(count, 1 + 3 * r * (r + 1));
    }
}

TEST(RegionGeometry, OutlinesRunClockwiseFromTheLeftmostColumnsTopHex) {
    // One hex: its six sides in order.
    auto one = TraceOutline({{3, 3}});
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(one[0].size(), 6u);
    for (int s = 0; s < 6; ++s) EXPECT_EQ(one[0][static_cast<std::size_t>(s)], (HexEdge{{3, 3}, s}));
    // A ring of six around an empty centre: an outer loop and a hole.
    std::vector<Hex> ring;
    for (int s = 0; s < 6; ++s) ring.push_back(Neighbour({4, 4}, s));
    std::sort(ring.begin(), ring.end());
    auto loops = TraceOutline(ring);
    ASSERT_EQ(loops.size(), 2u);
    EXPECT_EQ(loops[0].front(), (HexEdge{ring.front(), 0}));
    EXPECT_EQ(loops[1].size(), 6u);
    // The hexes along the outer edge: every ring hex once, clockwise from the top left.
    const std::vector<Hex> along = HexesAlong(loops[0]);
    const std::vector<Hex> expected = {{3, 4}, {4, 3}, {5, 4}, {5, 5}, {4, 5}, {3, 5}};
    EXPECT_EQ(along, expected);
    // Pieces: two groups apart, found and ordered by their first hex.
    auto pieces = ConnectedPieces({{9, 9}, {1, 1}, {1, 2}, {9, 10}, {1, 1}});
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], (std::vector<Hex>{{1, 1}, {1, 2}}));
}

namespace {

TAllegiance* AddAllegiance(TUniverse& u, const std::string& name, const std::string& code) {
    auto* a = u.Allegiances()->Create<TAllegiance>();
    a->Name1 = name;
    a->ImportCode = code;
    return a;
}

}  // namespace

TEST(MapRegions, OnlyAllegiancesThatClaimGetARegion) {
    struct Row {
        const char* name;
        const char* code;
        int systems;
        bool claims;
    } rows[] = {{"Kestrel League", "KeLe", 2, true}, {"Drift Worlds", "NaDw", 2, false},
                {"Client of Ostra", "CsOs", 2, false}, {"Unclaimed", "", 2, false},
                {"Dashes", "--", 2, false},          {"Marks", "??", 2, false},
                {"Unknown", "Uk", 2, false},         {"Lone Throne", "LoTh", 1, false}};
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Quillon", 1, 1);
    int column = 1;
    for (const Row& r : rows) {
        AddAllegiance(*u, r.name, r.code);
        for (int i = 0; i < r.systems; ++i) {
            TStar* star = testutil::AddStar(*s, std::string(r.name) + std::to_string(i), column, 5 + i * 2);
            star->Allegiance = r.name;
        }
        column += 4;
    }
    u->ComputeExtent();
    const auto regions = ComputeRegions(*u);
    for (const Row& r : rows) {
        bool found = false;
        for (const auto& region : regions) found = found || region.Allegiance == r.name;
        EXPECT_EQ(found, r.claims) << r.name;
    }
}

TEST(MapRegions, RegionsCrossSectorEdgesAndCarryWhatDrawingNeeds) {
    auto u = TUniverse::CreateNew();
    TSector* west = testutil::AddSector(*u, "Vellan", 1, 1);
    TSector* east = testutil::AddSector(*u, "Orrim", 2, 1);
    auto* league = AddAllegiance(*u, "Kestrel League", "KeLe");
    league->Color = 0x0000FF;
    for (auto [sector, column, row] : {std::tuple{west, 31, 10}, std::tuple{east, 2, 11}, std::tuple{east, 20, 30}}) {
        TStar* star = testutil::AddStar(*sector, "S" + std::to_string(column), column, row);
        star->Allegiance = "Kestrel League";
    }
    // A non-aligned world inside the league's reach stays free to be claimed.
    AddAllegiance(*u, "Drift Worlds", "NaDw");
    testutil::AddStar(*west, "Drifter", 30, 10)->Allegiance = "Drift Worlds";
    u->ComputeExtent();
    const auto regions = ComputeRegions(*u);
    ASSERT_EQ(regions.size(), 1u);
    const PolityRegion& r = regions[0];
    EXPECT_EQ(r.Code, "KeLe");
    EXPECT_EQ(r.Color, 0x0000FF);
    ASSERT_EQ(r.Pieces.size(), 2u);  // the pair across the edge, and the far system
    const RegionPiece& pair = r.Pieces[0];
    EXPECT_TRUE(std::binary_search(pair.Hexes.begin(), pair.Hexes.end(), Hex{30, 10}));
    EXPECT_TRUE(std::binary_search(pair.Hexes.begin(), pair.Hexes.end(), Hex{34, 11}));
    EXPECT_EQ(r.LabelPiece, 0u);
    EXPECT_TRUE(std::binary_search(pair.Hexes.begin(), pair.Hexes.end(), r.LabelHex));
    ASSERT_FALSE(pair.Outlines.empty());
    EXPECT_EQ(pair.Outlines[0].front(), (HexEdge{pair.Hexes.front(), 0}));
    const SectorHex at = LocateHex(*u, Hex{34, 11});
    ASSERT_EQ(at.Sector, east);
    EXPECT_EQ(HexNumber(at.Column, at.Row), "0211");
    EXPECT_EQ(LocateHex(*u, Hex{70, 11}).Sector, nullptr);
}

TEST(MapRegions, TheCacheRecomputesOnlyWhenWhatRegionsAreMadeOfChanged) {
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Quillon", 1, 1);
    AddAllegiance(*u, "Kestrel League", "KeLe");
    TStar* a = testutil::AddStar(*s, "Amber", 5, 5);
    TStar* b = testutil::AddStar(*s, "Brill", 6, 6);
    a->Allegiance = b->Allegiance = "Kestrel League";
    u->ComputeExtent();
    RegionCache cache;
    EXPECT_TRUE(cache.Update(*u));
    ASSERT_EQ(cache.Regions().size(), 1u);
    struct Row {
        const char* change;
        std::function<void()> apply;
        bool recompute;
    } rows[] = {
        {"nothing", [] {}, false},
        {"a name", [&] { a->Name1 = "Ambergris"; }, false},
        {"a starport", [&] { a->Starport = "C"; }, true},
        {"a starport of the same reach", [&] { a->Starport = "C"; }, false},
        {"a move", [&] { a->StarCoordsY = 7; u->ComputeExtent(); }, true},
        {"an allegiance", [&] { b->Allegiance = "Other"; }, true},
        {"an allegiance's code", [&] { u->FindAllegiance("Kestrel League")->ImportCode = "NaKe"; }, true},
    };
    for (const Row& r : rows) {
        r.apply();
        EXPECT_EQ(cache.Update(*u), r.recompute) << r.change;
    }
    EXPECT_TRUE(cache.Regions().empty());
}
