// The star query over a small universe built in code.

#include "DefineSector.h"
#include "DefineStar.h"
#include "DefineUniverse.h"
#include "StarQuery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include <string>
#include <vector>

namespace {

struct StarRow {
    const char* name;
    const char* sector;
    const char* subsector;
    const char* starport;
    const char* upc;
    const char* tech;
    std::int32_t content = 0;
};

// Two sectors, Alpha (subsectors A1 ... A16) and Beta (B1 ... B16).
class StarQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        universe = TUniverse::CreateNew();
        for (const char* name : {"Alpha", "Beta"}) {
            TSector* s = universe->Sectors()->Create<TSector>();
            s->Name1 = name;
            s->SectorCoordsX = name[0] == 'A' ? 1 : 2;
            s->SectorCoordsY = 1;
            for (int i = 0; i < 16; ++i) s->SSName[static_cast<std::size_t>(i)] = std::string(1, name[0]) + std::to_string(i + 1);
        }
        const StarRow rows[] = {
            {"Aport", "Alpha", "A1", "A", "788899", "C", scGasGiant},
            {"Bport", "Alpha", "A2", "B", "574734", "9", 0},
            {"Cport", "Alpha", "A1", "C", "000000", "5", scNavalBase | scGasGiant},
            {"Xport", "Beta", "B1", "X", "200A00", "F", 0},
            {"Eport", "Beta", "B2", "E", "8A9A9C", "2", scAncientSite},
        };
        for (const auto& row : rows) {
            TSector* sector = universe->FindSector(row.sector);
            TStar* star = sector->Create<TStar>();
            star->Name1 = row.name;
            star->SubSectorName = row.subsector;
            star->StarCoordsX = 1 + static_cast<int>(sector->ChildCount());
            star->StarCoordsY = 2;
            star->Starport = row.starport;
            star->Spaceport = "Y";
            star->UPC = row.upc;
            star->SetTechLevel(row.tech);
            star->SystemContent = row.content;
            star->Visible = true;
        }
        universe->ComputeExtent();
        scope.SectorsToQuery = {"Alpha", "Beta"};
    }

    std::vector<std::string> Visible() const {
        std::vector<std::string> names;
        universe->ForEachStar([&](const TStar& s) {
            if (s.Visible) names.push_back(s.Name1);
        });
        return names;
    }

    std::vector<std::string> Run(const std::string& text) {
        const TStarQueryResult r = query.Run(*universe, text, scope);
        EXPECT_TRUE(r.Ok()) << r.Message;
        return Visible();
    }

    std::unique_ptr<TUniverse> universe;
    TStarQuery query;
    TStarQueryScope scope;
    using Names = std::vector<std::string>;
};

TEST_F(StarQueryTest, TheFormulaDecidesWhichSystemsStayVisible) {
    EXPECT_EQ(Run("LEVEL_STARPORT < 2"), (Names{"Aport", "Bport"}));
    EXPECT_EQ(Run("1"), (Names{"Aport", "Bport", "Cport", "Xport", "Eport"}));
    EXPECT_EQ(Run(""), Names{});  // the empty formula is 0
}

TEST_F(StarQueryTest, VariablesTakeTheStarsValues) {
    EXPECT_EQ(Run("AND(HAS_GAS_GIANT, HAS_IMPERIAL_NAVAL_BASE)"), Names{"Cport"});
    EXPECT_EQ(Run("IS_RICH"), Names{"Aport"});
    EXPECT_EQ(Run("IS_AG + IS_NAG"), (Names{"Bport", "Xport"}));
    EXPECT_EQ(Run("AND(IS_VACUUM_WORLD, IS_ASTEROID_BELT_WORLD, IS_NIND)"), Names{"Cport"});
    EXPECT_EQ(Run("LEVEL_TECHLEVEL >= 12"), (Names{"Aport", "Xport"}));
    EXPECT_EQ(Run("HAS_ANCIENT_SITE"), Names{"Eport"});
    EXPECT_EQ(Run("LEVEL_ATMOSPHERE = 10"), Names{"Eport"});
    EXPECT_EQ(Run("LEVEL_SPACEPORT = 3"), (Names{"Aport", "Bport", "Cport", "Xport", "Eport"}));
    universe->UseAltTL = true;
    universe->TLAltValue[12] = 2;   // code C counts as 2
    universe->TLAltValue[15] = 15;  // code F as 15; every other code as 0
    EXPECT_EQ(Run("LEVEL_TECHLEVEL >= 12"), Names{"Xport"});
}

TEST_F(StarQueryTest, ResultsRoundHalfToEvenAndMustBePositive) {
    EXPECT_EQ(Run("0.5"), Names{});
    EXPECT_EQ(Run("1.5").size(), 5u);
    EXPECT_EQ(Run("2.5").size(), 5u);
    EXPECT_EQ(Run("SIGN(-LEVEL_STARPORT - 1)"), Names{});
    // Starport indexes 0, 1, 2, 5, 4 halved: 0, 0.5, 1, 2.5, 2.
    EXPECT_EQ(Run("LEVEL_STARPORT / 2"), (Names{"Cport", "Xport", "Eport"}));
}

TEST_F(StarQueryTest, TheScopeLimitsTheMatches) {
    scope.SectorsToQuery = {"beta"};  // sectors compare without case
    scope.SubsectorsToQuery = {"B1", "B2"};
    EXPECT_EQ(Run("1"), (Names{"Xport", "Eport"}));
    scope.SubsectorsToQuery = {"B2"};
    EXPECT_EQ(Run("1"), Names{"Eport"});
    scope.SubsectorsToQuery = {};  // one sector and no subsector: nothing
    EXPECT_EQ(Run("1"), Names{});
    scope.SectorsToQuery = {};
    EXPECT_EQ(Run("1"), Names{});
    scope.SectorsToQuery = {"Alpha", "Beta"};
    scope.SubsectorsToQuery = {"A1"};  // ignored with more than one sector
    EXPECT_EQ(Run("1").size(), 5u);
}

TEST_F(StarQueryTest, VisibleSystemsOnlyNarrowsThePreviousResult) {
    scope.VisibleSystemsOnly = true;
    EXPECT_EQ(Run("HAS_GAS_GIANT"), (Names{"Aport", "Cport"}));
    EXPECT_EQ(Run("HAS_GAS_GIANT"), (Names{"Aport", "Cport"}));
    EXPECT_EQ(Run("LEVEL_STARPORT > 0"), Names{"Cport"});
    EXPECT_EQ(Run("1"), Names{"Cport"});
}

TEST_F(StarQueryTest, MoreThanTenVariablesAreRefusedBeforeCompiling) {
    // Eleven names; the last one counts although it stands inside another word.
    const std::string text =
        "IS_AG+IS_NAG+IS_IND+IS_NIND+IS_RICH+IS_POOR+IS_WATER_WORLD+IS_DESERT_WORLD+"
        "IS_VACUUM_WORLD+HAS_NOTES+xHAS_PRISONx";
    universe->ForEachStar([](TStar& s) { s.Visible = false; });
    const TStarQueryResult r = query.Run(*universe, text, scope);
    EXPECT_EQ(r.Status, TStarQueryResult::TStatus::TooManyVariables);
    EXPECT_EQ(r.Message, "Can only perform queries of 10 or less parameters");
    EXPECT_EQ(Visible(), Names{});
    EXPECT_EQ(query.Lib.Aliases.EntryCount(), 0);
    EXPECT_EQ(TStarQuery::UsedVariables("HAS_ASTEROID_BELT"), (std::vector<int>{24}));
    EXPECT_EQ(TStarQuery::UsedVariables("IS_ASTEROID_BELT_WORLD"), (std::vector<int>{18}));
    EXPECT_EQ(TStarQuery::UsedVariables("HAS_NAVAL HAS_PRISONHAS_NOTES level_starport"), (std::vector<int>{22, 25}));
}

TEST_F(StarQueryTest, ACompileErrorChangesNoStarAndLeavesNoAliases) {
    universe->MapDirty = false;
    TStarQueryResult r = query.Run(*universe, "LEVEL_STARPORT <", scope);
    EXPECT_EQ(r.Status, TStarQueryResult::TStatus::CompileError);
    EXPECT_EQ(r.Message, "Syntax error at pos 5");  // counted in the expanded text "%0 <"
    EXPECT_EQ(Visible().size(), 5u);
    EXPECT_FALSE(universe->MapDirty);
    EXPECT_EQ(query.Lib.Aliases.EntryCount(), 0);
    // A name only in lower case is not a variable.
    r = query.Run(*universe, "level_starport < 2", scope);
    EXPECT_EQ(r.Message, "Syntax error at pos 14");
    // With the upper-case name present, the alias replaces every case.
    EXPECT_EQ(Run("LEVEL_STARPORT + level_starport < 2"), (Names{"Aport"}));
    // A later correct query is not disturbed by the failed ones.
    EXPECT_EQ(Run("LEVEL_STARPORT = 4"), Names{"Eport"});
}

TEST_F(StarQueryTest, AnEvaluationErrorKeepsTheFlagsAlreadySet) {
    universe->ForEachStar([](TStar& s) { s.Visible = false; });
    // Cport (size 0) divides by zero; Aport and Bport come before it.
    const TStarQueryResult r = query.Run(*universe, "10 / LEVEL_PLANETSIZE", scope);
    EXPECT_EQ(r.Status, TStarQueryResult::TStatus::EvaluationError);
    EXPECT_EQ(r.Message, "Floating point division by zero");
    EXPECT_EQ(Visible(), (Names{"Aport", "Bport"}));
    EXPECT_TRUE(universe->MapDirty);  // mended: the changed flags are shown
    EXPECT_EQ(query.Lib.Aliases.EntryCount(), 0);
}

TEST_F(StarQueryTest, TheRunMarksTheMapDirtyAndRecomputesTheExtent) {
    universe->MapDirty = false;
    scope.SectorsToQuery = {"Beta"};
    scope.SubsectorsToQuery = {"B1"};
    Run("1");
    EXPECT_TRUE(universe->MapDirty);
    EXPECT_EQ(universe->MinSectorX, 2);
    EXPECT_EQ(universe->MaxSectorX, 2);
    // The query does not mark the map as changed.
    EXPECT_FALSE(universe->ManagerRequiresSaving);
}

TEST(StarQueryTables, ChooserAndHelpTexts) {
    EXPECT_STREQ(QueryChooserOrder[29], "HAS_ANCIENT_SITE");
    EXPECT_STREQ(QueryChooserOrder[43], "BEEN_USER_SURVEYED");
    EXPECT_STREQ(QueryHelpText(0), "A=0 B=1 C=2 D=3 E=4 X=5");
    EXPECT_STREQ(QueryHelpText(2), "0=0 R=1 S=2 1=3 2=4 3=5 ... A=12");
    EXPECT_STREQ(QueryHelpText(7), "0-10");
    EXPECT_STREQ(QueryHelpText(8), "F=0 G=1 H=2 Y=3");
    EXPECT_STREQ(QueryHelpText(29), "False = 0, True = 1");
    // Every variable appears once in the chooser.
    for (const char* name : QueryVariables)
        EXPECT_EQ(std::count_if(std::begin(QueryChooserOrder), std::end(QueryChooserOrder),
                                [&](const char* c) { return std::string(c) == name; }),
                  1)
            << name;
}

}  // namespace
