#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

namespace {

struct RouteFixture : ::testing::Test {
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    TRoute* route = nullptr;
    void SetUp() override {
        TSector* s = testutil::AddSector(*u, "Home", 1, 1);
        testutil::AddStar(*s, "A", 1, 1);
        testutil::AddStar(*s, "B", 4, 1);
        testutil::AddStar(*s, "C", 4, 6);
        u->ComputeExtent();
        route = u->Routes()->Create<TRoute>();
        route->Name1 = "Main";
    }
    TRouteLeg* Leg(const std::string& from, const std::string& to) {
        TRouteLeg* l = route->Create<TRouteLeg>();
        l->SStarName = from;
        l->EStarName = to;
        return l;
    }
};

}  // namespace

TEST_F(RouteFixture, DistanceAddsTheLegsAndIgnoresMissingStars) {
    EXPECT_EQ(route->Distance(), 0);
    Leg("A", "B");  // 3 parsecs
    Leg("B", "C");  // 5
    Leg("C", "C");  // 0
    EXPECT_EQ(route->Distance(), 8);
    Leg("C", "Gone");  // no star: adds nothing
    Leg("Gone", "A");
    EXPECT_EQ(route->Distance(), 8);
    EXPECT_EQ(route->DistanceSlot, 8);
}

TEST_F(RouteFixture, LegCoordinatesFollowTheStarsByName) {
    TRouteLeg* l = Leg("B", "Gone");
    EXPECT_EQ(l->SCoordsX(), 4);
    EXPECT_EQ(l->SCoordsY(), 1);
    EXPECT_EQ(l->ECoordsX(), -1);
    EXPECT_EQ(l->ECoordsY(), -1);
}

TEST_F(RouteFixture, DrawingAttributesComeFromTheRouteUnlessOverridden) {
    route->Color = 0xFF;
    route->LineType = 2;
    route->LineThickness = 3;
    TRouteLeg* l = Leg("A", "B");
    l->Color = 0xFF00;
    l->LineType = 4;
    l->LineThickness = 0;
    EXPECT_EQ(l->DrawColor(), 0xFF);
    EXPECT_EQ(l->DrawLineType(), 2);
    EXPECT_EQ(l->DrawLineThickness(), 3);
    l->OverrideProperties = true;
    EXPECT_EQ(l->DrawColor(), 0xFF00);
    EXPECT_EQ(l->DrawLineType(), 4);
    EXPECT_EQ(l->DrawLineThickness(), 0);
}
