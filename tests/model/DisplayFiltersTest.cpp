#include "DisplayFilters.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

using namespace hexlane;
using testutil::AddSector;
using testutil::AddStar;

namespace {

struct Filters : ::testing::Test {
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    TSector* a = AddSector(*u, "A", 1, 1);
    TSector* b = AddSector(*u, "B", 2, 1);
    TSector* c = AddSector(*u, "C", 3, 1);
    void SetUp() override {
        AddStar(*a, "A1", 1, 1)->Allegiance = "Empire";
        AddStar(*a, "A2", 9, 1);  // subsector "e"
        AddStar(*b, "Home", 1, 1)->Allegiance = "Empire";
        AddStar(*b, "B2", 2, 2);
        AddStar(*c, "Home", 1, 1);
        AddStar(*c, "C2", 2, 2);
    }
    bool Shown(const std::string& sector, const std::string& star) {
        TSector* s = u->FindSector(sector);
        for (TStar* st : s->Stars())
            if (st->Name1 == star) return st->Visible && !s->ExcludeFromDisplay();
        return false;
    }
};

}  // namespace

TEST_F(Filters, SectorsOnlyAddedAndRemoved) {
    DisplayOnlySector(*u, *a);
    AddSectorToDisplay(*u, *b);
    EXPECT_TRUE(Shown("A", "A1") && Shown("B", "Home") && Shown("B", "B2"));
    EXPECT_FALSE(Shown("C", "C2"));
    EXPECT_TRUE(u->MapDirty && u->ManagerRequiresSaving);
    EXPECT_EQ(u->MaxSectorX, 2);
    RemoveSectorFromDisplay(*u, *a);
    EXPECT_FALSE(Shown("A", "A1"));
}

TEST_F(Filters, SubsectorsAndIncludingASectorAgain) {
    DisplayOnlySubsector(*u, *a, "e");
    EXPECT_TRUE(Shown("A", "A2"));
    EXPECT_FALSE(Shown("A", "A1"));
    EXPECT_FALSE(Shown("B", "B2"));
    AddSubsectorToDisplay(*u, *a, "a");
    EXPECT_TRUE(Shown("A", "A1"));
    RemoveSubsectorFromDisplay(*u, *a, "a");
    EXPECT_FALSE(Shown("A", "A1"));
    AddSectorToDisplay(*u, *a);  // including resets every star of the sector
    EXPECT_TRUE(Shown("A", "A1") && Shown("A", "A2"));
}

TEST_F(Filters, Allegiances) {
    DisplayOnlyAllegiance(*u, "Empire");
    EXPECT_TRUE(Shown("A", "A1") && Shown("B", "Home"));
    EXPECT_FALSE(Shown("A", "A2") || Shown("B", "B2") || Shown("C", "C2"));
    EXPECT_TRUE(c->ExcludeFromDisplay());
    RemoveAllegianceFromDisplay(*u, "Empire");
    EXPECT_FALSE(Shown("A", "A1"));
    AddAllegianceToDisplay(*u, "Empire");
    EXPECT_TRUE(Shown("A", "A1"));
    // No members: every sector excluded, an empty extent.
    DisplayOnlyAllegiance(*u, "Nobody");
    EXPECT_TRUE(a->ExcludeFromDisplay() && b->ExcludeFromDisplay() && c->ExcludeFromDisplay());
    EXPECT_EQ(u->MaxHexX, -1);
}

TEST_F(Filters, Routes) {
    TRoute* r = u->Routes()->Create<TRoute>();
    TRouteLeg* leg = r->Create<TRouteLeg>();
    leg->SStarName = "A1";
    leg->EStarName = "Home";
    DisplayOnlyRoute(*u, *r);
    EXPECT_TRUE(Shown("A", "A1") && Shown("B", "Home"));
    EXPECT_FALSE(Shown("A", "A2") || Shown("B", "B2"));
    // Every sector holding a star of a leg's names comes back, namesakes included.
    EXPECT_TRUE(Shown("C", "Home"));
    EXPECT_FALSE(Shown("C", "C2"));

    RemoveRouteFromDisplay(*u, *r);  // hides only the first star of each name
    EXPECT_FALSE(Shown("B", "Home"));
    EXPECT_TRUE(Shown("C", "Home"));
    AddRouteToDisplay(*u, *r);
    EXPECT_TRUE(Shown("B", "Home") && Shown("A", "A1"));
}
