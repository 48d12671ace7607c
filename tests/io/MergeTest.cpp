#include "MergeErrors.h"
#include "OpenMap.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using testutil::AddSector;
using testutil::AddStar;
using Lines = std::vector<std::string>;
using Status = TCombineResult::TStatus;

namespace {

std::unique_ptr<TUniverse> NewMap() {
    auto u = TUniverse::CreateNew();
    u->ManagerVersion = kMapFormatVersion;
    return u;
}

std::vector<std::string> StarNames(const TUniverse& u) {
    std::vector<std::string> names;
    u.ForEachStar([&](const TStar& s) { names.push_back(s.Name1); });
    return names;
}

std::vector<std::string> LegNames(const TRoute& r) {
    std::vector<std::string> names;
    for (const TRouteLeg* l : r.Legs()) names.push_back(l->Name1 + ":" + l->SStarName + ">" + l->EStarName);
    return names;
}

TRoute* AddRoute(TUniverse& u, const std::string& name, const std::vector<std::string>& legs) {
    TRoute* r = u.Routes()->Create<TRoute>();
    r->Name1 = name;
    for (const std::string& leg : legs) {
        TRouteLeg* l = r->Create<TRouteLeg>();
        l->Name1 = leg;
        l->SStarName = u.Name1 + "-from";
        l->EStarName = u.Name1 + "-to";
    }
    return r;
}

TAllegiance* AddAllegiance(TUniverse& u, const std::string& name, const std::string& code, std::int32_t colour) {
    TAllegiance* a = u.Allegiances()->Create<TAllegiance>();
    a->Name1 = name;
    a->ImportCode = code;
    a->Color = colour;
    a->Style = bsCross;
    a->Notes = name + " notes";
    return a;
}

std::size_t ObjectCount(const TManager& m) {
    std::size_t n = 1;
    for (const auto& c : m.Children()) n += ObjectCount(*c);
    return n;
}

void ExpectOneContainerEach(const TUniverse& u) {
    EXPECT_EQ(u.ChildrenOf<TRoutes>().size(), 1u);
    EXPECT_EQ(u.ChildrenOf<TSectors>().size(), 1u);
    EXPECT_EQ(u.ChildrenOf<TAllegiances>().size(), 1u);
    EXPECT_EQ(u.ChildCount(), 3u);
}

}  // namespace

TEST(Overlay, ALoadedStarReplacesItsNamesakeWhereverItIs) {
    auto memory = NewMap();
    TSector* home = AddSector(*memory, "Home", 1, 1);
    AddStar(*home, "Nova", 3, 3, "111111");
    AddStar(*home, "Vega", 4, 4);
    auto loaded = NewMap();
    TSector* far = AddSector(*loaded, "Far", 2, 1);
    TStar* incoming = AddStar(*far, "Nova", 5, 7, "999999");
    incoming->Visible = false;

    const TCombineResult r = OverlayUniverse(*memory, *loaded);
    EXPECT_EQ(r.Status, Status::Done);
    EXPECT_EQ(r.Lines, Lines{"Star : Nova"});
    EXPECT_EQ(StarNames(*memory), (std::vector<std::string>{"Vega", "Nova"}));
    const TStar* nova = memory->FindStar("Nova");
    EXPECT_EQ(nova, incoming);
    EXPECT_EQ(nova->UPC, "999999");
    EXPECT_EQ(nova->Sector()->Name1, "Far");
    EXPECT_TRUE(nova->Visible);
    EXPECT_EQ(nova->HexX, 32 + 5);  // extent recomputed
    EXPECT_TRUE(memory->ManagerRequiresSaving);
    EXPECT_TRUE(memory->MapDirty);
    ExpectOneContainerEach(*memory);
}

TEST(Overlay, TwoLoadedNamesakesUseUpOneStarInMemory) {
    auto memory = NewMap();
    AddStar(*AddSector(*memory, "Home", 1, 1), "Nova", 1, 1, "111111");
    auto loaded = NewMap();
    TSector* far = AddSector(*loaded, "Far", 2, 1);
    AddStar(*far, "Nova", 1, 1, "222222");
    AddStar(*far, "Nova", 2, 2, "333333");
    AddStar(*far, "Home", 3, 3);  // named like a sector: not a namesake

    const TCombineResult r = OverlayUniverse(*memory, *loaded);
    EXPECT_EQ(r.Lines, Lines{"Star : Nova"});
    std::vector<std::string> upcs;
    memory->ForEachStar([&](const TStar& s) { upcs.push_back(s.Name1 + " " + s.UPC); });
    EXPECT_EQ(upcs, (std::vector<std::string>{"Nova 222222", "Nova 333333", "Home 788899"}));
}

TEST(Merge, EveryStarNamedLikeOneInMemoryIsSkippedAndReported) {
    auto memory = NewMap();
    TStar* kept = AddStar(*AddSector(*memory, "Home", 1, 1), "Nova", 1, 1, "111111");
    auto loaded = NewMap();
    TSector* far = AddSector(*loaded, "Far", 2, 1);
    AddStar(*far, "Nova", 1, 1, "222222");
    AddStar(*far, "Nova", 2, 2, "333333");
    AddStar(*far, "Rigel", 4, 4);

    const TCombineResult r = MergeUniverse(*memory, *loaded);
    EXPECT_EQ(r.Status, Status::Done);
    EXPECT_EQ(r.Lines, (Lines{"Star : Nova", "Star : Nova"}));
    EXPECT_EQ(StarNames(*memory), (std::vector<std::string>{"Nova", "Rigel"}));
    EXPECT_EQ(memory->FindStar("Nova"), kept);
    EXPECT_EQ(kept->UPC, "111111");
    EXPECT_EQ(memory->FindSector("Far")->Stars().size(), 1u);  // the new sector came without its skipped stars
    EXPECT_TRUE(memory->ManagerRequiresSaving);
    EXPECT_TRUE(memory->MapDirty);
}

TEST(Combine, ASectorWithANamesakeIsCombinedKeepingEveryStarsHex) {
    for (const bool overlay : {false, true}) {
        auto memory = NewMap();
        TSector* alpha = AddSector(*memory, "Alpha", 1, 1);
        alpha->SetExcludeFromDisplay(false);
        AddStar(*alpha, "Resident", 1, 1);
        auto loaded = NewMap();
        TSector* other = AddSector(*loaded, "Alpha", 3, 3);
        for (int i = 0; i < 16; ++i) other->SSName[static_cast<std::size_t>(i)] = "Loaded " + std::to_string(i);
        AddStar(*other, "Visitor", 9, 40);  // subsector 2, 4
        TStar* stray = AddStar(*other, "Stray", 2, 2);
        stray->SubSectorName = "no such subsector";

        const TCombineResult r = overlay ? OverlayUniverse(*memory, *loaded) : MergeUniverse(*memory, *loaded);
        EXPECT_EQ(r.Lines, Lines{"Sector : Alpha"});
        ASSERT_EQ(memory->Sectors()->ChildCount(), 1u);
        EXPECT_EQ(alpha->SectorCoordsX, 1);
        EXPECT_EQ(alpha->SSName[0], "a");
        ASSERT_EQ(alpha->Stars().size(), 3u);
        const TStar* visitor = memory->FindStar("Visitor");
        EXPECT_EQ(visitor->Sector(), alpha);
        EXPECT_EQ(visitor->SubSectorName, alpha->SubsectorName(2, 4));
        EXPECT_EQ(visitor->SectorHexColumn(), 9);
        EXPECT_EQ(visitor->SectorHexRow(), 40);
        EXPECT_EQ(memory->FindStar("Stray")->SubSectorName, "no such subsector");
    }
}

TEST(Combine, NamesakesAreLookedForAmongWhatMemoryHeldAtTheStart) {
    // Two loaded sectors of a name that memory does not have are both added;
    // a star in the second is no namesake of one in the first.
    for (const bool overlay : {false, true}) {
        auto memory = NewMap();
        auto loaded = NewMap();
        AddStar(*AddSector(*loaded, "Twin", 1, 1), "Nova", 1, 1);
        AddStar(*AddSector(*loaded, "Twin", 2, 1), "Nova", 1, 1);
        const TCombineResult r = overlay ? OverlayUniverse(*memory, *loaded) : MergeUniverse(*memory, *loaded);
        EXPECT_TRUE(r.Lines.empty());
        EXPECT_EQ(memory->Sectors()->ChildCount(), 2u);
        EXPECT_EQ(StarNames(*memory).size(), 2u);
    }
}

TEST(Combine, AllegianceNamesakes) {
    for (const bool overlay : {false, true}) {
        auto memory = NewMap();
        TAllegiance* kept = AddAllegiance(*memory, "Compact", "Cv", 0x0000FF);
        auto loaded = NewMap();
        TAllegiance* incoming = AddAllegiance(*loaded, "Compact", "Cp", 0x00FF00);
        incoming->Style = bsDiagCross;
        incoming->Notes = "new notes";
        AddAllegiance(*loaded, "Hegemony", "Hg", 0xFF0000);

        const TCombineResult r = overlay ? OverlayUniverse(*memory, *loaded) : MergeUniverse(*memory, *loaded);
        EXPECT_EQ(r.Lines, Lines{"Allegiance : Compact"});
        ASSERT_EQ(memory->Allegiances()->ChildCount(), 2u);
        EXPECT_EQ(memory->FindAllegiance("Compact"), kept);
        EXPECT_EQ(kept->Color, overlay ? 0x00FF00 : 0x0000FF);
        EXPECT_EQ(kept->ImportCode, overlay ? "Cp" : "Cv");
        EXPECT_EQ(kept->Style, overlay ? bsDiagCross : bsCross);
        EXPECT_EQ(kept->Notes, overlay ? "new notes" : "Compact notes");
        EXPECT_EQ(memory->FindAllegiance("Hegemony")->ImportCode, "Hg");
    }
}

TEST(Combine, RoutesAreCombinedAndLegNamesakesAreThoseOfTheSameRoute) {
    for (const bool overlay : {false, true}) {
        auto memory = NewMap();
        memory->Name1 = "mem";
        TRoute* spine = AddRoute(*memory, "Spine", {"L1", "L2"});
        spine->Color = 5;
        auto loaded = NewMap();
        loaded->Name1 = "new";
        AddRoute(*loaded, "Spine", {"L2", "L3"})->Color = 9;
        AddRoute(*loaded, "Rim", {"L1", "L2"});  // leg names used by another route

        const TCombineResult r = overlay ? OverlayUniverse(*memory, *loaded) : MergeUniverse(*memory, *loaded);
        EXPECT_EQ(r.Lines, (Lines{"Route : Spine", "RouteLeg : L2"}));
        ASSERT_EQ(memory->Routes()->ChildCount(), 2u);
        EXPECT_EQ(memory->FindRoute("Spine"), spine);
        EXPECT_EQ(spine->Color, 5);
        if (overlay)
            EXPECT_EQ(LegNames(*spine), (std::vector<std::string>{"L1:mem-from>mem-to", "L2:new-from>new-to",
                                                                  "L3:new-from>new-to"}));
        else
            EXPECT_EQ(LegNames(*spine), (std::vector<std::string>{"L1:mem-from>mem-to", "L2:mem-from>mem-to",
                                                                  "L3:new-from>new-to"}));
        EXPECT_EQ(LegNames(*memory->FindRoute("Rim")),
                  (std::vector<std::string>{"L1:new-from>new-to", "L2:new-from>new-to"}));
    }
}

TEST(Combine, EveryLoadedObjectIsAddedCombinedOrReported) {
    auto build = [](TUniverse& u, const std::string& tag, int shift) {
        for (int s = 0; s < 3; ++s) {
            TSector* sector = AddSector(u, "Sector " + std::to_string(s + shift), s + 1, 1);
            for (int i = 0; i < 20; ++i) AddStar(*sector, "Star " + std::to_string(i + shift * 10), i % 8 + 1, 1);
        }
        for (int a = 0; a < 4; ++a) AddAllegiance(u, "Realm " + std::to_string(a + shift), tag + std::to_string(a), a);
        for (int r = 0; r < 3; ++r) AddRoute(u, "Route " + std::to_string(r + shift), {"A", "B", tag});
    };
    for (const bool overlay : {false, true}) {
        auto memory = NewMap();
        build(*memory, "m", 0);
        auto loaded = NewMap();
        build(*loaded, "l", 1);
        const std::size_t before = ObjectCount(*memory), incoming = ObjectCount(*loaded) - 4;  // without root, containers
        const TCombineResult r = overlay ? OverlayUniverse(*memory, *loaded) : MergeUniverse(*memory, *loaded);
        // Combined sectors and routes are reported and leave no object of their own.
        std::size_t reported = r.Lines.size(), replaced = 0, combined = 0;
        for (const std::string& line : r.Lines) {
            if (line.rfind("Sector : ", 0) == 0 || line.rfind("Route : ", 0) == 0) ++combined;
            if (line.rfind("Star : ", 0) == 0 || line.rfind("RouteLeg : ", 0) == 0) ++replaced;
        }
        const std::size_t allegianceLines = reported - combined - replaced;
        const std::size_t after = ObjectCount(*memory);
        if (overlay)  // a replaced star or leg deletes one in memory; an allegiance namesake adds nothing
            EXPECT_EQ(after, before + incoming - combined - allegianceLines - replaced);
        else  // every reported object stays out
            EXPECT_EQ(after, before + incoming - reported);
        EXPECT_EQ(combined, 2u + 2u);
        EXPECT_GT(replaced, 0u);
        EXPECT_EQ(allegianceLines, 3u);
        ExpectOneContainerEach(*memory);
    }
}

TEST(Merge, AMapOlderThan45IsRefusedAndChangesNothingWhileOverlayTakesIt) {
    auto memory = NewMap();
    AddStar(*AddSector(*memory, "Home", 1, 1), "Nova", 1, 1);
    auto loaded = NewMap();
    loaded->ManagerVersion = 4.0;
    AddStar(*AddSector(*loaded, "Far", 2, 1), "Rigel", 1, 1);

    const TCombineResult refused = MergeUniverse(*memory, *loaded);
    EXPECT_EQ(refused.Status, Status::NeedsResave);
    EXPECT_EQ(refused.Message,
              "This map must first be opened and then re-saved so the latest format is available.");
    EXPECT_TRUE(refused.Lines.empty());
    EXPECT_EQ(StarNames(*memory), std::vector<std::string>{"Nova"});
    EXPECT_FALSE(memory->ManagerRequiresSaving);
    EXPECT_FALSE(memory->MapDirty);

    const TCombineResult overlaid = OverlayUniverse(*memory, *loaded);
    EXPECT_EQ(overlaid.Status, Status::Done);
    EXPECT_EQ(StarNames(*memory), (std::vector<std::string>{"Nova", "Rigel"}));
}

TEST(Combine, EveryContainerOfTheLoadedMapIsRead) {
    auto memory = NewMap();
    auto loaded = NewMap();
    AddSector(*loaded, "First", 1, 1);
    TSectors* extra = loaded->Create<TSectors>();
    TSector* second = extra->Create<TSector>();
    second->Name1 = "Second";
    EXPECT_TRUE(MergeUniverse(*memory, *loaded).Lines.empty());
    EXPECT_TRUE(memory->FindSector("First"));
    EXPECT_TRUE(memory->FindSector("Second"));
    ExpectOneContainerEach(*memory);
}

TEST(Combine, ObjectsOutsideAContainerOfTheirKindAreNamed) {
    auto memory = NewMap();
    TSector* home = AddSector(*memory, "Home", 1, 1);
    AddRoute(*memory, "Trade", {"A"});
    auto loaded = NewMap();
    loaded->Sectors()->Create<TStar>()->Name1 = "InContainer";  // a star straight in the sectors container
    loaded->Routes()->Create<TRouteLeg>()->Name1 = "LooseLeg";
    loaded->Create<TStar>()->Name1 = "AtRoot";
    TSector* namesake = AddSector(*loaded, "Home", 1, 1);
    namesake->Create<TRouteLeg>()->Name1 = "InSector";  // lost when the sector is combined
    AddRoute(*loaded, "Trade", {})->Create<TStar>()->Name1 = "InRoute";
    const Lines expected{"Not placed : RouteLeg : LooseLeg", "Route : Trade", "Not placed : Star : InRoute",
                         "Not placed : Star : InContainer", "Sector : Home", "Not placed : RouteLeg : InSector",
                         "Not placed : Star : AtRoot"};
    EXPECT_EQ(MergeUniverse(*memory, *loaded).Lines, expected);
    EXPECT_EQ(home->ChildCount(), 0u);
    ExpectOneContainerEach(*memory);
}

// ---- the commands after the choice of file ----

namespace {

class CombineFile : public ::testing::Test {
protected:
    void SetUp() override {
        memory = NewMap();
        AddStar(*AddSector(*memory, "Home", 1, 1), "Nova", 1, 1);
    }
    void TearDown() override {
        for (const std::string& p : paths) std::filesystem::remove(p);
    }
    std::string Save(TManager& root, const std::string& name) {
        const std::string path = (std::filesystem::temp_directory_path() / ("hexlane-io-" + name)).string();
        std::string message;
        EXPECT_TRUE(root.SaveToFile(path, message)) << message;
        paths.push_back(path);
        return path;
    }
    std::unique_ptr<TUniverse> memory;
    std::vector<std::string> paths;
};

}  // namespace

TEST_F(CombineFile, NoFileOrAnUnreadableOneCombinesNothingButMarksTheMapChanged) {
    auto bare = std::make_unique<TUniverse>();  // a map without its containers
    bare->ManagerVersion = kMapFormatVersion;
    const std::string corrupt = Save(*bare, "corrupt.map");
    struct Case {
        std::string file, message;
    };
    for (const Case& c : {Case{"", ""}, Case{"/nonexistent/dir/x.map", "Error Creating Filestream"},
                          Case{corrupt, "Corrupt Map file."}}) {
        for (const bool overlay : {false, true}) {
            memory->ManagerRequiresSaving = false;
            memory->MapDirty = false;
            const TCombineResult r = overlay ? OverlayMapFile(*memory, c.file) : MergeMapFile(*memory, c.file);
            EXPECT_EQ(r.Status, Status::NotRead) << c.file;
            EXPECT_EQ(r.Message, c.message);
            EXPECT_TRUE(r.Lines.empty());
            EXPECT_TRUE(memory->ManagerRequiresSaving);
            EXPECT_TRUE(memory->MapDirty);
            EXPECT_EQ(StarNames(*memory), std::vector<std::string>{"Nova"});
        }
    }
}

TEST_F(CombineFile, TheFileKeepsItsVersionForTheMergeCheck) {
    auto old = NewMap();
    old->ManagerVersion = 4.0;
    AddStar(*AddSector(*old, "Far", 2, 1), "Rigel", 1, 1);
    const std::string path = Save(*old, "old-with-containers.map");
    const TCombineResult merged = MergeMapFile(*memory, path);
    EXPECT_EQ(merged.Status, Status::NeedsResave);
    EXPECT_FALSE(memory->ManagerRequiresSaving);
    const TCombineResult overlaid = OverlayMapFile(*memory, path);
    EXPECT_EQ(overlaid.Status, Status::Done);
    EXPECT_TRUE(memory->FindStar("Rigel"));
}

TEST_F(CombineFile, AnOldMapWithoutContainersIsMovedIntoThemBeforeAnOverlay) {
    // Old writers put everything under the universe; a star named its sector.
    testutil::Bytes b;
    b.Sig().Record("TUniverse");
    b.Short("ManagerVersion").Raw({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x40});  // 4.0
    b.End();
    b.Record("TSector").Str("Name1", "Far").Int8("SectorCoordsX", 2).Int8("SectorCoordsY", 1);
    b.Str("SS0101Name", "a").End().End();
    for (const char* name : {"Rigel", "Nova", "Lost"}) {
        b.Record("TStar").Str("Name1", name).Str("SectorName", std::string(name) == "Lost" ? "Nowhere" : "Far");
        b.Str("SubSectorName", "a").Int8("StarCoordsX", 1).Int8("StarCoordsY", 1).End().End();
    }
    b.End();
    const std::string path = (std::filesystem::temp_directory_path() / "hexlane-io-flat.map").string();
    paths.push_back(path);
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(b.s.data(), 1, b.s.size(), f);
        std::fclose(f);
    }
    const TCombineResult r = OverlayMapFile(*memory, path);
    EXPECT_EQ(r.Status, Status::Done);
    EXPECT_EQ(r.Lines, (Lines{"Not placed by the upgrade : Star : Lost", "Star : Nova"}));
    EXPECT_EQ(StarNames(*memory), (std::vector<std::string>{"Rigel", "Nova"}));
    EXPECT_EQ(memory->FindStar("Rigel")->Sector()->Name1, "Far");
    EXPECT_EQ(memory->FindStar("Rigel")->HexX, 33);
    ExpectOneContainerEach(*memory);
}

TEST(Merge, TheVersionRuleTakesMapsFrom45On) {
    const struct {
        double version;
        Status status;
    } cases[] = {{4.0, Status::NeedsResave}, {4.49, Status::NeedsResave}, {4.5, Status::Done}, {4.51, Status::Done}};
    for (const auto& c : cases) {
        auto memory = NewMap();
        auto loaded = NewMap();
        loaded->ManagerVersion = c.version;
        AddStar(*AddSector(*loaded, "Far", 2, 1), "Rigel", 1, 1);
        EXPECT_EQ(MergeUniverse(*memory, *loaded).Status, c.status) << c.version;
        EXPECT_EQ(StarNames(*memory).size(), c.status == Status::Done ? 1u : 0u) << c.version;
    }
}
