// hexlane-tool generate and check on a map of two sectors.

#include "DefineUniverse.h"
#include "OpenMap.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

TEST(RulesTool, GenerateThenCheck) {
    const std::string dir = TempFolder("rules-tool");
    const std::string map = dir + "/m.map", out = dir + "/out.map";
    ASSERT_EQ(RunTool({"add-sector", map, "Vantor", "1", "1"}).Status, 0);
    ASSERT_EQ(RunTool({"add-sector", map, "Dunmarch", "2", "1"}).Status, 0);
    ASSERT_EQ(RunTool({"set-allegiance", map, "Free Worlds", "--code", "Fw"}).Status, 0);
    const struct {
        std::vector<std::string> args;
        int status;
        const char* text;  // in the output (or, for a failure, the error output)
    } steps[] = {
        {{"generate", map, "Vantor", "--seed", "11", "--subsector", "b", "--allegiance", "Free Worlds", "-o", out},
         0, "systems made (classic rules, standard, seed 11)"},
        {{"generate", out, "Vantor", "--seed", "11", "--subsector", "b"}, 0, "0 systems made"},
        {{"generate", out, "Dunmarch", "--seed", "3", "--rules", "modern", "--density", "dense"}, 0, "systems made"},
        {{"check", out, "--rules", "modern", "--sector", "Dunmarch"}, 0, "No system breaks the modern rules."},
        {{"check", out, "--sector", "Vantor"}, 0, "No system breaks the classic rules."},
        {{"generate", out, "Nowhere"}, 1, "Invalid Sector Pointer"},
        {{"generate", out, "Vantor", "--subsector", "Q"}, 1, "no subsector"},
        {{"generate", out, "Vantor", "--allegiance", "Nobody"}, 1, "no allegiance"},
        {{"generate", out, "Vantor", "--density", "crowded"}, 2, "--density"},
        {{"check", out, "--rules", "newest"}, 2, "--rules"},
        {{"generate", out, "Vantor", "--seed", "-1"}, 2, "--seed"},
        {{"generate", out, "Vantor", "--seed", "18446744073709551616"}, 2, "--seed"},
    };
    for (const auto& s : steps) {
        const ToolResult r = RunTool(s.args);
        EXPECT_EQ(r.Status, s.status) << s.args[0] << " " << s.args[2] << "\n" << r.Out << r.Err;
        EXPECT_NE((s.status == 0 ? r.Out : r.Err).find(s.text), std::string::npos) << r.Out << r.Err;
    }
    OpenMapResult opened = OpenMap(out);
    ASSERT_TRUE(opened.Universe);
    int inB = 0;
    opened.Universe->ForEachStar([&](const TStar& star) {
        if (star.SectorName() == "Vantor") {
            ++inB;
            EXPECT_EQ(star.SubSectorName, "b");
            EXPECT_EQ(star.Allegiance, "Free Worlds");
        }
    });
    EXPECT_GT(inB, 20);

    // A system that breaks a rule: listed with exit status 1.
    TStar* star = opened.Universe->Sectors()->ChildrenOf<TSector>()[0]->Stars()[0];
    star->UPC = "297755";
    std::string message;
    ASSERT_TRUE(opened.Universe->SaveToFile(out, message)) << message;
    const ToolResult r = RunTool({"check", out});
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Out.find(star->Name1 + " (Vantor "), std::string::npos) << r.Out;
}
