// The layout pass: picture positions of all stars, hidden and excluded
// stars, and which route legs are drawn.

#include "MapLayout.h"
#include "MapRenderer.h"
#include "Palette.h"
#include "RenderFixtures.h"

#include <gtest/gtest.h>

using namespace hexlane::render;

TEST(Layout, EveryDisplayedStarGetsItsCentreAndHiddenStarsMinusOne) {
    auto u = renderfix::SmallUniverse();
    TSector* extra = renderfix::AddSector(*u, "Beta", 5, 5);
    TStar* excluded = renderfix::AddStar(*extra, "Excluded", 4, 4);
    extra->SetExcludeFromDisplay(true);
    excluded->PictureX = 77;  // whatever the exclusion left
    excluded->PictureY = 88;
    u->ComputeExtent();

    const MapLayout layout = LayoutMap(*u);
    const TStar* regina = u->FindStar("Regina");
    EXPECT_EQ(QPoint(regina->PictureX, regina->PictureY),
              StarCentre(layout.Frame, regina->HexX, regina->HexY, regina->StarCoordsX));
    const TStar* hidden = u->FindStar("Hidden");
    EXPECT_EQ(hidden->PictureX, -1);
    EXPECT_EQ(hidden->PictureY, -1);
    EXPECT_EQ(excluded->PictureX, 77);
    EXPECT_EQ(excluded->PictureY, 88);
    EXPECT_EQ(layout.Stars.size(), 8u);  // nine stars in Alpha, one hidden

    // Positions hold for the whole picture, whatever piece is drawn later,
    // so the hit test finds a star far from the piece that was drawn.
    const MapRenderer renderer(*u);
    renderer.Render(QRect(0, 0, 20, 20));
    const TStar* corner = u->FindStar("Far Corner");
    EXPECT_EQ(u->StarAtPoint(corner->PictureX + 14, corner->PictureY - 14), corner);
    EXPECT_EQ(u->StarAtPoint(corner->PictureX + 15, corner->PictureY), nullptr);
}

TEST(Layout, AnEmptyUniverseIsAWhitePictureOfThreeHundredSquare) {
    auto u = TUniverse::CreateNew();
    u->SetHexSize(30);
    renderfix::ShowEverything(*u);
    u->ComputeExtent();
    const MapRenderer renderer(*u);
    ASSERT_EQ(renderer.PictureSize(), QSize(300, 300));
    const QImage picture = renderer.Render(QRect(0, 0, 300, 300));
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) ASSERT_EQ(picture.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST(Layout, LegsNeedBothStarsAndTakeTheirPens) {
    auto u = renderfix::SmallUniverse();
    u->ComputeExtent();
    MapLayout layout = LayoutMap(*u);
    // Trade: three legs drawable (one ends at a missing star); Comm: two,
    // one of them to a hidden star.
    ASSERT_EQ(layout.Legs.size(), 5u);
    const LegPlacement& first = layout.Legs[0];
    const TStar* regina = u->FindStar("Regina");
    EXPECT_EQ(first.From, QPoint(regina->PictureX, regina->PictureY));
    EXPECT_EQ(first.Colour, qRgb(0, 128, 0));
    EXPECT_EQ(first.Width, 1);  // thickness 0 draws one pixel wide
    EXPECT_EQ(first.Style, LineStyle::Dash);
    const LegPlacement& own = layout.Legs[2];  // OverrideProperties: the leg's own pen
    EXPECT_EQ(own.Colour, qRgb(128, 0, 128));
    EXPECT_EQ(own.Width, 3);
    EXPECT_EQ(own.Style, LineStyle::DashDotDot);
    EXPECT_EQ(layout.Legs[3].Colour, NearestPaletteColour(qRgb(255, 128, 0)));

    // A leg between two stars of an excluded sector is still drawn.
    TSector* far = renderfix::AddSector(*u, "Far", 3, 3);
    renderfix::AddStar(*far, "P", 1, 1);
    renderfix::AddStar(*far, "Q", 5, 5);
    renderfix::AddLeg(*static_cast<TRoute*>(u->Routes()->Child(0)), "P", "Q");
    far->SetExcludeFromDisplay(true);
    u->ComputeExtent();
    layout = LayoutMap(*u);
    EXPECT_EQ(layout.Legs.size(), 6u);

    // Hidden routes and the routes switch draw nothing.
    static_cast<TRoute*>(u->Routes()->Child(0))->ShowRoute = false;
    EXPECT_EQ(LayoutMap(*u).Legs.size(), 2u);
    u->ShowRoutes = false;
    EXPECT_TRUE(LayoutMap(*u).Legs.empty());
}

TEST(Layout, ALegEndsAtTheFirstStarOfItsName) {
    auto u = TUniverse::CreateNew();
    TSector* a = renderfix::AddSector(*u, "A", 1, 1);
    renderfix::AddStar(*a, "Twin", 2, 2);
    renderfix::AddStar(*a, "Other", 6, 6);
    renderfix::AddStar(*a, "Twin", 9, 9);
    TRoute* route = u->Routes()->Create<TRoute>();
    route->ShowRoute = true;
    renderfix::AddLeg(*route, "Twin", "Other");
    u->SetHexSize(30);
    u->ShowRoutes = true;
    u->ComputeExtent();
    const MapLayout layout = LayoutMap(*u);
    ASSERT_EQ(layout.Legs.size(), 1u);
    const TStar* first = u->FindStar("Twin");
    EXPECT_EQ(layout.Legs[0].From, QPoint(first->PictureX, first->PictureY));
}
