#include "DefineUniverse.h"
#include "Navigation.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <random>

using testutil::AddSector;
using testutil::AddStar;

namespace {

// A line of stars along row 1 at the given columns, named by the letters.
struct Line {
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    TSector* sector = AddSector(*u, "Line", 1, 1);
    TStar* Add(const std::string& name, int column, int row = 1) { return AddStar(*sector, name, column, row); }
    FindPathResult Find(const std::string& from, const std::string& to, int range, bool byDistance = true,
                        bool visibleOnly = false) {
        u->ComputeExtent();
        return u->FindPath(*u->FindStar(from), *u->FindStar(to), range, visibleOnly, byDistance);
    }
};

using Names = std::vector<std::string>;

}  // namespace

TEST(PathSearch, FindsTheCheapestChainAndListsItInLinkOrder) {
    // Node order C, D, A, B; in space A - B - C - D, three parsecs apart.
    Line l;
    l.Add("C", 7);
    l.Add("D", 10);
    l.Add("A", 1);
    l.Add("B", 4);
    FindPathResult r = l.Find("A", "D", 3);
    EXPECT_EQ(r.Names, (Names{"C", "D", "C", "B", "A", "B"}));
    EXPECT_EQ(r.LegLines, (Names{"C <-> D", "C <-> B", "A <-> B"}));
    EXPECT_EQ(l.u->Path.PathCost, 9);
    EXPECT_EQ(l.u->Path.PathNodes.size(), 4u);
    EXPECT_EQ(l.u->Path.PathNodes[l.u->Path.PathStart].Name1(), "A");

    // Out of range: no path.
    EXPECT_TRUE(l.Find("A", "D", 2).Names.empty());
}

TEST(PathSearch, ShortestTimePrefersLongJumps) {
    // Columns 1, 2, 4 and 7 on one row, jump range 3.
    Line l;
    l.Add("A", 1);
    l.Add("B", 2);
    l.Add("C", 4);
    l.Add("D", 7);
    // By distance A-C-D and A-B-C-D both cost 6; C is reached first from A
    // and the later, equally cheap way through B does not replace it.
    FindPathResult byDistance = l.Find("A", "D", 3, true);
    EXPECT_EQ(l.u->Path.PathCost, 6);
    EXPECT_EQ(byDistance.Names, (Names{"A", "C", "C", "D"}));
    // By time, jumps of exactly 3 are free: A-C-D costs 0.
    FindPathResult byTime = l.Find("A", "D", 3, false);
    EXPECT_EQ(byTime.Names, (Names{"A", "C", "C", "D"}));
    EXPECT_EQ(l.u->Path.PathCost, 0);
}

TEST(PathSearch, EdgeCases) {
    Line l;
    l.Add("A", 1);
    l.Add("Twin", 1);  // shares A's hex
    l.Add("B", 2);
    l.Add("Far", 20);
    // Range 0 links only systems in the same hex, at cost 0 by time.
    FindPathResult r = l.Find("A", "Twin", 0, false);
    EXPECT_EQ(r.Names, (Names{"A", "Twin"}));
    EXPECT_EQ(l.u->Path.LinkCount(), 1u);
    EXPECT_EQ(l.u->Path.PathCost, 0);
    // Origin equal to destination: nothing.
    EXPECT_TRUE(l.Find("A", "A", 5).Names.empty());
    // A hidden origin with VisibleOnly: no start node.
    l.u->FindStar("A")->Visible = false;
    EXPECT_TRUE(l.Find("A", "B", 1, true, true).Names.empty());
    EXPECT_EQ(l.u->Path.PathStart, TNode::kNone);
    EXPECT_EQ(l.Find("A", "B", 1, true, false).Names, (Names{"A", "B"}));
    // Costs of 32767 or more are unreachable: a huge range by time makes every jump that dear.
    EXPECT_TRUE(l.Find("A", "B", 40000, false).Names.empty());
}

TEST(PathSearch, TheGivenSystemsAreTheEndsWhateverTheirNamesakes) {
    // Two systems named Home and two named Goal; the dialogs hand over the
    // first of each name, and the search, its result and the route made from
    // it keep to those very systems.
    Line l;
    TStar* home = l.Add("Home", 1);
    TStar* x = l.Add("X", 3);
    TStar* laterHome = l.Add("Home", 5);
    TStar* goal = l.Add("Goal", 9);
    TStar* laterGoal = l.Add("Goal", 7);
    l.u->ComputeExtent();
    FindPathResult r = l.u->FindPath(*home, *goal, 2, false, true);
    EXPECT_EQ(r.Names, (Names{"Home", "X", "X", "Home", "Home", "Goal", "Goal", "Goal"}));
    EXPECT_EQ(r.Stars, (std::vector<const TStar*>{home, x, x, laterHome, laterHome, laterGoal, goal, laterGoal}));
    EXPECT_EQ(l.u->Path.PathCost, 8);

}

TEST(PathSearch, ASecondSearchSeesWhatChangedOnTheMap) {
    Line l;
    TStar* a = l.Add("A", 1);
    TStar* b = l.Add("B", 4);
    TStar* c = l.Add("C", 7);
    l.u->ComputeExtent();
    EXPECT_EQ(l.u->FindPath(*a, *c, 3, false, true).Names, (Names{"A", "B", "B", "C"}));
    EXPECT_EQ(l.u->FindPath(*a, *c, 3, false, false).Names, (Names{"A", "B", "B", "C"}));
    // B moves out of reach: the links of the first searches no longer hold.
    b->StarCoordsX = 2;
    b->StarCoordsY = 9;
    l.u->ComputeExtent();
    EXPECT_TRUE(l.u->FindPath(*a, *c, 3, false, true).Names.empty());
}

TEST(PathSearch, GridLinksEqualTheAllPairsReference) {
    std::mt19937 rng(11);
    for (int seed = 0; seed < 60; ++seed) {
        auto u = TUniverse::CreateNew();
        // Two or three sectors, some left of column 1, stars often sharing hexes.
        const int sectors = 2 + seed % 2;
        for (int s = 0; s < sectors; ++s) {
            TSector* sec = AddSector(*u, "S" + std::to_string(s), static_cast<int>(rng() % 3) - 1,
                                     static_cast<int>(rng() % 2) + 1);
            const int stars = 20 + static_cast<int>(rng() % 80);
            for (int i = 0; i < stars; ++i) {
                TStar* st = AddStar(*sec, "N" + std::to_string(rng() % 30), static_cast<int>(rng() % 12) + 1,
                                    static_cast<int>(rng() % 12) + 1);
                st->Visible = rng() % 5 != 0;
            }
        }
        u->ComputeExtent();
        std::vector<TStar*> all;
        u->ForEachStar([&](TStar& s) { all.push_back(&s); });
        for (int range = 0; range <= 6; ++range) {
            const bool visibleOnly = (seed + range) % 2;
            const bool byDistance = range % 2;
            TStar& from = *all[rng() % all.size()];
            TStar& to = *all[rng() % all.size()];
            u->FindPath(from, to, range, visibleOnly, byDistance);

            TPathSearchState ref;
            ref.PathNodes = u->Path.PathNodes;
            hexlane::BuildPathLinksAllPairs(ref, range);

            auto expectSameLinks = [&](const TPathSearchState& got) {
                ASSERT_EQ(got.LinkStart, ref.LinkStart) << seed << " " << range;
                for (std::size_t k = 0; k < ref.Links.size(); ++k) {
                    ASSERT_EQ(got.Links[k].To, ref.Links[k].To) << seed << " " << range;
                    ASSERT_EQ(got.Links[k].Length, ref.Links[k].Length);
                }
            };
            expectSameLinks(u->Path);
            // Shared among threads, each taking a run of nodes, the links are the same.
            hexlane::BuildPathLinks(u->Path, range, 2 + static_cast<unsigned>(seed % 3));
            expectSameLinks(u->Path);
        }
    }
}

TEST(Navigation, RadiusQueryAndPlotOnly) {
    Line l;
    l.Add("A", 1);
    l.Add("B", 3);
    l.Add("C", 10);
    l.Add("A", 2);  // a namesake
    l.u->ComputeExtent();
    TStar& c = *l.u->FindStar("C");
    EXPECT_EQ(hexlane::SystemsWithinRadius(*l.u, c, 1), (Names{"C"}));
    EXPECT_EQ(hexlane::SystemsWithinRadius(*l.u, *l.u->FindStar("A"), 2), (Names{"A", "B", "A"}));

    EXPECT_EQ(hexlane::PlotTheseSystemsOnly(*l.u, {}), "Nothing to Do");
    EXPECT_TRUE(l.u->FindStar("C")->Visible);
    l.u->MapDirty = false;
    EXPECT_EQ(hexlane::PlotTheseSystemsOnly(*l.u, {"C", "B"}), "");
    EXPECT_TRUE(l.u->MapDirty);
    EXPECT_FALSE(l.u->FindStar("A")->Visible);
    EXPECT_TRUE(l.u->FindStar("B")->Visible);
    EXPECT_EQ(l.u->MinHexX, 3);
    EXPECT_EQ(l.u->MaxHexX, 10);
}

TEST(Navigation, PathDialogRefusals) {
    Line l;
    TStar* a = l.Add("A", 1);
    TStar* b = l.Add("B", 5);
    l.u->ComputeExtent();
    EXPECT_EQ(hexlane::PathSearchRefusal(*a, *b, 0),
              "There is nothing in range of this rustbucket.  Try putting in a Jump Drive.");
    EXPECT_EQ(hexlane::PathSearchRefusal(*a, *b, 4),
              "This is a trivial solution.  The Destination is within your ship's jump range.");
    EXPECT_EQ(hexlane::PathSearchRefusal(*a, *b, 3), "");
}

TEST(Navigation, CreateRouteFromAPath) {
    Line l;
    l.Add("A", 1);
    l.Add("B", 2);
    l.Add("C", 3);
    l.u->ComputeExtent();
    EXPECT_EQ(hexlane::CreateRouteFromPath(*l.u, {}, "x").Message, "No Route to Plot");
    EXPECT_EQ(hexlane::CreateRouteFromPath(*l.u, {"A", "B"}, "").Message, "Invalid Path Name");
    EXPECT_EQ(l.u->Routes()->ChildCount(), 0u);
    EXPECT_FALSE(l.u->ManagerRequiresSaving);

    hexlane::CreateRouteResult r = hexlane::CreateRouteFromPath(*l.u, {"B", "C", "A", "B"}, "Trip");
    ASSERT_NE(r.Route, nullptr);
    EXPECT_EQ(r.Message, "");
    EXPECT_TRUE(r.Route->ShowRoute);
    EXPECT_TRUE(r.Route->User);
    ASSERT_EQ(r.Route->Legs().size(), 2u);
    EXPECT_EQ(r.Route->Legs()[0]->Name1, "Trip - 0");
    EXPECT_EQ(r.Route->Legs()[0]->SStarName, "B");
    EXPECT_EQ(r.Route->Legs()[1]->Name1, "Trip - 1");
    EXPECT_EQ(r.Route->Legs()[1]->EStarName, "B");
    EXPECT_TRUE(l.u->ShowRoutes && l.u->ManagerRequiresSaving && l.u->MapDirty);

    // A missing star stops the legs; what was made stays and the map counts as changed.
    l.u->ManagerRequiresSaving = false;
    r = hexlane::CreateRouteFromPath(*l.u, {"A", "B", "Gone", "C", "B", "C"}, "Partial");
    EXPECT_EQ(r.Message, "Invalid pointer for Start/End Legs");
    ASSERT_NE(r.Route, nullptr);
    EXPECT_EQ(r.Route->Legs().size(), 1u);
    EXPECT_EQ(l.u->Routes()->ChildCount(), 2u);
    EXPECT_TRUE(l.u->ManagerRequiresSaving);
}
