#include "MapSnapshot.h"

#include "DisplayFilters.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace hexlane;

namespace {

// Four sectors of 200 stars, two routes, two allegiances.
std::unique_ptr<TUniverse> Map() {
    auto u = TUniverse::CreateNew();
    const char* sectors[] = {"Alpha", "Beta", "Gamma", "Delta"};
    for (int s = 0; s < 4; ++s) {
        TSector* sector = testutil::AddSector(*u, sectors[s], s + 1, 1);
        for (int i = 0; i < 200; ++i)
            testutil::AddStar(*sector, std::string(1, sectors[s][0]) + std::to_string(i), 1 + i % 32, 1 + i / 32);
    }
    for (const char* name : {"Main", "Side"}) {
        TRoute* route = u->Routes()->Create<TRoute>();
        route->Name1 = name;
        route->Create<TRouteLeg>()->Name1 = std::string(name) + " 1";
    }
    for (const char* name : {"Imperium", "Zhodani"}) u->Allegiances()->Create<TAllegiance>()->Name1 = name;
    u->ForEachStar([](TStar& star) { star.Visible = true; });
    return u;
}

struct Change {
    const char* what;
    std::function<void(TUniverse&)> apply;
    // The sectors, routes and allegiances whose records or children the
    // change alters, by name.
    std::vector<std::string> touched = {};
};

const TManager* Named(const TUniverse& u, const std::string& name) {
    if (const TManager* s = u.FindSector(name)) return s;
    if (const TManager* r = u.FindRoute(name)) return r;
    return u.FindAllegiance(name);
}

void DestroyStars(TSector& sector, std::size_t keep) {
    while (sector.Stars().size() > keep) TManager::Destroy(sector.Stars().back());
}

}  // namespace

// Each kind of change: the snapshot after it streams exactly what a save
// writes; going back and forth between the two snapshots gives back each
// state's bytes; what did not change is shared.
TEST(MapSnapshot, GoesBackAndForthOverEveryKindOfChangeSharingWhatStayed) {
    const Change changes[] = {
        {"edit one star", [](TUniverse& u) { u.FindStar("A17")->UPC = "A788899"; }, {"Alpha"}},
        {"delete the first sector",
         [](TUniverse& u) { TManager::Destroy(u.Sectors()->ChildrenOf<TSector>().front()); }},
        {"add a sector", [](TUniverse& u) { testutil::AddSector(u, "Epsilon", 5, 1); }},
        {"move a star between sectors",
         [](TUniverse& u) {
             TStar* star = u.FindStar("A3");
             CloneObject(u.FindSector("Beta"), *star);
             TManager::Destroy(star);
         },
         {"Alpha", "Beta"}},
        {"add a leg", [](TUniverse& u) { u.FindRoute("Side")->Create<TRouteLeg>()->Name1 = "Side 2"; }, {"Side"}},
        {"delete an allegiance", [](TUniverse& u) { TManager::Destroy(u.FindAllegiance("Zhodani")); }},
        {"alternate tech levels", [](TUniverse& u) { u.TLAltDesc[3] = "Steam"; }},
        {"exclude a sector from display", [](TUniverse& u) { RemoveSectorFromDisplay(u, *u.FindSector("Beta")); },
         {"Beta"}},
        {"a route one pixel wide, the thickness a save leaves out",
         [](TUniverse& u) { u.FindRoute("Side")->LineThickness = 1; }, {"Side"}},
        {"delete the last stars of a sector", [](TUniverse& u) { DestroyStars(*u.FindSector("Gamma"), 190); },
         {"Gamma"}},
        {"delete all stars of a sector", [](TUniverse& u) { DestroyStars(*u.FindSector("Delta"), 0); }, {"Delta"}},
        {"delete all stars of the first sector", [](TUniverse& u) { DestroyStars(*u.FindSector("Alpha"), 0); },
         {"Alpha"}},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        auto u = Map();
        const std::string before = testutil::Stream(*u);
        const auto first = TakeSnapshot(*u, nullptr);
        ASSERT_EQ(SnapshotStream(*first), before);
        // The objects the change leaves alone, for the snapshot that writes
        // only what the change touched.
        SnapshotPieces unchanged = PiecesOf(*u, *first);
        ASSERT_FALSE(unchanged.empty());
        for (const std::string& name : change.touched) unchanged.erase(Named(*u, name));

        change.apply(*u);
        const std::string after = testutil::Stream(*u);
        const auto second = TakeSnapshot(*u, first.get());
        ASSERT_EQ(SnapshotStream(*second), after);
        const auto touchedOnly = TakeSnapshot(*u, first.get(), &unchanged);
        EXPECT_EQ(SnapshotStream(*touchedOnly), after);
        EXPECT_TRUE(SameState(*touchedOnly, *second));
        ASSERT_FALSE(SameState(*first, *second));
        EXPECT_LT(second->AddedBytes * 4, after.size()) << "most pieces are shared";
        EXPECT_TRUE(SameState(*TakeSnapshot(*u, nullptr), *second));

        std::unique_ptr<TUniverse> undone = RestoreSnapshot(*u, *second, *first);
        ASSERT_TRUE(undone);
        EXPECT_EQ(testutil::Stream(*undone), before);
        std::unique_ptr<TUniverse> redone = RestoreSnapshot(*undone, *first, *second);
        ASSERT_TRUE(redone);
        EXPECT_EQ(testutil::Stream(*redone), after);
    }
}

// A live universe that moved on from its snapshot (a change no step holds)
// still comes back exactly as the target was.
TEST(MapSnapshot, RestoringFromAStaleSnapshotReadsTheChangedPiecesAnew) {
    auto u = Map();
    const std::string before = testutil::Stream(*u);
    const auto first = TakeSnapshot(*u, nullptr);
    u->FindStar("B5")->Name1 = "Changed";
    const auto fresh = TakeSnapshot(*u, first.get());
    std::unique_ptr<TUniverse> back = RestoreSnapshot(*u, *fresh, *first);
    ASSERT_TRUE(back);
    EXPECT_EQ(testutil::Stream(*back), before);
}

// Unstored state: the view of the live universe carries over; stars read
// again keep the visibility of their namesakes, or follow their sector's
// exclusion.
TEST(MapSnapshot, RestoredUniverseKeepsTheViewAndTheVisibility) {
    auto u = Map();
    u->SetHexSize(90);
    u->ShowNames = true;
    u->FindStar("A1")->Visible = false;  // as a query left it
    const auto first = TakeSnapshot(*u, nullptr);
    u->FindStar("A2")->UPC = "B000000";
    RemoveSectorFromDisplay(*u, *u->FindSector("Beta"));
    const auto second = TakeSnapshot(*u, first.get());

    std::unique_ptr<TUniverse> back = RestoreSnapshot(*u, *second, *first);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->HexSize, 90);
    EXPECT_TRUE(back->ShowNames);
    EXPECT_TRUE(back->MapDirty);
    EXPECT_FALSE(back->FindStar("A1")->Visible);
    EXPECT_TRUE(back->FindStar("A3")->Visible);
    EXPECT_TRUE(back->FindStar("B7")->Visible);  // Beta no longer excluded
}

// A restored universe needs saving exactly as the live one did: the window
// decides that flag from the history, never from the snapshot.
TEST(MapSnapshot, RestoredUniverseNeedsSavingAsTheLiveOneDid) {
    for (const bool needsSaving : {false, true}) {
        SCOPED_TRACE(needsSaving);
        auto u = Map();
        const auto first = TakeSnapshot(*u, nullptr);
        u->FindStar("A2")->UPC = "B000000";
        u->ManagerRequiresSaving = needsSaving;
        const auto second = TakeSnapshot(*u, first.get());
        std::unique_ptr<TUniverse> back = RestoreSnapshot(*u, *second, *first);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->ManagerRequiresSaving, needsSaving);
        EXPECT_NE(back->FindStar("A2")->UPC, "B000000");
    }
}

TEST(MapSnapshot, MemoryCountsSharedPiecesOnce) {
    auto u = Map();
    const auto first = TakeSnapshot(*u, nullptr);
    u->FindStar("A2")->UPC = "B000000";
    const auto second = TakeSnapshot(*u, first.get());
    const std::size_t one = SnapshotMemory({first.get()});
    const std::size_t both = SnapshotMemory({first.get(), second.get()});
    EXPECT_GT(both, one);
    EXPECT_LT(both - one, one / 4);
    EXPECT_EQ(SnapshotMemory({first.get(), first.get()}), one);
    EXPECT_EQ(second->AddedBytes, both - one);
    EXPECT_EQ(first->AddedBytes, one);
}
