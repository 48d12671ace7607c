#include "OpenMap.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A map as old versions wrote it: everything directly under the universe,
// legs naming their route in GroupName and stars their sector in SectorName.
std::unique_ptr<TUniverse> FlatMap(double version) {
    auto u = std::make_unique<TUniverse>();
    u->ManagerVersion = version;
    auto* route = u->Create<TRoute>();
    route->Name1 = "Spinward Main";
    route->Color = 0xFF;
    auto* sector = u->Create<TSector>();
    sector->Name1 = "Home";
    sector->SectorCoordsX = 1;
    sector->SectorCoordsY = 1;
    sector->SSName[0] = "a";
    auto* ally = u->Create<TAllegiance>();
    ally->Name1 = "Empire";
    for (int i = 0; i < 3; ++i) {
        auto* star = u->Create<TStar>();
        star->Name1 = "Star " + std::to_string(i);
        star->SubSectorName = "a";
        star->StarCoordsX = i + 1;
        star->StarCoordsY = 1;
        star->SetSectorName(i == 2 ? "home" : "Home");  // the last matches nothing (case)
        auto* leg = u->Create<TRouteLeg>();
        leg->Name1 = "Leg " + std::to_string(i);
        leg->GroupName = i == 1 ? "Nowhere" : "Spinward Main";
        leg->SStarName = "Star 0";
        leg->EStarName = "Star 1";
    }
    return u;
}

std::string SaveTemp(TUniverse& u, const std::string& name) {
    const std::string path = (fs::temp_directory_path() / name).string();
    std::string msg;
    EXPECT_TRUE(u.SaveToFile(path, msg)) << msg;
    return path;
}

}  // namespace

TEST(Upgrade, FlatMapIsMovedIntoContainers) {
    auto u = FlatMap(4.0);
    ASSERT_TRUE(NeedsFlatMapUpgrade(*u));
    const std::vector<std::string> dropped = UpgradeFlatMap(*u);
    ASSERT_TRUE(u->HasContainers());
    EXPECT_EQ(u->ChildCount(), 3u);  // only the containers are left

    const TRoute* r = u->FindRoute("Spinward Main");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Color, 0xFF);
    ASSERT_EQ(r->Legs().size(), 2u);
    EXPECT_EQ(r->Legs()[0]->Name1, "Leg 0");
    EXPECT_EQ(r->Legs()[1]->Name1, "Leg 2");

    const TSector* s = u->FindSector("Home");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Stars().size(), 2u);
    EXPECT_EQ(s->Stars()[1]->Name1, "Star 1");
    EXPECT_EQ(s->Stars()[1]->SectorName(), "Home");
    EXPECT_NE(u->FindAllegiance("Empire"), nullptr);

    EXPECT_EQ(dropped, (std::vector<std::string>{"RouteLeg : Leg 1", "Star : Star 2"}));
}

TEST(Upgrade, OpenUpgradesOldMapsAndStampsTheVersion) {
    // Old writers stored a leg's GroupName and a star's SectorName.
    testutil::Bytes b;
    b.Sig().Record("TUniverse");
    b.Short("ManagerVersion").Raw({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x40});  // 4.0
    b.End();
    b.Record("TRoute").Str("Name1", "Main").End().End();
    b.Record("TSector").Str("Name1", "Home").Int8("SectorCoordsX", 1).Int8("SectorCoordsY", 1);
    b.Str("SS0101Name", "a").End().End();
    for (const char* name : {"Star 0", "Star 1"}) {
        b.Record("TStar").Str("Name1", name).Str("SectorName", "Home").Str("SubSectorName", "a");
        b.Int8("StarCoordsX", name[5] - '0' + 1).Int8("StarCoordsY", 1).End().End();
    }
    b.Record("TRouteLeg").Str("GroupName", "Main").Str("SStarName", "Star 0").Str("EStarName", "Star 1");
    b.End().End();
    b.Record("TRouteLeg").Str("GroupName", "Other").End().End();
    b.End();
    const std::string path = (fs::temp_directory_path() / "hexlane-upgrade-old.map").string();
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(b.s.data(), 1, b.s.size(), f);
        std::fclose(f);
    }
    OpenMapResult r = OpenMap(path);
    ASSERT_NE(r.Universe, nullptr) << r.Message;
    EXPECT_EQ(r.Universe->ManagerVersion, 4.51);
    EXPECT_EQ(r.Dropped, (std::vector<std::string>{"RouteLeg : "}));
    ASSERT_NE(r.Universe->FindRoute("Main"), nullptr);
    EXPECT_EQ(r.Universe->FindRoute("Main")->Distance(), 1);
    const TStar* s = r.Universe->FindStar("Star 1");
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->Visible);
    EXPECT_EQ(s->HexX, 2);
    EXPECT_TRUE(r.Universe->AutoRefresh);
    EXPECT_TRUE(r.Universe->MapDirty);
    EXPECT_EQ(r.Universe->HexSize, 30);
    EXPECT_EQ(r.Universe->HalfHexY, 15);
    EXPECT_FALSE(r.Universe->UseAltTL);
    EXPECT_FALSE(r.Universe->ManagerRequiresSaving);
    fs::remove(path);
}

TEST(Upgrade, CurrentMapsAreLeftAsTheyAre) {
    auto u = TUniverse::CreateNew();
    u->ManagerVersion = 4.5;
    testutil::AddStar(*testutil::AddSector(*u, "Home", 1, 1), "Alpha", 2, 3);
    EXPECT_FALSE(NeedsFlatMapUpgrade(*u));
    // A version-0 map that already has containers is not flat either.
    u->ManagerVersion = 0;
    EXPECT_FALSE(NeedsFlatMapUpgrade(*u));
    const std::string path = SaveTemp(*u, "hexlane-upgrade-new.map");
    OpenMapResult r = OpenMap(path);
    ASSERT_NE(r.Universe, nullptr);
    EXPECT_NE(r.Universe->FindStar("Alpha"), nullptr);
    EXPECT_EQ(r.Universe->ManagerVersion, 4.51);
    fs::remove(path);
}

TEST(Upgrade, AFileThatSwitchesAlternateTechLevelsOnOpensWithThemOff) {
    auto u = TUniverse::CreateNew();
    u->ManagerVersion = 4.51;
    testutil::AddStar(*testutil::AddSector(*u, "Home", 1, 1), "Alpha", 2, 3, "A123456-5");
    std::string bytes = testutil::Stream(*u);
    const std::string header = std::string("TPF0\x09TUniverse\x00", 15);
    ASSERT_EQ(bytes.rfind(header, 0), 0u);
    bytes.insert(header.size(), std::string("\x08UseAltTL\x09", 10));  // UseAltTL = True
    const std::string path = (fs::temp_directory_path() / "hexlane-upgrade-alttl.map").string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    OpenMapResult r = OpenMap(path);
    ASSERT_NE(r.Universe, nullptr) << r.Message;
    EXPECT_FALSE(r.Universe->UseAltTL);
    fs::remove(path);
}

TEST(Upgrade, MapsWithoutTheirContainersAreCorrupt) {
    TUniverse u;
    u.ManagerVersion = 4.51;
    u.Create<TRoutes>();
    u.Create<TSectors>();
    const std::string path = SaveTemp(u, "hexlane-upgrade-corrupt.map");
    OpenMapResult r = OpenMap(path);
    EXPECT_EQ(r.Universe, nullptr);
    EXPECT_EQ(r.Message, "Corrupt Map file.");
    fs::remove(path);

    r = OpenMap("/nonexistent/x.map");
    EXPECT_EQ(r.Message, "Error Creating Filestream");
}

// Old maps of all charted space hold hundreds of thousands of objects under
// the universe; each is placed by looking it up, not by a search of what was
// placed before (which took minutes on such maps).
TEST(Upgrade, AMapOfAHundredThousandFlatStarsIsPlacedInOrder) {
    auto u = std::make_unique<TUniverse>();
    u->ManagerVersion = 4.0;
    for (const char* name : {"A", "B", "A"}) u->Create<TSector>()->Name1 = name;  // two sectors named A
    constexpr int kStars = 100000;
    for (int i = 0; i < kStars; ++i) {
        auto* star = u->Create<TStar>();
        star->Name1 = "S" + std::to_string(i);
        star->SetSectorName(i % 2 ? "B" : "A");
    }
    u->Create<TStar>()->SetSectorName("C");  // no such sector
    const std::vector<std::string> dropped = UpgradeFlatMap(*u);
    EXPECT_EQ(dropped, (std::vector<std::string>{"Star : "}));
    const std::vector<TSector*> sectors = u->Sectors()->ChildrenOf<TSector>();
    ASSERT_EQ(sectors.size(), 3u);
    for (TSector* s : sectors) {
        ASSERT_EQ(s->ChildCount(), kStars / 2u);
        const bool b = s->Name1 == "B";
        EXPECT_EQ(s->Child(0)->Name1, b ? "S1" : "S0");
        EXPECT_EQ(s->Child(kStars / 2 - 1)->Name1, "S" + std::to_string(kStars - (b ? 1 : 2)));
    }
    EXPECT_EQ(u->ChildCount(), 3u);
}
