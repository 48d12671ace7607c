#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

using testutil::AddSector;
using testutil::AddStar;

TEST(Coordinates, MapWideHexAndDistanceCoordinates) {
    auto u = TUniverse::CreateNew();
    TSector* s = AddSector(*u, "Second", 2, 3);
    TStar* a = AddStar(*s, "A", 12, 25);  // subsector (2, 3), star (4, 5)
    EXPECT_EQ(a->SubSectorName, "g");  // SS0203
    EXPECT_EQ(a->SubSectorCoordsX(), 2);
    EXPECT_EQ(a->SubSectorCoordsY(), 3);
    EXPECT_EQ(a->SectorHexColumn(), 12);
    EXPECT_EQ(a->SectorHexRow(), 25);
    u->ComputeExtent();
    EXPECT_EQ(a->HexX, 12 + 32);
    EXPECT_EQ(a->HexY, 25 + 80);
    EXPECT_EQ(a->DistX, 44);
    EXPECT_EQ(a->DistZ, 105 + 22);
}

// A damaged or hand-made file may hold any coordinates; the positions and
// distances worked from them stay defined (the sanitizer run checks this).
TEST(Coordinates, ExtremeStoredCoordinatesWrapInsteadOfOverflowing) {
    auto u = TUniverse::CreateNew();
    TSector* far = AddSector(*u, "Far", 2147483647, -2147483647 - 1);
    TStar* a = AddStar(*far, "A", 1, 1);
    a->StarCoordsX = 2147483647;
    TStar* b = AddStar(*AddSector(*u, "Near", 1, 1), "B", 1, 1);
    u->ComputeExtent();
    EXPECT_EQ(a->HexX, static_cast<int>(2147483647LL + 2147483646LL * 32));
    EXPECT_EQ(TUniverse::HexDistance(-2147483647 - 1, 0, 2147483647, 0), 2147483647);
    EXPECT_EQ(TUniverse::HexDistance(0, -2147483647 - 1, 0, 2147483647), 2147483647);
    EXPECT_GE(TUniverse::StarDistance(a, b), 0);
    EXPECT_EQ(u->FindPath(*a, *b, 6, false, true).LegLines.size(), 0u);
}

TEST(Coordinates, UnknownAndDuplicateSubsectorNames) {
    auto u = TUniverse::CreateNew();
    TSector* s = AddSector(*u, "S", 2, 2);
    TStar* lost = AddStar(*s, "Lost", 1, 1);
    lost->SubSectorName = "nowhere";
    lost->StarCoordsX = 5;
    lost->StarCoordsY = 7;
    s->SSName[9] = "a";  // a second subsector named "a" at (3, 2)
    TStar* first = AddStar(*s, "First", 17, 11);
    first->SubSectorName = "a";
    u->ComputeExtent();
    EXPECT_EQ(lost->SubSectorCoordsX(), 0);
    EXPECT_EQ(lost->HexX, 5 - 8 + 32);
    EXPECT_EQ(lost->HexY, 7 - 10 + 40);
    EXPECT_EQ(first->SubSectorCoordsX(), 1);  // the first "a" wins
    EXPECT_EQ(first->SubSectorCoordsY(), 1);
}

TEST(Coordinates, ColumnsAtOrBelowZeroKeepTheHexLayout) {
    // The same pattern of stars in a sector left of column 1 and in one to the
    // right: moving by a whole sector (an even number of columns) changes no
    // distance.
    auto u = TUniverse::CreateNew();
    TSector* west = AddSector(*u, "West", 0, 1);
    TSector* east = AddSector(*u, "East", 2, 1);
    const int cells[][2] = {{32, 1}, {31, 2}, {31, 1}, {30, 2}, {29, 5}, {1, 1}, {2, 40}, {17, 20}};
    std::vector<TStar*> w, e;
    for (const auto& c : cells) {
        w.push_back(AddStar(*west, "w", c[0], c[1]));
        e.push_back(AddStar(*east, "e", c[0], c[1]));
    }
    u->ComputeExtent();
    EXPECT_EQ(w[0]->HexX, 0);
    for (std::size_t i = 0; i < w.size(); ++i)
        for (std::size_t j = 0; j < w.size(); ++j)
            EXPECT_EQ(TUniverse::StarDistance(w[i], w[j]), TUniverse::StarDistance(e[i], e[j])) << i << "," << j;
    EXPECT_EQ(TUniverse::StarDistance(w[0], w[1]), 1);  // (0,1) touches (-1,2)
    EXPECT_EQ(TUniverse::StarDistance(w[2], w[3]), 2);  // (-1,1) does not touch (-2,2)
}

TEST(Distance, HexDistanceExamples) {
    auto dist = [](int x1, int y1, int x2, int y2) {
        return TUniverse::HexDistance(x1, y1 + x1 / 2, x2, y2 + x2 / 2);
    };
    EXPECT_EQ(dist(1, 1, 2, 1), 1);
    EXPECT_EQ(dist(1, 1, 2, 2), 2);
    EXPECT_EQ(dist(2, 1, 1, 2), 1);
    EXPECT_EQ(dist(1, 1, 1, 5), 4);
    EXPECT_EQ(dist(1, 1, 9, 1), 8);
    EXPECT_EQ(dist(2, 1, 3, 2), 1);
    EXPECT_EQ(dist(2, 1, 3, 1), 1);
    EXPECT_EQ(TUniverse::StarDistance(nullptr, nullptr), -1);
}

TEST(Extent, VisibleStarsOfShownSectorsOnly) {
    auto u = TUniverse::CreateNew();
    u->ComputeExtent();
    EXPECT_EQ(u->MinHexX, 4999);
    EXPECT_EQ(u->MaxHexX, -1);
    EXPECT_EQ(u->MinSectorX, 100);
    EXPECT_EQ(u->MaxSectorY, 0);

    TSector* a = AddSector(*u, "A", 2, 1);
    TSector* b = AddSector(*u, "B", 3, 2);
    AddStar(*a, "A1", 4, 5);
    AddStar(*a, "A2", 20, 30)->Visible = false;
    AddStar(*b, "B1", 10, 10);
    u->ComputeExtent();
    EXPECT_EQ(u->MinHexX, 35);  // 36 is even: one column more on the left
    EXPECT_EQ(u->MaxHexX, 74);
    EXPECT_EQ(u->MinHexY, 5);
    EXPECT_EQ(u->MaxHexY, 50);
    EXPECT_EQ(u->MinSectorX, 2);
    EXPECT_EQ(u->MaxSectorY, 2);

    b->SetExcludeFromDisplay(true);
    u->ComputeExtent();
    EXPECT_EQ(u->MaxHexX, 36);
    EXPECT_EQ(u->MaxSectorX, 2);
}

TEST(Extent, ExcludingASectorHidesAndIncludingShowsAllItsStars) {
    auto u = TUniverse::CreateNew();
    TSector* s = AddSector(*u, "S", 1, 1);
    TStar* a = AddStar(*s, "A", 1, 1);
    TStar* b = AddStar(*s, "B", 2, 2);
    b->Visible = false;
    a->PictureX = 40;
    a->PictureY = 50;
    s->SetExcludeFromDisplay(true);
    EXPECT_FALSE(a->Visible);
    EXPECT_EQ(a->PictureX, 0);
    EXPECT_EQ(a->PictureY, 0);
    s->SetExcludeFromDisplay(false);
    EXPECT_TRUE(a->Visible);
    EXPECT_TRUE(b->Visible);
}

TEST(LookUps, StarsAllegiancesAndUniqueNames) {
    auto u = TUniverse::CreateNew();
    TSector* s1 = AddSector(*u, "S1", 1, 1);
    TSector* s2 = AddSector(*u, "S2", 2, 1);
    TStar* first = AddStar(*s1, "Twin", 1, 1);
    AddStar(*s2, "Twin", 1, 1);
    AddStar(*s2, "Twin (2)", 2, 1);
    EXPECT_EQ(u->FindStar("Twin"), first);
    EXPECT_EQ(u->FindStar("twin"), nullptr);
    EXPECT_EQ(u->UniqueStarName("Twin"), "Twin (3)");
    EXPECT_EQ(u->UniqueStarName("Other"), "Other");

    TAllegiance* a = u->Allegiances()->Create<TAllegiance>();
    a->Name1 = "Empire";
    a->ImportCode = "Im";
    EXPECT_EQ(u->FindAllegiance("Empire"), a);
    EXPECT_EQ(u->FindAllegiance("empire"), nullptr);
    EXPECT_EQ(u->FindAllegianceByImportCode("Im"), a);
    EXPECT_EQ(u->FindAllegianceByImportCode("I"), nullptr);
}

TEST(LookUps, ContainersAreFoundByClassTheLastOneWinning) {
    TUniverse u;
    EXPECT_FALSE(u.HasContainers());
    u.Create<TSectors>();
    TSectors* second = u.Create<TSectors>();
    u.Create<TRoutes>();
    u.Create<TAllegiances>();
    EXPECT_EQ(u.Sectors(), second);
    EXPECT_TRUE(u.HasContainers());
}

TEST(LookUps, TechLevelTexts) {
    TUniverse u;
    EXPECT_EQ(u.TechLevelText(0), "0 - Stone Age. Primitive");
    EXPECT_EQ(u.TechLevelText(10), "A - Interstellar community");
    EXPECT_EQ(u.TechLevelText(16), "G - Occasional non-Imperial");
    EXPECT_EQ(u.TechLevelText(40), "G - Occasional non-Imperial");
    u.UseAltTL = true;
    u.TLAltDesc[3] = "three";
    u.TLAltDesc[16] = "beyond";
    EXPECT_EQ(u.TechLevelText(3), "three");
    EXPECT_EQ(u.TechLevelText(20), "beyond");
}

TEST(HitTest, StarsAreHitStrictlyWithinHalfAHex) {
    auto u = TUniverse::CreateNew();
    u->SetHexSize(30);
    EXPECT_EQ(u->HalfHexX, 15);
    TSector* s = AddSector(*u, "Home", 1, 1);
    TStar* a = AddStar(*s, "Alpha", 1, 1);
    a->PictureX = 100;
    a->PictureY = 100;
    a->Starport = "A";
    a->UPC = "788899";
    a->SetTechLevel("C");
    TStar* b = AddStar(*s, "Beta", 2, 1);  // drawn on top of Alpha: Alpha wins
    b->PictureX = 101;
    b->PictureY = 100;
    EXPECT_EQ(u->StarAtPoint(114, 86), a);
    EXPECT_EQ(u->StarAtPoint(115, 100), b);
    EXPECT_EQ(u->StarAtPoint(116, 100), nullptr);
    EXPECT_EQ(u->StarAtPoint(100, 115), nullptr);
    TUniverse::StarInfo info = u->StarInfoAtPoint(100, 100);
    EXPECT_EQ(info.Name, "Alpha");
    EXPECT_EQ(info.SubSector, "a");
    EXPECT_EQ(info.Sector, "Home");
    EXPECT_EQ(info.Codes, "A 788899 C");
    info = u->StarInfoAtPoint(0, 0);
    EXPECT_TRUE(info.Name.empty() && info.SubSector.empty() && info.Sector.empty() && info.Codes.empty());

    // Stars that are not drawn are never hit, though their parked positions
    // lie in the picture's top-left corner, where a drawn star may be.
    TStar* hidden = AddStar(*s, "Hidden", 4, 1);
    hidden->Visible = false;
    hidden->PictureX = hidden->PictureY = -1;
    TStar* corner = AddStar(*s, "Corner", 3, 1);
    corner->PictureX = 15;
    corner->PictureY = 15;
    TSector* excluded = AddSector(*u, "Excluded", 2, 1);
    AddStar(*excluded, "Gone", 1, 1);
    excluded->SetExcludeFromDisplay(true);
    u->Sectors()->Adopt(u->Sectors()->Release(s));  // the excluded sector comes first
    EXPECT_EQ(u->StarAtPoint(5, 5), corner);
    corner->Visible = false;
    EXPECT_EQ(u->StarAtPoint(5, 5), nullptr);
}
