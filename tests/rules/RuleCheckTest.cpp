// The checker against every rule: one system per broken rule, and the
// reason it gives.

#include "RuleCheck.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

using namespace hexlane::rules;

namespace {

struct StarCase {
    const char* upc;
    const char* starport;
    const char* techLevel;
    std::int32_t content;
    TTravelZoneCode zone;
    const char* classic;  // the reasons, joined by " | "; empty: clean
    const char* modern;
};

std::string Reasons(const TStar& star, TRuleSet rules) {
    std::vector<TRuleFinding> findings;
    CheckStar(star, rules, findings);
    std::string out;
    for (const TRuleFinding& f : findings) out += (out.empty() ? "" : " | ") + f.Reason();
    return out;
}

}  // namespace

TEST(RuleCheck, EveryRuleHasItsReason) {
    const StarCase cases[] = {
        {"867755", "C", "7", scGasGiant | scScoutBase, tzcGreen, "", ""},
        {"B67755", "C", "7", 0, tzcGreen, "size B out of range (0-A)", "size B out of range (0-A)"},
        {"297755", "C", "7", 0, tzcGreen, "atmosphere 9 cannot come from size 2 (0-7)",
         "atmosphere 9 cannot come from size 2 (0-7)"},
        {"010755", "C", "7", 0, tzcGreen, "atmosphere 1 cannot come from size 0 (0)",
         "atmosphere 1 cannot come from size 0 (0)"},
        {"153755", "C", "7", 0, tzcGreen, "hydrographics 3 cannot come from size 1 (0)",
         "hydrographics 3 cannot come from size 1 (0)"},
        {"8D5755", "C", "7", 0, tzcAmber, "", "hydrographics 5 cannot come from atmosphere D (8-A)"},
        {"867B85", "C", "7", 0, tzcGreen, "population B out of range (0-A)", "population B out of range (0-A)"},
        {"867295", "C", "7", 0, tzcGreen, "government 9 cannot come from population 2 (0-7)",
         "government 9 cannot come from population 2 (0-7)"},
        {"867003", "C", "7", 0, tzcGreen, "law level 3 cannot come from population 0 (0)",
         "law level 3 cannot come from population 0 (0)"},
        {"867729", "C", "7", 0, tzcAmber, "law level 9 cannot come from government 2 (0-7)",
         "law level 9 cannot come from government 2 (0-7)"},
        {"867000", "A", "A", 0, tzcGreen, "", "starport A cannot come from population 0"},
        {"867755", "F", "7", 0, tzcGreen, "starport code 'F' is not one these rules give",
         "starport code 'F' is not one these rules give"},
        {"867755", "C", "F", 0, tzcGreen, "tech level F outside its die and modifiers (4-9)",
         "tech level F outside its die and modifiers (4-9)"},
        {"867755", "X", "0", 0, tzcGreen, "", ""},  // 1D - 4 + 1 below 0 reads 0
        {"867755", "C", "7", scNavalBase, tzcGreen, "naval base at starport C (only at A or B)",
         "naval base at starport C (only at A or B)"},
        {"867755", "E", "6", scScoutBase, tzcGreen, "scout base at starport E (only at A-D)",
         "scout base at starport E (only at A-D)"},
        {"867755", "C", "7", 0, tzcAmber, "travel zone Amber where the rules give Green",
         "travel zone Amber where the rules give Green"},
        {"867550", "C", "7", 0, tzcGreen, "travel zone Green where the rules give Amber",
         "travel zone Green where the rules give Amber"},
        {"8677", "C", "7", 0, tzcGreen, "government code missing | law level code missing",
         "government code missing | law level code missing"},
        {"8I7755", "C", "7", 0, tzcGreen, "atmosphere code 'I' is not one these rules give",
         "atmosphere code 'I' is not one these rules give"},
    };
    auto universe = TUniverse::CreateNew();
    TSector* sector = testutil::AddSector(*universe, "Vantor", 1, 1);
    for (const StarCase& c : cases) {
        TStar* star = testutil::AddStar(*sector, "Kelo", 5, 5, c.upc);
        star->Starport = c.starport;
        star->SetTechLevel(c.techLevel);
        star->SystemContent = c.content;
        star->TravelZoneCode = c.zone;
        EXPECT_EQ(Reasons(*star, TRuleSet::Classic), c.classic) << c.upc << " " << c.starport << c.techLevel;
        EXPECT_EQ(Reasons(*star, TRuleSet::Modern), c.modern) << c.upc << " " << c.starport << c.techLevel;
        TManager::Destroy(star);
    }
}

TEST(RuleCheck, LinesNameTheSystemAndTheSectorChosen) {
    auto universe = TUniverse::CreateNew();
    TSector* a = testutil::AddSector(*universe, "Vantor", 1, 1);
    TSector* b = testutil::AddSector(*universe, "Dunmarch", 2, 1);
    TStar* bad = testutil::AddStar(*a, "Kelo", 9, 12, "297755");
    bad->Starport = "C";
    bad->SetTechLevel("7");
    bad->TravelZoneCode = tzcGreen;
    testutil::AddStar(*b, "Ru", 1, 1, "2977");
    universe->UseAltTL = true;  // the stored code is checked, not the alternate one
    const auto all = CheckAgainstRules(*universe, TRuleSet::Classic);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front().Line(), "Kelo (Vantor 0912): atmosphere 9 cannot come from size 2 (0-7)");
    const auto onlyA = CheckAgainstRules(*universe, TRuleSet::Classic, a);
    ASSERT_EQ(onlyA.size(), 1u);
    EXPECT_EQ(onlyA.front().Star, bad);
}
