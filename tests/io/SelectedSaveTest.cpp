#include "SelectedSave.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>

using testutil::AddSector;
using testutil::AddStar;
using Names = std::vector<std::string>;

namespace {

class SelectedSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        u = TUniverse::CreateNew();
        u->ManagerVersion = kMapFormatVersion;
        for (int i = 0; i < 17; ++i) {
            u->TLAltDesc[static_cast<std::size_t>(i)] = "Level " + std::to_string(i);
            u->TLAltValue[static_cast<std::size_t>(i)] = i / 2;
        }
        TSector* shown = AddSector(*u, "Shown", 1, 1);
        Star(*shown, "Plain", "Compact").Visible = true;
        Star(*shown, "Hidden", "Unused");
        Star(*shown, "Visited", "Compact").Visited = true;
        Star(*shown, "Surveyed", "Hegemony").UserSurveyed = true;
        Star(*shown, "Mapped", "Hegemony").MapIndex = 3;
        TSector* excluded = AddSector(*u, "Excluded", 2, 1);
        TStar& gone = Star(*excluded, "Gone", "Unused");
        gone.Visited = gone.UserSurveyed = true;
        gone.MapIndex = 1;
        excluded->SetExcludeFromDisplay(true);
        Star(*AddSector(*u, "Barren", 1, 2), "Hidden too", "Unused");
        for (const char* name : {"Compact", "Hegemony", "Unused"}) {
            TAllegiance* a = u->Allegiances()->Create<TAllegiance>();
            a->Name1 = name;
            a->ImportCode = std::string(name, 2);
        }
        Route("User route", true, false, 2);
        Route("Shown route", false, true, 1);
        Route("Neither", false, false, 1);
        u->UseAltTL = true;  // copies must still hold the stars' own codes
    }

    TStar& Star(TSector& sector, const std::string& name, const std::string& allegiance) {
        TStar* s = AddStar(sector, name, static_cast<int>(sector.ChildCount()) + 1, 1);
        s->Visible = false;
        s->Allegiance = allegiance;
        return *s;
    }

    void Route(const std::string& name, bool user, bool shown, int legs) {
        TRoute* r = u->Routes()->Create<TRoute>();
        r->Name1 = name;
        r->User = user;
        r->ShowRoute = shown;
        for (int i = 0; i < legs; ++i) r->Create<TRouteLeg>()->Name1 = name + " leg " + std::to_string(i);
    }

    static Names Content(const TUniverse& out) {
        Names names;
        for (const TSector* s : out.Sectors()->ChildrenOf<TSector>()) {
            std::string line = s->Name1 + ":";
            for (const TStar* st : s->Stars()) line += " " + st->Name1;
            names.push_back(line);
        }
        for (const TAllegiance* a : out.Allegiances()->ChildrenOf<TAllegiance>()) names.push_back("A " + a->Name1);
        for (const TRoute* r : out.Routes()->ChildrenOf<TRoute>())
            names.push_back("R " + r->Name1 + " " + std::to_string(r->Legs().size()));
        return names;
    }

    Names With(void (*change)(TSelectedSaveOptions&)) {
        TSelectedSaveOptions o;
        change(o);
        return Content(*BuildSelectedUniverse(*u, o));
    }

    std::unique_ptr<TUniverse> u;
};

}  // namespace

TEST_F(SelectedSaveTest, EverythingShownIsWrittenOnceWithTheTableAndTheVersion) {
    const std::string path = (std::filesystem::temp_directory_path() / "hexlane-selected.map").string();
    std::string message;
    ASSERT_TRUE(SelectedSave(*u, TSelectedSaveOptions{}, path, message)) << message;
    TUniverse back;
    ASSERT_TRUE(back.LoadFromFile(path, message)) << message;
    std::filesystem::remove(path);

    ASSERT_TRUE(back.HasContainers());
    EXPECT_EQ(back.ChildCount(), 3u);
    EXPECT_TRUE(dynamic_cast<TRoutes*>(back.Child(0)));
    EXPECT_TRUE(dynamic_cast<TSectors*>(back.Child(1)));
    EXPECT_EQ(Content(back), (Names{"Shown: Plain Visited Surveyed Mapped", "Barren:", "A Compact", "A Hegemony",
                                    "A Unused", "R User route 2", "R Shown route 1"}));
    EXPECT_DOUBLE_EQ(back.ManagerVersion, 4.51);
    EXPECT_EQ(back.TLAltDesc, u->TLAltDesc);
    EXPECT_EQ(back.TLAltValue, u->TLAltValue);
    const TSector* shown = back.FindSector("Shown");
    EXPECT_EQ(shown->SectorCoordsX, 1);
    EXPECT_EQ(shown->SSName[15], "p");
    EXPECT_EQ(back.FindStar("Mapped")->StoredTechLevel(), "C");

    // Nothing in memory changed.
    EXPECT_TRUE(u->UseAltTL);
    EXPECT_FALSE(u->ManagerRequiresSaving);
    EXPECT_EQ(u->Sectors()->ChildCount(), 3u);
}

TEST_F(SelectedSaveTest, StarFilters) {
    EXPECT_EQ(With([](TSelectedSaveOptions& o) { o.StarVisible = o.StarVisited = o.StarUserSurveyed = false; }),
              (Names{"Shown: Mapped", "Barren:", "A Compact", "A Hegemony", "A Unused", "R User route 2",
                     "R Shown route 1"}));
    EXPECT_EQ(With([](TSelectedSaveOptions& o) { o.StarMapped = o.StarVisible = false; }).front(),
              "Shown: Visited Surveyed");
    // Stars unchecked: the sectors without systems.
    EXPECT_EQ(With([](TSelectedSaveOptions& o) { o.Stars = false; }).front(), "Shown:");
    // The sector "Visible" option changes nothing: excluded sectors never go.
    EXPECT_EQ(With([](TSelectedSaveOptions& o) { o.SectorVisible = false; }), With([](TSelectedSaveOptions&) {}));
    // Without sector information neither sectors nor stars.
    EXPECT_EQ(With([](TSelectedSaveOptions& o) { o.SectorInformation = false; }),
              (Names{"A Compact", "A Hegemony", "A Unused", "R User route 2", "R Shown route 1"}));
}

TEST_F(SelectedSaveTest, WithoutTheAllegianceOptionOnlyThoseOfWrittenStarsGoOnceEach) {
    EXPECT_EQ(With([](TSelectedSaveOptions& o) { o.Allegiances = o.Routes = false; }),
              (Names{"Shown: Plain Visited Surveyed Mapped", "Barren:", "A Compact", "A Hegemony"}));
    EXPECT_EQ(With([](TSelectedSaveOptions& o) { o.Allegiances = o.Routes = o.StarMapped = o.StarUserSurveyed = false; }),
              (Names{"Shown: Plain Visited", "Barren:", "A Compact"}));
    EXPECT_EQ(With([](TSelectedSaveOptions& o) { o.Allegiances = o.Routes = o.SectorInformation = false; }), Names{});
}

TEST_F(SelectedSaveTest, RouteFilters) {
    auto routes = [](const Names& all) {
        Names r;
        for (const std::string& n : all)
            if (n.rfind("R ", 0) == 0) r.push_back(n);
        return r;
    };
    EXPECT_EQ(routes(With([](TSelectedSaveOptions& o) { o.RouteVisible = false; })), Names{"R User route 2"});
    EXPECT_EQ(routes(With([](TSelectedSaveOptions& o) { o.RouteUserDefined = false; })), Names{"R Shown route 1"});
    EXPECT_EQ(routes(With([](TSelectedSaveOptions& o) { o.Routes = false; })), Names{});
}

TEST_F(SelectedSaveTest, NoOptionsGiveAnEmptyUniverseWithItsContainersAndTable) {
    TSelectedSaveOptions none;
    for (bool* b : {&none.SectorInformation, &none.SectorVisible, &none.Stars, &none.StarVisible, &none.StarVisited,
                    &none.StarMapped, &none.StarUserSurveyed, &none.Allegiances, &none.Routes, &none.RouteVisible,
                    &none.RouteUserDefined})
        *b = false;
    auto out = BuildSelectedUniverse(*u, none);
    EXPECT_EQ(out->ChildCount(), 3u);
    EXPECT_EQ(out->Routes()->ChildCount() + out->Sectors()->ChildCount() + out->Allegiances()->ChildCount(), 0u);
    EXPECT_EQ(out->TLAltDesc[16], "Level 16");
    EXPECT_EQ(out->TLAltValue[16], 8);
}

TEST_F(SelectedSaveTest, NoFileNameWritesNothingAndAFailedWriteIsReported) {
    std::string message = "old";
    EXPECT_TRUE(SelectedSave(*u, TSelectedSaveOptions{}, "", message));
    EXPECT_TRUE(message.empty());
    EXPECT_FALSE(SelectedSave(*u, TSelectedSaveOptions{}, "/nonexistent/dir/out.map", message));
    EXPECT_EQ(message, "Error Creating Filestream");
}
