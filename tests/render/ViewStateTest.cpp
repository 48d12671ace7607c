// Zoom and display toggles on the universe's view state.

#include "RenderFixtures.h"
#include "ViewState.h"

#include <gtest/gtest.h>

using namespace hexlane::render;

TEST(ViewState, ZoomStepsBetweenTenThirtyAndNinety) {
    auto u = TUniverse::CreateNew();
    u->SetHexSize(30);
    EXPECT_TRUE(ZoomIn(*u));
    EXPECT_EQ(u->HexSize, 90);
    EXPECT_EQ(u->HalfHexX, 45);
    EXPECT_TRUE(u->MapDirty);

    u->MapDirty = false;
    EXPECT_FALSE(ZoomIn(*u));
    EXPECT_EQ(u->HexSize, 90);
    EXPECT_EQ(u->HalfHexX, 45);
    EXPECT_FALSE(u->MapDirty);

    EXPECT_TRUE(ZoomOut(*u));
    EXPECT_EQ(u->HexSize, 30);
    EXPECT_EQ(u->HalfHexX, 15);
    EXPECT_TRUE(ZoomOut(*u));
    EXPECT_EQ(u->HexSize, 10);
    EXPECT_EQ(u->HalfHexX, 5);

    u->MapDirty = false;
    EXPECT_FALSE(ZoomOut(*u));
    EXPECT_EQ(u->HexSize, 10);
    EXPECT_EQ(u->HalfHexX, 5);
    EXPECT_FALSE(u->MapDirty);
}

TEST(ViewState, ZoomDoesNothingBeforeAMapIsOpen) {
    auto u = TUniverse::CreateNew();
    EXPECT_FALSE(ZoomIn(*u));
    EXPECT_FALSE(ZoomOut(*u));
    EXPECT_EQ(u->HexSize, 0);
    EXPECT_FALSE(u->MapDirty);
}

TEST(ViewState, EachToggleInvertsItsFlagAndMarksTheMap) {
    auto u = TUniverse::CreateNew();
    const std::pair<DisplayToggle, bool TUniverse::*> toggles[] = {
        {DisplayToggle::Names, &TUniverse::ShowNames},
        {DisplayToggle::Starports, &TUniverse::ShowStarports},
        {DisplayToggle::SystemContents, &TUniverse::ShowSystemContents},
        {DisplayToggle::Routes, &TUniverse::ShowRoutes},
        {DisplayToggle::SectorLines, &TUniverse::ShowSectorLines},
        {DisplayToggle::SubsectorLines, &TUniverse::ShowSubsectorLines},
        {DisplayToggle::AllegianceColors, &TUniverse::ShowAllegianceColors},
        {DisplayToggle::Borders, &TUniverse::ShowBorders},
    };
    for (const auto& [which, flag] : toggles) {
        u->MapDirty = false;
        Toggle(*u, which);
        EXPECT_TRUE((*u).*flag);
        EXPECT_TRUE(u->MapDirty);
        Toggle(*u, which);
        EXPECT_FALSE((*u).*flag);
    }
    EXPECT_FALSE(u->ShowAllInfo);
}

TEST(ViewState, ToggleAllCopiesTheMasterFlagIntoTheOthers) {
    auto u = TUniverse::CreateNew();
    u->ShowNames = true;
    Toggle(*u, DisplayToggle::AllInfo);
    for (bool flag : {u->ShowNames, u->ShowStarports, u->ShowSystemContents, u->ShowRoutes, u->ShowSectorLines,
                      u->ShowSubsectorLines, u->ShowAllegianceColors, u->ShowAllInfo})
        EXPECT_TRUE(flag);
    EXPECT_FALSE(u->ShowBorders);  // the borders are a layer of their own
    EXPECT_TRUE(u->MapDirty);
    Toggle(*u, DisplayToggle::AllInfo);
    for (bool flag : {u->ShowNames, u->ShowStarports, u->ShowSystemContents, u->ShowRoutes, u->ShowSectorLines,
                      u->ShowSubsectorLines, u->ShowAllegianceColors, u->ShowAllInfo})
        EXPECT_FALSE(flag);
}
