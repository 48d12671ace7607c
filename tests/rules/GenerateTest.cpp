// The seeded generator on small universes: what it fills, what it leaves,
// that a seed repeats, the names, and the shares over fixed seeds.

#include "GenerateSystems.h"
#include "RuleCheck.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

using namespace hexlane::rules;

namespace {

struct Fixture {
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    TSector* sector = testutil::AddSector(*universe, "Vantor", 2, 3);
};

std::string Codes(const TStar& s) {
    return std::to_string(s.SectorHexColumn() * 100 + s.SectorHexRow()) + " " + std::string(s.Starport) +
           std::string(s.UPC) + "-" + s.TechLevel() + " " + std::to_string(s.SystemContent) + " " +
           std::to_string(s.TravelZoneCode);
}

std::vector<std::string> AllCodes(const TSector& sector) {
    std::vector<std::string> out;
    for (TStar* s : sector.Stars()) out.push_back(Codes(*s));
    return out;
}

bool Pronounceable(const std::string& name) {
    if (name.size() < 3 || !std::isupper(static_cast<unsigned char>(name[0]))) return false;
    int consonantsInRow = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
        if (c < 'a' || c > 'z' || (i > 0 && name[i] != c)) return false;
        consonantsInRow = std::string("aeiou").find(c) == std::string::npos ? consonantsInRow + 1 : 0;
        if (consonantsInRow > 2) return false;
    }
    return true;
}

}  // namespace

TEST(Generate, FillsOnlyEmptyHexesOfTheChosenPart) {
    Fixture f;
    TStar* kept = testutil::AddStar(*f.sector, "Old Haven", 1, 1, "XXXXXX");
    testutil::AddStar(*f.sector, "Beacon", 9, 11);  // in the subsector at column 2, row 2
    TGenerateOptions o;
    o.Density = TDensity::Dense;
    o.Seed = 7;
    o.Allegiance = "Free Worlds";
    o.SubsectorX = 1;
    o.SubsectorY = 1;
    const int expected = TSystemGenerator::Count(*f.sector, o);
    EXPECT_EQ(GenerateSystems(*f.universe, *f.sector, o), expected);
    EXPECT_GT(expected, 30);
    EXPECT_LE(expected, 79);  // 80 hexes, one taken
    EXPECT_EQ(std::string(kept->UPC), "XXXXXX");
    std::set<int> hexes;
    for (TStar* s : f.sector->Stars()) {
        EXPECT_TRUE(hexes.insert(s->SectorHexColumn() * 100 + s->SectorHexRow()).second) << s->Name1;
        if (s == kept || s->Name1 == "Beacon") continue;
        EXPECT_EQ(s->SubSectorName, f.sector->SSName[0]);
        EXPECT_EQ(s->Allegiance, "Free Worlds");
        EXPECT_EQ(s->Spaceport, "Y");
        EXPECT_TRUE(s->Visible);
    }
    EXPECT_TRUE(f.universe->ManagerRequiresSaving);
    // The whole sector now: the subsector already filled gets nothing more
    // from the same seed, since its hexes hold what that seed put there.
    o.SubsectorX = o.SubsectorY = 0;
    const int before = static_cast<int>(f.sector->Stars().size());
    const int more = GenerateSystems(*f.universe, *f.sector, o);
    EXPECT_GT(more, 500);
    EXPECT_EQ(static_cast<int>(f.sector->Stars().size()), before + more);
}

TEST(Generate, SameSeedAndOptionsGiveTheSameSystems) {
    Fixture a, b, c, part;
    TGenerateOptions o;
    o.Rules = TRuleSet::Modern;
    o.Seed = 123456789;
    GenerateSystems(*a.universe, *a.sector, o);
    GenerateSystems(*b.universe, *b.sector, o);
    EXPECT_EQ(AllCodes(*a.sector), AllCodes(*b.sector));
    std::vector<std::string> namesA, namesB;
    for (TStar* s : a.sector->Stars()) namesA.push_back(s->Name1);
    for (TStar* s : b.sector->Stars()) namesB.push_back(s->Name1);
    EXPECT_EQ(namesA, namesB);

    o.Seed = 123456790;
    GenerateSystems(*c.universe, *c.sector, o);
    EXPECT_NE(AllCodes(*a.sector), AllCodes(*c.sector));

    // One subsector alone gives what the whole sector gave in its hexes.
    o.Seed = 123456789;
    o.SubsectorX = 3;
    o.SubsectorY = 2;
    GenerateSystems(*part.universe, *part.sector, o);
    std::vector<std::string> inPart;
    for (TStar* s : a.sector->Stars())
        if (s->SubSectorCoordsX() == 3 && s->SubSectorCoordsY() == 2) inPart.push_back(Codes(*s));
    EXPECT_EQ(AllCodes(*part.sector), inPart);
}

TEST(Generate, NamesArePronounceableAndUniqueOnTheMap) {
    Fixture f;
    TSector* second = testutil::AddSector(*f.universe, "Dunmarch", 3, 3);
    TGenerateOptions o;
    o.Density = TDensity::Dense;
    GenerateSystems(*f.universe, *f.sector, o);
    GenerateSystems(*f.universe, *second, o);
    std::set<std::string> names;
    f.universe->ForEachStar([&](const TStar& s) {
        EXPECT_TRUE(names.insert(s.Name1).second) << s.Name1;
        EXPECT_TRUE(Pronounceable(s.Name1)) << s.Name1;
        EXPECT_NE(s.Name1.rfind("Star", 0), 0u) << s.Name1;
    });
    EXPECT_GT(names.size(), 1500u);

    // A name already on the map is never given again.
    TNameMaker maker(*f.universe);
    TSeededDie die(5);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(names.count(maker.Make(die)), 0u);
}

TEST(Generate, SharesOverFixedSeedsFollowTheDice) {
    // 20 seeds x 1,280 hexes: the share of hexes with a world is 1/6, 1/3,
    // 1/2, 2/3 by density; classic starport A comes on 2D 2-4 (1/6).
    const std::pair<TDensity, double> densities[] = {
        {TDensity::Rift, 1.0 / 6}, {TDensity::Sparse, 1.0 / 3}, {TDensity::Standard, 0.5}, {TDensity::Dense, 2.0 / 3}};
    for (const auto& [density, share] : densities) {
        int worlds = 0, portA = 0;
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            Fixture f;
            TGenerateOptions o;
            o.Density = density;
            o.Seed = seed;
            worlds += GenerateSystems(*f.universe, *f.sector, o);
            for (TStar* s : f.sector->Stars()) portA += s->Starport == "A";
        }
        EXPECT_NEAR(worlds / 25600.0, share, 0.015) << DensityName(density);
        EXPECT_NEAR(static_cast<double>(portA) / worlds, 1.0 / 6, 0.03) << DensityName(density);
    }
}

TEST(Generate, SubsectorByNameOrLetter) {
    Fixture f;
    f.sector->SubsectorName(2, 3) = "Outer Reach";
    int x = 0, y = 0;
    EXPECT_TRUE(FindSubsectorByText(*f.sector, "Outer Reach", x, y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(2, 3));
    EXPECT_TRUE(FindSubsectorByText(*f.sector, "G", x, y));  // letters count across the rows
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(3, 2));
    EXPECT_FALSE(FindSubsectorByText(*f.sector, "Q", x, y));
    EXPECT_FALSE(FindSubsectorByText(*f.sector, "Nowhere", x, y));
}

TEST(Generate, GeneratedSectorsCheckClean) {
    for (TRuleSet rules : {TRuleSet::Classic, TRuleSet::Modern})
        for (std::uint64_t seed : {1ull, 99ull, 0xFFFFFFFFFFFFull}) {
            Fixture f;
            TGenerateOptions o;
            o.Rules = rules;
            o.Seed = seed;
            o.Density = TDensity::Dense;
            GenerateSystems(*f.universe, *f.sector, o);
            const auto findings = CheckAgainstRules(*f.universe, rules);
            EXPECT_TRUE(findings.empty()) << RuleSetName(rules) << " " << seed << ": " << findings.front().Line();
        }
}
