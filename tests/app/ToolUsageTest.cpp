// hexlane-tool refuses misuse of each command before it touches a file:
// usage errors end with status 2 and name the bad option or argument.

#include "ToolRunner.h"

#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(ToolUsage, MisuseOfEachCommandIsRefusedNamingTheFault) {
    const std::string dir = TempFolder("usage");
    const std::string map = dir + "/m.map";
    {
        auto u = TUniverse::CreateNew();
        TSector* s = testutil::AddSector(*u, "Home", 1, 1);
        testutil::AddStar(*s, "Start", 1, 1);
        testutil::AddStar(*s, "End", 7, 1);
        std::string msg;
        ASSERT_TRUE(u->SaveToFile(map, msg)) << msg;
    }
    const fs::file_time_type saved = fs::last_write_time(map);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string inError;
    };
    const Case cases[] = {
        {{}, 2, "usage: hexlane-tool COMMAND"},
        {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
        {{"new", "--force"}, 2, "--force"},
        {{"new", ""}, 2, "the file name is empty"},
        {{"convert", map}, 2, "OUT.map is required"},
        {{"dump", "--jsn", map}, 2, "--jsn"},
        {{"dump", map, map}, 2, "not expected"},
        {{"eval"}, 2, "FORMULA is required"},
        {{"eval", "%0+1", "nan"}, 1, "Not a finite number: nan"},
        {{"eval", "%0+1", "--", "-inf"}, 1, "Not a finite number: -inf"},
        {{"eval", "\xc1\x81"}, 1, "not valid UTF-8"},
        {{"path", map, "Start", "End", "--jump", "21"}, 2, "--jump"},
        {{"path", map, "Start", "End"}, 2, "--jump is required"},
        {{"path", map, "--jump", "3", "Start", "--", "--time"}, 1, "Invalid Star Pointer"},
        {{"radius", map, "Start", "40000"}, 2, "R"},
        {{"query", map}, 2, "FORMULA is required"},
        {{"query", map, "1", "--sector"}, 2, "--sector"},
        {{"add-sector", map, "North", "17", "1"}, 2, "X"},
        {{"add-sector", map, "North", "1", "0"}, 2, "Y"},
        {{"add-sector", map, "North", "1", "1", "-o", ""}, 2, "the file name is empty"},
        {{"import-sec", map, "Home"}, 2, "FILE.sec is required"},
        {{"export-sec", map, "Home"}, 2, "OUT is required"},
        {{"merge", map}, 2, "OTHER.map is required"},
        {{"overlay", map, map, "--force"}, 2, "--force"},
        {{"selected-save", map, dir + "/s.map", "--no-planets"}, 2, "--no-planets"},
        {{"set-allegiance", map, "Ours", "--color", "mauve"}, 2, "--color"},
        {{"set-allegiance", map, "Ours", "--style", "Dotted"}, 2, "--style"},
        {{"add-route", map, "R", "Start"}, 2, "STAR"},
        {{"add-route", map, "R", "Start", "End", "--thickness", "6"}, 2, "--thickness"},
        {{"add-route", map, "R", "Start", "End", "--line-type", "-1"}, 2, "--line-type"},
        {{"set-alt-tl", map, "--level", "H", "5", "Beyond"}, 2, "--level"},
        {{"set-alt-tl", map, "--level", "0", "17", "Beyond"}, 2, "--level"},
        {{"set-alt-tl", map, "--level", "0", "5"}, 2, "--level"},
        {{"add-sector", map, "New\nline", "2", "1"}, 1, "control characters"},
        {{"set-allegiance", map, "Tab\tbed"}, 1, "control characters"},
        {{"add-route", map, "R\x7f", "Start", "End"}, 1, "control characters"},
        {{"add-sector", map, "Home", "2", "1"}, 1, "a sector named Home already exists"},
        {{"import-sec", map, "Home", dir + "/none.sec"}, 1, "the sector Home already holds systems"},
        {{"radius", map, "Start", "-5"}, 2, "R"},
        {{"path", map, "-Start", "End", "--jump", "3"}, 1, "Invalid Star Pointer"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) shown += " " + a;
        SCOPED_TRACE(shown);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.Status, c.status) << r.Err;
        EXPECT_NE(r.Err.find(c.inError), std::string::npos) << r.Err;
        EXPECT_TRUE(r.Out.empty()) << r.Out;
    }
    // Nothing was written: no file named after an option, the map untouched.
    EXPECT_FALSE(fs::exists("--force"));
    EXPECT_FALSE(fs::exists(dir + "/s.map"));
    EXPECT_EQ(fs::last_write_time(map), saved);
}

TEST(ToolUsage, EachCommandHasItsOwnHelp) {
    for (const char* command : {"new", "dump", "path", "query", "set-alt-tl"}) {
        const ToolResult r = RunTool({command, "--help"});
        EXPECT_EQ(r.Status, 0) << command;
        EXPECT_NE(r.Out.find(std::string("usage: hexlane-tool ") + command), std::string::npos) << r.Out;
    }
    // The help says what each choice does.
    EXPECT_NE(RunTool({"path", "--help"}).Out.find("shortest time instead of shortest distance"),
              std::string::npos);
    EXPECT_NE(RunTool({"query", "--help"}).Out.find("the first sector of that name in map order"), std::string::npos);
}
